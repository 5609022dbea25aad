#include "pinyindatabuilder.h"

#include "pinyindata.h"

#include <QSet>

#include <cstring>
#include <stdexcept>

void PinyinDataBuilder::addReading(char16_t c, const QByteArray &syllable, bool usual)
{
    std::vector<QByteArray> &list = m_chars[c];
    const auto it = std::find(list.begin(), list.end(), syllable);
    if (it != list.end()) {
        if (!usual)
            return;
        list.erase(it);
    }
    if (usual)
        list.insert(list.begin(), syllable);
    else
        list.push_back(syllable);
}

void PinyinDataBuilder::setSimplified(char16_t traditional, char16_t simplified)
{
    if (traditional != simplified)
        m_simplified[traditional] = simplified;
}

void PinyinDataBuilder::addWord(
    const QString &word, const std::vector<QByteArray> &syllables, float cost)
{
    m_words[word] = {syllables, cost};
}

void PinyinDataBuilder::setRules(std::map<uint64_t, QByteArray> rules)
{
    m_rules = std::move(rules);
    for (const auto &[key, s] : m_firmRules)
        m_rules[key] = s;
}

void PinyinDataBuilder::addFirmWord(const QString &word, const std::vector<QByteArray> &syllables)
{
    // The word's own rule for each of its characters: the engine tries the
    // rule of the word a character is in before any other.
    for (qsizetype i = 0; i < word.size(); ++i) {
        const uint64_t key = PinyinData::ruleKey(PinyinData::RuleWord, word[i].unicode(), word);
        m_firmRules[key] = syllables[size_t(i)];
        m_rules[key] = syllables[size_t(i)];
    }
}

float PinyinDataBuilder::wordCost(const QString &word) const
{
    const auto it = m_words.find(word);
    return it == m_words.end() ? PinyinData::UnknownCost : it->second.cost;
}

uint16_t PinyinDataBuilder::syllableId(
    const QByteArray &s, const QMap<QByteArray, uint16_t> &ids) const
{
    const auto it = ids.constFind(s);
    if (it == ids.cend())
        throw std::runtime_error("syllable missing from the table: " + s.toStdString());
    return it.value();
}

namespace {

class Writer
{
public:
    uint32_t align()
    {
        while (m_out.size() % 8)
            m_out.append('\0');
        return uint32_t(m_out.size());
    }
    template <typename T> uint32_t put(const std::vector<T> &v)
    {
        const uint32_t at = align();
        m_out.append(reinterpret_cast<const char *>(v.data()), qsizetype(v.size() * sizeof(T)));
        return at;
    }
    QByteArray &bytes() { return m_out; }

private:
    QByteArray m_out;
};

} // namespace

