#include "flashfrm.h"
#include "pixelfont.h"

#include "dialogs.h"
#include "flashplayer.h"
#include "flashsupport.h"
#include "sizesplitter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcFlash, "parlix.flash")

namespace {

QString blanks(int n)
{
    return QString(n, u' ');
}

const QString NoPlayerMessage
    = QStringLiteral("对不起，您的系统没有Flash组件支持，请在添加/删除程序中安装！");

} // namespace

QString TFlashFrm::creationStatus(int totalFrames)
{
    return QStringLiteral(" 状态：没有文件播放") + blanks(26) + QStringLiteral("共有")
        + QString::number(totalFrames) + QStringLiteral("帧");
}

QString TFlashFrm::playingStatus(int totalFrames)
{
    return QStringLiteral(" 状态：正在播放...") + blanks(27) + QStringLiteral("共有")
        + QString::number(totalFrames) + QStringLiteral("帧");
}

QString TFlashFrm::frameStatus(int currentFrame, int totalFrames)
{
    return QStringLiteral(" 状态：正在播放...") + blanks(25) + QString::number(currentFrame) + u'/'
        + QString::number(totalFrames) + QStringLiteral("帧");
}

QString TFlashFrm::closedStatus()
{
    return QStringLiteral(" 状态：没有文件播放") + blanks(25) + QStringLiteral("共有0帧");
}

QString TFlashFrm::unseekableStatus(int totalFrames)
{
    return playingStatus(totalFrames) + QStringLiteral("（这个游戏不能按帧查看）");
}

QString TFlashFrm::refusedNote(const QUrl &url)
{
    const QString what = url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName()
                                           : url.toString(QUrl::RemoveQuery | QUrl::RemoveFragment);
    return QStringLiteral("（游戏要读取的“%1”不允许使用）").arg(what.left(60));
}

TFlashFrm::Services TFlashFrm::standardServices(Dialogs &dialogs)
{
    Services s;
    s.dialogs = &dialogs;
    s.programFolder = QCoreApplication::applicationDirPath();
    s.playerAvailable = [](QString *why) {
        const FlashSupport support;
        if (why)
            *why = support.missing();
        return support.check();
    };
    s.createPlayer
        = [](QWidget *parent, QString *why) { return FlashSupport().create(parent, why); };
    return s;
}

TFlashFrm::TFlashFrm(const Services &services, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_services(services)
{
    setObjectName(QStringLiteral("TFlashFrm"));
    setWindowTitle(QStringLiteral(" FLASH 小游戏"));
    setFixedSize(680, 474);
    setFont(songFont(12));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The player's place, and the movie list in a side panel on the right.
    m_playerArea = new QWidget;
    m_playerArea->setObjectName(QStringLiteral("Flash1"));
    m_playerArea->setAutoFillBackground(true);
    QPalette black = m_playerArea->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_playerArea->setPalette(black);
    auto *playerLayout = new QVBoxLayout(m_playerArea);
    playerLayout->setContentsMargins(0, 0, 0, 0);

    m_fileList = new QListWidget;
    m_fileList->setObjectName(QStringLiteral("FileListBox1"));
    m_fileList->setAccessibleName(QStringLiteral("游戏列表"));
    m_fileList->setFont(songFont(19));
    m_fileList->setFrameShape(QFrame::Box);
    m_fileList->setFrameShadow(QFrame::Plain);
    m_fileList->setIconSize(QSize(16, 16));
    m_fileList->setUniformItemSizes(true);
    m_fileList->setStyleSheet(QStringLiteral(
        "QListWidget { background: #000000; color: #00ff00; border: 1px solid #404040; }"
        "QListWidget::item { height: 19px; }"
        "QListWidget::item:selected { background: #00ff00; color: #000000; }"));
    m_fileList->viewport()->installEventFilter(this);
    connect(m_fileList, &QListWidget::itemClicked, this, [this] { FileListBox1Click(); });
    connect(m_fileList, &QListWidget::itemActivated, this, [this] { FileListBox1Click(); });

    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("RzSizePanel2"));
    panel->setFont(songFont(16));
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(m_fileList);
    panel->resize(200, 431);
    m_splitter = new SizeSplitter(panel, m_playerArea, this, SizeSplitter::Side::Right);
    m_splitter->setPanelWidth(200);
    layout->addWidget(m_splitter, 1);

    m_trackBar = new QSlider(Qt::Horizontal);
    m_trackBar->setObjectName(QStringLiteral("TrackBar1"));
    m_trackBar->setFixedHeight(17);
    m_trackBar->setRange(0, 0);
    m_trackBar->setTickPosition(QSlider::NoTicks);
    m_trackBar->setPageStep(0);
    m_trackBar->setToolTip(QStringLiteral("暂停播放时可滑动显示后面的帧"));
    m_trackBar->setAccessibleName(QStringLiteral("帧"));
    connect(m_trackBar, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    layout->addWidget(m_trackBar);

    auto *statusFrame = new QFrame;
    statusFrame->setObjectName(QStringLiteral("Panel1"));
    statusFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusFrame->setFixedHeight(26);
    m_status = new QLabel(statusFrame);
    m_status->setObjectName(QStringLiteral("Panel1Caption"));
    m_status->setFont(songFont(14));
    m_status->setStyleSheet(QStringLiteral("QLabel { color: #ff0000; background: transparent; }"));
    m_status->setGeometry(2, 2, 612, 22);
    m_status->setTextFormat(Qt::PlainText);
    m_exit = new QPushButton(
        QIcon(QStringLiteral(":/icons/exit.svg")), QStringLiteral("退出"), statusFrame);
    m_exit->setObjectName(QStringLiteral("btn6"));
    m_exit->setGeometry(617, 2, 60, 22);
    m_exit->setFlat(true);
    m_exit->setAutoDefault(false);
    connect(m_exit, &QPushButton::clicked, this, &TFlashFrm::btn6Click);
    layout->addWidget(statusFrame);

    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &TFlashFrm::Timer1Timer);

    FormCreate();
}

