// Numbers and symbols as a Chinese reader says them. The expected readings
// follow the national conventions for numbers in Chinese text (GB/T
// 15835-2011, 出版物上数字用法) and common usage, as each row's rule says.

#include "textnormalizer.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

class TestTextNormalizer : public QObject
{
    Q_OBJECT

private slots:
    void readsNumbersAndSymbolsTheChineseWay_data();
    void readsNumbersAndSymbolsTheChineseWay();
    void cardinals_data();
    void cardinals();
    void everyUnitMapsBackToWhatItReads();
    void latinWordsAreMarkedForTheEnglishVoice();
    void hostileInputNeverStopsTheRest_data();
    void hostileInputNeverStopsTheRest();
    void randomInputAlwaysMapsInsideTheText();
};

void TestTextNormalizer::readsNumbersAndSymbolsTheChineseWay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");
    const auto row = [](const char *rule, const char16_t *text, const char16_t *read) {
        QTest::newRow(rule) << QString::fromUtf16(text) << QString::fromUtf16(read);
    };
    // 两 before a measure word, 二 everywhere else.
    row("two_before_a_measure_word_is_liang", u"买2个", u"买两个");
    row("twelve_keeps_er", u"买12个", u"买十二个");
    row("ordinal_two_keeps_er", u"第2个", u"第二个");
    row("february_keeps_er", u"2月", u"二月");
    row("leading_two_thousand_is_liang", u"2000元", u"两千元");
    row("leading_two_hundred_is_liang", u"200个", u"两百个");
    // Negative numbers, decimals digit by digit after 点.
    row("negative", u"温度-5度", u"温度负五度");
    row("negative_with_unit", u"气温-3℃", u"气温负三摄氏度");
    row("decimal", u"约3.14", u"约三点一四");
    row("decimal_below_one", u"只有0.05", u"只有零点零五");
    row("fraction_denominator_first", u"占3/4", u"占四分之三");
    row("percent", u"涨了3.5%", u"涨了百分之三点五");
    row("full_width_percent", u"涨了３．５％", u"涨了百分之三点五");
    row("per_mille", u"5‰", u"千分之五");
    row("ordinal", u"第3名", u"第三名");
    row("thousands_separators", u"共1,234,567人", u"共一百二十三万四千五百六十七人");
    // Years digit by digit; a span of years is a number.
    row("year_digit_by_digit", u"2026年", u"二零二六年");
    row("years_ago_are_counted", u"3000年前", u"三千年前");
    row("date_with_dashes", u"日期2026-12-11", u"日期二零二六年十二月十一日");
    row("date_with_slashes", u"日期2026/12/11", u"日期二零二六年十二月十一日");
    row("date_written_out", u"2026年12月11日", u"二零二六年十二月十一日");
    row("month_and_day", u"12月11日", u"十二月十一日");
    row("calendar_phrase", u"今天是2024年5月12日", u"今天是二零二四年五月十二日");
    // Clock times: 点 and 分, 零 before a one-digit minute, 两点.
    row("clock_time", u"08:30出发", u"八点三十分出发");
    row("clock_time_with_seconds", u"08:30:15出发", u"八点三十分十五秒出发");
    row("clock_time_full_width_colon", u"8：05出发", u"八点零五分出发");
    row("two_oclock", u"2:00开会", u"两点开会");
    row("score_is_a_ratio", u"比分3:2", u"比分三比二");
    // Ranges read 到.
    row("range_of_days", u"3-5天", u"三到五天");
    row("range_with_tilde", u"3~5人", u"三到五人");
    row("range_of_percentages", u"增长10%-20%", u"增长百分之十到百分之二十");
    row("range_of_years", u"2010-2020年", u"二零一零到二零二零年");
    // Money: the currency word after the number.
    row("yuan_sign", u"价格￥5", u"价格五元");
    row("yuan_word", u"价格5元", u"价格五元");
    row("dollars", u"花了$100", u"花了一百美元");
    row("euros", u"花了€5", u"花了五欧元");
    row("ten_thousand_yuan", u"共￥1.5万", u"共一点五万元");
    // Units after a number, with or without a blank.
    row("kilograms", u"重5kg", u"重五千克");
    row("kilometres", u"走了3 km", u"走了三千米");
    row("square_metres", u"面积20m²", u"面积二十平方米");
    row("square_metres_written_m2", u"面积100m2", u"面积一百平方米");
    row("square_metres_sign", u"面积90㎡", u"面积九十平方米");
    row("degrees_celsius", u"体温37℃", u"体温三十七摄氏度");
    row("degrees_celsius_two_signs", u"体温37°C", u"体温三十七摄氏度");
    row("speed", u"时速100km/h", u"时速一百千米每小时");
    row("unit_needs_a_word_boundary", u"型号5kgx", u"型号五kgx");
    // Phone numbers digit by digit, 1 read 幺.
    row("mobile_number", u"电话13812345678", u"电话幺三八幺二三四五六七八");
    row("mobile_number_grouped", u"电话138-1234-5678", u"电话幺三八幺二三四五六七八");
    row("landline", u"电话010-12345678", u"电话零幺零幺二三四五六七八");
    row("long_digit_string", u"编号12345678901234567890",
        u"编号一二三四五六七八九零一二三四五六七八九零");
    row("leading_zeros_digit_by_digit", u"代号007", u"代号零零七");
    // The drill's sums and their signs.
    row("sum", u"5+6=11", u"五加六等于十一");
    row("difference", u"5-3=2", u"五减三等于二");
    row("product", u"6×7=42", u"六乘七等于四十二");
    row("quotient", u"8÷2=4", u"八除以二等于四");
    row("question", u"5+6=?", u"五加六等于几");
    row("drill_phrase", u"出题 5加6", u"出题 五加六");
    // Symbols by name.
    row("ampersand", u"A&B公司", u"A和B公司");
    row("at_sign", u"@张三", u"艾特张三");
    row("hash_sign", u"#话题", u"井号话题");
    row("lone_percent_sign", u"符号%", u"符号百分号");
    row("dotted_digit_groups", u"版本1.2.3", u"版本一点二点三");
}

