#include "calendarfrm.h"

TCalendarFrm::TCalendarFrm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TCalendarFrm"));
    setWindowTitle(QStringLiteral(" 实用月历 "));
    setFixedSize(538, 358);
}
