#include "textencoding.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

using TextEncoding::Encoding;

class TestTextEncoding : public QObject
{
    Q_OBJECT

private slots:
    void detectsTheEncodingOfAFile_data();
    void detectsTheEncodingOfAFile();
    void everyShortGbkTextOfCommonCharactersReadsBack();
    void gbkRoundTripsAndNamesWhatItCannotHold();
    void offsetsMapEveryUnitToItsBytes();
};

void TestTextEncoding::detectsTheEncodingOfAFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("text");

    QTest::newRow("gbk") << QByteArray("\xc4\xe3\xba\xc3") << int(Encoding::Gbk)
                         << QStringLiteral("你好");
    QTest::newRow("utf8_no_bom") << QByteArray("\xe4\xbd\xa0\xe5\xa5\xbd") << int(Encoding::Utf8)
                                 << QStringLiteral("你好");
    // The decoder drops the byte-order mark.
    QTest::newRow("utf8_bom") << QByteArray("\xef\xbb\xbf"
                                            "ab")
                              << int(Encoding::Utf8) << QStringLiteral("ab");
    QTest::newRow("utf16le_bom") << QByteArray("\xff\xfe\x60\x4f", 4) << int(Encoding::Utf16LE)
                                 << QStringLiteral("你");
    QTest::newRow("utf16be_bom") << QByteArray("\xfe\xff\x4f\x60", 4) << int(Encoding::Utf16BE)
                                 << QStringLiteral("你");
    QTest::newRow("ascii_is_gbk") << QByteArray("plain") << int(Encoding::Gbk)
                                  << QStringLiteral("plain");
    // GBK bytes that happen to be well-formed UTF-8 are rare; these are not.
    QTest::newRow("gbk_not_utf8") << QByteArray("\xd6\xd0\xce\xc4") << int(Encoding::Gbk)
                                  << QStringLiteral("中文");
    QTest::newRow("utf8_cut_mid_character")
        << QByteArray("\xe4\xbd\xa0\xe5") << int(Encoding::Utf8) << QStringLiteral("你\uFFFD");
    QTest::newRow("overlong_is_not_utf8")
        << QByteArray("\xc0\xaf") << int(Encoding::Gbk) << QString();
    // Short GBK often reads as two-byte UTF-8 too ("1=木目牛女毛" as
    // "1=ľĿţŮë"): the more likely text wins.
    QTest::newRow("short_gbk_that_reads_as_utf8")
        << QByteArray("=\xc9\xbd\xcb\xae") << int(Encoding::Gbk) << QStringLiteral("=山水");
    QTest::newRow("list_line_that_reads_as_utf8")
        << QByteArray("1=\xc4\xbe\xc4\xbf\xc5\xa3\xc5\xae\xc3\xab") << int(Encoding::Gbk)
        << QStringLiteral("1=木目牛女毛");
    QTest::newRow("gbk_deer_road")
        << QByteArray("\xc2\xb9\xc2\xb7\r\n") << int(Encoding::Gbk) << QStringLiteral("鹿路\r\n");
    QTest::newRow("accented_latin_utf8")
        << QByteArray("caf\xc3\xa9") << int(Encoding::Utf8) << QStringLiteral("café");
    QTest::newRow("german_utf8") << QByteArray("M\xc3\xbcller") << int(Encoding::Utf8)
                                 << QStringLiteral("Müller");
    QTest::newRow("russian_utf8") << QByteArray("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82")
                                  << int(Encoding::Utf8) << QStringLiteral("Привет");
    QTest::newRow("greek_utf8") << QStringLiteral("Καλημέρα κόσμε").toUtf8() << int(Encoding::Utf8)
                                << QStringLiteral("Καλημέρα κόσμε");
    QTest::newRow("utf8_bom_before_two_byte_text") << QByteArray("\xef\xbb\xbf"
                                                                 "1=\xc4\xbe")
                                                   << int(Encoding::Utf8) << QStringLiteral("1=ľ");
    QTest::newRow("short_utf8_chinese")
        << QByteArray("\xe4\xb8\xad\xe6\x96\x87") << int(Encoding::Utf8) << QStringLiteral("中文");
    QTest::newRow("surrogate_is_not_utf8")
        << QByteArray("\xed\xa0\x80") << int(Encoding::Gbk) << QString();
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

void TestTextEncoding::everyShortGbkTextOfCommonCharactersReadsBack()
{
    // What the list editor writes, a line "N=characters" in GBK, reads back
    // as it was written for every character of GB2312 and any short run of
    // them, although many such texts are well-formed UTF-8 as well.
    QList<QString> characters;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            QByteArray code(2, '\0');
            code[0] = char(lead);
            code[1] = char(trail);
            const QString c = TextEncoding::fromGbk(code);
            if (c.size() == 1 && c != u"\uFFFD")
                characters << c;
        }
    }
    QVERIFY(characters.size() > 6700);
    int alsoUtf8 = 0;
    const auto check = [&](const QString &text) {
        const QByteArray bytes = TextEncoding::toGbk(text).bytes;
        QStringDecoder utf8(QStringDecoder::Utf8);
        utf8.decode(bytes);
        alsoUtf8 += utf8.hasError() ? 0 : 1;
        QCOMPARE(TextEncoding::decode(bytes).text, text);
    };
    for (const QString &c : std::as_const(characters)) {
        check(QStringLiteral("1=") + c);
        check(c + c + QStringLiteral("\r\n"));
    }
    QRandomGenerator random(7);
    for (int i = 0; i < 20000; ++i) {
        QString line = QString::number(random.bounded(1, 40)) + u'=';
        for (int k = random.bounded(1, 7); k > 0; --k)
            line += characters.at(random.bounded(characters.size()));
        check(line + QStringLiteral("\r\n"));
    }
    QVERIFY2(alsoUtf8 > 1000, "the texts include many that are well-formed UTF-8 too");
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
    QCOMPARE(r.unitOffsets, (std::vector<qint32> {0, 1, 3, 3, 4, 5, 6, 7, 9}));
    QCOMPARE(qsizetype(r.unitOffsets.size()), text.size() + 1);
    QVERIFY(TextEncoding::toGbk(text).unitOffsets.empty()); // only when asked for
}

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
