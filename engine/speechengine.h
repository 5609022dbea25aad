#pragma once

// The program's side of the speech engine.
//
// SpeechEngine is what the windows talk to: the engine calls with the
// argument lists of the Narrex_ functions. NarrexEngine is the real one,
// calling into libSonarel through a NarrexLibrary that was loaded at start;
// tests put a scripted fake in its place.

#include "narrex.h"

#include <QByteArray>

#include <cstdint>

class SpeechEngine
{
public:
    virtual ~SpeechEngine() = default;

    virtual int32_t initialize(
        void *editHandle, void *notifyHandle, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e)
        = 0;
    virtual int32_t voiceDeviceNum() = 0;
    virtual int32_t speak(const QByteArray &gbkText, int32_t mode, int32_t voice, int32_t speed,
        int32_t volume, int32_t a, int32_t b, const QByteArray &siteText)
        = 0;
    virtual int32_t locationInfo() = 0;
    virtual int32_t pauseOrContinue() = 0;
    virtual int32_t stop() = 0;
    virtual int32_t setDialog(int32_t parent, const QByteArray &siteText) = 0;
    virtual int32_t speakToWave(const QByteArray &gbkText, const QByteArray &gbkPath,
        int32_t family, int32_t voice, int32_t speed, int32_t volume, int32_t a, int32_t b,
        const QByteArray &siteText)
        = 0;
    virtual int32_t close() = 0;

    // How far a running conversion has come, in percent, apart from a
    // reading's progress; an engine without Narrex_GetState has only the
    // one progress of locationInfo().
    virtual int32_t conversionProgress() { return locationInfo(); }

    // Narrex_GetSpeakingRange: the sentence and word being heard, in bytes
    // of the text given to speak(). An engine without it answers "nothing".
    virtual int32_t speakingRange(
        int32_t *sentenceStart, int32_t *sentenceLength, int32_t *wordStart, int32_t *wordLength)
    {
        for (int32_t *p : {sentenceStart, wordStart}) {
            if (p)
                *p = -1;
        }
        for (int32_t *p : {sentenceLength, wordLength}) {
            if (p)
                *p = 0;
        }
        return NARREX_ERR_IDLE;
    }
};
