#include "textnormalizer.h"

#include "hanreader.h"

#include <QStringList>

#include <algorithm>
#include <array>

// The readings follow the national conventions for numbers in Chinese text
// (GB/T 15835) and common usage:
//   cardinals with 万 and 亿, a single 零 for a run of zeros, 十 for a
//   leading 10 (十五, 一百一十), 两 for a leading 2 of 百/千/万/亿 and for a
//   lone 2 before a measure word (两个, but 第二个 and 十二个);
//   decimals and years digit by digit (三点一四, 二零二六年);
//   fractions as 四分之三, percentages as 百分之三点五;
//   clock times as 八点三十分, phone numbers digit by digit with 幺 for 1.

void NormalizedText::append(QStringView s, qint32 from, qint32 to, uint8_t flag)
{
    text.append(s);
    sourceStart.insert(sourceStart.end(), size_t(s.size()), from);
    sourceEnd.insert(sourceEnd.end(), size_t(s.size()), to);
    flags.insert(flags.end(), size_t(s.size()), flag);
}

void NormalizedText::append(QChar c, qint32 from, qint32 to, uint8_t flag)
{
    append(QStringView(&c, 1), from, to, flag);
}

namespace {

constexpr char16_t DigitNames[] = u"零一二三四五六七八九";

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Measure words after which a lone 2 is read 两.
bool isMeasureWord(char16_t c)
{
    static constexpr std::u16string_view words
        = u"个位只本张条件次天年岁斤两块元角毛点种辆台部家头匹把根支双对份片层间杯碗瓶盒包"
          u"米克吨周倍成套场颗粒滴排户首篇句门架艘座栋所棵朵枝封项道声下遍回趟样名人口串"
          u"幅扇面节段笔批群秒分刻里寸尺亩张顿餐盘";
    return words.find(c) != std::u16string_view::npos;
}

struct Unit {
    std::u16string_view symbol;
    std::u16string_view reading;
    bool needsBoundary; // a Latin unit must not run on into a word
};

// Longest symbols first.
constexpr Unit Units[] = {
    {u"km/h", u"千米每小时", true},
    {u"m/s", u"米每秒", true},
    {u"km²", u"平方千米", false},
    {u"cm²", u"平方厘米", false},
    {u"mm²", u"平方毫米", false},
    {u"m²", u"平方米", false},
    {u"cm³", u"立方厘米", false},
    {u"m³", u"立方米", false},
    {u"km2", u"平方千米", true},
    {u"cm2", u"平方厘米", true},
    {u"cm3", u"立方厘米", true},
    {u"m2", u"平方米", true},
    {u"m3", u"立方米", true},
    {u"mAh", u"毫安时", true},
    {u"kWh", u"千瓦时", true},
    {u"kHz", u"千赫", true},
    {u"MHz", u"兆赫", true},
    {u"GHz", u"吉赫", true},
    {u"Hz", u"赫兹", true},
    {u"km", u"千米", true},
    {u"cm", u"厘米", true},
    {u"mm", u"毫米", true},
    {u"nm", u"纳米", true},
    {u"kg", u"千克", true},
    {u"mg", u"毫克", true},
    {u"ml", u"毫升", true},
    {u"mL", u"毫升", true},
    {u"kW", u"千瓦", true},
    {u"min", u"分钟", true},
    {u"ms", u"毫秒", true},
    {u"°C", u"摄氏度", false},
    {u"°F", u"华氏度", false},
    {u"℃", u"摄氏度", false},
    {u"℉", u"华氏度", false},
    {u"°", u"度", false},
    {u"㎡", u"平方米", false},
    {u"㎞", u"千米", false},
    {u"㎏", u"千克", false},
    {u"㎎", u"毫克", false},
    {u"㎝", u"厘米", false},
    {u"㎜", u"毫米", false},
    {u"㏄", u"毫升", false},
    {u"g", u"克", true},
    {u"m", u"米", true},
    {u"L", u"升", true},
    {u"W", u"瓦", true},
    {u"V", u"伏", true},
    {u"h", u"小时", true},
    {u"s", u"秒", true},
};

struct Currency {
    char16_t symbol;
    std::u16string_view reading;
};
constexpr Currency Currencies[] = {
    {u'¥', u"元"},
    {u'￥', u"元"},
    {u'$', u"美元"},
    {u'€', u"欧元"},
    {u'£', u"英镑"},
    {u'￡', u"英镑"},
};

std::u16string_view currencyReading(char16_t c)
{
    for (const Currency &cur : Currencies) {
        if (cur.symbol == c)
            return cur.reading;
    }
    return {};
}

// Symbols read by name wherever they stand.
std::u16string_view symbolName(char16_t c)
{
    switch (c) {
    case u'&':
        return u"和";
    case u'@':
        return u"艾特";
    case u'#':
        return u"井号";
    case u'%':
        return u"百分号";
    case u'‰':
        return u"千分号";
    case u'+':
        return u"加";
    case u'=':
        return u"等于";
    case u'×':
        return u"乘";
    case u'÷':
        return u"除以";
    case u'±':
        return u"正负";
    case u'≈':
        return u"约等于";
    case u'≠':
        return u"不等于";
    case u'≤':
        return u"小于等于";
    case u'≥':
        return u"大于等于";
    case u'∞':
        return u"无穷大";
    case u'√':
        return u"根号";
    case u'℃':
        return u"摄氏度";
    case u'℉':
        return u"华氏度";
    case u'©':
        return u"版权";
    case u'®':
        return u"注册商标";
    case u'™':
        return u"商标";
    case u'§':
        return u"节";
    case u'¥':
    case u'￥':
        return u"元";
    case u'€':
        return u"欧元";
    case u'£':
        return u"英镑";
    default:
        return {};
    }
}

// Operators between two numbers.
std::u16string_view operatorName(char16_t c)
{
    switch (c) {
    case u'+':
        return u"加";
    case u'-':
    case u'−':
        return u"减";
    case u'×':
    case u'*':
        return u"乘";
    case u'÷':
    case u'/':
        return u"除以";
    case u'=':
        return u"等于";
    case u'>':
        return u"大于";
    case u'<':
        return u"小于";
    case u'≥':
        return u"大于等于";
    case u'≤':
        return u"小于等于";
    case u'≠':
        return u"不等于";
    case u'≈':
        return u"约等于";
    default:
        return {};
    }
}

bool isRangeMark(char16_t c)
{
    return c == u'-' || c == u'~' || c == u'—' || c == u'–' || c == u'〜';
}

char16_t fold(char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        return char16_t(c - 0xFEE0); // full-width ASCII
    if (c == 0x3000)
        return u' ';
    return c;
}

QString groupCardinal(int value, bool leadingTen, bool leadingTwo)
{
    // value < 10000; "leadingTen": 10-19 at the head of the number read 十…
    static constexpr char16_t Places[] = {u'千', u'百', u'十', 0};
    QString out;
    const int d[4] = {value / 1000, value / 100 % 10, value / 10 % 10, value % 10};
    bool started = false;
    bool zero = false;
    for (int k = 0; k < 4; ++k) {
        if (d[k] == 0) {
            zero = started;
            continue;
        }
        if (zero)
            out.append(u'零');
        zero = false;
        const bool first = !started;
        started = true;
        if (k == 2 && d[k] == 1 && first && leadingTen) {
            out.append(u'十');
            continue;
        }
        if (d[k] == 2 && first && leadingTwo && (k == 0 || k == 1))
            out.append(u'两');
        else
            out.append(QChar(DigitNames[d[k]]));
        if (Places[k])
            out.append(QChar(Places[k]));
    }
    return out;
}

class Normalizer
{
public:
    explicit Normalizer(QStringView input)
        : m_source(input)
    {
        m_t.resize(input.size());
        for (qsizetype i = 0; i < input.size(); ++i)
            m_t[i] = QChar(fold(input[i].unicode()));
        m_n = m_t.size();
    }

