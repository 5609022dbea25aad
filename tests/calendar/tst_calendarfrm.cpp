// The calendar window: the fields and their recovery rules, the step
// buttons and their limits, today's date spoken on every showing.

#include "calendarfrm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

namespace {

struct Harness {
    QDateTime now {QDate(2024, 5, 12), QTime(8, 15)};
    QStringList spoken;
    TCalendarFrm window {
        [this](const QString &t) { spoken << t; }, nullptr, [this] { return now; }};

    TLunarCalendar *calendar() { return window.calendar(); }
    QToolButton *button(const char *name) { return window.findChild<QToolButton *>(name); }
    QPushButton *push(const char *name) { return window.findChild<QPushButton *>(name); }
    QLineEdit *edit(QSpinBox *field) { return field->findChild<QLineEdit *>(); }

    // Replaces a field's text as the user would: select all, type.
    void type(QSpinBox *field, const QString &text)
    {
        field->setFocus();
        edit(field)->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit(field), Qt::Key_Backspace);
        else
            QTest::keyClicks(edit(field), text);
    }
};

} // namespace

class TestCalendarFrm : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China)); }
    void layoutAndAccess();
    void showingJumpsToTodayAndSpeaksIt();
    void monthFieldRecovery_data();
    void monthFieldRecovery();
    void clearedMonthFieldMeansJanuary();
    void yearFieldRange_data();
    void yearFieldRange();
    void leapDayIntoCommonYear();
    void stepButtonsCrossYearEnds();
    void stepButtonsStopAtTheCoveredYears();
    void returnToTodayAndClose();
};

void TestCalendarFrm::layoutAndAccess()
{
    Harness h;
    QCOMPARE(h.window.windowTitle(), QStringLiteral(" 实用月历 "));
    QCOMPARE(h.window.size(), QSize(538, 358));
    QCOMPARE(h.calendar()->geometry(), QRect(2, 47, 530, 305));
    QCOMPARE(h.calendar()->DefaultColWidth(), 74);
    QCOMPARE(h.calendar()->DefaultRowHeight(), 42);
    QCOMPARE(h.window.yearField()->maximum(), 2099);
    QCOMPARE(h.window.monthField()->maximum(), 12);
    QCOMPARE(h.edit(h.window.yearField())->maxLength(), 4);
    QCOMPARE(h.edit(h.window.monthField())->maxLength(), 2);

    // Every control is reachable from the keyboard and has a name a screen
    // reader can say; the grid comes first in the tab order.
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    QWidget *first = h.calendar();
    QCOMPARE(first->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    QList<QWidget *> chain {first};
    for (QWidget *w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(&h.window)
            && !qobject_cast<QLineEdit *>(w))
            chain << w;
    QCOMPARE(chain.value(1), h.window.yearField());
    QCOMPARE(chain.value(2), h.window.monthField());
    for (const char *name : {"btnPrevYear", "btnPrevMonth", "SpeedButton3", "btnNextYear"}) {
        QVERIFY2(chain.contains(h.button(name)), name);
        QVERIFY2(!h.button(name)->accessibleName().isEmpty(), name);
        QVERIFY2(!h.button(name)->shortcut().isEmpty(), name);
    }
    for (const char *name : {"BitBtn18", "BitBtn1"})
        QVERIFY2(chain.contains(h.push(name)), name);
}

void TestCalendarFrm::showingJumpsToTodayAndSpeaksIt()
{
    Harness h;
    h.window.show();
    QCOMPARE(h.spoken, QStringList {QStringLiteral("今天是2024年5月12日")});
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2024, 5, 12));

    // Wander off, close with the close box, come back another day.
    h.window.SpeedButton3Click();
    h.window.hide();
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2024, 6, 12));
    h.now = QDateTime(QDate(2025, 1, 3), QTime(23, 59));
    h.window.show();
    QCOMPARE(h.spoken.last(), QStringLiteral("今天是2025年1月3日"));
    QCOMPARE(h.window.yearField()->text(), QStringLiteral("2025"));
    QCOMPARE(h.window.monthField()->text(), QStringLiteral("1"));
}

void TestCalendarFrm::monthFieldRecovery_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("to");

    QTest::newRow("31 Mar → Feb, leap year") << QDate(2024, 3, 31) << "2" << QDate(2024, 2, 29);
    QTest::newRow("31 Mar → Feb, common year") << QDate(2023, 3, 31) << "2" << QDate(2023, 2, 28);
    QTest::newRow("31 Jan → Apr") << QDate(2024, 1, 31) << "4" << QDate(2024, 4, 30);
    QTest::newRow("15 Jan → Nov, two digits") << QDate(2024, 1, 15) << "11" << QDate(2024, 11, 15);
}

void TestCalendarFrm::monthFieldRecovery()
{
    QFETCH(QDate, from);
    QFETCH(QString, typed);
    QFETCH(QDate, to);

    Harness h;
    h.window.show();
    h.calendar()->setSelectedDate(from);
    h.type(h.window.monthField(), typed);
    QCOMPARE(h.calendar()->SelectedDate(), to);
    QCOMPARE(h.window.monthField()->text(), typed);
}

