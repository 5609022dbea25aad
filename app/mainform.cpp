#include "mainform.h"
#include "pixelfont.h"

#include "aboutform.h"
#include "backgroundwork.h"
#include "balloonhints.h"
#include "busypanel.h"
#include "desktop.h"
#include "dialogs.h"
#include "documentfile.h"
#include "gradientheader.h"
#include "lcddisplay.h"
#include "maker.h"
#include "registry.h"
#include "sentences.h"
#include "sizesplitter.h"
#include "skindata.h"
#include "speechengine.h"
#include "systemformats.h"
#include "textencoding.h"
#include "textprinter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QDateTime>
#include <QPrinter>
#include <QScrollBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

const std::array<TColor, 7> TMainForm::StyleClockColors = {
    Colors::BtnFace, 0x00E3DFE0, 0x00F4F4F4, 0x00F2DED5, 0x00D8E9EC, 0x00F5F8F9, 0x00E0E0E0,
};

namespace {


QIcon icon(const char *name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

// What a failed conversion's result means, for the user.
QString engineFailure(int result)
{
    switch (result) {
    case NARREX_ERR_NOTHING_TO_SPEAK: return QStringLiteral("没有可以朗读的文字。");
    case NARREX_ERR_FILE: return QStringLiteral("不能写入这个文件，请检查文件夹和磁盘空间。");
    case NARREX_ERR_INVALID_ARGUMENT: return QStringLiteral("文件名不能使用。");
    case NARREX_ERR_SYNTHESIS: return QStringLiteral("语音引擎出错。");
    default: return QString();
    }
}

QString startText()
{
    QFile file(QStringLiteral(":/texts/starttext.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

TMainForm::TMainForm(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("语音朗读器"));
    setWindowIcon(icon("parlix"));

    m_reading = new ReadingControl(*m_services.engine, this);
    m_sd1 = new SkinData(this);
    m_sd1->setObjectName(QStringLiteral("sd1"));
    m_skinStore1 = new SkinStore;
    m_hints = new BalloonHints(this);
    m_hints->setObjectName(QStringLiteral("RzBalloonHints1"));

    setupEditor();
    setupActions();
    setupMenus();
    setupToolBar();
    setupSidePanel();
    setupStatusBar();

    auto *central = new QWidget(this);
    auto *centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->addWidget(m_rzSizePanel2);
    setCentralWidget(central);
    // Edit2 belongs to the window but is never seen: the engine reports the
    // end of each reading by writing its token into it.
    m_edit2 = new QLineEdit(QStringLiteral("Edit2"), central);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit2->hide();
    connect(m_edit2, &QLineEdit::textChanged, this, &TMainForm::Edit2Change);
    m_notifyTarget.context = this;
    m_notifyTarget.setText = &TMainForm::notifyCallback;

    m_reading->setTextSource([this] { return m_richEdit1->toPlainText(); });
    m_reading->setVoiceSource([this] { return m_comboBox1->currentIndex(); });
    connect(m_reading, &ReadingControl::readingChanged, this, &TMainForm::showReadingState);
    connect(m_reading, &ReadingControl::pauseCaptionChanged, this, &TMainForm::showPauseCaption);
    connect(m_reading, &ReadingControl::progressChanged, m_progressBar1, &QProgressBar::setValue);

    // The sentence being heard follows in the editor, from the engine's
    // position, a few times a second.
    m_followTimer.setInterval(50);
    connect(&m_followTimer, &QTimer::timeout, this, &TMainForm::followReading);
    connect(m_reading, &ReadingControl::readingChanged, this, [this](bool reading) {
        if (reading) {
            m_followTimer.start();
        } else {
            m_followTimer.stop();
            clearHeard();
        }
    });
    watchDocument();
    connect(m_richEdit1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!m_scrollingForReading)
            m_userScrolledAt = QDateTime::currentMSecsSinceEpoch();
    });

    m_timer2.setObjectName(QStringLiteral("Timer2"));
    m_timer2.setInterval(1000);
    connect(&m_timer2, &QTimer::timeout, this, &TMainForm::Timer2Timer);
    m_timer2.start();

    // The window is 858 × 558 with its frame, centred on the desktop.
    resize(850, 524);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - 858) / 2, area.y() + (area.height() - 558) / 2);
    }
    m_richEdit1->setFocus();

    FormCreate();
}

TMainForm::~TMainForm()
{
    delete m_skinStore1;
}

namespace {
const QString OpenFilter = QStringLiteral("Txt; Rtf|*.Txt; *.Rtf");
const QString RtfFilter = QStringLiteral("RTF|*.RTF");
const QString WaveFilter = QStringLiteral("wav|*.wav");
} // namespace

void TMainForm::setupEditor()
{
    m_richEdit1 = new QTextEdit;
    m_richEdit1->setObjectName(QStringLiteral("RichEdit1"));
    m_richEdit1->setAccessibleName(QStringLiteral("朗读内容"));
    m_richEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFont song = pixelFont(QStringLiteral("宋体"), 16);
    m_richEdit1->setFont(song);
    m_richEdit1->document()->setDefaultFont(song);
    m_richEdit1->setPlainText(startText());
    m_richEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_richEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_popupMenu1->popup(m_richEdit1->viewport()->mapToGlobal(pos));
    });

    m_progressBar1 = new QProgressBar;
    m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar1->setAccessibleName(QStringLiteral("朗读进度"));
    m_progressBar1->setRange(0, 100);
    m_progressBar1->setValue(0);
    m_progressBar1->setTextVisible(false);
    m_progressBar1->setFixedHeight(17);
}

