#pragma once

#include "hanreader.h"
#include "pinyindata.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

class PinyinData;
class UserPronunciations;
struct NormalizedText;

// What the synthesiser is given for one stretch of text in one language.
struct SpeechRun {
    enum Language { Mandarin, English };
    struct Token {
        qint32 spokenStart = 0; // in text
        qint32 sourceStart = 0; // in the sentence given to the front-end
        qint32 sourceEnd = 0;
    };

    Language language = Mandarin;
    // Mandarin: pinyin syllables with tone digits and pause marks, "ni3 hao3 ,"
    // for espeak-ng's pinyin voice; English: the words for the English voice.
    QString text;
    std::vector<Token> tokens; // ascending spokenStart
    bool endsSentence = false;
    // The run ends on a pause mark: the synthesiser must make that pause at
    // its end (it drops a pause at the end of a text unless told).
    bool pauseAtEnd = false;

    // The token holding position pos of text, or null.
    const Token *tokenAt(qint32 pos) const;
};

// The text front-end of the engine: turns one sentence into runs for the
// synthesiser, so that espeak-ng never interprets a Chinese character
// itself and never reads Chinese with the English voice.
//
//   sentence ─► TextNormalizer (numbers, symbols) ─► HanReader (pinyin)
//            ─► Mandarin runs of pinyin, English runs of words
//
// A sentence with Chinese characters is read as Chinese: numbers and symbols
// the Chinese way, Latin words by the English voice. A sentence with Latin
// letters and no Chinese goes to the English voice as it stands. One with
// neither (numbers alone) is read in the language of the voice.
class SpeechFrontEnd
{
public:
    // data null: no reading data; Chinese characters go to espeak-ng's
    // Mandarin voice as they are.
    explicit SpeechFrontEnd(const PinyinData *data, const UserPronunciations *user = nullptr);

    std::vector<SpeechRun> process(QStringView sentence, bool englishVoice);

    // A line as it will be read: numbers and symbols in Chinese characters.
    QString normalized(QStringView line, bool englishVoice);
    // A line's reading as tokens: 字:pin1, word:en, A:letter.
    QString pinyin(QStringView line, bool englishVoice);

    static bool hasHan(QStringView s);
    static bool hasLatin(QStringView s);

private:
    // One spoken unit of a sentence, in order.
    struct Item {
        enum Kind { Syllable, Letter, Word, Pause };
        Kind kind = Syllable;
        qint32 at = 0; // the character, letter or word read, in m_text
        qint32 length = 0;
        qint32 sourceStart = 0;
        qint32 sourceEnd = 0;
        uint16_t syllable = PinyinData::NoSyllable;
        char mark = 0; // a pause's punctuation: , . ! ?
    };
    // What the synthesiser is given for an item.
    void appendSpoken(const Item &item, QString &out) const;
    void analyse(QStringView sentence, bool englishVoice, std::vector<Item> &items);
    void analyseEnglish(QStringView sentence, std::vector<Item> &items);
    void analyseChinese(QStringView sentence, std::vector<Item> &items);

    const PinyinData *m_data;
    std::optional<HanReader> m_reader;
    // Per call, reused.
    QString m_text; // the sentence as analysed: normalised, or as it is
    std::vector<uint16_t> m_syllables;
    std::vector<bool> m_literal;
};
