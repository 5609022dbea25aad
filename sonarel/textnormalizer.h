#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// Writes a Chinese sentence out the way it is read: numbers, dates, times,
// money, units and symbols become Chinese characters (2026年 → 二零二六年,
// 3.5% → 百分之三点五, 5+6=11 → 五加六等于十一), full-width letters and
// digits become plain ones, and Latin words stay as they are, marked as
// English words or as letters to spell (USB, A 股).
//
// Every unit of the result knows which part of the input it stands for, so
// that what is heard can be shown in the original text.
struct NormalizedText {
    enum Flag : uint8_t {
        Literal = 1, // a digit read on its own: its plain reading, no tone change
        Spell = 2, // a letter spelled out in English
        EnglishWord = 4, // part of a word for the English voice
    };

    QString text;
    std::vector<qint32> sourceStart; // per unit of text: the input it stands for
    std::vector<qint32> sourceEnd;
    std::vector<uint8_t> flags;

    void append(QStringView s, qint32 from, qint32 to, uint8_t flag = 0);
    void append(QChar c, qint32 from, qint32 to, uint8_t flag = 0);
};

namespace TextNormalizer {

NormalizedText normalize(QStringView sentence);

// Numbers on their own, for the tests and the rules above.
// cardinal("5010") == "五千零一十"; digits("2026") == "二零二六".
QString cardinal(QStringView digits);
QString digits(QStringView digits, bool phone = false);

bool isLatinLetter(char16_t c);

} // namespace TextNormalizer