    NormalizedText run()
    {
        for (qsizetype i = 0; i < m_n;) {
            const char16_t c = at(i);
            if (isDigit(c) || (isSignContext(i) && isDigit(at(i + 1)))
                || (!currencyReading(c).empty() && isDigit(at(i + 1)))) {
                i = number(i);
            } else if (TextNormalizer::isLatinLetter(c)) {
                i = latin(i);
            } else if (const std::u16string_view name = symbolName(c); !name.empty()) {
                emitText(name, i, i + 1, 0);
                ++i;
            } else {
                emitOriginal(i);
                ++i;
            }
        }
        return std::move(m_out);
    }

private:
    struct Number {
        qsizetype start = 0;
        qsizetype end = 0; // past the last digit
        QString integer; // digits, without group separators
        QString fraction; // digits after the point
        bool negative = false;
        bool positive = false; // an explicit +
        std::u16string_view currency;
        bool valid = false;
    };

    char16_t at(qsizetype i) const { return i >= 0 && i < m_n ? m_t[i].unicode() : char16_t(0); }

    bool isSignContext(qsizetype i) const
    {
        const char16_t c = at(i);
        if (c != u'-' && c != u'−' && c != u'+')
            return false;
        const char16_t prev = at(i - 1);
        return !(isDigit(prev) || TextNormalizer::isLatinLetter(prev) || prev == u')'
            || prev == u'%' || prev == u'.');
    }