TFlashFrm::~TFlashFrm() = default;

void TFlashFrm::FormCreate()
{
    m_trackBar->setEnabled(false);
    m_timer.stop();
    m_status->setText(creationStatus(FTotalFrames));
    QString why;
    if (m_services.playerAvailable && !m_services.playerAvailable(&why)) {
        if (!why.isEmpty())
            qCInfo(lcFlash) << "Flash player not available:" << why;
        reportNoPlayer();
    }
}

void TFlashFrm::reportNoPlayer()
{
    m_services.dialogs->message(this, NoPlayerMessage, Dialogs::applicationTitle(),
        Dialogs::Icon::None, Dialogs::Buttons::Ok);
}

QString TFlashFrm::gameFolder() const
{
    const QDir program(m_services.programFolder);
    const QString beside = program.filePath(QStringLiteral("FlashGame"));
    const QString installed
        = QDir::cleanPath(program.filePath(QStringLiteral("../share/parlix/FlashGame")));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

void TFlashFrm::FormShow()
{
    m_closing = false;
    m_splitter->setFolded(false);
    m_splitter->setPanelWidth(200);

    // A folder that is not there gives an empty list.
    m_fileList->clear();
    const QDir folder(gameFolder());
    const QIcon glyph(QStringLiteral(":/flash/movie.svg"));
    const QStringList names
        = folder.entryList({QStringLiteral("*.swf")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(glyph, name, m_fileList);
        item->setData(Qt::UserRole, folder.filePath(name));
        item->setToolTip(name);
    }
    m_fileList->setCurrentRow(-1);
}

void TFlashFrm::FileListBox1Click()
{
    const QListWidgetItem *item = m_fileList->currentItem();
    const QString name
        = item && item->isSelected() ? item->data(Qt::UserRole).toString() : QString();
    if (name.isEmpty()) {
        m_services.dialogs->message(this, QStringLiteral("您好象还没有选择文件 ?"),
            QStringLiteral("VEK OP"), Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
        return;
    }

    auto cannotOpen = [this](const QString &why) {
        if (!why.isEmpty())
            qCInfo(lcFlash) << "cannot open the movie:" << why;
        m_services.dialogs->message(this, QStringLiteral("\n不能打开您所选择的文件格式！"),
            QStringLiteral("警告"), Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
    };

    QString why;
    if (!m_player) {
        if (m_services.playerAvailable && !m_services.playerAvailable(&why)) {
            reportNoPlayer();
            return;
        }
        m_player = m_services.createPlayer ? m_services.createPlayer(m_playerArea, &why) : nullptr;
        if (!m_player) {
            reportNoPlayer();
            qCInfo(lcFlash) << "Flash player not available:" << why;
            return;
        }
        m_playerArea->layout()->addWidget(m_player->widget());
        m_player->widget()->show();
        // Whatever the movie asked for and did not get is said on the status line.
        m_player->onRequestRefused = [this, before = m_player->onRequestRefused](const QUrl &url) {
            if (before)
                before(url);
            m_refusedNote = refusedNote(url);
            m_status->setText(
                m_status->text().section(QStringLiteral("（游戏要读取"), 0, 0) + m_refusedNote);
        };
    }

    m_refusedNote.clear();
    if (!m_player->openMovie(name, &why)) {
        cannotOpen(why);
        return;
    }
    FTotalFrames = m_player->totalFrames();
    const bool seekable = m_player->canSeek();
    FPlayingText = seekable ? playingStatus(FTotalFrames) : unseekableStatus(FTotalFrames);
    m_trackBar->setMaximum(FTotalFrames);
    // The bar follows and sets frames only where the program can reach them.
    m_trackBar->setEnabled(seekable);
    m_timer.start();
    m_status->setText(FPlayingText);
    m_player->play();
}

void TFlashFrm::Timer1Timer()
{
    if (!m_player)
        return;
    if (!m_player->canSeek()) {
        m_status->setText(FPlayingText + m_refusedNote);
        return;
    }
    FCurrentFrame = m_player->frameNum();
    m_trackBar->setValue(FCurrentFrame);
    m_status->setText(frameStatus(FCurrentFrame, FTotalFrames) + m_refusedNote);
}

void TFlashFrm::TrackBar1Change()
{
    if (!m_player || m_closing)
        return;
    if (!m_player->playing())
        m_player->setFrameNum(m_trackBar->value());
}

void TFlashFrm::FormClose()
{
    m_closing = true;
    m_trackBar->setEnabled(false);
    m_trackBar->setValue(0);
    m_timer.stop();
    if (m_player)
        m_player->stop();
    // Taking the movie off the player: the player goes, and with it its
    // page and the process that ran the movie.
    m_player.reset();
    m_status->setText(closedStatus());
    m_timer.stop();
}

void TFlashFrm::btn6Click()
{
    close();
}

void TFlashFrm::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TFlashFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TFlashFrm::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the list where there is no file, with none chosen yet,
    // asks for one.
    if (watched == m_fileList->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !m_fileList->itemAt(mouse->position().toPoint())
            && m_fileList->selectedItems().isEmpty())
            FileListBox1Click();
    }
    return QDialog::eventFilter(watched, event);
}
