// The main window driven headless: the engine, the settings, the dialogs and
// the desktop are scripted stand-ins, so every test sees exactly which calls
// the window makes and which controls it leaves in which state.

#include "aboutform.h"
#include "fakeengine.h"
#include "mainform.h"
#include "readingcontrol.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "scripteddialogs.h"
#include "skindata.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

const QString Key = QStringLiteral("Software\\Parlix");

// One main window with scripted collaborators and settings in a temporary
// folder. The clock is stopped so the about window does not open by itself.
struct Harness {
    QTemporaryDir dir;
    IniRegistry registry {dir.path()};
    FakeEngine engine;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<TMainForm> form;

    void create()
    {
        form = std::make_unique<TMainForm>(
            TMainForm::Services {&engine, &registry, &dialogs, &desktop});
        form->clockTimer().stop();
    }
    QString iniFile() const { return dir.filePath(QStringLiteral("Software/Parlix.ini")); }
    void writeSettings(const QList<QPair<QString, QVariant>> &values)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("Software")));
        QSettings ini(iniFile(), QSettings::IniFormat);
        for (const auto &[name, value] : values)
            ini.setValue(name, value);
    }
    QVariant storedValue(const QString &name) const
    {
        return QSettings(iniFile(), QSettings::IniFormat).value(name);
    }

    template <typename T> T *child(const char *name) const
    {
        T *w = form->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no child %s", name);
        return w;
    }
    QString panel(int i) const
    {
        return child<QLabel>(QStringLiteral("StatusPanel%1").arg(i).toLatin1().constData())->text();
    }
    void setVoice(int index) { child<QComboBox>("ComboBox1")->setCurrentIndex(index); }
    void setRepeat(bool on) { child<QCheckBox>("CheckBox1")->setChecked(on); }
};

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void readingFollowsTheStateMachine_data();
    void readingFollowsTheStateMachine();
    void repeatReadsTheText999TimesInAll();
    void emptyTextIsRefusedWithAMessage();
    void blanksAreReadAloud();
    void everyReadingCallPassesTheFixedArguments();
    void progressFollowsTheEngineAndHoldsAtFull_data();
    void progressFollowsTheEngineAndHoldsAtFull();
    void stopDuringTheFullHoldLeavesTheBarAtZero();
    void playStrSpeaksWithoutTouchingTheControls_data();
    void playStrSpeaksWithoutTouchingTheControls();
    void engineSettingsResultIsStored();

    void settingsAreRestoredAndSaved_data();
    void settingsAreRestoredAndSaved();
    void corruptSettingsFileStillStartsWithDefaults();
    void settingsKeyThatCannotBeCreated();
    void closingDuringAReadingShutsTheEngineWithoutStop();

    void toolbarAndSidePanelHaveTheirCaptionsAndHints_data();
    void toolbarAndSidePanelHaveTheirCaptionsAndHints();
    void menusHaveTheirCaptionsShortcutsAndTags_data();
    void menusHaveTheirCaptionsShortcutsAndTags();
    void layoutHasTheDesignedSizes();
    void startTextIsTheThirtyLineHelp();
    void editCommandsActTheSameFromEveryMenu_data();
    void editCommandsActTheSameFromEveryMenu();
    void hintsGoToTheStatusBarAndStay();
    void clockTickFillsTheDateAndTimePanel();
    void aboutWindowOpensOnceAtTheFirstTick();
    void clockRunsWhileTheAboutWindowIsOpen();
    void toolWindowsOpenModally_data();
    void toolWindowsOpenModally();
    void systemToolsHelpAndLinksGoToTheDesktop();
    void missingHelpIsReported();
    void missingSystemToolIsReported();
    void sidePanelFoldsFromItsHotSpotAndKeyboard();
    void everyFocusableControlHasAnAccessibleName();
};

void TestMainForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

