// The drill's rules over every bound and operation with fixed seeds.

#include "mathdrill.h"
#include "randomsource.h"

#include <QTest>

#include <set>

using Op = MathDrill::Operation;

class TestMathDrill : public QObject
{
    Q_OBJECT

private slots:
    void operandsKeepTheirRules_data();
    void operandsKeepTheirRules();
    void divisionWithTheSmallestBoundAsksFivePairs();
    void boundsOutsideTheSpinnerAreClamped();
    void choicesAreSixDistinctAroundTheAnswer_data();
    void choicesAreSixDistinctAroundTheAnswer();
    void answerIsEquallyLikelyInEachPlace();
    void wordsAndSigns();
    void picksAreJudgedAgainstTheBoard_data();
    void picksAreJudgedAgainstTheBoard();
    void phrases();
};

void TestMathDrill::operandsKeepTheirRules_data()
{
    QTest::addColumn<int>("op");
    for (int op = 0; op < 4; ++op)
        QTest::addRow("%s", qPrintable(MathDrill::word(Op(op)))) << op;
}

void TestMathDrill::operandsKeepTheirRules()
{
    QFETCH(int, op);
    const Op operation = Op(op);
    RandomSource random(1234 + op);
    MathDrill drill(random);
    for (int n = MathDrill::MinBound; n <= MathDrill::MaxBound; ++n) {
        int minAnswer = INT_MAX, maxAnswer = INT_MIN;
        for (int i = 0; i < 300; ++i) {
            const MathDrill::Question q = drill.PickOperands(operation, n);
            QVERIFY(q.a >= 1 && q.a <= n);
            QVERIFY(q.b >= 1 && q.b <= n);
            switch (operation) {
            case Op::Add:
                QCOMPARE(q.answer, q.a + q.b);
                break;
            case Op::Subtract:
                QVERIFY(q.a >= q.b);
                QCOMPARE(q.answer, q.a - q.b);
                break;
            case Op::Multiply:
                QCOMPARE(q.answer, q.a * q.b);
                break;
            case Op::Divide:
                QCOMPARE(q.a % q.b, 0);
                QVERIFY(q.a != q.b);
                QCOMPARE(q.answer * q.b, q.a);
                break;
            }
            minAnswer = std::min(minAnswer, q.answer);
            maxAnswer = std::max(maxAnswer, q.answer);
        }
        // Answers within the operation's range.
        switch (operation) {
        case Op::Add:
            QVERIFY(minAnswer >= 2 && maxAnswer <= 2 * n);
            break;
        case Op::Subtract:
            QVERIFY(minAnswer >= 0 && maxAnswer <= n - 1);
            break;
        case Op::Multiply:
            QVERIFY(minAnswer >= 1 && maxAnswer <= n * n);
            break;
        case Op::Divide:
            QVERIFY(minAnswer >= 2 && maxAnswer <= n);
            break;
        }
    }
}

void TestMathDrill::divisionWithTheSmallestBoundAsksFivePairs()
{
    RandomSource random(9);
    MathDrill drill(random);
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < 500; ++i) {
        const MathDrill::Question q = drill.PickOperands(Op::Divide, 5);
        seen.insert({q.a, q.b});
    }
    QCOMPARE(seen, (std::set<std::pair<int, int>> {{2, 1}, {3, 1}, {4, 1}, {5, 1}, {4, 2}}));
}

void TestMathDrill::boundsOutsideTheSpinnerAreClamped()
{
    RandomSource random(3);
    MathDrill drill(random);
    for (int bound : {-100, 0, 4}) {
        for (int op = 0; op < 4; ++op) {
            const MathDrill::Question q = drill.PickOperands(Op(op), bound);
            QVERIFY(q.a >= 1 && q.a <= 5 && q.b >= 1 && q.b <= 5);
        }
    }
    for (int op = 0; op < 4; ++op) {
        const MathDrill::Question q = drill.PickOperands(Op(op), 1000000);
        QVERIFY(q.a <= 50 && q.b <= 50);
    }
}

void TestMathDrill::choicesAreSixDistinctAroundTheAnswer_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("zero_takes_1_to_6") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("eleven") << 11;
    QTest::newRow("largest_product") << 2500;
}