void TMainForm::setupActions()
{
    // The editor's context menu. Its items act by their tag, as do those of
    // the Edit menu.
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    struct Item {
        const char *name;
        const char *caption;
        QKeySequence key;
        int tag;
    };
    const Item items[] = {
        {"ItemUndo", "撤消[&U]", QKeySequence(Qt::CTRL | Qt::Key_Z), 0},
        {"MenuItem1", "-", {}, 0},
        {"ItemCut", "剪切[&T]", QKeySequence(Qt::CTRL | Qt::Key_X), 1},
        {"ItemCopy", "复制[&C]", QKeySequence(Qt::CTRL | Qt::Key_C), 2},
        {"ItemPaste", "粘贴[&P]", QKeySequence(Qt::CTRL | Qt::Key_V), 3},
        {"ItemDelete", "删除[&D]", {}, 4},
        {"N5", "-", {}, 0},
        {"ItemSelectAll", "全选[&A]", QKeySequence(Qt::CTRL | Qt::Key_A), 5},
        {"N1", "-", {}, 0},
        {"L1", "加载文件(&L)", {}, 6},
        {"MenuItem2", "导出文件(&E)", {}, 7},
    };
    for (const Item &item : items) {
        QAction *a = QString::fromUtf8(item.caption) == QStringLiteral("-")
            ? m_popupMenu1->addSeparator()
            : m_popupMenu1->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QLatin1String(item.name));
        if (a->isSeparator())
            continue;
        a->setProperty("Tag", item.tag);
        a->setShortcut(item.key);
        a->setShortcutVisibleInContextMenu(true);
        // The shortcuts belong to the Edit menu; here they are only shown.
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, [this, a] { ItemUndoClick(a); });
    }
}