    void emitText(std::u16string_view s, qsizetype from, qsizetype to, uint8_t flag)
    {
        m_out.append(QStringView(s.data(), qsizetype(s.size())), qint32(from), qint32(to), flag);
    }
    void emitText(const QString &s, qsizetype from, qsizetype to, uint8_t flag)
    {
        m_out.append(s, qint32(from), qint32(to), flag);
    }
    void emitOriginal(qsizetype i)
    {
        const QChar folded = m_t[i];
        // Letters and digits as read; everything else as written.
        const QChar shown
            = folded.unicode() < 0x80 && folded.isLetterOrNumber() ? folded : m_source[i];
        m_out.append(shown, qint32(i), qint32(i + 1));
    }

    // A cardinal: all Literal but a 一 before 百, 千, 万 or 亿, and a lone 一
    // counting something ("1个"), which take the tone that follows.
    void emitCardinal(
        QStringView digits, qsizetype from, qsizetype to, bool counting, bool twoCounts)
    {
        QString s = TextNormalizer::cardinal(digits);
        if (twoCounts && s == u"二")
            s = QStringLiteral("两");
        for (qsizetype k = 0; k < s.size(); ++k) {
            const char16_t c = s[k].unicode();
            const char16_t next = k + 1 < s.size() ? s[k + 1].unicode() : 0;
            const bool free = c == u'一'
                && (next == u'百' || next == u'千' || next == u'万' || next == u'亿'
                    || (s.size() == 1 && counting));
            m_out.append(s[k], qint32(from), qint32(to), free ? 0 : NormalizedText::Literal);
        }
    }

    void emitDigits(QStringView digits, qsizetype from, bool phone)
    {
        // One source character per digit, so each syllable maps to its digit.
        qsizetype src = from;
        for (QChar d : digits) {
            while (src < m_n && !isDigit(at(src)))
                ++src;
            const QChar name
                = phone && d == u'1' ? QChar(u'幺') : QChar(DigitNames[d.unicode() - u'0']);
            m_out.append(name, qint32(src), qint32(src + 1), NormalizedText::Literal);
            ++src;
        }
    }

    qsizetype digitRun(qsizetype i) const
    {
        while (isDigit(at(i)))
            ++i;
        return i;
    }

