#pragma once

#include <QDialog>

class TCalendarFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TCalendarFrm(QWidget *parent = nullptr);
};
