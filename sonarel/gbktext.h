#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

// GBK text as the synthesiser sees it.
//
// decodeGbk() turns GBK bytes into UTF-16 with exactly one UTF-16 unit per GBK
// character and records where each character starts, so that positions the
// synthesiser reports (character indices) map back to byte offsets of the
// caller's text. Bytes that do not form a GBK character become a blank: bad
// input never stops the rest of the text from being read.
//
// TextPieceReader walks a GBK text sentence by sentence (the pieces the engine
// synthesises one at a time), decoding only a small window at a time so memory
// does not grow with the text.

struct DecodedText {
    QString text;
    // Byte offset of each character relative to the decoded range, plus one
    // entry for the end: offsets.size() == text.size() + 1.
    std::vector<qint32> offsets;
};

// Length in bytes of the GBK character starting at bytes[pos], or 0 when the
// byte there cannot start one (a stray trail byte, 0xFF, a lead byte without
// its trail byte).
int gbkCharLength(QByteArrayView bytes, qsizetype pos);

DecodedText decodeGbk(QByteArrayView bytes);

struct TextPiece {
    qint64 byteStart = 0; // in the whole text
    qint64 byteEnd = 0;
    QString text; // speakable form: controls and line breaks are blanks
    std::vector<qint32> offsets; // per character, relative to byteStart, plus end
};

class TextPieceReader
{
public:
    explicit TextPieceReader(QByteArrayView gbk, int maxPieceChars = 250);

    // The next sentence; pieces that hold only blanks are passed over.
    bool next(TextPiece &piece);

private:
    void refill();
    qsizetype findPieceEnd(qsizetype from) const;

    QByteArrayView m_bytes;
    int m_maxChars;
    qsizetype m_windowStart = 0; // byte offset of m_window in m_bytes
    DecodedText m_window;
    qsizetype m_char = 0; // next character in m_window
    bool m_windowAtEnd = false; // m_window reaches the end of the text
};