QByteArray PinyinDataBuilder::build() const
{
    // Syllables, sorted, numbered from 0.
    QSet<QByteArray> all;
    for (const auto &list : m_chars)
        all.unite(QSet<QByteArray>(list.begin(), list.end()));
    for (const auto &[word, entry] : m_words)
        all.unite(QSet<QByteArray>(entry.syllables.begin(), entry.syllables.end()));
    for (const auto &[key, s] : m_rules)
        all.insert(s);
    QList<QByteArray> sorted(all.begin(), all.end());
    std::sort(sorted.begin(), sorted.end());
    QMap<QByteArray, uint16_t> ids;
    std::vector<uint32_t> syllableOffsets;
    std::vector<char> syllableChars;
    for (const QByteArray &s : sorted) {
        ids.insert(s, uint16_t(ids.size()));
        syllableOffsets.push_back(uint32_t(syllableChars.size()));
        syllableChars.insert(syllableChars.end(), s.begin(), s.end());
    }
    syllableOffsets.push_back(uint32_t(syllableChars.size()));

    std::vector<uint32_t> charReadings(65536, 0);
    std::vector<uint16_t> pool {0}; // index 0 means "none"
    std::vector<uint16_t> simplified(65536, 0);
    std::vector<float> charCost(65536, PinyinData::UnknownCost);
    for (uint32_t c = 0; c < 65536; ++c) {
        const auto it = m_chars.constFind(char16_t(c));
        if (it != m_chars.cend() && !it->empty()) {
            charReadings[c] = uint32_t(pool.size());
            pool.push_back(uint16_t(it->size()));
            for (const QByteArray &s : *it)
                pool.push_back(syllableId(s, ids));
        }
        simplified[c] = m_simplified.value(char16_t(c), 0);
        charCost[c] = m_charCost.value(char16_t(c), PinyinData::UnknownCost);
    }

    std::vector<uint32_t> firstCharIndex(65537, 0);
    std::vector<uint32_t> wordStart;
    std::vector<char16_t> wordText;
    std::vector<uint16_t> wordSyllables;
    std::vector<float> wordCost;
    for (const auto &[word, entry] : m_words) {
        wordStart.push_back(uint32_t(wordText.size()));
        for (qsizetype i = 0; i < word.size(); ++i) {
            wordText.push_back(word[i].unicode());
            wordSyllables.push_back(syllableId(entry.syllables[size_t(i)], ids));
        }
        wordCost.push_back(entry.cost);
        ++firstCharIndex[size_t(word[0].unicode()) + 1];
    }
    wordStart.push_back(uint32_t(wordText.size()));
    for (size_t c = 1; c < firstCharIndex.size(); ++c)
        firstCharIndex[c] += firstCharIndex[c - 1];

    const auto capacityFor = [](size_t count) {
        uint32_t capacity = 16;
        while (capacity < 2 * count + 1)
            capacity *= 2;
        return capacity;
    };
    // The words of each two-character start, in an open hash table.
    std::map<uint32_t, std::pair<uint32_t, uint32_t>> prefixes;
    for (size_t w = 0; w + 1 < wordStart.size(); ++w) {
        const uint32_t key = uint32_t(wordText[wordStart[w]]) << 16 | wordText[wordStart[w] + 1];
        auto [it, fresh] = prefixes.try_emplace(key, uint32_t(w), uint32_t(w));
        it->second.second = uint32_t(w + 1);
    }
    const uint32_t prefixCapacity = capacityFor(prefixes.size());
    std::vector<PinyinData::Prefix> prefixTable(prefixCapacity, PinyinData::Prefix {0, 0, 0, 0, 0});
    for (const auto &[key, range] : prefixes) {
        uint32_t slot = PinyinData::slotOf(key, prefixCapacity);
        while (prefixTable[slot].key)
            slot = (slot + 1) & (prefixCapacity - 1);
        PinyinData::Prefix &p = prefixTable[slot];
        p.key = key;
        p.firstWord = range.first;
        if (range.second - range.first > 0xFFFF)
            throw std::runtime_error("too many words with one start");
        p.count = uint16_t(range.second - range.first);
        uint32_t longest = 0;
        for (uint32_t w = range.first; w < range.second; ++w)
            longest = std::max(longest, wordStart[w + 1] - wordStart[w]);
        if (longest > 0xFF)
            throw std::runtime_error("a word too long");
        p.longest = uint8_t(longest);
        p.hasPair = wordStart[range.first + 1] - wordStart[range.first] == 2;
    }

    const uint32_t ruleCapacity = capacityFor(m_rules.size());
    std::vector<uint64_t> ruleKeys(ruleCapacity, 0);
    std::vector<uint16_t> ruleSyllables(ruleCapacity, 0);
    for (const auto &[key, s] : m_rules) {
        if (key == 0)
            throw std::runtime_error("a rule key of 0");
        uint32_t slot = PinyinData::slotOf(key, ruleCapacity);
        while (ruleKeys[slot])
            slot = (slot + 1) & (ruleCapacity - 1);
        ruleKeys[slot] = key;
        ruleSyllables[slot] = syllableId(s, ids);
    }

    Writer w;
    PinyinData::Header h {};
    std::memcpy(h.magic, PinyinData::Magic, sizeof h.magic);
    w.bytes().append(reinterpret_cast<const char *>(&h), sizeof h);
    h.syllableCount = uint32_t(sorted.size());
    h.syllableOffsets = w.put(syllableOffsets);
    h.syllableChars = w.put(syllableChars);
    h.charReadings = w.put(charReadings);
    h.readingPool = w.put(pool);
    h.readingPoolSize = uint32_t(pool.size());
    h.simplified = w.put(simplified);
    h.charCost = w.put(charCost);
    h.wordCount = uint32_t(wordCost.size());
    h.firstCharIndex = w.put(firstCharIndex);
    h.wordStart = w.put(wordStart);
    h.wordText = w.put(wordText);
    h.wordSyllables = w.put(wordSyllables);
    h.wordCost = w.put(wordCost);
    h.prefixCapacity = prefixCapacity;
    h.prefixes = w.put(prefixTable);
    h.ruleCount = uint32_t(m_rules.size());
    h.ruleCapacity = ruleCapacity;
    h.ruleKeys = w.put(ruleKeys);
    h.ruleSyllables = w.put(ruleSyllables);
    w.align();
    h.fileSize = uint32_t(w.bytes().size());
    std::memcpy(w.bytes().data(), &h, sizeof h);
    return w.bytes();
}