void TMainForm::setupMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto addMenu = [bar](const char *name, const char *caption) {
        QMenu *menu = bar->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    const auto addItem = [this](QMenu *menu, const char *name, const char *caption,
                                const QKeySequence &key, auto handler) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    const auto addSeparator = [](QMenu *menu, const char *name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu *f1 = addMenu("F1", "文件(&F)");
    addItem(f1, "N3", "新建(&N)", QKeySequence(Qt::CTRL | Qt::Key_N),
            [this] { SpeedButton9Click(); });
    addItem(f1, "dfdsf1", "打开(&O)", QKeySequence(Qt::CTRL | Qt::Key_O),
            [this] { SpeedButton7Click(); });
    addItem(f1, "O1", "保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S),
            [this] { SpeedButton5Click(); });
    addSeparator(f1, "N4");
    addItem(f1, "N6", "打印(&P)", QKeySequence(Qt::Key_F10), [this] { N6Click(); });
    addSeparator(f1, "N7");
    addItem(f1, "C1", "关闭(&C)", {}, [this] { SpeedButton2Click(); });

    QMenu *f2 = addMenu("F2", "编辑(&E)");
    const auto addEditItem = [this, f2, &addItem](const char *name, const char *caption,
                                                  const QKeySequence &key, int tag) {
        QAction *a = addItem(f2, name, caption, key, [] {});
        a->setProperty("Tag", tag);
        connect(a, &QAction::triggered, this, [this, a] { ItemUndoClick(a); });
    };
    addEditItem("U1", "撤消[&U]", QKeySequence(Qt::CTRL | Qt::Key_Z), 0);
    addSeparator(f2, "N2");
    addEditItem("T2", "剪切[&T]", QKeySequence(Qt::CTRL | Qt::Key_X), 1);
    addEditItem("C2", "复制[&C]", QKeySequence(Qt::CTRL | Qt::Key_C), 2);
    addEditItem("P1", "粘贴[&P]", QKeySequence(Qt::CTRL | Qt::Key_V), 3);
    addEditItem("D1", "删除[&D]", {}, 4);
    addSeparator(f2, "N10");
    addEditItem("A2", "全选[&A]", QKeySequence(Qt::CTRL | Qt::Key_A), 5);

    QMenu *f3 = addMenu("F3", "朗读(&R)");
    m_T1 = addItem(f3, "T1", "开始(&S)", {}, [this] { SpeedButton4Click(); });
    m_fromCursor = addItem(f3, "mnuReadFromCursor", "从光标处朗读(&C)", QKeySequence(Qt::Key_F6),
                           [this] { readFromCursor(); });
    m_N8 = addItem(f3, "N8", "暂停(&P)", {}, [this] { SpeedButton10Click(); });
    m_N23 = addItem(f3, "N23", "停止(&T)", {}, [this] { SpeedButton1Click(); });
    m_N8->setEnabled(false);
    m_N23->setEnabled(false);
    addSeparator(f3, "mnuSentenceSeparator");
    m_previousSentence = addItem(f3, "mnuPreviousSentence", "上一句(&B)",
                                 QKeySequence(Qt::Key_F7), [this] { previousSentence(); });
    m_nextSentence = addItem(f3, "mnuNextSentence", "下一句(&N)", QKeySequence(Qt::Key_F8),
                             [this] { nextSentence(); });
    m_previousSentence->setEnabled(false);
    m_nextSentence->setEnabled(false);
    addSeparator(f3, "mnuHighlightSeparator");
    m_highlight = addItem(f3, "mnuHighlight", "朗读时突出显示句子(&H)", {}, [this] { followReading(); });
    m_highlight->setCheckable(true);
    m_highlight->setChecked(true);

    QMenu *f4 = addMenu("F4", "工具(&T)");
    addItem(f4, "M2", "实用月历(&M)  ", {}, [this] { BitBtn19Click(); });
    addItem(f4, "N11", "幼儿算数(&C)     ", {}, [this] { BitBtn1Click(); });
    addItem(f4, "C3", "幼儿识字(&W)  ", {}, [this] { BitBtn2Click(); });
    addItem(f4, "N9", "俄罗斯方块(&R)", {}, [this] { BitBtn3Click(); });
    addItem(f4, "FLASH1", "FLASH 小游戏(&F)", {}, [this] { BitBtn4Click(); });
    addSeparator(f4, "N21");
    addItem(f4, "N18", "控制面板(&P)", {}, [this] { BitBtn22Click(); });
    addItem(f4, "N13", "DirectX 诊断工具(&T)", {}, [this] { BitBtn20Click(); });
    addItem(f4, "xxx1", "设备管理器(&D)", {}, [this] { BitBtn21Click(); });

    QMenu *f5 = addMenu("F5", "帮助(&H)");
    addItem(f5, "M1", "帮助主题(&M)", QKeySequence(Qt::Key_F1), [this] { M1Click(); });
    addItem(f5, "I1", "公司主页(&I)", QKeySequence(Qt::Key_F2), [this] { I1Click(); });
    addItem(f5, "A1", "关于 (&A)...", QKeySequence(Qt::Key_F5), [this] { A1Click(); });
}

void TMainForm::setupToolBar()
{
    m_toolBar0 = addToolBar(QStringLiteral("ToolBar0"));
    m_toolBar0->setObjectName(QStringLiteral("ToolBar0"));
    m_toolBar0->setMovable(false);
    m_toolBar0->setFloatable(false);
    m_toolBar0->setFixedHeight(42);
    m_toolBar0->setIconSize(QSize(20, 20));
    m_toolBar0->layout()->setSpacing(0);

    const auto addButton = [this](const char *name, const QString &caption, const QString &hint,
                                  const char *iconName, auto handler) {
        auto *b = new QToolButton;
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setAccessibleName(hint);
        b->setIcon(icon(iconName));
        b->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                : Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFixedSize(50, 38);
        b->setFocusPolicy(Qt::TabFocus);
        b->setMouseTracking(true);
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, handler);
        m_toolBar0->addWidget(b);
        m_hintButtons << b;
        return b;
    };

    addButton("SpeedButton9", QStringLiteral("新建"), QStringLiteral("新建"), "new",
              [this] { SpeedButton9Click(); });
    addButton("SpeedButton7", QStringLiteral("打开"), QStringLiteral("打开"), "open",
              [this] { SpeedButton7Click(); });
    addButton("SpeedButton5", QStringLiteral("保存"), QStringLiteral("保存"), "save",
              [this] { SpeedButton5Click(); });

    auto *voiceBox = new QWidget;
    auto *voiceLayout = new QVBoxLayout(voiceBox);
    voiceLayout->setContentsMargins(4, 0, 4, 0);
    voiceLayout->setSpacing(1);
    auto *label1 = new QLabel(QStringLiteral("语音库选择"));
    label1->setObjectName(QStringLiteral("Label1"));
    m_comboBox1 = new QComboBox;
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->addItems({QStringLiteral("中文女声语音 (Mina)"),
                           QStringLiteral("中文男声语音 (Simplified)"),
                           QStringLiteral("英文男声语音 (Sam) ")});
    m_comboBox1->setCurrentIndex(DefaultVoice);
    m_comboBox1->setAccessibleName(QStringLiteral("语音库选择"));
    m_comboBox1->setFixedWidth(124);
    label1->setBuddy(m_comboBox1);
    voiceLayout->addWidget(label1);
    voiceLayout->addWidget(m_comboBox1);
    m_toolBar0->addWidget(voiceBox);

    m_checkBox1 = new QCheckBox(QStringLiteral("重复朗读"));
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_toolBar0->addWidget(m_checkBox1);

    m_speedButton4 = addButton("SpeedButton4", QStringLiteral("朗读"), QStringLiteral("朗读"),
                               "read", [this] { SpeedButton4Click(); });
    m_speedButton10 = addButton("SpeedButton10", QStringLiteral("暂停"), QStringLiteral("暂停"),
                                "pause", [this] { SpeedButton10Click(); });
    m_speedButton1 = addButton("SpeedButton1", QStringLiteral("停止"), QStringLiteral("停止"),
                               "stop", [this] { SpeedButton1Click(); });
    m_speedButton10->setEnabled(false);
    m_speedButton1->setEnabled(false);
    addButton("SpeedButton3", QString(), QStringLiteral("语音设置"), "voicesettings",
              [this] { SpeedButton3Click(); });
    addButton("SpeedButton8", QString(), QStringLiteral("联络我们"), "contact",
              [this] { SpeedButton8Click(); });
    addButton("SpeedButton6", QString(), QStringLiteral("公司主页"), "homepage",
              [this] { I1Click(); });
    addButton("SpeedButton2", QString(), QStringLiteral("退出"), "exit",
              [this] { SpeedButton2Click(); });

    // The clock: hours, minutes and seconds on seven-segment digits.
    auto *panel2 = new QWidget;
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setAccessibleName(QStringLiteral("时钟"));
    auto *clock = new QHBoxLayout(panel2);
    clock->setContentsMargins(2, 0, 2, 0);
    clock->setSpacing(0);
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
            clock->addWidget(colon);
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
        clock->addWidget(lcd);
        m_lcd[size_t(i)] = lcd;
    }
    m_toolBar0->addWidget(panel2);
}

