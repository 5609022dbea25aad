#include "speechfrontend.h"

#include "pinyindata.h"
#include "sentences.h"
#include "textnormalizer.h"

#include <algorithm>

namespace {

// The pause a punctuation mark makes, as the synthesiser's punctuation; 0 for
// marks that make none (quotes, brackets).
char pauseFor(char16_t c)
{
    switch (c) {
    case u'，':
    case u',':
    case u'、':
    case u'：':
    case u':':
    case u'；':
    case u';':
    case u'—':
    case u'–':
    case u'～':
    case u'~':
    case u'·':
        return ',';
    case u'。':
    case u'.':
    case u'…':
    case u'．':
        return '.';
    case u'！':
    case u'!':
        return '!';
    case u'？':
    case u'?':
        return '?';
    default:
        return 0;
    }
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() && !HanReader::isHan(c.unicode());
}

} // namespace

const SpeechRun::Token *SpeechRun::tokenAt(qint32 pos) const
{
    const auto it = std::upper_bound(tokens.begin(), tokens.end(), pos,
        [](qint32 p, const Token &t) { return p < t.spokenStart; });
    return it == tokens.begin() ? nullptr : &*(it - 1);
}

SpeechFrontEnd::SpeechFrontEnd(const PinyinData *data, const UserPronunciations *user)
    : m_data(data)
{
    if (data) {
        m_reader.emplace(*data);
        m_reader->setUserList(user);
    }
}

bool SpeechFrontEnd::hasHan(QStringView s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return HanReader::isHan(c.unicode()); });
}

bool SpeechFrontEnd::hasLatin(QStringView s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return TextNormalizer::isLatinLetter(u) || (u >= 0xFF21 && u <= 0xFF3A)
            || (u >= 0xFF41 && u <= 0xFF5A);
    });
}

void SpeechFrontEnd::analyse(QStringView sentence, bool englishVoice, std::vector<Item> &items)
{
    if (hasHan(sentence) || (!englishVoice && !hasLatin(sentence)))
        analyseChinese(sentence, items);
    else
        analyseEnglish(sentence, items);
}

void SpeechFrontEnd::analyseEnglish(QStringView sentence, std::vector<Item> &items)
{
    m_text = sentence.toString();
    const QStringView s = m_text;
    // Words with their inner marks (don't, e-mail, 3.5), and punctuation.
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        if (isWordChar(s[i])) {
            qsizetype e = i + 1;
            while (e < n) {
                if (isWordChar(s[e]))
                    ++e;
                else if ((s[e] == u'\'' || s[e] == u'’' || s[e] == u'-' || s[e] == u'.'
                             || s[e] == u',' || s[e] == u'@' || s[e] == u'/' || s[e] == u':')
                    && e + 1 < n && isWordChar(s[e + 1]))
                    e += 2;
                else
                    break;
            }
            items.push_back({Item::Word, qint32(i), qint32(e - i), qint32(i), qint32(e)});
            i = e;
            continue;
        }
        if (const char p = pauseFor(s[i].unicode()))
            items.push_back(
                {Item::Pause, qint32(i), 1, qint32(i), qint32(i + 1), PinyinData::NoSyllable, p});
        ++i;
    }
}

void SpeechFrontEnd::analyseChinese(QStringView sentence, std::vector<Item> &items)
{
    NormalizedText norm = TextNormalizer::normalize(sentence);
    m_text = std::move(norm.text);
    const QString &t = m_text;
    const qsizetype n = t.size();
    const auto source = [&norm](qsizetype from, qsizetype last) {
        return std::pair {norm.sourceStart[size_t(from)], norm.sourceEnd[size_t(last)]};
    };
    for (qsizetype i = 0; i < n;) {
        const char16_t c = t[i].unicode();
        const uint8_t flags = norm.flags[size_t(i)];
        if (HanReader::isHan(c)) {
            qsizetype e = i + 1;
            while (e < n && HanReader::isHan(t[e].unicode()))
                ++e;
            if (m_reader) {
                m_literal.assign(size_t(e - i), false);
                for (qsizetype k = i; k < e; ++k)
                    m_literal[size_t(k - i)] = norm.flags[size_t(k)] & NormalizedText::Literal;
                m_syllables.clear();
                m_reader->read(t, i, e, m_syllables, &m_literal);
            }
            for (qsizetype k = i; k < e; ++k) {
                const uint16_t id = m_reader ? m_syllables[size_t(k - i)] : PinyinData::NoSyllable;
                if (m_reader && id == PinyinData::NoSyllable)
                    continue; // nothing known: silence rather than a guess
                const auto [from, to] = source(k, k);
                items.push_back({Item::Syllable, qint32(k), 1, from, to, id});
            }
            i = e;
            continue;
        }
        if (flags & NormalizedText::Spell) {
            const auto [from, to] = source(i, i);
            items.push_back({Item::Letter, qint32(i), 1, from, to});
            ++i;
            continue;
        }
        if (flags & NormalizedText::EnglishWord) {
            qsizetype e = i + 1;
            while (e < n && (norm.flags[size_t(e)] & NormalizedText::EnglishWord))
                ++e;
            const auto [from, to] = source(i, e - 1);
            items.push_back({Item::Word, qint32(i), qint32(e - i), from, to});
            i = e;
            continue;
        }
        if (const char p = pauseFor(c)) {
            const auto [from, to] = source(i, i);
            items.push_back({Item::Pause, qint32(i), 1, from, to, PinyinData::NoSyllable, p});
        }
        ++i;
    }
}

