#include "mainactions.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

struct MainActions::Command {
    const char *name;
    const char *caption; // "-" for a separator
    QKeySequence key = {};
    int tag = -1; // for the commands that act by tag (edit commands)
    const char *hint = ""; // the toolbar button's hint and caption
    const char *icon = nullptr;
    bool iconOnly = false; // the toolbar button shows only its picture
};

namespace {

enum class Group { None, Idle, Reading };

} // namespace

QAction *MainActions::add(QMenu *menu, const Command &c)
{
    if (QLatin1String(c.caption) == QLatin1String("-")) {
        QAction *s = menu->addSeparator();
        s->setObjectName(QLatin1String(c.name));
        return s;
    }
    auto *a = new QAction(QString::fromUtf8(c.caption), m_window);
    a->setObjectName(QLatin1String(c.name));
    a->setShortcut(c.key);
    if (c.tag >= 0)
        a->setProperty("Tag", c.tag);
    if (*c.hint) {
        const QString hint = QString::fromUtf8(c.hint);
        a->setToolTip(hint);
        a->setIconText(hint);
    }
    a->setProperty("iconOnly", c.iconOnly);
    if (c.icon) {
        a->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(c.icon))));
        a->setIconVisibleInMenu(false); // the pictures are the toolbar's
    }
    if (menu)
        menu->addAction(a);
    else
        m_window->addAction(a); // a toolbar command without a menu item
    m_actions.insert(a->objectName(), a);
    return a;
}

