#include "gbktext.h"

#include <QStringEncoder>
#include <QTest>

namespace {

QByteArray gbk(const QString &s)
{
    QStringEncoder enc("GBK");
    QByteArray b = enc.encode(s);
    Q_ASSERT(!enc.hasError());
    return b;
}

QStringList readAll(const QByteArray &bytes, int maxChars = 250)
{
    QStringList out;
    TextPieceReader reader(bytes, maxChars);
    TextPiece piece;
    while (reader.next(piece))
        out << piece.text;
    return out;
}

} // namespace

class TestGbkText : public QObject
{
    Q_OBJECT

private slots:
    void decodeMapsEveryCharacterToItsBytes_data();
    void decodeMapsEveryCharacterToItsBytes();
    void sentencesSplitWhereAReaderPauses_data();
    void sentencesSplitWhereAReaderPauses();
    void piecesCoverTheTextInOrderAndMapBack();
    void longRunWithoutPunctuationIsCutAtAClause();
    void hostileBytesNeverStopTheRestBeingRead();
};

void TestGbkText::decodeMapsEveryCharacterToItsBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("offsets");

    QTest::newRow("ascii") << QByteArray("ab c") << QStringLiteral("ab c")
                           << QList<int> {0, 1, 2, 3, 4};
    QTest::newRow("chinese") << gbk(QStringLiteral("你好")) << QStringLiteral("你好")
                             << QList<int> {0, 2, 4};
    QTest::newRow("mixed") << gbk(QStringLiteral("a你b")) << QStringLiteral("a你b")
                           << QList<int> {0, 1, 3, 4};
    // The second byte of 淺 is a backslash, of 丂 an '@': both are trail bytes.
    QTest::newRow("ascii_looking_trail_bytes")
        << gbk(QStringLiteral("淺丂x")) << QStringLiteral("淺丂x") << QList<int> {0, 2, 4, 5};
    QTest::newRow("euro_single_byte") << QByteArray("\x80"
                                                    "1")
                                      << QStringLiteral("€1") << QList<int> {0, 1, 2};
    QTest::newRow("ff_is_not_a_character") << QByteArray("a\xff"
                                                         "b")
                                           << QStringLiteral("a b") << QList<int> {0, 1, 2, 3};
    QTest::newRow("lead_byte_at_end")
        << QByteArray("a\xc4") << QStringLiteral("a ") << QList<int> {0, 1, 2};
    QTest::newRow("lead_byte_before_blank")
        << QByteArray("\xc4 a") << QStringLiteral("  a") << QList<int> {0, 1, 2, 3};
    // 'a' can be a trail byte: after a lead byte it is part of the character.
    QTest::newRow("lead_byte_takes_ascii_trail") << QByteArray("\xc4"
                                                               "a")
                                                 << QStringLiteral("\u8176") << QList<int> {0, 2};
    QTest::newRow("control_characters_become_blanks") << QByteArray(
        "a\x01\x1b"
        "b\n") << QStringLiteral("a  b\n") << QList<int> {0, 1, 2, 3, 4, 5};
    QTest::newRow("empty") << QByteArray() << QString() << QList<int> {0};
}

void TestGbkText::decodeMapsEveryCharacterToItsBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QList<int>, offsets);
    const DecodedText d = decodeGbk(bytes);
    QCOMPARE(d.text, text);
    QCOMPARE(QList<int>(d.offsets.begin(), d.offsets.end()), offsets);
}

