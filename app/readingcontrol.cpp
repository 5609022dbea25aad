#include "readingcontrol.h"

#include "maker.h"
#include "speechengine.h"
#include "textencoding.h"

#include <algorithm>

std::optional<int> ReadingControl::readingVoiceCode(int voiceIndex)
{
    switch (voiceIndex) {
    case 0:
        return 4;
    case 1:
        return 0;
    case 2:
        return 1;
    default:
        return std::nullopt;
    }
}

std::optional<int> ReadingControl::phraseVoiceCode(int voiceIndex)
{
    switch (voiceIndex) {
    case 0:
        return 4;
    case 1:
    case 2:
        return 0;
    default:
        return std::nullopt;
    }
}

ReadingControl::ReadingControl(SpeechEngine &engine, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_text([] { return QString(); })
    , m_voice([] { return 1; })
{
    m_progressTimer.setInterval(ProgressInterval);
    connect(&m_progressTimer, &QTimer::timeout, this, &ReadingControl::progressTick);
    // The bar shows 100 % for a moment before it goes back to 0, without
    // holding up the window meanwhile.
    m_holdTimer.setSingleShot(true);
    m_holdTimer.setInterval(FullProgressHold);
    connect(&m_holdTimer, &QTimer::timeout, this, [this] { setProgress(0); });
}

int ReadingControl::speak(const QString &text, int voiceCode)
{
    m_phrase = true;
    m_follow = false;
    return m_engine.speak(TextEncoding::toEngineText(text).bytes, 11, voiceCode, 50, 100, 1, -1,
        Maker::WebAddress.toLatin1());
}

int ReadingControl::speakReading(const QString &text, qsizetype base, int voiceCode)
{
    TextEncoding::GbkResult gbk = TextEncoding::toEngineText(text, true);
    m_unitOffsets = std::move(gbk.unitOffsets);
    m_base = base;
    m_phrase = false;
    m_follow = true;
    return m_engine.speak(gbk.bytes, 11, voiceCode, 50, 100, 1, -1, Maker::WebAddress.toLatin1());
}

qsizetype ReadingControl::sourcePosition(qint32 byte) const
{
    // The first unit that starts at or after byte.
    const auto it = std::lower_bound(m_unitOffsets.begin(), m_unitOffsets.end(), byte);
    return m_base + qsizetype(it - m_unitOffsets.begin());
}

std::optional<ReadingControl::Heard> ReadingControl::heard() const
{
    if (!m_reading || m_phrase || !m_follow || m_unitOffsets.empty())
        return std::nullopt;
    int32_t ss = -1, sl = 0, ws = -1, wl = 0;
    if (m_engine.speakingRange(&ss, &sl, &ws, &wl) != EngineOk || ss < 0)
        return std::nullopt;
    const qint32 total = m_unitOffsets.back();
    if (ss + sl > total)
        return std::nullopt; // not this text's (a reading replaced meanwhile)
    Heard h;
    h.sentenceStart = sourcePosition(ss);
    h.sentenceEnd = sourcePosition(ss + sl);
    if (ws >= 0 && ws + wl <= total) {
        h.wordStart = sourcePosition(ws);
        h.wordEnd = sourcePosition(ws + wl);
    }
    return h;
}

void ReadingControl::setProgress(int value)
{
    m_progress = value;
    emit progressChanged(value);
}

void ReadingControl::start(bool repeat, qsizetype from)
{
    m_holdTimer.stop();
    m_progressTimer.start();
    m_reading = true;
    emit readingChanged(true);
    if (repeat) {
        m_repeatReading = true;
        m_repeatCounter = RepeatReadings;
    } else {
        m_repeatReading = false;
    }
    if (const std::optional<int> code = readingVoiceCode(m_voice()))
        m_engineResult = speakReading(m_text().mid(from), from, *code);
    if (m_engineResult != EngineOk)
        stop();
}

void ReadingControl::restartAt(qsizetype from)
{
    if (!m_reading)
        return;
    if (m_pauseCaption != PauseCaption) {
        // The new reading plays at once.
        m_pauseCaption = PauseCaption;
        emit pauseCaptionChanged(m_pauseCaption);
    }
    if (const std::optional<int> code = readingVoiceCode(m_voice()))
        m_engineResult = speakReading(m_text().mid(from), from, *code);
    if (m_engineResult != EngineOk)
        stop();
}

void ReadingControl::stop()
{
    m_progressTimer.stop();
    m_holdTimer.stop();
    setProgress(0);
    m_repeatCounter = 0;
    m_reading = false;
    m_follow = false;
    emit readingChanged(false);
    m_pauseCaption = PauseCaption;
    emit pauseCaptionChanged(m_pauseCaption);
    m_engine.stop();
}

void ReadingControl::pauseOrContinue()
{
    m_pauseCaption = m_pauseCaption == ContinueCaption ? PauseCaption : ContinueCaption;
    emit pauseCaptionChanged(m_pauseCaption);
    m_engine.pauseOrContinue();
}

void ReadingControl::endNotification(const QString &text)
{
    if (text.compare(EndToken, Qt::CaseInsensitive) != 0)
        return;
    if (!m_repeatReading) {
        stop();
        return;
    }
    --m_repeatCounter;
    if (m_repeatCounter <= 0) {
        stop();
        return;
    }
    // The next pass reads the whole text as it is now; the progress display
    // is not started again, as the progress timer may have ended at 100 %.
    if (const std::optional<int> code = readingVoiceCode(m_voice()))
        m_engineResult = speakReading(m_text(), 0, *code);
}

void ReadingControl::progressTick()
{
    setProgress(std::clamp(m_engine.locationInfo(), 0, 100));
    if (m_progress == 100) {
        m_progressTimer.stop();
        m_holdTimer.start();
    }
}

void ReadingControl::playStr(const QString &text)
{
    if (const std::optional<int> code = phraseVoiceCode(m_voice()))
        m_engineResult = speak(text, *code);
}

void ReadingControl::engineSettings()
{
    m_engineResult = m_engine.setDialog(0, Maker::WebAddress.toLatin1());
}

void ReadingControl::endRepeat()
{
    m_repeatReading = false;
    m_repeatCounter = 0;
}
