#include "mathdrill.h"

#include "randomsource.h"

#include <algorithm>
#include <vector>

MathDrill::MathDrill(RandomSource &random)
    : m_random(random)
{
}

int MathDrill::clampBound(int bound)
{
    return std::clamp(bound, MinBound, MaxBound);
}

int MathDrill::answerOf(Operation op, int a, int b)
{
    switch (op) {
    case Operation::Add:
        return a + b;
    case Operation::Subtract:
        return a - b;
    case Operation::Multiply:
        return a * b;
    case Operation::Divide:
        return b != 0 ? a / b : 0;
    }
    return 0;
}

QString MathDrill::word(Operation op)
{
    switch (op) {
    case Operation::Add:
        return QStringLiteral("加");
    case Operation::Subtract:
        return QStringLiteral("减");
    case Operation::Multiply:
        return QStringLiteral("乘");
    case Operation::Divide:
        return QStringLiteral("除");
    }
    return QString();
}

QString MathDrill::sign(Operation op)
{
    switch (op) {
    case Operation::Add:
        return QStringLiteral("+");
    case Operation::Subtract:
        return QStringLiteral("-");
    case Operation::Multiply:
        return QStringLiteral("×");
    case Operation::Divide:
        return QStringLiteral("÷");
    }
    return QString();
}

MathDrill::Question MathDrill::PickOperands(Operation op, int bound)
{
    const int n = clampBound(bound);
    Question q;
    switch (op) {
    case Operation::Add:
    case Operation::Multiply:
        q.a = m_random.below(n) + 1;
        q.b = m_random.below(n) + 1;
        break;
    case Operation::Subtract:
    case Operation::Divide: {
        // Drawing pairs until one meets the condition gives each such pair
        // the same chance; so does one draw among them, which always ends.
        std::vector<std::pair<int, int>> pairs;
        for (int a = 1; a <= n; ++a) {
            for (int b = 1; b <= n; ++b) {
                const bool fits = op == Operation::Subtract ? a >= b : a % b == 0 && a != b;
                if (fits)
                    pairs.emplace_back(a, b);
            }
        }
        const auto &[a, b] = pairs[size_t(m_random.below(int(pairs.size())))];
        q.a = a;
        q.b = b;
        break;
    }
    }
    q.answer = answerOf(op, q.a, q.b);
    return q;
}

std::array<int, MathDrill::ChoiceCount> MathDrill::FillChoices(int answer)
{
    std::array<int, ChoiceCount> choices {};
    const int place = m_random.below(ChoiceCount);
    choices[size_t(place)] = answer;
    // The wrong ones: drawn from 1 … answer + 6 among the numbers not used
    // yet, each equally likely, as repeated draws would give.
    std::vector<int> unused;
    for (int v = 1; v <= std::max(0, answer) + 6; ++v) {
        if (v != answer)
            unused.push_back(v);
    }
    for (int i = 0; i < ChoiceCount; ++i) {
        if (i == place)
            continue;
        const int k = m_random.below(int(unused.size()));
        choices[size_t(i)] = unused[size_t(k)];
        unused.erase(unused.begin() + k);
    }
    return choices;
}

const MathDrill::Round &MathDrill::nextRound(Operation op, int bound)
{
    m_round.question = PickOperands(op, bound);
    m_round.choices = FillChoices(m_round.question.answer);
    return m_round;
}

std::optional<bool> MathDrill::judge(int slot) const
{
    if (slot < 0 || slot >= ChoiceCount)
        return std::nullopt;
    return m_round.choices[size_t(slot)] == m_round.question.answer;
}

QString MathDrill::questionPhrase(const Question &q, Operation op)
{
    return QStringLiteral("出题 %1%2%3").arg(q.a).arg(word(op)).arg(q.b);
}

QString MathDrill::verdictPhrase(bool right)
{
    return right ? QStringLiteral("答对了") : QStringLiteral("答错了");
}
