#include "wavwriter.h"

#include "wavfile.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

class TestWavWriter : public QObject
{
    Q_OBJECT

private slots:
    void writtenFileReadsBackAsPcm();
    void headerDescribesTheData_data();
    void headerDescribesTheData();
};

void TestWavWriter::writtenFileReadsBackAsPcm()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.wav"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    WavWriter w(&f, 22050);
    QVERIFY(w.begin());
    std::vector<int16_t> s(1001);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = int16_t(i * 37 - 16000);
    QVERIFY(w.write(s.data(), 600));
    QVERIFY(w.write(s.data() + 600, 401));
    QVERIFY(w.finish());
    f.close();

    const WavFile wav = WavFile::read(path);
    QVERIFY(wav.valid);
    QCOMPARE(wav.container, QByteArray("RIFF"));
    QCOMPARE(wav.sampleRate, 22050);
    QCOMPARE(wav.channels, 1);
    QCOMPARE(wav.samples, s);
    QCOMPARE(QFileInfo(path).size(), WavWriter::HeaderBytes + 2002);
    // The RIFF size covers the whole file but its first eight bytes.
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(qFromLittleEndian<quint32>(f.read(8).constData() + 4), quint32(f.size() - 8));
}

void TestWavWriter::headerDescribesTheData_data()
{
    QTest::addColumn<qint64>("dataBytes");
    QTest::addColumn<bool>("rf64");
    const qint64 riffLimit = 0xFFFFFFFFll - (WavWriter::HeaderBytes - 8);
    QTest::newRow("empty") << qint64(0) << false;
    QTest::newRow("largest_riff") << riffLimit << false;
    QTest::newRow("one_byte_past_riff") << riffLimit + 2 << true;
    QTest::newRow("eleven_hours_times_four") << qint64(7'000'000'000) << true;
}

void TestWavWriter::headerDescribesTheData()
{
    QFETCH(qint64, dataBytes);
    QFETCH(bool, rf64);
    const QByteArray h = WavWriter::header(22050, dataBytes);
    QCOMPARE(h.size(), WavWriter::HeaderBytes);
    QCOMPARE(h.mid(8, 4), QByteArray("WAVE"));
    QCOMPARE(h.mid(48, 4), QByteArray("fmt "));
    QCOMPARE(h.mid(72, 4), QByteArray("data"));
    const char *p = h.constData();
    if (!rf64) {
        QCOMPARE(h.left(4), QByteArray("RIFF"));
        QCOMPARE(h.mid(12, 4), QByteArray("JUNK"));
        QCOMPARE(
            qFromLittleEndian<quint32>(p + 4), quint32(dataBytes + WavWriter::HeaderBytes - 8));
        QCOMPARE(qFromLittleEndian<quint32>(p + 76), quint32(dataBytes));
    } else {
        QCOMPARE(h.left(4), QByteArray("RF64"));
        QCOMPARE(h.mid(12, 4), QByteArray("ds64"));
        QCOMPARE(qFromLittleEndian<quint32>(p + 4), 0xFFFFFFFFu);
        QCOMPARE(qFromLittleEndian<quint32>(p + 76), 0xFFFFFFFFu);
        QCOMPARE(
            qFromLittleEndian<quint64>(p + 20), quint64(dataBytes + WavWriter::HeaderBytes - 8));
        QCOMPARE(qFromLittleEndian<quint64>(p + 28), quint64(dataBytes));
        QCOMPARE(qFromLittleEndian<quint64>(p + 36), quint64(dataBytes / 2));
    }
}

QTEST_GUILESS_MAIN(TestWavWriter)
#include "tst_wavwriter.moc"
