#include "aboutform.h"
#include "recordingdesktop.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QVariantAnimation>

class TestAboutForm : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndPlace();
    void firstShowingLastsTwoSecondsLaterOnesEighteen();
    void closesByItselfAndByClicks();
    void growsFromItsCentre();
    void linksHoverAndOpen();
    void linksOpenOncePerClickAndNeverByAccident();
};

void TestAboutForm::layoutAndPlace()
{
    RecordingDesktop desktop;
    TaboutForm about(desktop);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Parlix"));
    QCOMPARE(about.size(), QSize(399, 200));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(about.x(), screen.x() + (screen.width() - 399) / 2);
    QCOMPARE(about.y(), screen.y() + (screen.height() - 200) / 2 - 100);
    const struct {
        const char *name;
        QPoint pos;
        QString text;
    } labels[] = {
        {"Label2", {69, 18}, QStringLiteral("Parlix V1.08")},
        {"Label5", {14, 111}, QStringLiteral("Email: support@parlix.example")},
        {"Label6", {14, 136}, QStringLiteral("Http: //www.parlix.example  ")},
        {"Label3", {15, 168}, QStringLiteral("感谢所有用户对本软件的建议以及支持！")},
    };
    for (const auto &l : labels) {
        auto *label = about.findChild<QLabel *>(QLatin1String(l.name));
        QVERIFY2(label, l.name);
        QCOMPARE(label->pos(), l.pos);
        QCOMPARE(label->text(), l.text);
        QVERIFY(label->geometry().right() < 399); // nothing cut at the edge
    }
    QCOMPARE(about.findChild<QWidget *>("RzBackground1")->geometry(), QRect(5, 4, 388, 191));
    QCOMPARE(about.findChild<QWidget *>("Image1")->geometry(), QRect(13, 15, 32, 32));
}

void TestAboutForm::firstShowingLastsTwoSecondsLaterOnesEighteen()
{
    RecordingDesktop desktop;
    TaboutForm about(desktop);
    QVERIFY(!about.closeTimer().isActive());
    // The figures themselves, not the class's constants, which could be wrong.
    about.show();
    QVERIFY(about.closeTimer().isActive());
    QCOMPARE(about.closeTimer().interval(), 2000);
    about.close();
    about.show();
    QCOMPARE(about.closeTimer().interval(), 18000);
    about.close();
    about.show();
    QCOMPARE(about.closeTimer().interval(), 18000);
    about.close();
}

void TestAboutForm::closesByItselfAndByClicks()
{
    RecordingDesktop desktop;
    TaboutForm about(desktop);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTRY_VERIFY_WITH_TIMEOUT(!about.isVisible(), 3000); // the first showing, 2 s
    QVERIFY(!about.closeTimer().isActive());

    // A click on a label does not close it; one on the background does.
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.findChild<QWidget *>("Label2"), Qt::LeftButton);
    QVERIFY(about.isVisible());
    QTest::mouseClick(
        about.findChild<QWidget *>("RzBackground1"), Qt::LeftButton, {}, QPoint(300, 20));
    QVERIFY(!about.isVisible());
    QVERIFY(!about.closeTimer().isActive());

    // A double click on the picture closes it and leaves the timer running;
    // its tick only switches it off.
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseDClick(about.findChild<QWidget *>("Image1"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QVERIFY(about.closeTimer().isActive());
    about.closeTimer().setInterval(10);
    QTRY_VERIFY(!about.closeTimer().isActive());
    QVERIFY(!about.isVisible());
}

void TestAboutForm::growsFromItsCentre()
{
    RecordingDesktop desktop;
    TaboutForm about(desktop);
    about.show();
    QVariantAnimation *animation = about.showAnimation();
    QCOMPARE(animation->duration(), TaboutForm::AnimationMs);
    animation->pause();
    animation->setCurrentTime(TaboutForm::AnimationMs / 2);
    const QRect half = about.revealedRect();
    QCOMPARE(half.size(), QSize(399 / 2, 200 / 2));
    QCOMPARE(half.center(), about.rect().center());
    animation->setCurrentTime(TaboutForm::AnimationMs / 10);
    QVERIFY(about.revealedRect().width() < half.width());
    QCOMPARE(about.revealedRect().center(), about.rect().center());
    animation->resume();
    QTRY_COMPARE(about.revealedRect(), about.rect()); // whole again
    about.close();
}

void TestAboutForm::linksHoverAndOpen()
{
    RecordingDesktop desktop;
    TaboutForm about(desktop);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    // A click that closes a window leaves its button release unseen: start
    // from a full click on a label that does nothing.
    QTest::mouseClick(about.findChild<QWidget *>("Label3"), Qt::LeftButton);
    for (const char *name : {"Label5", "Label6"}) {
        auto *link = about.findChild<QLabel *>(QLatin1String(name));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(link);
        QTRY_COMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::white));
        QTest::mouseMove(about.findChild<QWidget *>("Label3"));
        QTRY_COMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
    QTest::mouseClick(about.findChild<QWidget *>("Label5"), Qt::LeftButton);
    about.findChild<QWidget *>("Label6")->setFocus();
    QTest::keyClick(about.findChild<QWidget *>("Label6"), Qt::Key_Return);
    QCOMPARE(desktop.calls,
        (QStringList {"url:mailto:support@parlix.example?&cc=&bcc=&subject=欢迎使用 "
                      "Parlix&body=您的意见:%0d",
            "url:http://www.parlix.example"}));
    QVERIFY(about.isVisible()); // the links leave the window open
    about.close();
}

// Mended: a double click on a link opened it twice, and the keyboard focus
// started on the mail link, so Enter or Space while the window showed opened
// a mail.
void TestAboutForm::linksOpenOncePerClickAndNeverByAccident()
{
    RecordingDesktop desktop;
    TaboutForm about(desktop);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTRY_COMPARE(QApplication::focusWidget(), &about);
    QTest::keyClick(&about, Qt::Key_Return);
    QTest::keyClick(&about, Qt::Key_Space);
    QVERIFY(desktop.calls.isEmpty());
    QTest::mouseClick(about.findChild<QWidget *>("Label3"), Qt::LeftButton);
    // What a double click is: press, release, the second press as a double
    // click, release.
    QWidget *web = about.findChild<QWidget *>("Label6");
    QTest::mousePress(web, Qt::LeftButton);
    QTest::mouseRelease(web, Qt::LeftButton);
    QTest::mouseDClick(web, Qt::LeftButton);
    QTest::mouseRelease(web, Qt::LeftButton);
    QCOMPARE(desktop.calls, QStringList {"url:http://www.parlix.example"});
    // The links are still reached by Tab.
    QTest::keyClick(&about, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() == about.findChild<QWidget *>("Label5")
        || QApplication::focusWidget() == about.findChild<QWidget *>("Label6"));
    about.close();
}

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
