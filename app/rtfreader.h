#pragma once

// Reads RTF as WordPad, Word, LibreOffice, TextEdit and other editors write
// it into a QTextDocument: paragraphs and line breaks, tabs, bold, italic,
// underline, strike-through, font face and size, text and highlight colour,
// alignment and indents, and PNG and JPEG pictures (kept as they came, as
// image resources of the document). Text comes in the code page of its
// font's character set (or the document's), as \'hh bytes, raw bytes or \uN.
// Text without a size is 12 points, the RTF default. What it does not show
// (pictures in other formats, objects, headers, footers, footnotes, field
// instructions, style sheets, document information, ignorable destinations)
// is skipped; the pictures and objects among them are counted.
//
// The reader is linear in the size of its input and bounded in what it keeps
// (group depth, fonts, colours): a broken or hostile file gives partial text
// and a message, never a crash or a hang.

#include <QByteArrayView>
#include <QString>

class QTextDocument;

class RtfReader
{
public:
    struct Limits {
        int maxDepth = 256; // groups deeper than this are skipped whole
        int maxFonts = 16384;
        int maxColors = 16384;
    };

    struct Result {
        bool ok = false; // the input was RTF and its text was read
        bool partial = false; // broken or past the limits: some of it was dropped
        QString message; // why, in the program's words; empty when all went well
        // Pictures and objects of the text that are not shown and cannot be
        // saved again (WMF, EMF, embedded objects, shapes).
        int droppedPictures = 0;
    };

    // True when bytes start with "{\rtf", as every RTF file does.
    static bool isRtf(QByteArrayView bytes);

    // Replaces document's content with the RTF's.
    static Result read(QByteArrayView rtf, QTextDocument *document, const Limits &limits);
    static Result read(QByteArrayView rtf, QTextDocument *document)
    {
        return read(rtf, document, Limits());
    }
};
