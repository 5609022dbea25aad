#pragma once

// The Chinese lunar calendar for 1900 to 2100, the 24 solar terms and the
// holidays: free functions over constant tables, no state, no I/O.
//
//   SolarToLunar      Gregorian date → lunar year, month, day, leap flag
//   SolarTermDate     the instant a solar term begins (China Standard Time)
//   SolarTermName     the term that begins on a date, if any
//   LunarDayName, LunarMonthName, SolarHolidayName, LunarHolidayName

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>

struct TLunarDate {
    int32_t Year = 0;
    int32_t Month = 0;
    int32_t Day = 0;
    bool IsLeap = false;
    bool operator==(const TLunarDate &) const = default;
};

namespace Lunar {

constexpr int FirstYear = 1900;
constexpr int LastYear = 2100;

// Per lunar year: bits 15…4 the lengths of months 1…12 (set: 30 days), bits
// 3…0 the leap month (0 or 15: none; 15 in the next year's entry also makes
// this year's leap month 30 days long).
extern const std::array<uint16_t, LastYear - FirstYear + 1> LunarYearData;
extern const std::array<const char16_t *, 24> SolarTermNames;
// Minutes from the start of the solar-term year in a mean year: the first
// guess for finding each term's instant.
extern const std::array<int32_t, 24> SolarTermOffsets;

int LeapMonthOf(int year);
int LeapMonthDays(int year);
int LunarMonthDays(int year, int month);
int LunarYearDays(int year);

// 31 January 1900 … 31 December 2100; the all-zero date outside.
TLunarDate SolarToLunar(const QDate &date);

// The instant term index (0 小寒 … 23 冬至) of a Gregorian year begins: the
// Sun's apparent geocentric ecliptic longitude reaches 285° + 15° × index,
// in China Standard Time (UTC+8), whose calendar date is the term's day.
QDateTime SolarTermDate(int year, int index);
QString SolarTermName(const QDate &date);

QString LunarDayName(int day);
QString LunarMonthName(int month, bool isLeap);
QString SolarHolidayName(const QDate &date);
QString LunarHolidayName(const TLunarDate &date);

} // namespace Lunar
