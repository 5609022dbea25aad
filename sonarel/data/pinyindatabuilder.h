#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

// Collects readings, words and rules and writes them in the layout
// PinyinData reads.
class PinyinDataBuilder
{
public:
    // Adds a reading to a character's list (usual = put it first).
    void addReading(char16_t c, const QByteArray &syllable, bool usual = false);
    bool hasReadings(char16_t c) const { return m_chars.contains(c); }
    void setCharCost(char16_t c, float cost) { m_charCost[c] = cost; }
    void setSimplified(char16_t traditional, char16_t simplified);
    // A word of two or more characters; a later entry for the same word wins.
    void addWord(const QString &word, const std::vector<QByteArray> &syllables, float cost);
    bool hasWord(const QString &word) const { return m_words.contains(word); }
    float wordCost(const QString &word) const;
    void setRules(std::map<uint64_t, QByteArray> rules);
    // A word whose reading wins over the context rules too: our corrections.
    void addFirmWord(const QString &word, const std::vector<QByteArray> &syllables);

    int wordCount() const { return int(m_words.size()); }
    QByteArray build() const;

private:
    uint16_t syllableId(const QByteArray &s, const QMap<QByteArray, uint16_t> &ids) const;

    QHash<char16_t, std::vector<QByteArray>> m_chars;
    QHash<char16_t, float> m_charCost;
    QHash<char16_t, char16_t> m_simplified;
    struct Word {
        std::vector<QByteArray> syllables;
        float cost = 0;
    };
    std::map<QString, Word> m_words; // sorted as the file needs them
    std::map<uint64_t, QByteArray> m_rules;
    std::map<uint64_t, QByteArray> m_firmRules; // win over learned ones
};
