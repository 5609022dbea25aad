// The lunar month grid: layout, what each cell shows and in which colours
// (checked in the painted pixels too), the write rules, stepping, clicks,
// keys and the size rule.

#include "lunarcalendar.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QDateTime FixedNow(QDate(2024, 5, 12), QTime(9, 30));

TLunarCalendar::Clock fixedClock()
{
    return [] { return FixedNow; };
}

// The cell that shows a day of the shown month.
QPoint cellOfDay(const TLunarCalendar &c, int day)
{
    const int n = day - c.MonthOffset();
    return {n % 7, n / 7 + 1};
}

// Pixels of a colour family in part of an image: pure-ish red or blue
// strokes, allowing for anti-aliasing at the edges.
int countColour(const QImage &image, const QRect &area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool red = c.red() > 190 && c.green() < 90 && c.blue() < 90;
            const bool blue = c.blue() > 190 && c.red() < 90 && c.green() < 90;
            count += (colour == TLunarCalendar::Red && red)
                || (colour == TLunarCalendar::Blue && blue);
        }
    }
    return count;
}

} // namespace

class TestLunarCalendar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void construction();
    void layout_data();
    void layout();
    void headerUsesLocaleWeekdays();
    void cellContents_data();
    void cellContents();
    void termsAgreeWithTheComputation();
    void ignoredWrites_data();
    void ignoredWrites();
    void effectiveWritesNotifyOnce();
    void impossibleDateIsRefusedAndKeepsDate();
    void selectedDateAlwaysNotifies();
    void stepping_data();
    void stepping();
    void yearStepsFromLeapDay();
    void useCurrentDateJumpsToToday();
    void clicks();
    void readOnlyKeepsCurrentCell();
    void keyboard();
    void sizeRule();

private:
    std::unique_ptr<TLunarCalendar> m_cal;
};

void TestLunarCalendar::init()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_cal = std::make_unique<TLunarCalendar>(nullptr, fixedClock());
    m_cal->setFont([] {
        QFont f(QStringLiteral("宋体"));
        f.setPixelSize(16);
        return f;
    }());
    m_cal->resize(530, 305);
}

void TestLunarCalendar::construction()
{
    QCOMPARE(m_cal->SelectedDate(), FixedNow.date());
    QVERIFY(m_cal->UseCurrentDate());
    QCOMPARE(m_cal->StartOfWeek(), 0);
    QVERIFY(!m_cal->ReadOnly());
    QVERIFY(!m_cal->Updating());
    QCOMPARE(m_cal->CurrentCell(), cellOfDay(*m_cal, 12));
    QVERIFY(!m_cal->accessibleName().isEmpty());
    QVERIFY(m_cal->accessibleDescription().contains(QStringLiteral("2024年5月12日")));
}

void TestLunarCalendar::layout_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("startOfWeek");
    QTest::addColumn<int>("monthOffset");
    QTest::addColumn<QPoint>("dayOneCell");
    QTest::addColumn<int>("lastDay");
    QTest::addColumn<QPoint>("lastDayCell");

    QTest::newRow("Sep 2024, Sunday first")
        << QDate(2024, 9, 1) << 0 << 1 << QPoint(0, 1) << 30 << QPoint(1, 5);
    QTest::newRow("Jun 2024, Sunday first")
        << QDate(2024, 6, 1) << 0 << -5 << QPoint(6, 1) << 30 << QPoint(0, 6);
    QTest::newRow("Sep 2024, Monday first")
        << QDate(2024, 9, 1) << 1 << -5 << QPoint(6, 1) << 30 << QPoint(0, 6);
    QTest::newRow("Jun 2024, Monday first")
        << QDate(2024, 6, 1) << 1 << -4 << QPoint(5, 1) << 30 << QPoint(6, 5);
    QTest::newRow("Feb 2015, 28 days in 4 rows")
        << QDate(2015, 2, 1) << 0 << 1 << QPoint(0, 1) << 28 << QPoint(6, 4);
}

