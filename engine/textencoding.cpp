#include "textencoding.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

namespace TextEncoding {

namespace {

bool isAsciiLetter(uchar b)
{
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

// How common a character is, by where GB2312 puts it: its 3 755 common
// characters, then punctuation and signs, then its 3 008 rarer ones;
// anything else is rare in Chinese text.
double gb2312Weight(uchar lead, uchar trail)
{
    if (trail < 0xA1 || trail > 0xFE)
        return 0.1;
    if (lead >= 0xB0 && lead <= 0xD7)
        return 1.0;
    if (lead >= 0xA1 && lead <= 0xA9)
        return 0.9;
    if (lead >= 0xD8 && lead <= 0xF7)
        return 0.6;
    return 0.1;
}

// How likely the bytes are UTF-8 text: the mean, over the characters beyond
// ASCII, of how plausible each is where it stands; -1 when the bytes are
// not well-formed UTF-8 (a sequence cut off at the very end is taken as
// well-formed, so a file truncated mid-character is still UTF-8). Chinese
// and other three-byte characters are plausible anywhere; the two-byte
// ones (accented letters, Greek, Cyrillic) inside words of their script.
double utf8Likelihood(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    double sum = 0;
    int count = 0;
    uint prevCp = 0; // the character before, 0 at the start
    for (qsizetype i = 0; i < n;) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            prevCp = b;
            ++i;
            continue;
        }
        int len;
        uint cp;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07;
        } else
            return -1;
        if (i + len > n) {
            ++count; // cut off at the end
            sum += 0.5;
            break;
        }
        for (int k = 1; k < len; ++k) {
            const uchar c = uchar(bytes[i + k]);
            if ((c & 0xC0) != 0x80)
                return -1;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
            || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return -1;
        const uchar next = i + len < n ? uchar(bytes[i + len]) : 0;
        const bool nextToLatin = (prevCp < 0x80 && isAsciiLetter(uchar(prevCp)))
            || isAsciiLetter(next) || (prevCp >= 0xC0 && prevCp <= 0x17F);
        const auto sameScript = [](uint a, uint c) {
            return (a >= 0x370 && a <= 0x3FF && c >= 0x370 && c <= 0x3FF)
                || (a >= 0x400 && a <= 0x4FF && c >= 0x400 && c <= 0x4FF);
        };
        double w;
        if (len == 3) {
            // Chinese as common as GB2312 says; other scripts of three bytes
            // are plausible as such.
            const uint16_t code = gbkCode(char16_t(cp));
            w = code >= 0x100 ? std::max(0.3, gb2312Weight(uchar(code >> 8), uchar(code & 0xFF)))
                              : 0.6;
        } else if (len == 4)
            w = 0.5;
        else if (cp >= 0xA0 && cp <= 0xFF)
            w = nextToLatin ? 1.0 : 0.5;
        else if (cp <= 0x17F)
            w = nextToLatin ? 0.6 : 0.3;
        else if (cp >= 0x370 && cp <= 0x4FF)
            w = sameScript(prevCp, cp) ? 0.9 : 0.4; // Greek, Cyrillic
        else
            w = 0.1;
        sum += w;
        ++count;
        prevCp = cp;
        i += len;
    }
    return count ? sum / count : 0;
}

// The same for GBK: characters of GB2312, which is what GBK text is made
// of, weigh most (the 3 755 common characters most of all); a character
// right after a Latin letter ("caf" + 泵) is less likely. -1 when the bytes
// are not well-formed GBK.
double gbkLikelihood(QByteArrayView bytes)
{
    double sum = 0;
    int count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80)
            continue;
        ++count;
        if (b == 0x80) { // the euro sign
            sum += 0.5;
            continue;
        }
        if (b == 0xFF || i + 1 >= bytes.size())
            return -1;
        const uchar t = uchar(bytes[i + 1]);
        if (t < 0x40 || t == 0x7F || t == 0xFF)
            return -1;
        double w = gb2312Weight(b, t);
        if (i > 0 && isAsciiLetter(uchar(bytes[i - 1])))
            w *= 0.7;
        sum += w;
        ++i;
    }
    return count ? sum / count : 0;
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
    // Short GBK texts are often well-formed UTF-8 too ("木目" is C4BE C4BF,
    // which reads "ľĿ"): decide by which reading is the more likely text,
    // and GBK, the program's own encoding, when they are even.
    const double utf8 = utf8Likelihood(bytes);
    if (utf8 < 0)
        return Encoding::Gbk;
    const double gbk = gbkLikelihood(bytes);
    return utf8 > gbk ? Encoding::Utf8 : Encoding::Gbk;
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
            .decode(bytes);
    case Encoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless)
            .decode(bytes);
    case Encoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless)
            .decode(bytes);
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
        const QByteArray standIn
            = code == 0 && !QChar::isSurrogate(u) ? gbkStandIn(u) : QByteArray();
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

GbkResult toEngineText(const QString &text, bool withOffsets)
{
    if (!text.contains(QChar(u'\0')))
        return toGbk(text, withOffsets);
    QString clean = text;
    clean.replace(QChar(u'\0'), QChar(u' '));
    return toGbk(clean, withOffsets);
}

} // namespace TextEncoding
