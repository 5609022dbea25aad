#include "sentences.h"

#include <QTest>

using Range = Sentences::Range;

class TestSentences : public QObject
{
    Q_OBJECT

private slots:
    void splitsWhereTheReaderPauses_data();
    void splitsWhereTheReaderPauses();
    void findsTheSentenceAtAPosition();
};

void TestSentences::splitsWhereTheReaderPauses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("sentences");
    const auto row = [](const char *tag, const QString &text, const QStringList &sentences) {
        QTest::newRow(tag) << text << sentences;
    };
    row("chinese_stops", u"今天很好。你呢？我也好！真的；嗯…"_qs,
        {u"今天很好。"_qs, u"你呢？"_qs, u"我也好！"_qs, u"真的；"_qs, u"嗯…"_qs});
    row("ascii_stop_needs_a_blank", u"It costs 3.50 yuan. Cheap! Right?"_qs,
        {u"It costs 3.50 yuan."_qs, u"Cheap!"_qs, u"Right?"_qs});
    row("closers_belong_to_the_sentence", u"他说：“好！”然后走了。(Yes.) Fine"_qs,
        {u"他说：“好！”"_qs, u"然后走了。"_qs, u"(Yes.)"_qs, u"Fine"_qs});
    row("repeated_stops_stay_together", u"什么？！真的吗？？"_qs,
        {u"什么？！"_qs, u"真的吗？？"_qs});
    row("line_breaks_end_sentences", u"第一行\n第二行\r\n\n第三行"_qs,
        {u"第一行"_qs, u"第二行"_qs, u"第三行"_qs});
    row("blanks_belong_to_none", u"  甲。  乙。 "_qs, {u"甲。"_qs, u"乙。"_qs});
    row("empty", QString(), {});
    row("only_blanks", u"   \n  "_qs, {});
}

void TestSentences::splitsWhereTheReaderPauses()
{
    QFETCH(QString, text);
    QFETCH(QStringList, sentences);
    QStringList got;
    for (const Range &r : Sentences::split(text))
        got << text.mid(r.start, r.end - r.start);
    QCOMPARE(got, sentences);
}

void TestSentences::findsTheSentenceAtAPosition()
{
    const QString text = u"甲乙。  丙丁！"_qs;
    QCOMPARE(Sentences::at(text, 0), (Range {0, 3}));
    QCOMPARE(Sentences::at(text, 2), (Range {0, 3}));
    QCOMPARE(Sentences::at(text, 4), (Range {5, 8})); // in the blanks: the next one
    QCOMPARE(Sentences::at(text, 7), (Range {5, 8}));
    QCOMPARE(Sentences::at(text, 8), (Range {5, 8})); // at the end: the last one
    QCOMPARE(Sentences::at(QString(), 0), (Range {0, 0}));
}

QTEST_GUILESS_MAIN(TestSentences)
#include "tst_sentences.moc"
