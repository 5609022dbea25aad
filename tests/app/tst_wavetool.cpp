// parlix-wave as a user runs it: a process with arguments, files and exit codes.

#include "wavfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Tool = QStringLiteral(PARLIX_BIN_DIR "/parlix-wave");

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList &args, const QString &program = Tool)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
        QString::fromLocal8Bit(p.readAllStandardOutput()),
        QString::fromLocal8Bit(p.readAllStandardError())};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QString Sample = QStringLiteral("春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。");

} // namespace

class TestWaveTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void helpExplainsTheTool();
    void badUsageGivesAMessageAndCode_data();
    void badUsageGivesAMessageAndCode();
    void gbkAndUtf8InputSpeakAlike();
    void voicesAndSpeedChangeTheResult();
    void progressBarOnRequest();
    void fullDiskKeepsTheOldFile();
    void missingEngineIsNamed();
    void checksShowWhatIsSaid_data();
    void checksShowWhatIsSaid();
    void checksGiveALineForEachLine();

private:
    QTemporaryDir m_dir;
};

void TestWaveTool::helpExplainsTheTool()
{
    const Run r = runTool({QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    for (const char *word : {"INPUT", "OUTPUT", "--voice", "--encoding", "--speed", "female",
             "male", "--normalize", "--pinyin", "--phonemes"})
        QVERIFY2(r.out.contains(QLatin1String(word)), word);
    // The usage names the files once.
    const QString usage = r.out.section(u'\n', 0, 0);
    QCOMPARE(usage.count(QStringLiteral("INPUT")), 1);
    QCOMPARE(usage.count(QStringLiteral("OUTPUT")), 1);
}

void TestWaveTool::badUsageGivesAMessageAndCode_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString out = QDir::temp().filePath(QStringLiteral("parlix-never.wav"));
    QTest::newRow("no_arguments") << QStringList {} << 2 << QStringLiteral("exactly one INPUT");
    QTest::newRow("unknown_option") << QStringList {QStringLiteral("--loud"), QStringLiteral("a"),
        out} << 2 << QStringLiteral("loud");
    QTest::newRow("unknown_voice")
        << QStringList {QStringLiteral("-v"), QStringLiteral("child"), QStringLiteral("a"), out}
        << 2 << QStringLiteral("child");
    QTest::newRow("speed_out_of_range") << QStringList {QStringLiteral("-s"), QStringLiteral("101"),
        QStringLiteral("a"), out} << 2 << QStringLiteral("speed");
    QTest::newRow("input_missing") << QStringList {QStringLiteral("/nonexistent/in.txt"), out} << 3
                                   << QStringLiteral("/nonexistent/in.txt");
    QTest::newRow("check_with_output") << QStringList {QStringLiteral("--pinyin"),
        QStringLiteral("a"), out} << 2 << QStringLiteral("no OUTPUT");
    QTest::newRow("two_checks") << QStringList {QStringLiteral("--pinyin"),
        QStringLiteral("--phonemes"), QStringLiteral("a")}
                                << 2 << QStringLiteral("only one");
    QTest::newRow("english_voice_converts_nothing")
        << QStringList {QStringLiteral("-v"), QStringLiteral("english"), QStringLiteral("a"), out}
        << 2 << QStringLiteral("english");
}

void TestWaveTool::badUsageGivesAMessageAndCode()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    const Run r = runTool(args);
    QCOMPARE(r.exitCode, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(QDir::temp().filePath(QStringLiteral("parlix-never.wav"))));
}

void TestWaveTool::gbkAndUtf8InputSpeakAlike()
{
    const QString utf8In = m_dir.filePath(QStringLiteral("utf8.txt"));
    const QString gbkIn = m_dir.filePath(QStringLiteral("gbk.txt"));
    writeFile(utf8In, Sample.toUtf8());
    writeFile(gbkIn, QStringEncoder("GBK").encode(Sample));
    const QString a = m_dir.filePath(QStringLiteral("from-utf8.wav"));
    const QString b = m_dir.filePath(QStringLiteral("from-gbk.wav"));
    QCOMPARE(runTool({QStringLiteral("-q"), utf8In, a}).exitCode, 0);
    QCOMPARE(runTool({QStringLiteral("-q"), gbkIn, b}).exitCode, 0);
    const WavFile wa = WavFile::read(a);
    const WavFile wb = WavFile::read(b);
    QVERIFY(wa.valid && wb.valid);
    QVERIFY(wa.seconds() > 3);
    QVERIFY(std::abs(wa.seconds() - wb.seconds()) < 0.05 * wa.seconds());

    // Forcing the wrong encoding reads garbage: a different result.
    const QString c = m_dir.filePath(QStringLiteral("forced.wav"));
    QCOMPARE(runTool({QStringLiteral("-q"), QStringLiteral("--encoding"), QStringLiteral("gbk"),
                         utf8In, c})
                 .exitCode,
        0);
    QVERIFY(std::abs(WavFile::read(c).seconds() - wa.seconds()) > 0.05 * wa.seconds());
}

