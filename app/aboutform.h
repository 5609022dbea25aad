#pragma once

#include <QDialog>
#include <QTimer>

class ClickLabel;
class Desktop;
class QVariantAnimation;

// The about window: the program's name and version, the maker, and two
// links (mail and web page). It closes by itself: 2 s after its first
// showing of the run, 18 s after any later one.
class TaboutForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int FirstShowInterval = 2000;
    static constexpr int LaterShowInterval = 18000;
    static constexpr int AnimationMs = 500;

    explicit TaboutForm(Desktop &desktop, QWidget *parent = nullptr);

    // The mail and web links; the main window uses them too, without
    // showing this window.
    void Label5Click();
    void Label6Click();

    static QString mailAddress();
    static QString webAddress();

    QTimer &closeTimer() { return m_timer1; }
    QVariantAnimation *showAnimation() const { return m_animation; }
    // The part of the window shown while it grows; the whole window after.
    QRect revealedRect() const { return m_revealed; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void Timer1Timer();
    void RzBackground1Click();
    void SpeedButton2Click();
    void Label5MouseMove(QObject *sender);
    void Label5MouseLeave(QObject *sender);
    void reveal(qreal fraction);

    Desktop &m_desktop;
    QTimer m_timer1;
    QVariantAnimation *m_animation = nullptr;
    bool m_firstShow = false;
    QRect m_revealed;
};
