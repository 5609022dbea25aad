#include "frminput.h"

TFrminput::TFrminput(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrminput"));
    setWindowTitle(QStringLiteral("文字工具"));
    resize(408, 305);
}