void TestCalendarFrm::clearedMonthFieldMeansJanuary()
{
    Harness h;
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    h.type(h.window.monthField(), QString());
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2024, 1, 12));
    // Leaving the field shows the month it stands for.
    h.window.yearField()->setFocus();
    QTRY_COMPARE(h.window.monthField()->text(), QStringLiteral("1"));
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2024, 1, 12));
}

void TestCalendarFrm::yearFieldRange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("year");

    QTest::newRow("1900 is outside") << "1900" << 2024;
    QTest::newRow("partial numbers") << "19" << 2024;
    QTest::newRow("2100 cannot be typed") << "2100" << 2024;
    QTest::newRow("1901") << "1901" << 1901;
    QTest::newRow("2099") << "2099" << 2099;
    QTest::newRow("1999") << "1999" << 1999;
}

void TestCalendarFrm::yearFieldRange()
{
    QFETCH(QString, typed);
    QFETCH(int, year);

    Harness h;
    h.window.show();
    h.type(h.window.yearField(), typed);
    QCOMPARE(h.calendar()->Year(), year);
    QCOMPARE(h.calendar()->Month(), 5);
    QCOMPARE(h.calendar()->Day(), 12);
}

void TestCalendarFrm::leapDayIntoCommonYear()
{
    Harness h;
    h.window.show();
    h.calendar()->setSelectedDate(QDate(2024, 2, 29));
    h.type(h.window.yearField(), QStringLiteral("2023"));
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2023, 2, 28));
    QCOMPARE(h.window.yearField()->text(), QStringLiteral("2023"));
}

void TestCalendarFrm::stepButtonsCrossYearEnds()
{
    Harness h;
    h.window.show();
    h.calendar()->setSelectedDate(QDate(2024, 1, 31));
    h.button("btnPrevMonth")->click();
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2023, 12, 31));
    QCOMPARE(h.window.yearField()->text(), QStringLiteral("2023"));
    QCOMPARE(h.window.monthField()->text(), QStringLiteral("12"));

    h.button("SpeedButton3")->click();
    h.button("SpeedButton3")->click();
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2024, 2, 29));
    QCOMPARE(h.window.monthField()->text(), QStringLiteral("2"));

    h.button("btnNextYear")->click();
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2025, 2, 28));
    QCOMPARE(h.window.yearField()->text(), QStringLiteral("2025"));
    h.button("btnPrevYear")->click();
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2024, 2, 28));

    // The same from the keyboard.
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    h.calendar()->setFocus();
    // Buttons answer their shortcuts with an animated click.
    QTest::keyClick(&h.window, Qt::Key_PageDown);
    QTRY_COMPARE(h.calendar()->SelectedDate(), QDate(2024, 3, 28));
    QTest::keyClick(&h.window, Qt::Key_PageUp, Qt::ControlModifier);
    QTRY_COMPARE(h.calendar()->SelectedDate(), QDate(2023, 3, 28));
    QCOMPARE(h.window.yearField()->text(), QStringLiteral("2023"));
}

void TestCalendarFrm::stepButtonsStopAtTheCoveredYears()
{
    Harness h;
    h.window.show();
    h.type(h.window.yearField(), QStringLiteral("2099"));
    h.type(h.window.monthField(), QStringLiteral("12"));
    QVERIFY(!h.button("btnNextYear")->isEnabled());
    QVERIFY(!h.button("SpeedButton3")->isEnabled());
    h.window.btnNextYearClick();
    h.window.SpeedButton3Click();
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2099, 12, 12));
    QCOMPARE(h.window.yearField()->text(), QStringLiteral("2099"));
    h.button("btnPrevMonth")->click();
    QVERIFY(h.button("SpeedButton3")->isEnabled());

    h.type(h.window.yearField(), QStringLiteral("1901"));
    h.button("btnPrevYear")->click();
    QCOMPARE(h.calendar()->Year(), 1900);
    QVERIFY(!h.button("btnPrevYear")->isEnabled());
    h.window.btnPrevYearClick();
    QCOMPARE(h.calendar()->Year(), 1900);
    h.type(h.window.monthField(), QStringLiteral("1"));
    QVERIFY(!h.button("btnPrevMonth")->isEnabled());
    h.window.btnPrevMonthClick();
    QCOMPARE(h.calendar()->SelectedDate(), QDate(1900, 1, 12));
}

void TestCalendarFrm::returnToTodayAndClose()
{
    Harness h;
    h.window.show();
    h.calendar()->setSelectedDate(QDate(2030, 8, 8));
    h.push("BitBtn18")->click();
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2024, 5, 12));
    QCOMPARE(h.window.yearField()->text(), QStringLiteral("2024"));

    h.calendar()->setSelectedDate(QDate(2030, 8, 8));
    h.push("BitBtn1")->click();
    QCOMPARE(h.window.result(), int(QDialog::Accepted));
    QVERIFY(!h.window.isVisible());
    QCOMPARE(h.calendar()->SelectedDate(), QDate(2024, 5, 12));
}

QTEST_MAIN(TestCalendarFrm)
#include "tst_calendarfrm.moc"
