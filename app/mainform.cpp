#include "mainform.h"

#include "balloonhints.h"
#include "busywork.h"
#include "dialogs.h"
#include "documentcommands.h"
#include "editorpanel.h"
#include "lcddisplay.h"
#include "mainactions.h"
#include "mainsettings.h"
#include "mainstatusbar.h"
#include "maintoolbar.h"
#include "readingfollower.h"
#include "registry.h"
#include "sidepanel.h"
#include "sizesplitter.h"
#include "skindata.h"
#include "speechengine.h"
#include "waveconversion.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

const std::array<TColor, 7> TMainForm::StyleClockColors
    = {Colors::BtnFace, 0x00E3DFE0, 0x00F4F4F4, 0x00F2DED5, 0x00D8E9EC, 0x00F5F8F9, 0x00E0E0E0};

TMainForm::TMainForm(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("语音朗读器"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/parlix.svg")));

    m_reading = new ReadingControl(*m_services.engine, this);
    m_sd1 = new SkinData(this);
    m_sd1->setObjectName(QStringLiteral("sd1"));
    m_skinStore1 = new SkinStore;
    m_hints = new BalloonHints(this);
    m_hints->setObjectName(QStringLiteral("RzBalloonHints1"));

    const MainSettings designed;
    auto *panel1 = new EditorPanel;
    m_richEdit1 = panel1->editor();
    m_progressBar1 = panel1->progress();
    connect(m_richEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_actions->contextMenu()->popup(m_richEdit1->viewport()->mapToGlobal(pos));
    });
    m_actions = new MainActions(this);
    m_toolBar = new MainToolBar(*m_actions, designed.sound, this);
    addToolBar(m_toolBar);
    m_side = new SidePanel(*m_actions, designed.style);
    m_side->resize(198, m_side->height());
    auto *sizePanel = new SizeSplitter(m_side, panel1);
    sizePanel->setObjectName(QStringLiteral("RzSizePanel2"));
    sizePanel->setSizes({198, 645});
    auto *central = new QWidget(this);
    auto *centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->addWidget(sizePanel);
    setCentralWidget(central);
    m_statusBar = new MainStatusBar(this);
    setStatusBar(m_statusBar);
    connect(m_statusBar, &MainStatusBar::clicked, this, &TMainForm::I1Click);

    // Edit2 belongs to the window but is never seen: the engine reports the
    // end of each reading by writing its token into it.
    m_edit2 = new QLineEdit(QStringLiteral("Edit2"), central);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit2->hide();
    connect(m_edit2, &QLineEdit::textChanged, this, &TMainForm::Edit2Change);
    m_notifyTarget.context = this;
    m_notifyTarget.setText = &TMainForm::notifyCallback;

    m_busy = new BusyWork(this);
    connect(m_busy, &BusyWork::closeNow, this, &QWidget::close, Qt::QueuedConnection);
    m_documents = new DocumentCommands(this, m_richEdit1, *m_services.dialogs, *m_busy);
    m_conversion = new WaveConversion(this, m_richEdit1, *m_services.engine, *m_services.dialogs,
        *m_busy, {m_side->waveArea(), m_side->busyPanel()});
    m_tools = new ToolCommands(this, *m_services.dialogs, *m_services.desktop);
    m_follower = new ReadingFollower(m_richEdit1, *m_reading, (*m_actions)["mnuHighlight"], this);
    connect(m_documents, &DocumentCommands::documentReplaced, m_follower,
        &ReadingFollower::documentReplaced);

    m_reading->setTextSource([this] { return m_richEdit1->toPlainText(); });
    m_reading->setVoiceSource([this] { return m_toolBar->voiceList()->currentIndex(); });
    connect(m_reading, &ReadingControl::readingChanged, this, &TMainForm::showReadingState);
    connect(
        m_reading, &ReadingControl::pauseCaptionChanged, m_actions, &MainActions::setPauseCaption);
    connect(m_reading, &ReadingControl::progressChanged, m_progressBar1, &QProgressBar::setValue);
    connectCommands();

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

// Each command's action runs its handler; a toolbar button and its menu item
// are one action.
void TMainForm::connectCommands()
{
    const std::pair<const char *, void (TMainForm::*)()> commands[] = {
        {"N3", &TMainForm::SpeedButton9Click},
        {"dfdsf1", &TMainForm::SpeedButton7Click},
        {"O1", &TMainForm::SpeedButton5Click},
        {"N6", &TMainForm::N6Click},
        {"C1", &TMainForm::SpeedButton2Click},
        {"T1", &TMainForm::SpeedButton4Click},
        {"mnuReadFromCursor", &TMainForm::readFromCursor},
        {"N8", &TMainForm::SpeedButton10Click},
        {"N23", &TMainForm::SpeedButton1Click},
        {"mnuPreviousSentence", &TMainForm::previousSentence},
        {"mnuNextSentence", &TMainForm::nextSentence},
        {"M2", &TMainForm::BitBtn19Click},
        {"N11", &TMainForm::BitBtn1Click},
        {"C3", &TMainForm::BitBtn2Click},
        {"N9", &TMainForm::BitBtn3Click},
        {"FLASH1", &TMainForm::BitBtn4Click},
        {"N18", &TMainForm::BitBtn22Click},
        {"N13", &TMainForm::BitBtn20Click},
        {"xxx1", &TMainForm::BitBtn21Click},
        {"M1", &TMainForm::M1Click},
        {"I1", &TMainForm::I1Click},
        {"A1", &TMainForm::A1Click},
        {"actVoiceSettings", &TMainForm::SpeedButton3Click},
        {"actContact", &TMainForm::SpeedButton8Click},
    };
    for (const auto &[name, handler] : commands)
        connect((*m_actions)[name], &QAction::triggered, this, handler);
    // The edit commands act by their tag, from the Edit menu and the editor's.
    for (const char *name : {"U1", "T2", "C2", "P1", "D1", "A2", "ItemUndo", "ItemCut", "ItemCopy",
             "ItemPaste", "ItemDelete", "ItemSelectAll", "L1", "MenuItem2"}) {
        QAction *a = (*m_actions)[name];
        connect(a, &QAction::triggered, this, [this, a] { ItemUndoClick(a); });
    }
    for (QPushButton *b : {m_side->femaleWave(), m_side->maleWave()})
        connect(b, &QPushButton::clicked, this, [this, b] { Button5Click(b); });
    // Only a choice of the user runs the style handler; settings set the
    // index without it.
    connect(m_side->styleList(), &QComboBox::activated, this, [this] { ComboBox2Change(); });
    m_statusBar->showHintsOf(m_toolBar->hintButtons() + m_side->hintButtons());
}

void TMainForm::setToolWindows(const ToolWindows &windows)
{
    m_tools->setWindows(windows);
}

void TMainForm::FormCreate()
{
    m_aboutPending = true;
    m_reading->endRepeat();
    m_reading->setEngineResult(
        m_services.engine->initialize(m_richEdit1, &m_notifyTarget, -1, -1, -1, 0, 0));
    m_services.engine->voiceDeviceNum();

    Registry &registry = *m_services.registry;
    if (registry.keyExists(MainSettings::Key)) {
        restoreSettings();
    } else if (!registry.createKey(MainSettings::Key)) {
        m_services.dialogs->message(this, QStringLiteral("未知的原因，创建注册信息失败！"),
            QStringLiteral("注册软件"), Dialogs::Icon::Warning, Dialogs::Buttons::Ok, true);
        return;
    }
    registry.closeKey();
    ComboBox2Change();
}

void TMainForm::restoreSettings()
{
    // A stored index outside its list keeps the list's designed choice.
    if (!m_services.registry->openKey(MainSettings::Key))
        return;
    MainSettings s;
    s.read(*m_services.registry);
    QComboBox *voices = m_toolBar->voiceList();
    QComboBox *styles = m_side->styleList();
    if (s.sound >= 0 && s.sound < voices->count())
        voices->setCurrentIndex(s.sound);
    if (s.style >= 0 && s.style < styles->count())
        styles->setCurrentIndex(s.style);
    m_toolBar->repeatBox()->setChecked(s.repeat);
    (*m_actions)["mnuHighlight"]->setChecked(s.highlight);
}

void TMainForm::saveSettings()
{
    Registry &registry = *m_services.registry;
    if (!registry.keyExists(MainSettings::Key) || !registry.openKey(MainSettings::Key))
        return;
    MainSettings s;
    s.sound = m_toolBar->voiceList()->currentIndex();
    s.style = m_side->styleList()->currentIndex();
    s.repeat = m_toolBar->repeatBox()->isChecked();
    s.highlight = followsReading();
    s.write(registry);
    registry.closeKey();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_busy->isBusy()) {
        // A file or a conversion is being written: close once it is done.
        m_busy->deferClose();
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

void TMainForm::Timer2Timer()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTime time = now.time();
    const std::array<TLcdDisplay *, 3> &lcd = m_toolBar->clock();
    lcd[0]->setValue(time.hour());
    lcd[1]->setValue(time.minute());
    lcd[2]->setValue(time.second());
    m_statusBar->showTime(now);
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

void TMainForm::showReadingState(bool reading)
{
    m_actions->setReading(reading);
    m_toolBar->voiceList()->setEnabled(!reading);
    m_toolBar->repeatBox()->setEnabled(!reading);
}

void TMainForm::SpeedButton4Click()
{
    if (m_richEdit1->document()->isEmpty()) {
        m_services.dialogs->message(this, QStringLiteral("朗读内容为空！"),
            QStringLiteral("Parlix"), Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
        return;
    }
    m_richEdit1->setFocus();
    m_reading->start(m_toolBar->repeatBox()->isChecked());
}

void TMainForm::readFromCursor()
{
    if (m_reading->isReading())
        return;
    if (m_richEdit1->document()->isEmpty())
        SpeedButton4Click(); // refuses an empty text the same way
    else
        m_follower->readFromCursor(m_toolBar->repeatBox()->isChecked());
}

void TMainForm::ComboBox2Change()
{
    const int i = m_side->styleList()->currentIndex();
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
    for (TLcdDisplay *lcd : m_toolBar->clock()) {
        lcd->setBackgroundColor(colour);
        lcd->setLightOffColor(colour);
    }
}

// The handlers only forward to the helper that does the work: one line each.
// clang-format off
void TMainForm::Edit2Change() { m_reading->endNotification(m_edit2->text()); }
void TMainForm::SpeedButton10Click() { m_reading->pauseOrContinue(); }
void TMainForm::SpeedButton1Click() { m_reading->stop(); }
void TMainForm::SpeedButton3Click() { m_reading->engineSettings(); }
void TMainForm::PlayStr(const QString &text) { m_reading->playStr(text); }
void TMainForm::previousSentence() { m_follower->previousSentence(); }
void TMainForm::nextSentence() { m_follower->nextSentence(); }
bool TMainForm::followsReading() const { return (*m_actions)["mnuHighlight"]->isChecked(); }
void TMainForm::setFollowsReading(bool on) { (*m_actions)["mnuHighlight"]->setChecked(on); }
void TMainForm::followReading() { m_follower->follow(); }

void TMainForm::BitBtn19Click() { m_tools->openTool(ToolCommands::Tool::Calendar); }
void TMainForm::BitBtn1Click() { m_tools->openTool(ToolCommands::Tool::Math); }
void TMainForm::BitBtn2Click() { m_tools->openTool(ToolCommands::Tool::Word); }
void TMainForm::BitBtn3Click() { m_tools->openTool(ToolCommands::Tool::Blocks); }
void TMainForm::BitBtn4Click() { m_tools->openTool(ToolCommands::Tool::Flash); }
void TMainForm::BitBtn22Click() { m_tools->startSystemTool(Desktop::SystemTool::ControlPanel); }
void TMainForm::BitBtn20Click()
{ m_tools->startSystemTool(Desktop::SystemTool::DirectXDiagnostics); }
void TMainForm::BitBtn21Click() { m_tools->startSystemTool(Desktop::SystemTool::DeviceManager); }
void TMainForm::M1Click() { m_tools->openHelp(); }
void TMainForm::SpeedButton8Click() { m_tools->mailTheMaker(); }
void TMainForm::I1Click() { m_tools->openWebPage(); }
void TMainForm::A1Click() { m_tools->showAbout(); }
void TMainForm::SpeedButton2Click() { close(); }

void TMainForm::ItemUndoClick(QObject *sender)
{ m_documents->edit(sender ? sender->property("Tag").toInt() : -1); }
void TMainForm::SpeedButton9Click() { m_documents->newDocument(); }
void TMainForm::SpeedButton7Click() { m_documents->open(); }
void TMainForm::SpeedButton5Click() { m_documents->save(); }
void TMainForm::N6Click() { m_documents->print(); }
// clang-format on

void TMainForm::Button5Click(QObject *sender)
{
    // Tag 1 is the male voice, any other the female one.
    m_conversion->convert(sender && sender->property("Tag").toInt() == 1);
}
