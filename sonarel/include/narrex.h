/*
 * Narrex speech engine (libSonarel) — C interface.
 *
 * The engine reads GBK text aloud in the background and writes it as speech
 * into WAV files. Synthesis comes from espeak-ng; sound goes to the system's
 * default audio output, or, where there is none, to a silent output that
 * consumes the samples at real-time pace, so progress, pause and the end
 * notification behave the same on every machine.
 *
 * All texts are zero-terminated GBK (code page 936) strings; all numbers are
 * 32-bit signed integers. Every function returns NARREX_OK (10) on success and
 * one of the negative NARREX_ERR_* codes otherwise. Calls made before
 * Narrex_Initialize or after Narrex_Close fail with NARREX_ERR_NOT_INITIALIZED.
 *
 * Chinese is read by the engine's own front-end: it writes numbers and
 * symbols out the Chinese way, chooses each character's reading from its
 * word and context, and has the pinyin spoken by espeak-ng's Mandarin voice;
 * English words inside Chinese text are spoken by the English voice.
 *
 * Threads: the engine is driven from one thread, the one that called
 * Narrex_Initialize (the user-interface thread, which must run a Qt event loop
 * for end notifications to arrive). Narrex_SpeakToWave may also run on another
 * thread while that thread polls Narrex_GetLocationInfo.
 *
 * Environment: NARREX_AUDIO=silent forces the silent output even where a
 * sound device exists (used by automated tests).
 */
#ifndef NARREX_H
#define NARREX_H

#include <stdint.h>

#if defined(_WIN32)
#define NARREX_CALL __stdcall
#if defined(SONAREL_BUILDING)
#define NARREX_API __declspec(dllexport)
#else
#define NARREX_API __declspec(dllimport)
#endif
#else
#define NARREX_CALL
#define NARREX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define NARREX_OK 10

#define NARREX_ERR_NOT_INITIALIZED (-1) /* no Narrex_Initialize yet, or after Narrex_Close */
#define NARREX_ERR_INVALID_ARGUMENT (-2) /* a null text or path, an unknown voice code */
#define NARREX_ERR_NOTHING_TO_SPEAK (-3) /* the text gave no sound at all */
#define NARREX_ERR_FILE (-4) /* the WAV file could not be created, written or renamed */
#define NARREX_ERR_SYNTHESIS (-5) /* the synthesiser failed */
#define NARREX_ERR_IDLE (-6) /* pause or continue with no reading going on */
#define NARREX_ERR_CANCELLED (-7) /* the settings dialog was cancelled */
#define NARREX_ERR_NO_GUI (-8) /* the settings dialog needs a QApplication */
#define NARREX_ERR_ALREADY (-9) /* Narrex_Initialize called twice */

/* The text the engine writes into the notification target at the end of every
 * reading started by Narrex_Speak. */
#define NARREX_SDK_READ_END "NARREX_SDK_READ_END"

/*
 * The notification target, passed as the second handle of Narrex_Initialize
 * (where the Windows engine takes the window handle of an edit control).
 *
 * When a reading started by Narrex_Speak has been played to its end, the
 * engine calls setText(context, NARREX_SDK_READ_END) on the thread that called
 * Narrex_Initialize. Each call is one change of the target's text, even when
 * the text equals the one of the previous call: the receiver must run its
 * change handler every time. A reading ended by Narrex_Stop, replaced by a new
 * Narrex_Speak or cut off by Narrex_Close gets no call.
 *
 * The target must stay valid until Narrex_Close returns. A null pointer means
 * no notifications.
 */
typedef struct NarrexNotifyTarget {
    void *context;
    void (*setText)(void *context, const char *text);
} NarrexNotifyTarget;

/*
 * Starts the engine: loads the synthesiser and the engine's settings.
 * editHandle: the editor whose text is read; not used by this engine (may be null).
 * notifyHandle: a NarrexNotifyTarget *, or null.
 * The five numbers are reserved (the program passes -1, -1, -1, 0, 0).
 */
NARREX_API int32_t NARREX_CALL Narrex_Initialize(void *editHandle, void *notifyHandle,
    int32_t reserved1, int32_t reserved2, int32_t reserved3, int32_t reserved4, int32_t reserved5);

/* The number of sound output devices; 0 when the engine plays into its silent output. */
NARREX_API int32_t NARREX_CALL Narrex_GetVoiceDeviceNum(void);

/*
 * Starts reading text aloud and returns at once with NARREX_OK. A reading
 * already going on is replaced (it ends without a notification).
 * mode: reserved (11).
 * voice: 4 female Mandarin, 0 male Mandarin, 1 male English.
 * speed: 0..100, 50 = the rate of the engine's settings; 0 half, 100 double.
 * volume: 0..100, percent of the volume of the engine's settings.
 * reserved1, reserved2: reserved (1, -1).
 * siteText: the maker's web address; not used.
 */
NARREX_API int32_t NARREX_CALL Narrex_Speak(const char *text, int32_t mode, int32_t voice,
    int32_t speed, int32_t volume, int32_t reserved1, int32_t reserved2, const char *siteText);