    Number parseNumber(qsizetype i) const
    {
        Number num;
        num.start = i;
        if (const std::u16string_view cur = currencyReading(at(i)); !cur.empty()) {
            num.currency = cur;
            ++i;
        }
        if (at(i) == u'-' || at(i) == u'−') {
            num.negative = true;
            ++i;
        } else if (at(i) == u'+') {
            num.positive = true;
            ++i;
        }
        if (!isDigit(at(i)))
            return num;
        qsizetype e = digitRun(i);
        num.integer = m_t.sliced(i, e - i);
        // Thousands separators: groups of exactly three digits.
        if (e - i <= 3) {
            qsizetype g = e;
            while (at(g) == u',' && digitRun(g + 1) == g + 4) {
                num.integer += m_t.sliced(g + 1, 3);
                g += 4;
            }
            e = g;
        }
        if (at(e) == u'.' && isDigit(at(e + 1))) {
            const qsizetype f = digitRun(e + 1);
            num.fraction = m_t.sliced(e + 1, f - e - 1);
            e = f;
        }
        num.end = e;
        num.valid = true;
        return num;
    }

    // 2026-12-11, 2026/12/11, 2026.12.11
    bool date(qsizetype i, qsizetype *end)
    {
        if (digitRun(i) != i + 4)
            return false;
        const char16_t sep = at(i + 4);
        if (sep != u'-' && sep != u'/' && sep != u'.')
            return false;
        const qsizetype m = i + 5;
        const qsizetype me = digitRun(m);
        if (me == m || me - m > 2 || at(me) != sep)
            return false;
        const qsizetype d = me + 1;
        const qsizetype de = digitRun(d);
        if (de == d || de - d > 2 || (at(de) == u'.' && isDigit(at(de + 1))))
            return false;
        const int month = m_t.sliced(m, me - m).toInt();
        const int day = m_t.sliced(d, de - d).toInt();
        if (month < 1 || month > 12 || day < 1 || day > 31)
            return false;
        emitDigits(m_t.sliced(i, 4), i, false);
        m_out.append(u'年', qint32(i + 4), qint32(i + 5), NormalizedText::Literal);
        emitCardinal(QString::number(month), m, me, false, false);
        m_out.append(u'月', qint32(me), qint32(me + 1), NormalizedText::Literal);
        emitCardinal(QString::number(day), d, de, false, false);
        // "2026-12-11日" already says 日.
        if (at(de) != u'日' && at(de) != u'号')
            m_out.append(u'日', qint32(d), qint32(de), NormalizedText::Literal);
        *end = de;
        return true;
    }

    // 08:30, 8:05:15 (a colon of either width)
    bool clockTime(qsizetype i, qsizetype *end)
    {
        const auto isColon = [](char16_t c) { return c == u':'; };
        const qsizetype he = digitRun(i);
        if (he - i > 2 || !isColon(at(he)))
            return false;
        const qsizetype m = he + 1;
        if (digitRun(m) != m + 2)
            return false;
        qsizetype e = m + 2;
        int seconds = -1;
        if (isColon(at(e)) && digitRun(e + 1) == e + 3) {
            seconds = m_t.sliced(e + 1, 2).toInt();
            e += 3;
        }
        if (isDigit(at(e)))
            return false;
        const int hour = m_t.sliced(i, he - i).toInt();
        const int minute = m_t.sliced(m, 2).toInt();
        if (hour > 24 || minute > 59 || seconds > 59)
            return false;
        emitCardinal(QString::number(hour), i, he, false, true);
        m_out.append(u'点', qint32(he), qint32(he + 1), NormalizedText::Literal);
        if (minute > 0 || seconds >= 0) {
            if (minute > 0 && minute < 10)
                m_out.append(u'零', qint32(m), qint32(m + 1), NormalizedText::Literal);
            if (minute > 0 || seconds > 0) {
                emitCardinal(QString::number(minute), m, m + 2, false, false);
                m_out.append(u'分', qint32(m), qint32(m + 2), NormalizedText::Literal);
            }
            if (seconds > 0) {
                emitCardinal(QString::number(seconds), e - 2, e, false, false);
                m_out.append(u'秒', qint32(e - 2), qint32(e), NormalizedText::Literal);
            }
        }
        *end = e;
        return true;
    }

