#pragma once

#include <QDialog>

class TWordFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TWordFrm(QWidget *parent = nullptr);
};
