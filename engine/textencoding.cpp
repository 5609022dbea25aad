#include "textencoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace TextEncoding {

namespace {

// True when bytes are well-formed UTF-8 (a sequence cut off at the very end
// counts as well-formed, so a file truncated mid-character is still UTF-8).
bool validUtf8(QByteArrayView bytes, bool *multiByte)
{
    *multiByte = false;
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
        else return false;
        for (int k = 1; k < len; ++k) {
            if (i + k >= n)
                return *multiByte = true;
            const uchar c = uchar(bytes[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
            || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        *multiByte = true;
        i += len;
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
    bool multiByte = false;
    if (validUtf8(bytes, &multiByte) && multiByte)
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

GbkResult toGbk(const QString &text)
{
    GbkResult result;
    result.bytes.reserve(text.size() * 2);
    // Encode in runs, and character by character only where a run fails, so
    // the common case costs one converter call. A converter that has seen an
    // error keeps reporting it (resetState() does not clear it in Qt 6.4), so
    // every attempt gets a fresh one.
    const auto encode = [](QStringView s, QByteArray *out) {
        QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
        *out = encoder.encode(s);
        return !encoder.hasError();
    };
    const qsizetype n = text.size();
    constexpr qsizetype Run = 4096;
    qsizetype start = 0;
    while (start < n) {
        qsizetype len = std::min(Run, n - start);
        if (start + len < n && text.at(start + len - 1).isHighSurrogate())
            ++len;
        const QStringView run = QStringView(text).sliced(start, len);
        QByteArray bytes;
        if (encode(run, &bytes)) {
            result.bytes += bytes;
        } else {
            for (qsizetype i = 0; i < run.size();) {
                const qsizetype width = run.at(i).isHighSurrogate() && i + 1 < run.size() ? 2 : 1;
                QByteArray one;
                if (!encode(run.sliced(i, width), &one) || one.isEmpty()) {
                    if (result.firstUnencodable < 0)
                        result.firstUnencodable = start + i;
                    ++result.unencodableCount;
                    one = " ";
                }
                result.bytes += one;
                i += width;
            }
        }
        start += len;
    }
    return result;
}

} // namespace TextEncoding
