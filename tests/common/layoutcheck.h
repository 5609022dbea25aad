#pragma once

// Walks a window's placement table: each control is there, where its row
// puts it, inside the widget that holds it, clear of its neighbours (placed
// side by side, they may share an edge pixel), and its caption fits.

#include "placement.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <span>

namespace LayoutCheck {

inline QString textOf(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    return QString();
}

// The width a control's caption needs. A label must hold the ink of its
// text (big digits overhang their advance into the margins); a push
// button's size hint keeps a style's minimum button width, wider than its
// caption: there the caption and its picture are what must fit.
inline int neededWidth(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return label->fontMetrics().tightBoundingRect(label->text()).width() + 2 * label->margin();
    const auto *push = qobject_cast<const QPushButton *>(w);
    if (!push)
        return w->sizeHint().width();
    int width = push->fontMetrics().horizontalAdvance(push->text()) + 8;
    if (!push->icon().isNull())
        width += push->iconSize().width() + 4;
    return width;
}

inline void check(QWidget *window, std::span<const Placement> table)
{
    for (const Placement &row : table) {
        const QByteArray where
            = QByteArray(row.name) + " in " + (*row.parent ? row.parent : "window");
        QWidget *control = placedControl(window, row);
        QVERIFY2(control, where.constData());
        QVERIFY2(control->geometry() == row.geometry, where.constData());
        const QRect inside(QPoint(), control->parentWidget()->size());
        QVERIFY2(inside.contains(row.geometry), where.constData());
        if (!textOf(control).isEmpty()) {
            const int wanted = neededWidth(control);
            const QByteArray fit = where + ": needs " + QByteArray::number(wanted);
            QVERIFY2(wanted <= row.geometry.width(), fit.constData());
        }
        for (const Placement &other : table) {
            if (&other == &row || qstrcmp(other.parent, row.parent) != 0)
                continue;
            const QRect overlap = row.geometry & other.geometry;
            const QByteArray both = where + " and " + other.name;
            QVERIFY2(overlap.width() <= 1 || overlap.height() <= 1, both.constData());
        }
    }
}

} // namespace LayoutCheck
