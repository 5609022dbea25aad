#pragma once

#include <QDialog>

class TFlashFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TFlashFrm(QWidget *parent = nullptr);
};
