#include "textencoding.h"

#include <QTest>

using TextEncoding::Encoding;

class TestTextEncoding : public QObject
{
    Q_OBJECT

private slots:
    void detectsTheEncodingOfAFile_data();
    void detectsTheEncodingOfAFile();
    void gbkRoundTripsAndNamesWhatItCannotHold();
    void offsetsMapEveryUnitToItsBytes();
};

void TestTextEncoding::detectsTheEncodingOfAFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("text");

    QTest::newRow("gbk") << QByteArray("\xc4\xe3\xba\xc3") << int(Encoding::Gbk) << QStringLiteral("你好");
    QTest::newRow("utf8_no_bom") << QByteArray("\xe4\xbd\xa0\xe5\xa5\xbd") << int(Encoding::Utf8) << QStringLiteral("你好");
    // The decoder drops the byte-order mark.
    QTest::newRow("utf8_bom") << QByteArray("\xef\xbb\xbf" "ab") << int(Encoding::Utf8) << QStringLiteral("ab");
    QTest::newRow("utf16le_bom") << QByteArray("\xff\xfe\x60\x4f", 4) << int(Encoding::Utf16LE) << QStringLiteral("你");
    QTest::newRow("utf16be_bom") << QByteArray("\xfe\xff\x4f\x60", 4) << int(Encoding::Utf16BE) << QStringLiteral("你");
    QTest::newRow("ascii_is_gbk") << QByteArray("plain") << int(Encoding::Gbk) << QStringLiteral("plain");
    // GBK bytes that happen to be well-formed UTF-8 are rare; these are not.
    QTest::newRow("gbk_not_utf8") << QByteArray("\xd6\xd0\xce\xc4") << int(Encoding::Gbk) << QStringLiteral("中文");
    QTest::newRow("utf8_cut_mid_character") << QByteArray("\xe4\xbd\xa0\xe5") << int(Encoding::Utf8) << QStringLiteral("你\uFFFD");
    QTest::newRow("overlong_is_not_utf8") << QByteArray("\xc0\xaf") << int(Encoding::Gbk) << QString();
    // Short GBK often reads as two-byte UTF-8 too; such text is GBK unless
    // its two-byte characters are all Latin letters.
    QTest::newRow("short_gbk_that_reads_as_utf8") << QByteArray("=\xc9\xbd\xcb\xae") << int(Encoding::Gbk) << QStringLiteral("=山水");
    QTest::newRow("accented_latin_utf8") << QByteArray("caf\xc3\xa9") << int(Encoding::Utf8) << QStringLiteral("café");
    QTest::newRow("surrogate_is_not_utf8") << QByteArray("\xed\xa0\x80") << int(Encoding::Gbk) << QString();
}

void TestTextEncoding::detectsTheEncodingOfAFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, text);
    const TextEncoding::Decoded d = TextEncoding::decode(bytes);
    QCOMPARE(int(d.encoding), encoding);
    if (!text.isEmpty())
        QCOMPARE(d.text, text);
}

void TestTextEncoding::gbkRoundTripsAndNamesWhatItCannotHold()
{
    const QString ok = QStringLiteral("你好，World！淺€");
    const TextEncoding::GbkResult a = TextEncoding::toGbk(ok);
    QCOMPARE(a.firstUnencodable, -1);
    QCOMPARE(TextEncoding::fromGbk(a.bytes), ok);
    QCOMPARE(a.bytes.left(4), QByteArray("\xc4\xe3\xba\xc3"));

    const QString bad = QStringLiteral("好\U0001F600吗\u0E01");
    const TextEncoding::GbkResult b = TextEncoding::toGbk(bad);
    QCOMPARE(b.firstUnencodable, 1);
    QCOMPARE(b.unencodableCount, 2);
    QCOMPARE(TextEncoding::fromGbk(b.bytes), QStringLiteral("好 吗 "));

    // Long text goes through in runs; a surrogate pair on a run's edge stays whole.
    QString longText = QString(4095, u'中') + QStringLiteral("\U0001F600") + QString(5000, u'文');
    const TextEncoding::GbkResult c = TextEncoding::toGbk(longText);
    QCOMPARE(c.firstUnencodable, 4095);
    QCOMPARE(c.unencodableCount, 1);
    QCOMPARE(c.bytes.size(), 2 * (4095 + 5000) + 1);
}

// Each UTF-16 unit's byte offset, so positions in the engine's GBK bytes map
// back to the editor's text: one byte for ASCII and the euro sign, two for
// Chinese, one blank for a whole surrogate pair.
void TestTextEncoding::offsetsMapEveryUnitToItsBytes()
{
    const QString text = QStringLiteral("a中😀b€ก。");
    const TextEncoding::GbkResult r = TextEncoding::toGbk(text, true);
    QCOMPARE(r.bytes, QByteArray("a\xd6\xd0 b\x80 \xa1\xa3"));
    QCOMPARE(r.unitOffsets, (std::vector<qint32>{0, 1, 3, 3, 4, 5, 6, 7, 9}));
    QCOMPARE(qsizetype(r.unitOffsets.size()), text.size() + 1);
    QVERIFY(TextEncoding::toGbk(text).unitOffsets.empty()); // only when asked for
}

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
