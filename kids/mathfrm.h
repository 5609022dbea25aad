#pragma once

#include <QDialog>

class TMathFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TMathFrm(QWidget *parent = nullptr);
};
