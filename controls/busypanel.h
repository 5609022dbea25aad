#pragma once

#include <QWidget>

// A panel that stands in for controls while a long job runs: a caption in
// bold black on a gradient (navy to lime by default) and how far the job
// has got, in percent, under it.
class BusyPanel : public QWidget
{
    Q_OBJECT

public:
    explicit BusyPanel(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    // -1: nothing to show yet.
    int percent() const { return m_percent; }
    void setPercent(int percent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    int m_percent = -1;
};
