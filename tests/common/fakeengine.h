#pragma once

// A scripted speech engine for window tests: records every call, answers
// with scripted results, and sends the end token when a test says the
// reading is over.

#include "speechengine.h"

#include "narrex.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <functional>

// The conversion runs on a worker thread while the window polls the
// progress: calls are recorded under a lock.
class FakeEngine final : public SpeechEngine
{
public:
    QMutex mutex;
    QStringList calls; // "speak(4)", "stop", "pause", "location", …
    QList<QString> spokenTexts;
    QList<int> speakResults; // taken one per speak; 10 when empty
    int location = 0;
    int conversion = -1; // the conversion's own percentage, -1: as location
    int dialogResult = 10;
    int initializeResult = 10;
    const NarrexNotifyTarget *target = nullptr;
    void *editHandle = nullptr;

    // The engine writes its end token into the notification target.
    void sendEnd(const char *text = NARREX_SDK_READ_END)
    {
        if (target && target->setText)
            target->setText(target->context, text);
    }

    // The calls a reading test cares about, without progress polls.
    QStringList actions() const
    {
        QStringList out;
        for (const QString &c : calls) {
            if (c != QLatin1String("location"))
                out << c;
        }
        return out;
    }

    int32_t initialize(
        void *edit, void *notify, int32_t, int32_t, int32_t, int32_t, int32_t) override
    {
        calls << QStringLiteral("initialize");
        editHandle = edit;
        target = static_cast<const NarrexNotifyTarget *>(notify);
        return initializeResult;
    }
    int32_t voiceDeviceNum() override
    {
        calls << QStringLiteral("voiceDeviceNum");
        return 0;
    }
    int32_t speak(const QByteArray &gbkText, int32_t mode, int32_t voice, int32_t speed,
        int32_t volume, int32_t a, int32_t b, const QByteArray &siteText) override
    {
        calls << QStringLiteral("speak(%1)").arg(voice);
        spokenTexts << QStringDecoder("GBK").decode(gbkText);
        lastSpeakArgs = {mode, speed, volume, a, b};
        lastSiteText = siteText;
        return speakResults.isEmpty() ? 10 : speakResults.takeFirst();
    }
    int32_t locationInfo() override
    {
        QMutexLocker lock(&mutex);
        calls << QStringLiteral("location");
        return location;
    }
    int32_t conversionProgress() override
    {
        QMutexLocker lock(&mutex);
        calls << QStringLiteral("location");
        return conversion >= 0 ? conversion : location;
    }
    int32_t pauseOrContinue() override
    {
        calls << QStringLiteral("pause");
        return 10;
    }
    int32_t stop() override
    {
        calls << QStringLiteral("stop");
        return 10;
    }
    int32_t setDialog(int32_t, const QByteArray &) override
    {
        calls << QStringLiteral("setDialog");
        return dialogResult;
    }
    int32_t speakToWave(const QByteArray &gbkText, const QByteArray &gbkPath, int32_t family,
        int32_t voice, int32_t, int32_t, int32_t, int32_t, const QByteArray &) override
    {
        {
            QMutexLocker lock(&mutex);
            calls << QStringLiteral("speakToWave(%1,%2)").arg(family).arg(voice);
            spokenTexts << QStringDecoder("GBK").decode(gbkText);
            wavePaths << QStringDecoder("GBK").decode(gbkPath);
        }
        if (duringConversion)
            duringConversion(); // on the conversion's own thread
        return waveResult;
    }
    int32_t speakingRange(int32_t *ss, int32_t *sl, int32_t *ws, int32_t *wl) override
    {
        if (ss)
            *ss = range.sentenceStart;
        if (sl)
            *sl = range.sentenceLength;
        if (ws)
            *ws = range.wordStart;
        if (wl)
            *wl = range.wordLength;
        return range.result;
    }
    // The engine hears bytes from..from+length of the last text spoken.
    void hear(int32_t from, int32_t length, int32_t wordFrom = -1, int32_t wordLength = 0)
    {
        range = {NARREX_OK, from, length, wordFrom, wordLength};
    }
    int32_t close() override
    {
        calls << QStringLiteral("close");
        return 10;
    }

    QList<int> lastSpeakArgs;
    QByteArray lastSiteText;
    QStringList wavePaths;
    int waveResult = 10;
    // What Narrex_GetSpeakingRange answers, in bytes of the text spoken.
    struct Range {
        int32_t result = NARREX_ERR_IDLE;
        int32_t sentenceStart = -1, sentenceLength = 0, wordStart = -1, wordLength = 0;
    } range;
    std::function<void()> duringConversion;
};
