// The lunar calendar computation: the year table and its accessors, the
// conversion over the whole range, the solar terms against an independent
// ephemeris, and the names and holidays.

#include "lunar.h"
#include "solarposition.h"

#include <QFile>
#include <QTest>
#include <QTimeZone>

#include <cmath>

using namespace Lunar;

Q_DECLARE_METATYPE(TLunarDate)

namespace {

double decimalYear(const QDateTime &t)
{
    const QDate d = t.toUTC().date();
    return d.year() + (d.dayOfYear() - 0.5) / d.daysInYear();
}

struct ReferenceTerm {
    int year;
    int index;
    QDateTime ut;
    double deltaT;
};

QList<ReferenceTerm> referenceTerms()
{
    QFile file(QStringLiteral(PARLIX_TEST_DATA "/solarterms.csv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<ReferenceTerm> terms;
    file.readLine(); // header
    while (!file.atEnd()) {
        const QList<QByteArray> f = file.readLine().trimmed().split(',');
        if (f.size() != 4)
            continue;
        QDateTime ut = QDateTime::fromString(QString::fromLatin1(f[2]), Qt::ISODateWithMs);
        ut.setTimeZone(QTimeZone::utc());
        terms.append({f[0].toInt(), f[1].toInt(), ut, f[3].toDouble()});
    }
    return terms;
}

} // namespace

class TestLunar : public QObject
{
    Q_OBJECT

private slots:
    void yearTable_data();
    void yearTable();
    void conversion_data();
    void conversion();
    void wholeRangeAdvancesDayByDay();
    void apparentLongitudeMatchesWorkedExample();
    void solarTermNames_data();
    void solarTermNames();
    void solarTermsMatchIndependentEphemeris();
    void dayAndMonthNames();
    void holidays_data();
    void holidays();
    void newYearsEveIsTheDayBeforeEveryNewYear();
};

void TestLunar::yearTable_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("leapMonth");
    QTest::addColumn<int>("leapDays");
    QTest::addColumn<int>("yearDays");

    // 1906: leap 4th month, long because 1907's entry ends in F.
    QTest::newRow("1906") << 1906 << 4 << 30 << 384;
    QTest::newRow("1907 (F means no leap)") << 1907 << 0 << 0 << 354;
    QTest::newRow("2033 leap 11, short") << 2033 << 11 << 29 << 384;
    QTest::newRow("2099 leap 2, length from 2100") << 2099 << 2 << 29 << 384;
    QTest::newRow("2023 leap 2") << 2023 << 2 << 29 << 384;
    QTest::newRow("2020 leap 4") << 2020 << 4 << 29 << 384;
    QTest::newRow("2024 no leap") << 2024 << 0 << 0 << 354;
}

void TestLunar::yearTable()
{
    QFETCH(int, year);
    QFETCH(int, leapMonth);
    QFETCH(int, leapDays);
    QFETCH(int, yearDays);

    QCOMPARE(LeapMonthOf(year), leapMonth);
    QCOMPARE(LeapMonthDays(year), leapDays);
    QCOMPARE(LunarYearDays(year), yearDays);

    int sum = LeapMonthDays(year);
    for (int m = 1; m <= 12; ++m) {
        const int days = LunarMonthDays(year, m);
        QVERIFY(days == 29 || days == 30);
        sum += days;
    }
    QCOMPARE(sum, yearDays);
}

void TestLunar::conversion_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<TLunarDate>("expected");

