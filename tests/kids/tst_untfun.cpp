// The character list file: helpers, line rules, groups, cards and where the
// file lies; and the card deck's order and pace rules.

#include "carddeck.h"
#include "randomsource.h"
#include "untfun.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <set>

namespace {

QByteArray gbk(const QString &s)
{
    return QStringEncoder("GBK").encode(s);
}

QStringList cardTexts(const QList<QByteArray> &cards)
{
    QStringList out;
    for (const QByteArray &c : cards)
        out << QStringDecoder("GBK").decode(c);
    return out;
}

} // namespace

class TestUntfun : public QObject
{
    Q_OBJECT

private slots:
    void helpers();
    void listsAndCards_data();
    void listsAndCards();
    void lineBreaks_data();
    void lineBreaks();
    void utf8ListsBecomeWholeCharacters();
    void listFileLocation();
    void missingAndUnreadableFiles();
    void editorTextToFileAndBack();
    void deckDrawsInOrderOrAtRandom();
    void clockFieldRule_data();
    void clockFieldRule();
    void tallyCountsEachMark_data();
    void tallyCountsEachMark();
    void visibleMarks_data();
    void visibleMarks();
};

void TestUntfun::helpers()
{
    const QString sep = QDir::separator();
    QCOMPARE(Untfun::AddBackslash(QString()), QString());
    QCOMPARE(Untfun::AddBackslash(QStringLiteral("/a")), QStringLiteral("/a") + sep);
    QCOMPARE(Untfun::AddBackslash(QStringLiteral("/a") + sep), QStringLiteral("/a") + sep);
    QCOMPARE(Untfun::LeftPart("abcd", 2), QByteArray("ab"));
    QCOMPARE(Untfun::LeftPart("abcd", 9), QByteArray("abcd"));
    QCOMPARE(Untfun::LeftPart("abcd", 0), QByteArray());
    QCOMPARE(Untfun::RightPart("abcd", 3), QByteArray("bcd"));
    QCOMPARE(Untfun::RightPart("abcd", 4), QByteArray("abcd"));
    QVERIFY(Untfun::isLeadByte('\x81'));
    QVERIFY(Untfun::isLeadByte('\xFE'));
    QVERIFY(!Untfun::isLeadByte('\x80'));
    QVERIFY(!Untfun::isLeadByte('\xFF'));
    QVERIFY(!Untfun::isLeadByte('a'));
}

// A file's lines, and the groups and the first group's cards they give.
void TestUntfun::listsAndCards_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("firstCards");
    QTest::newRow("one_group") << "一年级=天地人" << QStringList {"一年级"}
                               << QStringList {"天", "地", "人"};
    QTest::newRow("first_equals_counts") << "a=b=c" << QStringList {"a"} << QStringList {"b=", "c"};
    QTest::newRow("empty_name") << "=山水" << QStringList {""} << QStringList {"山", "水"};
    QTest::newRow("digits_pair_up") << "数=123" << QStringList {"数"} << QStringList {"12", "3"};
    QTest::newRow("latin_before_chinese")
        << "x=ab天" << QStringList {"x"} << QStringList {"ab", "天"};
    QTest::newRow("chinese_between_latin")
        << "x=a天b" << QStringList {"x"} << QStringList {"a", "天", "b"};
    QTest::newRow("empty_characters_blank_card")
        << "空=" << QStringList {"空"} << QStringList {"\r\n"};
    QTest::newRow("nothing_trimmed")
        << " 名 = 天 " << QStringList {" 名 "} << QStringList {" ", "天", " "};
    QTest::newRow("blank_before_chinese")
        << "x=a 天" << QStringList {"x"} << QStringList {"a ", "天"};
    QTest::newRow("lines_without_equals_skipped")
        << "标题\n\n二年级=上下\n   \n三年级=大小" << QStringList {"二年级", "三年级"}
        << QStringList {"上", "下"};
    QTest::newRow("duplicate_names_kept")
        << "甲=一\n甲=二" << QStringList {"甲", "甲"} << QStringList {"一"};
    QTest::newRow("only_blank_lines") << "\n\n  \n标题" << QStringList {} << QStringList {};
    // GBK that is well-formed UTF-8 too ("ľĿţŮë") is still read as GBK.
    QTest::newRow("gbk_that_reads_as_utf8")
        << "1=木目牛女毛" << QStringList {"1"} << QStringList {"木", "目", "牛", "女", "毛"};
}

