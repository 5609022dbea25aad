#pragma once

#include <QStatusBar>

#include <array>

class QDateTime;
class QLabel;

// The main window's status bar: the hint of the button under the mouse, the
// support mail, the web address and the date and time. A click anywhere on
// it asks for the web page.
class MainStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit MainStatusBar(QWidget *parent = nullptr);

    // Shows each button's hint in the first panel while the mouse moves over
    // it; the hint stays after the mouse has left.
    void showHintsOf(const QList<QWidget *> &buttons);
    void showTime(const QDateTime &now);

Q_SIGNALS:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    std::array<QLabel *, 4> m_panels {};
    QList<QWidget *> m_hintButtons;
};
