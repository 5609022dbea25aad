// The main window with the real speech engine (on its silent output): a short
// reading runs at real-time pace, its progress shows, and the engine's end
// notification brings the controls back to idle.

#include "mainform.h"
#include "narrexlibrary.h"
#include "readingcontrol.h"
#include "recordingdesktop.h"
#include "registry.h"
#include "scripteddialogs.h"
#include "wavfile.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

class TestReadAloud : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shortReadingRunsToItsEnd();
    void bothButtonsWriteWavesInTheirVoices();
    void unwritableTargetIsReported();

private:
    QTemporaryDir m_config;
    NarrexLibrary m_library;
    std::unique_ptr<NarrexEngine> m_engine;
    std::unique_ptr<IniRegistry> m_registry;
    ScriptedDialogs m_dialogs;
    RecordingDesktop m_desktop;
    std::unique_ptr<TMainForm> m_form;
};

// One window for the whole test: the engine starts once per process.
void TestReadAloud::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QVERIFY2(m_library.load(QStringLiteral(PARLIX_BIN_DIR)), qPrintable(m_library.errorString()));
    m_engine = std::make_unique<NarrexEngine>(m_library.functions());
    m_registry = std::make_unique<IniRegistry>(m_config.path());
    m_form = std::make_unique<TMainForm>(
        TMainForm::Services {m_engine.get(), m_registry.get(), &m_dialogs, &m_desktop});
    m_form->clockTimer().stop();
    QCOMPARE(m_form->reading().engineResult(), ReadingControl::EngineOk);
}

void TestReadAloud::shortReadingRunsToItsEnd()
{
    TMainForm &form = *m_form;

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
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestReadAloud::bothButtonsWriteWavesInTheirVoices()
{
    QTemporaryDir out;
    m_form->editor()->setPlainText(QStringLiteral(
        "今天天气很好，我们一起去公园散步。公园里有很多花，红的、黄的、白的，真好看。"
        "小朋友们在草地上跑来跑去，大家都很开心。"));
    m_dialogs.messages.clear();
    m_dialogs.fileNames << out.filePath(QStringLiteral("女声"))
                        << out.filePath(QStringLiteral("男声"));
    m_form->findChild<QPushButton *>("Button5")->click();
    m_form->findChild<QPushButton *>("Button15")->click();
    QCOMPARE(m_dialogs.texts(), QStringList(2, QStringLiteral("语音转换 Wave 文件完成 !")));

    const WavFile female = WavFile::read(out.filePath(QStringLiteral("女声.wav")));
    const WavFile male = WavFile::read(out.filePath(QStringLiteral("男声.wav")));
    for (const WavFile *w : {&female, &male}) {
        QVERIFY(w->valid);
        QCOMPARE(w->channels, 1);
        QCOMPARE(w->sampleRate, 22050);
        QVERIFY2(w->seconds() > 4 && w->seconds() < 30, qPrintable(QString::number(w->seconds())));
        QVERIFY(w->rms() > 0.02);
    }
    // Two voices: the female one speaks clearly higher.
    QVERIFY2(female.medianPitchHz() > 1.3 * male.medianPitchHz(),
        qPrintable(QStringLiteral("%1 Hz against %2 Hz")
                       .arg(female.medianPitchHz())
                       .arg(male.medianPitchHz())));
}

void TestReadAloud::unwritableTargetIsReported()
{
    QTemporaryDir out;
    QFile blocker(out.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_form->editor()->setPlainText(QStringLiteral("写不进去。"));
    m_dialogs.messages.clear();
    m_dialogs.fileNames << out.filePath("file/inside.wav"); // a file is no folder
    m_form->findChild<QPushButton *>("Button5")->click();
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY(m_dialogs.messages[0].text.startsWith(
        QStringLiteral("由于某些原因，语音转换 Wave 文件没有完成 !")));
    QVERIFY(!QFile::exists(out.filePath("file/inside.wav")));
}

QTEST_MAIN(TestReadAloud)
#include "tst_readaloud.moc"
