#include "sizesplitter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

SizeSplitter::SizeSplitter(QWidget *panel, QWidget *main, QWidget *parent, Side side)
    : QSplitter(Qt::Horizontal, parent)
    , m_side(side)
{
    setHandleWidth(7);
    setChildrenCollapsible(false);
    if (side == Side::Left) {
        addWidget(panel);
        addWidget(main);
    } else {
        addWidget(main);
        addWidget(panel);
    }
    const int mainIndex = 1 - panelIndex();
    setCollapsible(panelIndex(), true);
    setCollapsible(mainIndex, false);
    setStretchFactor(panelIndex(), 0);
    setStretchFactor(mainIndex, 1);
    m_unfoldedWidth = panel->width();
    connect(this, &QSplitter::splitterMoved, this, [this] {
        const bool folded = isFolded();
        if (!folded)
            m_unfoldedWidth = panelWidth();
        if (folded != m_wasFolded) {
            m_wasFolded = folded;
            emit foldedChanged(folded);
        }
        handle(1)->update();
    });
}

QSplitterHandle *SizeSplitter::createHandle()
{
    return new SizeBarHandle(this);
}

QList<int> SizeSplitter::sizesFor(int panelWidth, int total) const
{
    const int rest = std::max(0, total - panelWidth);
    return m_side == Side::Left ? QList<int> {panelWidth, rest} : QList<int> {rest, panelWidth};
}

bool SizeSplitter::isFolded() const
{
    return sizes().value(panelIndex()) == 0;
}

int SizeSplitter::panelWidth() const
{
    return sizes().value(panelIndex());
}

void SizeSplitter::setPanelWidth(int width)
{
    const int total = sizes().value(0) + sizes().value(1);
    m_unfoldedWidth = width;
    setSizes(sizesFor(width, total));
    handle(1)->update();
}

void SizeSplitter::setFolded(bool folded)
{
    if (folded == isFolded())
        return;
    const QList<int> s = sizes();
    const int total = s.value(0) + s.value(1);
    if (folded) {
        m_unfoldedWidth = s.value(panelIndex());
        setSizes(sizesFor(0, total));
    } else {
        const int width = std::max(m_unfoldedWidth, panel()->minimumSizeHint().width());
        setSizes(sizesFor(width, total));
    }
    handle(1)->update();
    m_wasFolded = isFolded();
    emit foldedChanged(m_wasFolded);
}

QRect SizeSplitter::hotSpot(const QRect &barRect)
{
    const int h = std::min(barRect.height(), 64);
    return QRect(barRect.left(), barRect.center().y() - h / 2, barRect.width(), h);
}

SizeBarHandle::SizeBarHandle(SizeSplitter *parent)
    : QSplitterHandle(Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("侧栏大小"));
    setAccessibleDescription(tr("拖动改变侧栏宽度；单击中间的箭头或按空格键折叠、展开侧栏"));
    setMouseTracking(true);
}

SizeSplitter *SizeBarHandle::sizeSplitter() const
{
    return static_cast<SizeSplitter *>(splitter());
}

void SizeBarHandle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(r.topRight(), r.bottomRight());

    const QRect spot = SizeSplitter::hotSpot(r);
    const bool hot = underMouse() && spot.contains(mapFromGlobal(QCursor::pos()));
    painter.fillRect(spot.adjusted(1, 0, -1, 0),
        hot ? palette().color(QPalette::Highlight) : palette().color(QPalette::Mid));
    // The arrow points the way the bar goes at the next click.
    const bool folded = sizeSplitter()->isFolded();
    const bool pointsRight = folded == (sizeSplitter()->side() == SizeSplitter::Side::Left);
    const qreal cx = spot.center().x() + 0.5;
    const qreal cy = spot.center().y() + 0.5;
    QPainterPath arrow;
    if (pointsRight) {
        arrow.moveTo(cx - 1.5, cy - 4);
        arrow.lineTo(cx + 2.5, cy);
        arrow.lineTo(cx - 1.5, cy + 4);
    } else {
        arrow.moveTo(cx + 1.5, cy - 4);
        arrow.lineTo(cx - 2.5, cy);
        arrow.lineTo(cx + 1.5, cy + 4);
    }
    arrow.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(arrow,
        hot ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::ButtonText));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = r;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void SizeBarHandle::mousePressEvent(QMouseEvent *event)
{
    m_pressedOnHotSpot = event->button() == Qt::LeftButton
        && SizeSplitter::hotSpot(rect()).contains(event->position().toPoint());
    if (!m_pressedOnHotSpot)
        QSplitterHandle::mousePressEvent(event);
}

void SizeBarHandle::mouseMoveEvent(QMouseEvent *event)
{
    update();
    if (!m_pressedOnHotSpot)
        QSplitterHandle::mouseMoveEvent(event);
}

void SizeBarHandle::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_pressedOnHotSpot) {
        m_pressedOnHotSpot = false;
        if (SizeSplitter::hotSpot(rect()).contains(event->position().toPoint()))
            sizeSplitter()->toggleFolded();
        return;
    }
    QSplitterHandle::mouseReleaseEvent(event);
}

void SizeBarHandle::keyPressEvent(QKeyEvent *event)
{
    SizeSplitter *s = sizeSplitter();
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        s->toggleFolded();
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // The bar moves with the arrow; the panel grows towards it.
        const bool towardsPanel
            = (event->key() == Qt::Key_Left) == (s->side() == SizeSplitter::Side::Left);
        const int step = towardsPanel ? -10 : 10;
        const int width = std::max(0, s->panelWidth() + step);
        if (width < s->panel()->minimumSizeHint().width())
            s->setFolded(step < 0);
        else
            s->setPanelWidth(width);
        break;
    }
    default:
        QSplitterHandle::keyPressEvent(event);
    }
}