// Each row is a sequence of events, and the state of the reading controls,
// the repeat counters and the engine calls after it.
//   start, pause (the pause button), stop, end (the engine's end token),
//   endLower (the token in lower case), junk (another text in Edit2),
//   phrase (another window's PlayStr), failNext (the next speak gives -5),
//   repeatOn / repeatOff (the repeat box), voice0 / voice2 (the voice list)
void TestMainForm::readingFollowsTheStateMachine_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("state"); // idle, reading, paused
    QTest::addColumn<QString>("itemCaption"); // the pause menu item
    QTest::addColumn<bool>("repeatReading");
    QTest::addColumn<int>("repeatCounter");
    QTest::addColumn<QStringList>("calls");

    const QStringList none;
    QTest::newRow("nothing") << none << "idle"
                             << "暂停(&P)" << false << 0 << none;
    QTest::newRow("start") << QStringList {"start"} << "reading"
                           << "暂停(&P)" << false << 0 << QStringList {"speak(0)"};
    QTest::newRow("start_end") << QStringList {"start", "end"} << "idle"
                               << "暂停" << false << 0 << QStringList {"speak(0)", "stop"};
    QTest::newRow("start_pause") << QStringList {"start", "pause"} << "paused"
                                 << "继续" << false << 0 << QStringList {"speak(0)", "pause"};
    QTest::newRow("pause_continue")
        << QStringList {"start", "pause", "pause"} << "reading"
        << "暂停" << false << 0 << QStringList {"speak(0)", "pause", "pause"};
    QTest::newRow("stop_while_paused_then_start")
        << QStringList {"start", "pause", "stop", "start"} << "reading"
        << "暂停" << false << 0 << QStringList {"speak(0)", "pause", "stop", "speak(0)"};
    QTest::newRow("engine_refuses") << QStringList {"failNext", "start"} << "idle"
                                    << "暂停" << false << 0 << QStringList {"speak(0)", "stop"};
    QTest::newRow("end_in_idle_stops_again") << QStringList {"end"} << "idle"
                                             << "暂停" << false << 0 << QStringList {"stop"};
    QTest::newRow("token_in_lower_case")
        << QStringList {"start", "endLower"} << "idle"
        << "暂停" << false << 0 << QStringList {"speak(0)", "stop"};
    QTest::newRow("other_text_ignored") << QStringList {"start", "junk"} << "reading"
                                        << "暂停(&P)" << false << 0 << QStringList {"speak(0)"};
    QTest::newRow("repeat_starts") << QStringList {"repeatOn", "start"} << "reading"
                                   << "暂停(&P)" << true << 999 << QStringList {"speak(0)"};
    QTest::newRow("repeat_reads_again")
        << QStringList {"repeatOn", "start", "end", "end"} << "reading"
        << "暂停(&P)" << true << 997 << QStringList {"speak(0)", "speak(0)", "speak(0)"};
    QTest::newRow("repeat_stop_keeps_the_flag")
        << QStringList {"repeatOn", "start", "stop"} << "idle"
        << "暂停" << true << 0 << QStringList {"speak(0)", "stop"};
    QTest::newRow("repeat_cleared_by_next_start")
        << QStringList {"repeatOn", "start", "stop", "repeatOff", "start", "end"} << "idle"
        << "暂停" << false << 0 << QStringList {"speak(0)", "stop", "speak(0)", "stop"};
    QTest::newRow("failing_repeat_pass_unnoticed")
        << QStringList {"repeatOn", "start", "failNext", "end"} << "reading"
        << "暂停(&P)" << true << 998 << QStringList {"speak(0)", "speak(0)"};
    // A phrase's end cannot be told from a reading's: during a repeat
    // reading it makes the text be read again.
    QTest::newRow("phrase_end_during_repeat")
        << QStringList {"repeatOn", "start", "phrase", "end"} << "reading"
        << "暂停(&P)" << true << 998 << QStringList {"speak(0)", "speak(0)", "speak(0)"};
    QTest::newRow("phrase_end_in_idle") << QStringList {"phrase", "end"} << "idle"
                                        << "暂停" << false << 0 << QStringList {"speak(0)", "stop"};
    QTest::newRow("female_voice") << QStringList {"voice0", "start", "phrase"} << "reading"
                                  << "暂停(&P)" << false << 0
                                  << QStringList {"speak(4)", "speak(4)"};
    QTest::newRow("english_voice_phrases_in_male_chinese")
        << QStringList {"voice2", "start", "phrase"} << "reading"
        << "暂停(&P)" << false << 0 << QStringList {"speak(1)", "speak(0)"};
}

void TestMainForm::readingFollowsTheStateMachine()
{
    QFETCH(QStringList, events);
    QFETCH(QString, state);
    QFETCH(QString, itemCaption);
    QFETCH(bool, repeatReading);
    QFETCH(int, repeatCounter);
    QFETCH(QStringList, calls);

    Harness h;
    h.create();
    h.engine.calls.clear();
    for (const QString &e : events) {
        if (e == "start")
            h.form->SpeedButton4Click();
        else if (e == "pause")
            h.child<QToolButton>("SpeedButton10")->click();
        else if (e == "stop")
            h.child<QToolButton>("SpeedButton1")->click();
        else if (e == "end")
            h.engine.sendEnd();
        else if (e == "endLower")
            h.engine.sendEnd("narrex_sdk_read_end");
        else if (e == "junk")
            h.engine.sendEnd("SOMETHING ELSE");
        else if (e == "phrase")
            h.form->PlayStr(QStringLiteral("答对了"));
        else if (e == "failNext")
            h.engine.speakResults << -5;
        else if (e == "repeatOn" || e == "repeatOff")
            h.setRepeat(e == "repeatOn");
        else if (e == "voice0" || e == "voice2")
            h.setVoice(e.back().digitValue());
        else
            QFAIL(qPrintable("unknown event " + e));
    }

    const bool reading = state != "idle";
    QCOMPARE(h.child<QToolButton>("SpeedButton4")->isEnabled(), !reading);
    QCOMPARE(h.child<QAction>("T1")->isEnabled(), !reading);
    QCOMPARE(h.child<QComboBox>("ComboBox1")->isEnabled(), !reading);
    QCOMPARE(h.child<QCheckBox>("CheckBox1")->isEnabled(), !reading);
    QCOMPARE(h.child<QToolButton>("SpeedButton10")->isEnabled(), reading);
    QCOMPARE(h.child<QAction>("N8")->isEnabled(), reading);
    QCOMPARE(h.child<QToolButton>("SpeedButton1")->isEnabled(), reading);
    QCOMPARE(h.child<QAction>("N23")->isEnabled(), reading);
    QCOMPARE(h.child<QToolButton>("SpeedButton10")->text(),
        state == "paused" ? QStringLiteral("继续") : QStringLiteral("暂停"));
    QCOMPARE(h.child<QAction>("N8")->text(), itemCaption);
    QCOMPARE(h.form->reading().progressTimerActive(), reading);
    QCOMPARE(h.form->reading().repeatReading(), repeatReading);
    QCOMPARE(h.form->reading().repeatCounter(), repeatCounter);
    QCOMPARE(h.engine.actions(), calls);
    QVERIFY(h.dialogs.messages.isEmpty());
}

