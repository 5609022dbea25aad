#include "untfun.h"

#include "textencoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString Untfun::AddBackslash(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QDir::separator()) || folder.endsWith(u'/'))
        return folder;
    return folder + QDir::separator();
}

QByteArray Untfun::LeftPart(const QByteArray &text, qsizetype n)
{
    return n >= text.size() ? text : text.left(std::max<qsizetype>(0, n));
}

QByteArray Untfun::RightPart(const QByteArray &text, qsizetype n)
{
    return n >= text.size() ? text : text.right(std::max<qsizetype>(0, n));
}

bool Untfun::isLeadByte(char byte)
{
    return uchar(byte) >= 0x81 && uchar(byte) <= 0xFE;
}

void Untfun::SplitCards(const QByteArray &text, QList<QByteArray> &cards)
{
    if (text.isEmpty()) {
        cards << QByteArray("\r\n");
        return;
    }
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype len;
        if (isLeadByte(text[i]))
            len = std::min<qsizetype>(2, n - i); // a two-byte character
        else if (i + 1 < n && isLeadByte(text[i + 1]))
            len = 1; // a one-byte character before a two-byte one
        else
            len = std::min<qsizetype>(2, n - i); // one or two one-byte characters
        cards << text.mid(i, len);
        i += len;
    }
}

QString Untfun::locateListFile(const QString &programFolder, const QString &fallbackFolder)
{
    const QString inProgram = AddBackslash(programFolder) + ListFileName;
    if (QFileInfo::exists(inProgram))
        return inProgram;
    return AddBackslash(fallbackFolder) + ListFileName;
}

QList<QByteArray> Untfun::splitLines(const QByteArray &bytes)
{
    QByteArray text = bytes;
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines << text.mid(start, i - start);
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

QString Untfun::textOfFile(const QByteArray &bytes)
{
    return TextEncoding::decode(bytes).text;
}

Untfun::List Untfun::parseList(const QByteArray &bytes)
{
    // Today's editors write UTF-8: such a file is turned into GBK first, so
    // that a card is always a whole character.
    QByteArray gbk = bytes;
    if (TextEncoding::detect(bytes) != TextEncoding::Encoding::Gbk)
        gbk = TextEncoding::toGbk(TextEncoding::decode(bytes).text).bytes;
    List list;
    for (const QByteArray &line : splitLines(gbk)) {
        const qsizetype p = line.indexOf('=') + 1; // from 1; 0 when there is none
        if (p == 0)
            continue;
        const QByteArray name = LeftPart(line, p - 1);
        list.names << TextEncoding::fromGbk(name);
        list.groups << RightPart(line, line.size() - p);
    }
    return list;
}

std::optional<Untfun::List> Untfun::LoadList(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.exists())
        return List();
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("无法打开文件“%1”：%2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    return parseList(file.readAll());
}

Untfun::Encoded Untfun::fileOfText(const QString &text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    normalized.replace(QChar::ParagraphSeparator, u'\n');
    normalized.replace(QChar::LineSeparator, u'\n');
    normalized.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const TextEncoding::GbkResult gbk = TextEncoding::toGbk(normalized);
    Encoded out;
    out.bytes = gbk.bytes;
    if (gbk.firstUnencodable >= 0) {
        const qsizetype at = gbk.firstUnencodable;
        out.unencodable = normalized.mid(at, normalized[at].isHighSurrogate() ? 2 : 1);
        out.line = int(normalized.left(at).count(u'\n')) + 1;
    }
    return out;
}
