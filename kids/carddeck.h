#pragma once

// The cards of the chosen group and which was shown last, and how the next
// one is drawn: at random (the same one may come again) or in list order,
// round and round.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class RandomSource;

class CardDeck
{
public:
    QList<QByteArray> Cards;
    int CardPos = 0; // of the card shown last, from 1; 0 before the first

    // The group's characters cut into cards; the next card is the first.
    void setGroup(const QByteArray &characters);
    // The next card, moving CardPos; none when there are no cards.
    std::optional<QByteArray> NextCard(bool randomOrder, RandomSource &random);
    QString positionText() const; // "第 3 字"

    // The pace the clock field gives, in milliseconds: 1000 … 5000; an empty
    // field or one that is not a number gives 1000.
    static int clockInterval(const QString &fieldText);
};

// The parent's marks since the card window was opened: how many answers
// were right and how many wrong.
class CardTally
{
public:
    enum class Answer { Right, Wrong };

    int right() const { return m_right; }
    int wrong() const { return m_wrong; }
    int count(Answer answer) const { return answer == Answer::Right ? m_right : m_wrong; }
    void mark(Answer answer);
    void reset();

    // Of count marks drawn side by side every pitch pixels in a row width
    // pixels wide, those that show: the whole ones and the one cut off at
    // the row's end.
    static int visibleMarks(int count, int width, int pitch);

private:
    int m_right = 0;
    int m_wrong = 0;
};
