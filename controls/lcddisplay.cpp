#include "lcddisplay.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>

namespace {
constexpr int MinusIndex = 10;
}

const std::array<std::array<bool, TLcdDisplay::SegmentCount>, 10> TLcdDisplay::DigitSegments = {{
    {1, 1, 1, 0, 1, 1, 1}, // 0
    {0, 0, 1, 0, 0, 1, 0}, // 1
    {1, 0, 1, 1, 1, 0, 1}, // 2
    {1, 0, 1, 1, 0, 1, 1}, // 3
    {0, 1, 1, 1, 0, 1, 0}, // 4
    {1, 1, 0, 1, 0, 1, 1}, // 5
    {1, 1, 0, 1, 1, 1, 1}, // 6
    {1, 0, 1, 0, 0, 1, 0}, // 7
    {1, 1, 1, 1, 1, 1, 1}, // 8
    {1, 1, 1, 1, 0, 1, 1}, // 9
}};

const std::array<std::vector<int>, TLcdDisplay::SegmentCount> TLcdDisplay::SegmentPolygons = {{
    {0, 1, 3, 2}, // top
    {0, 2, 5, 4}, // upper left
    {1, 7, 6, 3}, // upper right
    {4, 5, 6, 7, 9, 8}, // middle
    {4, 8, 11, 10}, // lower left
    {7, 13, 12, 9}, // lower right
    {10, 11, 12, 13}, // bottom
}};

TLcdDisplay::TLcdDisplay(QWidget *parent)
    : QWidget(parent)
{
    resize(168, 36);
    setAttribute(Qt::WA_OpaquePaintEvent);
    buildDigitImages();
}

std::array<QPoint, 14> TLcdDisplay::cornerPoints(int w, int h, int l)
{
    const int half = h / 2;
    const int t = l / 2;
    return {{
        {0, 0},
        {w - 1, 0},
        {l - 1, l - 1},
        {w - l, l - 1},
        {0, half},
        {l - 1, half - t},
        {w - l, half - t},
        {w - 1, half},
        {l - 1, half + t},
        {w - l, half + t},
        {0, h - 1},
        {l - 1, h - l},
        {w - l, h - l},
        {w - 1, h - 1},
    }};
}

void TLcdDisplay::setDigitSegments(int digit, const std::array<bool, SegmentCount> &on)
{
    for (int s = 0; s < SegmentCount; ++s)
        m_segmentColors[size_t(digit)][size_t(s)]
            = on[size_t(s)] ? m_lightOnColor : m_lightOffColor;
}

void TLcdDisplay::buildDigitImages()
{
    for (int d = 0; d < 10; ++d)
        setDigitSegments(d, DigitSegments[size_t(d)]);
    setDigitSegments(MinusIndex, {0, 0, 0, 1, 0, 0, 0});
    ++m_buildCount;

    const int w = m_digitWidth;
    const int h = m_digitHeight;
    if (w <= 0 || h <= 0) {
        m_images.fill(QImage());
        return;
    }
    const std::array<QPoint, 14> p = cornerPoints(w, h, m_digitLineWidth);
    const QPalette system = QGuiApplication::palette();
    const QColor background = toQColor(m_backgroundColor, system);
    QPen outline(background);
    outline.setWidth(1);
    for (int d = 0; d <= MinusIndex; ++d) {
        QImage image(w, h, QImage::Format_RGB32);
        // The outlines of the segments cover the last row and column, so the
        // whole image ends up in the background colour outside the segments.
        image.fill(background);
        QPainter painter(&image);
        painter.setPen(outline);
        for (int s = 0; s < SegmentCount; ++s) {
            QPolygon polygon;
            for (int corner : SegmentPolygons[size_t(s)])
                polygon << p[size_t(corner)];
            painter.setBrush(toQColor(m_segmentColors[size_t(d)][size_t(s)], system));
            painter.drawPolygon(polygon);
        }
        painter.end();
        m_images[size_t(d)] = std::move(image);
    }
}

void TLcdDisplay::rebuild()
{
    buildDigitImages();
    update();
}

void TLcdDisplay::setNumDigits(int n)
{
    m_numDigits = n;
    update();
}

void TLcdDisplay::setValue(int v)
{
    m_value = v;
    update();
}

void TLcdDisplay::setDigitHeight(int h)
{
    m_digitHeight = h;
    rebuild();
}

void TLcdDisplay::setDigitWidth(int w)
{
    m_digitWidth = w;
    rebuild();
}

void TLcdDisplay::setDigitLineWidth(int l)
{
    m_digitLineWidth = l;
    rebuild();
}

void TLcdDisplay::setBackgroundColor(TColor c)
{
    m_backgroundColor = c;
    rebuild();
}

void TLcdDisplay::setLightOnColor(TColor c)
{
    m_lightOnColor = c;
    rebuild();
}

void TLcdDisplay::setLightOffColor(TColor c)
{
    m_lightOffColor = c;
    rebuild();
}

QString TLcdDisplay::displayedText() const
{
    if (m_numDigits < 1)
        return QString();
    // At least NumDigits digits, zero padded; a wider value keeps its
    // leftmost digits. A minus sign takes the first cell.
    const qint64 v = m_value;
    if (v >= 0)
        return QString::number(v).rightJustified(m_numDigits, u'0').left(m_numDigits);
    const QString digits = QString::number(-v).rightJustified(m_numDigits - 1, u'0');
    return (u'-' + digits).left(m_numDigits);
}

void TLcdDisplay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_backgroundColor, QGuiApplication::palette()));
    const QString text = displayedText();
    if (text.isEmpty())
        return;
    const int cell = width() / m_numDigits;
    const int y = (height() - m_digitHeight) / 2;
    int x = (cell - m_digitWidth) / 2;
    for (QChar c : text) {
        const int index = c == u'-' ? MinusIndex : c.digitValue();
        const QImage &image = m_images[size_t(index)];
        if (!image.isNull())
            painter.drawImage(x, y, image);
        x += cell;
    }
}

bool TLcdDisplay::event(QEvent *event)
{
    // System colours are the application's: a new application palette (a
    // style switched) means new images when any colour is a system one.
    if (event->type() == QEvent::ApplicationPaletteChange
        && (isSystemColor(m_backgroundColor) || isSystemColor(m_lightOnColor)
            || isSystemColor(m_lightOffColor)))
        rebuild();
    return QWidget::event(event);
}