void TMainForm::setupSidePanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("SidePanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(4);

    const auto addHeader = [layout](const char *name, const QString &caption) {
        auto *header = new GradientHeader(caption);
        header->setObjectName(QLatin1String(name));
        header->setFixedHeight(22);
        layout->addWidget(header);
        return header;
    };

    addHeader("RzPanel1", QStringLiteral("个性化设置"));
    m_comboBox2 = new QComboBox;
    m_comboBox2->setObjectName(QStringLiteral("ComboBox2"));
    m_comboBox2->setAccessibleName(QStringLiteral("个性化设置"));
    m_comboBox2->addItems({QStringLiteral("默认"), QStringLiteral("风格一"), QStringLiteral("风格二"),
                           QStringLiteral("风格三"), QStringLiteral("风格四"), QStringLiteral("风格五"),
                           QStringLiteral("风格六")});
    m_comboBox2->setCurrentIndex(DefaultStyle);
    // Only a choice of the user runs the handler; settings set the index
    // without it.
    connect(m_comboBox2, &QComboBox::activated, this, [this] { ComboBox2Change(); });
    auto *styleRow = new QHBoxLayout;
    styleRow->setContentsMargins(18, 0, 18, 0);
    styleRow->addWidget(m_comboBox2);
    layout->addLayout(styleRow);

    addHeader("pnlHeader", QStringLiteral("语音转换"));
    m_waveArea = new QStackedWidget;
    auto *buttons = new QWidget;
    auto *buttonLayout = new QVBoxLayout(buttons);
    buttonLayout->setContentsMargins(18, 0, 18, 0);
    buttonLayout->setSpacing(4);
    m_button5 = new QPushButton(QStringLiteral("女声到 Wave"));
    m_button5->setObjectName(QStringLiteral("Button5"));
    m_button5->setProperty("Tag", 4);
    m_button15 = new QPushButton(QStringLiteral("男声到 Wave"));
    m_button15->setObjectName(QStringLiteral("Button15"));
    m_button15->setProperty("Tag", 1);
    buttonLayout->addWidget(m_button5);
    buttonLayout->addWidget(m_button15);
    for (QPushButton *b : {m_button5, m_button15})
        connect(b, &QPushButton::clicked, this, [this, b] { Button5Click(b); });
    m_rzPanel3 = new BusyPanel(QStringLiteral("语音转换中。。。"));
    m_rzPanel3->setObjectName(QStringLiteral("RzPanel3"));
    m_rzPanel3->setFont(pixelFont(QStringLiteral("宋体"), 16, true));
    m_waveArea->addWidget(buttons);
    m_waveArea->addWidget(m_rzPanel3);
    m_waveArea->setCurrentIndex(0);
    m_waveArea->setFixedHeight(2 * m_button5->sizeHint().height() + 4);
    layout->addWidget(m_waveArea);

    addHeader("RzPanel2", QStringLiteral("常用工具"));
    struct Tool {
        const char *name;
        const char *caption;
        const char *hint;
        const char *icon;
        void (TMainForm::*handler)();
    };
    const Tool tools[] = {
        {"BitBtn19", " 实用月历    ", "实用月历", "calendar", &TMainForm::BitBtn19Click},
        {"BitBtn1", " 幼儿算数     ", "幼儿算数", "math", &TMainForm::BitBtn1Click},
        {"BitBtn2", " 幼儿识字     ", "幼儿识字", "word", &TMainForm::BitBtn2Click},
        {"BitBtn3", " 俄罗斯方块   ", "俄罗斯方块", "blocks", &TMainForm::BitBtn3Click},
        {"BitBtn4", " FLASH 小游戏 ", "FLASH 小游戏", "flash", &TMainForm::BitBtn4Click},
        {"BitBtn22", " 控制面板    ", "控制面板", "controlpanel", &TMainForm::BitBtn22Click},
        {"BitBtn20", " DirectX 诊断", "DirectX 诊断", "diagnostics", &TMainForm::BitBtn20Click},
        {"BitBtn21", " 设备管理器  ", "设备管理器", "devices", &TMainForm::BitBtn21Click},
    };
    const QFont toolFont = pixelFont(font().family(), 16);
    for (const Tool &tool : tools) {
        auto *b = new QPushButton(QString::fromUtf8(tool.caption));
        b->setObjectName(QLatin1String(tool.name));
        b->setToolTip(QString::fromUtf8(tool.hint));
        b->setAccessibleName(QString::fromUtf8(tool.hint));
        b->setIcon(icon(tool.icon));
        b->setIconSize(QSize(20, 20));
        b->setFont(toolFont);
        b->setFixedSize(162, 32);
        QPalette teal = b->palette();
        teal.setColor(QPalette::ButtonText, toQColor(Colors::Teal, teal));
        b->setPalette(teal);
        b->setMouseTracking(true);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, tool.handler);
        layout->addWidget(b, 0, Qt::AlignHCenter);
        m_hintButtons << b;
    }
    layout->addStretch(1);
    panel->setMinimumWidth(170);

    auto *panel1 = new QWidget;
    panel1->setObjectName(QStringLiteral("Panel1"));
    auto *editorLayout = new QVBoxLayout(panel1);
    editorLayout->setContentsMargins(0, 0, 0, 0);
    editorLayout->setSpacing(0);
    editorLayout->addWidget(m_richEdit1);
    editorLayout->addWidget(m_progressBar1);

    panel->resize(198, panel->height());
    m_rzSizePanel2 = new SizeSplitter(panel, panel1);
    m_rzSizePanel2->setObjectName(QStringLiteral("RzSizePanel2"));
    m_rzSizePanel2->setSizes({198, 645});
}

