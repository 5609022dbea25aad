// The seven-segment display, checked on the images it prepares and on what
// it paints off-screen, pixel by pixel.

#include "lcddisplay.h"

#include <QApplication>
#include <QTest>

namespace {

constexpr TColor Background = 0x102030; // RGB 30 20 10
constexpr TColor On = 0x0000FF; // red
constexpr TColor Off = 0x00C000; // green

// A point well inside each segment of a 15 × 25 digit with 5-pixel lines.
const QPoint SegmentProbe[7] = {{7, 2}, {2, 7}, {12, 7}, {7, 12}, {2, 17}, {12, 17}, {7, 22}};

QColor rgb(TColor c)
{
    return toQColor(c, QPalette());
}

void useClockDigits(TLcdDisplay &d)
{
    d.setDigitWidth(15);
    d.setDigitHeight(25);
    d.setDigitLineWidth(5);
    d.setBackgroundColor(Background);
    d.setLightOnColor(On);
    d.setLightOffColor(Off);
}

QImage render(TLcdDisplay &d)
{
    return d.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool sameImage(const QImage &shot, QPoint at, const QImage &digit)
{
    return shot.copy(QRect(at, digit.size())) == digit.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestLcdDisplay : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void cornerPointsOfTheClockDigits();
    void middleBarSpansRowsTenToFourteen();
    void digitsLightTheirSegments_data();
    void digitsLightTheirSegments();
    void twoDigitClockCellsAndPadding_data();
    void twoDigitClockCellsAndPadding();
    void sixDigitDefaultPlacement();
    void onlyLitSegmentsWhenOffEqualsBackground();
    void everySetterRebuildsEvenUnchanged();
    void systemColoursFollowThePalette();
    void outOfRangeValuesDrawSafely_data();
    void outOfRangeValuesDrawSafely();
};

void TestLcdDisplay::defaults()
{
    TLcdDisplay d;
    QCOMPARE(d.size(), QSize(168, 36));
    QCOMPARE(d.numDigits(), 6);
    QCOMPARE(d.value(), 0);
    QCOMPARE(d.digitHeight(), 30);
    QCOMPARE(d.digitWidth(), 20);
    QCOMPARE(d.digitLineWidth(), 5);
    QCOMPARE(d.backgroundColor(), TColor(0x008080));
    QCOMPARE(d.lightOnColor(), TColor(0x00FF00));
    QCOMPARE(d.lightOffColor(), TColor(0x008000));
    QCOMPARE(d.buildCount(), 1); // built once by the constructor
    QCOMPARE(d.digitImage(8).size(), QSize(20, 30));
}

void TestLcdDisplay::cornerPointsOfTheClockDigits()
{
    const std::array<QPoint, 14> p = TLcdDisplay::cornerPoints(15, 25, 5);
    const std::array<QPoint, 14> expected = {{
        {0, 0},
        {14, 0},
        {4, 4},
        {10, 4},
        {0, 12},
        {4, 10},
        {10, 10},
        {14, 12},
        {4, 14},
        {10, 14},
        {0, 24},
        {4, 20},
        {10, 20},
        {14, 24},
    }};
    QCOMPARE(p, expected);
}

void TestLcdDisplay::middleBarSpansRowsTenToFourteen()
{
    TLcdDisplay d;
    useClockDigits(d);
    const QImage eight = d.digitImage(8);
    // Down the middle column: the hollow above, the bar's outline at 10,
    // its body, its outline at 14, the hollow below.
    const int x = 7;
    for (int y = 5; y <= 9; ++y)
        QCOMPARE(QColor(eight.pixel(x, y)), rgb(Background));
    QCOMPARE(QColor(eight.pixel(x, 10)), rgb(Background));
    for (int y = 11; y <= 13; ++y)
        QCOMPARE(QColor(eight.pixel(x, y)), rgb(On));
    QCOMPARE(QColor(eight.pixel(x, 14)), rgb(Background));
    for (int y = 15; y <= 19; ++y)
        QCOMPARE(QColor(eight.pixel(x, y)), rgb(Background));
    // The outline covers the last row and column.
    for (int y = 0; y < 25; ++y)
        QCOMPARE(QColor(eight.pixel(14, y)), rgb(Background));
    for (int xx = 0; xx < 15; ++xx)
        QCOMPARE(QColor(eight.pixel(xx, 24)), rgb(Background));
}

void TestLcdDisplay::digitsLightTheirSegments_data()
{
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("lit"); // segments 0..6, 1 lit
    const char *rows[] = {"1110111", "0010010", "1011101", "1011011", "0111010", "1101011",
        "1101111", "1010010", "1111111", "1111011"};
    for (int d = 0; d < 10; ++d)
        QTest::addRow("digit_%d", d) << d << QString::fromLatin1(rows[d]);
}

void TestLcdDisplay::digitsLightTheirSegments()
{
    QFETCH(int, digit);
    QFETCH(QString, lit);
    TLcdDisplay d;
    useClockDigits(d);
    const QImage image = d.digitImage(digit);
    for (int s = 0; s < 7; ++s) {
        const QColor expected = rgb(lit[s] == u'1' ? On : Off);
        QVERIFY2(QColor(image.pixel(SegmentProbe[s])) == expected,
            qPrintable(QStringLiteral("segment %1").arg(s)));
    }
}

void TestLcdDisplay::twoDigitClockCellsAndPadding_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("seven") << 7 << "07";
    QTest::newRow("fifty_nine") << 59 << "59";
    QTest::newRow("zero") << 0 << "00";
    QTest::newRow("too_wide_keeps_leftmost") << 123 << "12";
}

void TestLcdDisplay::twoDigitClockCellsAndPadding()
{
    QFETCH(int, value);
    QFETCH(QString, shown);
    TLcdDisplay d;
    d.resize(30, 35);
    d.setNumDigits(2);
    useClockDigits(d);
    d.setValue(value);
    QCOMPARE(d.displayedText(), shown);
    const QImage shot = render(d);
    QCOMPARE(shot.size(), QSize(30, 35));
    QVERIFY(sameImage(shot, {0, 5}, d.digitImage(shown[0].digitValue())));
    QVERIFY(sameImage(shot, {15, 5}, d.digitImage(shown[1].digitValue())));
    for (int x = 0; x < 30; ++x) {
        for (int y : {0, 4, 30, 34})
            QCOMPARE(QColor(shot.pixel(x, y)), rgb(Background));
    }
}

void TestLcdDisplay::sixDigitDefaultPlacement()
{
    TLcdDisplay d;
    d.setValue(5);
    QCOMPARE(d.displayedText(), QStringLiteral("000005"));
    QImage shot = render(d);
    const int xs[] = {4, 32, 60, 88, 116, 144};
    for (int i = 0; i < 6; ++i)
        QVERIFY(sameImage(shot, {xs[i], 3}, d.digitImage(i == 5 ? 5 : 0)));
    QCOMPARE(QColor(shot.pixel(0, 0)), rgb(0x008080));
    QCOMPARE(QColor(shot.pixel(167, 35)), rgb(0x008080));

    d.setValue(1234567);
    QCOMPARE(d.displayedText(), QStringLiteral("123456"));
    shot = render(d);
    for (int i = 0; i < 6; ++i)
        QVERIFY(sameImage(shot, {xs[i], 3}, d.digitImage(i + 1)));
}

void TestLcdDisplay::onlyLitSegmentsWhenOffEqualsBackground()
{
    TLcdDisplay d;
    useClockDigits(d);
    d.setLightOffColor(Background);
    d.setLightOnColor(0xFF0000); // blue, set after the off colour
    for (int digit = 0; digit < 10; ++digit) {
        const QImage image = d.digitImage(digit);
        for (int s = 0; s < 7; ++s) {
            const bool lit = TLcdDisplay::DigitSegments[size_t(digit)][size_t(s)];
            QCOMPARE(QColor(image.pixel(SegmentProbe[s])), rgb(lit ? 0xFF0000 : Background));
        }
        // Nothing but the two colours anywhere.
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixel(x, y);
                QVERIFY(c == rgb(Background) || c == rgb(0xFF0000));
            }
        }
    }
}

