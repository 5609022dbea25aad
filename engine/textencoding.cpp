#include "textencoding.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

namespace TextEncoding {

namespace {

// How bytes read as UTF-8: not at all, or well-formed (a sequence cut off
// at the very end counts as well-formed, so a file truncated mid-character
// is still UTF-8), and then whether it has characters of three or four
// bytes, and whether its two-byte characters are all Latin letters.
struct Utf8Reading {
    bool valid = true;
    bool longSequences = false; // three or four bytes: CJK and beyond
    bool twoByteLatinOnly = true; // U+00A0 … U+024F
    bool twoByteSequences = false;
};

Utf8Reading readUtf8(QByteArrayView bytes)
{
    Utf8Reading r;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int len;
        uint cp;
        if (b >= 0xC2 && b <= 0xDF) { len = 2; cp = b & 0x1F; }
        else if (b >= 0xE0 && b <= 0xEF) { len = 3; cp = b & 0x0F; }
        else if (b >= 0xF0 && b <= 0xF4) { len = 4; cp = b & 0x07; }
        else { r.valid = false; return r; }
        for (int k = 1; k < len; ++k) {
            if (i + k >= n)
                return r;
            const uchar c = uchar(bytes[i + k]);
            if ((c & 0xC0) != 0x80) {
                r.valid = false;
                return r;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
            || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
            r.valid = false;
            return r;
        }
        if (len == 2) {
            r.twoByteSequences = true;
            if (cp < 0xA0 || cp > 0x24F)
                r.twoByteLatinOnly = false;
        } else {
            r.longSequences = true;
        }
        i += len;
    }
    return r;
}

bool validGbk(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80 || b == 0x80)
            continue;
        if (b == 0xFF || i + 1 >= bytes.size())
            return false;
        const uchar t = uchar(bytes[++i]);
        if (t < 0x40 || t == 0x7F || t == 0xFF)
            return false;
    }
    return true;
}

} // namespace

Encoding detect(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8;
    if (bytes.startsWith("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return Encoding::Utf16BE;
    const Utf8Reading utf8 = readUtf8(bytes);
    if (!utf8.valid)
        return Encoding::Gbk;
    // Chinese in UTF-8 comes in three-byte characters. Only two-byte ones
    // are also what short GBK texts often look like ("山水" is C9BD CBAE):
    // UTF-8 then only when they are all Latin letters, or when the bytes
    // cannot be GBK.
    if (utf8.longSequences)
        return Encoding::Utf8;
    if (utf8.twoByteSequences && (utf8.twoByteLatinOnly || !validGbk(bytes)))
        return Encoding::Utf8;
    return Encoding::Gbk;
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless).decode(bytes);
    case Encoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless).decode(bytes);
    case Encoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless).decode(bytes);
    case Encoding::Gbk:
        break;
    }
    return fromGbk(bytes);
}

Decoded decode(QByteArrayView bytes)
{
    const Encoding e = detect(bytes);
    return {decode(bytes, e), e};
}

QString fromGbk(QByteArrayView bytes)
{
    return QStringDecoder("GBK", QStringConverter::Flag::Stateless).decode(bytes);
}

uint16_t gbkCode(char16_t c)
{
    // Built once from the converter: asking it character by character for
    // a long text costs far more than a table look-up.
    static const std::vector<uint16_t> table = [] {
        std::vector<uint16_t> t(0x10000, 0);
        QStringEncoder gbk("GBK", QStringEncoder::Flag::Stateless);
        for (char32_t u = 0; u < 0x10000; ++u) {
            if (u >= 0xD800 && u <= 0xDFFF)
                continue;
            const QChar ch = QChar(char16_t(u));
            // A character the converter lacks comes out as "?" (its error
            // flag, once set, stays set: the "?" is what tells).
            const QByteArray b = gbk.encode(QStringView(&ch, 1));
            if (b.size() == 1 && (b[0] != '?' || u == u'?'))
                t[u] = uchar(b[0]);
            else if (b.size() == 2)
                t[u] = uint16_t(uchar(b[0]) << 8 | uchar(b[1]));
        }
        return t;
    }();
    return table[c];
}

// GBK's bytes for a character GBK lacks but holds in another form: the
// full-width form of a sign (¥ → ￥, £ → ￡) or the compatibility form
// Unicode gives it (² → 2, ™ → TM). Empty when there is none.
static QByteArray gbkStandIn(char16_t c)
{
    static const QHash<char16_t, char16_t> wide = [] {
        QHash<char16_t, char16_t> map;
        for (char16_t f = 0xFF01; f <= 0xFFEE; ++f) {
            const QChar ch(f);
            const QString d = ch.decomposition();
            if ((ch.decompositionTag() == QChar::Wide || ch.decompositionTag() == QChar::Narrow)
                && d.size() == 1 && gbkCode(d.at(0).unicode()) == 0 && gbkCode(f) != 0)
                map.insert(d.at(0).unicode(), f);
        }
        return map;
    }();
    QByteArray out;
    const auto put = [&out](uint16_t code) {
        if (code >= 0x100)
            out.append(char(code >> 8));
        out.append(char(code & 0xFF));
    };
    if (const char16_t f = wide.value(c, 0)) {
        put(gbkCode(f));
        return out;
    }
    const QString compat = QString(QChar(c)).normalized(QString::NormalizationForm_KC);
    if (compat.size() == 1 && compat.at(0) == QChar(c))
        return {};
    for (QChar k : compat) {
        const uint16_t code = k.unicode() < 0x80 ? k.unicode() : gbkCode(k.unicode());
        if (code == 0 || QChar::isSurrogate(k.unicode()))
            return {};
        put(code);
    }
    return out;
}

GbkResult toGbk(const QString &text, bool withOffsets)
{
    GbkResult result;
    const qsizetype n = text.size();
    result.bytes.reserve(n * 2);
    if (withOffsets)
        result.unitOffsets.reserve(size_t(n) + 1);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (withOffsets)
            result.unitOffsets.push_back(qint32(result.bytes.size()));
        if (u < 0x80) {
            result.bytes.append(char(u));
            continue;
        }
        const uint16_t code = QChar::isSurrogate(u) ? 0 : gbkCode(u);
        const QByteArray standIn = code == 0 && !QChar::isSurrogate(u) ? gbkStandIn(u) : QByteArray();
        if (!standIn.isEmpty()) {
            result.bytes.append(standIn);
        } else if (code == 0) {
            // Nothing in GBK: a blank, one for a whole surrogate pair.
            if (result.firstUnencodable < 0)
                result.firstUnencodable = i;
            ++result.unencodableCount;
            result.bytes.append(' ');
            if (QChar::isHighSurrogate(u) && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                ++i;
                if (withOffsets)
                    result.unitOffsets.push_back(qint32(result.bytes.size() - 1));
            }
        } else if (code < 0x100) {
            result.bytes.append(char(code));
        } else {
            result.bytes.append(char(code >> 8));
            result.bytes.append(char(code & 0xFF));
        }
    }
    if (withOffsets)
        result.unitOffsets.push_back(qint32(result.bytes.size()));
    return result;
}

} // namespace TextEncoding
