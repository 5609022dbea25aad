#pragma once

#include "narrex.h"
#include "speechengine.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

// Loads libSonarel (Sonarel.dll on Windows) at run time and resolves the nine
// Narrex_ functions every engine has, and Narrex_GetSpeakingRange,
// Narrex_GetReading and Narrex_GetState where they are there. The program's own folder is searched
// first, then the library folder beside it, then the system's library path.
class NarrexLibrary
{
public:
    using InitializeFn
        = int32_t(NARREX_CALL *)(void *, void *, int32_t, int32_t, int32_t, int32_t, int32_t);
    using NoArgFn = int32_t(NARREX_CALL *)();
    using SpeakFn = int32_t(NARREX_CALL *)(
        const char *, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, const char *);
    using SetDialogFn = int32_t(NARREX_CALL *)(int32_t, const char *);
    using SpeakToWaveFn = int32_t(NARREX_CALL *)(const char *, const char *, int32_t, int32_t,
        int32_t, int32_t, int32_t, int32_t, const char *);
    using SpeakingRangeFn = int32_t(NARREX_CALL *)(int32_t *, int32_t *, int32_t *, int32_t *);
    using GetReadingFn = int32_t(NARREX_CALL *)(const char *, int32_t, int32_t, char *, int32_t);
    using GetStateFn = int32_t(NARREX_CALL *)(int32_t *);

    struct Functions {
        InitializeFn initialize = nullptr;
        NoArgFn getVoiceDeviceNum = nullptr;
        SpeakFn speak = nullptr;
        NoArgFn getLocationInfo = nullptr;
        NoArgFn pauseOrContinue = nullptr;
        NoArgFn stop = nullptr;
        SetDialogFn setDialog = nullptr;
        SpeakToWaveFn speakToWave = nullptr;
        NoArgFn close = nullptr;
        // Not every engine has it: null then, and the program reads on
        // without following the text.
        SpeakingRangeFn speakingRange = nullptr;
        // Narrex_GetReading, for the converter's checks; null where missing.
        GetReadingFn getReading = nullptr;
        GetStateFn getState = nullptr;
    };

    static QString fileName(); // "libSonarel.so" or "Sonarel.dll"
    static QStringList candidates(const QString &programDir);

    // Tries each candidate in turn. On failure errorString() says which
    // library or which function is missing, in the program's words.
    bool load(const QString &programDir);

    bool isLoaded() const { return m_loaded; }
    QString errorString() const { return m_error; }
    QString loadedPath() const { return m_library.fileName(); }
    const Functions &functions() const { return m_fn; }

private:
    enum class Outcome { Loaded, NotLoadable, Incomplete };
    Outcome tryFile(const QString &path);

    QLibrary m_library;
    Functions m_fn;
    bool m_loaded = false;
    QString m_error;
};

// The real engine behind the SpeechEngine interface.
class NarrexEngine final : public SpeechEngine
{
public:
    explicit NarrexEngine(const NarrexLibrary::Functions &fn);

    int32_t initialize(void *editHandle, void *notifyHandle, int32_t a, int32_t b, int32_t c,
        int32_t d, int32_t e) override;
    int32_t voiceDeviceNum() override;
    int32_t speak(const QByteArray &gbkText, int32_t mode, int32_t voice, int32_t speed,
        int32_t volume, int32_t a, int32_t b, const QByteArray &siteText) override;
    int32_t locationInfo() override;
    int32_t pauseOrContinue() override;
    int32_t stop() override;
    int32_t setDialog(int32_t parent, const QByteArray &siteText) override;
    int32_t speakToWave(const QByteArray &gbkText, const QByteArray &gbkPath, int32_t family,
        int32_t voice, int32_t speed, int32_t volume, int32_t a, int32_t b,
        const QByteArray &siteText) override;
    int32_t close() override;
    int32_t speakingRange(int32_t *sentenceStart, int32_t *sentenceLength, int32_t *wordStart,
        int32_t *wordLength) override;
    int32_t conversionProgress() override;
    // Narrex_GetReading: what the engine makes of a text (UTF-8).
    int32_t reading(const QByteArray &gbkText, int32_t kind, int32_t voice, QByteArray *utf8);

private:
    NarrexLibrary::Functions m_fn;
};
