// The engine through its C interface, with the real synthesiser and the
// silent real-time output.

#include "narrex.h"

#include "wavfile.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <thread>

namespace {

QByteArray gbk(const QString &s)
{
    QStringEncoder enc("GBK");
    return enc.encode(s);
}

struct EndCounter {
    int count = 0;
    QByteArray last;
    bool onMainThread = true;
};

void countEnd(void *context, const char *text)
{
    auto *c = static_cast<EndCounter *>(context);
    ++c->count;
    c->last = text;
    c->onMainThread = c->onMainThread && QThread::currentThread() == qApp->thread();
}

int toWave(const QByteArray &text, const QString &path, bool male = false)
{
    return Narrex_SpeakToWave(
        text.constData(), gbk(path).constData(), male ? 20 : 10, male ? 1 : 4, 50, 100, 30, 1, "");
}

int speak(const QByteArray &text, int voice = 4)
{
    return Narrex_Speak(text.constData(), 11, voice, 50, 100, 1, -1, "");
}

const QString ShortChinese = QStringLiteral("今天天气很好，我们去公园散步。");
const QString ShortEnglish = QStringLiteral("The quick brown fox jumps over the lazy dog.");

} // namespace

class TestNarrex : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void callsOutsideTheEngineLifetimeFail();
    void waveHoldsRealSpeech_data();
    void waveHoldsRealSpeech();
    void femaleAndMaleVoicesDiffer();
    void readingPlaysThroughTheSystemOutput();
    void readingProgressRisesToHundredAndEndsOnce();
    void pauseHoldsSoundAndProgress();
    void stopEndsAtOnceWithoutNotification();
    void newReadingReplacesTheCurrentOne();
    void closeInTheMiddleOfAReading();
    void badRequestsAreRefused();
    void invalidGbkIsReadAroundNotThrough();
    void failedConversionLeavesOldFileWhole_data();
    void failedConversionLeavesOldFileWhole();
    void conversionReportsItsProgressToAnotherThread();
    void speakingRangeFollowsEachSentenceOnce();
    void speakingRangeIsNothingWhenNothingIsHeard();
    void settingsDialogChangesLaterConversions();
    void chineseIsSpokenAsLongAsMandarinTakes();
    void mixedTextIsFollowedInItsOwnBytes();
    void englishInsideChineseMakesNoPause();
    void oldChineseVoiceSettingIsMoved();
    void settingsOfferOnlyVoicesThatReadChinese();
    void pronunciationListIsEditedFromTheSettings();

private:
    void start();

    EndCounter m_ends;
    NarrexNotifyTarget m_target {&m_ends, &countEnd};
    QTemporaryDir m_dir;
};

void TestNarrex::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Sonarel"))
        .removeRecursively();
    QVERIFY(m_dir.isValid());
}

void TestNarrex::start()
{
    m_ends = EndCounter();
    QCOMPARE(Narrex_Initialize(nullptr, &m_target, -1, -1, -1, 0, 0), NARREX_OK);
}

void TestNarrex::cleanup()
{
    Narrex_Close();
}

void TestNarrex::callsOutsideTheEngineLifetimeFail()
{
    const QByteArray text = gbk(ShortChinese);
    const QString path = m_dir.filePath(QStringLiteral("never.wav"));
    auto allFail = [&] {
        QVERIFY(Narrex_GetVoiceDeviceNum() != NARREX_OK);
        QVERIFY(speak(text) != NARREX_OK);
        QVERIFY(Narrex_GetLocationInfo() != NARREX_OK);
        QVERIFY(Narrex_PauseORContinue() != NARREX_OK);
        QVERIFY(Narrex_Stop() != NARREX_OK);
        QVERIFY(Narrex_SetDialog(0, "") != NARREX_OK);
        QVERIFY(toWave(text, path) != NARREX_OK);
        QVERIFY(Narrex_Close() != NARREX_OK);
    };
    allFail();
    start();
    QCOMPARE(Narrex_Initialize(nullptr, nullptr, -1, -1, -1, 0, 0), NARREX_ERR_ALREADY);
    QCOMPARE(Narrex_Close(), NARREX_OK);
    allFail();
    QVERIFY(!QFile::exists(path));
}

void TestNarrex::waveHoldsRealSpeech_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("male");
    QTest::addColumn<double>("minSeconds");
    QTest::addColumn<double>("maxSeconds");
    // Mandarin at the default rate: about three to five syllables a second.
    QTest::newRow("chinese_female") << ShortChinese << false << 2.0 << 7.0;
    QTest::newRow("chinese_male") << ShortChinese << true << 2.0 << 7.0;
    QTest::newRow("english") << ShortEnglish << false << 1.5 << 6.0;
}

