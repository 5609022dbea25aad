#pragma once

// The arithmetic drill window: a question in one of the four operations with
// its operands pictured as apples, six numbers to pick the result from, and
// the question and verdict spoken through the main window. The rules are
// MathDrill's; the window shows them.

#include "mathdrill.h"
#include "placement.h"

#include <QDialog>
#include <QPixmap>

#include <array>
#include <functional>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class RandomSource;

class TMathFrm : public QDialog
{
    Q_OBJECT

public:
    using Speaker = std::function<void(const QString &)>;

    TMathFrm(RandomSource &random, Speaker playStr, QWidget *parent = nullptr);

    void btn2Click();
    void rg3Click(int item);
    void RadioButton1Click(QObject *sender);
    void btn6Click();

    int mathAnswer() const { return m_drill.round().question.answer; }
    // Where the apples of an operand go in its box: rows of ten at a 34-pixel
    // pitch (the second row at y = 34) up to 20 apples; more are laid out in
    // as many rows of ten as they need, made smaller to fit the box's height.
    static QList<QRectF> applePlaces(int count, const QSize &box);
    // Where each control sits.
    static std::span<const Placement> layout();

private:
    MathDrill::Operation checkedOperation() const;

    MathDrill m_drill;
    Speaker m_playStr;
    std::array<int, 2> m_apples {0, 0}; // operands of the question shown
    QPixmap m_apple;

    QSpinBox *m_spinner = nullptr;
    std::array<QRadioButton *, 4> m_operations {};
    QLabel *m_lbl1 = nullptr;
    QLabel *m_lbl2 = nullptr;
    QLabel *m_lbl3 = nullptr;
    QLabel *m_lbl5 = nullptr;
    std::array<QWidget *, 2> m_boxes {};
    QButtonGroup *m_rg3 = nullptr;
    std::array<QRadioButton *, MathDrill::ChoiceCount> m_choices {};
};
