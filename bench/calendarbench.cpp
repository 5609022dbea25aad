// The lunar calendar's cost beside ICU's Chinese calendar.
//
//   calendar-bench convert ours|icu   convert every day 31 Jan 1900 – 31 Dec 2100
//   calendar-bench paint ours|icu N   paint the grid for N consecutive months
//                                     from January 2024, lunar dates from
//                                     ours or from ICU
//   calendar-bench agree              count the days on which both agree
//
// bench/calendar.sh runs the first two under farm-bench, ours against ICU.

#include "lunar.h"
#include "lunarcalendar.h"

#include <QApplication>
#include <QPixmap>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/simpletz.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const QDate First(1900, 1, 31);
const QDate Last(2100, 12, 31);

// ICU's Chinese calendar, reckoned in China Standard Time.
class IcuChinese
{
public:
    IcuChinese()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_calendar.reset(icu::Calendar::createInstance(
            new icu::SimpleTimeZone(8 * 3600 * 1000, icu::UnicodeString(u"CST")),
            icu::Locale("zh_CN@calendar=chinese"), status));
        if (U_FAILURE(status))
            m_calendar.reset();
    }

    bool ok() const { return m_calendar != nullptr; }

    TLunarDate convert(const QDate &date)
    {
        UErrorCode status = U_ZERO_ERROR;
        // Noon in China on that day, in milliseconds since 1970.
        const double when = (double(date.toJulianDay() - 2440588) * 86400.0 + 4 * 3600.0) * 1000.0;
        m_calendar->setTime(when, status);
        const int extendedYear = m_calendar->get(UCAL_EXTENDED_YEAR, status);
        const int month = m_calendar->get(UCAL_MONTH, status) + 1;
        const bool leap = m_calendar->get(UCAL_IS_LEAP_MONTH, status) != 0;
        const int day = m_calendar->get(UCAL_DATE, status);
        if (U_FAILURE(status))
            return {};
        // ICU counts years from 2637 BC; ours are the Gregorian year in
        // which the lunar year begins.
        return {extendedYear - 2637, month, day, leap};
    }

private:
    std::unique_ptr<icu::Calendar> m_calendar;
};

int convertAll(bool icu)
{
    IcuChinese chinese;
    if (icu && !chinese.ok()) {
        std::fprintf(stderr, "ICU has no Chinese calendar here\n");
        return 1;
    }
    long long checksum = 0;
    for (QDate d = First; d <= Last; d = d.addDays(1)) {
        const TLunarDate l = icu ? chinese.convert(d) : Lunar::SolarToLunar(d);
        checksum += l.Year + l.Month * 31 + l.Day + l.IsLeap;
    }
    std::printf("checksum %lld\n", checksum);
    return 0;
}

int paintMonths(bool icu, int months)
{
    auto chinese = std::make_shared<IcuChinese>();
    TLunarCalendar grid;
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(16);
    grid.setFont(font);
    grid.resize(530, 305);
    if (icu)
        grid.setConverter([chinese](const QDate &d) { return chinese->convert(d); });
    grid.setSelectedDate(QDate(2024, 1, 1));
    QPixmap canvas(grid.size());
    for (int i = 0; i < months; ++i) {
        grid.render(&canvas);
        grid.NextMonth();
    }
    std::printf("painted %d months\n", months);
    return 0;
}

int agreement()
{
    IcuChinese chinese;
    int same = 0;
    int differ = 0;
    for (QDate d = First; d <= Last; d = d.addDays(1)) {
        const TLunarDate ours = Lunar::SolarToLunar(d);
        if (ours == chinese.convert(d)) {
            ++same;
        } else {
            if (differ < 20 || d.year() >= 1929)
                std::printf("differ %s\n", qPrintable(d.toString(Qt::ISODate)));
            ++differ;
        }
    }
    std::printf("agree %d days, differ %d days\n", same, differ);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool icu = argc > 2 && std::strcmp(argv[2], "icu") == 0;
    if (argc > 1 && std::strcmp(argv[1], "convert") == 0)
        return convertAll(icu);
    if (argc > 1 && std::strcmp(argv[1], "paint") == 0)
        return paintMonths(icu, argc > 3 ? std::atoi(argv[3]) : 12);
    if (argc > 1 && std::strcmp(argv[1], "agree") == 0)
        return agreement();
    std::fprintf(stderr, "usage: calendar-bench convert|paint ours|icu [months] | agree\n");
    return 2;
}
