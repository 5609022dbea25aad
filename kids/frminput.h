#pragma once

#include <QDialog>

class TFrminput : public QDialog
{
    Q_OBJECT

public:
    explicit TFrminput(QWidget *parent = nullptr);
};