void TMainForm::setupStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(20);
    const int widths[] = {288, 188, 188, 50};
    const QString texts[] = {QStringLiteral("就绪"), QStringLiteral(" ") + Maker::SupportMail,
                             QStringLiteral(" ") + Maker::WebAddress, QString()};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(texts[i]);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 3)
            panel->setFixedWidth(widths[i]);
        else
            panel->setMinimumWidth(widths[i]);
        bar->addWidget(panel, i == 3 ? 1 : 0);
        m_statusPanels[size_t(i)] = panel;
    }
    bar->setCursor(Qt::PointingHandCursor);
    bar->installEventFilter(this);
}

void TMainForm::FormCreate()
{
    m_aboutPending = true;
    m_reading->endRepeat();
    m_reading->setEngineResult(m_services.engine->initialize(m_richEdit1, &m_notifyTarget, -1, -1,
                                                             -1, 0, 0));
    m_services.engine->voiceDeviceNum();

    Registry &registry = *m_services.registry;
    if (registry.keyExists(SettingsKey)) {
        restoreSettings();
    } else if (!registry.createKey(SettingsKey)) {
        m_services.dialogs->message(this, QStringLiteral("未知的原因，创建注册信息失败！"),
                                    QStringLiteral("注册软件"), Dialogs::Icon::Warning,
                                    Dialogs::Buttons::Ok, true);
        return;
    }
    registry.closeKey();
    ComboBox2Change();
}

void TMainForm::restoreSettings()
{
    // One read after the other; the first that fails ends the restore
    // silently, keeping what was read before it. A stored index outside its
    // list keeps the list's designed choice.
    Registry &registry = *m_services.registry;
    if (!registry.openKey(SettingsKey))
        return;
    const std::optional<int> sound = registry.readInteger(QStringLiteral("Sound"));
    if (!sound)
        return;
    if (*sound >= 0 && *sound < m_comboBox1->count())
        m_comboBox1->setCurrentIndex(*sound);
    const std::optional<int> style = registry.readInteger(QStringLiteral("Style"));
    if (!style)
        return;
    if (*style >= 0 && *style < m_comboBox2->count())
        m_comboBox2->setCurrentIndex(*style);
    const std::optional<bool> repeat = registry.readBool(QStringLiteral("Repeat"));
    if (!repeat)
        return;
    m_checkBox1->setChecked(*repeat);
    const std::optional<bool> highlight = registry.readBool(QStringLiteral("Highlight"));
    if (!highlight)
        return;
    m_highlight->setChecked(*highlight);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        // A file or a conversion is being written: close once it is done.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    if (!m_closed) {
        m_closed = true;
        FormClose();
    }
    QMainWindow::closeEvent(event);
}

void TMainForm::FormClose()
{
    m_reading->endRepeat();
    m_services.engine->close();
    saveSettings();
}

void TMainForm::saveSettings()
{
    Registry &registry = *m_services.registry;
    if (!registry.keyExists(SettingsKey) || !registry.openKey(SettingsKey))
        return;
    registry.writeInteger(QStringLiteral("Sound"), m_comboBox1->currentIndex());
    registry.writeInteger(QStringLiteral("Style"), m_comboBox2->currentIndex());
    registry.writeBool(QStringLiteral("Repeat"), m_checkBox1->isChecked());
    registry.writeBool(QStringLiteral("Highlight"), m_highlight->isChecked());
    registry.closeKey();
}

void TMainForm::Timer2Timer()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTime time = now.time();
    m_lcd[0]->setValue(time.hour());
    m_lcd[1]->setValue(time.minute());
    m_lcd[2]->setValue(time.second());
    m_statusPanels[3]->setText(SystemFormats::shortDate(now.date()) + QStringLiteral("  ")
                               + SystemFormats::longTime(time));
    // The about window shows once, after this tick has returned: opened
    // from inside the tick, its modal loop would hold this very timer (Qt
    // does not start a timer's handler again while it runs), and the clock
    // would stand still. While another window is modal (a message at start),
    // it waits for a later tick.
    if (m_aboutPending && !QApplication::activeModalWidget()) {
        m_aboutPending = false;
        QMetaObject::invokeMethod(this, &TMainForm::A1Click, Qt::QueuedConnection);
    }
}

