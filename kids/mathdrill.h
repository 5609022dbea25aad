#pragma once

// The rules of the arithmetic drill: two operands up to a bound for each of
// the four operations, the answer, six distinct choices with the answer in
// a random place, and the check of a pick. No widgets here.

#include <QString>

#include <array>

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

    explicit MathDrill(RandomSource &random);

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
    static QString sign(Operation op); // shown: + - × ÷
    static int clampBound(int bound);

private:
    RandomSource &m_random;
};
