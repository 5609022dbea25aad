// The exported Narrex_ functions: argument checks and the one engine instance.

#include "narrex.h"

#include "engine.h"
#include "voicesettingsdialog.h"

#include <cstring>
#include <memory>
#include <mutex>

namespace {

std::mutex g_mutex;
std::shared_ptr<Engine> g_engine;

std::shared_ptr<Engine> engine()
{
    std::lock_guard lock(g_mutex);
    return g_engine;
}

} // namespace

extern "C" {

NARREX_API int32_t NARREX_CALL Narrex_Initialize(
    void *, void *notifyHandle, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    std::lock_guard lock(g_mutex);
    if (g_engine)
        return NARREX_ERR_ALREADY;
    auto created = std::make_shared<Engine>();
    const int rc = created->initialize(static_cast<const NarrexNotifyTarget *>(notifyHandle));
    if (rc == NARREX_OK)
        g_engine = std::move(created);
    return rc;
}

NARREX_API int32_t NARREX_CALL Narrex_GetVoiceDeviceNum(void)
{
    const auto e = engine();
    return e ? e->deviceCount() : NARREX_ERR_NOT_INITIALIZED;
}

NARREX_API int32_t NARREX_CALL Narrex_Speak(const char *text, int32_t, int32_t voice, int32_t speed,
    int32_t volume, int32_t, int32_t, const char *)
{
    const auto e = engine();
    if (!e)
        return NARREX_ERR_NOT_INITIALIZED;
    if (!text)
        return NARREX_ERR_INVALID_ARGUMENT;
    return e->speak(QByteArray(text, qsizetype(std::strlen(text))), voice, speed, volume);
}

NARREX_API int32_t NARREX_CALL Narrex_GetLocationInfo(void)
{
    const auto e = engine();
    return e ? e->location() : NARREX_ERR_NOT_INITIALIZED;
}

NARREX_API int32_t NARREX_CALL Narrex_GetSpeakingRange(
    int32_t *sentenceStart, int32_t *sentenceLength, int32_t *wordStart, int32_t *wordLength)
{
    ReadingQueue::Range sentence;
    ReadingQueue::Range word;
    const auto e = engine();
    const bool heard = e && e->speakingRange(&sentence, &word);
    if (sentenceStart)
        *sentenceStart = sentence.start;
    if (sentenceLength)
        *sentenceLength = sentence.start < 0 ? 0 : sentence.length;
    if (wordStart)
        *wordStart = word.start;
    if (wordLength)
        *wordLength = word.start < 0 ? 0 : word.length;
    if (!e)
        return NARREX_ERR_NOT_INITIALIZED;
    return heard ? NARREX_OK : NARREX_ERR_IDLE;
}

NARREX_API int32_t NARREX_CALL Narrex_GetState(int32_t *conversionPercent)
{
    const auto e = engine();
    if (!e) {
        if (conversionPercent)
            *conversionPercent = -1;
        return NARREX_ERR_NOT_INITIALIZED;
    }
    const EngineState::Snapshot state = e->state();
    if (conversionPercent)
        *conversionPercent = state.converting() ? state.conversionPercent : -1;
    return state.bits();
}

NARREX_API int32_t NARREX_CALL Narrex_PauseORContinue(void)
{
    const auto e = engine();
    return e ? e->pauseOrContinue() : NARREX_ERR_NOT_INITIALIZED;
}

NARREX_API int32_t NARREX_CALL Narrex_Stop(void)
{
    const auto e = engine();
    return e ? e->stop() : NARREX_ERR_NOT_INITIALIZED;
}

NARREX_API int32_t NARREX_CALL Narrex_SetDialog(int32_t, const char *)
{
    const auto e = engine();
    return e ? VoiceSettingsDialog::run(*e) : NARREX_ERR_NOT_INITIALIZED;
}

NARREX_API int32_t NARREX_CALL Narrex_SpeakToWave(const char *text, const char *path,
    int32_t voiceFamily, int32_t, int32_t speed, int32_t volume, int32_t, int32_t, const char *)
{
    const auto e = engine();
    if (!e)
        return NARREX_ERR_NOT_INITIALIZED;
    if (!text || !path)
        return NARREX_ERR_INVALID_ARGUMENT;
    return e->speakToWave(QByteArrayView(text, qsizetype(std::strlen(text))),
        QByteArrayView(path, qsizetype(std::strlen(path))), voiceFamily, speed, volume);
}

NARREX_API int32_t NARREX_CALL Narrex_GetReading(
    const char *text, int32_t kind, int32_t voice, char *buffer, int32_t size)
{
    const auto e = engine();
    if (!e)
        return NARREX_ERR_NOT_INITIALIZED;
    if (!text || size < 0 || (size > 0 && !buffer))
        return NARREX_ERR_INVALID_ARGUMENT;
    QByteArray result;
    const int rc
        = e->reading(QByteArrayView(text, qsizetype(std::strlen(text))), kind, voice, &result);
    if (rc != NARREX_OK)
        return rc;
    if (size > 0) {
        const qsizetype n = std::min<qsizetype>(result.size(), size - 1);
        std::memcpy(buffer, result.constData(), size_t(n));
        buffer[n] = '\0';
    }
    return int32_t(std::min<qsizetype>(result.size(), INT32_MAX));
}

NARREX_API int32_t NARREX_CALL Narrex_Close(void)
{
    std::shared_ptr<Engine> e;
    {
        std::lock_guard lock(g_mutex);
        e = std::move(g_engine);
    }
    if (!e)
        return NARREX_ERR_NOT_INITIALIZED;
    e->shutdown();
    return NARREX_OK;
}

} // extern "C"
