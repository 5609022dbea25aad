#include "hanreader.h"

#include "pinyin.h"
#include "userpronunciations.h"

#include <algorithm>

namespace {

// Digits of Chinese numerals: 一 next to them is counted, not spoken with a
// changed tone (十一 shi2 yi1, 一二三 yi1 er4 san1).
bool isDigitCharacter(char16_t c)
{
    switch (c) {
    case u'〇':
    case u'零':
    case u'一':
    case u'二':
    case u'三':
    case u'四':
    case u'五':
    case u'六':
    case u'七':
    case u'八':
    case u'九':
    case u'十':
    case u'两':
        return true;
    default:
        return false;
    }
}

} // namespace

bool HanReader::isHan(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || c == 0x3007
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F);
}

HanReader::HanReader(const PinyinData &data)
    : m_data(data)
{
    const auto id = [&data](const char *s) { return data.findSyllable(s); };
    m_yi1 = id("yi1");
    m_yi2 = id("yi2");
    m_yi4 = id("yi4");
    m_yi5 = id("yi5");
    m_bu2 = id("bu2");
    m_bu4 = id("bu4");
    m_bu5 = id("bu5");
    m_de5 = id("de5");
}

std::array<uint64_t, 5> HanReader::ruleKeys(
    QStringView t, qsizetype pos, qsizetype wordStart, qsizetype wordEnd)
{
    const char16_t c = t[pos].unicode();
    const qsizetype n = t.size();
    static const char16_t start = u'^';
    static const char16_t end = u'$';
    const QStringView left1 = pos > 0 ? t.sliced(pos - 1, 1) : QStringView(&start, 1);
    const QStringView right1 = pos + 1 < n ? t.sliced(pos + 1, 1) : QStringView(&end, 1);
    const qsizetype l2 = std::max<qsizetype>(0, pos - 2);
    return {PinyinData::ruleKey(PinyinData::RuleWord, c, t.sliced(wordStart, wordEnd - wordStart)),
        PinyinData::ruleKey(PinyinData::RuleLeftTwo, c, t.sliced(l2, pos - l2)),
        PinyinData::ruleKey(
            PinyinData::RuleRightTwo, c, t.sliced(pos + 1, std::min<qsizetype>(2, n - pos - 1))),
        PinyinData::ruleKey(PinyinData::RuleLeftOne, c, left1),
        PinyinData::ruleKey(PinyinData::RuleRightOne, c, right1)};
}

void HanReader::segment(qsizetype from, qsizetype to)
{
    // Shortest path over costs; m_cost/m_back are indexed from `from`.
    const qsizetype n = to - from;
    m_cost.assign(size_t(n) + 1, std::numeric_limits<float>::infinity());
    m_back.assign(size_t(n) + 1, 0);
    m_word.assign(size_t(n) + 1, -1);
    m_cost[0] = 0;
    const QStringView s = QStringView(m_simple).sliced(from, n);
    for (qsizetype i = 0; i < n; ++i) {
        const float here = m_cost[i];
        const char16_t c = s[i].unicode();
        const float single
            = here + (m_data.readings(c).empty() ? PinyinData::UnknownCost : m_data.charCost(c));
        if (single < m_cost[i + 1]) {
            m_cost[i + 1] = single;
            m_back[i + 1] = i;
            m_word[i + 1] = -1;
        }
        m_data.forEachWordAt(s.sliced(i), [&](int len, uint32_t word) {
            const float cost = here + m_data.wordCost(word);
            if (cost < m_cost[i + len]) {
                m_cost[i + len] = cost;
                m_back[i + len] = i;
                m_word[i + len] = int(word);
            }
        });
    }
    for (qsizetype j = n; j > 0;) {
        const qsizetype i = m_back[j];
        for (qsizetype k = i; k < j; ++k) {
            m_wordStart[from + k] = from + i;
            m_wordEnd[from + k] = from + j;
            m_wordIndex[from + k] = m_word[j];
        }
        j = i;
    }
}

