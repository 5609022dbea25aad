#pragma once

// The main window: the editor whose text is read aloud, the toolbar with the
// reading controls, the side panel with the styles, the conversion to WAV and
// the launchers of the family tools, the clock, and the status bar.
//
// The window builds itself and wires its parts; each job is a class of its
// own that it owns:
//   MainActions       every command as a QAction, the menus, what is enabled
//   MainToolBar       the toolbar; SidePanel the side panel
//   ReadingControl    the reading state machine over the speech engine
//   ReadingFollower   the sentence being heard, shown in the editor
//   DocumentCommands  new, open, save, print, the edit commands
//   WaveConversion    the text as speech into a WAV file
//   ToolCommands      the family tools, system tools, help and links
//   MainSettings      the settings in the registry
// The handlers keep the names of the controls that run them and pass each
// command on. The speech engine, the settings, the dialogs and the desktop
// come through interfaces, so tests can put scripted ones in their place.

#include "narrex.h"
#include "readingcontrol.h"
#include "tcolor.h"
#include "toolcommands.h"

#include <QMainWindow>
#include <QTimer>

#include <array>

class BalloonHints;
class BusyWork;
class Dialogs;
class DocumentCommands;
class MainActions;
class MainStatusBar;
class MainToolBar;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTextEdit;
class ReadingFollower;
class Registry;
class SidePanel;
class SkinData;
class SkinStore;
class SpeechEngine;
class WaveConversion;

class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    struct Services {
        SpeechEngine *engine = nullptr;
        Registry *registry = nullptr;
        Dialogs *dialogs = nullptr;
        Desktop *desktop = nullptr;
    };
    using ToolWindows = ToolCommands::Windows;

    // The clock's background in each style: the platform's button face for
    // the plain look, the skin's own colour otherwise.
    static const std::array<TColor, 7> StyleClockColors;

    explicit TMainForm(const Services &services, QWidget *parent = nullptr);
    ~TMainForm() override;

    void setToolWindows(const ToolWindows &windows);

    // Speaks a short phrase for the other windows (the voice list decides
    // the voice; nothing else changes).
    void PlayStr(const QString &text);

    ReadingControl &reading() const { return *m_reading; }
    SkinData &skin() const { return *m_sd1; }
    QTextEdit *editor() const { return m_richEdit1; }

    // Handlers, named after the controls that run them.
    void Timer2Timer();
    void SpeedButton4Click();
    void SpeedButton10Click();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void Edit2Change();
    void ComboBox2Change();
    void BitBtn19Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn22Click();
    void BitBtn20Click();
    void BitBtn21Click();
    void M1Click();
    void SpeedButton8Click();
    void I1Click();
    void A1Click();
    void SpeedButton2Click();
    void ItemUndoClick(QObject *sender);
    void SpeedButton9Click();
    void SpeedButton7Click();
    void SpeedButton5Click();
    void N6Click();
    void Button5Click(QObject *sender);
    // Following the reading in the editor.
    void readFromCursor();
    void previousSentence();
    void nextSentence();
    bool followsReading() const;
    void setFollowsReading(bool on);
    // One look at what the engine is reading: highlight and scroll to it.
    // The follower's timer runs it every 50 ms during a reading.
    void followReading();

    bool aboutPending() const { return m_aboutPending; }
    QTimer &clockTimer() { return m_timer2; }

protected:
    void closeEvent(QCloseEvent *event) override;
    QMenu *createPopupMenu() override { return nullptr; }

private:
    void connectCommands();
    void FormCreate();
    void FormClose();
    void restoreSettings();
    void saveSettings();
    void showReadingState(bool reading);
    // The engine's end token arrives here, on this thread; each call is one
    // change of Edit2's text, also when the text is the same.
    void setNotificationText(const QString &text);
    static void notifyCallback(void *context, const char *text);

    Services m_services;
    ReadingControl *m_reading = nullptr;
    NarrexNotifyTarget m_notifyTarget {};
    bool m_aboutPending = false;
    bool m_closed = false;

    MainActions *m_actions = nullptr;
    MainToolBar *m_toolBar = nullptr;
    MainStatusBar *m_statusBar = nullptr;
    SidePanel *m_side = nullptr;
    BusyWork *m_busy = nullptr;
    DocumentCommands *m_documents = nullptr;
    WaveConversion *m_conversion = nullptr;
    ToolCommands *m_tools = nullptr;
    ReadingFollower *m_follower = nullptr;

    QTimer m_timer2;
    SkinData *m_sd1 = nullptr;
    SkinStore *m_skinStore1 = nullptr;
    BalloonHints *m_hints = nullptr;

    QTextEdit *m_richEdit1 = nullptr;
    QProgressBar *m_progressBar1 = nullptr;
    QLineEdit *m_edit2 = nullptr;
};
