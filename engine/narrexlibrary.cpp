#include "narrexlibrary.h"

#include <QDir>
#include <QFileInfo>

QString NarrexLibrary::fileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Sonarel.dll");
#else
    return QStringLiteral("libSonarel.so");
#endif
}

QStringList NarrexLibrary::candidates(const QString &programDir)
{
    const QDir dir(programDir);
    return {
        dir.filePath(fileName()), dir.filePath(QStringLiteral("../lib/") + fileName()), fileName()};
}

bool NarrexLibrary::load(const QString &programDir)
{
    QString firstError;
    for (const QString &path : candidates(programDir)) {
        // A bare name goes to the system's search path; a path must exist.
        if (path.contains(QLatin1Char('/')) && !QFileInfo::exists(path))
            continue;
        const Outcome outcome = tryFile(path);
        if (outcome == Outcome::Loaded)
            return true;
        if (outcome == Outcome::Incomplete)
            return false; // found, but not usable: don't hide that behind another copy
        if (firstError.isEmpty())
            firstError = m_error;
    }
    m_error = firstError.isEmpty() ? QStringLiteral("找不到语音引擎库 %1。").arg(fileName())
                                   : firstError;
    return false;
}

NarrexLibrary::Outcome NarrexLibrary::tryFile(const QString &path)
{
    m_loaded = false;
    m_fn = {};
    if (m_library.isLoaded())
        m_library.unload();
    m_library.setFileName(path);
    if (!m_library.load()) {
        m_error = QStringLiteral("无法载入语音引擎库 %1：%2").arg(path, m_library.errorString());
        return Outcome::NotLoadable;
    }
    struct Entry {
        const char *name;
        QFunctionPointer *slot;
    };
    const Entry entries[] = {
        {"Narrex_Initialize", reinterpret_cast<QFunctionPointer *>(&m_fn.initialize)},
        {"Narrex_GetVoiceDeviceNum", reinterpret_cast<QFunctionPointer *>(&m_fn.getVoiceDeviceNum)},
        {"Narrex_Speak", reinterpret_cast<QFunctionPointer *>(&m_fn.speak)},
        {"Narrex_GetLocationInfo", reinterpret_cast<QFunctionPointer *>(&m_fn.getLocationInfo)},
        {"Narrex_PauseORContinue", reinterpret_cast<QFunctionPointer *>(&m_fn.pauseOrContinue)},
        {"Narrex_Stop", reinterpret_cast<QFunctionPointer *>(&m_fn.stop)},
        {"Narrex_SetDialog", reinterpret_cast<QFunctionPointer *>(&m_fn.setDialog)},
        {"Narrex_SpeakToWave", reinterpret_cast<QFunctionPointer *>(&m_fn.speakToWave)},
        {"Narrex_Close", reinterpret_cast<QFunctionPointer *>(&m_fn.close)},
    };
    for (const Entry &e : entries) {
        *e.slot = m_library.resolve(e.name);
        if (!*e.slot) {
            m_error = QStringLiteral("语音引擎库 %1 缺少函数 %2。")
                          .arg(QDir::toNativeSeparators(path), QLatin1String(e.name));
            m_fn = {};
            m_library.unload();
            return Outcome::Incomplete;
        }
    }
    m_fn.speakingRange
        = reinterpret_cast<SpeakingRangeFn>(m_library.resolve("Narrex_GetSpeakingRange"));
    m_fn.getReading = reinterpret_cast<GetReadingFn>(m_library.resolve("Narrex_GetReading"));
    m_fn.getState = reinterpret_cast<GetStateFn>(m_library.resolve("Narrex_GetState"));
    m_loaded = true;
    m_error.clear();
    return Outcome::Loaded;
}

NarrexEngine::NarrexEngine(const NarrexLibrary::Functions &fn)
    : m_fn(fn)
{
}

int32_t NarrexEngine::initialize(
    void *editHandle, void *notifyHandle, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e)
{
    return m_fn.initialize(editHandle, notifyHandle, a, b, c, d, e);
}

int32_t NarrexEngine::voiceDeviceNum()
{
    return m_fn.getVoiceDeviceNum();
}

int32_t NarrexEngine::speak(const QByteArray &gbkText, int32_t mode, int32_t voice, int32_t speed,
    int32_t volume, int32_t a, int32_t b, const QByteArray &siteText)
{
    return m_fn.speak(gbkText.constData(), mode, voice, speed, volume, a, b, siteText.constData());
}

int32_t NarrexEngine::locationInfo()
{
    return m_fn.getLocationInfo();
}
int32_t NarrexEngine::pauseOrContinue()
{
    return m_fn.pauseOrContinue();
}
int32_t NarrexEngine::stop()
{
    return m_fn.stop();
}

int32_t NarrexEngine::setDialog(int32_t parent, const QByteArray &siteText)
{
    return m_fn.setDialog(parent, siteText.constData());
}

int32_t NarrexEngine::speakToWave(const QByteArray &gbkText, const QByteArray &gbkPath,
    int32_t family, int32_t voice, int32_t speed, int32_t volume, int32_t a, int32_t b,
    const QByteArray &siteText)
{
    return m_fn.speakToWave(gbkText.constData(), gbkPath.constData(), family, voice, speed, volume,
        a, b, siteText.constData());
}

int32_t NarrexEngine::close()
{
    return m_fn.close();
}

int32_t NarrexEngine::speakingRange(
    int32_t *sentenceStart, int32_t *sentenceLength, int32_t *wordStart, int32_t *wordLength)
{
    if (!m_fn.speakingRange)
        return SpeechEngine::speakingRange(sentenceStart, sentenceLength, wordStart, wordLength);
    return m_fn.speakingRange(sentenceStart, sentenceLength, wordStart, wordLength);
}

int32_t NarrexEngine::reading(
    const QByteArray &gbkText, int32_t kind, int32_t voice, QByteArray *utf8)
{
    if (!m_fn.getReading)
        return NARREX_ERR_INVALID_ARGUMENT;
    const int32_t needed = m_fn.getReading(gbkText.constData(), kind, voice, nullptr, 0);
    if (needed < 0)
        return needed;
    QByteArray out(needed + 1, Qt::Uninitialized);
    const int32_t got = m_fn.getReading(gbkText.constData(), kind, voice, out.data(), needed + 1);
    if (got < 0)
        return got;
    out.truncate(std::min(got, needed));
    *utf8 = out;
    return NARREX_OK;
}

int32_t NarrexEngine::conversionProgress()
{
    if (!m_fn.getState)
        return SpeechEngine::conversionProgress();
    int32_t percent = -1;
    const int32_t state = m_fn.getState(&percent);
    return state >= 0 && (state & NARREX_STATE_CONVERTING) ? percent : 0;
}