void SpeechFrontEnd::appendSpoken(const Item &item, QString &out) const
{
    if (item.kind == Item::Syllable && m_reader)
        out += m_data->syllable(item.syllable);
    else
        out += QStringView(m_text).sliced(item.at, item.length); // espeak-ng reads it itself
}

namespace {

// Pause marks stand right after the word before them: espeak-ng's pinyin
// voice takes "hao3。" as a sentence end, but not "hao3." before a word in
// lower case, nor a mark standing on its own.
void appendPause(SpeechRun &run, char mark)
{
    if (run.text.endsWith(u' '))
        run.text.chop(1);
    if (run.language == SpeechRun::Mandarin) {
        switch (mark) {
        case ',':
            run.text += u'，';
            break;
        case '!':
            run.text += u'！';
            break;
        case '?':
            run.text += u'？';
            break;
        default:
            run.text += u'。';
            break;
        }
    } else {
        run.text += QLatin1Char(mark);
    }
    run.text += u' ';
}

} // namespace

std::vector<SpeechRun> SpeechFrontEnd::process(QStringView sentence, bool englishVoice)
{
    std::vector<Item> items;
    analyse(sentence, englishVoice, items);
    std::vector<SpeechRun> runs;
    bool pauseDue = false; // a pause seen since the last word
    char due = 0;
    for (const Item &item : items) {
        if (item.kind == Item::Pause) {
            // The strongest mark of a row wins ("，。" pauses as 。).
            if (!due || item.mark != ',')
                due = item.mark;
            pauseDue = !runs.empty(); // none is needed at the start
            continue;
        }
        const SpeechRun::Language language
            = item.kind == Item::Syllable ? SpeechRun::Mandarin : SpeechRun::English;
        if (pauseDue)
            appendPause(runs.back(), due);
        pauseDue = false;
        due = 0;
        if (runs.empty() || runs.back().language != language)
            runs.push_back(SpeechRun {language, QString(), {}, false});
        SpeechRun &run = runs.back();
        run.tokens.push_back({qint32(run.text.size()), item.sourceStart, item.sourceEnd});
        appendSpoken(item, run.text);
        run.text += u' ';
    }
    if (runs.empty())
        return runs;
    // Every sentence ends on a mark, so that sentences joined into one call
    // of the synthesiser still pause between them.
    appendPause(runs.back(), pauseDue && due ? due : '.');
    for (SpeechRun &run : runs) {
        if (run.text.endsWith(u' '))
            run.text.chop(1);
        run.pauseAtEnd
            = !run.text.isEmpty() && QStringLiteral("，。！？,.!?").contains(run.text.back());
    }
    runs.back().endsSentence = true;
    return runs;
}

QString SpeechFrontEnd::normalized(QStringView line, bool englishVoice)
{
    QString out;
    qsizetype done = 0;
    for (const Sentences::Range &r : Sentences::split(line)) {
        out += line.sliced(done, r.start - done);
        const QStringView sentence = line.sliced(r.start, r.end - r.start);
        if (hasHan(sentence) || (!englishVoice && !hasLatin(sentence)))
            out += TextNormalizer::normalize(sentence).text;
        else
            out += sentence;
        done = r.end;
    }
    out += line.sliced(done);
    return out;
}

QString SpeechFrontEnd::pinyin(QStringView line, bool englishVoice)
{
    QStringList tokens;
    std::vector<Item> items;
    for (const Sentences::Range &r : Sentences::split(line)) {
        items.clear();
        analyse(line.sliced(r.start, r.end - r.start), englishVoice, items);
        for (const Item &item : items) {
            const QString shown = m_text.sliced(item.at, item.length);
            switch (item.kind) {
            case Item::Syllable:
                tokens << shown + u':'
                        + (m_reader ? QString(m_data->syllable(item.syllable))
                                    : QStringLiteral("?"));
                break;
            case Item::Letter:
                tokens << shown + QStringLiteral(":letter");
                break;
            case Item::Word:
                tokens << shown + QStringLiteral(":en");
                break;
            case Item::Pause:
                break;
            }
        }
    }
    return tokens.join(u' ');
}
