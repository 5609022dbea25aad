#pragma once

#include "desktop.h"

#include <QObject>

class Dialogs;
class QDialog;
class QWidget;
class TaboutForm;

// The main window's way out to the family tools (each window opened
// modally; the games after asking whether to hide the main window), the
// system tools, the help, the maker's links and the about window.
class ToolCommands : public QObject
{
    Q_OBJECT

public:
    // The windows the main window opens; they are created after it.
    struct Windows {
        TaboutForm *about = nullptr;
        QDialog *calendar = nullptr;
        QDialog *math = nullptr;
        QDialog *word = nullptr;
        QDialog *blocks = nullptr;
        QDialog *flash = nullptr;
    };
    enum class Tool { Calendar, Math, Word, Blocks, Flash };

    ToolCommands(QWidget *window, Dialogs &dialogs, Desktop &desktop);

    void setWindows(const Windows &windows) { m_windows = windows; }

    void openTool(Tool tool);
    // Starts a system tool, or says it is not there.
    void startSystemTool(Desktop::SystemTool tool);
    void openHelp();
    void mailTheMaker();
    void openWebPage();
    void showAbout();

private:
    QWidget *m_window;
    Dialogs &m_dialogs;
    Desktop &m_desktop;
    Windows m_windows;
};
