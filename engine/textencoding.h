#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

// Text encodings of the program: the engine takes GBK; files on disk come as
// GBK or, from today's editors, as UTF-8 or UTF-16.
namespace TextEncoding {

enum class Encoding { Utf8, Utf16LE, Utf16BE, Gbk };

struct Decoded {
    QString text;
    Encoding encoding = Encoding::Gbk;
};

// A byte-order mark decides; otherwise text that is not well-formed UTF-8
// is GBK, and text that is both is taken for the one whose characters are
// the more likely text (Chinese of GB2312 for GBK; Chinese, or accented
// letters inside Latin words, for UTF-8), GBK when even.
Encoding detect(QByteArrayView bytes);
Decoded decode(QByteArrayView bytes);
QString decode(QByteArrayView bytes, Encoding encoding);

struct GbkResult {
    QByteArray bytes;
    // Index in the text of the first character GBK cannot hold, or -1. Such
    // characters are written as a blank; those GBK holds in another form
    // are written in it (¥ as ￥, ² as 2) and count as held.
    qsizetype firstUnencodable = -1;
    qsizetype unencodableCount = 0;
    // With toGbk(text, true): the byte offset of each UTF-16 unit of the
    // text, plus one entry for the end (the second unit of a surrogate pair
    // shares its first's offset).
    std::vector<qint32> unitOffsets;
};
GbkResult toGbk(const QString &text, bool withOffsets = false);
// A text for the engine, which takes zero-terminated GBK: as toGbk, with
// each NUL a blank so that nothing after it is lost.
GbkResult toEngineText(const QString &text, bool withOffsets = false);

// GBK's bytes for one character of the basic plane: 0 when GBK has none, a
// value below 0x100 for a one-byte character, else the two bytes (first in
// the high byte).
uint16_t gbkCode(char16_t c);
QString fromGbk(QByteArrayView bytes);

} // namespace TextEncoding
