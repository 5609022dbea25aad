#include "gradientheader.h"

#include <QLinearGradient>
#include <QPainter>

GradientHeader::GradientHeader(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setAlignment(Qt::AlignCenter);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    setAccessibleName(text.trimmed());
}

QColor GradientHeader::startColor() const
{
    return m_start.isValid() ? m_start : palette().color(QPalette::Highlight);
}

void GradientHeader::setStartColor(const QColor &c)
{
    m_start = c;
    update();
}

QColor GradientHeader::endColor() const
{
    if (m_end.isValid())
        return m_end;
    // A lighter shade of the start colour, so the text reads all along.
    return startColor().lighter(135);
}

void GradientHeader::setEndColor(const QColor &c)
{
    m_end = c;
    update();
}

QColor GradientHeader::textColor() const
{
    return m_text.isValid() ? m_text : palette().color(QPalette::HighlightedText);
}

void GradientHeader::setTextColor(const QColor &c)
{
    m_text = c;
    update();
}

void GradientHeader::setDirection(Qt::Orientation o)
{
    m_direction = o;
    update();
}

void GradientHeader::resetColors()
{
    m_start = m_end = m_text = QColor();
    m_direction = Qt::Horizontal;
    update();
}

void GradientHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF r = rect();
    QLinearGradient gradient(
        r.topLeft(), m_direction == Qt::Horizontal ? r.topRight() : r.bottomLeft());
    gradient.setColorAt(0, startColor());
    gradient.setColorAt(1, endColor());
    painter.fillRect(r, gradient);

    // A faint shadow keeps the text readable on either end of the gradient.
    const QRect textRect = contentsRect().adjusted(4, 0, -4, 0);
    painter.setFont(font());
    const QColor text = textColor();
    painter.setPen(text.lightness() > 128 ? QColor(0, 0, 0, 90) : QColor(255, 255, 255, 110));
    painter.drawText(textRect.translated(1, 1), int(alignment()), this->text());
    painter.setPen(text);
    painter.drawText(textRect, int(alignment()), this->text());
}