    QTest::newRow("first day") << QDate(1900, 1, 31) << TLunarDate {1900, 1, 1, false};
    QTest::newRow("day before range") << QDate(1900, 1, 30) << TLunarDate {};
    QTest::newRow("day after range") << QDate(2101, 1, 1) << TLunarDate {};
    QTest::newRow("last day") << QDate(2100, 12, 31) << TLunarDate {2100, 12, 1, false};
    QTest::newRow("spring festival 2024") << QDate(2024, 2, 10) << TLunarDate {2024, 1, 1, false};
    QTest::newRow("eve 2024") << QDate(2024, 2, 9) << TLunarDate {2023, 12, 30, false};
    QTest::newRow("leap 2nd month 2023") << QDate(2023, 3, 22) << TLunarDate {2023, 2, 1, true};
    QTest::newRow("leap 4th month 2020") << QDate(2020, 5, 23) << TLunarDate {2020, 4, 1, true};
    QTest::newRow("mid-autumn 2024") << QDate(2024, 9, 17) << TLunarDate {2024, 8, 15, false};
    QTest::newRow("invalid date") << QDate() << TLunarDate {};
}

void TestLunar::conversion()
{
    QFETCH(QDate, date);
    QFETCH(TLunarDate, expected);
    const TLunarDate got = SolarToLunar(date);
    QCOMPARE(got.Year, expected.Year);
    QCOMPARE(got.Month, expected.Month);
    QCOMPARE(got.Day, expected.Day);
    QCOMPARE(got.IsLeap, expected.IsLeap);
}

// Every day of the range converts, and consecutive days advance the lunar
// date by one day, or begin the next month (the leap month after its
// regular month) or the next year, with every month as long as the table
// says and every year as long as LunarYearDays.
void TestLunar::wholeRangeAdvancesDayByDay()
{
    TLunarDate previous = SolarToLunar(QDate(1900, 1, 31));
    int yearLength = 1;
    for (QDate d(1900, 2, 1); d <= QDate(2100, 12, 31); d = d.addDays(1)) {
        const TLunarDate l = SolarToLunar(d);
        QVERIFY2(l.Year != 0, qPrintable(d.toString(Qt::ISODate)));

        const int monthLength = previous.IsLeap ? LeapMonthDays(previous.Year)
                                                : LunarMonthDays(previous.Year, previous.Month);
        if (l.Day == previous.Day + 1) {
            QCOMPARE(l.Year, previous.Year);
            QCOMPARE(l.Month, previous.Month);
            QCOMPARE(l.IsLeap, previous.IsLeap);
            ++yearLength;
        } else {
            QVERIFY2(l.Day == 1, qPrintable(d.toString(Qt::ISODate)));
            QVERIFY2(previous.Day == monthLength, qPrintable(d.toString(Qt::ISODate)));
            if (!previous.IsLeap && LeapMonthOf(previous.Year) == previous.Month) {
                // After a month comes its leap month, when the year has one.
                QCOMPARE(l.Year, previous.Year);
                QCOMPARE(l.Month, previous.Month);
                QVERIFY(l.IsLeap);
                ++yearLength;
            } else if (previous.Month == 12) {
                QCOMPARE(l.Year, previous.Year + 1);
                QCOMPARE(l.Month, 1);
                QVERIFY(!l.IsLeap);
                QCOMPARE(yearLength, LunarYearDays(previous.Year));
                yearLength = 1;
            } else {
                QCOMPARE(l.Year, previous.Year);
                QCOMPARE(l.Month, previous.Month + 1);
                QVERIFY(!l.IsLeap);
                ++yearLength;
            }
        }
        previous = l;
    }
    QCOMPARE(previous.Year, 2100);
}

// Meeus, Astronomical Algorithms, example 25.b: on 1992 October 13.0 TD
// the Sun's apparent longitude from the full VSOP87 theory is
// 199°54′21.56″.
void TestLunar::apparentLongitudeMatchesWorkedExample()
{
    const double expected = 199.0 + 54.0 / 60.0 + 21.56 / 3600.0;
    const double got = SolarPosition::apparentLongitude(2448908.5);
    QVERIFY2(std::abs(got - expected) * 3600.0 < 0.5,
        qPrintable(QString::number((got - expected) * 3600.0) + QStringLiteral("″")));
}

