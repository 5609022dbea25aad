#include "pinyin.h"

#include <QString>

QByteArray Pinyin::numbered(QStringView syllable)
{
    const QString decomposed = syllable.toString().normalized(QString::NormalizationForm_D);
    QByteArray out;
    out.reserve(decomposed.size() + 1);
    int toneMark = 0;
    int toneDigit = 0;
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        const char16_t c = decomposed.at(i).toLower().unicode();
        if (c >= u'a' && c <= u'z') {
            if (toneDigit)
                return {}; // letters after the tone digit
            out.append(char(c));
            continue;
        }
        switch (c) {
        case 0x0304:
            toneMark = 1;
            break; // macron
        case 0x0301:
            toneMark = 2;
            break; // acute
        case 0x030C:
            toneMark = 3;
            break; // caron
        case 0x0300:
            toneMark = 4;
            break; // grave
        case 0x0308: // diaeresis: ü
            if (!out.endsWith('u'))
                return {};
            out.back() = 'v';
            break;
        case 0x0302: // circumflex: ê, read as e
            break;
        case u':': // u: for ü
            if (!out.endsWith('u'))
                return {};
            out.back() = 'v';
            break;
        default:
            if (c >= u'1' && c <= u'5' && !toneDigit && !out.isEmpty()) {
                toneDigit = c - u'0';
                break;
            }
            return {};
        }
    }
    if (out.isEmpty() || (toneMark && toneDigit))
        return {};
    out.append(char('0' + (toneDigit ? toneDigit : toneMark ? toneMark : 5)));
    return out;
}

int Pinyin::tone(QByteArrayView syllable)
{
    if (syllable.isEmpty())
        return 0;
    const char last = syllable.back();
    return last >= '1' && last <= '5' ? last - '0' : 0;
}

QByteArray Pinyin::withTone(QByteArrayView syllable, int tone)
{
    QByteArray out(syllable.data(), syllable.size());
    if (Pinyin::tone(syllable))
        out.chop(1);
    out.append(char('0' + tone));
    return out;
}
