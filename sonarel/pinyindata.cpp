#include "pinyindata.h"

#include "moduledir.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>
#include <cstring>
#include <mutex>

Q_LOGGING_CATEGORY(lcPinyinData, "narrex.pinyin")

namespace {

constexpr auto FileName = "sonarel-pinyin.dat";

// Whether looking key up from its first slot reaches slot before a free one.
template <typename Key> bool findsSlot(const Key *keys, uint32_t capacity, Key key, uint32_t slot)
{
    for (uint32_t s = PinyinData::slotOf(key, capacity);; s = (s + 1) & (capacity - 1)) {
        if (s == slot)
            return true;
        if (keys[s] == 0)
            return false;
    }
}

bool findsSlot(const PinyinData::Prefix *prefixes, uint32_t capacity, uint32_t key, uint32_t slot)
{
    for (uint32_t s = PinyinData::slotOf(key, capacity);; s = (s + 1) & (capacity - 1)) {
        if (s == slot)
            return true;
        if (prefixes[s].key == 0)
            return false;
    }
}

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

std::unique_ptr<PinyinData> PinyinData::fromBytes(QByteArray bytes, QString *error)
{
    std::unique_ptr<PinyinData> data(new PinyinData);
    data->adopt(bytes);
    if (!data->validate(error))
        return nullptr;
    return data;
}

std::unique_ptr<PinyinData> PinyinData::open(const QString &path, QString *error)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("%1: %2").arg(path, file->errorString()));
        return nullptr;
    }
    std::unique_ptr<PinyinData> data(new PinyinData);
    const qint64 size = file->size();
    if (uchar *mapped = size > 0 ? file->map(0, size) : nullptr) {
        data->m_base = mapped;
        data->m_size = size;
        data->m_file = std::move(file);
    } else {
        data->adopt(file->readAll());
    }
    QString why;
    if (!data->validate(&why)) {
        fail(error, QStringLiteral("%1: %2").arg(path, why));
        return nullptr;
    }
    return data;
}

QString PinyinData::defaultPath()
{
    const QString here = ModuleDir::ofThisCode();
    QStringList candidates;
    if (!here.isEmpty()) {
        candidates << here + u'/' + QLatin1String(FileName)
                   << here + QStringLiteral("/../share/sonarel/") + QLatin1String(FileName);
    }
#ifdef SONAREL_BUILD_DATA_DIR
    // Tests and tools of the build tree, which link the engine statically.
    candidates << QStringLiteral(SONAREL_BUILD_DATA_DIR "/") + QLatin1String(FileName);
#endif
    for (const QString &c : std::as_const(candidates)) {
        if (QFileInfo::exists(c))
            return QDir::cleanPath(c);
    }
    return candidates.isEmpty() ? QString() : QDir::cleanPath(candidates.first());
}

const PinyinData *PinyinData::shared()
{
    static std::once_flag once;
    static std::unique_ptr<PinyinData> data;
    std::call_once(once, [] {
        QString error;
        data = open(defaultPath(), &error);
        if (!data)
            qCWarning(lcPinyinData)
                << "no reading data, Chinese is read by espeak-ng alone:" << error;
    });
    return data.get();
}

void PinyinData::adopt(QByteArrayView bytes)
{
    // Copied into 64-bit words: the tables must be aligned.
    m_copy.assign((size_t(bytes.size()) + 7) / 8, 0);
    if (!bytes.isEmpty())
        std::memcpy(m_copy.data(), bytes.data(), size_t(bytes.size()));
    m_base = reinterpret_cast<const uchar *>(m_copy.data());
    m_size = bytes.size();
}

