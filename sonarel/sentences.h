#pragma once

#include <QList>
#include <QStringView>

// Where sentences start and end in a text: the one definition shared by the
// engine (which speaks a text sentence by sentence) and the program (which
// moves between sentences and reads from the cursor).
//
// A sentence ends at 。！？；… or at . ! ? ; followed by a blank, a closing
// quote or bracket, or the end of the text, and at every line break. Quotes
// and brackets that close the sentence belong to it, as do further stops
// ("！？"). Blanks between sentences belong to no sentence.
namespace Sentences {

struct Range {
    qsizetype start = 0;
    qsizetype end = 0; // one past the sentence's last character
    bool operator==(const Range &) const = default;
};

bool isLineBreak(char16_t c);
bool isBlank(QChar c);

// One past the end of the sentence that starts at from, not counting the
// blanks that follow it. textEnds tells whether text reaches the end of the
// whole text: an ASCII stop at its very end only ends a sentence if so.
// Without a stop the sentence runs to text.size(); *stopped (if given) says
// whether a stop or a line break ended it.
qsizetype end(QStringView text, qsizetype from, bool textEnds = true, bool *stopped = nullptr);

// Every sentence of text, in order.
QList<Range> split(QStringView text);

// The sentence that holds position pos (or, in the blanks between two, the
// one after them; at the very end, the last one). Empty text: {0, 0}.
Range at(QStringView text, qsizetype pos);

} // namespace Sentences
