// The main window with the real speech engine (on its silent output): a short
// reading runs at real-time pace, its progress shows, and the engine's end
// notification brings the controls back to idle.

#include "mainform.h"
#include "narrexlibrary.h"
#include "readingcontrol.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "scripteddialogs.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

class TestReadAloud : public QObject
{
    Q_OBJECT

private slots:
    void shortReadingRunsToItsEnd();
};

void TestReadAloud::shortReadingRunsToItsEnd()
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    NarrexLibrary library;
    QVERIFY2(library.load(QStringLiteral(PARLIX_BIN_DIR)), qPrintable(library.errorString()));
    NarrexEngine engine(library.functions());
    IniRegistry registry(config.path());
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    TMainForm form({&engine, &registry, &dialogs, &desktop});
    form.clockTimer().stop();
    QCOMPARE(form.reading().engineResult(), ReadingControl::EngineOk);

    form.editor()->setPlainText(QStringLiteral("今天天气很好，我们去公园散步。然后回家吃饭。"));
    QSignalSpy progress(&form.reading(), &ReadingControl::progressChanged);
    QSignalSpy state(&form.reading(), &ReadingControl::readingChanged);
    QElapsedTimer clock;
    clock.start();
    form.findChild<QToolButton *>("SpeedButton4")->click();
    QVERIFY(form.reading().isReading());
    QCOMPARE(form.reading().engineResult(), ReadingControl::EngineOk);

    // Back to idle through the engine's own end token, in Edit2.
    QTRY_VERIFY_WITH_TIMEOUT(!form.reading().isReading(), 30000);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed > 1500, "the silent output plays at real-time pace");
    QVERIFY(form.findChild<QToolButton *>("SpeedButton4")->isEnabled());
    QVERIFY(!form.findChild<QToolButton *>("SpeedButton1")->isEnabled());
    QCOMPARE(form.findChild<QProgressBar *>("ProgressBar1")->value(), 0);

    // The bar moved on the way: values between 0 and 100, rising.
    QList<int> values;
    for (const QList<QVariant> &args : progress)
        values << args.at(0).toInt();
    QVERIFY2(std::any_of(values.begin(), values.end(), [](int v) { return v > 0 && v < 100; }),
             qPrintable(QString("progress seen: %1").arg(values.size())));
    int last = 0;
    for (int v : values) {
        if (v == 0)
            continue; // the reset after the full hold or the stop
        QVERIFY(v >= last);
        last = v;
    }
    QVERIFY(dialogs.messages.isEmpty());
    form.close();
}

QTEST_MAIN(TestReadAloud)
#include "tst_readaloud.moc"
