#include "canvas.h"

#include <QPainter>

Canvas::Canvas(Paint paint, QWidget *parent)
    : QWidget(parent)
    , m_paint(std::move(paint))
{
}

void Canvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_paint(painter, rect());
}