void TestMainForm::repeatReadsTheText999TimesInAll()
{
    Harness h;
    h.create();
    h.setRepeat(true);
    h.form->SpeedButton4Click();
    // The text is read as it is at each pass.
    h.form->editor()->setPlainText(QStringLiteral("改过的文字"));
    for (int i = 0; i < 998; ++i)
        h.engine.sendEnd();
    QVERIFY(h.form->reading().isReading());
    QCOMPARE(h.form->reading().repeatCounter(), 1);
    h.engine.sendEnd();
    QVERIFY(!h.form->reading().isReading());
    QCOMPARE(h.engine.calls.count(QStringLiteral("speak(0)")), 999);
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("改过的文字"));
    QCOMPARE(h.engine.calls.last(), QStringLiteral("stop"));
}

void TestMainForm::emptyTextIsRefusedWithAMessage()
{
    Harness h;
    h.create();
    h.form->editor()->clear();
    h.engine.calls.clear();
    h.child<QToolButton>("SpeedButton4")->click();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, QStringLiteral("朗读内容为空！"));
    QCOMPARE(h.dialogs.messages[0].caption, QStringLiteral("Parlix"));
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Warning);
    QCOMPARE(h.dialogs.messages[0].buttons, Dialogs::Buttons::Ok);
    QVERIFY(h.engine.calls.isEmpty());
    QVERIFY(!h.form->reading().isReading());
    QVERIFY(!h.form->reading().progressTimerActive());
}

void TestMainForm::blanksAreReadAloud()
{
    Harness h;
    h.create();
    h.form->editor()->setPlainText(QStringLiteral("   "));
    h.form->SpeedButton4Click();
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("   "));
}

void TestMainForm::everyReadingCallPassesTheFixedArguments()
{
    Harness h;
    h.create();
    h.form->editor()->setPlainText(QStringLiteral("朗读一段中文 and English."));
    h.form->SpeedButton4Click();
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("朗读一段中文 and English."));
    QCOMPARE(h.engine.lastSpeakArgs, (QList<int> {11, 50, 100, 1, -1}));
    QCOMPARE(h.engine.lastSiteText, QByteArray("www.parlix.example"));
    // The engine was started with the editor and the notification target.
    QCOMPARE(h.engine.calls.mid(0, 2), (QStringList {"initialize", "voiceDeviceNum"}));
    QCOMPARE(h.engine.editHandle, static_cast<void *>(h.form->editor()));
}

void TestMainForm::progressFollowsTheEngineAndHoldsAtFull_data()
{
    QTest::addColumn<int>("location");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("ends");
    QTest::newRow("zero") << 0 << 0 << false;
    QTest::newRow("partway") << 42 << 42 << false;
    QTest::newRow("negative_error") << -1 << 0 << false;
    QTest::newRow("full") << 100 << 100 << true;
    QTest::newRow("above_full") << 150 << 100 << true;
}

void TestMainForm::progressFollowsTheEngineAndHoldsAtFull()
{
    QFETCH(int, location);
    QFETCH(int, shown);
    QFETCH(bool, ends);
    Harness h;
    h.create();
    auto *bar = h.child<QProgressBar>("ProgressBar1");
    h.form->SpeedButton4Click();
    h.engine.location = location;
    QSignalSpy spy(&h.form->reading(), &ReadingControl::progressChanged);
    QVERIFY(spy.wait(ReadingControl::ProgressInterval + 400)); // the timer's own tick
    QCOMPARE(bar->value(), shown);
    QCOMPARE(h.form->reading().progressTimerActive(), !ends);
    if (ends) {
        // Full for a moment, then back to 0; the reading itself goes on
        // until the end token.
        QTRY_COMPARE_WITH_TIMEOUT(bar->value(), 0, 1000);
        QVERIFY(h.form->reading().isReading());
        QVERIFY(h.child<QToolButton>("SpeedButton1")->isEnabled());
    }
}

void TestMainForm::stopDuringTheFullHoldLeavesTheBarAtZero()
{
    Harness h;
    h.create();
    auto *bar = h.child<QProgressBar>("ProgressBar1");
    h.form->SpeedButton4Click();
    h.engine.location = 100;
    h.form->reading().progressTick();
    QCOMPARE(bar->value(), 100);
    h.form->SpeedButton1Click();
    QCOMPARE(bar->value(), 0);
    // A new reading right after must not lose its progress to the old hold.
    h.form->SpeedButton4Click();
    h.engine.location = 30;
    h.form->reading().progressTick();
    QTest::qWait(ReadingControl::FullProgressHold + 100);
    QCOMPARE(bar->value(), 30);
}

