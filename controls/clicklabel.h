#pragma once

#include <QLabel>

// A label that reports clicks, double clicks and the mouse passing over it,
// for links and pictures that act. A double click is one click (and a double
// click), not two. With the keyboard focus, Space and Enter count as a click.
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(const QString &text = QString(), QWidget *parent = nullptr);

signals:
    void clicked();
    void doubleClicked();
    void mouseMoved();
    void mouseLeft();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_inDoubleClick = false;
};
