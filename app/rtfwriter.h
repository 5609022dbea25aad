#pragma once

#include <QByteArray>

class QTextDocument;

// Writes a QTextDocument as RTF that WordPad, Word, LibreOffice and TextEdit
// open with the same text and formatting: paragraphs with their alignment
// and indents, line breaks, tabs, font face and size, bold, italic,
// underline, strike-through, text and highlight colour.
//
// Chinese is written the way WordPad writes it: the document's code page is
// 936 (GBK), fonts that carry Chinese declare the GB2312 character set, and
// every character GBK holds is written as its escaped bytes (\'hh\'hh), so
// that readers which ignore \u and readers which ignore code pages both get
// it right. Characters outside GBK are written as \uN with a "?" for readers
// that know no Unicode.
namespace RtfWriter {
QByteArray write(const QTextDocument &document);
}