void TestLunarCalendar::layout()
{
    QFETCH(QDate, date);
    QFETCH(int, startOfWeek);
    QFETCH(int, monthOffset);
    QFETCH(QPoint, dayOneCell);
    QFETCH(int, lastDay);
    QFETCH(QPoint, lastDayCell);

    m_cal->setStartOfWeek(startOfWeek);
    m_cal->setSelectedDate(date);
    QCOMPARE(m_cal->MonthOffset(), monthOffset);
    QCOMPARE(m_cal->CellText(dayOneCell.x(), dayOneCell.y()), QStringLiteral("1"));
    QCOMPARE(m_cal->CurrentCell(), dayOneCell);
    QCOMPARE(m_cal->CellText(lastDayCell.x(), lastDayCell.y()), QString::number(lastDay));
    QCOMPARE(m_cal->ShownMonthLength(), lastDay);

    // Every day appears exactly once; all other cells of rows 1–6 are empty.
    QStringList seen;
    for (int row = 1; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            if (const QString t = m_cal->CellText(col, row); !t.isEmpty())
                seen << t;
    QCOMPARE(seen.size(), lastDay);
    QCOMPARE(seen.first(), QStringLiteral("1"));
    QCOMPARE(seen.last(), QString::number(lastDay));
}

void TestLunarCalendar::headerUsesLocaleWeekdays()
{
    const QLocale zh(QLocale::Chinese, QLocale::China);
    QCOMPARE(m_cal->CellText(0, 0), zh.dayName(7, QLocale::ShortFormat));
    QCOMPARE(m_cal->CellText(6, 0), zh.dayName(6, QLocale::ShortFormat));
    m_cal->setStartOfWeek(1);
    QCOMPARE(m_cal->CellText(0, 0), zh.dayName(1, QLocale::ShortFormat));
    QCOMPARE(m_cal->CellText(6, 0), zh.dayName(7, QLocale::ShortFormat));
    // Cells outside the grid have no text.
    QCOMPARE(m_cal->CellText(7, 1), QString());
    QCOMPARE(m_cal->CellText(0, 7), QString());
}

void TestLunarCalendar::cellContents_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<uint>("colour1");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<uint>("colour2");

    const uint red = TLunarCalendar::Red;
    const uint blue = TLunarCalendar::Blue;
    QTest::newRow("spring festival")
        << QDate(2024, 2, 10) << u"10*春节"_qs << red << u"一月"_qs << blue;
    QTest::newRow("solar term") << QDate(2024, 2, 4) << u"4"_qs << red << u"立春"_qs << red;
    QTest::newRow("small new year")
        << QDate(2024, 2, 3) << u"3 小年"_qs << red << u"廿四"_qs << blue;
    QTest::newRow("national day") << QDate(2024, 10, 1) << u"1*国庆节"_qs << red << u"廿九"_qs
                                  << blue;
    QTest::newRow("mid-autumn") << QDate(2024, 9, 17) << u"17 中秋节"_qs << red << u"十五"_qs
                                << blue;
    QTest::newRow("leap month begins")
        << QDate(2023, 3, 22) << u"22"_qs << blue << u"闰二月"_qs << blue;
    QTest::newRow("ordinary day") << QDate(2024, 3, 13) << u"13"_qs << blue << u"初四"_qs << blue;
    QTest::newRow("out of lunar range")
        << QDate(1900, 1, 15) << u"15"_qs << blue << QString() << blue;
}

void TestLunarCalendar::cellContents()
{
    QFETCH(QDate, date);
    QFETCH(QString, line1);
    QFETCH(uint, colour1);
    QFETCH(QString, line2);
    QFETCH(uint, colour2);

    // Select another day of the month so that the checked cell is painted
    // on the ordinary background.
    m_cal->setSelectedDate(QDate(date.year(), date.month(), date.day() == 28 ? 27 : 28));
    const QPoint cell = cellOfDay(*m_cal, date.day());
    const TLunarCalendar::CellContent content = m_cal->cellContent(cell.x(), cell.y());
    QCOMPARE(content.line1, line1);
    QCOMPARE(content.colour1, QRgb(colour1));
    QCOMPARE(content.line2, line2);
    QCOMPARE(content.colour2, QRgb(colour2));

    // What is painted: the first line's colour in the cell's upper part,
    // the second line's in its lower part.
    const QImage image = m_cal->grab().toImage();
    const QRect r = m_cal->cellRect(cell.x(), cell.y());
    const QRect upper(r.left(), r.top(), r.width(), 22);
    const QRect lower(r.left(), r.top() + 24, r.width(), r.height() - 24);
    QVERIFY(countColour(image, upper, colour1) > 5);
    QCOMPARE(countColour(image, upper,
                 colour1 == TLunarCalendar::Red ? TLunarCalendar::Blue : TLunarCalendar::Red),
        0);
    if (!line2.isEmpty())
        QVERIFY(countColour(image, lower, colour2) > 5);
    else
        QCOMPARE(countColour(image, lower, TLunarCalendar::Blue)
                + countColour(image, lower, TLunarCalendar::Red),
            0);
}