void TestUntfun::listsAndCards()
{
    QFETCH(QString, file);
    QFETCH(QStringList, names);
    QFETCH(QStringList, firstCards);
    const Untfun::List list = Untfun::parseList(gbk(file));
    QCOMPARE(list.names, names);
    QCOMPARE(list.groups.size(), names.size());
    if (names.isEmpty())
        return;
    QList<QByteArray> cards {QByteArray("kept")};
    Untfun::SplitCards(list.groups.first(), cards); // appends, does not clear
    QCOMPARE(cards.first(), QByteArray("kept"));
    QCOMPARE(cardTexts(cards.mid(1)), firstCards);
}

void TestUntfun::lineBreaks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QList<QByteArray> {"a", "b"};
    QTest::newRow("lone_cr") << QByteArray("a\rb") << QList<QByteArray> {"a", "b"};
    QTest::newRow("lone_lf") << QByteArray("a\nb") << QList<QByteArray> {"a", "b"};
    QTest::newRow("mixed_and_empty")
        << QByteArray("a\n\r\nb\r\rc") << QList<QByteArray> {"a", "", "b", "", "c"};
    QTest::newRow("last_without_break") << QByteArray("a\r\nb") << QList<QByteArray> {"a", "b"};
    QTest::newRow("nul_ends_the_text")
        << QByteArray("a=1\nb=2\0c=3", 11) << QList<QByteArray> {"a=1", "b=2"};
    QTest::newRow("empty") << QByteArray() << QList<QByteArray> {};
}

void TestUntfun::lineBreaks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(Untfun::splitLines(bytes), lines);
}

void TestUntfun::utf8ListsBecomeWholeCharacters()
{
    // Saved by today's editors: UTF-8, with or without a byte-order mark.
    for (const QByteArray &bytes : {QStringLiteral("颜色=红黄蓝").toUtf8(),
             QByteArray("\xEF\xBB\xBF") + QStringLiteral("颜色=红黄蓝").toUtf8()}) {
        const Untfun::List list = Untfun::parseList(bytes);
        QCOMPARE(list.names, QStringList {"颜色"});
        QList<QByteArray> cards;
        Untfun::SplitCards(list.groups.first(), cards);
        QCOMPARE(cardTexts(cards), (QStringList {"红", "黄", "蓝"}));
    }
}

void TestUntfun::listFileLocation()
{
    QTemporaryDir program, fallback;
    const QString inProgram = Untfun::AddBackslash(program.path()) + "tavimo.txt";
    const QString inFallback = Untfun::AddBackslash(fallback.path()) + "tavimo.txt";
    // Neither: the fallback folder's name, though it is not there.
    QCOMPARE(Untfun::locateListFile(program.path(), fallback.path()), inFallback);
    QFile f(inFallback);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QCOMPARE(Untfun::locateListFile(program.path(), fallback.path()), inFallback);
    // In both: the program folder's only.
    QFile p(inProgram);
    QVERIFY(p.open(QIODevice::WriteOnly));
    p.close();
    QCOMPARE(Untfun::locateListFile(program.path(), fallback.path()), inProgram);
}

void TestUntfun::missingAndUnreadableFiles()
{
    QTemporaryDir dir;
    QString error;
    const std::optional<Untfun::List> missing
        = Untfun::LoadList(dir.filePath("tavimo.txt"), &error);
    QVERIFY(missing);
    QVERIFY(missing->names.isEmpty());
    QVERIFY(error.isEmpty());
    // A folder where the file should be cannot be read: an error naming it.
    QDir(dir.path()).mkdir("tavimo.txt");
    QVERIFY(!Untfun::LoadList(dir.filePath("tavimo.txt"), &error));
    QVERIFY(error.contains("tavimo.txt"));
}

void TestUntfun::editorTextToFileAndBack()
{
    const Untfun::Encoded e = Untfun::fileOfText(QStringLiteral("一=天地\n二=山水\n"));
    QCOMPARE(e.bytes, gbk(QStringLiteral("一=天地\r\n二=山水\r\n")));
    QVERIFY(e.unencodable.isEmpty());
    QCOMPARE(Untfun::textOfFile(e.bytes), QStringLiteral("一=天地\r\n二=山水\r\n"));
    // What the editor writes reads back as it was written, though these
    // bytes are well-formed UTF-8 as well.
    const QString common = QStringLiteral("1=木目牛女毛\n2=猫平千前\n3=全去鹿路\n");
    const Untfun::Encoded c = Untfun::fileOfText(common);
    QCOMPARE(Untfun::textOfFile(c.bytes), QString(common).replace(u"\n"_qs, u"\r\n"_qs));
    const Untfun::Encoded bad = Untfun::fileOfText(QStringLiteral("一=天\n笑=😀好"));
    QCOMPARE(bad.unencodable, QStringLiteral("😀"));
    QCOMPARE(bad.line, 2);
}

