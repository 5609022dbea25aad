#include "maintoolbar.h"

#include "lcddisplay.h"
#include "mainactions.h"
#include "pixelfont.h"
#include "tcolor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QToolButton>
#include <QVBoxLayout>

MainToolBar::MainToolBar(const MainActions &actions, int voice, QWidget *parent)
    : QToolBar(QStringLiteral("ToolBar0"), parent)
{
    setObjectName(QStringLiteral("ToolBar0"));
    setMovable(false);
    setFloatable(false);
    setFixedHeight(42);
    setIconSize(QSize(20, 20));
    layout()->setSpacing(0);

    addButton("SpeedButton9", actions["N3"]);
    addButton("SpeedButton7", actions["dfdsf1"]);
    addButton("SpeedButton5", actions["O1"]);
    addVoiceList(voice);
    m_checkBox1 = new QCheckBox(QStringLiteral("重复朗读"));
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    addWidget(m_checkBox1);
    addButton("SpeedButton4", actions["T1"]);
    addButton("SpeedButton10", actions["N8"]);
    addButton("SpeedButton1", actions["N23"]);
    addButton("SpeedButton3", actions["actVoiceSettings"]);
    addButton("SpeedButton8", actions["actContact"]);
    addButton("SpeedButton6", actions["I1"]);
    addButton("SpeedButton2", actions["C1"]);
    addClock();
}

void MainToolBar::addButton(const char *name, QAction *action)
{
    auto *b = new QToolButton;
    b->setObjectName(QLatin1String(name));
    if (action->property("iconOnly").toBool()) {
        // A picture alone: the button mirrors its action by hand, since a
        // default action would put the action's menu caption on it.
        const auto mirror = [b, action] {
            b->setIcon(action->icon());
            b->setToolTip(action->toolTip());
            b->setEnabled(action->isEnabled());
            b->setAccessibleName(action->toolTip());
        };
        mirror();
        connect(action, &QAction::changed, b, mirror);
        connect(b, &QToolButton::clicked, action, &QAction::trigger);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        b->setDefaultAction(action);
        b->setAccessibleName(action->toolTip());
        connect(
            action, &QAction::changed, b, [b, action] { b->setAccessibleName(action->toolTip()); });
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    b->setAutoRaise(true);
    b->setFixedSize(50, 38);
    b->setFocusPolicy(Qt::TabFocus);
    b->setMouseTracking(true);
    addWidget(b);
    m_buttons << b;
}

void MainToolBar::addVoiceList(int voice)
{
    auto *box = new QWidget;
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(4, 0, 4, 0);
    column->setSpacing(1);
    auto *label1 = new QLabel(QStringLiteral("语音库选择"));
    label1->setObjectName(QStringLiteral("Label1"));
    m_comboBox1 = new QComboBox;
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->addItems({QStringLiteral("中文女声语音 (Mina)"),
        QStringLiteral("中文男声语音 (Simplified)"), QStringLiteral("英文男声语音 (Sam) ")});
    m_comboBox1->setCurrentIndex(voice);
    m_comboBox1->setAccessibleName(QStringLiteral("语音库选择"));
    m_comboBox1->setFixedWidth(124);
    label1->setBuddy(m_comboBox1);
    column->addWidget(label1);
    column->addWidget(m_comboBox1);
    addWidget(box);
}

void MainToolBar::addClock()
{
    // Hours, minutes and seconds on seven-segment digits.
    auto *panel2 = new QWidget;
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setAccessibleName(QStringLiteral("时钟"));
    auto *row = new QHBoxLayout(panel2);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    const char *names[] = {"LcdDisplay1", "LcdDisplay2", "LcdDisplay3"};
    const char *parts[] = {"时", "分", "秒"};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            auto *colon = new QLabel(QStringLiteral(":"));
            colon->setObjectName(QLatin1String(i == 1 ? "Label32" : "Label14"));
            colon->setFont(pixelFont(QStringLiteral("黑体"), 35));
            colon->setStyleSheet(QStringLiteral("color: red; background: transparent;"));
            colon->setAlignment(Qt::AlignCenter);
            colon->setFixedHeight(35);
            row->addWidget(colon);
        }
        auto *lcd = new TLcdDisplay;
        lcd->setObjectName(QLatin1String(names[i]));
        lcd->setAccessibleName(QString::fromUtf8(parts[i]));
        lcd->setFixedSize(30, 35);
        lcd->setNumDigits(2);
        lcd->setDigitWidth(15);
        lcd->setDigitHeight(25);
        lcd->setDigitLineWidth(5);
        lcd->setLightOnColor(Colors::Red);
        lcd->setBackgroundColor(Colors::BtnHighlight);
        lcd->setLightOffColor(Colors::BtnHighlight);
        row->addWidget(lcd);
        m_lcd[size_t(i)] = lcd;
    }
    addWidget(panel2);
}