// Every day of two years, as the grid shows it, against the computation.
void TestLunarCalendar::termsAgreeWithTheComputation()
{
    int terms = 0;
    for (QDate d(2023, 1, 1); d <= QDate(2024, 12, 31); d = d.addDays(1)) {
        m_cal->setSelectedDate(d);
        const QPoint cell = m_cal->CurrentCell();
        const QString term = Lunar::SolarTermName(d);
        const TLunarCalendar::CellContent content = m_cal->cellContent(cell.x(), cell.y());
        if (!term.isEmpty()) {
            QCOMPARE(content.line2, term);
            QCOMPARE(content.colour2, TLunarCalendar::Red);
            ++terms;
        } else {
            QCOMPARE(content.colour2, TLunarCalendar::Blue);
        }
    }
    QCOMPARE(terms, 48);
}

void TestLunarCalendar::ignoredWrites_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("value");

    QTest::newRow("day 31 in a 30-day month") << "Day" << 31;
    QTest::newRow("day 0") << "Day" << 0;
    QTest::newRow("negative day") << "Day" << -3;
    QTest::newRow("same day") << "Day" << 17;
    QTest::newRow("month 13") << "Month" << 13;
    QTest::newRow("month 0") << "Month" << 0;
    QTest::newRow("same month") << "Month" << 9;
    QTest::newRow("year 0") << "Year" << 0;
    QTest::newRow("same year") << "Year" << 2024;
}

void TestLunarCalendar::ignoredWrites()
{
    QFETCH(QString, property);
    QFETCH(int, value);

    m_cal->setSelectedDate(QDate(2024, 9, 17));
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);
    QVERIFY(m_cal->setProperty(property.toLatin1(), value));
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 9, 17));
    QCOMPARE(changes.size(), 0);
    QVERIFY(m_cal->UseCurrentDate());
}

void TestLunarCalendar::effectiveWritesNotifyOnce()
{
    m_cal->setSelectedDate(QDate(2024, 9, 17));
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);

    m_cal->setDay(30);
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 9, 30));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.at(0).at(0).value<TLunarCalendar *>(), m_cal.get());
    QVERIFY(!m_cal->UseCurrentDate());
    QCOMPARE(m_cal->CurrentCell(), cellOfDay(*m_cal, 30));

    m_cal->setMonth(12);
    m_cal->setYear(1999);
    QCOMPARE(m_cal->SelectedDate(), QDate(1999, 12, 30));
    QCOMPARE(changes.size(), 3);
}

void TestLunarCalendar::impossibleDateIsRefusedAndKeepsDate()
{
    m_cal->setSelectedDate(QDate(2024, 3, 31));
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);
    QVERIFY(!m_cal->setMonth(2));
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 3, 31));

    m_cal->setSelectedDate(QDate(2024, 2, 29));
    changes.clear();
    QVERIFY(!m_cal->setYear(2023));
    // Through the property as well: refused, nothing thrown.
    QVERIFY(m_cal->setProperty("Year", 2023));
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 2, 29));
    QCOMPARE(changes.size(), 0);
    QVERIFY(m_cal->UseCurrentDate());
}

void TestLunarCalendar::selectedDateAlwaysNotifies()
{
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);
    m_cal->setSelectedDate(m_cal->SelectedDate());
    m_cal->setSelectedDate(QDateTime(QDate(2024, 9, 17), QTime(23, 59)));
    QCOMPARE(changes.size(), 2);
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 9, 17));
    QVERIFY(m_cal->UseCurrentDate());
}

void TestLunarCalendar::stepping_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QDate>("to");

    QTest::newRow("31 Jan 2024 → Feb") << QDate(2024, 1, 31) << true << QDate(2024, 2, 29);
    QTest::newRow("31 Jan 2023 → Feb") << QDate(2023, 1, 31) << true << QDate(2023, 2, 28);
    QTest::newRow("31 Mar 2024 ← Feb") << QDate(2024, 3, 31) << false << QDate(2024, 2, 29);
    QTest::newRow("Dec → Jan") << QDate(2023, 12, 15) << true << QDate(2024, 1, 15);
    QTest::newRow("Jan ← Dec") << QDate(2024, 1, 15) << false << QDate(2023, 12, 15);
}

void TestLunarCalendar::stepping()
{
    QFETCH(QDate, from);
    QFETCH(bool, forward);
    QFETCH(QDate, to);

    m_cal->setSelectedDate(from);
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);
    forward ? m_cal->NextMonth() : m_cal->PrevMonth();
    QCOMPARE(m_cal->SelectedDate(), to);
    QCOMPARE(changes.size(), 1);
    QVERIFY(m_cal->UseCurrentDate());
}

