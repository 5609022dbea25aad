#include "lunar.h"

#include "solarposition.h"

#include <QTimeZone>

#include <bit>
#include <cmath>

namespace Lunar {

const std::array<uint16_t, LastYear - FirstYear + 1> LunarYearData = {
    0x4BD8, 0x4AE0, 0xA570, 0x54D5, 0xD260, 0xD950, 0x5554, 0x56AF, 0x9AD0, 0x55D2, // 1900
    0x4AE0, 0xA5B6, 0xA4D0, 0xD250, 0xD295, 0xB54F, 0xD6A0, 0xADA2, 0x95B0, 0x4977, // 1910
    0x497F, 0xA4B0, 0xB4B5, 0x6A50, 0x6D40, 0xAB54, 0x2B6F, 0x9570, 0x52F2, 0x4970, // 1920
    0x6566, 0xD4A0, 0xEA50, 0x6A95, 0x5ADF, 0x2B60, 0x86E3, 0x92EF, 0xC8D7, 0xC95F, // 1930
    0xD4A0, 0xD8A6, 0xB55F, 0x56A0, 0xA5B4, 0x25DF, 0x92D0, 0xD2B2, 0xA950, 0xB557, // 1940
    0x6CA0, 0xB550, 0x5355, 0x4DAF, 0xA5B0, 0x4573, 0x52BF, 0xA9A8, 0xE950, 0x6AA0, // 1950
    0xAEA6, 0xAB50, 0x4B60, 0xAAE4, 0xA570, 0x5260, 0xF263, 0xD950, 0x5B57, 0x56A0, // 1960
    0x96D0, 0x4DD5, 0x4AD0, 0xA4D0, 0xD4D4, 0xD250, 0xD558, 0xB540, 0xB6A0, 0x95A6, // 1970
    0x95BF, 0x49B0, 0xA974, 0xA4B0, 0xB27A, 0x6A50, 0x6D40, 0xAF46, 0xAB60, 0x9570, // 1980
    0x4AF5, 0x4970, 0x64B0, 0x74A3, 0xEA50, 0x6B58, 0x5AC0, 0xAB60, 0x96D5, 0x92E0, // 1990
    0xC960, 0xD954, 0xD4A0, 0xDA50, 0x7552, 0x56A0, 0xABB7, 0x25D0, 0x92D0, 0xCAB5, // 2000
    0xA950, 0xB4A0, 0xBAA4, 0xAD50, 0x55D9, 0x4BA0, 0xA5B0, 0x5176, 0x52BF, 0xA930, // 2010
    0x7954, 0x6AA0, 0xAD50, 0x5B52, 0x4B60, 0xA6E6, 0xA4E0, 0xD260, 0xEA65, 0xD530, // 2020
    0x5AA0, 0x76A3, 0x96D0, 0x4AFB, 0x4AD0, 0xA4D0, 0xD0B6, 0xD25F, 0xD520, 0xDD45, // 2030
    0xB5A0, 0x56D0, 0x55B2, 0x49B0, 0xA577, 0xA4B0, 0xAA50, 0xB255, 0x6D2F, 0xADA0, // 2040
    0x4B63, 0x937F, 0x49F8, 0x4970, 0x64B0, 0x68A6, 0xEA5F, 0x6B20, 0xA6C4, 0xAAEF, // 2050
    0x92E0, 0xD2E3, 0xC960, 0xD557, 0xD4A0, 0xDA50, 0x5D55, 0x56A0, 0xA6D0, 0x55D4, // 2060
    0x52D0, 0xA9B8, 0xA950, 0xB4A0, 0xB6A6, 0xAD50, 0x55A0, 0xABA4, 0xA5B0, 0x52B0, // 2070
    0xB273, 0x6930, 0x7337, 0x6AA0, 0xAD50, 0x4B55, 0x4B6F, 0xA570, 0x54E4, 0xD260, // 2080
    0xE968, 0xD520, 0xDAA0, 0x6AA6, 0x56DF, 0x4AE0, 0xA9D4, 0xA4D0, 0xD150, 0xF252, // 2090
    0xD520, // 2100
};

const std::array<const char16_t *, 24> SolarTermNames = {
    u"小寒",
    u"大寒",
    u"立春",
    u"雨水",
    u"惊蛰",
    u"春分",
    u"清明",
    u"谷雨",
    u"立夏",
    u"小满",
    u"芒种",
    u"夏至",
    u"小暑",
    u"大暑",
    u"立秋",
    u"处暑",
    u"白露",
    u"秋分",
    u"寒露",
    u"霜降",
    u"立冬",
    u"小雪",
    u"大雪",
    u"冬至",
};

const std::array<int32_t, 24> SolarTermOffsets = {
    0,
    21208,
    42467,
    63836,
    85337,
    107014,
    128867,
    150921,
    173149,
    195551,
    218072,
    240693,
    263343,
    285989,
    308563,
    331033,
    353350,
    375494,
    397447,
    419210,
    440795,
    462224,
    483532,
    504758,
};

namespace {

constexpr char16_t ChineseNumerals[10]
    = {u'一', u'二', u'三', u'四', u'五', u'六', u'七', u'八', u'九', u'十'};

// Characters 1–4: the key (month, day); character 5: '*' or a blank, shown
// in front of the name.
constexpr const char16_t *SolarHolidays[] = {
    u"0101*元旦",
    u"0214 情人节",
    u"0308 妇女节",
    u"0312 植树节",
    u"0315 消费者权益日",
    u"0401 愚人节",
    u"0501 劳动节",
    u"0504 青年节",
    u"0512 护士节",
    u"0601 儿童节",
    u"0701 建党节 香港回归纪念",
    u"0801 建军节",
    u"0808 父亲节",
    u"0909 毛泽东逝世纪念",
    u"0910 教师节",
    u"0928 孔子诞辰",
    u"1001*国庆节",
    u"1006 老人节",
    u"1024 联合国日",
    u"1112 孙中山诞辰纪念",
    u"1220 澳门回归纪念",
    u"1225 Christmas Day",
    u"1226 毛泽东诞辰纪念",
};

// The last row stands for the lunar New Year's eve; it has no day of its
// own (lunar days start at 1), so LunarHolidayName maps the last day of the
// twelfth month onto its key.
constexpr const char16_t *LunarHolidays[] = {
    u"0101*春节",
    u"0115 元宵节",
    u"0505 端午节",
    u"0707 七夕情人节",
    u"0715 中元节",
    u"0815 中秋节",
    u"0909 重阳节",
    u"1208 腊八节",
    u"1224 小年",
    u"0100*除夕",
};
constexpr QStringView EveKey = u"0100";

uint16_t entry(int year)
{
    if (year < FirstYear || year > LastYear)
        return 0;
    return LunarYearData[size_t(year - FirstYear)];
}

// The row whose key matches, from character 5 on; the last match wins.
template <size_t N> QString lookUp(const char16_t *const (&rows)[N], QStringView key)
{
    QString found;
    for (const char16_t *row : rows) {
        const QStringView text(row);
        if (text.left(4) == key)
            found = text.mid(4).toString();
    }
    return found;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString pair(char16_t first, char16_t second)
{
    const QChar both[2] = {QChar(first), QChar(second)};
    return QString(both, 2);
}

const QDate FirstDate(1900, 1, 31);
const QDate EndDate(2101, 1, 1);

} // namespace

int LeapMonthOf(int year)
{
    const int leap = entry(year) & 0xF;
    return leap == 15 ? 0 : leap;
}

int LeapMonthDays(int year)
{
    if (LeapMonthOf(year) == 0)
        return 0;
    return (entry(year + 1) & 0xF) == 15 ? 30 : 29;
}

int LunarMonthDays(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    return (entry(year) & (0x8000 >> (month - 1))) ? 30 : 29;
}

int LunarYearDays(int year)
{
    return 348 + std::popcount(unsigned(entry(year) & 0xFFF0)) + LeapMonthDays(year);
}

TLunarDate SolarToLunar(const QDate &date)
{
    if (!date.isValid() || date < FirstDate || date >= EndDate)
        return {};

    int offset = int(FirstDate.daysTo(date));
    int year = FirstYear;
    int length = 0;
    while (offset > 0) {
        length = LunarYearDays(year);
        ++year;
        offset -= length;
    }
    if (offset < 0) {
        offset += length;
        --year;
    }

    const int leap = LeapMonthOf(year);
    bool isLeap = false;
    int month = 0;
    while (offset >= 0) {
        ++month;
        length = LunarMonthDays(year, month);
        offset -= length;
        if (offset >= 0 && month == leap) {
            length = LeapMonthDays(year);
            offset -= length;
            if (offset < 0)
                isLeap = true;
        }
    }
    if (offset < 0)
        offset += length;
    return {year, month, offset + 1, isLeap};
}

QDateTime SolarTermDate(int year, int index)
{
    // A mean tropical year from the 小寒 of 1900 lands within a day of the
    // true instant, a close enough start for the search.
    static const double epochMs
        = double(QDateTime(QDate(1900, 1, 6), QTime(2, 5), QTimeZone::utc()).toMSecsSinceEpoch());
    const double guessMs = epochMs + double(year - 1900) * 31556925974.7
        + double(SolarTermOffsets[size_t(index)]) * 60000.0;
    const double angle = std::fmod(285.0 + 15.0 * index, 360.0);
    const double utcMs = SolarPosition::instantOfLongitude(angle, guessMs);
    static const QTimeZone chinaStandardTime(8 * 3600);
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(utcMs)), chinaStandardTime);
}

