// Writing the editor's text as speech into a WAV file from the side panel,
// with a scripted engine: the arguments by button, the busy panel while the
// engine works, the messages, and the window staying alive meanwhile.

#include "busypanel.h"
#include "fakeengine.h"
#include "mainform.h"
#include "readingcontrol.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "scripteddialogs.h"

#include <QComboBox>
#include <QPushButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

namespace {

struct Harness {
    QTemporaryDir dir;
    IniRegistry registry {dir.filePath("settings")};
    FakeEngine engine;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<TMainForm> form;

    Harness()
    {
        form = std::make_unique<TMainForm>(
            TMainForm::Services {&engine, &registry, &dialogs, &desktop});
        form->clockTimer().stop();
        form->show();
    }
    QPushButton *button(const char *name) const
    {
        return form->findChild<QPushButton *>(QLatin1String(name));
    }
    BusyPanel *panel() const { return form->findChild<BusyPanel *>("RzPanel3"); }
};

} // namespace

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void buttonsChooseTheVoice_data();
    void buttonsChooseTheVoice();
    void cancelledDialogShowsNothing();
    void nulInTheTextReachesTheEngineAsABlank();
    void failureIsReportedWithItsReason_data();
    void failureIsReportedWithItsReason();
    void busyPanelShowsProgressWhileTheWindowLives();
    void closingWaitsForTheConversion();
};

void TestConversion::buttonsChooseTheVoice_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("voiceList");
    QTest::addColumn<QString>("call");
    QTest::newRow("female") << "Button5" << 1 << "speakToWave(10,4)";
    QTest::newRow("male") << "Button15" << 0 << "speakToWave(20,1)";
    QTest::newRow("list_does_not_matter") << "Button5" << 2 << "speakToWave(10,4)";
}

void TestConversion::buttonsChooseTheVoice()
{
    QFETCH(QString, button);
    QFETCH(int, voiceList);
    QFETCH(QString, call);
    Harness h;
    h.form->findChild<QComboBox *>("ComboBox1")->setCurrentIndex(voiceList);
    h.form->editor()->setPlainText(QStringLiteral("转换成声音"));
    h.dialogs.fileNames << h.dir.filePath(QStringLiteral("声音"));
    h.engine.calls.clear();
    h.button(qPrintable(button))->click();
    QCOMPARE(h.dialogs.fileDialogs, QStringList {"save:wav|*.wav:wav"});
    QCOMPARE(h.engine.actions(), QStringList {call});
    QCOMPARE(h.engine.wavePaths, QStringList {h.dir.filePath(QStringLiteral("声音.wav"))});
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("转换成声音"));
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, QStringLiteral("语音转换 Wave 文件完成 !"));
    QCOMPARE(h.dialogs.messages[0].caption, Dialogs::applicationTitle());
    QCOMPARE(h.dialogs.messages[0].buttons, Dialogs::Buttons::Ok);
    QVERIFY(!h.panel()->isVisible());
    QVERIFY(h.button("Button5")->isVisible());
    QCOMPARE(h.form->reading().engineResult(), 10); // the conversion leaves it alone
}

// Mended: a NUL in the editor (pasted) would end the zero-terminated text
// the engine gets, and the conversion would still report success.
void TestConversion::nulInTheTextReachesTheEngineAsABlank()
{
    Harness h;
    h.form->editor()->setPlainText(QStringLiteral("前面") + QChar(u'\0') + QStringLiteral("后面"));
    h.dialogs.fileNames << h.dir.filePath(QStringLiteral("nul"));
    h.button("Button5")->click();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("前面 后面"));
}

void TestConversion::cancelledDialogShowsNothing()
{
    Harness h;
    h.engine.calls.clear();
    h.button("Button15")->click();
    QCOMPARE(h.dialogs.fileDialogs.size(), 1);
    QVERIFY(h.engine.actions().isEmpty());
    QVERIFY(h.dialogs.messages.isEmpty());
    QVERIFY(!h.panel()->isVisible());
}

void TestConversion::failureIsReportedWithItsReason_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unwritable") << -4 << "a.wav"
                                << "不能写入这个文件";
    QTest::newRow("nothing_to_speak") << -3 << "b.wav"
                                      << "没有可以朗读的文字";
    QTest::newRow("unknown") << -99 << "c.wav"
                             << "";
    // The engine takes GBK names; one GBK cannot hold never reaches it.
    QTest::newRow("name_outside_gbk") << 10 << "歌😀.wav"
                                      << "😀";
}

void TestConversion::failureIsReportedWithItsReason()
{
    QFETCH(int, result);
    QFETCH(QString, fileName);
    QFETCH(QString, reason);
    Harness h;
    h.form->editor()->clear(); // an empty editor is not refused here
    h.engine.waveResult = result;
    h.dialogs.fileNames << h.dir.filePath(fileName);
    h.button("Button5")->click();
    QCOMPARE(h.dialogs.messages.size(), 1);
    const QString text = h.dialogs.messages[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("由于某些原因，语音转换 Wave 文件没有完成 !")),
        qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY(!h.panel()->isVisible());
    QVERIFY(h.button("Button15")->isVisible());
}

void TestConversion::busyPanelShowsProgressWhileTheWindowLives()
{
    Harness h;
    h.form->SpeedButton4Click(); // a reading goes on meanwhile, untouched
    QSemaphore started;
    QSemaphore release;
    h.engine.duringConversion = [&] {
        started.release();
        release.acquire();
    };
    // The reading is at 12 %, the conversion at 37 %: the busy panel shows
    // the conversion's, the progress bar stays the reading's.
    h.engine.location = 12;
    h.engine.conversion = 37;
    h.dialogs.fileNames << h.dir.filePath("x.wav");

    bool panelSeen = false;
    bool buttonsHidden = false;
    int percentSeen = -1;
    bool clockTicked = false;
    QTimer watcher;
    QObject::connect(&h.form->clockTimer(), &QTimer::timeout, [&] { clockTicked = true; });
    h.form->clockTimer().start(50);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!started.available())
            return;
        panelSeen = h.panel()->isVisible();
        buttonsHidden = !h.button("Button5")->isVisible() && !h.button("Button15")->isVisible();
        percentSeen = h.panel()->percent();
        h.form->reading().progressTick();
        if (percentSeen == 37 && clockTicked && h.form->reading().progress() == 12) {
            started.acquire();
            release.release();
        }
    });
    watcher.start(20);
    h.button("Button5")->click();
    h.form->clockTimer().stop();

    QVERIFY(panelSeen);
    QVERIFY(buttonsHidden);
    QCOMPARE(percentSeen, 37);
    QVERIFY(clockTicked); // the window's timers ran during the conversion
    QVERIFY(h.form->reading().isReading());
    QVERIFY(!h.panel()->isVisible());
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.panel()->caption(), QStringLiteral("语音转换中。。。"));
}

void TestConversion::closingWaitsForTheConversion()
{
    Harness h;
    QSemaphore release;
    h.engine.duringConversion = [&] { release.acquire(); };
    h.dialogs.fileNames << h.dir.filePath("x.wav");
    bool closedMeanwhile = true;
    QTimer::singleShot(100, [&] {
        h.form->close(); // asks to close while the engine writes
        closedMeanwhile = !h.form->isVisible();
        release.release();
    });
    h.button("Button5")->click();
    QVERIFY(!closedMeanwhile);
    QVERIFY(!h.engine.calls.contains("close")); // not before the file is done
    QTRY_VERIFY(!h.form->isVisible()); // then the window closes
    QCOMPARE(h.engine.calls.last(), QStringLiteral("close"));
}

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"
