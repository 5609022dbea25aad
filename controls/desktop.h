#pragma once

// The desktop around the program: starting the system's own tools, opening
// addresses (web pages, mail) and the help. On Windows these are the
// system's commands (control.exe, dxdiag.exe, devmgmt.msc, hh); elsewhere
// the nearest tools of the desktop in use, where one is installed. Every
// start is fire-and-forget: a tool that is missing or fails to start does
// nothing, as a failed start does on Windows.

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

class Desktop
{
public:
    enum class SystemTool { ControlPanel, DirectXDiagnostics, DeviceManager };

    virtual ~Desktop() = default;

    // False when the tool is not there to start.
    virtual bool startSystemTool(SystemTool tool, QWidget *owner) = 0;
    // Opens a web or mail address with the desktop's handler for it.
    virtual void openUrl(const QString &address) = 0;
    // Opens the program's help, which lives in programFolder (or, installed,
    // beside it). False when the help file is not there.
    virtual bool openHelp(const QString &programFolder) = 0;
    // Puts a launcher of the program on the user's desktop; false with the
    // reason when that fails.
    virtual bool createDesktopShortcut(QString *error) = 0;

    static std::unique_ptr<Desktop> create();
    // Where files that belong to the system rather than the program go when
    // the program's folder does not have them: the Windows folder on
    // Windows, the user's data folder elsewhere.
    static QString systemFolder();
};

#ifndef Q_OS_WIN
// The Linux and other Unix desktop.
class UnixDesktop final : public Desktop
{
public:
    bool startSystemTool(SystemTool tool, QWidget *owner) override;
    void openUrl(const QString &address) override;
    bool openHelp(const QString &programFolder) override;
    bool createDesktopShortcut(QString *error) override;

    // The launcher's text for the program at programPath.
    static QByteArray launcherEntry(const QString &programPath);

    // Command lines that can stand in for a tool, best first for the
    // desktop named by currentDesktop (XDG_CURRENT_DESKTOP).
    static QList<QStringList> candidates(SystemTool tool, const QString &currentDesktop);
    // The help page for programFolder: help/index.html beside the program,
    // or share/parlix/help/index.html of an installed program.
    static QString helpFile(const QString &programFolder);
};
#endif