void TestGbkText::sentencesSplitWhereAReaderPauses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("chinese_stops")
        << QStringLiteral("你好。真的吗？是的！好；走…")
        << QStringList {QStringLiteral("你好。"), QStringLiteral("真的吗？"),
               QStringLiteral("是的！"), QStringLiteral("好；"), QStringLiteral("走…")};
    QTest::newRow("closing_quote_belongs_to_sentence")
        << QStringLiteral("他说：“走吧。”我们走了。")
        << QStringList {QStringLiteral("他说：“走吧。”"), QStringLiteral("我们走了。")};
    QTest::newRow("english_needs_a_blank_after_the_stop")
        << QStringLiteral("It costs 3.5 yuan. Yes! (Really.) ok")
        << QStringList {QStringLiteral("It costs 3.5 yuan."), QStringLiteral("Yes!"),
               QStringLiteral("(Really.)"), QStringLiteral("ok")};
    QTest::newRow("line_breaks_end_sentences")
        << QStringLiteral("第一行\r\n第二行\n\n  第三行")
        << QStringList {
               QStringLiteral("第一行"), QStringLiteral("第二行"), QStringLiteral("第三行")};
    QTest::newRow("repeated_stops_stay_together") << QStringLiteral(
        "什么？！……好吧。") << QStringList {QStringLiteral("什么？！……"), QStringLiteral("好吧。")};
    QTest::newRow("only_blanks") << QStringLiteral(" \t\r\n ") << QStringList {};
}

void TestGbkText::sentencesSplitWhereAReaderPauses()
{
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    QCOMPARE(readAll(gbk(text)), pieces);
}

void TestGbkText::piecesCoverTheTextInOrderAndMapBack()
{
    // Long enough to cross several decoding windows, with Chinese and Latin text.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("第%1句话，含有English words。").arg(i);
    const QByteArray bytes = gbk(text);

    TextPieceReader reader(bytes);
    TextPiece piece;
    qint64 lastEnd = 0;
    int count = 0;
    while (reader.next(piece)) {
        QVERIFY(piece.byteStart >= lastEnd);
        QVERIFY(piece.byteEnd > piece.byteStart);
        // The piece is exactly the text of its byte range.
        const QByteArray slice = bytes.mid(piece.byteStart, piece.byteEnd - piece.byteStart);
        QCOMPARE(piece.text, decodeGbk(slice).text);
        QCOMPARE(qsizetype(piece.offsets.size()), piece.text.size() + 1);
        QCOMPARE(piece.offsets.back(), piece.byteEnd - piece.byteStart);
        QCOMPARE(piece.text, QStringLiteral("第%1句话，含有English words。").arg(count));
        lastEnd = piece.byteEnd;
        ++count;
    }
    QCOMPARE(count, 3000);
    QCOMPARE(lastEnd, bytes.size());
}

void TestGbkText::longRunWithoutPunctuationIsCutAtAClause()
{
    QString text;
    for (int i = 0; i < 100; ++i)
        text += QStringLiteral("一二三四五六七八九，");
    const QStringList pieces = readAll(gbk(text), 45);
    QVERIFY(pieces.size() > 1);
    for (const QString &p : pieces) {
        QVERIFY2(p.size() <= 45, qPrintable(p));
        QVERIFY2(p.endsWith(u'，'), qPrintable(p)); // cut after a clause, not mid-word
    }
    QCOMPARE(pieces.join(QString()), text);

    // No break at all: cut at the limit.
    const QStringList hard = readAll(gbk(QString(100, u'字')), 30);
    QCOMPARE(hard.size(), 4);
    QCOMPARE(hard.join(QString()), QString(100, u'字'));
}

void TestGbkText::hostileBytesNeverStopTheRestBeingRead()
{
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes.append(char((i * 131 + 7) % 256 == 0 ? 1 : (i * 131 + 7) % 256));
    // A line break is never part of a GBK character, so reading finds its feet again.
    bytes += '\n' + gbk(QStringLiteral("最后一句。"));
    TextPieceReader reader(bytes);
    TextPiece piece;
    QString last;
    qint64 end = 0;
    while (reader.next(piece)) {
        last = piece.text;
        end = piece.byteEnd;
    }
    QCOMPARE(last, QStringLiteral("最后一句。"));
    QCOMPARE(end, bytes.size());
}

QTEST_GUILESS_MAIN(TestGbkText)
#include "tst_gbktext.moc"
