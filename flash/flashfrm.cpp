#include "flashfrm.h"

TFlashFrm::TFlashFrm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TFlashFrm"));
    setWindowTitle(QStringLiteral(" FLASH 小游戏"));
    setFixedSize(680, 474);
    setWindowFlag(Qt::WindowStaysOnTopHint);
}