void TestTextNormalizer::readsNumbersAndSymbolsTheChineseWay()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    QCOMPARE(TextNormalizer::normalize(text).text, read);
}

void TestTextNormalizer::cardinals_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("read");
    // One 零 for a run of zeros inside, none at the end; 十 for a leading 10.
    const QList<std::pair<const char *, const char16_t *>> rows = {
        {"0", u"零"},
        {"7", u"七"},
        {"10", u"十"},
        {"15", u"十五"},
        {"20", u"二十"},
        {"110", u"一百一十"},
        {"101", u"一百零一"},
        {"1001", u"一千零一"},
        {"1010", u"一千零一十"},
        {"5010", u"五千零一十"},
        {"10000", u"一万"},
        {"10001", u"一万零一"},
        {"100010", u"十万零一十"},
        {"200000", u"二十万"},
        {"20000", u"两万"},
        {"120000000", u"一亿二千万"},
        {"100000001", u"一亿零一"},
        {"1000000000000", u"一万亿"},
        {"0012", u"十二"},
    };
    for (const auto &[digits, read] : rows)
        QTest::newRow(digits) << QString::fromLatin1(digits) << QString::fromUtf16(read);
}

void TestTextNormalizer::cardinals()
{
    QFETCH(QString, digits);
    QFETCH(QString, read);
    QCOMPARE(TextNormalizer::cardinal(digits), read);
}

void TestTextNormalizer::everyUnitMapsBackToWhatItReads()
{
    // The five syllables of 二零二六年 stand for the bytes of 2026年: each
    // digit for its digit, 年 for 年.
    const QString text = QStringLiteral("在2026年，体温37℃。");
    const NormalizedText n = TextNormalizer::normalize(text);
    QCOMPARE(n.text, QStringLiteral("在二零二六年，体温三十七摄氏度。"));
    const auto source = [&](qsizetype unit) {
        return text.mid(
            n.sourceStart[size_t(unit)], n.sourceEnd[size_t(unit)] - n.sourceStart[size_t(unit)]);
    };
    QCOMPARE(source(1), QStringLiteral("2"));
    QCOMPARE(source(2), QStringLiteral("0"));
    QCOMPARE(source(4), QStringLiteral("6"));
    QCOMPARE(source(5), QStringLiteral("年"));
    QCOMPARE(source(9), QStringLiteral("37")); // 三十七 all stand for 37
    QCOMPARE(source(11), QStringLiteral("37"));
    QCOMPARE(source(12), QStringLiteral("℃")); // 摄氏度 for the sign
    QCOMPARE(source(14), QStringLiteral("℃"));
    QCOMPARE(source(15), QStringLiteral("。"));
    // Digits read one by one keep their plain reading (no tone change of 一).
    QVERIFY(n.flags[1] & NormalizedText::Literal);
}