void TestMainForm::playStrSpeaksWithoutTouchingTheControls_data()
{
    QTest::addColumn<int>("voice");
    QTest::addColumn<QString>("call");
    QTest::newRow("female") << 0 << "speak(4)";
    QTest::newRow("male") << 1 << "speak(0)";
    QTest::newRow("english_list_entry") << 2 << "speak(0)";
}

void TestMainForm::playStrSpeaksWithoutTouchingTheControls()
{
    QFETCH(int, voice);
    QFETCH(QString, call);
    Harness h;
    h.create();
    h.setVoice(voice);
    h.engine.calls.clear();
    h.engine.speakResults << -5;
    h.form->PlayStr(QStringLiteral("今天是2026年12月10日"));
    QCOMPARE(h.engine.calls, QStringList {call});
    QCOMPARE(h.engine.spokenTexts.last(), QStringLiteral("今天是2026年12月10日"));
    QCOMPARE(h.form->reading().engineResult(), -5);
    QVERIFY(!h.form->reading().isReading());
    QVERIFY(!h.form->reading().progressTimerActive());
    QVERIFY(h.child<QToolButton>("SpeedButton4")->isEnabled());
}

void TestMainForm::engineSettingsResultIsStored()
{
    Harness h;
    h.create();
    h.engine.dialogResult = -7;
    h.child<QToolButton>("SpeedButton3")->click();
    QCOMPARE(h.engine.calls.last(), QStringLiteral("setDialog"));
    QCOMPARE(h.form->reading().engineResult(), -7);
}

// What is stored before the start (nothing: no key) and what the controls
// show after it; then what a closing writes back.
void TestMainForm::settingsAreRestoredAndSaved_data()
{
    using Values = QList<QPair<QString, QVariant>>;
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<Values>("stored");
    QTest::addColumn<int>("voice");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("repeat");

    QTest::newRow("first_run") << false << Values {} << 1 << 3 << false;
    QTest::newRow("all_three") << true << Values {{"Sound", 2}, {"Style", 6}, {"Repeat", 1}} << 2
                               << 6 << true;
    QTest::newRow("plain_look") << true << Values {{"Sound", 0}, {"Style", 0}, {"Repeat", 0}} << 0
                                << 0 << false;
    // The first read that fails ends the restore: Repeat is not read either.
    QTest::newRow("style_missing")
        << true << Values {{"Sound", 0}, {"Repeat", 1}} << 0 << 3 << false;
    QTest::newRow("sound_missing")
        << true << Values {{"Style", 5}, {"Repeat", 1}} << 1 << 3 << false;
    QTest::newRow("repeat_not_a_number")
        << true << Values {{"Sound", 2}, {"Style", 1}, {"Repeat", "yes"}} << 2 << 1 << false;
    QTest::newRow("repeat_any_non_zero")
        << true << Values {{"Sound", 1}, {"Style", 2}, {"Repeat", 7}} << 1 << 2 << true;
    // Out of range: the list keeps its designed entry, the reads go on.
    QTest::newRow("out_of_range") << true << Values {{"Sound", 7}, {"Style", -2}, {"Repeat", 1}}
                                  << 1 << 3 << true;
    QTest::newRow("key_without_values") << true << Values {} << 1 << 3 << false;
}

void TestMainForm::settingsAreRestoredAndSaved()
{
    using Values = QList<QPair<QString, QVariant>>;
    QFETCH(bool, keyExists);
    QFETCH(Values, stored);
    QFETCH(int, voice);
    QFETCH(int, style);
    QFETCH(bool, repeat);

    Harness h;
    if (keyExists)
        h.writeSettings(stored);
    h.create();
    QVERIFY(QFile::exists(h.iniFile())); // the first run creates the key
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(h.child<QComboBox>("ComboBox1")->currentIndex(), voice);
    QCOMPARE(h.child<QComboBox>("ComboBox2")->currentIndex(), style);
    QCOMPARE(h.child<QCheckBox>("CheckBox1")->isChecked(), repeat);
    // The style is applied once the settings are read, whatever was read.
    QCOMPARE(h.form->skin().active(), style != 0);
    if (style != 0)
        QCOMPARE(h.form->skin().skinIndex(), style - 1);

    // Changes made in the window are written back at closing.
    h.setVoice(0);
    h.setRepeat(!repeat);
    h.form->close();
    QCOMPARE(h.storedValue("Sound").toInt(), 0);
    QCOMPARE(h.storedValue("Style").toInt(), style);
    QCOMPARE(h.storedValue("Repeat").toInt(), repeat ? 0 : 1);
}

