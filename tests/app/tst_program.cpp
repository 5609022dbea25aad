#include "fakeengine.h"
#include "fontmapping.h"
#include "program.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "scripteddialogs.h"

#include <QFontInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void eightWindowsInTheirOrder();
    void withoutTheFlashPlayerTheRestWorks();
    void windowsFontsMapToInstalledFaces_data();
    void windowsFontsMapToInstalledFaces();
};

void TestProgram::eightWindowsInTheirOrder()
{
    QTemporaryDir dir;
    IniRegistry registry(dir.path());
    FakeEngine engine;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    Program program({&engine, &registry, &dialogs, &desktop});
    program.mainForm()->clockTimer().stop();

    const struct {
        const char *className;
        QString caption;
        QSize size; // client size, where the window has a fixed one
    } expected[] = {
        {"TMainForm", QStringLiteral("语音朗读器"), {}},
        {"TaboutForm", QStringLiteral("About Parlix"), {399, 200}},
        {"TCalendarFrm", QStringLiteral(" 实用月历 "), {538, 358}},
        {"TMathFrm", QStringLiteral("幼儿算数"), {560, 362}},
        {"TWordFrm", QStringLiteral("幼儿识字"), {489, 403}},
        {"TFrminput", QStringLiteral("文字工具"), {}},
        {"TFKFrm", QStringLiteral("俄罗斯方块"), {347, 349}},
        {"TFlashFrm", QStringLiteral(" FLASH 小游戏"), {680, 474}},
    };
    const QList<QWidget *> windows = program.windows();
    QCOMPARE(windows.size(), 8);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(windows[i]->metaObject()->className(), expected[i].className);
        QCOMPARE(windows[i]->windowTitle(), expected[i].caption);
        QVERIFY(windows[i]->isWindow());
        QVERIFY(!windows[i]->isVisible()); // nothing shows until the main window does
        if (expected[i].size.isValid())
            QCOMPARE(windows[i]->size(), expected[i].size);
    }
    // The engine started while the main window was made, before the others.
    QCOMPARE(engine.calls.first(), QStringLiteral("initialize"));
}

// The tests run from a folder without the Flash player plugin beside them:
// the Flash window says so once, at start, and everything else goes on.
void TestProgram::withoutTheFlashPlayerTheRestWorks()
{
    QTemporaryDir dir;
    IniRegistry registry(dir.path());
    FakeEngine engine;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    Program program({&engine, &registry, &dialogs, &desktop});
    program.mainForm()->clockTimer().stop();
    const QString noPlayer
        = QStringLiteral("对不起，您的系统没有Flash组件支持，请在添加/删除程序中安装！");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, noPlayer);

    program.mainForm()->show();
    QWidget *flash = program.windows().last();
    // Opening the Flash window: keep the main window ("No"), close the
    // Flash window once it shows.
    dialogs.answers << Dialogs::Answer::No;
    bool shown = false;
    QTimer::singleShot(200, flash, [&] {
        shown = flash->isVisible();
        flash->close();
    });
    program.mainForm()->BitBtn4Click();
    QVERIFY(shown);
    QVERIFY(!flash->isVisible());
    QVERIFY(program.mainForm()->isVisible());
    QCOMPARE(dialogs.messages.size(), 2); // the question only
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("您是否关闭当前窗口?"));
}

void TestProgram::windowsFontsMapToInstalledFaces_data()
{
    QTest::addColumn<QString>("windowsFamily");
    QTest::addColumn<QString>("expected");
    QTest::newRow("song") << "宋体"
                          << "Noto Serif CJK SC";
    QTest::newRow("simsun") << "SimSun"
                            << "Noto Serif CJK SC";
    QTest::newRow("hei") << "黑体"
                         << "Noto Sans CJK SC";
    QTest::newRow("tahoma") << "Tahoma"
                            << "Liberation Sans";
    QTest::newRow("ms_sans_serif") << "MS Sans Serif"
                                   << "Liberation Sans";
    QTest::newRow("arial") << "Arial"
                           << "Liberation Sans";
}

void TestProgram::windowsFontsMapToInstalledFaces()
{
    QFETCH(QString, windowsFamily);
    QFETCH(QString, expected);
    FontMapping::install();
    const QFont font(windowsFamily);
    const QFontInfo info(font);
    QCOMPARE(info.family(), expected);
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
