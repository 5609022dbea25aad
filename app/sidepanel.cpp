#include "sidepanel.h"

#include "busypanel.h"
#include "gradientheader.h"
#include "mainactions.h"
#include "pixelfont.h"
#include "tcolor.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

SidePanel::SidePanel(const MainActions &actions, int style, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SidePanel"));
    setAttribute(Qt::WA_StyledBackground);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(4);

    addHeader("RzPanel1", QStringLiteral("个性化设置"));
    m_comboBox2 = new QComboBox;
    m_comboBox2->setObjectName(QStringLiteral("ComboBox2"));
    m_comboBox2->setAccessibleName(QStringLiteral("个性化设置"));
    m_comboBox2->addItems({QStringLiteral("默认"), QStringLiteral("风格一"),
        QStringLiteral("风格二"), QStringLiteral("风格三"), QStringLiteral("风格四"),
        QStringLiteral("风格五"), QStringLiteral("风格六")});
    m_comboBox2->setCurrentIndex(style);
    auto *styleRow = new QHBoxLayout;
    styleRow->setContentsMargins(18, 0, 18, 0);
    styleRow->addWidget(m_comboBox2);
    layout->addLayout(styleRow);

    addHeader("pnlHeader", QStringLiteral("语音转换"));
    addWaveButtons();
    addHeader("RzPanel2", QStringLiteral("常用工具"));
    addTools(actions);
    layout->addStretch(1);
    setMinimumWidth(170);
}

void SidePanel::addHeader(const char *name, const QString &caption)
{
    auto *header = new GradientHeader(caption);
    header->setObjectName(QLatin1String(name));
    header->setFixedHeight(22);
    layout()->addWidget(header);
}

void SidePanel::addWaveButtons()
{
    m_waveArea = new QStackedWidget;
    auto *buttons = new QWidget;
    auto *column = new QVBoxLayout(buttons);
    column->setContentsMargins(18, 0, 18, 0);
    column->setSpacing(4);
    m_button5 = new QPushButton(QStringLiteral("女声到 Wave"));
    m_button5->setObjectName(QStringLiteral("Button5"));
    m_button5->setProperty("Tag", 4);
    m_button15 = new QPushButton(QStringLiteral("男声到 Wave"));
    m_button15->setObjectName(QStringLiteral("Button15"));
    m_button15->setProperty("Tag", 1);
    column->addWidget(m_button5);
    column->addWidget(m_button15);
    m_rzPanel3 = new BusyPanel(QStringLiteral("语音转换中。。。"));
    m_rzPanel3->setObjectName(QStringLiteral("RzPanel3"));
    m_rzPanel3->setFont(pixelFont(QStringLiteral("宋体"), 16, true));
    m_waveArea->addWidget(buttons);
    m_waveArea->addWidget(m_rzPanel3);
    m_waveArea->setCurrentIndex(0);
    m_waveArea->setFixedHeight(2 * m_button5->sizeHint().height() + 4);
    layout()->addWidget(m_waveArea);
}

void SidePanel::addTools(const MainActions &actions)
{
    struct Tool {
        const char *name;
        const char *caption;
        const char *hint;
        const char *icon;
        const char *action; // the menu item it shares its command with
    };
    const Tool tools[] = {
        {"BitBtn19", " 实用月历    ", "实用月历", "calendar", "M2"},
        {"BitBtn1", " 幼儿算数     ", "幼儿算数", "math", "N11"},
        {"BitBtn2", " 幼儿识字     ", "幼儿识字", "word", "C3"},
        {"BitBtn3", " 俄罗斯方块   ", "俄罗斯方块", "blocks", "N9"},
        {"BitBtn4", " FLASH 小游戏 ", "FLASH 小游戏", "flash", "FLASH1"},
        {"BitBtn22", " 控制面板    ", "控制面板", "controlpanel", "N18"},
        {"BitBtn20", " DirectX 诊断", "DirectX 诊断", "diagnostics", "N13"},
        {"BitBtn21", " 设备管理器  ", "设备管理器", "devices", "xxx1"},
    };
    const QFont toolFont = pixelFont(font().family(), 16);
    auto *column = static_cast<QVBoxLayout *>(layout());
    for (const Tool &tool : tools) {
        auto *b = new QPushButton(QString::fromUtf8(tool.caption));
        b->setObjectName(QLatin1String(tool.name));
        b->setToolTip(QString::fromUtf8(tool.hint));
        b->setAccessibleName(QString::fromUtf8(tool.hint));
        b->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(tool.icon))));
        b->setIconSize(QSize(20, 20));
        b->setFont(toolFont);
        b->setFixedSize(162, 32);
        QPalette teal = b->palette();
        teal.setColor(QPalette::ButtonText, toQColor(Colors::Teal, teal));
        b->setPalette(teal);
        b->setMouseTracking(true);
        connect(b, &QPushButton::clicked, actions[tool.action], &QAction::trigger);
        column->addWidget(b, 0, Qt::AlignHCenter);
        m_buttons << b;
    }
}
