// The arithmetic drill window with a recording stand-in for the main
// window's speech.

#include "layoutcheck.h"
#include "mathfrm.h"
#include "randomsource.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

struct Harness {
    RandomSource random {77};
    QStringList spoken;
    TMathFrm window {random, [this](const QString &t) { spoken << t; }};

    Harness()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QString text(const char *label) { return window.findChild<QLabel *>(label)->text(); }
    QRadioButton *item(int i)
    {
        return window.findChild<QRadioButton *>(QStringLiteral("rg3Item%1").arg(i));
    }
    QRadioButton *operation(int i)
    {
        return window.findChild<QRadioButton *>(QStringLiteral("RadioButton%1").arg(i + 1));
    }
    void newQuestion() { window.findChild<QPushButton *>("btn2")->click(); }
    int itemHolding(int value)
    {
        for (int i = 0; i < 6; ++i) {
            if (item(i)->text().toInt() == value)
                return i;
        }
        return -1;
    }
};

} // namespace

class TestMathFrm : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void everyControlSitsInItsPlace();
    void sampleQuestionBeforeTheFirst();
    void questionIsSpokenAndShown();
    void picksAreJudged();
    void switchingTheOperationKeepsTheQuestion();
    void closingAndReopeningKeepsEverything();
    void applesFitTheirBoxes_data();
    void applesFitTheirBoxes();
    void applesStayWithTheQuestion();
};

void TestMathFrm::layout()
{
    Harness h;
    QCOMPARE(h.window.windowTitle(), QStringLiteral("幼儿算数"));
    QCOMPARE(h.window.size(), QSize(560, 362));
    QVERIFY(h.window.windowFlags() & Qt::WindowStaysOnTopHint);
    auto *spinner = h.window.findChild<QSpinBox *>("RzSpinner1");
    QCOMPARE(spinner->minimum(), 5);
    QCOMPARE(spinner->maximum(), 50);
    QCOMPARE(spinner->value(), 5);
    // The top bar's controls sit in its frame: these are their places in the window.
    const auto inWindow
        = [&h](QWidget *w) { return QRect(w->mapTo(&h.window, QPoint()), w->size()); };
    QCOMPARE(inWindow(spinner), QRect(74, 11, 68, 22));
    QCOMPARE(h.window.findChild<QWidget *>("pb1")->geometry(), QRect(2, 2, 448, 65));
    QCOMPARE(h.window.findChild<QWidget *>("pb2")->geometry(), QRect(2, 254, 449, 65));
    QCOMPARE(h.window.findChild<QLabel *>("lbl1")->geometry(), QRect(32, 96, 73, 67));
    QCOMPARE(h.window.findChild<QLabel *>("lbl1")->font().pixelSize(), 67);
    QCOMPARE(h.window.findChild<QGroupBox *>("rg3")->title(), QStringLiteral("得数"));
    QCOMPARE(h.window.findChild<QPushButton *>("btn2")->size(), QSize(95, 41));
    QCOMPARE(inWindow(h.window.findChild<QPushButton *>("btn6")), QRect(495, 9, 58, 27));
    QVERIFY(h.operation(0)->isChecked());
    const QStringList ops = {"加(+)", "减(-)", "乘(×)", "除(÷)"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(h.operation(i)->text(), ops[i]);
}

void TestMathFrm::everyControlSitsInItsPlace()
{
    Harness h;
    LayoutCheck::check(&h.window, TMathFrm::layout());
}

void TestMathFrm::sampleQuestionBeforeTheFirst()
{
    Harness h;
    QCOMPARE(h.text("lbl1"), QStringLiteral("5"));
    QCOMPARE(h.text("lbl2"), QStringLiteral("+"));
    QCOMPARE(h.text("lbl3"), QStringLiteral("6"));
    QCOMPARE(h.text("lbl4"), QStringLiteral("="));
    QCOMPARE(h.text("lbl5"), QStringLiteral("11"));
    QCOMPARE(h.window.mathAnswer(), 0);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(h.item(i)->text(), QString::number(i + 1));
        QVERIFY(!h.item(i)->isChecked());
    }
    // Before any question every pick is judged against 0.
    h.item(5)->click();
    QCOMPARE(h.text("lbl5"), QStringLiteral("6"));
    QCOMPARE(h.spoken, QStringList {"答错了"});
}

void TestMathFrm::questionIsSpokenAndShown()
{
    Harness h;
    h.window.findChild<QSpinBox *>("RzSpinner1")->setValue(20);
    h.operation(2)->click(); // multiplication
    h.newQuestion();
    const int a = h.text("lbl1").toInt();
    const int b = h.text("lbl3").toInt();
    QVERIFY(a >= 1 && a <= 20 && b >= 1 && b <= 20);
    QCOMPARE(h.window.mathAnswer(), a * b);
    QCOMPARE(h.text("lbl2"), QStringLiteral("×"));
    QCOMPARE(h.text("lbl5"), QStringLiteral("?"));
    QCOMPARE(h.spoken, QStringList {QStringLiteral("出题 %1乘%2").arg(a).arg(b)});
    QVERIFY(h.itemHolding(a * b) >= 0);
    for (int i = 0; i < 6; ++i)
        QVERIFY(!h.item(i)->isChecked());
}

