#include "gbktext.h"

#include "sentences.h"

#include <QStringDecoder>

namespace {

constexpr qsizetype WindowBytes = 8192;

bool isLeadByte(uchar b)
{
    return b >= 0x81 && b <= 0xFE;
}
bool isTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

bool isUnspeakable(char16_t c)
{
    return c < 0x20 || c == 0x7F || c == 0xFFFD || (c >= 0xE000 && c <= 0xF8FF)
        || (c >= 0xD800 && c <= 0xDFFF);
}

bool isSoftBreak(char16_t c)
{
    return c == u'，' || c == u'、' || c == u'：' || c == u',' || c == u':' || c == u' '
        || c == u'\t' || c == u'　';
}

} // namespace

int gbkCharLength(QByteArrayView bytes, qsizetype pos)
{
    const uchar b = uchar(bytes[pos]);
    if (b < 0x80 || b == 0x80) // 0x80 is the euro sign in code page 936
        return 1;
    if (isLeadByte(b) && pos + 1 < bytes.size() && isTrailByte(uchar(bytes[pos + 1])))
        return 2;
    return 0;
}

DecodedText decodeGbk(QByteArrayView bytes)
{
    DecodedText out;
    out.offsets.reserve(bytes.size() + 1);

    // Mark character starts; invalid bytes become blanks so that the decoder's
    // output lines up one to one with the characters.
    QByteArray clean(bytes.data(), bytes.size());
    for (qsizetype pos = 0; pos < bytes.size();) {
        out.offsets.push_back(qint32(pos));
        const int len = gbkCharLength(bytes, pos);
        if (len == 0) {
            clean[pos] = ' ';
            ++pos;
        } else {
            pos += len;
        }
    }
    const qsizetype chars = qsizetype(out.offsets.size());
    out.offsets.push_back(qint32(bytes.size()));

    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    out.text = decoder.decode(clean);
    if (out.text.size() != chars) {
        // A character the converter expanded or merged: decode one at a time.
        out.text.clear();
        out.text.reserve(chars);
        for (qsizetype i = 0; i < chars; ++i) {
            const QByteArrayView one
                = QByteArrayView(clean).sliced(out.offsets[i], out.offsets[i + 1] - out.offsets[i]);
            QStringDecoder single("GBK", QStringDecoder::Flag::Stateless);
            const QString s = single.decode(one);
            out.text.append(s.size() == 1 ? s.at(0) : QChar(u' '));
        }
    }
    for (QChar &c : out.text) {
        if (c != u'\n' && c != u'\r' && c != u'\t' && isUnspeakable(c.unicode()))
            c = u' ';
    }
    return out;
}

TextPieceReader::TextPieceReader(QByteArrayView gbk, int maxPieceChars)
    : m_bytes(gbk)
    , m_maxChars(qMax(8, maxPieceChars))
{
    refill();
}

void TextPieceReader::refill()
{
    const qsizetype start
        = m_windowStart + (m_window.offsets.empty() ? 0 : m_window.offsets[m_char]);
    qsizetype end = qMin(m_bytes.size(), start + WindowBytes);
    if (end < m_bytes.size()) {
        // End the window on a character boundary.
        qsizetype pos = start;
        while (pos < end) {
            const int len = gbkCharLength(m_bytes, pos);
            if (pos + qMax(len, 1) > end)
                break;
            pos += qMax(len, 1);
        }
        end = pos;
    }
    m_windowStart = start;
    m_window = decodeGbk(m_bytes.sliced(start, end - start));
    m_char = 0;
    m_windowAtEnd = end == m_bytes.size();
}

qsizetype TextPieceReader::findPieceEnd(qsizetype from) const
{
    const QStringView t = m_window.text;
    const qsizetype limit = qMin(t.size(), from + m_maxChars);
    bool stopped = false;
    const qsizetype end = Sentences::end(t, from, m_windowAtEnd, &stopped);
    if (end <= limit && (stopped || m_windowAtEnd))
        return end;
    // A sentence too long to speak as one piece: cut it after the last
    // clause break that fits, or else at the limit.
    qsizetype lastSoft = -1;
    for (qsizetype i = from; i < limit; ++i) {
        if (isSoftBreak(t[i].unicode()))
            lastSoft = i + 1;
    }
    return lastSoft > from ? lastSoft : limit;
}

bool TextPieceReader::next(TextPiece &piece)
{
    for (;;) {
        if (!m_windowAtEnd && m_window.text.size() - m_char < m_maxChars + 16)
            refill();
        const QString &t = m_window.text;
        while (m_char < t.size() && Sentences::isBlank(t.at(m_char)))
            ++m_char;
        if (m_char >= t.size()) {
            if (m_windowAtEnd)
                return false;
            continue;
        }
        const qsizetype end = findPieceEnd(m_char);
        qsizetype speakEnd = end;
        while (speakEnd > m_char && Sentences::isBlank(t.at(speakEnd - 1)))
            --speakEnd;

        const qint32 base = m_window.offsets[m_char];
        piece.byteStart = m_windowStart + base;
        piece.byteEnd = m_windowStart + m_window.offsets[speakEnd];
        piece.text = t.mid(m_char, speakEnd - m_char);
        for (QChar &c : piece.text) {
            if (c.unicode() < 0x20)
                c = u' ';
        }
        piece.offsets.assign(
            m_window.offsets.begin() + m_char, m_window.offsets.begin() + speakEnd + 1);
        for (qint32 &o : piece.offsets)
            o -= base;
        m_char = end;
        return true;
    }
}