void TestLunar::solarTermNames_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");

    QTest::newRow("立春 2024") << QDate(2024, 2, 4) << QStringLiteral("立春");
    QTest::newRow("day after 立春") << QDate(2024, 2, 5) << QString();
    QTest::newRow("谷雨 2024") << QDate(2024, 4, 19) << QStringLiteral("谷雨");
    QTest::newRow("谷雨 2023") << QDate(2023, 4, 20) << QStringLiteral("谷雨");
    QTest::newRow("冬至 2024") << QDate(2024, 12, 21) << QStringLiteral("冬至");
    // Days a mean year from 1900 puts one day off.
    QTest::newRow("冬至 2017") << QDate(2017, 12, 22) << QStringLiteral("冬至");
    QTest::newRow("not 冬至 2017-12-21") << QDate(2017, 12, 21) << QString();
    QTest::newRow("夏至 2023") << QDate(2023, 6, 21) << QStringLiteral("夏至");
    QTest::newRow("not 夏至 2023-06-22") << QDate(2023, 6, 22) << QString();
    QTest::newRow("小寒 2025") << QDate(2025, 1, 5) << QStringLiteral("小寒");
    QTest::newRow("大寒 2025") << QDate(2025, 1, 20) << QStringLiteral("大寒");
    QTest::newRow("invalid") << QDate() << QString();
}

void TestLunar::solarTermNames()
{
    QFETCH(QDate, date);
    QFETCH(QString, name);
    QCOMPARE(SolarTermName(date), name);
}

// tests/calendar/data/solarterms.csv holds every term of 1900–2100 found
// with PyEphem (see make-solarterms.py there). PyEphem's own Sun is a
// truncated series good to about a second of arc, some twenty seconds of
// time, so instants are compared in TT within that, and days wherever the
// reference instant lies farther than that from midnight in China.
void TestLunar::solarTermsMatchIndependentEphemeris()
{
    const QList<ReferenceTerm> terms = referenceTerms();
    QCOMPARE(terms.size(), 201 * 24);

    constexpr double toleranceSeconds = 20.0;
    double worst = 0.0;
    int daysCompared = 0;
    for (const ReferenceTerm &ref : terms) {
        const QDateTime ours = SolarTermDate(ref.year, ref.index);
        const QString where = QStringLiteral("%1 term %2").arg(ref.year).arg(ref.index);
        QCOMPARE(ours.offsetFromUtc(), 8 * 3600);

        const double oursTT
            = double(ours.toMSecsSinceEpoch()) / 1000.0 + SolarPosition::deltaT(decimalYear(ours));
        const double refTT = double(ref.ut.toMSecsSinceEpoch()) / 1000.0 + ref.deltaT;
        const double difference = std::abs(oursTT - refTT);
        worst = std::max(worst, difference);
        QVERIFY2(difference < toleranceSeconds, qPrintable(where));

        const QDateTime refChina = ref.ut.toOffsetFromUtc(8 * 3600);
        const int msOfDay = refChina.time().msecsSinceStartOfDay();
        const double fromMidnight = std::min(msOfDay, 86400000 - msOfDay) / 1000.0;
        if (fromMidnight
            > toleranceSeconds + std::abs(ref.deltaT - SolarPosition::deltaT(decimalYear(ours)))) {
            QVERIFY2(ours.date() == refChina.date(), qPrintable(where));
            QCOMPARE(SolarTermName(refChina.date()),
                QString::fromUtf16(SolarTermNames[size_t(ref.index)]));
            ++daysCompared;
        }
        // Terms 2k and 2k+1 fall in month k+1.
        QCOMPARE(ours.date().month(), ref.index / 2 + 1);
    }
    qInfo("largest difference from the reference: %.1f s; days compared: %d of %lld", worst,
        daysCompared, qlonglong(terms.size()));
    QVERIFY(daysCompared > terms.size() - 10);
}

