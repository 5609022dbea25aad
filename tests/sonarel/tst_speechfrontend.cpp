// What the engine hands the synthesiser: Chinese as pinyin for the Mandarin
// voice, English words for the English voice, every spoken token mapped back
// to the text it reads.

#include "gbktext.h"
#include "pinyindata.h"
#include "sentences.h"
#include "speechfrontend.h"
#include "synthesizer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>

namespace {

QString runsOf(const std::vector<SpeechRun> &runs)
{
    QStringList out;
    for (const SpeechRun &r : runs)
        out << (r.language == SpeechRun::Mandarin ? QStringLiteral("cmn[") : QStringLiteral("en["))
                + r.text + u']';
    return out.join(u' ');
}

// The Chinese text of fortunes-zh, without its colour codes and separators.
QStringList fortuneLines()
{
    QStringList lines;
    static const QRegularExpression colour(QStringLiteral("\x1b\\[[0-9;]*m"));
    for (const char *name : {"chinese", "tang300", "song100"}) {
        QFile f(QStringLiteral("/usr/share/games/fortunes/") + QLatin1String(name));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        for (QString line : QString::fromUtf8(f.readAll()).split(u'\n')) {
            line.remove(colour);
            if (line != u"%")
                lines << line;
        }
    }
    return lines;
}

} // namespace

class TestSpeechFrontEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readsWhatAChineseReaderSays_data();
    void readsWhatAChineseReaderSays();
    void eachLanguageGoesToItsVoice_data();
    void eachLanguageGoesToItsVoice();
    void tokensMapBackToTheTextTheyRead();
    void noChineseEverReachesTheEnglishVoice();
    void everySyllableIsReadAsMandarin();
    void enginePiecesAreTheProgramsSentences();

private:
    const PinyinData *m_data = nullptr;
};

void TestSpeechFrontEnd::initTestCase()
{
    m_data = PinyinData::shared();
    QVERIFY2(m_data, qPrintable(PinyinData::defaultPath()));
}

void TestSpeechFrontEnd::readsWhatAChineseReaderSays_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pinyin");
    const auto row = [](const char *why, const char16_t *text, const char *pinyin) {
        QTest::newRow(why) << QString::fromUtf16(text) << QString::fromUtf8(pinyin);
    };
    // The phrases other windows have spoken.
    row("drill_question", u"出题 5加6", "出:chu1 题:ti2 五:wu3 加:jia1 六:liu4");
    row("calendar_today", u"今天是2024年5月12日",
        "今:jin1 天:tian1 是:shi4 二:er4 零:ling2 二:er4 四:si4 年:nian2 五:wu3 月:yue4 十:shi2 "
        "二:er4 日:ri4");
    row("drill_verdict", u"答对了", "答:da2 对:dui4 了:le5");
    // 一 and 不 take the tone the next syllable asks for; counted, 一 keeps yi1.
    row("yi_before_fourth_tone", u"一个", "一:yi2 个:ge4");
    row("yi_before_third_tone", u"一起", "一:yi4 起:qi3");
    row("yi_as_ordinal", u"第一", "第:di4 一:yi1");
    row("yi_between_repeats", u"看一看", "看:kan4 一:yi5 看:kan4");
    row("yi_after_ten", u"十一", "十:shi2 一:yi1");
    row("yi_counting_digit", u"1个人", "一:yi2 个:ge4 人:ren2");
    row("yi_in_a_decimal", u"1.5米", "一:yi1 点:dian3 五:wu3 米:mi3");
    row("yi_before_hundred", u"100元", "一:yi4 百:bai3 元:yuan2");
    row("bu_before_fourth_tone", u"不对", "不:bu2 对:dui4");
    row("bu_before_third_tone", u"不好", "不:bu4 好:hao3");
    row("bu_between_repeats", u"去不去", "去:qu4 不:bu5 去:qu4");
    // ü written v; the neutral tone 5; 儿 a syllable of its own.
    row("u_umlaut_as_v", u"绿女", "绿:lv4 女:nv3");
    row("neutral_tone", u"桌子", "桌:zhuo1 子:zi5");
    row("erhua", u"哪儿", "哪:na3 儿:er5");
    // Traditional characters read as their simplified forms are.
    row("traditional", u"銀行音樂", "銀:yin2 行:hang2 音:yin1 樂:yue4");
    // English inside Chinese: capitals and single letters spelled.
    row("letters_and_words", u"用USB连iPhone买A股",
        "用:yong4 U:letter S:letter B:letter 连:lian2 iPhone:en 买:mai3 A:letter 股:gu3");
}

