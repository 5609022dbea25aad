#pragma once

// The main window: the editor whose text is read aloud, the reading controls
// in the toolbar, the side panel with the styles, the conversion to WAV and
// the launchers of the family tools, the clock, and the status bar.
//
// The window owns the reading state machine (ReadingControl) and talks to the
// speech engine, the settings, the dialogs and the desktop only through the
// interfaces it is given, so tests can put scripted ones in their place.

#include "desktop.h"
#include "narrex.h"
#include "readingcontrol.h"
#include "tcolor.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class Dialogs;
class Registry;
class SkinData;
class SkinStore;
class SpeechEngine;
class TaboutForm;
class TLcdDisplay;
class BalloonHints;
class BusyPanel;
class GradientHeader;
class QPrinter;
class QTextDocument;
class SizeSplitter;
class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QStatusBar;
class QTextEdit;
class QToolBar;
class QToolButton;

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
    // The windows the main window opens; they are created after it.
    struct ToolWindows {
        TaboutForm *about = nullptr;
        QDialog *calendar = nullptr;
        QDialog *math = nullptr;
        QDialog *word = nullptr;
        QDialog *blocks = nullptr;
        QDialog *flash = nullptr;
    };

    static inline const QString SettingsKey = QStringLiteral("Software\\Parlix");
    static constexpr int DefaultVoice = 1;
    static constexpr int DefaultStyle = 3;
    // The clock's background in each style: the platform's button face for
    // the plain look, the skin's own colour otherwise.
    static const std::array<TColor, 7> StyleClockColors;

    explicit TMainForm(const Services &services, QWidget *parent = nullptr);
    ~TMainForm() override;

    void setToolWindows(const ToolWindows &windows) { m_windows = windows; }

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
    // The follow timer runs it every 50 ms during a reading.
    void followReading();

    bool aboutPending() const { return m_aboutPending; }
    QTimer &clockTimer() { return m_timer2; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QMenu *createPopupMenu() override { return nullptr; }

private:
    void setupActions();
    void setupMenus();
    void setupToolBar();
    void setupSidePanel();
    void setupEditor();
    void setupStatusBar();
    void FormCreate();
    void FormClose();
    void restoreSettings();
    void saveSettings();
    void showReadingState(bool reading);
    void showPauseCaption(const QString &caption);
    void openToolWindow(QDialog *window, bool askFirst);
    void showHint(QObject *button);
    // Asks for a name and writes the editor's content there as RTF; false
    // when cancelled or when the file could not be written (the error is
    // shown).
    bool saveDocument();
    void replaceDocument(QTextDocument *document);
    void showError(const QString &text);
    // Work that holds up the window's commands (a large file, a conversion):
    // while it runs, closing the window waits for it.
    template <typename Work> auto whileBusy(Work work);
    // The engine's end token arrives here, on this thread; each call is one
    // change of Edit2's text, also when the text is the same.
    void setNotificationText(const QString &text);
    static void notifyCallback(void *context, const char *text);
    // Starts a system tool, or says it is not there.
    void startSystemTool(Desktop::SystemTool tool, const QString &name);
    void clearHeard();
    void watchDocument();
    // The sentence the reading is at (heard now, else where the cursor is).
    qsizetype currentSentenceStart() const;

    Services m_services;
    ToolWindows m_windows;
    ReadingControl *m_reading = nullptr;
    NarrexNotifyTarget m_notifyTarget{};
    bool m_aboutPending = false;
    bool m_closed = false;
    bool m_busy = false;
    bool m_closeRequested = false;
    std::unique_ptr<QPrinter> m_printer;

    QTimer m_timer2;
    SkinData *m_sd1 = nullptr;
    SkinStore *m_skinStore1 = nullptr;
    BalloonHints *m_hints = nullptr;

    // Menu items whose state or caption changes.
    QAction *m_T1 = nullptr;
    QAction *m_N8 = nullptr;
    QAction *m_N23 = nullptr;
    QAction *m_fromCursor = nullptr;
    QAction *m_previousSentence = nullptr;
    QAction *m_nextSentence = nullptr;
    QAction *m_highlight = nullptr;
    QTimer m_followTimer;
    qint64 m_userScrolledAt = -1; // ms since the epoch
    bool m_scrollingForReading = false;
    std::optional<ReadingControl::Heard> m_shown; // what is highlighted now
    QMenu *m_popupMenu1 = nullptr;

    QToolBar *m_toolBar0 = nullptr;
    QToolButton *m_speedButton4 = nullptr;
    QToolButton *m_speedButton10 = nullptr;
    QToolButton *m_speedButton1 = nullptr;
    QList<QWidget *> m_hintButtons;
    QComboBox *m_comboBox1 = nullptr;
    QCheckBox *m_checkBox1 = nullptr;
    std::array<TLcdDisplay *, 3> m_lcd{};

    SizeSplitter *m_rzSizePanel2 = nullptr;
    QComboBox *m_comboBox2 = nullptr;
    QStackedWidget *m_waveArea = nullptr;
    QPushButton *m_button5 = nullptr;
    QPushButton *m_button15 = nullptr;
    BusyPanel *m_rzPanel3 = nullptr;

    QTextEdit *m_richEdit1 = nullptr;
    QProgressBar *m_progressBar1 = nullptr;
    QLineEdit *m_edit2 = nullptr;
    std::array<QLabel *, 4> m_statusPanels{};
};
