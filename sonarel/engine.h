#pragma once

// The engine behind the Narrex_ functions.
//
//   Narrex_Speak ──► Engine::speak ──► synthesis thread ──► ReadingQueue ──► AudioThread ──► output
//                                        (TextPieceReader,      (chunks and      (system sound or
//                                         SpeechFrontEnd,        text marks)      silent real time)
//                                         Synthesizer)
//   AudioThread sees the last sample heard ──► end notification posted to the
//   thread that called Narrex_Initialize ──► NarrexNotifyTarget::setText.
//
//   Narrex_SpeakToWave runs on the caller's thread: TextPieceReader ──►
//   SpeechFrontEnd ──► Synthesizer ──► WavWriter on a QSaveFile, taking
//   turns with a reading.
//
//   Each sentence goes through the front-end, which gives runs of pinyin for
//   the Mandarin voice and of words for the English voice; the synthesiser
//   speaks them one after the other, and the words it reports are mapped back
//   through the runs' tokens to the bytes of the caller's text.
//
// What the engine is doing is one EngineState, changed only here:
//
//   Reading, as the ReadingQueue reports it:
//
//     Idle ──speak──► Playing ──heard to the end──► Finished
//                     Playing ──stop──► Idle        Finished ──stop──► Idle
//                     Playing ──speak──► Playing    Finished ──speak──► Playing
//                     (a new reading; pause and continue stay in Playing)
//
//   Conversion, beside a reading, on the caller's thread:
//
//     None ──begin (0 %)──► Converting ──written, failed or cancelled──► None
//                           Converting ──progress (0‥99 %)──► Converting
//
//   Closing (Narrex_Close), entered once from any of these: no conversion
//   begins any more, running ones stop at their next block of samples and
//   are waited for, and the reading is stopped.

#include "enginestate.h"
#include "readingqueue.h"
#include "synthesizer.h"
#include "voicesettings.h"

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "narrex.h"

class AudioThread;
class QObject;
class UserPronunciations;

class Engine
{
public:
    Engine();
    ~Engine();

    int initialize(const NarrexNotifyTarget *target);
    void shutdown();

    int deviceCount() const;
    int speak(const QByteArray &gbk, int voiceCode, int speed, int volume);
    int location() const;
    EngineState::Snapshot state() const { return m_state.snapshot(); }
    // The sentence and word of the current reading being heard, in bytes of
    // its text; false ("nothing") when no reading is heard.
    bool speakingRange(ReadingQueue::Range *sentence, ReadingQueue::Range *word) const;
    int pauseOrContinue();
    int stop();
    int speakToWave(
        QByteArrayView gbk, QByteArrayView gbkPath, int voiceFamily, int speed, int volume);

    // What a text will sound like, for checking without listening: kind 1
    // the text as read, 2 its pinyin tokens, 3 the phonemes synthesised. One
    // line out for each line in; UTF-8.
    enum ReadingKind { NormalizedText = 1, PinyinTokens = 2, Phonemes = 3 };
    int reading(QByteArrayView gbk, int kind, int voiceCode, QByteArray *utf8);

    VoiceSettings settings() const;
    void setSettings(const VoiceSettings &settings);
    // The user's pronunciation list, beside the engine's settings.
    QString userListPath() const { return m_userListPath; }
    qint64 firstSampleDelayNs() const { return m_queue.firstSampleDelayNs(); }
    int sampleRate() const;

    static std::optional<NarrexVoice> voiceForCode(int code);
    static std::optional<NarrexVoice> voiceForWaveFamily(int family);
    static int rateFor(int baseRate, int speed);

private:
    struct Job {
        quint64 generation = 0;
        QByteArray text;
        SynthParams params;
        std::shared_ptr<const UserPronunciations> user;
    };

    void startAudio();
    SynthParams paramsFor(NarrexVoice voice, int speed, int volume) const;
    void synthesisLoop();
    void runJob(const Job &job);
    void deliverEnd(quint64 generation);
    // The user's pronunciation list as it is on disk now.
    std::shared_ptr<const UserPronunciations> userList();

    EngineState m_state;
    ReadingQueue m_queue;
    NarrexNotifyTarget m_target {};
    QObject *m_notifier = nullptr;
    std::unique_ptr<AudioThread> m_audio;
    std::thread m_synthThread;

    std::mutex m_jobMutex;
    std::condition_variable m_jobReady;
    std::optional<Job> m_job;
    bool m_quit = false;

    mutable std::mutex m_settingsMutex;
    VoiceSettings m_settings;
    QString m_userListPath;
    std::shared_ptr<UserPronunciations> m_userList;
};