bool PinyinData::validate(QString *error)
{
    if (m_size < qint64(sizeof(Header)) || (reinterpret_cast<quintptr>(m_base) % 8) != 0)
        return fail(error, QStringLiteral("too short"));
    m_header = reinterpret_cast<const Header *>(m_base);
    const Header &h = *m_header;
    if (std::memcmp(h.magic, Magic, sizeof Magic) != 0)
        return fail(error, QStringLiteral("not a reading data file"));
    if (h.fileSize != m_size)
        return fail(error, QStringLiteral("truncated"));

    const auto fits = [this](uint32_t offset, quint64 count, size_t size, size_t align) {
        return offset % align == 0 && quint64(offset) + count * size <= quint64(m_size);
    };
    const quint64 words = h.wordCount;
    if (h.syllableCount == 0 || h.syllableCount >= NoSyllable
        || !fits(h.syllableOffsets, h.syllableCount + 1ull, 4, 4)
        || !fits(h.charReadings, 65536, 4, 4) || !fits(h.readingPool, h.readingPoolSize, 2, 2)
        || !fits(h.simplified, 65536, 2, 2) || !fits(h.charCost, 65536, 4, 4)
        || !fits(h.firstCharIndex, 65537, 4, 4) || !fits(h.wordStart, words + 1, 4, 4)
        || !fits(h.wordCost, words, 4, 4) || !fits(h.ruleKeys, h.ruleCapacity, 8, 8)
        || !fits(h.ruleSyllables, h.ruleCapacity, 2, 2) || h.readingPoolSize == 0
        || !fits(h.prefixes, h.prefixCapacity, sizeof(Prefix), 4))
        return fail(error, QStringLiteral("a table lies outside the file"));

    m_syllableOffsets = array<uint32_t>(h.syllableOffsets);
    m_syllableChars = array<char>(h.syllableChars);
    m_charReadings = array<uint32_t>(h.charReadings);
    m_pool = array<uint16_t>(h.readingPool);
    m_simplified = array<uint16_t>(h.simplified);
    m_charCost = array<float>(h.charCost);
    m_firstCharIndex = array<uint32_t>(h.firstCharIndex);
    m_wordStart = array<uint32_t>(h.wordStart);
    m_wordText = array<char16_t>(h.wordText);
    m_wordSyllables = array<uint16_t>(h.wordSyllables);
    m_wordCost = array<float>(h.wordCost);
    m_prefixes = array<Prefix>(h.prefixes);
    m_ruleKeys = array<uint64_t>(h.ruleKeys);
    m_ruleSyllables = array<uint16_t>(h.ruleSyllables);

    if (!fits(h.syllableChars, m_syllableOffsets[h.syllableCount], 1, 1))
        return fail(error, QStringLiteral("syllables lie outside the file"));
    for (uint32_t i = 0; i < h.syllableCount; ++i) {
        if (m_syllableOffsets[i] >= m_syllableOffsets[i + 1])
            return fail(error, QStringLiteral("syllable %1 is empty").arg(i));
        if (i > 0 && !(syllable(uint16_t(i - 1)) < syllable(uint16_t(i))))
            return fail(error, QStringLiteral("syllables out of order"));
    }
    for (uint32_t c = 0; c < 65536; ++c) {
        const uint32_t at = m_charReadings[c];
        if (at == 0)
            continue;
        if (at >= h.readingPoolSize || at + quint64(m_pool[at]) >= h.readingPoolSize)
            return fail(
                error, QStringLiteral("readings of U+%1 lie outside the pool").arg(c, 4, 16));
        for (uint16_t k = 1; k <= m_pool[at]; ++k) {
            if (m_pool[at + k] >= h.syllableCount)
                return fail(error, QStringLiteral("bad syllable for U+%1").arg(c, 4, 16));
        }
    }

    if (m_firstCharIndex[0] != 0 || m_firstCharIndex[65536] != words || m_wordStart[0] != 0)
        return fail(error, QStringLiteral("word index does not cover the words"));
    for (uint32_t c = 0; c < 65536; ++c) {
        if (m_firstCharIndex[c] > m_firstCharIndex[c + 1])
            return fail(error, QStringLiteral("word index out of order"));
    }
    const quint64 units = m_wordStart[words];
    if (!fits(h.wordText, units, 2, 2) || !fits(h.wordSyllables, units, 2, 2))
        return fail(error, QStringLiteral("words lie outside the file"));
    uint32_t bucket = 0;
    for (uint32_t w = 0; w < words; ++w) {
        const uint32_t start = m_wordStart[w];
        const uint32_t end = m_wordStart[w + 1];
        if (end < start + 2 || end > units)
            return fail(error, QStringLiteral("word %1 is shorter than two characters").arg(w));
        while (m_firstCharIndex[bucket + 1] <= w)
            ++bucket;
        if (m_wordText[start] != bucket)
            return fail(error, QStringLiteral("word %1 is filed under another character").arg(w));
        if (w > 0) {
            const QStringView prev(m_wordText + m_wordStart[w - 1], start - m_wordStart[w - 1]);
            const QStringView cur(m_wordText + start, end - start);
            if (!(prev < cur))
                return fail(error, QStringLiteral("words out of order at %1").arg(w));
        }
        for (uint32_t u = start; u < end; ++u) {
            if (m_wordSyllables[u] >= h.syllableCount)
                return fail(error, QStringLiteral("bad syllable in word %1").arg(w));
        }
    }
    // Both hash tables: a power of two with a free slot, every entry found
    // from where its key starts looking.
    const auto isPowerOfTwo = [](uint32_t n) { return n && !(n & (n - 1)); };
    if (!isPowerOfTwo(h.prefixCapacity) || !isPowerOfTwo(h.ruleCapacity)
        || h.ruleCount >= h.ruleCapacity)
        return fail(error, QStringLiteral("a hash table has a bad size"));
    uint32_t prefixes = 0;
    quint64 covered = 0;
    for (uint32_t slot = 0; slot < h.prefixCapacity; ++slot) {
        const Prefix &p = m_prefixes[slot];
        if (p.key == 0)
            continue;
        ++prefixes;
        const quint64 lo = p.firstWord;
        const quint64 hi = lo + p.count;
        if (p.count == 0 || hi > words)
            return fail(error, QStringLiteral("word prefix range out of bounds"));
        covered += p.count;
        uint32_t longest = 0;
        for (quint64 w = lo; w < hi; ++w) {
            if ((uint32_t(m_wordText[m_wordStart[w]]) << 16 | m_wordText[m_wordStart[w] + 1])
                != p.key)
                return fail(error, QStringLiteral("word %1 is filed under another prefix").arg(w));
            longest = std::max(longest, m_wordStart[w + 1] - m_wordStart[w]);
        }
        if (longest != p.longest || bool(p.hasPair) != (m_wordStart[lo + 1] - m_wordStart[lo] == 2))
            return fail(error, QStringLiteral("word prefix %1 misdescribes its words").arg(slot));
        if (!findsSlot(m_prefixes, h.prefixCapacity, p.key, slot))
            return fail(error, QStringLiteral("word prefix out of place"));
    }
    if (prefixes >= h.prefixCapacity || covered != words)
        return fail(error, QStringLiteral("word prefixes do not cover the words"));
    uint32_t rules = 0;
    for (uint32_t slot = 0; slot < h.ruleCapacity; ++slot) {
        const uint64_t key = m_ruleKeys[slot];
        if (key == 0)
            continue;
        ++rules;
        if (m_ruleSyllables[slot] >= h.syllableCount
            || !findsSlot(m_ruleKeys, h.ruleCapacity, key, slot))
            return fail(error, QStringLiteral("rule out of place or bad"));
    }
    if (rules != h.ruleCount)
        return fail(error, QStringLiteral("rule count does not match"));
    return true;
}