void TestMainForm::corruptSettingsFileStillStartsWithDefaults()
{
    Harness h;
    QDir().mkpath(h.dir.filePath(QStringLiteral("Software")));
    QFile f(h.iniFile());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\x00\xff\xfe garbage [[[ = = \n\x01\x02 Sound=zz\n", 40);
    f.close();
    h.create();
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(h.child<QComboBox>("ComboBox1")->currentIndex(), 1);
    QCOMPARE(h.child<QComboBox>("ComboBox2")->currentIndex(), 3);
    QVERIFY(h.form->skin().active());
}

void TestMainForm::settingsKeyThatCannotBeCreated()
{
    Harness h;
    // A file where the key's folder should be: nothing can be created.
    QFile blocker(h.dir.filePath(QStringLiteral("Software")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    h.create();
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, QStringLiteral("未知的原因，创建注册信息失败！"));
    QCOMPARE(h.dialogs.messages[0].caption, QStringLiteral("注册软件"));
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Warning);
    QVERIFY(h.dialogs.messages[0].topmost);
    // The style is not applied, and nothing is saved at the end; the
    // program still works.
    QVERIFY(!h.form->skin().active());
    h.form->SpeedButton4Click();
    QVERIFY(h.form->reading().isReading());
    h.form->close();
    QVERIFY(!QFileInfo(h.iniFile()).exists());
}

void TestMainForm::closingDuringAReadingShutsTheEngineWithoutStop()
{
    Harness h;
    h.create();
    h.setRepeat(true);
    h.form->SpeedButton4Click();
    h.engine.calls.clear();
    h.form->close();
    QCOMPARE(h.engine.calls, QStringList {"close"});
    QVERIFY(!h.form->reading().repeatReading());
    QCOMPARE(h.form->reading().repeatCounter(), 0);
    QCOMPARE(h.storedValue("Repeat").toInt(), 1);
}

void TestMainForm::menusHaveTheirCaptionsShortcutsAndTags_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<int>("tag"); // -1: none
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char *name, const char *caption, QKeySequence key, int tag,
                         bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << key << tag
                            << enabled;
    };
    row("F1", "文件(&F)", {}, -1);
    row("N3", "新建(&N)", QKeySequence("Ctrl+N"), -1);
    row("dfdsf1", "打开(&O)", QKeySequence("Ctrl+O"), -1);
    row("O1", "保存(&S)", QKeySequence("Ctrl+S"), -1);
    row("N6", "打印(&P)", QKeySequence("F10"), -1);
    row("C1", "关闭(&C)", {}, -1);
    row("F2", "编辑(&E)", {}, -1);
    row("U1", "撤消[&U]", QKeySequence("Ctrl+Z"), 0);
    row("T2", "剪切[&T]", QKeySequence("Ctrl+X"), 1);
    row("C2", "复制[&C]", QKeySequence("Ctrl+C"), 2);
    row("P1", "粘贴[&P]", QKeySequence("Ctrl+V"), 3);
    row("D1", "删除[&D]", {}, 4);
    row("A2", "全选[&A]", QKeySequence("Ctrl+A"), 5);
    row("F3", "朗读(&R)", {}, -1);
    row("T1", "开始(&S)", {}, -1);
    row("N8", "暂停(&P)", {}, -1, false);
    row("N23", "停止(&T)", {}, -1, false);
    row("F4", "工具(&T)", {}, -1);
    row("M2", "实用月历(&M)  ", {}, -1);
    row("N11", "幼儿算数(&C)     ", {}, -1);
    row("C3", "幼儿识字(&W)  ", {}, -1);
    row("N9", "俄罗斯方块(&R)", {}, -1);
    row("FLASH1", "FLASH 小游戏(&F)", {}, -1);
    row("N18", "控制面板(&P)", {}, -1);
    row("N13", "DirectX 诊断工具(&T)", {}, -1);
    row("xxx1", "设备管理器(&D)", {}, -1);
    row("F5", "帮助(&H)", {}, -1);
    row("M1", "帮助主题(&M)", QKeySequence("F1"), -1);
    row("I1", "公司主页(&I)", QKeySequence("F2"), -1);
    row("A1", "关于 (&A)...", QKeySequence("F5"), -1);
    row("ItemUndo", "撤消[&U]", QKeySequence("Ctrl+Z"), 0);
    row("ItemCut", "剪切[&T]", QKeySequence("Ctrl+X"), 1);
    row("ItemCopy", "复制[&C]", QKeySequence("Ctrl+C"), 2);
    row("ItemPaste", "粘贴[&P]", QKeySequence("Ctrl+V"), 3);
    row("ItemDelete", "删除[&D]", {}, 4);
    row("ItemSelectAll", "全选[&A]", QKeySequence("Ctrl+A"), 5);
    row("L1", "加载文件(&L)", {}, 6);
    row("MenuItem2", "导出文件(&E)", {}, 7);
}

void TestMainForm::menusHaveTheirCaptionsShortcutsAndTags()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, key);
    QFETCH(int, tag);
    QFETCH(bool, enabled);
    Harness h;
    h.create();
    if (auto *menu = h.form->findChild<QMenu *>(name)) {
        QCOMPARE(menu->title(), caption);
        return;
    }
    auto *action = h.form->findChild<QAction *>(name);
    QVERIFY2(action, qPrintable(name));
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), key);
    QCOMPARE(action->isEnabled(), enabled);
    QCOMPARE(action->property("Tag").isValid() ? action->property("Tag").toInt() : -1, tag);
}