void TestLcdDisplay::everySetterRebuildsEvenUnchanged()
{
    TLcdDisplay d;
    int builds = d.buildCount();
    d.setDigitWidth(d.digitWidth());
    QCOMPARE(d.buildCount(), ++builds);
    d.setDigitHeight(d.digitHeight());
    QCOMPARE(d.buildCount(), ++builds);
    d.setDigitLineWidth(d.digitLineWidth());
    QCOMPARE(d.buildCount(), ++builds);
    d.setBackgroundColor(d.backgroundColor());
    QCOMPARE(d.buildCount(), ++builds);
    d.setLightOnColor(d.lightOnColor());
    QCOMPARE(d.buildCount(), ++builds);
    d.setLightOffColor(d.lightOffColor());
    QCOMPARE(d.buildCount(), ++builds);
    // Value and digit count only repaint; painting never builds.
    d.setValue(42);
    d.setNumDigits(3);
    render(d);
    QCOMPARE(d.buildCount(), builds);
}

void TestLcdDisplay::systemColoursFollowThePalette()
{
    TLcdDisplay d;
    useClockDigits(d);
    d.setBackgroundColor(Colors::BtnFace);
    d.setLightOffColor(Colors::BtnFace);
    const QPalette before = QApplication::palette();
    QPalette pal = before;
    pal.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(pal);
    QCoreApplication::processEvents(); // the palette change is posted
    QCOMPARE(QColor(d.digitImage(1).pixel(0, 0)), QColor(0x12, 0x34, 0x56));
    QCOMPARE(QColor(d.digitImage(1).pixel(SegmentProbe[0])), QColor(0x12, 0x34, 0x56));
    QCOMPARE(QColor(render(d).pixel(0, 0)), QColor(0x12, 0x34, 0x56));
    // A palette of the widget's own does not count: system colours are the
    // application's.
    QPalette local = d.palette();
    local.setColor(QPalette::Button, Qt::magenta);
    d.setPalette(local);
    QCOMPARE(QColor(render(d).pixel(0, 0)), QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(before);
    QCoreApplication::processEvents();
    QCOMPARE(QColor(render(d).pixel(0, 0)), before.color(QPalette::Button));
}

void TestLcdDisplay::outOfRangeValuesDrawSafely_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no_digits") << 0 << 5 << "";
    QTest::newRow("negative_digits") << -3 << 5 << "";
    QTest::newRow("minus_five") << 2 << -5 << "-5";
    QTest::newRow("minus_wide") << 3 << -1234 << "-12";
    QTest::newRow("minus_in_one_cell") << 1 << -7 << "-";
    QTest::newRow("lowest_int") << 6 << std::numeric_limits<int>::min() << "-21474";
    QTest::newRow("more_digits_than_pixels") << 400 << 1 << QString(399, u'0') + u'1';
}

void TestLcdDisplay::outOfRangeValuesDrawSafely()
{
    QFETCH(int, digits);
    QFETCH(int, value);
    QFETCH(QString, shown);
    TLcdDisplay d;
    d.setNumDigits(digits);
    d.setValue(value);
    QCOMPARE(d.displayedText(), shown);
    const QImage shot = render(d); // must not crash or draw outside
    QCOMPARE(shot.size(), QSize(168, 36));
    if (shown.isEmpty()) {
        for (int x = 0; x < 168; x += 7)
            QCOMPARE(QColor(shot.pixel(x, 18)), rgb(0x008080));
    }
    if (shown.startsWith(u'-') && digits <= 6) {
        // The minus sign: the middle bar alone.
        const QImage minus = d.digitImage(10);
        QCOMPARE(QColor(minus.pixel(10, 15)), rgb(0x00FF00));
        QCOMPARE(QColor(minus.pixel(10, 2)), rgb(0x008000));
    }
}

QTEST_MAIN(TestLcdDisplay)
#include "tst_lcddisplay.moc"