void TestWaveTool::voicesAndSpeedChangeTheResult()
{
    const QString in = m_dir.filePath(QStringLiteral("in.txt"));
    writeFile(in, (Sample + QStringLiteral("\U0001F600")).toUtf8());
    const QString f = m_dir.filePath(QStringLiteral("f.wav"));
    const QString m = m_dir.filePath(QStringLiteral("m.wav"));
    const QString fast = m_dir.filePath(QStringLiteral("fast.wav"));
    const Run rf = runTool({QStringLiteral("-q"), in, f});
    QCOMPARE(rf.exitCode, 0);
    QVERIFY2(rf.err.contains(QStringLiteral("outside GBK")), qPrintable(rf.err)); // the emoji
    QCOMPARE(runTool({QStringLiteral("-q"), QStringLiteral("--voice=male"), in, m}).exitCode, 0);
    QCOMPARE(runTool({QStringLiteral("-q"), QStringLiteral("--speed=100"), in, fast}).exitCode, 0);
    const WavFile wf = WavFile::read(f);
    QVERIFY(WavFile::read(m).medianPitchHz() < wf.medianPitchHz());
    QVERIFY(WavFile::read(fast).seconds() < wf.seconds() * 0.7);
}

void TestWaveTool::progressBarOnRequest()
{
    const QString in = m_dir.filePath(QStringLiteral("long.txt"));
    QString text;
    for (int i = 0; i < 60; ++i)
        text += Sample;
    writeFile(in, text.toUtf8());
    const Run r
        = runTool({QStringLiteral("--progress"), in, m_dir.filePath(QStringLiteral("long.wav"))});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.contains(QStringLiteral("] 100%")), qPrintable(r.err));
    QVERIFY(r.err.contains(u'#'));
    // Not a terminal and not asked for: nothing on stderr.
    QCOMPARE(runTool({in, m_dir.filePath(QStringLiteral("quiet.wav"))}).err, QString());
}

void TestWaveTool::fullDiskKeepsTheOldFile()
{
    // A file size limit makes writes fail the way a full disk does.
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    QString text;
    for (int i = 0; i < 20; ++i)
        text += Sample;
    writeFile(in, text.toUtf8());
    const QString out = dir.filePath(QStringLiteral("out.wav"));
    writeFile(out, QByteArray("old recording"));
    const QString script
        = QStringLiteral("trap '' XFSZ; ulimit -f 100; exec \"$0\" -q \"$1\" \"$2\"");
    const Run r = runTool({QStringLiteral("-c"), script, Tool, in, out}, QStringLiteral("/bin/sh"));
    QCOMPARE(r.exitCode, 4);
    QVERIFY2(r.err.contains(QStringLiteral("could not be written")), qPrintable(r.err));
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old recording"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestWaveTool::missingEngineIsNamed()
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("parlix-wave"));
    QVERIFY(QFile::copy(Tool, copy));
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    writeFile(in, Sample.toUtf8());
    const Run r = runTool({in, dir.filePath(QStringLiteral("out.wav"))}, copy);
    QCOMPARE(r.exitCode, 5);
    QVERIFY2(r.err.contains(QStringLiteral("libSonarel.so")), qPrintable(r.err));
}

void TestWaveTool::checksShowWhatIsSaid_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("voice");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("normalize") << QStringLiteral("--normalize") << QStringLiteral("female")
                               << QStringLiteral("今天是2024年5月12日，3.5%")
                               << QStringLiteral("今天是二零二四年五月十二日，百分之三点五");
    QTest::newRow("pinyin") << QStringLiteral("--pinyin") << QStringLiteral("male")
                            << QStringLiteral("出题 5加6")
                            << QStringLiteral("出:chu1 题:ti2 五:wu3 加:jia1 六:liu4");
    QTest::newRow("pinyin_english")
        << QStringLiteral("--pinyin") << QStringLiteral("female") << QStringLiteral("A股和iPhone")
        << QStringLiteral("A:letter 股:gu3 和:he2 iPhone:en");
    // espeak-ng's own third-tone rule still applies to the pinyin handed over:
    // 你好 ni3 hao3 is spoken ni35 hao214.
    QTest::newRow("phonemes") << QStringLiteral("--phonemes") << QStringLiteral("female")
                              << QStringLiteral("你好") << QStringLiteral("n'i35_| X'Au214_|");
    QTest::newRow("phonemes_english_marked")
        << QStringLiteral("--phonemes") << QStringLiteral("female") << QStringLiteral("好OK")
        << QStringLiteral("X'Au214_| (en)'oU k'eI(cmn)");
}

void TestWaveTool::checksShowWhatIsSaid()
{
    QFETCH(QString, option);
    QFETCH(QString, voice);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString in = m_dir.filePath(QStringLiteral("check.txt"));
    writeFile(in, QStringEncoder("GBK").encode(text));
    QProcess p;
    p.start(Tool, {option, QStringLiteral("--voice"), voice, in});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), expected);
}

void TestWaveTool::checksGiveALineForEachLine()
{
    // From standard input, blank lines and all; the English voice reads an
    // English line in English and the Chinese in it as Mandarin.
    QProcess p;
    p.start(Tool,
        {QStringLiteral("--phonemes"), QStringLiteral("-v"), QStringLiteral("english"),
            QStringLiteral("-")});
    p.write("Good morning.\n\n\xc4\xe3\xba\xc3\n"); // 你好 in GBK
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    QCOMPARE(lines.size(), 4); // three lines and the final line break
    QVERIFY2(lines[0].contains(QStringLiteral("m'O@nIN")), qPrintable(lines[0]));
    QVERIFY(!lines[0].contains(QStringLiteral("(cmn)")));
    QCOMPARE(lines[1], QString());
    QCOMPARE(lines[2], QStringLiteral("(cmn)n'i35_| X'Au214_|(en)"));
}

QTEST_GUILESS_MAIN(TestWaveTool)
#include "tst_wavetool.moc"
