#pragma once

#include <QRect>

#include <span>

class QWidget;

// Where a window's controls go, one row per control: its object name, the
// object name of the widget it sits in (empty for the window itself) and its
// place there. A window places its controls from one such table; its layout
// test walks the same rows.
struct Placement {
    const char *name;
    const char *parent;
    QRect geometry;
};

// Gives each row's control its place. A row whose control or parent is
// missing is a fault of the window that built them, reported in the log.
void placeControls(QWidget *window, std::span<const Placement> table);
// The control a row names, under the parent it names; null when there is none.
QWidget *placedControl(QWidget *window, const Placement &row);