void TestSpeechFrontEnd::readsWhatAChineseReaderSays()
{
    QFETCH(QString, text);
    QFETCH(QString, pinyin);
    SpeechFrontEnd frontEnd(m_data);
    QCOMPARE(frontEnd.pinyin(text, false), pinyin);
}

void TestSpeechFrontEnd::eachLanguageGoesToItsVoice_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("englishVoice");
    QTest::addColumn<QString>("runs");
    QTest::newRow("english_word_inside_chinese")
        << QStringLiteral("我用iPhone打电话。") << false
        << QStringLiteral("cmn[wo3 yong4] en[iPhone] cmn[da3 dian4 hua4。]");
    QTest::newRow("pause_before_the_english_word")
        << QStringLiteral("你好，Tom！") << false << QStringLiteral("cmn[ni3 hao3，] en[Tom!]");
    QTest::newRow("english_sentence_as_it_stands")
        << QStringLiteral("I have 3 apples.") << false << QStringLiteral("en[I have 3 apples.]");
    QTest::newRow("chinese_inside_english_voice")
        << QStringLiteral("Hello 你好") << true << QStringLiteral("en[Hello] cmn[ni3 hao3。]");
    QTest::newRow("numbers_alone_in_chinese_voice") << QStringLiteral(
        "2026") << false << QStringLiteral("cmn[liang3 qian1 ling2 er4 shi2 liu4。]");
    QTest::newRow("numbers_alone_in_english_voice")
        << QStringLiteral("2026") << true << QStringLiteral("en[2026.]");
    QTest::newRow("only_punctuation") << QStringLiteral("……！") << false << QString();
}

void TestSpeechFrontEnd::eachLanguageGoesToItsVoice()
{
    QFETCH(QString, text);
    QFETCH(bool, englishVoice);
    QFETCH(QString, runs);
    SpeechFrontEnd frontEnd(m_data);
    QCOMPARE(runsOf(frontEnd.process(text, englishVoice)), runs);
}

void TestSpeechFrontEnd::tokensMapBackToTheTextTheyRead()
{
    // Each token the synthesiser reports as a word maps to the characters it
    // reads: a syllable of 2026年 to its digit, the English word to itself.
    const QString text = QStringLiteral("他在2026年买了iPhone。");
    SpeechFrontEnd frontEnd(m_data);
    const std::vector<SpeechRun> runs = frontEnd.process(text, false);
    QCOMPARE(runs.size(), size_t(2)); // Mandarin, then the English word to the end
    QStringList read;
    for (const SpeechRun &run : runs) {
        for (const SpeechRun::Token &t : run.tokens) {
            const qsizetype next
                = &t == &run.tokens.back() ? run.text.size() : (&t + 1)->spokenStart;
            QString spoken = run.text.mid(t.spokenStart, next - t.spokenStart).trimmed();
            spoken.remove(QRegularExpression(QStringLiteral("[，。！？.!?]$")));
            read << spoken + u'=' + text.mid(t.sourceStart, t.sourceEnd - t.sourceStart);
            // The synthesiser's position of any character of the token finds it.
            QCOMPARE(run.tokenAt(qint32(next - 1)), &t);
        }
    }
    QCOMPARE(read,
        (QStringList {u"ta1=他"_qs, u"zai4=在"_qs, u"er4=2"_qs, u"ling2=0"_qs, u"er4=2"_qs,
            u"liu4=6"_qs, u"nian2=年"_qs, u"mai3=买"_qs, u"le5=了"_qs, u"iPhone=iPhone"_qs}));
}

