#pragma once

#include <QSplitter>
#include <QSplitterHandle>

// A side panel beside a main area, divided by a size bar that can be dragged
// to resize the panel. A hot spot in the middle of the bar folds the panel
// away with one click and brings it back at its old width with the next.
// The bar takes the keyboard focus: Space or Enter folds and unfolds, the
// arrow keys resize.
class SizeSplitter : public QSplitter
{
    Q_OBJECT

public:
    // Which side of the main area the panel is on.
    enum class Side { Left, Right };

    explicit SizeSplitter(
        QWidget *panel, QWidget *main, QWidget *parent = nullptr, Side side = Side::Left);

    Side side() const { return m_side; }
    QWidget *panel() const { return widget(panelIndex()); }
    bool isFolded() const;
    void setFolded(bool folded);
    void toggleFolded() { setFolded(!isFolded()); }
    void setPanelWidth(int width);
    int panelWidth() const;

    // Where the hot spot sits on the bar, in the bar's coordinates.
    static QRect hotSpot(const QRect &barRect);

signals:
    void foldedChanged(bool folded);

protected:
    QSplitterHandle *createHandle() override;

private:
    int panelIndex() const { return m_side == Side::Left ? 0 : 1; }
    // The sizes list for a panel width, the rest to the main area.
    QList<int> sizesFor(int panelWidth, int total) const;

    Side m_side = Side::Left;
    int m_unfoldedWidth = 0;
    bool m_wasFolded = false;
};

class SizeBarHandle : public QSplitterHandle
{
    Q_OBJECT

public:
    explicit SizeBarHandle(SizeSplitter *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    SizeSplitter *sizeSplitter() const;
    bool m_pressedOnHotSpot = false;
};
