#pragma once

// A scripted speech engine for window tests: records every call, answers
// with scripted results, and sends the end token when a test says the
// reading is over.

#include "speechengine.h"

#include "narrex.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringDecoder>

class FakeEngine final : public SpeechEngine
{
public:
    QStringList calls; // "speak(4)", "stop", "pause", "location", …
    QList<QString> spokenTexts;
    QList<int> speakResults; // taken one per speak; 10 when empty
    int location = 0;
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

    int32_t initialize(void *edit, void *notify, int32_t, int32_t, int32_t, int32_t,
                       int32_t) override
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
        calls << QStringLiteral("location");
        return location;
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
                        int32_t voice, int32_t, int32_t, int32_t, int32_t,
                        const QByteArray &) override
    {
        calls << QStringLiteral("speakToWave(%1,%2)").arg(family).arg(voice);
        spokenTexts << QStringDecoder("GBK").decode(gbkText);
        wavePaths << QStringDecoder("GBK").decode(gbkPath);
        return waveResult;
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
};