void HanReader::read(QStringView text, qsizetype start, qsizetype end, std::vector<uint16_t> &out,
    const std::vector<bool> *literal, Detail *detail)
{
    if (start >= end)
        return;
    // The context reaches a few characters beyond the run.
    const qsizetype ctxStart = std::max<qsizetype>(0, start - 2);
    const qsizetype ctxEnd = std::min(text.size(), end + 2);
    m_simple.resize(ctxEnd - ctxStart);
    for (qsizetype i = ctxStart; i < ctxEnd; ++i)
        m_simple[i - ctxStart] = QChar(m_data.simplified(text[i].unicode()));
    const qsizetype a = start - ctxStart; // the run within m_simple
    const qsizetype b = end - ctxStart;
    const size_t size = size_t(m_simple.size());
    m_wordStart.assign(size, 0);
    m_wordEnd.assign(size, 0);
    m_wordIndex.assign(size, -1);
    m_origin.assign(size, Unknown);

    const qsizetype outBase = qsizetype(out.size());
    out.resize(out.size() + size_t(b - a), PinyinData::NoSyllable);
    const auto put = [&](qsizetype i, uint16_t syllable, Origin origin) {
        out[size_t(outBase + i - a)] = syllable;
        m_origin[size_t(i)] = origin;
    };

    // Fixed first: digits read one by one, then the user's words; the
    // stretches between them are cut into words.
    qsizetype freeFrom = a;
    for (qsizetype i = a; i < b;) {
        qsizetype fixedLen = 0;
        if (literal && (*literal)[size_t(i - a)]) {
            const auto r = m_data.readings(m_simple[i].unicode());
            put(i, r.empty() ? PinyinData::NoSyllable : r.front(), Literal);
            fixedLen = 1;
        } else if (m_user && !m_user->isEmpty() && m_user->mayStartWith(m_simple[i].unicode())) {
            for (qsizetype len = std::min<qsizetype>(m_user->maxLength(), b - i); len > 0; --len) {
                if (literal
                    && std::any_of(literal->begin() + (i - a), literal->begin() + (i - a + len),
                        [](bool l) { return l; }))
                    continue;
                if (const std::vector<uint16_t> *s
                    = m_user->find(QStringView(m_simple).sliced(i, len))) {
                    for (qsizetype k = 0; k < len; ++k)
                        put(i + k, (*s)[size_t(k)], User);
                    fixedLen = len;
                    break;
                }
            }
        }
        if (fixedLen == 0) {
            ++i;
            continue;
        }
        if (freeFrom < i)
            segment(freeFrom, i);
        for (qsizetype k = i; k < i + fixedLen; ++k) {
            m_wordStart[k] = k;
            m_wordEnd[k] = k + 1;
        }
        i += fixedLen;
        freeFrom = i;
    }
    if (freeFrom < b)
        segment(freeFrom, b);

    if (detail) {
        detail->wordStart.resize(size_t(b - a));
        detail->wordEnd.resize(size_t(b - a));
        detail->withoutRules.resize(size_t(b - a));
        detail->origin.resize(size_t(b - a));
    }
    for (qsizetype i = a; i < b; ++i) {
        const char16_t c = m_simple[i].unicode();
        const int word = m_wordIndex[size_t(i)];
        if (m_origin[size_t(i)] == Unknown) {
            std::span<const uint16_t> readings = m_data.readings(c);
            if (readings.empty() && c != text[start + i - a].unicode())
                readings = m_data.readings(text[start + i - a].unicode());
            uint16_t base = readings.empty() ? PinyinData::NoSyllable : readings.front();
            Origin origin = readings.empty() ? Unknown : Usual;
            if (word >= 0) {
                base = m_data.wordReadings(uint32_t(word))[size_t(i - m_wordStart[size_t(i)])];
                origin = Word;
            }
            uint16_t chosen = base;
            if (detail)
                detail->withoutRules[size_t(i - a)] = base;
            // 地 after a doubled character is the adverbial de5: 慢慢地, 高高兴兴地.
            const bool adverbial = c == u'地' && word < 0 && i >= 2
                && m_simple[i - 1] == m_simple[i - 2]
                && HanReader::isHan(m_simple[i - 1].unicode());
            if (adverbial && m_de5 != PinyinData::NoSyllable) {
                chosen = m_de5;
                origin = Rule;
            } else if (m_rules && readings.size() > 1 && m_data.ruleCount() > 0) {
                uint16_t ruled = PinyinData::NoSyllable;
                for (uint64_t key :
                    ruleKeys(m_simple, i, m_wordStart[size_t(i)], m_wordEnd[size_t(i)])) {
                    ruled = m_data.rule(key);
                    if (ruled != PinyinData::NoSyllable)
                        break;
                }
                if (ruled == PinyinData::NoSyllable && word < 0)
                    ruled = m_data.rule(PinyinData::ruleKey(PinyinData::RuleUsual, c, {}));
                if (ruled != PinyinData::NoSyllable) {
                    chosen = ruled;
                    origin = Rule;
                }
            }
            put(i, chosen, origin);
        } else if (detail) {
            detail->withoutRules[size_t(i - a)] = out[size_t(outBase + i - a)];
        }
        if (detail) {
            detail->wordStart[size_t(i - a)] = m_wordStart[size_t(i)] + ctxStart;
            detail->wordEnd[size_t(i - a)] = m_wordEnd[size_t(i)] + ctxStart;
            detail->origin[size_t(i - a)] = m_origin[size_t(i)];
        }
    }
    applyToneSandhi(a, b, out, outBase);
}

void HanReader::applyToneSandhi(
    qsizetype a, qsizetype b, std::vector<uint16_t> &out, qsizetype outBase)
{
    const auto syllableAt = [&](qsizetype i) { return out[size_t(outBase + i - a)]; };
    for (qsizetype i = a; i < b; ++i) {
        const char16_t c = m_simple[i].unicode();
        if ((c != u'一' && c != u'不') || m_wordEnd[size_t(i)] - m_wordStart[size_t(i)] != 1)
            continue;
        const Origin origin = m_origin[size_t(i)];
        if (origin != Usual && origin != Rule)
            continue;
        const char16_t prev = i > 0 ? m_simple[i - 1].unicode() : 0;
        const char16_t next = i + 1 < qsizetype(m_simple.size()) ? m_simple[i + 1].unicode() : 0;
        const uint16_t nextSyllable = i + 1 < b ? syllableAt(i + 1) : PinyinData::NoSyllable;
        const int nextTone = nextSyllable == PinyinData::NoSyllable
            ? 0
            : Pinyin::tone(QByteArrayView(
                m_data.syllable(nextSyllable).data(), m_data.syllable(nextSyllable).size()));
        uint16_t changed;
        if (c == u'一') {
            if (nextTone == 0 || prev == u'第' || isDigitCharacter(next) || isDigitCharacter(prev))
                changed = m_yi1; // counted, or at the end: 第一, 十一, 一二三, 统一
            else if (prev != 0 && prev == next && i + 1 < b)
                changed = m_yi5; // 看一看
            else
                changed = nextTone == 4 || nextTone == 5 ? m_yi2 : m_yi4;
        } else {
            if (prev != 0 && prev == next && i + 1 < b)
                changed = m_bu5; // 去不去
            else
                changed = nextTone == 4 ? m_bu2 : m_bu4;
        }
        if (changed != PinyinData::NoSyllable)
            out[size_t(outBase + i - a)] = changed;
    }
}
