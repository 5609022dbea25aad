#pragma once

// Prints the editor's text as plain lines, as a text-mode print job does: a
// header line with the date and time, a rule, an empty line, then every line
// of the text in one font. A line wider than the page goes on in the next
// printed line, broken after the last character that fits; a full page goes
// on at the top of the next.

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;

namespace TextPrinter {

QString headerLine(const QString &date, const QString &time);
QString ruleLine();

// The printed lines of text, wrapped to width by advance(text), the width
// of a piece of text in the printing font.
QStringList wrap(
    const QStringList &lines, qreal width, const std::function<qreal(QStringView)> &advance);
// Printed lines grouped into pages of linesPerPage.
QList<QStringList> paginate(const QStringList &printed, int linesPerPage);

// The whole job: header, rule, empty line and text on device, in font.
// False, with what went wrong in *error, when it could not be printed.
bool print(QPagedPaintDevice &device, const QFont &font, const QString &header, const QString &text,
    QString *error);

} // namespace TextPrinter