void TestSpeechFrontEnd::noChineseEverReachesTheEnglishVoice()
{
    // Over the whole Chinese text of fortunes-zh: every Chinese character is
    // read by a Mandarin token, and every Mandarin run holds nothing but
    // syllables of the reading data and Chinese pause marks, so espeak-ng's
    // pinyin voice has nothing it could take for English.
    const QStringList lines = fortuneLines();
    QVERIFY2(lines.size() > 30000, "fortunes-zh is needed by this test");
    SpeechFrontEnd frontEnd(m_data);
    qint64 han = 0;
    qint64 read = 0;
    QStringList unread;
    for (const QString &line : lines) {
        for (const Sentences::Range &r : Sentences::split(line)) {
            const QString sentence = line.mid(r.start, r.end - r.start);
            std::vector<bool> covered(size_t(sentence.size()), false);
            for (const SpeechRun &run : frontEnd.process(sentence, false)) {
                for (const SpeechRun::Token &t : run.tokens) {
                    if (run.language == SpeechRun::Mandarin) {
                        for (qint32 i = t.sourceStart; i < t.sourceEnd; ++i)
                            covered[size_t(i)] = true;
                    }
                }
                if (run.language != SpeechRun::Mandarin)
                    continue;
                for (QStringView word : QStringView(run.text).split(u' ')) {
                    while (!word.isEmpty() && QStringLiteral("，。！？").contains(word.back()))
                        word.chop(1);
                    QVERIFY2(m_data->findSyllable(word.toLatin1()) != PinyinData::NoSyllable,
                        qPrintable(sentence + QStringLiteral(" → ") + run.text));
                }
            }
            for (qsizetype i = 0; i < sentence.size(); ++i) {
                if (!HanReader::isHan(sentence[i].unicode()))
                    continue;
                ++han;
                if (covered[size_t(i)])
                    ++read;
                else if (unread.size() < 10)
                    unread << sentence.mid(i, 1);
            }
        }
    }
    QVERIFY(han > 300000);
    QVERIFY2(read == han,
        qPrintable(
            QStringLiteral("%1 of %2 unread: %3").arg(han - read).arg(han).arg(unread.join(u' '))));
}

void TestSpeechFrontEnd::everySyllableIsReadAsMandarin()
{
    // Every syllable the front-end can hand over, through espeak-ng's pinyin
    // voice: none is read as English ("(en)" in what it synthesises), and
    // each gives a tone of its own.
    QString error;
    QVERIFY2(Synthesizer::instance().initialize(&error), qPrintable(error));
    SynthParams params;
    params.mandarinVoice = "cmn-latn-pinyin";
    params.englishVoice = "en-us";
    QByteArray all;
    for (int i = 0; i < m_data->syllableCount(); ++i) {
        const QLatin1StringView s = m_data->syllable(uint16_t(i));
        all += QByteArray(s.data(), s.size()) + "，";
    }
    const QByteArray phonemes = Synthesizer::instance().phonemes(params, false, all);
    QVERIFY(!phonemes.isEmpty());
    QVERIFY2(!phonemes.contains("(en)"), phonemes.left(2000).constData());
    // One word a syllable, each ending in its tone's contour digits.
    const QList<QByteArray> words = phonemes.split(' ');
    QCOMPARE(words.size(), m_data->syllableCount());
}

void TestSpeechFrontEnd::enginePiecesAreTheProgramsSentences()
{
    // The engine speaks a text sentence by sentence, the program moves and
    // reads from the cursor by sentences: both by the same rule.
    const QString text = QStringLiteral(
        "今天很好。你呢？我也好！真的；嗯…  It costs 3.50 yuan. Cheap! (Yes.) Fine\n"
        "他说：“好！”然后走了。什么？！\r\n\n第三行");
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(text);
    QList<QString> pieces;
    TextPieceReader reader(bytes);
    TextPiece piece;
    while (reader.next(piece))
        pieces << piece.text;
    QList<QString> sentences;
    for (const Sentences::Range &r : Sentences::split(text))
        sentences << text.mid(r.start, r.end - r.start);
    QCOMPARE(pieces, sentences);
}

QTEST_GUILESS_MAIN(TestSpeechFrontEnd)
#include "tst_speechfrontend.moc"
