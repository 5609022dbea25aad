#include "sentences.h"

namespace {

bool isHardStop(char16_t c)
{
    switch (c) {
    case u'。':
    case u'！':
    case u'？':
    case u'；':
    case u'…':
        return true;
    default:
        return false;
    }
}

bool isAsciiStop(char16_t c)
{
    return c == u'.' || c == u'!' || c == u'?' || c == u';';
}

bool isCloser(char16_t c)
{
    switch (c) {
    case u'”':
    case u'’':
    case u'」':
    case u'』':
    case u'）':
    case u'》':
    case u'】':
    case u'〉':
    case u'〕':
    case u'"':
    case u'\'':
    case u')':
    case u']':
    case u'}':
        return true;
    default:
        return false;
    }
}

} // namespace

bool Sentences::isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool Sentences::isBlank(QChar c)
{
    return c.isSpace();
}

qsizetype Sentences::end(QStringView t, qsizetype from, bool textEnds, bool *stopped)
{
    const qsizetype n = t.size();
    qsizetype stopAt = n;
    bool found = false;
    for (qsizetype i = from; i < n; ++i) {
        const char16_t c = t[i].unicode();
        if (isLineBreak(c)) {
            stopAt = i;
            found = true;
            break;
        }
        bool stop = isHardStop(c);
        if (!stop && isAsciiStop(c))
            stop = i + 1 == n ? textEnds : (isBlank(t[i + 1]) || isCloser(t[i + 1].unicode()));
        if (stop) {
            qsizetype j = i + 1;
            while (j < n
                && (isCloser(t[j].unicode()) || isHardStop(t[j].unicode())
                    || isAsciiStop(t[j].unicode())))
                ++j;
            stopAt = j;
            found = true;
            break;
        }
    }
    if (stopped)
        *stopped = found;
    while (stopAt > from && isBlank(t[stopAt - 1]))
        --stopAt;
    return stopAt;
}

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
        const qsizetype e = end(text, i);
        out.append({i, e});
        i = std::max(e, i + 1);
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
