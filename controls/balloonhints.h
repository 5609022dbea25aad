#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class BalloonTip;

// Shows the hints (tool tips) of the program's widgets as balloons: a
// rounded frame in the dark 3-D shadow colour with a tail pointing at the
// mouse, the text in an 11-pixel sans face. Installed once on the
// application; widgets keep setting their hints with setToolTip().
class BalloonHints : public QObject
{
    Q_OBJECT

public:
    explicit BalloonHints(QObject *parent = nullptr);
    ~BalloonHints() override;

    // The balloon now showing, or null.
    QWidget *visibleBalloon() const;
    QString visibleText() const;

    void showHint(QWidget *owner, const QPoint &globalPos, const QString &text);
    void hideHint();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    BalloonTip *m_tip = nullptr;
    QPointer<QWidget> m_owner;
    QTimer m_hideTimer;
};

class BalloonTip : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Tail = 10;
    static constexpr int Radius = 6;
    static constexpr int Padding = 7;

    BalloonTip();
    void setText(const QString &text);
    QString text() const { return m_text; }
    // Places the balloon so that its tail points at globalPos.
    void pointAt(const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPainterPath shape() const;
    QString m_text;
    bool m_tailUp = true;
};