void TMainForm::showHint(QObject *button)
{
    if (auto *w = qobject_cast<QWidget *>(button))
        m_statusPanels[0]->setText(w->toolTip());
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::HoverMove) {
        if (m_hintButtons.contains(watched))
            showHint(watched);
    } else if (event->type() == QEvent::MouseButtonPress && watched == statusBar()) {
        I1Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::notifyCallback(void *context, const char *text)
{
    static_cast<TMainForm *>(context)->setNotificationText(QString::fromLatin1(text));
}

void TMainForm::setNotificationText(const QString &text)
{
    if (m_edit2->text() == text) {
        const QSignalBlocker blocker(m_edit2);
        m_edit2->clear();
    }
    m_edit2->setText(text);
}

void TMainForm::Edit2Change()
{
    m_reading->endNotification(m_edit2->text());
}

void TMainForm::showReadingState(bool reading)
{
    m_speedButton4->setEnabled(!reading);
    m_T1->setEnabled(!reading);
    m_comboBox1->setEnabled(!reading);
    m_checkBox1->setEnabled(!reading);
    m_speedButton10->setEnabled(reading);
    m_N8->setEnabled(reading);
    m_speedButton1->setEnabled(reading);
    m_N23->setEnabled(reading);
    m_fromCursor->setEnabled(!reading);
    m_previousSentence->setEnabled(reading);
    m_nextSentence->setEnabled(reading);
}

void TMainForm::showPauseCaption(const QString &caption)
{
    m_speedButton10->setText(caption);
    m_speedButton10->setToolTip(caption);
    m_speedButton10->setAccessibleName(caption);
    m_N8->setText(m_speedButton10->text());
}

void TMainForm::SpeedButton4Click()
{
    if (m_richEdit1->document()->isEmpty()) {
        m_services.dialogs->message(this, QStringLiteral("朗读内容为空！"), QStringLiteral("Parlix"),
                                    Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
        return;
    }
    m_richEdit1->setFocus();
    m_reading->start(m_checkBox1->isChecked());
}

void TMainForm::SpeedButton10Click()
{
    m_reading->pauseOrContinue();
}

void TMainForm::SpeedButton1Click()
{
    m_reading->stop();
}

void TMainForm::SpeedButton3Click()
{
    m_reading->engineSettings();
}

void TMainForm::PlayStr(const QString &text)
{
    m_reading->playStr(text);
}

void TMainForm::ComboBox2Change()
{
    const int i = m_comboBox2->currentIndex();
    if (i == 0) {
        m_sd1->setActive(false);
    } else {
        m_sd1->loadFromCollection(*m_skinStore1, i - 1);
        if (!m_sd1->active())
            m_sd1->setActive(true);
    }
    if (i < 0 || i >= int(StyleClockColors.size()))
        return;
    const TColor colour = StyleClockColors[size_t(i)];
    for (TLcdDisplay *lcd : m_lcd)
        lcd->setBackgroundColor(colour);
    for (TLcdDisplay *lcd : m_lcd)
        lcd->setLightOffColor(colour);
}

void TMainForm::openToolWindow(QDialog *window, bool askFirst)
{
    if (!window)
        return;
    if (askFirst
        && m_services.dialogs->message(this, QStringLiteral("您是否关闭当前窗口?"),
                                       QStringLiteral("询问"), Dialogs::Icon::Question,
                                       Dialogs::Buttons::YesNo)
            == Dialogs::Answer::Yes) {
        hide();
        window->exec();
        show();
        return;
    }
    window->exec();
}

void TMainForm::BitBtn19Click() { openToolWindow(m_windows.calendar, false); }
void TMainForm::BitBtn1Click() { openToolWindow(m_windows.math, false); }
void TMainForm::BitBtn2Click() { openToolWindow(m_windows.word, false); }
void TMainForm::BitBtn3Click() { openToolWindow(m_windows.blocks, true); }
void TMainForm::BitBtn4Click() { openToolWindow(m_windows.flash, true); }

void TMainForm::BitBtn22Click()
{
    startSystemTool(Desktop::SystemTool::ControlPanel, QStringLiteral("控制面板"));
}

void TMainForm::BitBtn20Click()
{
    startSystemTool(Desktop::SystemTool::DirectXDiagnostics, QStringLiteral("DirectX 诊断"));
}

void TMainForm::BitBtn21Click()
{
    startSystemTool(Desktop::SystemTool::DeviceManager, QStringLiteral("设备管理器"));
}

void TMainForm::startSystemTool(Desktop::SystemTool tool, const QString &name)
{
    if (!m_services.desktop->startSystemTool(tool, this)) {
        m_services.dialogs->message(this, QStringLiteral("这台电脑上没有找到“%1”。").arg(name),
                                    Dialogs::applicationTitle(), Dialogs::Icon::Warning,
                                    Dialogs::Buttons::Ok);
    }
}

void TMainForm::M1Click()
{
    // The help lives beside the program; the current folder goes there and
    // stays there.
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!QDir::setCurrent(programFolder)) {
        m_services.dialogs->message(this,
                                    QStringLiteral("无法进入程序所在的文件夹 %1。")
                                        .arg(QDir::toNativeSeparators(programFolder)),
                                    Dialogs::applicationTitle(), Dialogs::Icon::Error,
                                    Dialogs::Buttons::Ok);
        return;
    }
    const QString folder = QDir::toNativeSeparators(QDir::currentPath());
    if (!m_services.desktop->openHelp(folder)) {
        m_services.dialogs->message(this,
                                    QStringLiteral("找不到帮助文件，请重新安装本软件。"),
                                    Dialogs::applicationTitle(), Dialogs::Icon::Warning,
                                    Dialogs::Buttons::Ok);
    }
}

void TMainForm::SpeedButton8Click()
{
    if (m_windows.about)
        m_windows.about->Label5Click();
}

void TMainForm::I1Click()
{
    if (m_windows.about)
        m_windows.about->Label6Click();
}

void TMainForm::A1Click()
{
    if (m_windows.about)
        m_windows.about->exec();
}

void TMainForm::SpeedButton2Click()
{
    close();
}

void TMainForm::ItemUndoClick(QObject *sender)
{
    const int tag = sender ? sender->property("Tag").toInt() : -1;
    switch (tag) {
    case 0:
        m_richEdit1->undo();
        break;
    case 1:
        m_richEdit1->cut();
        break;
    case 2:
        m_richEdit1->copy();
        break;
    case 3:
        m_richEdit1->paste();
        break;
    case 4:
        m_richEdit1->textCursor().removeSelectedText();
        break;
    case 5:
        m_richEdit1->selectAll();
        break;
    case 6:
        SpeedButton7Click();
        break;
    case 7:
        SpeedButton5Click();
        break;
    default:
        break;
    }
}

template <typename Work> auto TMainForm::whileBusy(Work work)
{
    m_busy = true;
    auto result = runInBackground(std::move(work));
    m_busy = false;
    if (m_closeRequested) {
        m_closeRequested = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
    return result;
}

void TMainForm::showError(const QString &text)
{
    m_services.dialogs->message(this, text, Dialogs::applicationTitle(), Dialogs::Icon::Error,
                                Dialogs::Buttons::Ok);
}

void TMainForm::SpeedButton9Click()
{
    if (m_services.dialogs->message(this, QStringLiteral("新建文件，您是否保存当前窗口?"),
                                    QStringLiteral("询问"), Dialogs::Icon::Question,
                                    Dialogs::Buttons::YesNo)
        == Dialogs::Answer::Yes) {
        // A cancelled dialog still clears; a save that failed does not,
        // or the text would be lost.
        const QString path = m_services.dialogs->saveFileName(this, RtfFilter,
                                                              QStringLiteral("RTF"));
        if (!path.isEmpty()) {
            const DocumentFile::SaveResult saved = DocumentFile::saveRtf(*m_richEdit1->document(),
                                                                        path);
            if (!saved.ok) {
                showError(saved.error);
                return;
            }
        }
    }
    m_richEdit1->clear();
}

void TMainForm::SpeedButton7Click()
{
    const QString path = m_services.dialogs->openFileName(this, OpenFilter);
    if (path.isEmpty())
        return;
    struct Loaded {
        DocumentFile::LoadResult result;
        QTextDocument *document;
    };
    // Large files are read and laid out off the window's thread; the new
    // document comes back to it whole.
    const QFont font = m_richEdit1->document()->defaultFont();
    QThread *windowThread = thread();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Loaded loaded = whileBusy([&] {
        auto *document = new QTextDocument;
        document->setDefaultFont(font);
        const DocumentFile::LoadResult result = DocumentFile::load(path, document);
        document->moveToThread(windowThread);
        return Loaded{result, document};
    });
    QApplication::restoreOverrideCursor();
    if (!loaded.result.ok) {
        delete loaded.document;
        showError(loaded.result.error);
        return;
    }
    replaceDocument(loaded.document);
    if (!loaded.result.warning.isEmpty()) {
        m_services.dialogs->message(this, loaded.result.warning, Dialogs::applicationTitle(),
                                    Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
    }
}

void TMainForm::replaceDocument(QTextDocument *document)
{
    QTextDocument *old = m_richEdit1->document();
    document->setParent(m_richEdit1);
    m_richEdit1->setDocument(document);
    // The editor deletes only the document it made itself: one loaded
    // before is ours to delete, or every Open would keep the last file.
    if (old && old != document && old->parent() == m_richEdit1)
        old->deleteLater();
    m_richEdit1->moveCursor(QTextCursor::Start);
    m_reading->textEdited();
    clearHeard();
    watchDocument();
}

void TMainForm::watchDocument()
{
    connect(m_richEdit1->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) {
                if ((removed || added) && m_reading->isReading()) {
                    // What the engine reads no longer lines up with the text.
                    m_reading->textEdited();
                    clearHeard();
                }
            });
}

bool TMainForm::followsReading() const
{
    return m_highlight->isChecked();
}

void TMainForm::setFollowsReading(bool on)
{
    m_highlight->setChecked(on);
    followReading();
}

void TMainForm::clearHeard()
{
    if (!m_shown)
        return;
    m_shown.reset();
    m_richEdit1->setExtraSelections({});
}

void TMainForm::followReading()
{
    const std::optional<ReadingControl::Heard> heard =
        m_highlight->isChecked() ? m_reading->heard() : std::nullopt;
    if (!heard) {
        clearHeard();
        return;
    }
    if (heard == m_shown)
        return;
    m_shown = heard;
    QTextDocument *doc = m_richEdit1->document();
    const int last = doc->characterCount() - 1;
    // A soft tint of the style's selection colour: the text stays as it is.
    const auto tint = [this](qreal share) {
        const QColor base = m_richEdit1->palette().color(QPalette::Base);
        const QColor mark = m_richEdit1->palette().color(QPalette::Highlight);
        return QColor::fromRgbF(base.redF() + (mark.redF() - base.redF()) * share,
                                base.greenF() + (mark.greenF() - base.greenF()) * share,
                                base.blueF() + (mark.blueF() - base.blueF()) * share);
    };
    const auto selection = [&](qsizetype from, qsizetype to, qreal share) {
        QTextEdit::ExtraSelection s;
        s.cursor = QTextCursor(doc);
        s.cursor.setPosition(int(std::clamp<qsizetype>(from, 0, last)));
        s.cursor.setPosition(int(std::clamp<qsizetype>(to, 0, last)), QTextCursor::KeepAnchor);
        s.format.setBackground(tint(share));
        return s;
    };
    QList<QTextEdit::ExtraSelection> selections{
        selection(heard->sentenceStart, heard->sentenceEnd, 0.25)};
    if (heard->wordStart >= 0)
        selections << selection(heard->wordStart, heard->wordEnd, 0.45);
    m_richEdit1->setExtraSelections(selections);

    // Keep the sentence in sight, unless the user has just scrolled away.
    const bool userScrolled = m_userScrolledAt >= 0
        && QDateTime::currentMSecsSinceEpoch() - m_userScrolledAt < 4000;
    QTextCursor at(doc);
    at.setPosition(int(std::clamp<qsizetype>(heard->sentenceStart, 0, last)));
    const QRect where = m_richEdit1->cursorRect(at);
    const QRect visible = m_richEdit1->viewport()->rect();
    if (!userScrolled && !visible.contains(where)) {
        QScrollBar *bar = m_richEdit1->verticalScrollBar();
        m_scrollingForReading = true;
        bar->setValue(bar->value() + where.top() - visible.height() / 3);
        m_scrollingForReading = false;
    }
}

qsizetype TMainForm::currentSentenceStart() const
{
    if (const std::optional<ReadingControl::Heard> heard = m_reading->heard())
        return heard->sentenceStart;
    return m_richEdit1->textCursor().position();
}

void TMainForm::readFromCursor()
{
    if (m_reading->isReading())
        return;
    if (m_richEdit1->document()->isEmpty()) {
        SpeedButton4Click(); // refuses an empty text the same way
        return;
    }
    const QString text = m_richEdit1->toPlainText();
    const Sentences::Range sentence = Sentences::at(text, m_richEdit1->textCursor().position());
    m_richEdit1->setFocus();
    m_reading->start(m_checkBox1->isChecked(), sentence.start);
}

void TMainForm::previousSentence()
{
    if (!m_reading->isReading())
        return;
    const QString text = m_richEdit1->toPlainText();
    const QList<Sentences::Range> all = Sentences::split(text);
    if (all.isEmpty())
        return;
    const qsizetype here = currentSentenceStart();
    qsizetype i = 0;
    while (i + 1 < all.size() && all[i].end <= here)
        ++i;
    m_reading->restartAt(all[std::max<qsizetype>(0, i - 1)].start);
}

void TMainForm::nextSentence()
{
    if (!m_reading->isReading())
        return;
    const QString text = m_richEdit1->toPlainText();
    const QList<Sentences::Range> all = Sentences::split(text);
    const qsizetype here = currentSentenceStart();
    qsizetype i = 0;
    while (i < all.size() && all[i].end <= here)
        ++i;
    if (i + 1 < all.size())
        m_reading->restartAt(all[i + 1].start); // at the last sentence: nothing
}

void TMainForm::SpeedButton5Click()
{
    saveDocument();
}

bool TMainForm::saveDocument()
{
    const QString path = m_services.dialogs->saveFileName(this, RtfFilter, QStringLiteral("RTF"));
    if (path.isEmpty())
        return false;
    const DocumentFile::SaveResult saved = DocumentFile::saveRtf(*m_richEdit1->document(), path);
    if (!saved.ok)
        showError(saved.error);
    return saved.ok;
}

void TMainForm::N6Click()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPageOrientation(QPageLayout::Portrait);
    if (!m_services.dialogs->printerSetup(this, *m_printer))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const QString header = TextPrinter::headerLine(SystemFormats::shortDate(now.date()),
                                                   SystemFormats::longTime(now.time()));
    const QString error = TextPrinter::print(*m_printer, m_richEdit1->font(), header,
                                             m_richEdit1->toPlainText());
    if (!error.isEmpty())
        showError(error);
}

void TMainForm::Button5Click(QObject *sender)
{
    const QString path = m_services.dialogs->saveFileName(this, WaveFilter, QStringLiteral("wav"));
    if (path.isEmpty())
        return;
    const bool male = sender && sender->property("Tag").toInt() == 1;
    m_rzPanel3->setPercent(-1);
    m_waveArea->setCurrentWidget(m_rzPanel3);
    repaint();

    // The engine takes GBK: a name GBK cannot hold cannot be written.
    const QString nativePath = QDir::toNativeSeparators(path);
    const TextEncoding::GbkResult gbkPath = TextEncoding::toGbk(nativePath);
    int result = -2;
    QString reason;
    if (gbkPath.firstUnencodable >= 0) {
        const qsizetype at = gbkPath.firstUnencodable;
        reason = QStringLiteral("文件名中的“%1”不能用于语音文件的名字。")
                     .arg(nativePath.mid(at, nativePath[at].isHighSurrogate() ? 2 : 1));
    } else {
        const QByteArray text = TextEncoding::toEngineText(m_richEdit1->toPlainText()).bytes;
        const QByteArray site = Maker::WebAddress.toLatin1();
        SpeechEngine *engine = m_services.engine;
        QTimer progress;
        progress.setInterval(200);
        connect(&progress, &QTimer::timeout, this,
                [this, engine] { m_rzPanel3->setPercent(std::clamp(engine->conversionProgress(), 0, 100)); });
        progress.start();
        result = whileBusy([&] {
            return engine->speakToWave(text, gbkPath.bytes, male ? 20 : 10, male ? 1 : 4, 50, 100,
                                       30, 1, site);
        });
        progress.stop();
        if (result != ReadingControl::EngineOk)
            reason = engineFailure(result);
    }
    if (result == ReadingControl::EngineOk) {
        m_services.dialogs->message(this, QStringLiteral("语音转换 Wave 文件完成 !"),
                                    Dialogs::applicationTitle(), Dialogs::Icon::None,
                                    Dialogs::Buttons::Ok);
    } else {
        QString text = QStringLiteral("由于某些原因，语音转换 Wave 文件没有完成 !");
        if (!reason.isEmpty())
            text += QStringLiteral("\n") + reason;
        m_services.dialogs->message(this, text, Dialogs::applicationTitle(), Dialogs::Icon::None,
                                    Dialogs::Buttons::Ok);
    }
    m_waveArea->setCurrentIndex(0);
}
