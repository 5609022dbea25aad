#pragma once

#include "pinyindata.h"

#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

class UserPronunciations;

// Reads runs of Chinese characters as pinyin syllables.
//
// A run is cut into words by the most probable path through the word list
// (each word and each single character has a cost, -ln of its frequency);
// each character takes its word's reading. A character with several readings
// is then checked against the context rules, which win over the word list;
// one left to itself takes its usual reading. Last, 一 and 不 standing alone
// take the tone the next syllable asks for (一个 yi2 ge4, 不对 bu2 dui4).
// Words of the user's pronunciation list win over all of it.
class HanReader
{
public:
    // How a character came by its reading.
    enum Origin : uint8_t {
        Unknown, // no reading at all
        Literal, // a digit read one by one: its usual reading, no tone change
        User, // the user's list
        Word, // a word of two or more characters
        Rule, // a context rule
        Usual, // the character's usual reading
    };

    struct Detail {
        std::vector<qsizetype> wordStart; // per character of the run: its word, in text
        std::vector<qsizetype> wordEnd;
        std::vector<uint16_t> withoutRules; // the reading the word list alone gives
        std::vector<Origin> origin;
    };

    explicit HanReader(const PinyinData &data);

    void setUserList(const UserPronunciations *list) { m_user = list; }
    // Context rules on (the default) or off, to measure what they add.
    void setRulesEnabled(bool on) { m_rules = on; }

    // The syllables of text[start, end), one per character (NoSyllable where
    // nothing is known), appended to out. The text around the run is its
    // context. literal, when given, marks characters of [start, end) that
    // are digits read one by one.
    void read(QStringView text, qsizetype start, qsizetype end, std::vector<uint16_t> &out,
        const std::vector<bool> *literal = nullptr, Detail *detail = nullptr);

    // The rule keys for the character at pos of text in the word
    // [wordStart, wordEnd), in the order they are tried.
    static std::array<uint64_t, 5> ruleKeys(
        QStringView simplifiedText, qsizetype pos, qsizetype wordStart, qsizetype wordEnd);

    static bool isHan(char32_t c);

private:
    void segment(qsizetype from, qsizetype to);
    void applyToneSandhi(
        qsizetype start, qsizetype end, std::vector<uint16_t> &syllables, qsizetype outBase);

    const PinyinData &m_data;
    const UserPronunciations *m_user = nullptr;
    bool m_rules = true;
    uint16_t m_yi1, m_yi2, m_yi4, m_yi5, m_bu2, m_bu4, m_bu5, m_de5;

    // Per call, reused.
    QString m_simple; // the whole text, simplified
    std::vector<float> m_cost; // best path cost up to each position of the run
    std::vector<qsizetype> m_back; // where the best path's last word starts
    std::vector<int> m_word; // that word (-1 for a single character)
    std::vector<qsizetype> m_wordStart, m_wordEnd;
    std::vector<int32_t> m_wordIndex; // per character: its dictionary word, or -1
    std::vector<Origin> m_origin;
};
