#include "busypanel.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

BusyPanel::BusyPanel(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
{
    setAccessibleName(caption);
}

void BusyPanel::setPercent(int percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    setAccessibleDescription(percent >= 0 ? QStringLiteral("%1%").arg(percent) : QString());
    update();
}

void BusyPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, QColor(0x00, 0x00, 0x80));
    gradient.setColorAt(1, QColor(0x00, 0xFF, 0x00));
    painter.fillRect(rect(), gradient);
    if (m_percent >= 0) {
        // How far the job has got: a light band along the bottom.
        const int w = width() * std::clamp(m_percent, 0, 100) / 100;
        painter.fillRect(QRect(0, height() - 5, w, 5), QColor(255, 255, 255, 200));
    }

    // Black on navy is hard to read: the text gets a white rim.
    QStringList lines {m_caption};
    if (m_percent >= 0)
        lines << QStringLiteral("%1%").arg(m_percent);
    const QFontMetrics fm(font());
    const int total = fm.height() * int(lines.size());
    int y = (height() - total) / 2 + fm.ascent();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const QString &line : lines) {
        QPainterPath path;
        path.addText((width() - fm.horizontalAdvance(line)) / 2.0, y, font(), line);
        painter.strokePath(path, QPen(QColor(255, 255, 255, 230), 3));
        painter.fillPath(path, Qt::black);
        y += fm.height();
    }
}