void TestLunar::dayAndMonthNames()
{
    const QList<std::pair<int, QString>> days = {
        {1, u"初一"_qs},
        {10, u"初十"_qs},
        {11, u"十一"_qs},
        {19, u"十九"_qs},
        {20, u"二十"_qs},
        {21, u"廿一"_qs},
        {29, u"廿九"_qs},
        {30, u"三十"_qs},
        {0, QString()},
        {31, QString()},
        {-1, QString()},
    };
    for (const auto &[day, name] : days)
        QCOMPARE(LunarDayName(day), name);

    QCOMPARE(LunarMonthName(1, false), u"一月"_qs);
    QCOMPARE(LunarMonthName(10, false), u"十月"_qs);
    QCOMPARE(LunarMonthName(11, false), u"十一月"_qs);
    QCOMPARE(LunarMonthName(12, false), u"十二月"_qs);
    QCOMPARE(LunarMonthName(4, true), u"闰四月"_qs);
    QCOMPARE(LunarMonthName(2, true), u"闰二月"_qs);
}

void TestLunar::holidays_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("solar");
    QTest::addColumn<QString>("lunar");

    QTest::newRow("new year 1950") << QDate(1950, 1, 1) << u"*元旦"_qs << QString();
    QTest::newRow("new year 2077") << QDate(2077, 1, 1) << u"*元旦"_qs << QString();
    QTest::newRow("valentine keeps its blank") << QDate(2024, 2, 14) << u" 情人节"_qs << QString();
    QTest::newRow("two names on 1 July")
        << QDate(2024, 7, 1) << u" 建党节 香港回归纪念"_qs << QString();
    QTest::newRow("national day") << QDate(2024, 10, 1) << u"*国庆节"_qs << QString();
    QTest::newRow("christmas") << QDate(2024, 12, 25) << u" Christmas Day"_qs << QString();
    QTest::newRow("spring festival") << QDate(2024, 2, 10) << QString() << u"*春节"_qs;
    QTest::newRow("lantern festival") << QDate(2024, 2, 24) << QString() << u" 元宵节"_qs;
    QTest::newRow("small new year") << QDate(2024, 2, 3) << QString() << u" 小年"_qs;
    QTest::newRow("mid-autumn") << QDate(2024, 9, 17) << QString() << u" 中秋节"_qs;
    QTest::newRow("eve, 30-day month") << QDate(2024, 2, 9) << QString() << u"*除夕"_qs;
    // The twelfth month of lunar 2024 has 29 days.
    QTest::newRow("eve, 29-day month") << QDate(2025, 1, 28) << QString() << u"*除夕"_qs;
    QTest::newRow("ordinary day") << QDate(2024, 3, 13) << QString() << QString();
    QTest::newRow("out of range") << QDate(1900, 1, 1) << u"*元旦"_qs << QString();
}

void TestLunar::holidays()
{
    QFETCH(QDate, date);
    QFETCH(QString, solar);
    QFETCH(QString, lunar);
    QCOMPARE(SolarHolidayName(date), solar);
    QCOMPARE(LunarHolidayName(SolarToLunar(date)), lunar);

    // Holidays of leap months use the regular month's row; nothing matches
    // the all-zero date.
    QCOMPARE(LunarHolidayName({2009, 5, 5, true}), u" 端午节"_qs);
    QCOMPARE(LunarHolidayName({}), QString());
    QCOMPARE(SolarHolidayName(QDate()), QString());
}

void TestLunar::newYearsEveIsTheDayBeforeEveryNewYear()
{
    int eves = 0;
    for (QDate d(1900, 1, 31); d <= QDate(2100, 12, 31); d = d.addDays(1)) {
        const bool isEve = LunarHolidayName(SolarToLunar(d)) == u"*除夕"_qs;
        const TLunarDate next = SolarToLunar(d.addDays(1));
        const bool beforeNewYear = next.Month == 1 && next.Day == 1 && !next.IsLeap;
        QVERIFY2(isEve == beforeNewYear, qPrintable(d.toString(Qt::ISODate)));
        eves += isEve;
    }
    QCOMPARE(eves, 200);
}

QTEST_GUILESS_MAIN(TestLunar)
#include "tst_lunar.moc"