QString SolarTermName(const QDate &date)
{
    if (!date.isValid())
        return {};
    const int first = 2 * (date.month() - 1);
    for (int index : {first, first + 1}) {
        if (SolarTermDate(date.year(), index).date() == date)
            return QString::fromUtf16(SolarTermNames[size_t(index)]);
    }
    return {};
}

QString LunarDayName(int day)
{
    if (day < 1 || day > 30)
        return {};
    if (day == 20)
        return pair(ChineseNumerals[1], ChineseNumerals[9]);
    if (day == 30)
        return pair(ChineseNumerals[2], ChineseNumerals[9]);
    const char16_t prefix = day <= 10 ? u'初' : day < 20 ? u'十' : u'廿';
    return pair(prefix, ChineseNumerals[(day - 1) % 10]);
}

QString LunarMonthName(int month, bool isLeap)
{
    QString name;
    if (isLeap)
        name += u'闰';
    if (month >= 1 && month <= 10)
        name += ChineseNumerals[month - 1];
    else if (month == 11 || month == 12)
        name += pair(u'十', ChineseNumerals[month - 11]);
    name += u'月';
    return name;
}

QString SolarHolidayName(const QDate &date)
{
    if (!date.isValid())
        return {};
    return lookUp(SolarHolidays, QString(twoDigits(date.month()) + twoDigits(date.day())));
}

QString LunarHolidayName(const TLunarDate &date)
{
    if (date.Day < 1)
        return {};
    QString found = lookUp(LunarHolidays, QString(twoDigits(date.Month) + twoDigits(date.Day)));
    // New Year's eve: the last day of the twelfth month, or of the leap
    // twelfth month when the year has one.
    const bool eve = date.Month == 12
        && (LeapMonthOf(date.Year) == 12
                ? date.IsLeap && date.Day == LeapMonthDays(date.Year)
                : !date.IsLeap && date.Day == LunarMonthDays(date.Year, 12));
    if (eve)
        found = lookUp(LunarHolidays, EveKey);
    return found;
}

} // namespace Lunar