MainActions::MainActions(QMainWindow *window)
    : QObject(window)
    , m_window(window)
{
    QMenuBar *bar = window->menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto menu = [bar](const char *name, const char *caption) {
        QMenu *m = bar->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    using K = QKeySequence;

    QMenu *file = menu("F1", "文件(&F)");
    for (const Command &c : {
             Command {"N3", "新建(&N)", K(Qt::CTRL | Qt::Key_N), -1, "新建", "new"},
             Command {"dfdsf1", "打开(&O)", K(Qt::CTRL | Qt::Key_O), -1, "打开", "open"},
             Command {"O1", "保存(&S)", K(Qt::CTRL | Qt::Key_S), -1, "保存", "save"},
             Command {"N4", "-"},
             Command {"N6", "打印(&P)", K(Qt::Key_F10)},
             Command {"N7", "-"},
             Command {"C1", "关闭(&C)", {}, -1, "退出", "exit", true},
         })
        add(file, c);

    QMenu *edit = menu("F2", "编辑(&E)");
    for (const Command &c : {
             Command {"U1", "撤消[&U]", K(Qt::CTRL | Qt::Key_Z), 0},
             Command {"N2", "-"},
             Command {"T2", "剪切[&T]", K(Qt::CTRL | Qt::Key_X), 1},
             Command {"C2", "复制[&C]", K(Qt::CTRL | Qt::Key_C), 2},
             Command {"P1", "粘贴[&P]", K(Qt::CTRL | Qt::Key_V), 3},
             Command {"D1", "删除[&D]", {}, 4},
             Command {"N10", "-"},
             Command {"A2", "全选[&A]", K(Qt::CTRL | Qt::Key_A), 5},
         })
        add(edit, c);

    QMenu *read = menu("F3", "朗读(&R)");
    m_idle = new QActionGroup(this);
    m_reading = new QActionGroup(this);
    for (QActionGroup *g : {m_idle, m_reading})
        g->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    const std::pair<Command, Group> reading[] = {
        {{"T1", "开始(&S)", {}, -1, "朗读", "read"}, Group::Idle},
        {{"mnuReadFromCursor", "从光标处朗读(&C)", K(Qt::Key_F6)}, Group::Idle},
        {{"N8", "暂停(&P)", {}, -1, "暂停", "pause"}, Group::Reading},
        {{"N23", "停止(&T)", {}, -1, "停止", "stop"}, Group::Reading},
        {{"mnuSentenceSeparator", "-"}, Group::None},
        {{"mnuPreviousSentence", "上一句(&B)", K(Qt::Key_F7)}, Group::Reading},
        {{"mnuNextSentence", "下一句(&N)", K(Qt::Key_F8)}, Group::Reading},
        {{"mnuHighlightSeparator", "-"}, Group::None},
        {{"mnuHighlight", "朗读时突出显示句子(&H)"}, Group::None},
    };
    for (const auto &[c, group] : reading) {
        QAction *a = add(read, c);
        if (group != Group::None)
            (group == Group::Idle ? m_idle : m_reading)->addAction(a);
    }
    m_actions[QStringLiteral("mnuHighlight")]->setCheckable(true);
    m_actions[QStringLiteral("mnuHighlight")]->setChecked(true);
    setReading(false);

    QMenu *tools = menu("F4", "工具(&T)");
    for (const Command &c : {
             Command {"M2", "实用月历(&M)  "},
             Command {"N11", "幼儿算数(&C)     "},
             Command {"C3", "幼儿识字(&W)  "},
             Command {"N9", "俄罗斯方块(&R)"},
             Command {"FLASH1", "FLASH 小游戏(&F)"},
             Command {"N21", "-"},
             Command {"N18", "控制面板(&P)"},
             Command {"N13", "DirectX 诊断工具(&T)"},
             Command {"xxx1", "设备管理器(&D)"},
         })
        add(tools, c);

    QMenu *help = menu("F5", "帮助(&H)");
    for (const Command &c : {
             Command {"M1", "帮助主题(&M)", K(Qt::Key_F1)},
             Command {"I1", "公司主页(&I)", K(Qt::Key_F2), -1, "公司主页", "homepage", true},
             Command {"A1", "关于 (&A)...", K(Qt::Key_F5)},
         })
        add(help, c);

    // Toolbar commands without a menu item.
    add(nullptr, {"actVoiceSettings", "语音设置", {}, -1, "语音设置", "voicesettings", true});
    add(nullptr, {"actContact", "联络我们", {}, -1, "联络我们", "contact", true});

    // The editor's context menu: the edit commands again, and load and
    // export. Their shortcuts belong to the Edit menu; here they are only shown.
    m_popup = new QMenu(window);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    for (const Command &c : {
             Command {"ItemUndo", "撤消[&U]", K(Qt::CTRL | Qt::Key_Z), 0},
             Command {"MenuItem1", "-"},
             Command {"ItemCut", "剪切[&T]", K(Qt::CTRL | Qt::Key_X), 1},
             Command {"ItemCopy", "复制[&C]", K(Qt::CTRL | Qt::Key_C), 2},
             Command {"ItemPaste", "粘贴[&P]", K(Qt::CTRL | Qt::Key_V), 3},
             Command {"ItemDelete", "删除[&D]", {}, 4},
             Command {"N5", "-"},
             Command {"ItemSelectAll", "全选[&A]", K(Qt::CTRL | Qt::Key_A), 5},
             Command {"N1", "-"},
             Command {"L1", "加载文件(&L)", {}, 6},
             Command {"MenuItem2", "导出文件(&E)", {}, 7},
         }) {
        QAction *a = add(m_popup, c);
        if (!a->isSeparator()) {
            a->setShortcutVisibleInContextMenu(true);
            a->setShortcutContext(Qt::WidgetShortcut);
        }
    }
}

QAction *MainActions::operator[](const char *name) const
{
    return m_actions.value(QLatin1String(name));
}

void MainActions::setReading(bool reading)
{
    m_idle->setEnabled(!reading);
    m_reading->setEnabled(reading);
}

void MainActions::setPauseCaption(const QString &caption)
{
    QAction *pause = m_actions[QStringLiteral("N8")];
    pause->setText(caption);
    pause->setIconText(caption);
    pause->setToolTip(caption);
}