void TestMathFrm::picksAreJudged()
{
    Harness h;
    h.newQuestion();
    h.spoken.clear();
    const int right = h.itemHolding(h.window.mathAnswer());
    const int wrong = (right + 1) % 6;
    h.item(wrong)->click();
    QCOMPARE(h.text("lbl5"), h.item(wrong)->text());
    h.item(wrong)->click(); // already picked: nothing
    h.item(right)->click();
    QCOMPARE(h.text("lbl5"), QString::number(h.window.mathAnswer()));
    QCOMPARE(h.spoken, (QStringList {"答错了", "答对了"}));
    // By keyboard too: the arrow keys move the pick within the group.
    h.newQuestion();
    h.spoken.clear();
    h.item(0)->setFocus();
    QTest::keyClick(h.item(0), Qt::Key_Space);
    QCOMPARE(h.spoken.size(), 1);
    QCOMPARE(h.text("lbl5"), h.item(0)->text());
}

void TestMathFrm::switchingTheOperationKeepsTheQuestion()
{
    Harness h;
    h.newQuestion(); // addition
    const QString a = h.text("lbl1"), b = h.text("lbl3");
    const int sum = a.toInt() + b.toInt();
    QStringList items;
    for (int i = 0; i < 6; ++i)
        items << h.item(i)->text();
    h.operation(1)->click();
    QCOMPARE(h.text("lbl2"), QStringLiteral("-"));
    QCOMPARE(h.text("lbl1"), a);
    QCOMPARE(h.text("lbl3"), b);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(h.item(i)->text(), items[i]);
    h.spoken.clear();
    h.item(h.itemHolding(sum))->click(); // still judged against the sum
    QCOMPARE(h.spoken, QStringList {"答对了"});
    // The next question speaks the new word.
    h.newQuestion();
    QVERIFY(h.spoken.last().contains(u'减'));
    QVERIFY(h.text("lbl1").toInt() >= h.text("lbl3").toInt());
}

void TestMathFrm::closingAndReopeningKeepsEverything()
{
    Harness h;
    h.window.findChild<QSpinBox *>("RzSpinner1")->setValue(30);
    h.operation(3)->click();
    h.newQuestion();
    h.item(2)->click();
    const QStringList labels = {h.text("lbl1"), h.text("lbl2"), h.text("lbl3"), h.text("lbl5")};
    h.window.findChild<QPushButton *>("btn6")->click();
    QVERIFY(!h.window.isVisible());
    h.window.show();
    QCOMPARE(
        (QStringList {h.text("lbl1"), h.text("lbl2"), h.text("lbl3"), h.text("lbl5")}), labels);
    QCOMPARE(h.window.findChild<QSpinBox *>("RzSpinner1")->value(), 30);
    QVERIFY(h.operation(3)->isChecked());
    QVERIFY(h.item(2)->isChecked());
}

void TestMathFrm::applesFitTheirBoxes_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("ten") << 10;
    QTest::newRow("eleven") << 11;
    QTest::newRow("twenty") << 20;
    QTest::newRow("twenty_one") << 21;
    QTest::newRow("fifty") << 50;
}

void TestMathFrm::applesFitTheirBoxes()
{
    QFETCH(int, count);
    const QSize box(448, 65);
    const QList<QRectF> places = TMathFrm::applePlaces(count, box);
    QCOMPARE(places.size(), count);
    for (const QRectF &p : places)
        QVERIFY2(QRectF(QPointF(0, 0), box).contains(p),
            qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j)
            QVERIFY(!places[i].intersects(places[j])); // every apple can be counted
    }
    if (count <= 20) {
        // The drill's own layout: rows of ten at a 34-pixel pitch, full size.
        for (int i = 1; i <= count; ++i) {
            const QPointF expected = i <= 10 ? QPointF(34 * i, 0) : QPointF(34 * (i - 10), 34);
            QCOMPARE(places[i - 1].topLeft(), expected);
            QCOMPARE(places[i - 1].size(), QSizeF(26, 31));
        }
    }
    if (count == 11)
        QCOMPARE(places[10].topLeft(), QPointF(34, 34));
}

void TestMathFrm::applesStayWithTheQuestion()
{
    Harness h;
    h.newQuestion();
    const int a = h.text("lbl1").toInt();
    QWidget *box = h.window.findChild<QWidget *>("pb1");
    const auto applesIn = [&](const QImage &img) {
        // The middle of each apple place is the apple's red.
        int red = 0;
        for (const QRectF &p : TMathFrm::applePlaces(a, box->size())) {
            const QColor c = img.pixel(p.center().toPoint());
            if (c.red() > 150 && c.green() < 100)
                ++red;
        }
        return red;
    };
    QCOMPARE(applesIn(box->grab().toImage()), a);
    // Hidden and shown again, the apples are still there.
    h.window.hide();
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    QCOMPARE(applesIn(box->grab().toImage()), a);
}

QTEST_MAIN(TestMathFrm)
#include "tst_mathfrm.moc"
