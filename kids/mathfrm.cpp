#include "mathfrm.h"

TMathFrm::TMathFrm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TMathFrm"));
    setWindowTitle(QStringLiteral("幼儿算数"));
    setFixedSize(560, 362);
    setWindowFlag(Qt::WindowStaysOnTopHint);
}
