#include "clicklabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <utility>

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setMouseTracking(true);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A double click ends with a second release: it was one click already.
    const bool second = std::exchange(m_inDoubleClick, false);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())
        && !second)
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_inDoubleClick = true;
        emit doubleClicked();
    }
    QLabel::mouseDoubleClickEvent(event);
}

void ClickLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    QLabel::mouseMoveEvent(event);
}

void ClickLabel::leaveEvent(QEvent *event)
{
    emit mouseLeft();
    QLabel::leaveEvent(event);
}

void ClickLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
