#include "systemformats.h"

#include <QLocale>
#include <QRegularExpression>

QString SystemFormats::shortDate(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString SystemFormats::longTime(const QTime &time)
{
    static const QString format = [] {
        QString f = QLocale::system().timeFormat(QLocale::LongFormat);
        // Drop the zone ("t", "tttt") and the blank or bracket beside it.
        f.remove(QRegularExpression(QStringLiteral(R"(\s*\(?t+\)?\s*)")));
        return f.trimmed();
    }();
    return QLocale::system().toString(time, format);
}
