#pragma once

#include <QColor>
#include <QLabel>

// A caption bar painted as a gradient, as the headers of a side panel. The
// colours follow the palette unless a skin sets them (qproperty-startColor
// and friends in a style sheet); resetColors() returns to the palette.
class GradientHeader : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QColor startColor READ startColor WRITE setStartColor)
    Q_PROPERTY(QColor endColor READ endColor WRITE setEndColor)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor)
    Q_PROPERTY(Qt::Orientation direction READ direction WRITE setDirection)

public:
    explicit GradientHeader(const QString &text, QWidget *parent = nullptr);

    QColor startColor() const;
    void setStartColor(const QColor &c);
    QColor endColor() const;
    void setEndColor(const QColor &c);
    QColor textColor() const;
    void setTextColor(const QColor &c);
    Qt::Orientation direction() const { return m_direction; }
    void setDirection(Qt::Orientation o);
    void resetColors();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_start;
    QColor m_end;
    QColor m_text;
    Qt::Orientation m_direction = Qt::Horizontal;
};
