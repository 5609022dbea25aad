#pragma once

#include "pinyindata.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// Learns the context rules for characters with several readings from
// sentences in which one such character is labelled with its reading, and
// measures them by cross-validation.
//
// Each labelled character is read as the engine reads it: the sentence is
// normalised, its Chinese run cut into words by the word list, and the
// contexts the engine looks at (its word, two and one characters either side)
// are noted. A context becomes a rule when it was seen at least MinCount
// times and gave one reading at least Purity of the time; a character's
// usual reading in running text becomes one when it holds for half of its
// cases or more.
class PolyphoneTrainer
{
public:
    static constexpr int MinCount = 2;
    static constexpr double Purity = 0.8;

    struct Instance {
        char16_t character = 0;
        QByteArray label; // "hang2"
        QByteArray withoutRules; // what the word list alone reads
        bool inWord = false; // part of a word of two or more characters
        std::array<uint64_t, 5> keys {};
        QString sentence; // with the character at position
        qsizetype position = 0;
    };

    // sentences: one a line, the labelled character between two ▁ marks;
    // labels: its pinyin, one a line. Lines that cannot be used are counted.
    bool load(const PinyinData &data, const QStringList &sentences, const QStringList &labels,
        QString *error);
    const std::vector<Instance> &instances() const { return m_instances; }
    int skipped() const { return m_skipped; }

    static std::map<uint64_t, QByteArray> learn(const std::vector<const Instance *> &training);

    struct Evaluation {
        int instances = 0;
        int folds = 0;
        double withoutRules = 0; // the word list and usual readings alone
        double mostFrequent = 0; // each character's most frequent reading in the training folds
        double withRules = 0; // the engine as shipped, rules learned from the training folds
    };
    // k-fold cross-validation: rules learned from k-1 folds read the k-th.
    // withRules builds the data with a fold's rules.
    // misread, when given, gets a line for each character read wrongly.
    Evaluation crossValidate(int folds,
        const std::function<QByteArray(std::map<uint64_t, QByteArray>)> &withRules,
        QStringList *misread = nullptr) const;

private:
    std::vector<Instance> m_instances;
    int m_skipped = 0;
};