    // Phone numbers: mobile 1xx xxxx xxxx, 0xx(x)-xxxxxxx(x), 400/800 numbers.
    bool phone(qsizetype i, qsizetype *end)
    {
        // The digit groups from i, joined by one kind of separator.
        QList<qsizetype> ends; // of each group
        QString digits;
        QList<int> groups;
        char16_t separator = 0;
        for (qsizetype e = i;;) {
            const qsizetype g = digitRun(e);
            digits += m_t.sliced(e, g - e);
            groups.append(int(g - e));
            ends.append(g);
            const char16_t sep = at(g);
            if (groups.size() == 3 || (sep != u'-' && sep != u' ') || !isDigit(at(g + 1))
                || (separator && sep != separator))
                break;
            separator = sep;
            e = g + 1;
        }
        // The longest run of groups that makes a phone number.
        for (qsizetype n = groups.size(); n >= 1; --n) {
            const QList<int> g = groups.first(n);
            const qsizetype e = ends[n - 1];
            if (at(e) == u'.' || isDigit(at(e)))
                continue;
            qsizetype count = 0;
            for (int k : g)
                count += k;
            const QStringView d = QStringView(digits).first(count);
            const bool mobile = count == 11 && d[0] == u'1' && d[1] >= u'3'
                && (n == 1 || g == QList<int> {3, 4, 4});
            const bool landline = d[0] == u'0' && d[1] != u'0'
                && ((n == 1 && count >= 10 && count <= 12)
                    || (n == 2 && g[0] >= 3 && g[0] <= 4 && g[1] >= 7 && g[1] <= 8));
            const bool service = (d.startsWith(u"400") || d.startsWith(u"800")) && count == 10
                && (n == 1 || g == QList<int> {3, 3, 4});
            if (mobile || landline || service) {
                emitDigits(d, i, true);
                *end = e;
                return true;
            }
        }
        return false;
    }

    void emitNumber(const Number &num, bool counting, bool twoCounts, bool literalInteger = false)
    {
        const qsizetype from = num.start;
        const qsizetype to = num.end;
        if (num.negative)
            m_out.append(u'负', qint32(from), qint32(to), NormalizedText::Literal);
        if (num.positive)
            m_out.append(u'正', qint32(from), qint32(to), NormalizedText::Literal);
        const QString &integer = num.integer;
        const bool leadingZeros = integer.size() > 1 && integer[0] == u'0';
        if (integer.size() > 16 || leadingZeros || literalInteger) {
            emitDigits(integer, from, false);
        } else {
            const bool point = !num.fraction.isEmpty();
            emitCardinal(integer, from, to, counting && !point, twoCounts && !point);
        }
        if (!num.fraction.isEmpty()) {
            m_out.append(u'点', qint32(from), qint32(to), NormalizedText::Literal);
            emitDigits(num.fraction, to - num.fraction.size(), false);
        }
    }

    // A unit right after position e (one blank allowed): its reading and end.
    bool unitAt(qsizetype e, std::u16string_view *reading, qsizetype *end) const
    {
        qsizetype s = e;
        if (at(s) == u' ' && !isDigit(at(s + 1)))
            ++s;
        for (const Unit &u : Units) {
            const qsizetype len = qsizetype(u.symbol.size());
            if (s + len > m_n)
                continue;
            if (QStringView(m_t).sliced(s, len) != QStringView(u.symbol.data(), len))
                continue;
            if (u.needsBoundary && TextNormalizer::isLatinLetter(at(s + len)))
                continue;
            // A blank before a letter unit only counts before the unit's end
            // ("5 m" is five metres, "5 my" is not).
            *reading = u.reading;
            *end = s + len;
            return true;
        }
        return false;
    }