/*
 * Progress in percent (0..100): the share of the current reading's text heard
 * so far (taken from the samples actually played); 100 only once the whole
 * reading has been played, and it stays 100 until the next reading or a
 * stop. With no reading, the share of the text of a running
 * Narrex_SpeakToWave converted so far (Narrex_GetState gives it apart from a
 * reading's). 0 when idle.
 */
NARREX_API int32_t NARREX_CALL Narrex_GetLocationInfo(void);

/*
 * Which part of the current reading's text is being heard now, in bytes of
 * the text given to Narrex_Speak: the sentence (the piece the engine speaks
 * as one: a sentence, or a part of a very long one) and the word in it,
 * taken from the same sample-to-text mapping as Narrex_GetLocationInfo.
 * NARREX_OK while a reading is being heard (also while it is paused).
 * NARREX_ERR_IDLE, "nothing", when no reading is being heard: idle, stopped,
 * finished, before its first sound. A Narrex_SpeakToWave running beside the
 * reading does not change it.
 * Without a sentence every value is -1 (lengths 0); between words the word
 * is -1 while the sentence is known. Any pointer may be null.
 * It takes no lock the sound output waits for, so it can be asked often.
 */
NARREX_API int32_t NARREX_CALL Narrex_GetSpeakingRange(
    int32_t *sentenceStart, int32_t *sentenceLength, int32_t *wordStart, int32_t *wordLength);

/*
 * What the engine is doing: a combination of the NARREX_STATE_* bits (0 when
 * idle), and in *conversionPercent (if not null) the share of the text of a
 * running Narrex_SpeakToWave converted so far, -1 when none runs. Both come
 * from one reading of the engine's state: a conversion seen as running has
 * its percentage with it. It may be asked from any thread.
 */
#define NARREX_STATE_READING 1 /* a reading is being played (also paused) */
#define NARREX_STATE_CONVERTING 2 /* a Narrex_SpeakToWave runs */
#define NARREX_STATE_CLOSING 4 /* Narrex_Close is under way */
NARREX_API int32_t NARREX_CALL Narrex_GetState(int32_t *conversionPercent);

/* Pauses a running reading (sound and progress stand still), or resumes a paused one. */
NARREX_API int32_t NARREX_CALL Narrex_PauseORContinue(void);

/* Ends the reading at once; no end notification follows. NARREX_OK also when idle. */
NARREX_API int32_t NARREX_CALL Narrex_Stop(void);

/*
 * Shows the engine's voice settings dialog (speaking rate, pitch, volume and
 * the espeak-ng voice of each of the three voices) and keeps the choice in the
 * engine's own settings for later readings and conversions. NARREX_OK when the
 * user confirmed. Needs a QApplication. parent: reserved (0).
 */
NARREX_API int32_t NARREX_CALL Narrex_SetDialog(int32_t parent, const char *siteText);

/*
 * Writes text as speech into a WAV file and returns when the file is complete.
 * path: the target file (GBK). The file is written beside the target under a
 * temporary name and renamed over it only on success; on any failure an
 * existing file at path stays as it was.
 * voiceFamily, voice: 10 and 4 for the female voice, 20 and 1 for the male voice.
 * speed, volume: as for Narrex_Speak (50, 100).
 * reserved1, reserved2: reserved (30, 1).
 * Format: 16-bit mono PCM at the synthesiser's rate (22050 Hz); a RIFF WAVE
 * file, or RF64 when the audio is larger than a RIFF file can hold.
 */
NARREX_API int32_t NARREX_CALL Narrex_SpeakToWave(const char *text, const char *path,
    int32_t voiceFamily, int32_t voice, int32_t speed, int32_t volume, int32_t reserved1,
    int32_t reserved2, const char *siteText);

/*
 * What the engine makes of a text, to check a reading without listening.
 * kind: 1 the text as it is read: numbers and symbols written out in Chinese
 *         characters, English words as they are;
 *       2 the reading as space-separated tokens: each Chinese character
 *         spoken as 字:pin1 (pinyin with tone 1-5, 5 neutral, ü as v), each
 *         English word as word:en, each spelled letter as A:letter;
 *       3 the phoneme mnemonics synthesised, as espeak-ng -x prints them,
 *         runs in the other voice's language marked (en)...(cmn).
 * voice: as for Narrex_Speak. One line of result for each line of text.
 * The result is UTF-8. At most size bytes, the terminating zero included,
 * are written into buffer (null when size is 0); the return value is the
 * length of the whole result without its zero: call again with a larger
 * buffer when it is size or more. Needs no sound device.
 */
NARREX_API int32_t NARREX_CALL Narrex_GetReading(
    const char *text, int32_t kind, int32_t voice, char *buffer, int32_t size);

/* Shuts the engine down, also in the middle of a reading (no notification follows). */
NARREX_API int32_t NARREX_CALL Narrex_Close(void);

#ifdef __cplusplus
}
#endif

#endif /* NARREX_H */
