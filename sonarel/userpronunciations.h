#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

class PinyinData;

// The user's own pronunciation list: words the dictionaries read wrongly
// (names, places), each with the reading to use. A UTF-8 text file in the
// engine's settings folder, one word a line:
//
//   # comment
//   曾国藩 zeng1 guo2 fan1
//   单于 chán yú
//
// Tones as digits (5 = neutral) or as marks; ü as v, u: or ü. A line that
// cannot be used is reported with its number and skipped.
class UserPronunciations
{
public:
    struct Problem {
        int line = 0;
        QString reason;
    };

    static QString defaultPath();

    // Replaces the list with the words of text.
    void parse(QStringView text, const PinyinData &data);
    // Loads a file; a missing file is an empty list, not an error. False
    // (with the reason) when it exists but cannot be read.
    bool load(const QString &path, const PinyinData &data, QString *error = nullptr);
    // Whether the list is the one in path as it is on disk now.
    bool isCurrent(const QString &path) const;

    // The syllables of a word (simplified), or null.
    const std::vector<uint16_t> *find(QStringView word) const;
    bool isEmpty() const { return m_words.isEmpty(); }
    int size() const { return int(m_words.size()); }
    int maxLength() const { return m_maxLength; }
    bool mayStartWith(char16_t c) const { return m_firstChars.contains(c); }
    const QList<Problem> &problems() const { return m_problems; }

private:
    QHash<QString, std::vector<uint16_t>> m_words;
    QHash<char16_t, bool> m_firstChars;
    int m_maxLength = 0;
    QList<Problem> m_problems;
    QString m_loadedPath;
    QDateTime m_loadedTime;
    qint64 m_loadedSize = -1;
};
