#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Pinyin syllables as the engine writes them: lower-case ASCII letters with
// the tone as a final digit 1-5 (5 for the neutral tone) and ü written v,
// "lv4", which is also how espeak-ng's pinyin voice reads them.
namespace Pinyin {

// "zhōng" → "zhong1", "lǜ" → "lv4", "le" → "le5", "ḿ" → "m2". Empty when the
// text is not one syllable in tone marks or tone numbers ("zhong1" passes
// through, "u:" is taken for ü).
QByteArray numbered(QStringView syllable);

// The tone digit of a numbered syllable, 0 when it has none.
int tone(QByteArrayView syllable);

// The syllable with its tone replaced.
QByteArray withTone(QByteArrayView syllable, int tone);

} // namespace Pinyin
