#pragma once

// The character list file of the card drill and the small text helpers the
// character tools share. Texts are GBK byte strings, as the file holds them:
// lengths and positions count bytes, and a lead byte (0x81 … 0xFE) starts a
// two-byte character.
//
// The file ("tavimo.txt") has one group per line: a name, "=", the
// characters to show. Only the first "=" counts, nothing is trimmed, lines
// without "=" are passed over.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Untfun {

inline const QString ListFileName = QStringLiteral("tavimo.txt");

// The folder with its separator at the end ("" stays "").
QString AddBackslash(const QString &folder);
QByteArray LeftPart(const QByteArray &text, qsizetype n);
QByteArray RightPart(const QByteArray &text, qsizetype n);
bool isLeadByte(char byte);
// Appends the cards of text to cards: a two-byte character, or one or two
// one-byte characters, a card each; an empty text makes one blank card (CR LF).
void SplitCards(const QByteArray &text, QList<QByteArray> &cards);

// The list file: in the program's folder if it is there, else in the
// fallback folder (whether it is there or not).
QString locateListFile(const QString &programFolder, const QString &fallbackFolder);

struct List {
    QStringList names; // shown in the group list
    QList<QByteArray> groups; // each group's characters, GBK
};

// The lines of bytes: breaks at CR LF, lone CR and lone LF, the text ending
// at the first NUL.
QList<QByteArray> splitLines(const QByteArray &bytes);
// The groups of a list file's bytes (GBK, or UTF-8 or UTF-16, which are
// turned into GBK first).
List parseList(const QByteArray &bytes);
// Reads the list file; a missing file gives no groups. None, with the reason
// in *error, when the file is there but cannot be read.
std::optional<List> LoadList(const QString &path, QString *error);

// Text for the list file and the editor: bytes as the user wrote them, in
// whichever encoding, as text with "\n" line breaks.
QString textOfFile(const QByteArray &bytes);

struct Encoded {
    QByteArray bytes;
    // The first character GBK cannot hold and its line (from 1), or none.
    QString unencodable;
    int line = 0;
};
// The editor's text for the file: GBK, lines separated by CR LF, no break
// after the last.
Encoded fileOfText(const QString &text);

} // namespace Untfun
