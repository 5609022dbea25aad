#pragma once

#include <QByteArray>
#include <QFile>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// The reading data of the speech front-end, built from packaged dictionaries
// when the engine is built (see data/makepinyindata.cpp) and mapped from its
// file on first use:
//
//   syllables   every pinyin syllable with tone, "zhong1", by number
//   characters  each character's readings (the usual one first), its
//               simplified form, and its cost as a word of its own
//   words       words of two or more characters (simplified), sorted, each
//               with a reading per character and a cost (-ln of its frequency),
//               found through a hash table of their first two characters
//   rules       context rules for characters with several readings, learned
//               from labelled sentences: a hash table from a hash of (kind,
//               character, context) to the reading to use
//
// All of it is read in place; nothing is copied when the data is opened.
class PinyinData
{
public:
    static constexpr uint16_t NoSyllable = 0xFFFF;
    static constexpr float UnknownCost = 30.0f;
    static constexpr char Magic[8] = {'S', 'N', 'R', 'L', 'P', 'Y', '1', '\0'};

    // The kinds of context a rule is keyed on, in the order they are tried.
    enum RuleKind : uint16_t {
        RuleWord = 1, // the word the character was found in
        RuleLeftTwo = 2, // the two characters before it
        RuleRightTwo = 3, // the two characters after it
        RuleLeftOne = 4, // the character before it
        RuleRightOne = 5, // the character after it
        RuleUsual = 6, // no context: the character's usual reading in running text
    };

    // The file's layout: a header of 32-bit byte offsets and counts.
    struct Header {
        char magic[8];
        uint32_t fileSize;
        uint32_t syllableCount;
        uint32_t syllableOffsets; // uint32[syllableCount + 1] into syllableChars
        uint32_t syllableChars; // char[]
        uint32_t charReadings; // uint32[65536]: index into readingPool, 0 = none
        uint32_t readingPool; // uint16[]: count, then that many syllables
        uint32_t readingPoolSize; // in uint16 units
        uint32_t simplified; // uint16[65536], 0 = the character itself
        uint32_t charCost; // float[65536]
        uint32_t wordCount;
        uint32_t firstCharIndex; // uint32[65537]: words starting with each character
        uint32_t wordStart; // uint32[wordCount + 1] into wordText
        uint32_t wordText; // uint16[]
        uint32_t wordSyllables; // uint16[], one per unit of wordText
        uint32_t wordCost; // float[wordCount]
        uint32_t prefixCapacity; // a power of two, more than the prefixes
        uint32_t prefixes; // Prefix[capacity]
        uint32_t ruleCount;
        uint32_t ruleCapacity; // a power of two, more than ruleCount
        uint32_t ruleKeys; // uint64[capacity], 0 = empty
        uint32_t ruleSyllables; // uint16[capacity]
    };

    // The words starting with two characters, in one slot of a hash table.
    struct Prefix {
        uint32_t key; // first << 16 | second; 0 = a free slot
        uint32_t firstWord; // the words are firstWord .. firstWord + count - 1
        uint16_t count;
        uint8_t longest; // the length of the longest of them
        uint8_t hasPair; // the two characters are a word themselves
    };

    // Where a key starts looking in an open hash table of the capacity
    // (a power of two); the next slots follow.
    static uint32_t slotOf(uint64_t key, uint32_t capacity)
    {
        key ^= key >> 31;
        key *= 0xbf58476d1ce4e5b9ull;
        key ^= key >> 29;
        return uint32_t(key) & (capacity - 1);
    }

    // Checks the whole layout; null and a reason when it does not hold.
    static std::unique_ptr<PinyinData> fromBytes(QByteArray bytes, QString *error = nullptr);
    static std::unique_ptr<PinyinData> open(const QString &path, QString *error = nullptr);

    // The data the engine was built with, opened on first use from beside the
    // engine library; null (once logged) when it cannot be found or read.
    static const PinyinData *shared();
    static QString defaultPath();

    int syllableCount() const { return int(m_header->syllableCount); }
    QLatin1StringView syllable(uint16_t id) const;
    // The number of a syllable, NoSyllable when there is none such.
    uint16_t findSyllable(QByteArrayView syllable) const;