QLatin1StringView PinyinData::syllable(uint16_t id) const
{
    if (id >= m_header->syllableCount)
        return {};
    const uint32_t start = m_syllableOffsets[id];
    return QLatin1StringView(m_syllableChars + start, qsizetype(m_syllableOffsets[id + 1] - start));
}

uint16_t PinyinData::findSyllable(QByteArrayView wanted) const
{
    const QLatin1StringView key(wanted.data(), wanted.size());
    uint32_t lo = 0, hi = m_header->syllableCount;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (syllable(uint16_t(mid)) < key)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < m_header->syllableCount && syllable(uint16_t(lo)) == key ? uint16_t(lo)
                                                                         : NoSyllable;
}

std::span<const uint16_t> PinyinData::readings(char16_t c) const
{
    const uint32_t at = m_charReadings[c];
    if (at == 0)
        return {};
    return {m_pool + at + 1, m_pool[at]};
}

char16_t PinyinData::simplified(char16_t c) const
{
    const char16_t s = m_simplified[c];
    return s ? s : c;
}

std::span<const uint16_t> PinyinData::wordReadings(uint32_t word) const
{
    return {m_wordSyllables + m_wordStart[word], m_wordStart[word + 1] - m_wordStart[word]};
}

uint64_t PinyinData::ruleKey(RuleKind kind, char16_t c, QStringView context)
{
    uint64_t h = 0xcbf29ce484222325ull;
    const auto mix = [&h](char16_t unit) {
        h ^= unit & 0xFF;
        h *= 0x100000001b3ull;
        h ^= unit >> 8;
        h *= 0x100000001b3ull;
    };
    mix(kind);
    mix(c);
    for (QChar u : context)
        mix(u.unicode());
    return h ? h : 1; // 0 marks a free slot
}

uint16_t PinyinData::rule(uint64_t key) const
{
    const uint32_t mask = m_header->ruleCapacity - 1;
    for (uint32_t slot = slotOf(key, m_header->ruleCapacity);; slot = (slot + 1) & mask) {
        if (m_ruleKeys[slot] == key)
            return m_ruleSyllables[slot];
        if (m_ruleKeys[slot] == 0)
            return NoSyllable;
    }
}
