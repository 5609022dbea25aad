#include "wordfrm.h"

TWordFrm::TWordFrm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TWordFrm"));
    setWindowTitle(QStringLiteral("幼儿识字"));
    setFixedSize(489, 403);
    setWindowFlag(Qt::WindowStaysOnTopHint);
}