void TestMainForm::toolbarAndSidePanelHaveTheirCaptionsAndHints_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("enabled");
    const auto row
        = [](const char *name, const char *caption, const char *hint, bool enabled = true) {
              QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                                  << QString::fromUtf8(hint) << enabled;
          };
    // The toolbar, left to right; buttons without a caption show a picture.
    row("SpeedButton9", "新建", "新建");
    row("SpeedButton7", "打开", "打开");
    row("SpeedButton5", "保存", "保存");
    row("SpeedButton4", "朗读", "朗读");
    row("SpeedButton10", "暂停", "暂停", false);
    row("SpeedButton1", "停止", "停止", false);
    row("SpeedButton3", "", "语音设置");
    row("SpeedButton8", "", "联络我们");
    row("SpeedButton6", "", "公司主页");
    row("SpeedButton2", "", "退出");
    // The side panel's tool buttons, top to bottom.
    row("BitBtn19", " 实用月历    ", "实用月历");
    row("BitBtn1", " 幼儿算数     ", "幼儿算数");
    row("BitBtn2", " 幼儿识字     ", "幼儿识字");
    row("BitBtn3", " 俄罗斯方块   ", "俄罗斯方块");
    row("BitBtn4", " FLASH 小游戏 ", "FLASH 小游戏");
    row("BitBtn22", " 控制面板    ", "控制面板");
    row("BitBtn20", " DirectX 诊断", "DirectX 诊断");
    row("BitBtn21", " 设备管理器  ", "设备管理器");
    row("Button5", "女声到 Wave", "");
    row("Button15", "男声到 Wave", "");
}

void TestMainForm::toolbarAndSidePanelHaveTheirCaptionsAndHints()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, enabled);
    Harness h;
    h.create();
    auto *button = h.form->findChild<QAbstractButton *>(name);
    QVERIFY2(button, qPrintable(name));
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->isEnabled(), enabled);
    if (caption.isEmpty())
        QVERIFY(!button->icon().isNull());
}

void TestMainForm::layoutHasTheDesignedSizes()
{
    Harness h;
    h.create();
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QCOMPARE(h.form->windowTitle(), QStringLiteral("语音朗读器"));
    QCOMPARE(h.child<QToolBar>("ToolBar0")->height(), 42);
    for (const char *name :
        {"SpeedButton9", "SpeedButton7", "SpeedButton5", "SpeedButton4", "SpeedButton10",
            "SpeedButton1", "SpeedButton3", "SpeedButton8", "SpeedButton6", "SpeedButton2"}) {
        auto *b = h.child<QToolButton>(name);
        QCOMPARE(b->size(), QSize(50, 38));
        QVERIFY2(b->isVisible(), name); // nothing pushed out of the toolbar
    }
    for (const char *name : {"LcdDisplay1", "LcdDisplay2", "LcdDisplay3"})
        QVERIFY2(h.form->findChild<QWidget *>(QLatin1String(name))->isVisible(), name);
    QCOMPARE(h.child<QWidget>("SidePanel")->width(), 198);
    QCOMPARE(h.child<QProgressBar>("ProgressBar1")->height(), 17);
    QCOMPARE(h.child<QStatusBar>("StatusBar1")->height(), 20);
    QCOMPARE(h.child<QLabel>("StatusPanel0")->width(), 288);
    QCOMPARE(h.child<QLabel>("StatusPanel1")->width(), 188);
    QCOMPARE(h.child<QLabel>("StatusPanel2")->width(), 188);
    QCOMPARE(h.panel(0), QStringLiteral("就绪"));
    QCOMPARE(h.panel(1), QStringLiteral(" support@parlix.example"));
    QCOMPARE(h.panel(2), QStringLiteral(" www.parlix.example"));
    QCOMPARE(h.panel(3), QString()); // until the first clock tick
    for (const char *name : {"BitBtn19", "BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn22",
             "BitBtn20", "BitBtn21"})
        QCOMPARE(h.child<QPushButton>(name)->size(), QSize(162, 32));
    auto *edit2 = h.child<QLineEdit>("Edit2");
    QVERIFY(!edit2->isVisible());
    QCOMPARE(edit2->text(), QStringLiteral("Edit2"));
    QVERIFY(!h.child<QWidget>("RzPanel3")->isVisible());
    QCOMPARE(QApplication::focusWidget(), h.form->editor());
}

void TestMainForm::startTextIsTheThirtyLineHelp()
{
    Harness h;
    h.create();
    const QStringList lines = h.form->editor()->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 30);
    QCOMPARE(lines.first(), QStringLiteral("语音朗读器软件说明"));
    QVERIFY(lines.contains(QStringLiteral("最新功能:")));
    QVERIFY(lines.contains(QStringLiteral("基本功能:")));
    QCOMPARE(lines[28], QStringLiteral("软件主页：www.parlix.example"));
    QCOMPARE(lines[29], QStringLiteral("电子邮箱：Email: support@parlix.example"));
    QVERIFY(!h.form->editor()->document()->isModified());
}

