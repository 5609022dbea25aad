#pragma once

#include <QList>
#include <QStringView>

// Where sentences start and end in a text, by the rules the reader uses:
// a sentence ends at 。！？；… or at . ! ? ; followed by a blank, a closing
// quote or bracket, or the end of the text, and at every line break. Quotes
// and brackets that close the sentence belong to it, as do further stops
// ("！？"). Blanks between sentences belong to no sentence.
namespace Sentences {

struct Range {
    qsizetype start = 0;
    qsizetype end = 0; // one past the sentence's last character
    bool operator==(const Range &) const = default;
};

// Every sentence of text, in order.
QList<Range> split(QStringView text);

// The sentence that holds position pos (or, in the blanks between two, the
// one after them; at the very end, the last one). Empty text: {0, 0}.
Range at(QStringView text, qsizetype pos);

} // namespace Sentences
