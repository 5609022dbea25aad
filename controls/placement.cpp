#include "placement.h"

#include <QLoggingCategory>
#include <QWidget>

Q_LOGGING_CATEGORY(lcPlacement, "parlix.controls.placement")

QWidget *placedControl(QWidget *window, const Placement &row)
{
    QWidget *parent
        = *row.parent ? window->findChild<QWidget *>(QLatin1String(row.parent)) : window;
    if (!parent)
        return nullptr;
    auto *control
        = parent->findChild<QWidget *>(QLatin1String(row.name), Qt::FindDirectChildrenOnly);
    return control;
}

void placeControls(QWidget *window, std::span<const Placement> table)
{
    for (const Placement &row : table) {
        if (QWidget *control = placedControl(window, row))
            control->setGeometry(row.geometry);
        else
            qCWarning(lcPlacement) << window->objectName() << "has no" << row.name << "in"
                                   << (*row.parent ? row.parent : "the window");
    }
}