void TestNarrex::waveHoldsRealSpeech()
{
    QFETCH(QString, text);
    QFETCH(bool, male);
    QFETCH(double, minSeconds);
    QFETCH(double, maxSeconds);
    start();
    const QString path = m_dir.filePath(QStringLiteral("speech.wav"));
    QCOMPARE(toWave(gbk(text), path, male), NARREX_OK);

    const WavFile wav = WavFile::read(path);
    QVERIFY(wav.valid);
    QCOMPARE(wav.container, QByteArray("RIFF"));
    QCOMPARE(wav.channels, 1);
    QCOMPARE(wav.bitsPerSample, 16);
    QCOMPARE(wav.sampleRate, 22050);
    QVERIFY2(wav.seconds() > minSeconds && wav.seconds() < maxSeconds,
        qPrintable(QString::number(wav.seconds())));
    QVERIFY2(wav.rms() > 0.02, qPrintable(QString::number(wav.rms())));

    // sox, a reader we did not write, sees the same file.
    QProcess soxi;
    soxi.start(QStringLiteral("soxi"), {QStringLiteral("-s"), path});
    QVERIFY2(soxi.waitForFinished(10000), "soxi (package sox) is needed by this test");
    QCOMPARE(soxi.exitCode(), 0);
    QCOMPARE(soxi.readAllStandardOutput().trimmed().toLongLong(), qint64(wav.samples.size()));
}

void TestNarrex::femaleAndMaleVoicesDiffer()
{
    start();
    const QString f = m_dir.filePath(QStringLiteral("female.wav"));
    const QString m = m_dir.filePath(QStringLiteral("male.wav"));
    const QByteArray text = gbk(ShortChinese + ShortChinese);
    QCOMPARE(toWave(text, f, false), NARREX_OK);
    QCOMPARE(toWave(text, m, true), NARREX_OK);
    const double female = WavFile::read(f).medianPitchHz();
    const double male = WavFile::read(m).medianPitchHz();
    QVERIFY2(male > 70 && female > male * 1.3,
        qPrintable(QStringLiteral("female %1 Hz, male %2 Hz").arg(female).arg(male)));
}

void TestNarrex::readingPlaysThroughTheSystemOutput()
{
    if (qEnvironmentVariableIsEmpty("NARREX_TEST_PULSE"))
        QSKIP("runs beside a PulseAudio null sink (tst_narrex_system_output)");
    start();
    QVERIFY(Narrex_GetVoiceDeviceNum() >= 1);
    QCOMPARE(speak(gbk(ShortChinese)), NARREX_OK);
    QTRY_VERIFY_WITH_TIMEOUT(Narrex_GetLocationInfo() > 0, 5000);
    // The sound server sees our stream: mono 16-bit at the synthesiser's rate.
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    QVERIFY(pactl.waitForFinished(5000));
    const QByteArray inputs = pactl.readAllStandardOutput();
    QVERIFY2(inputs.contains("s16le 1ch 22050Hz"), inputs.constData());
    QTRY_COMPARE_WITH_TIMEOUT(m_ends.count, 1, 15000);
}

void TestNarrex::readingProgressRisesToHundredAndEndsOnce()
{
    start();
    const QByteArray text = gbk(ShortChinese);
    const QString path = m_dir.filePath(QStringLiteral("length.wav"));
    QCOMPARE(toWave(text, path), NARREX_OK);
    const double seconds = WavFile::read(path).seconds();

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(speak(text), NARREX_OK);
    QList<int> seen;
    while (m_ends.count == 0 && clock.elapsed() < 30000) {
        seen << Narrex_GetLocationInfo();
        QTest::qWait(50);
    }
    const double took = clock.elapsed() / 1000.0;
    QCOMPARE(m_ends.count, 1);
    QCOMPARE(m_ends.last, QByteArray(NARREX_SDK_READ_END));
    QVERIFY(m_ends.onMainThread);
    QCOMPARE(Narrex_GetLocationInfo(), 100);

    // Played at real-time pace: never sooner than the same speech in a file
    // lasts (a busy machine may make it later; the end must come, which the
    // loop above waits for).
    QVERIFY2(took > seconds * 0.9,
        qPrintable(QStringLiteral("reading took %1 s, speech lasts %2 s").arg(took).arg(seconds)));
    for (int i = 1; i < seen.size(); ++i)
        QVERIFY2(seen[i] >= seen[i - 1],
            qPrintable(QStringLiteral("%1 then %2").arg(seen[i - 1]).arg(seen[i])));
    QVERIFY(!seen.contains(100) || seen.indexOf(100) >= seen.size() - 2);
    QVERIFY2(std::count_if(seen.begin(), seen.end(), [](int p) { return p > 0 && p < 100; }) >= 3,
        "progress should move through the reading");

    QTest::qWait(400);
    QCOMPARE(m_ends.count, 1);

    // A second reading notifies again, though the token is the same.
    QCOMPARE(speak(gbk(QStringLiteral("好。"))), NARREX_OK);
    QTRY_COMPARE_WITH_TIMEOUT(m_ends.count, 2, 10000);
}