    // What follows a number: %, ‰, a unit, a currency word. Returns where
    // the number's expression ends; percent text goes before the number.
    struct Suffix {
        std::u16string_view before; // 百分之
        std::u16string_view after; // 千米, 元
        qsizetype afterFrom = 0;
        qsizetype end = 0;
    };
    Suffix suffixOf(const Number &num) const
    {
        Suffix s;
        s.end = num.end;
        if (at(s.end) == u'%') {
            s.before = u"百分之";
            ++s.end;
        } else if (at(s.end) == u'‰') {
            s.before = u"千分之";
            ++s.end;
        } else {
            std::u16string_view unit;
            qsizetype unitEnd = 0;
            if (unitAt(s.end, &unit, &unitEnd)) {
                s.after = unit;
                s.afterFrom = s.end;
                s.end = unitEnd;
            }
        }
        return s;
    }

    void emitWithSuffix(const Number &num, const Suffix &suffix, bool counting)
    {
        if (!suffix.before.empty())
            emitText(suffix.before, num.start, suffix.end, NormalizedText::Literal);
        // 万 and 亿 written as characters come before the currency word: ¥5万 → 五万元.
        const char16_t next = at(suffix.end);
        const bool measured = !suffix.after.empty() || !num.currency.empty() || isMeasureWord(next);
        const bool twoCounts = suffix.before.empty() && measured && at(num.start - 1) != u'第';
        // 一 counting something takes the tone that follows (一个 yi2 ge4);
        // as a clock hour, a date or a plain number it keeps its own (一点).
        counting = counting && suffix.before.empty() && measured && next != u'点';
        emitNumber(num, counting, twoCounts);
        if (!suffix.after.empty())
            emitText(suffix.after, suffix.afterFrom, suffix.end, 0);
        if (!num.currency.empty()) {
            qsizetype e = suffix.end;
            if (at(e) == u'万' || at(e) == u'亿' || at(e) == u'千') {
                m_out.append(m_t[e], qint32(e), qint32(e + 1), NormalizedText::Literal);
                m_consumedAfter = e + 1;
            }
            emitText(num.currency, num.start, num.start + 1, 0);
        }
    }

