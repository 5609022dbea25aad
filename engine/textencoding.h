#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text encodings of the program: the engine takes GBK; files on disk come as
// GBK or, from today's editors, as UTF-8 or UTF-16.
namespace TextEncoding {

enum class Encoding { Utf8, Utf16LE, Utf16BE, Gbk };

struct Decoded {
    QString text;
    Encoding encoding = Encoding::Gbk;
};

// A byte-order mark decides; otherwise text that is valid UTF-8 and holds at
// least one multi-byte sequence is UTF-8; everything else is GBK.
Encoding detect(QByteArrayView bytes);
Decoded decode(QByteArrayView bytes);
QString decode(QByteArrayView bytes, Encoding encoding);

struct GbkResult {
    QByteArray bytes;
    // Index in the text of the first character GBK cannot hold, or -1. Such
    // characters are written as a blank.
    qsizetype firstUnencodable = -1;
    qsizetype unencodableCount = 0;
};
GbkResult toGbk(const QString &text);
QString fromGbk(QByteArrayView bytes);

} // namespace TextEncoding
