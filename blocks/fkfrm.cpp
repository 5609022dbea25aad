#include "fkfrm.h"

TFKFrm::TFKFrm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TFKFrm"));
    setWindowTitle(QStringLiteral("俄罗斯方块"));
    setFixedSize(347, 349);
    setWindowFlag(Qt::WindowStaysOnTopHint);
}