    qsizetype number(qsizetype i)
    {
        qsizetype end = 0;
        if (isDigit(at(i)) && (date(i, &end) || clockTime(i, &end) || phone(i, &end)))
            return end;

        const Number first = parseNumber(i);
        if (!first.valid) {
            emitOriginal(i);
            return i + 1;
        }
        // Dotted digit groups (versions, addresses): 1.2.3 → 一点二点三.
        if (!first.fraction.isEmpty() && at(first.end) == u'.' && isDigit(at(first.end + 1))) {
            qsizetype e = i;
            while (isDigit(at(e))) {
                const qsizetype g = digitRun(e);
                emitDigits(m_t.sliced(e, g - e), e, false);
                e = g;
                if (at(e) == u'.' && isDigit(at(e + 1))) {
                    m_out.append(u'点', qint32(e), qint32(e + 1), NormalizedText::Literal);
                    ++e;
                }
            }
            return e;
        }

        // A chain of numbers and operators: 5+6=11, 3-5, 3/4, 10%-20%.
        struct Link {
            Number num;
            Suffix suffix;
            char16_t op = 0; // the operator before this number
        };
        QList<Link> chain {{first, suffixOf(first), 0}};
        bool asks = false; // "= ?" at the end
        for (;;) {
            qsizetype p = chain.last().suffix.end;
            while (at(p) == u' ')
                ++p;
            const char16_t op = at(p);
            if (operatorName(op).empty() && !isRangeMark(op) && op != u':')
                break;
            qsizetype q = p + 1;
            while (at(q) == u' ')
                ++q;
            if (op == u'=' && (at(q) == u'?' || at(q) == u'？')) {
                asks = true;
                Number question;
                question.start = q;
                question.end = q + 1;
                Suffix none;
                none.end = q + 1;
                chain.append({question, none, op});
                break;
            }
            const bool signedNumber = (at(q) == u'-' || at(q) == u'−') && isDigit(at(q + 1));
            if (!isDigit(at(q)) && !signedNumber)
                break;
            const Number next = parseNumber(q);
            if (!next.valid)
                break;
            chain.append({next, suffixOf(next), op});
        }

        const qsizetype chainEnd = chain.last().suffix.end;
        m_consumedAfter = chainEnd;
        const auto opCount = [&](auto pred) {
            return std::count_if(
                chain.begin() + 1, chain.end(), [&](const Link &l) { return pred(l.op); });
        };
        const bool hasEquals = opCount([](char16_t o) { return o == u'='; }) > 0;
        const int ops = int(chain.size()) - 1;

        if (ops == 0) {
            const Number &num = first;
            const bool plainInteger = num.fraction.isEmpty() && !num.negative && !num.positive
                && num.currency.empty() && chain[0].suffix.end == num.end;
            // Years: four digits before 年 (but "3000年前" counts years).
            if (plainInteger && num.integer.size() == 4 && at(num.end) == u'年'
                && at(num.end + 1) != u'前') {
                emitDigits(num.integer, num.start, false);
                return num.end;
            }
            emitWithSuffix(num, chain[0].suffix, true);
            return std::max(m_consumedAfter, chain[0].suffix.end);
        }

        if (ops == 1 && !hasEquals) {
            const Link &a = chain[0];
            const Link &b = chain[1];
            const bool integers = a.num.fraction.isEmpty() && b.num.fraction.isEmpty()
                && !a.num.negative && !b.num.negative && a.suffix.end == a.num.end
                && b.suffix.end == b.num.end && a.num.currency.empty() && b.num.currency.empty();
            if (isRangeMark(b.op)) {
                // 3-5天, 2010-2020年, 10%-20%: the second number ends the range.
                const bool years = integers && a.num.integer.size() == 4
                    && b.num.integer.size() == 4 && at(b.num.end) == u'年';
                if (years) {
                    emitDigits(a.num.integer, a.num.start, false);
                    m_out.append(
                        u'到', qint32(a.num.end), qint32(b.num.start), NormalizedText::Literal);
                    emitDigits(b.num.integer, b.num.start, false);
                    return b.num.end;
                }
                emitWithSuffix(a.num, a.suffix, false);
                m_out.append(
                    u'到', qint32(a.suffix.end), qint32(b.num.start), NormalizedText::Literal);
                emitWithSuffix(b.num, b.suffix, true);
                return std::max(m_consumedAfter, b.suffix.end);
            }
            if (b.op == u'/' && integers && b.num.integer.size() <= 16 && a.num.integer.size() <= 16
                && b.num.integer.toULongLong() != 0) {
                emitCardinal(b.num.integer, b.num.start, b.num.end, false, false);
                m_out.append(
                    u'分', qint32(a.num.end), qint32(b.num.start), NormalizedText::Literal);
                m_out.append(
                    u'之', qint32(a.num.end), qint32(b.num.start), NormalizedText::Literal);
                emitCardinal(a.num.integer, a.num.start, a.num.end, false, false);
                return b.num.end;
            }
            if (b.op == u':' && integers) {
                emitCardinal(a.num.integer, a.num.start, a.num.end, false, false);
                m_out.append(
                    u'比', qint32(a.num.end), qint32(b.num.start), NormalizedText::Literal);
                emitCardinal(b.num.integer, b.num.start, b.num.end, false, false);
                return b.num.end;
            }
        }

        // An expression: every number as a cardinal, every operator by name.
        for (qsizetype k = 0; k < chain.size(); ++k) {
            const Link &l = chain[k];
            if (k > 0) {
                const std::u16string_view name = l.op == u':' ? u"比"
                    : isRangeMark(l.op) && l.op != u'-'       ? u"到"
                                                              : operatorName(l.op);
                emitText(name, chain[k - 1].suffix.end, l.num.start, NormalizedText::Literal);
            }
            if (asks && k == chain.size() - 1) {
                emitText(u"几", l.num.start, l.num.end, NormalizedText::Literal);
                break;
            }
            emitWithSuffix(l.num, l.suffix, false);
        }
        return std::max(m_consumedAfter, chainEnd);
    }

