#pragma once

// The rules of the arithmetic drill: two operands up to a bound for each of
// the four operations, the answer, six distinct choices with the answer in
// a random place, the question on the board and the check of a pick. No
// widgets here.

#include <QString>

#include <array>
#include <optional>

class RandomSource;

class MathDrill
{
public:
    enum class Operation { Add = 0, Subtract = 1, Multiply = 2, Divide = 3 };
    static constexpr int MinBound = 5;
    static constexpr int MaxBound = 50;
    static constexpr int ChoiceCount = 6;

    struct Question {
        int a = 0;
        int b = 0;
        int answer = 0;
    };

    // The question on the board and the six numbers to pick from. Before the
    // first question the board shows a sample (5 + 6 = 11) with the choices
    // 1 … 6, but nothing has been asked: its answer is 0, and every pick is
    // judged against that.
    struct Round {
        Question question;
        std::array<int, ChoiceCount> choices {1, 2, 3, 4, 5, 6};
    };

    explicit MathDrill(RandomSource &random);

    const Round &round() const { return m_round; }
    // Puts a new question on the board: operands, answer and choices.
    const Round &nextRound(Operation op, int bound);
    // Whether the number in choice slot 0 … 5 is the answer; a slot outside
    // them gives none.
    std::optional<bool> judge(int slot) const;

    // Operands in 1 … bound (a bound outside 5 … 50 is taken as the nearest
    // of the two), each pair meeting the operation's condition equally
    // likely: any pair for + and ×, a ≥ b for −, and for ÷ a divisible by
    // b but not by itself.
    Question PickOperands(Operation op, int bound);
    // Six distinct numbers: the answer in a random place, each of the six
    // equally likely, the others drawn from 1 … answer + 6.
    std::array<int, ChoiceCount> FillChoices(int answer);

    static int answerOf(Operation op, int a, int b);
    static QString word(Operation op); // spoken: 加 减 乘 除
    // What is said: "出题 7加5", and "答对了" or "答错了" for a pick.
    static QString questionPhrase(const Question &q, Operation op);
    static QString verdictPhrase(bool right);
    static QString sign(Operation op); // shown: + - × ÷
    static int clampBound(int bound);

private:
    RandomSource &m_random;
    Round m_round;
};