void TestUntfun::deckDrawsInOrderOrAtRandom()
{
    RandomSource random(5);
    CardDeck deck;
    QVERIFY(!deck.NextCard(false, random)); // no cards: nothing, 第 0 字
    QCOMPARE(deck.positionText(), QStringLiteral("第 0 字"));
    deck.setGroup(gbk(QStringLiteral("天地人")));
    QStringList order;
    for (int i = 0; i < 4; ++i)
        order << QStringDecoder("GBK").decode(*deck.NextCard(false, random));
    QCOMPARE(order, (QStringList {"天", "地", "人", "天"}));
    QCOMPARE(deck.positionText(), QStringLiteral("第 1 字"));
    // From random to in order: on from the last random place.
    deck.NextCard(true, random);
    const int at = deck.CardPos;
    deck.NextCard(false, random);
    QCOMPARE(deck.CardPos, at % 3 + 1);
    // A group change starts again from card 1.
    deck.setGroup(gbk(QStringLiteral("上下")));
    QCOMPARE(QStringDecoder("GBK").decode(*deck.NextCard(false, random)), QStringLiteral("上"));
    // At random every card comes, and only cards of the group.
    std::set<int> seen;
    for (int i = 0; i < 100; ++i) {
        deck.NextCard(true, random);
        QVERIFY(deck.CardPos >= 1 && deck.CardPos <= 2);
        seen.insert(deck.CardPos);
    }
    QCOMPARE(seen.size(), size_t(2));
}

void TestUntfun::clockFieldRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("interval");
    QTest::newRow("empty") << "" << 1000;
    QTest::newRow("below") << "700" << 1000;
    QTest::newRow("above") << "9000" << 5000;
    QTest::newRow("text") << "abc" << 1000;
    QTest::newRow("within") << "2500" << 2500;
    QTest::newRow("odd_step") << "1700" << 1700;
}

void TestUntfun::clockFieldRule()
{
    QFETCH(QString, text);
    QFETCH(int, interval);
    QCOMPARE(CardDeck::clockInterval(text), interval);
}

void TestUntfun::tallyCountsEachMark_data()
{
    QTest::addColumn<QString>("marks"); // R right, W wrong, 0 a new opening
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("wrong");
    QTest::newRow("none") << "" << 0 << 0;
    QTest::newRow("rights") << "RRR" << 3 << 0;
    QTest::newRow("mixed") << "RWWRW" << 2 << 3;
    QTest::newRow("reopened") << "RRW0W" << 0 << 1;
    QTest::newRow("many") << QString(120, u'R') + QString(30, u'W') << 120 << 30;
}

void TestUntfun::tallyCountsEachMark()
{
    QFETCH(QString, marks);
    QFETCH(int, right);
    QFETCH(int, wrong);
    CardTally tally;
    for (QChar c : std::as_const(marks)) {
        if (c == u'0')
            tally.reset();
        else
            tally.mark(c == u'R' ? CardTally::Answer::Right : CardTally::Answer::Wrong);
    }
    QCOMPARE(tally.right(), right);
    QCOMPARE(tally.wrong(), wrong);
    QCOMPARE(tally.count(CardTally::Answer::Right), right);
    QCOMPARE(tally.count(CardTally::Answer::Wrong), wrong);
}

void TestUntfun::visibleMarks_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("visible");
    // The card window's rows are 464 pixels at an 18-pixel pitch: 25 whole
    // marks and part of the 26th.
    QTest::newRow("none") << 0 << 464 << 0;
    QTest::newRow("a few") << 7 << 464 << 7;
    QTest::newRow("the whole ones") << 25 << 464 << 25;
    QTest::newRow("the cut one") << 26 << 464 << 26;
    QTest::newRow("more than fit") << 300 << 464 << 26;
    QTest::newRow("a row of whole marks only") << 30 << 450 << 25;
    QTest::newRow("no row") << 5 << 0 << 0;
}

void TestUntfun::visibleMarks()
{
    QFETCH(int, count);
    QFETCH(int, width);
    QFETCH(int, visible);
    QCOMPARE(CardTally::visibleMarks(count, width, 18), visible);
}

QTEST_GUILESS_MAIN(TestUntfun)
#include "tst_untfun.moc"