    qsizetype latin(qsizetype i)
    {
        qsizetype e = i;
        // Web and mail addresses go to the English voice whole.
        qsizetype w = i;
        while (w < m_n && at(w) < 0x80 && !QChar(at(w)).isSpace() && at(w) != u',' && at(w) != u'('
            && at(w) != u')')
            ++w;
        const QStringView token = QStringView(m_t).sliced(i, w - i);
        const bool address = (token.contains(u'@') && token.indexOf(u'.', token.indexOf(u'@')) > 0)
            || token.startsWith(u"http://") || token.startsWith(u"https://")
            || token.startsWith(u"www.");
        if (address) {
            while (w > i && (at(w - 1) == u'.' || at(w - 1) == u'!' || at(w - 1) == u'?'))
                --w;
            for (qsizetype k = i; k < w; ++k)
                m_out.append(m_t[k], qint32(k), qint32(k + 1), NormalizedText::EnglishWord);
            return w;
        }
        while (e < m_n) {
            if (TextNormalizer::isLatinLetter(at(e))) {
                ++e;
            } else if ((at(e) == u'\'' || at(e) == u'’' || at(e) == u'-')
                && TextNormalizer::isLatinLetter(at(e + 1)) && e > i) {
                e += 2;
            } else {
                break;
            }
        }
        const QStringView word = QStringView(m_t).sliced(i, e - i);
        bool allCapitals = true;
        for (QChar c : word) {
            if (c.isLetter() && !c.isUpper())
                allCapitals = false;
        }
        const bool spell = word.size() == 1
            || (allCapitals && word.size() <= 6 && !word.contains(u'-') && !word.contains(u'\''));
        for (qsizetype k = i; k < e; ++k) {
            m_out.append(m_t[k], qint32(k), qint32(k + 1),
                spell ? NormalizedText::Spell : NormalizedText::EnglishWord);
        }
        return e;
    }

    QStringView m_source;
    QString m_t; // folded: full-width letters, digits and signs made plain
    qsizetype m_n = 0;
    qsizetype m_consumedAfter = 0;
    NormalizedText m_out;
};

} // namespace

bool TextNormalizer::isLatinLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
        || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

QString TextNormalizer::cardinal(QStringView digits)
{
    qsizetype lead = 0;
    while (lead < digits.size() - 1 && digits[lead] == u'0')
        ++lead;
    const QStringView d = digits.sliced(lead);
    if (d.isEmpty())
        return QString();
    if (d.size() > 16)
        return TextNormalizer::digits(d);
    if (d == u"0")
        return QStringLiteral("零");
    static constexpr std::u16string_view GroupUnits[] = {u"", u"万", u"亿", u"万亿"};
    const int groups = int((d.size() + 3) / 4);
    QString out;
    bool any = false;
    bool gap = false; // zeros since the last group that was read
    for (int g = groups - 1; g >= 0; --g) {
        const qsizetype end = d.size() - qsizetype(g) * 4;
        const qsizetype start = std::max<qsizetype>(0, end - 4);
        const int value = d.sliced(start, end - start).toInt();
        if (value == 0) {
            gap = any;
            continue;
        }
        if (any && (gap || value < 1000))
            out.append(u'零');
        const bool head = !any;
        out += groupCardinal(value, head, head && (value >= 100 || g > 0));
        out.append(QStringView(GroupUnits[g].data(), qsizetype(GroupUnits[g].size())));
        any = true;
        gap = false;
    }
    // A lone leading 2 of a group read with 万/亿 is 两 (两万), but 二十万.
    if (out.startsWith(u"二万") || out.startsWith(u"二亿"))
        out[0] = u'两';
    return out;
}

QString TextNormalizer::digits(QStringView s, bool phone)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (c >= u'0' && c <= u'9')
            out.append(phone && c == u'1' ? QChar(u'幺') : QChar(DigitNames[c.unicode() - u'0']));
    }
    return out;
}

NormalizedText TextNormalizer::normalize(QStringView sentence)
{
    return Normalizer(sentence).run();
}