void TestNarrex::pauseHoldsSoundAndProgress()
{
    start();
    QCOMPARE(speak(gbk(ShortChinese + ShortChinese)), NARREX_OK);
    QTRY_VERIFY_WITH_TIMEOUT(Narrex_GetLocationInfo() > 0, 5000);
    QCOMPARE(Narrex_PauseORContinue(), NARREX_OK);
    QTest::qWait(50);
    const int held = Narrex_GetLocationInfo();
    QTest::qWait(1500);
    QCOMPARE(Narrex_GetLocationInfo(), held);
    QCOMPARE(m_ends.count, 0);
    QCOMPARE(Narrex_PauseORContinue(), NARREX_OK);
    QTRY_VERIFY_WITH_TIMEOUT(Narrex_GetLocationInfo() > held, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_ends.count, 1, 20000);
}

void TestNarrex::stopEndsAtOnceWithoutNotification()
{
    start();
    QCOMPARE(speak(gbk(ShortChinese)), NARREX_OK);
    QTRY_VERIFY_WITH_TIMEOUT(Narrex_GetLocationInfo() > 0, 5000);
    QCOMPARE(Narrex_PauseORContinue(), NARREX_OK); // stop while paused, too
    QCOMPARE(Narrex_Stop(), NARREX_OK);
    QCOMPARE(Narrex_GetLocationInfo(), 0);
    QCOMPARE(Narrex_PauseORContinue(), NARREX_ERR_IDLE);
    QTest::qWait(4000);
    QCOMPARE(m_ends.count, 0);
    QCOMPARE(Narrex_Stop(), NARREX_OK); // stopping when idle is harmless
}

void TestNarrex::newReadingReplacesTheCurrentOne()
{
    start();
    QString longText;
    for (int i = 0; i < 20; ++i)
        longText += ShortChinese;
    QCOMPARE(speak(gbk(longText)), NARREX_OK);
    QTest::qWait(500);
    // The long text lasts about a minute: an end within 15 s is the short one's.
    QCOMPARE(speak(gbk(ShortEnglish), 1), NARREX_OK);
    QTRY_COMPARE_WITH_TIMEOUT(m_ends.count, 1, 15000);
    QCOMPARE(Narrex_GetLocationInfo(), 100);
    QTest::qWait(500);
    QCOMPARE(m_ends.count, 1);
}

void TestNarrex::closeInTheMiddleOfAReading()
{
    start();
    QString text;
    for (int i = 0; i < 8; ++i)
        text += ShortChinese; // about half a minute of speech
    QCOMPARE(speak(gbk(text)), NARREX_OK);
    QTRY_VERIFY_WITH_TIMEOUT(Narrex_GetLocationInfo() > 0, 5000);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Narrex_Close(), NARREX_OK);
    // It does not wait for the reading: far sooner than the speech would end.
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    QTest::qWait(300);
    QCOMPARE(m_ends.count, 0);
    QCOMPARE(Narrex_GetLocationInfo(), NARREX_ERR_NOT_INITIALIZED);

    // The engine starts again after a close.
    start();
    QCOMPARE(speak(gbk(QStringLiteral("好。"))), NARREX_OK);
    QTRY_COMPARE_WITH_TIMEOUT(m_ends.count, 1, 10000);
}

void TestNarrex::badRequestsAreRefused()
{
    start();
    QVERIFY(speak(QByteArray()) != NARREX_OK);
    QVERIFY(speak(gbk(ShortChinese), 7) != NARREX_OK);
    QVERIFY(Narrex_Speak(nullptr, 11, 4, 50, 100, 1, -1, "") != NARREX_OK);
    QVERIFY(Narrex_SpeakToWave(nullptr, "x.wav", 10, 4, 50, 100, 30, 1, "") != NARREX_OK);
    QVERIFY(Narrex_SpeakToWave("abc", nullptr, 10, 4, 50, 100, 30, 1, "") != NARREX_OK);
    QTest::qWait(300);
    QCOMPARE(m_ends.count, 0);
    QCOMPARE(Narrex_GetLocationInfo(), 0);

    // Blanks only: the reading starts and ends, so the caller returns to idle.
    QCOMPARE(speak("   "), NARREX_OK);
    QTRY_COMPARE_WITH_TIMEOUT(m_ends.count, 1, 5000);
}