void TestMainForm::editCommandsActTheSameFromEveryMenu_data()
{
    QTest::addColumn<QString>("item");
    for (const char *name : {"U1", "ItemUndo", "T2", "ItemCut", "C2", "ItemCopy", "P1", "ItemPaste",
             "D1", "ItemDelete", "A2", "ItemSelectAll"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMainForm::editCommandsActTheSameFromEveryMenu()
{
    QFETCH(QString, item);
    Harness h;
    h.create();
    QTextEdit *edit = h.form->editor();
    edit->clear();
    QApplication::clipboard()->setText(QStringLiteral("剪贴板"));
    edit->insertPlainText(QStringLiteral("一二三四"));
    QTextCursor c = edit->textCursor();
    c.setPosition(1);
    c.setPosition(3, QTextCursor::KeepAnchor); // "二三"
    edit->setTextCursor(c);

    auto *action = h.form->findChild<QAction *>(item);
    QVERIFY(action);
    action->trigger();
    const int tag = action->property("Tag").toInt();
    const QString text = edit->toPlainText();
    switch (tag) {
    case 0:
        QCOMPARE(text, QString());
        break; // the typing is undone
    case 1:
        QCOMPARE(text, QStringLiteral("一四"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("二三"));
        break;
    case 2:
        QCOMPARE(text, QStringLiteral("一二三四"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("二三"));
        break;
    case 3:
        QCOMPARE(text, QStringLiteral("一剪贴板四"));
        break;
    case 4:
        QCOMPARE(text, QStringLiteral("一四"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("剪贴板"));
        break;
    case 5:
        QCOMPARE(edit->textCursor().selectedText(), QStringLiteral("一二三四"));
        break;
    default:
        QFAIL("unexpected tag");
    }
}

void TestMainForm::hintsGoToTheStatusBarAndStay()
{
    Harness h;
    h.create();
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QCOMPARE(h.panel(0), QStringLiteral("就绪"));
    QTest::mouseMove(h.child<QToolButton>("SpeedButton4"));
    QTRY_COMPARE(h.panel(0), QStringLiteral("朗读"));
    QTest::mouseMove(h.form->editor()->viewport());
    QTest::qWait(50);
    QCOMPARE(h.panel(0), QStringLiteral("朗读")); // the last hint stays
    QTest::mouseMove(h.child<QPushButton>("BitBtn1"));
    QTRY_COMPARE(h.panel(0), QStringLiteral("幼儿算数"));
    QTest::mouseMove(h.child<QToolButton>("SpeedButton3"));
    QTRY_COMPARE(h.panel(0), QStringLiteral("语音设置"));
}

void TestMainForm::clockTickFillsTheDateAndTimePanel()
{
    Harness h;
    h.create();
    QCOMPARE(h.panel(3), QString());
    const QDate today = QDate::currentDate();
    h.form->Timer2Timer(); // no about window is attached: nothing opens
    QVERIFY2(h.panel(3).startsWith(QLocale::system().toString(today, QLocale::ShortFormat)),
        qPrintable(h.panel(3)));
    QVERIFY(h.panel(3).contains(QStringLiteral("  ")));
    const QTime now = QTime::currentTime();
    const QStringList clock
        = {h.form->findChild<QWidget *>("LcdDisplay1")->property("Value").toString(),
            h.form->findChild<QWidget *>("LcdDisplay2")->property("Value").toString()};
    QVERIFY(clock[0].toInt() == now.hour() || now.minute() == 0);
    QVERIFY(clock[1].toInt() == now.minute() || now.second() == 0);
}

void TestMainForm::aboutWindowOpensOnceAtTheFirstTick()
{
    Harness h;
    h.create();
    TaboutForm about(h.desktop, h.form.get());
    h.form->setToolWindows({&about});
    QVERIFY(h.form->aboutPending());
    int shown = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (about.isVisible()) {
            ++shown;
            // Its own 2 s timer is running; a click on the background would
            // close it at once too.
            QCOMPARE(about.closeTimer().interval(), TaboutForm::FirstShowInterval);
            about.close();
        }
    });
    closer.start(20);
    h.form->Timer2Timer();
    QVERIFY(!about.isVisible()); // shown after the tick, not inside it
    QTRY_COMPARE(shown, 1);
    QVERIFY(!h.form->aboutPending());
    h.form->Timer2Timer();
    h.form->Timer2Timer();
    QTest::qWait(50);
    QCOMPARE(shown, 1);
}

// Mended: the about window used to open inside the clock's own tick, so the
// clock and the date panel stood still for its 2 s; and a message box open
// at the first tick used the showing up, so it never came.
void TestMainForm::clockRunsWhileTheAboutWindowIsOpen()
{
    Harness h;
    h.create();
    TaboutForm about(h.desktop, h.form.get());
    h.form->setToolWindows({&about});
    int ticksWhileOpen = 0;
    int shown = 0;
    QObject::connect(&h.form->clockTimer(), &QTimer::timeout, &about, [&] {
        if (about.isVisible())
            ++ticksWhileOpen;
    });
    // A modal message is up at the first ticks: the about window waits.
    QDialog message(h.form.get());
    QTimer::singleShot(0, &message, [&] {
        h.form->Timer2Timer();
        h.form->Timer2Timer();
        QVERIFY(h.form->aboutPending());
        message.accept();
    });
    message.exec();
    QTest::qWait(20);
    QCOMPARE(shown, 0);
    QVERIFY(!about.isVisible());

    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (about.isVisible() && ticksWhileOpen >= 3) {
            ++shown;
            about.close();
        }
    });
    closer.start(10);
    h.form->clockTimer().setInterval(20);
    h.form->clockTimer().start();
    QTRY_COMPARE(shown, 1);
    QVERIFY(ticksWhileOpen >= 3);
    QVERIFY(!h.form->aboutPending());
}

void TestMainForm::toolWindowsOpenModally_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<bool>("mainVisibleMeanwhile");
    QTest::newRow("calendar_button") << "BitBtn19" << false << Dialogs::Answer::No << true;
    QTest::newRow("math_item") << "N11" << false << Dialogs::Answer::No << true;
    QTest::newRow("cards_button") << "BitBtn2" << false << Dialogs::Answer::No << true;
    QTest::newRow("game_yes") << "BitBtn3" << true << Dialogs::Answer::Yes << false;
    QTest::newRow("game_no_still_opens") << "N9" << true << Dialogs::Answer::No << true;
    QTest::newRow("flash_yes") << "FLASH1" << true << Dialogs::Answer::Yes << false;
    QTest::newRow("flash_no") << "BitBtn4" << true << Dialogs::Answer::No << true;
}

void TestMainForm::toolWindowsOpenModally()
{
    QFETCH(QString, entry);
    QFETCH(bool, asks);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(bool, mainVisibleMeanwhile);
    Harness h;
    h.create();
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QList<QDialog *> tools;
    for (int i = 0; i < 5; ++i)
        tools << new QDialog(h.form.get());
    h.form->setToolWindows({nullptr, tools[0], tools[1], tools[2], tools[3], tools[4]});
    h.dialogs.answers << answer;

    QDialog *seen = nullptr;
    bool mainVisible = false;
    QTimer::singleShot(50, [&] {
        seen = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        mainVisible = h.form->isVisible();
        if (seen)
            seen->close();
    });
    if (auto *button = h.form->findChild<QPushButton *>(entry))
        button->click();
    else
        h.form->findChild<QAction *>(entry)->trigger();

    QVERIFY(seen);
    QVERIFY(tools.contains(seen));
    QCOMPARE(mainVisible, mainVisibleMeanwhile);
    QVERIFY(h.form->isVisible()); // back once the tool window has closed
    QCOMPARE(h.dialogs.messages.size(), asks ? 1 : 0);
    if (asks) {
        QCOMPARE(h.dialogs.messages[0].text, QStringLiteral("您是否关闭当前窗口?"));
        QCOMPARE(h.dialogs.messages[0].caption, QStringLiteral("询问"));
        QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Question);
        QCOMPARE(h.dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
    }
}

void TestMainForm::systemToolsHelpAndLinksGoToTheDesktop()
{
    Harness h;
    h.create();
    TaboutForm about(h.desktop, h.form.get());
    h.form->setToolWindows({&about});
    const QString before = QDir::currentPath();
    h.child<QPushButton>("BitBtn22")->click();
    h.child<QAction>("N13")->trigger();
    h.child<QAction>("xxx1")->trigger();
    h.child<QAction>("M1")->trigger();
    h.child<QToolButton>("SpeedButton8")->click();
    h.child<QToolButton>("SpeedButton6")->click();
    QTest::mouseClick(h.child<QLabel>("StatusPanel2"), Qt::LeftButton);
    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    QCOMPARE(h.desktop.calls,
        (QStringList {"tool:control", "tool:dxdiag", "tool:devmgmt", "help:" + folder,
            "url:mailto:support@parlix.example?&cc=&bcc=&subject=欢迎使用 "
            "Parlix&body=您的意见:%0d",
            "url:http://www.parlix.example", "url:http://www.parlix.example"}));
    // Help leaves the process in the program's folder.
    QCOMPARE(QDir::currentPath(), QCoreApplication::applicationDirPath());
    QDir::setCurrent(before);
    QVERIFY(!about.isVisible());
    QVERIFY(h.dialogs.messages.isEmpty());
}

// Mended: a system tool that is not there used to do nothing at all.
void TestMainForm::missingSystemToolIsReported()
{
    Harness h;
    h.create();
    h.desktop.toolsPresent = false;
    h.child<QPushButton>("BitBtn21")->click();
    QCOMPARE(h.desktop.calls, QStringList {"tool:devmgmt"});
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, QStringLiteral("这台电脑上没有找到“设备管理器”。"));
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Warning);
}

