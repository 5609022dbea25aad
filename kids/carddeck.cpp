#include "carddeck.h"

#include "randomsource.h"
#include "untfun.h"

#include <algorithm>

void CardDeck::setGroup(const QByteArray &characters)
{
    Cards.clear();
    Untfun::SplitCards(characters, Cards);
    CardPos = 0;
}

std::optional<QByteArray> CardDeck::NextCard(bool randomOrder, RandomSource &random)
{
    if (Cards.isEmpty())
        return std::nullopt;
    const int count = int(Cards.size());
    if (randomOrder)
        CardPos = random.below(count) + 1;
    else
        CardPos = CardPos < count ? CardPos + 1 : 1;
    return Cards[CardPos - 1];
}

QString CardDeck::positionText() const
{
    return QStringLiteral("第 %1 字").arg(CardPos);
}

int CardDeck::clockInterval(const QString &fieldText)
{
    bool ok = false;
    const int value = fieldText.trimmed().toInt(&ok);
    if (!ok)
        return 1000;
    return std::clamp(value, 1000, 5000);
}

void CardTally::mark(Answer answer)
{
    ++(answer == Answer::Right ? m_right : m_wrong);
}

void CardTally::reset()
{
    m_right = 0;
    m_wrong = 0;
}

int CardTally::visibleMarks(int count, int width, int pitch)
{
    if (count <= 0 || width <= 0 || pitch <= 0)
        return 0;
    return std::min(count, (width + pitch - 1) / pitch);
}
