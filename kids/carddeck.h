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