void TestTextNormalizer::latinWordsAreMarkedForTheEnglishVoice()
{
    // Capitals and single letters are spelled; a word of mixed case is a word.
    const QString text = QStringLiteral("用USB连iPhone买A股");
    const NormalizedText n = TextNormalizer::normalize(text);
    QCOMPARE(n.text, text);
    const auto flagsOf = [&](qsizetype i) { return n.flags[size_t(i)]; };
    for (int i : {1, 2, 3})
        QCOMPARE(flagsOf(i), uint8_t(NormalizedText::Spell));
    for (int i = 5; i < 11; ++i)
        QCOMPARE(flagsOf(i), uint8_t(NormalizedText::EnglishWord));
    QCOMPARE(flagsOf(12), uint8_t(NormalizedText::Spell));
    QCOMPARE(flagsOf(0), uint8_t(0));
}

void TestTextNormalizer::hostileInputNeverStopsTheRest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");
    QTest::newRow("huge_exponent")
        << QStringLiteral("值1e309完") << QStringLiteral("值一e三百零九完");
    QTest::newRow("division_by_zero")
        << QStringLiteral("算1/0完") << QStringLiteral("算一除以零完");
    QTest::newRow("lone_percent") << QStringLiteral("%") << QStringLiteral("百分号");
    QTest::newRow("double_colon") << QStringLiteral("甲::乙") << QStringLiteral("甲::乙");
    QTest::newRow("signs_without_numbers") << QStringLiteral("-+-.,/") << QStringLiteral("-加-.,/");
    QTest::newRow("operator_at_the_end") << QStringLiteral("5+") << QStringLiteral("五加");
    // Not a date (no 13th month): a sum of three numbers.
    QTest::newRow("date_that_is_not_one")
        << QStringLiteral("2026-13-45") << QStringLiteral("两千零二十六减十三减四十五");
    QTest::newRow("time_that_is_not_one")
        << QStringLiteral("25:99") << QStringLiteral("二十五比九十九");
    QString digits(10000, u'7');
    QTest::newRow("ten_thousand_digits")
        << digits + QStringLiteral("完") << QString(10000, u'七') + QStringLiteral("完");
}

void TestTextNormalizer::hostileInputNeverStopsTheRest()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    QElapsedTimer t;
    t.start();
    QCOMPARE(TextNormalizer::normalize(text).text, read);
    QVERIFY2(t.elapsed() < 1000, "linear in the text, whatever it holds");
}

void TestTextNormalizer::randomInputAlwaysMapsInsideTheText()
{
    // Texts of digits, signs and letters in any order: every unit of the
    // result stands for a part of the text, in bounds.
    const QString alphabet = QStringLiteral("0123456789+-=×÷/.,:%‰¥$€-~年月日点个第kmgAB ，。");
    QRandomGenerator random(42);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = int(random.bounded(1, 24));
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(alphabet.size()));
        const NormalizedText n = TextNormalizer::normalize(text);
        QCOMPARE(n.sourceStart.size(), size_t(n.text.size()));
        QCOMPARE(n.flags.size(), size_t(n.text.size()));
        for (size_t i = 0; i < n.sourceStart.size(); ++i) {
            QVERIFY2(n.sourceStart[i] >= 0 && n.sourceStart[i] < n.sourceEnd[i]
                    && n.sourceEnd[i] <= text.size(),
                qPrintable(text));
        }
    }
}

QTEST_GUILESS_MAIN(TestTextNormalizer)
#include "tst_textnormalizer.moc"
