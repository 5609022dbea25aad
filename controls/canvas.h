#pragma once

#include <QWidget>

#include <functional>

// A widget painted by a function: for pictures and backgrounds that a
// window draws itself.
class Canvas : public QWidget
{
public:
    using Paint = std::function<void(QPainter &, const QRect &)>;

    Canvas(Paint paint, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Paint m_paint;
};
