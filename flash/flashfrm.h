#pragma once

// The Flash mini-game window: a list of the movies in "FlashGame" beside the
// program, the player, a track bar over the frames (applied while the movie
// is paused) and a status line.

#include <QDialog>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

class Dialogs;
class FlashPlayer;
class QLabel;
class QListWidget;
class QSlider;
class QPushButton;
class SizeSplitter;

class TFlashFrm : public QDialog
{
    Q_OBJECT

public:
    struct Services {
        Dialogs *dialogs = nullptr;
        // The folder that holds the program; its "FlashGame" holds the movies.
        QString programFolder;
        // Whether a player can be made; when not, why (for the log).
        std::function<bool(QString *why)> playerAvailable;
        // Makes the player, its widget a child of parent.
        std::function<std::unique_ptr<FlashPlayer>(QWidget *parent, QString *why)> createPlayer;
    };
    // The player plugin beside the program, through FlashSupport.
    static Services standardServices(Dialogs &dialogs);

    explicit TFlashFrm(const Services &services, QWidget *parent = nullptr);
    ~TFlashFrm() override;

    static QString creationStatus(int totalFrames);
    static QString playingStatus(int totalFrames);
    static QString frameStatus(int currentFrame, int totalFrames);
    static QString closedStatus();
    // The status of a movie whose frames the program cannot follow.
    static QString unseekableStatus(int totalFrames);
    // Added to the status while a movie plays that asked for something it
    // may not have (the network, a file outside its folder).
    static QString refusedNote(const QUrl &url);

    int FTotalFrames = 0;
    int FCurrentFrame = 0;
    QString FPlayingText;
    QString m_refusedNote; // for the movie now playing

    QListWidget *fileList() const { return m_fileList; }
    QSlider *trackBar() const { return m_trackBar; }
    QLabel *statusPanel() const { return m_status; }
    QTimer *timer() { return &m_timer; }
    SizeSplitter *sidePanel() const { return m_splitter; }
    FlashPlayer *player() const { return m_player.get(); }
    QString gameFolder() const;

    void FormShow();
    void FormClose();
    void FileListBox1Click();
    void TrackBar1Change();
    void Timer1Timer();
    void btn6Click();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void reportNoPlayer();

    Services m_services;
    std::unique_ptr<FlashPlayer> m_player;
    QWidget *m_playerArea = nullptr;
    SizeSplitter *m_splitter = nullptr;
    QListWidget *m_fileList = nullptr;
    QSlider *m_trackBar = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_exit = nullptr;
    QTimer m_timer;
    bool m_closing = false;
};