void TestNarrex::invalidGbkIsReadAroundNotThrough()
{
    start();
    const QByteArray clean = gbk(QStringLiteral("你好 世界。"));
    const QByteArray broken
        = gbk(QStringLiteral("你好")) + QByteArray("\xff\x81 \xff") + gbk(QStringLiteral("世界。"));
    const QString a = m_dir.filePath(QStringLiteral("clean.wav"));
    const QString b = m_dir.filePath(QStringLiteral("broken.wav"));
    QCOMPARE(toWave(clean, a), NARREX_OK);
    QCOMPARE(toWave(broken, b), NARREX_OK);
    const double ca = WavFile::read(a).seconds();
    const double cb = WavFile::read(b).seconds();
    QVERIFY2(
        cb > ca * 0.8 && cb < ca * 1.3, qPrintable(QStringLiteral("%1 vs %2").arg(cb).arg(ca)));

    QCOMPARE(speak(broken), NARREX_OK);
    QTRY_COMPARE_WITH_TIMEOUT(m_ends.count, 1, 10000);
}

void TestNarrex::failedConversionLeavesOldFileWhole_data()
{
    QTest::addColumn<QString>("target"); // relative to a fresh folder
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("family");
    QTest::newRow("nothing_to_speak")
        << QStringLiteral("old.wav") << QStringLiteral("。。。") << 10;
    QTest::newRow("unknown_voice") << QStringLiteral("old.wav") << ShortChinese << 30;
    QTest::newRow("target_is_a_folder") << QStringLiteral("folder") << ShortChinese << 10;
    QTest::newRow("folder_missing") << QStringLiteral("missing/new.wav") << ShortChinese << 10;
    QTest::newRow("parent_is_a_file") << QStringLiteral("old.wav/new.wav") << ShortChinese << 20;
}

void TestNarrex::failedConversionLeavesOldFileWhole()
{
    QFETCH(QString, target);
    QFETCH(QString, text);
    QFETCH(int, family);
    start();
    QTemporaryDir dir;
    const QByteArray oldContent("an earlier recording");
    {
        QFile old(dir.filePath(QStringLiteral("old.wav")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(oldContent);
    }
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString path = dir.filePath(target);
    QVERIFY(Narrex_SpeakToWave(
                gbk(text).constData(), gbk(path).constData(), family, 4, 50, 100, 30, 1, "")
        != NARREX_OK);
    QFile old(dir.filePath(QStringLiteral("old.wav")));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), oldContent);
    // Nothing half-written is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList({QStringLiteral("folder"), QStringLiteral("old.wav")}));
    QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
}