void TestLunarCalendar::yearStepsFromLeapDay()
{
    m_cal->setSelectedDate(QDate(2024, 2, 29));
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);
    m_cal->NextYear();
    QCOMPARE(m_cal->SelectedDate(), QDate(2025, 2, 28));
    QCOMPARE(changes.size(), 2);

    m_cal->setSelectedDate(QDate(2024, 2, 29));
    m_cal->PrevYear();
    QCOMPARE(m_cal->SelectedDate(), QDate(2023, 2, 28));

    m_cal->setSelectedDate(QDate(2024, 7, 31));
    m_cal->NextYear();
    QCOMPARE(m_cal->SelectedDate(), QDate(2025, 7, 31));
}

void TestLunarCalendar::useCurrentDateJumpsToToday()
{
    m_cal->setDay(20);
    QVERIFY(!m_cal->UseCurrentDate());
    m_cal->NextMonth();
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);
    m_cal->setUseCurrentDate(true);
    QCOMPARE(m_cal->SelectedDate(), FixedNow.date());
    QCOMPARE(m_cal->CurrentCell(), cellOfDay(*m_cal, 12));
    QCOMPARE(changes.size(), 0);
}

void TestLunarCalendar::clicks()
{
    m_cal->setSelectedDate(QDate(2024, 6, 15)); // June 2024 starts on a Saturday
    QSignalSpy clicks(m_cal.get(), &TLunarCalendar::clicked);
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);

    // An empty cell before the 1st, and the header row.
    QTest::mouseClick(m_cal.get(), Qt::LeftButton, {}, m_cal->cellRect(0, 1).center());
    QTest::mouseClick(m_cal.get(), Qt::LeftButton, {}, m_cal->cellRect(3, 0).center());
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 15));
    QCOMPARE(m_cal->CurrentCell(), cellOfDay(*m_cal, 15));
    QCOMPARE(changes.size(), 0);

    // A day: the click event first, then the date.
    QList<QString> order;
    connect(m_cal.get(), &TLunarCalendar::clicked, this, [&] { order << QStringLiteral("click"); });
    connect(
        m_cal.get(), &TLunarCalendar::OnChange, this, [&] { order << QStringLiteral("change"); });
    QTest::mouseClick(m_cal.get(), Qt::LeftButton, {}, m_cal->cellRect(0, 6).center());
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 30));
    QCOMPARE(m_cal->CurrentCell(), QPoint(0, 6));
    QCOMPARE(order, (QList<QString> {QStringLiteral("click"), QStringLiteral("change")}));
    QVERIFY(!m_cal->UseCurrentDate());
}

void TestLunarCalendar::readOnlyKeepsCurrentCell()
{
    m_cal->setSelectedDate(QDate(2024, 6, 15));
    m_cal->setReadOnly(true);
    QSignalSpy changes(m_cal.get(), &TLunarCalendar::OnChange);
    QTest::mouseClick(m_cal.get(), Qt::LeftButton, {}, m_cal->cellRect(2, 3).center());
    QTest::keyClick(m_cal.get(), Qt::Key_Right);
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 15));
    QCOMPARE(changes.size(), 0);

    // The program still moves it.
    m_cal->setDay(3);
    QCOMPARE(m_cal->CurrentCell(), cellOfDay(*m_cal, 3));
}

void TestLunarCalendar::keyboard()
{
    m_cal->setSelectedDate(QDate(2024, 6, 1)); // column 6 of row 1
    QTest::keyClick(m_cal.get(), Qt::Key_Right); // off the grid: stays
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 1));
    QTest::keyClick(m_cal.get(), Qt::Key_Left); // an empty cell: stays
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 1));
    QTest::keyClick(m_cal.get(), Qt::Key_Up); // the header: stays
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 1));
    QTest::keyClick(m_cal.get(), Qt::Key_Down);
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 8));
    QTest::keyClick(m_cal.get(), Qt::Key_Left);
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 7));
    QTest::keyClick(m_cal.get(), Qt::Key_End);
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 30));
    QTest::keyClick(m_cal.get(), Qt::Key_Home);
    QCOMPARE(m_cal->SelectedDate(), QDate(2024, 6, 1));
}

void TestLunarCalendar::sizeRule()
{
    // A 2-pixel border leaves a client area of 526 × 301.
    m_cal->resize(530, 305);
    QCOMPARE(m_cal->GridLineWidth(), 1);
    QCOMPARE(m_cal->DefaultColWidth(), 74);
    QCOMPARE(m_cal->DefaultRowHeight(), 42);
    m_cal->setGridLineWidth(3);
    QCOMPARE(m_cal->DefaultColWidth(), (526 - 18) / 7);
    QCOMPARE(m_cal->DefaultRowHeight(), (301 - 18) / 7);
}

QTEST_MAIN(TestLunarCalendar)
#include "tst_lunarcalendar.moc"