void TestMathDrill::choicesAreSixDistinctAroundTheAnswer()
{
    QFETCH(int, answer);
    RandomSource random(answer + 5);
    MathDrill drill(random);
    for (int i = 0; i < 200; ++i) {
        const auto choices = drill.FillChoices(answer);
        const std::set<int> distinct(choices.begin(), choices.end());
        QCOMPARE(distinct.size(), size_t(6));
        QCOMPARE(std::count(choices.begin(), choices.end(), answer), 1);
        for (int c : choices) {
            if (c != answer)
                QVERIFY2(c >= 1 && c <= answer + 6, qPrintable(QString::number(c)));
        }
    }
}

// Over many questions the answer lands in each of the six places about as
// often: a chi-square test with 5 degrees of freedom at the 0.1 % level.
void TestMathDrill::answerIsEquallyLikelyInEachPlace()
{
    RandomSource random(20261210);
    MathDrill drill(random);
    constexpr int Draws = 60000;
    std::array<int, 6> counts {};
    for (int i = 0; i < Draws; ++i) {
        const auto choices = drill.FillChoices(17);
        counts[size_t(std::find(choices.begin(), choices.end(), 17) - choices.begin())]++;
    }
    const double expected = Draws / 6.0;
    double chi2 = 0;
    for (int c : counts)
        chi2 += (c - expected) * (c - expected) / expected;
    QVERIFY2(chi2 < 20.52, qPrintable(QStringLiteral("chi-square %1").arg(chi2)));
}

void TestMathDrill::wordsAndSigns()
{
    const QStringList words = {"加", "减", "乘", "除"};
    const QStringList signs = {"+", "-", "×", "÷"};
    for (int op = 0; op < 4; ++op) {
        QCOMPARE(MathDrill::word(Op(op)), words[op]);
        QCOMPARE(MathDrill::sign(Op(op)), signs[op]);
    }
}

void TestMathDrill::picksAreJudgedAgainstTheBoard_data()
{
    QTest::addColumn<int>("rounds");
    QTest::addColumn<int>("op");
    QTest::newRow("sample board") << 0 << 0;
    for (int op = 0; op < 4; ++op)
        QTest::addRow("after questions in %s", qPrintable(MathDrill::word(Op(op)))) << 40 << op;
}

void TestMathDrill::picksAreJudgedAgainstTheBoard()
{
    QFETCH(int, rounds);
    QFETCH(int, op);
    RandomSource random(99 + op);
    MathDrill drill(random);
    for (int r = 0; r < std::max(1, rounds); ++r) {
        if (rounds > 0) {
            const MathDrill::Round &round = drill.nextRound(Op(op), 5 + r);
            QCOMPARE(round.question.answer,
                MathDrill::answerOf(Op(op), round.question.a, round.question.b));
            QCOMPARE(&round, &drill.round());
        }
        // Exactly the slot holding the answer is right; nothing is asked
        // before the first question, so there every slot is wrong.
        int right = 0;
        for (int slot = 0; slot < MathDrill::ChoiceCount; ++slot) {
            const std::optional<bool> verdict = drill.judge(slot);
            QVERIFY(verdict.has_value());
            QCOMPARE(
                *verdict, drill.round().choices[size_t(slot)] == drill.round().question.answer);
            right += *verdict;
        }
        QCOMPARE(right, rounds > 0 ? 1 : 0);
        for (int slot : {-1, MathDrill::ChoiceCount, 1000})
            QVERIFY(!drill.judge(slot).has_value());
    }
    if (rounds == 0) {
        QCOMPARE(drill.round().question.answer, 0);
        QCOMPARE(drill.round().choices, (std::array<int, 6> {1, 2, 3, 4, 5, 6}));
    }
}

void TestMathDrill::phrases()
{
    QCOMPARE(MathDrill::questionPhrase({7, 5, 12}, Op::Add), QStringLiteral("出题 7加5"));
    QCOMPARE(MathDrill::questionPhrase({48, 6, 8}, Op::Divide), QStringLiteral("出题 48除6"));
    QCOMPARE(MathDrill::verdictPhrase(true), QStringLiteral("答对了"));
    QCOMPARE(MathDrill::verdictPhrase(false), QStringLiteral("答错了"));
}

QTEST_GUILESS_MAIN(TestMathDrill)
#include "tst_mathdrill.moc"