void TestNarrex::conversionReportsItsProgressToAnotherThread()
{
    start();
    QString text;
    for (int i = 0; i < 300; ++i)
        text += ShortChinese;
    const QByteArray bytes = gbk(text);
    const QByteArray path = gbk(m_dir.filePath(QStringLiteral("progress.wav")));
    std::atomic<int> result {0};
    std::atomic<bool> done {false};
    std::thread worker([&] {
        result = Narrex_SpeakToWave(bytes.constData(), path.constData(), 10, 4, 50, 100, 30, 1, "");
        done = true;
    });
    // The state and the percentage come together: a conversion seen running
    // always has its percentage (it used to be cleared before the call
    // returned, so a poller could read 0 after 99).
    QList<int> seen;
    while (!done) {
        int32_t percent = -2;
        const int32_t state = Narrex_GetState(&percent);
        if (state & NARREX_STATE_CONVERTING)
            seen << percent;
        else
            QCOMPARE(percent, -1);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    worker.join();
    QCOMPARE(result.load(), NARREX_OK);
    QVERIFY2(std::count_if(seen.begin(), seen.end(), [](int p) { return p > 0 && p < 100; }) > 0,
        "no progress seen during the conversion");
    for (int i = 1; i < seen.size(); ++i)
        QVERIFY(seen[i] >= seen[i - 1] && seen[i] >= 0);
    int32_t percent = 0;
    QCOMPARE(Narrex_GetState(&percent), 0); // idle again
    QCOMPARE(percent, -1);
    QCOMPARE(Narrex_GetLocationInfo(), 0);
}

// What is heard, sentence by sentence, on a mixed Chinese and English text:
// the ranges come in order, never overlap, each sentence exactly once, and
// each maps back to exactly its sentence's bytes.
void TestNarrex::speakingRangeFollowsEachSentenceOnce()
{
    start();
    const QStringList sentences = {
        QStringLiteral("今天天气很好。"),
        QStringLiteral("We walk to the park! "),
        QStringLiteral("“真好玩！”"),
        QStringLiteral("Is it far? "),
        QStringLiteral("不远；"),
        QStringLiteral("走吧"),
    };
    // The last sentence ends with a line break instead of a stop.
    const QByteArray text = gbk(sentences.join(QString()) + QStringLiteral("\n再见。"));
    QCOMPARE(speak(text), NARREX_OK);
    struct Seen {
        int start, length;
    };
    QList<Seen> seenSentences;
    bool wordsInside = true;
    int wordsSeen = 0;
    QElapsedTimer timer;
    timer.start();
    while (m_ends.count == 0 && timer.elapsed() < 60000) {
        int32_t ss = 0, sl = 0, ws = 0, wl = 0;
        const int rc = Narrex_GetSpeakingRange(&ss, &sl, &ws, &wl);
        if (rc == NARREX_OK) {
            if (seenSentences.isEmpty() || seenSentences.last().start != ss)
                seenSentences.append({ss, sl});
            if (ws >= 0) {
                ++wordsSeen;
                wordsInside = wordsInside && ws >= ss && ws + wl <= ss + sl;
            }
        } else {
            QCOMPARE(rc, NARREX_ERR_IDLE);
            QCOMPARE(ss, -1);
        }
        QTest::qWait(10);
    }
    QCOMPARE(m_ends.count, 1);
    QStringList heard;
    for (int i = 0; i < seenSentences.size(); ++i) {
        const Seen &r = seenSentences[i];
        if (i > 0)
            QVERIFY(r.start >= seenSentences[i - 1].start + seenSentences[i - 1].length);
        heard << QStringDecoder("GBK").decode(text.mid(r.start, r.length));
    }
    QStringList expected;
    for (const QString &sentence : sentences)
        expected << sentence.trimmed();
    expected << QStringLiteral("再见。");
    QCOMPARE(heard, expected);
    QVERIFY(wordsSeen > 0);
    QVERIFY(wordsInside);
    // At the end: nothing.
    int32_t ss = 0;
    QCOMPARE(Narrex_GetSpeakingRange(&ss, nullptr, nullptr, nullptr), NARREX_ERR_IDLE);
    QCOMPARE(ss, -1);
}

void TestNarrex::speakingRangeIsNothingWhenNothingIsHeard()
{
    int32_t ss = 7, sl = 7, ws = 7, wl = 7;
    QCOMPARE(Narrex_GetSpeakingRange(&ss, &sl, &ws, &wl), NARREX_ERR_NOT_INITIALIZED);
    QCOMPARE(ss, -1);
    start();
    QCOMPARE(Narrex_GetSpeakingRange(&ss, &sl, &ws, &wl), NARREX_ERR_IDLE); // idle
    QCOMPARE((QList<int32_t> {ss, sl, ws, wl}), (QList<int32_t> {-1, 0, -1, 0}));
    QString longText;
    for (int i = 0; i < 40; ++i)
        longText += ShortChinese;
    const QByteArray text = gbk(longText);
    QCOMPARE(speak(text), NARREX_OK);
    QTRY_COMPARE(Narrex_GetSpeakingRange(&ss, &sl, nullptr, nullptr), NARREX_OK);
    QVERIFY(ss >= 0 && sl > 0);

    // A conversion beside the reading takes neither its range nor its
    // progress (it used to take both: the editor lost the highlight and the
    // progress bar showed the conversion's percentage).
    std::atomic<bool> done {false};
    const QByteArray path = gbk(m_dir.filePath(QStringLiteral("range.wav")));
    const QByteArray convert = gbk(longText + longText);
    std::thread worker([&] {
        Narrex_SpeakToWave(convert.constData(), path.constData(), 10, 4, 50, 100, 30, 1, "");
        done = true;
    });
    int rangesDuringConversion = 0;
    int highestConversion = 0;
    int highestReading = 0;
    while (!done) {
        int32_t percent = -1;
        const int32_t state = Narrex_GetState(&percent);
        if (state & NARREX_STATE_CONVERTING) {
            QVERIFY(state & NARREX_STATE_READING);
            highestConversion = std::max<int>(highestConversion, percent);
            highestReading = std::max<int>(highestReading, Narrex_GetLocationInfo());
            if (Narrex_GetSpeakingRange(&ss, nullptr, nullptr, nullptr) == NARREX_OK && ss >= 0)
                ++rangesDuringConversion;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    QVERIFY(rangesDuringConversion > 0);
    // The conversion races through its text; the reading is heard in real
    // time and has barely begun.
    QVERIFY2(highestConversion > 50 && highestReading < 20,
        qPrintable(QStringLiteral("conversion %1 %, reading %2 %")
                       .arg(highestConversion)
                       .arg(highestReading)));
    QCOMPARE(Narrex_GetSpeakingRange(nullptr, nullptr, nullptr, nullptr), NARREX_OK);

    // Paused: still the range; stopped: nothing.
    QCOMPARE(Narrex_PauseORContinue(), NARREX_OK);
    QCOMPARE(Narrex_GetSpeakingRange(nullptr, nullptr, nullptr, nullptr), NARREX_OK);
    QCOMPARE(Narrex_Stop(), NARREX_OK);
    QCOMPARE(Narrex_GetSpeakingRange(&ss, &sl, &ws, &wl), NARREX_ERR_IDLE);
    QCOMPARE((QList<int32_t> {ss, sl, ws, wl}), (QList<int32_t> {-1, 0, -1, 0}));
    QCOMPARE(m_ends.count, 0);
}

void TestNarrex::settingsDialogChangesLaterConversions()
{
    start();
    const QByteArray text = gbk(ShortChinese);
    const QString path = m_dir.filePath(QStringLiteral("rate.wav"));
    QCOMPARE(toWave(text, path), NARREX_OK);
    const double normal = WavFile::read(path).seconds();

    // Answer the dialog: cancel once, then set a fast rate and confirm.
    auto answer = [](bool confirm, int rate) {
        QTimer::singleShot(200, qApp, [=] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("语音设置"));
            auto *spin = dialog->findChild<QSpinBox *>(QStringLiteral("rate"));
            QVERIFY(spin);
            spin->setValue(rate);
            confirm ? dialog->accept() : dialog->reject();
        });
    };
    answer(false, 400);
    QCOMPARE(Narrex_SetDialog(0, ""), NARREX_ERR_CANCELLED);
    QCOMPARE(toWave(text, path), NARREX_OK);
    QVERIFY(WavFile::read(path).seconds() > normal * 0.9);

    answer(true, 400);
    QCOMPARE(Narrex_SetDialog(0, ""), NARREX_OK);
    QCOMPARE(toWave(text, path), NARREX_OK);
    const double fast = WavFile::read(path).seconds();
    QVERIFY2(fast < normal * 0.75, qPrintable(QStringLiteral("%1 vs %2").arg(fast).arg(normal)));

    // Kept by the engine across a restart.
    QCOMPARE(Narrex_Close(), NARREX_OK);
    start();
    QCOMPARE(toWave(text, path), NARREX_OK);
    QVERIFY(WavFile::read(path).seconds() < normal * 0.75);

    answer(true, 165);
    QCOMPARE(Narrex_SetDialog(0, ""), NARREX_OK);
}

void TestNarrex::chineseIsSpokenAsLongAsMandarinTakes()
{
    // Twenty lines of Tang poems last about as long as espeak-ng's own
    // Mandarin reading of them, and clearly less than its voice "cmn", which
    // spells each syllable out in English ("hao three").
    QFile poems(QStringLiteral("/usr/share/games/fortunes/tang300"));
    QVERIFY2(poems.open(QIODevice::ReadOnly), "fortunes-zh is needed by this test");
    QStringList lines;
    for (const QString &line : QString::fromUtf8(poems.readAll()).split(u'\n')) {
        if (line.contains(QStringLiteral("，")) && lines.size() < 20)
            lines << line.trimmed();
    }
    const QString text = lines.join(u'\n');
    const QString textFile = m_dir.filePath(QStringLiteral("poems.txt"));
    {
        QFile f(textFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
    start();
    const QString ours = m_dir.filePath(QStringLiteral("ours.wav"));
    QCOMPARE(toWave(gbk(text), ours), NARREX_OK);
    const auto espeak = [&](const QString &voice) {
        const QString out = m_dir.filePath(voice + QStringLiteral(".wav"));
        QProcess p;
        p.start(QStringLiteral("espeak-ng"),
            {QStringLiteral("-v"), voice, QStringLiteral("-s"), QStringLiteral("165"),
                QStringLiteral("-w"), out, QStringLiteral("-f"), textFile});
        return p.waitForFinished(60000) && p.exitCode() == 0 ? WavFile::read(out).seconds() : 0.0;
    };
    const double mine = WavFile::read(ours).seconds();
    const double mandarin = espeak(QStringLiteral("cmn-latn-pinyin+f2"));
    const double spelled = espeak(QStringLiteral("cmn+f2"));
    const QString figures = QStringLiteral("ours %1 s, Mandarin %2 s, spelled %3 s")
                                .arg(mine)
                                .arg(mandarin)
                                .arg(spelled);
    QVERIFY2(mandarin > 10 && mine > mandarin * 0.9 && mine < mandarin * 1.1, qPrintable(figures));
    QVERIFY2(spelled > mine * 1.2, qPrintable(figures));
}

void TestNarrex::mixedTextIsFollowedInItsOwnBytes()
{
    // Every word the engine says it is speaking is a piece of the text given
    // to it: a digit of 2026, 年, a Chinese character, or the English word.
    start();
    const QString text = QStringLiteral("价格在2026年上涨，iPhone也贵了。");
    const QByteArray bytes = gbk(text);
    QCOMPARE(speak(bytes), NARREX_OK);
    QSet<QString> heard;
    QElapsedTimer timer;
    timer.start();
    while (m_ends.count == 0 && timer.elapsed() < 30000) {
        int32_t ss = 0, sl = 0, ws = 0, wl = 0;
        if (Narrex_GetSpeakingRange(&ss, &sl, &ws, &wl) == NARREX_OK && ws >= 0)
            heard.insert(QStringDecoder("GBK").decode(bytes.mid(ws, wl)));
        QTest::qWait(5);
    }
    QCOMPARE(m_ends.count, 1);
    const QSet<QString> pieces = {u"价"_qs, u"格"_qs, u"在"_qs, u"2"_qs, u"0"_qs, u"6"_qs, u"年"_qs,
        u"上"_qs, u"涨"_qs, u"iPhone"_qs, u"也"_qs, u"贵"_qs, u"了"_qs};
    const QString seen = QStringList(heard.values()).join(u'|');
    QVERIFY2(heard.contains(u"iPhone"_qs) && heard.contains(u"2"_qs) && heard.contains(u"年"_qs),
        qPrintable(seen));
    QVERIFY2(heard.subtract(pieces).isEmpty(), qPrintable(seen));
}

void TestNarrex::englishInsideChineseMakesNoPause()
{
    // The English voice takes over within the sentence with no more than a
    // word's break: no clause pause (about 0.2 s and more) where it starts or
    // ends; a comma makes one.
    start();
    const QString path = m_dir.filePath(QStringLiteral("mixed.wav"));
    QCOMPARE(toWave(gbk(QStringLiteral("我用iPhone打电话我用USB充电")), path), NARREX_OK);
    const double mixed = WavFile::read(path).longestInnerSilence();
    QCOMPARE(toWave(gbk(QStringLiteral("我用iPhone，打电话")), path), NARREX_OK);
    const double comma = WavFile::read(path).longestInnerSilence();
    QVERIFY2(mixed < 0.12 && comma > 0.15,
        qPrintable(QStringLiteral("mixed %1 s, with a comma %2 s").arg(mixed).arg(comma)));
}

void TestNarrex::oldChineseVoiceSettingIsMoved()
{
    // A setting written when the Chinese voices were espeak-ng's "cmn" (which
    // spells Chinese out in English) names the pinyin voice after a start,
    // keeping its variant; the English voice is left as it was.
    {
        QSettings ini(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonarel"),
            QStringLiteral("Narrex"));
        ini.setValue(QStringLiteral("FemaleChinese/Voice"), QStringLiteral("cmn"));
        ini.setValue(QStringLiteral("FemaleChinese/Variant"), QStringLiteral("f4"));
        ini.setValue(QStringLiteral("MaleChinese/Voice"), QStringLiteral("cmn"));
        ini.setValue(QStringLiteral("MaleEnglish/Voice"), QStringLiteral("en-gb"));
    }
    start();
    QCOMPARE(Narrex_Close(), NARREX_OK);
    QSettings ini(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonarel"),
        QStringLiteral("Narrex"));
    QCOMPARE(ini.value(QStringLiteral("FemaleChinese/Voice")).toString(),
        QStringLiteral("cmn-latn-pinyin"));
    QCOMPARE(ini.value(QStringLiteral("FemaleChinese/Variant")).toString(), QStringLiteral("f4"));
    QCOMPARE(ini.value(QStringLiteral("MaleChinese/Voice")).toString(),
        QStringLiteral("cmn-latn-pinyin"));
    QCOMPARE(ini.value(QStringLiteral("MaleEnglish/Voice")).toString(), QStringLiteral("en-gb"));
    ini.clear();
}

void TestNarrex::settingsOfferOnlyVoicesThatReadChinese()
{
    // The two Chinese voices can only be set to espeak-ng's pinyin voice; every
    // variant offered with it speaks Chinese (sound, and Mandarin phonemes).
    start();
    QStringList chineseVoices, englishVoices, variants;
    QTimer::singleShot(200, qApp, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto items = [dialog](const char *name) {
            QStringList out;
            auto *box = dialog->findChild<QComboBox *>(QLatin1String(name));
            for (int i = 0; box && i < box->count(); ++i)
                out << box->itemData(i).toString();
            return out;
        };
        chineseVoices = items("femaleChineseVoice") + items("maleChineseVoice");
        englishVoices = items("maleEnglishVoice");
        variants = items("femaleChineseVariant");
        dialog->reject();
    });
    QCOMPARE(Narrex_SetDialog(0, ""), NARREX_ERR_CANCELLED);
    QCOMPARE(chineseVoices, (QStringList {u"cmn-latn-pinyin"_qs, u"cmn-latn-pinyin"_qs}));
    QVERIFY(englishVoices.contains(QStringLiteral("en-us")));
    for (const QString &v : std::as_const(englishVoices))
        QVERIFY2(v.startsWith(QStringLiteral("en")), qPrintable(v));
    QVERIFY(variants.size() > 5);

    QCOMPARE(Narrex_Close(), NARREX_OK);
    const QByteArray text = gbk(QStringLiteral("你好"));
    for (const QString &variant : std::as_const(variants)) {
        {
            QSettings ini(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonarel"),
                QStringLiteral("Narrex"));
            ini.setValue(QStringLiteral("FemaleChinese/Variant"), variant);
        }
        start();
        const QString path = m_dir.filePath(QStringLiteral("variant.wav"));
        QVERIFY2(toWave(text, path) == NARREX_OK, qPrintable(variant));
        QVERIFY2(WavFile::read(path).rms() > 0.01, qPrintable(variant));
        char buffer[256];
        QVERIFY(Narrex_GetReading(text.constData(), 3, 4, buffer, sizeof buffer) > 0);
        QVERIFY2(QByteArray(buffer).startsWith("n'i35"), buffer);
        QCOMPARE(Narrex_Close(), NARREX_OK);
    }
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonarel"),
        QStringLiteral("Narrex"))
        .clear();
}

void TestNarrex::pronunciationListIsEditedFromTheSettings()
{
    // The list is edited from the voice settings, saved beside the engine's
    // settings, its bad lines named, and the next reading follows it.
    start();
    const auto reading = [](const QString &text) {
        char buffer[512];
        Narrex_GetReading(gbk(text).constData(), 2, 4, buffer, sizeof buffer);
        return QString::fromUtf8(buffer);
    };
    QCOMPARE(reading(QStringLiteral("银行")), QStringLiteral("银:yin2 行:hang2"));
    QString problems;
    QTimer::singleShot(200, qApp, [&] {
        auto *settings = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(settings);
        auto *button = settings->findChild<QPushButton *>(QStringLiteral("pronunciations"));
        QVERIFY(button);
        QTimer::singleShot(200, qApp, [&, settings] {
            QWidget *list = QApplication::activeModalWidget();
            QVERIFY(list && list->objectName() == QLatin1String("PronunciationListDialog"));
            auto *edit = list->findChild<QPlainTextEdit *>(QStringLiteral("list"));
            QVERIFY(edit);
            edit->setPlainText(QStringLiteral("银行 yin2 xing2\n坏 x9\n"));
            for (QPushButton *b : list->findChildren<QPushButton *>()) {
                if (b->text() == QStringLiteral("保存(&S)"))
                    b->click();
            }
            problems = list->findChild<QLabel *>(QStringLiteral("problems"))->text();
            qobject_cast<QDialog *>(list)->reject();
            QTimer::singleShot(0, settings, &QDialog::reject);
        });
        button->click();
    });
    QCOMPARE(Narrex_SetDialog(0, ""), NARREX_ERR_CANCELLED);
    QVERIFY2(problems.contains(QStringLiteral("第 2 行")), qPrintable(problems));
    QCOMPARE(reading(QStringLiteral("银行")), QStringLiteral("银:yin2 行:xing2"));

    QFile file(QFileInfo(QSettings(QSettings::IniFormat, QSettings::UserScope,
                             QStringLiteral("Sonarel"), QStringLiteral("Narrex"))
                             .fileName())
                   .path()
        + QStringLiteral("/Pronunciations.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("银行 yin2 xing2\n坏 x9\n"));
    file.remove();
    QCOMPARE(reading(QStringLiteral("银行")), QStringLiteral("银:yin2 行:hang2"));
}

QTEST_MAIN(TestNarrex)
#include "tst_narrex.moc"