    // The readings of a character, the usual one first; empty when unknown.
    std::span<const uint16_t> readings(char16_t c) const;
    char16_t simplified(char16_t c) const;
    float charCost(char16_t c) const { return m_charCost[c]; }

    int wordCount() const { return int(m_header->wordCount); }
    // Calls f(length, word) for each word that text starts with, shortest
    // first (words have two characters or more; text must be simplified).
    template <typename F> void forEachWordAt(QStringView text, F f) const;
    std::span<const uint16_t> wordReadings(uint32_t word) const;
    float wordCost(uint32_t word) const { return m_wordCost[word]; }

    // Keys of the context rules: FNV-1a over the kind, the character and
    // its context.
    static uint64_t ruleKey(RuleKind kind, char16_t c, QStringView context);
    uint16_t rule(uint64_t key) const; // NoSyllable when there is none
    int ruleCount() const { return int(m_header->ruleCount); }

private:
    PinyinData() = default;
    void adopt(QByteArrayView bytes);
    bool validate(QString *error);
    template <typename T> const T *array(uint32_t offset) const
    {
        return reinterpret_cast<const T *>(m_base + offset);
    }

    std::unique_ptr<QFile> m_file; // keeps a mapping alive
    std::vector<uint64_t> m_copy; // or a copy of the bytes
    const uchar *m_base = nullptr;
    qint64 m_size = 0;
    const Header *m_header = nullptr;
    const uint32_t *m_syllableOffsets = nullptr;
    const char *m_syllableChars = nullptr;
    const uint32_t *m_charReadings = nullptr;
    const uint16_t *m_pool = nullptr;
    const uint16_t *m_simplified = nullptr;
    const float *m_charCost = nullptr;
    const uint32_t *m_firstCharIndex = nullptr;
    const uint32_t *m_wordStart = nullptr;
    const char16_t *m_wordText = nullptr;
    const uint16_t *m_wordSyllables = nullptr;
    const float *m_wordCost = nullptr;
    const Prefix *m_prefixes = nullptr;
    const uint64_t *m_ruleKeys = nullptr;
    const uint16_t *m_ruleSyllables = nullptr;
};

template <typename F> void PinyinData::forEachWordAt(QStringView text, F f) const
{
    if (text.size() < 2)
        return;
    const uint32_t prefix = uint32_t(text[0].unicode()) << 16 | text[1].unicode();
    const uint32_t mask = m_header->prefixCapacity - 1;
    uint32_t slot = slotOf(prefix, m_header->prefixCapacity);
    while (m_prefixes[slot].key != prefix) {
        if (m_prefixes[slot].key == 0)
            return; // no word starts so
        slot = (slot + 1) & mask;
    }
    const Prefix &p = m_prefixes[slot];
    uint32_t lo = p.firstWord;
    uint32_t hi = p.firstWord + p.count;
    if (p.hasPair)
        f(2, lo);
    // Words sharing the prefix text[0, len) form one run of the sorted list,
    // shortest first; each step narrows it by one more character.
    const qsizetype longest = std::min<qsizetype>(text.size(), p.longest);
    for (qsizetype len = 3; len <= longest && lo < hi; ++len) {
        const qsizetype at = len - 1;
        const char16_t c = text[at].unicode();
        // Drop the words no longer than the prefix already matched.
        while (lo < hi && m_wordStart[lo + 1] - m_wordStart[lo] <= uint32_t(at))
            ++lo;
        uint32_t a = lo, b = hi;
        while (a < b) { // first word whose unit at `at` is >= c
            const uint32_t mid = a + (b - a) / 2;
            if (m_wordText[m_wordStart[mid] + at] < c)
                a = mid + 1;
            else
                b = mid;
        }
        uint32_t e = a;
        b = hi;
        while (e < b) { // first word whose unit at `at` is > c
            const uint32_t mid = e + (b - e) / 2;
            if (m_wordText[m_wordStart[mid] + at] <= c)
                e = mid + 1;
            else
                b = mid;
        }
        lo = a;
        hi = e;
        if (lo < hi && m_wordStart[lo + 1] - m_wordStart[lo] == uint32_t(len))
            f(int(len), lo);
    }
}
