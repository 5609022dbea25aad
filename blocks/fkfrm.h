#pragma once

#include <QDialog>

class TFKFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TFKFrm(QWidget *parent = nullptr);
};
