#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Dates and times in the user's own formats, as the clock panel and the
// printed page show them.
namespace SystemFormats {

// The short date format of the system's locale ("2026/12/10").
QString shortDate(const QDate &date);
// The long time format of the system's locale, without a time zone
// ("11:52:53"): the zone says nothing to someone reading the clock.
QString longTime(const QTime &time);

} // namespace SystemFormats
