#include "sentences.h"

namespace {

bool isHardStop(char16_t c)
{
    switch (c) {
    case u'。': case u'！': case u'？': case u'；': case u'…':
        return true;
    default:
        return false;
    }
}

bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool isAsciiStop(char16_t c) { return c == u'.' || c == u'!' || c == u'?' || c == u';'; }

bool isCloser(char16_t c)
{
    switch (c) {
    case u'”': case u'’': case u'」': case u'』': case u'）': case u'》': case u'】':
    case u'〉': case u'〕': case u'"': case u'\'': case u')': case u']': case u'}':
        return true;
    default:
        return false;
    }
}

bool isBlank(QChar c) { return c.isSpace(); }

// The end of the sentence that starts at from.
qsizetype sentenceEnd(QStringView t, qsizetype from)
{
    const qsizetype n = t.size();
    for (qsizetype i = from; i < n; ++i) {
        const char16_t c = t[i].unicode();
        if (isLineBreak(c))
            return i;
        bool stop = isHardStop(c);
        if (!stop && isAsciiStop(c))
            stop = i + 1 == n || isBlank(t[i + 1]) || isCloser(t[i + 1].unicode());
        if (stop) {
            qsizetype j = i + 1;
            while (j < n
                   && (isCloser(t[j].unicode()) || isHardStop(t[j].unicode())
                       || isAsciiStop(t[j].unicode())))
                ++j;
            return j;
        }
    }
    return n;
}

} // namespace

QList<Sentences::Range> Sentences::split(QStringView text)
{
    QList<Range> out;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        const qsizetype end = sentenceEnd(text, i);
        qsizetype trimmed = end;
        while (trimmed > i && isBlank(text[trimmed - 1]))
            --trimmed;
        out.append({i, trimmed});
        i = std::max(end, i + 1);
    }
    return out;
}

Sentences::Range Sentences::at(QStringView text, qsizetype pos)
{
    const QList<Range> all = split(text);
    if (all.isEmpty())
        return {};
    for (const Range &r : all) {
        if (pos < r.end)
            return r;
    }
    return all.last();
}