void TestMainForm::missingHelpIsReported()
{
    Harness h;
    h.create();
    h.desktop.helpPresent = false;
    const QString before = QDir::currentPath();
    h.form->M1Click();
    QDir::setCurrent(before);
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].caption, Dialogs::applicationTitle());
}

void TestMainForm::sidePanelFoldsFromItsHotSpotAndKeyboard()
{
    Harness h;
    h.create();
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    auto *splitter = h.child<QSplitter>("RzSizePanel2");
    QSplitterHandle *bar = splitter->handle(1);
    QCOMPARE(bar->width(), 7);
    const QPoint spot = bar->rect().center();
    QTest::mouseClick(bar, Qt::LeftButton, {}, spot);
    QCOMPARE(splitter->sizes().value(0), 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, spot);
    QCOMPARE(splitter->sizes().value(0), 198);
    // Away from the hot spot a click does not fold.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(3, 5));
    QCOMPARE(splitter->sizes().value(0), 198);
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Space);
    QCOMPARE(splitter->sizes().value(0), 0);
    QTest::keyClick(bar, Qt::Key_Space);
    QCOMPARE(splitter->sizes().value(0), 198);
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(splitter->sizes().value(0), 208);
}

void TestMainForm::everyFocusableControlHasAnAccessibleName()
{
    Harness h;
    h.create();
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QStringList unnamed;
    for (QWidget *w : h.form->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->focusPolicy() == Qt::NoFocus || w->inherits("QScrollBar")
            || w->parentWidget()->inherits("QAbstractScrollArea"))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << (w->objectName().isEmpty()
                    ? QString::fromLatin1(w->metaObject()->className())
                    : w->objectName());
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
