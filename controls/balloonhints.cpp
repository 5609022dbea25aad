#include "balloonhints.h"

#include "tcolor.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

BalloonHints::BalloonHints(QObject *parent)
    : QObject(parent)
{
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(5000);
    connect(&m_hideTimer, &QTimer::timeout, this, &BalloonHints::hideHint);
    qApp->installEventFilter(this);
}

BalloonHints::~BalloonHints()
{
    delete m_tip;
}

QWidget *BalloonHints::visibleBalloon() const
{
    return m_tip && m_tip->isVisible() ? m_tip : nullptr;
}

QString BalloonHints::visibleText() const
{
    return visibleBalloon() ? m_tip->text() : QString();
}

void BalloonHints::showHint(QWidget *owner, const QPoint &globalPos, const QString &text)
{
    if (!m_tip)
        m_tip = new BalloonTip;
    m_owner = owner;
    m_tip->setText(text);
    m_tip->pointAt(globalPos);
    m_tip->show();
    m_tip->raise();
    m_hideTimer.start();
}

void BalloonHints::hideHint()
{
    m_hideTimer.stop();
    m_owner = nullptr;
    if (m_tip)
        m_tip->hide();
}

bool BalloonHints::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || qobject_cast<QMenu *>(w))
            break;
        const QString text = w->toolTip();
        if (text.isEmpty()) {
            // Nothing of its own: let the event reach the parent, as usual.
            break;
        }
        const auto *help = static_cast<QHelpEvent *>(event);
        showHint(w, help->globalPos(), text);
        return true;
    }
    case QEvent::Leave:
        if (watched == m_owner)
            hideHint();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::WindowDeactivate:
        if (m_owner)
            hideHint();
        break;
    case QEvent::Hide:
        if (watched == m_owner)
            hideHint();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

BalloonTip::BalloonTip()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);
    setAccessibleName(tr("提示"));
}

void BalloonTip::setText(const QString &text)
{
    m_text = text;
    const QSize textSize = fontMetrics().size(0, text);
    resize(textSize.width() + 2 * Padding + 2, textSize.height() + 2 * Padding + Tail + 2);
    update();
}

void BalloonTip::pointAt(const QPoint &globalPos)
{
    // Below the mouse with the tail up; above it, tail down, where the
    // screen ends.
    const QScreen *screen = QGuiApplication::screenAt(globalPos);
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 10000, 10000);
    m_tailUp = globalPos.y() + 20 + height() <= area.bottom();
    int x = globalPos.x() - 2 * Radius;
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() - width()));
    const int y = m_tailUp ? globalPos.y() + 16 : globalPos.y() - height();
    move(x, y);
    setMask(QRegion(shape().toFillPolygon().toPolygon()));
    update();
}

QPainterPath BalloonTip::shape() const
{
    const QRectF body = m_tailUp ? QRectF(0.5, Tail + 0.5, width() - 1, height() - Tail - 1)
                                 : QRectF(0.5, 0.5, width() - 1, height() - Tail - 1);
    QPainterPath path;
    path.addRoundedRect(body, Radius, Radius);
    QPainterPath tail;
    const qreal tx = 2 * Radius;
    if (m_tailUp) {
        tail.moveTo(tx, Tail + 1.5);
        tail.lineTo(tx, 0.5);
        tail.lineTo(tx + Tail, Tail + 1.5);
    } else {
        const qreal b = height() - Tail - 1.5;
        tail.moveTo(tx, b);
        tail.lineTo(tx, height() - 0.5);
        tail.lineTo(tx + Tail, b);
    }
    tail.closeSubpath();
    return path.united(tail);
}

void BalloonTip::resizeEvent(QResizeEvent *event)
{
    setMask(QRegion(shape().toFillPolygon().toPolygon()));
    QWidget::resizeEvent(event);
}

void BalloonTip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = shape();
    painter.fillPath(path, toQColor(Colors::InfoBk, palette()));
    painter.setPen(QPen(toQColor(Colors::DkShadow3D, palette()), 1));
    painter.drawPath(path);
    painter.setPen(toQColor(Colors::InfoText, palette()));
    const QRect textRect(Padding + 1, (m_tailUp ? Tail : 0) + Padding + 1,
        width() - 2 * Padding - 2, height() - Tail - 2 * Padding - 2);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, m_text);
}
