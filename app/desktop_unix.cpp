#include "desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

std::unique_ptr<Desktop> Desktop::create()
{
    return std::make_unique<UnixDesktop>();
}

QList<QStringList> UnixDesktop::candidates(SystemTool tool, const QString &currentDesktop)
{
    struct Entry {
        const char *desktop; // the desktop the tool belongs to, or "" for any
        QStringList command;
    };
    QList<Entry> entries;
    switch (tool) {
    case SystemTool::ControlPanel:
        entries = {
            {"GNOME", {QStringLiteral("gnome-control-center")}},
            {"KDE", {QStringLiteral("systemsettings")}},
            {"KDE", {QStringLiteral("systemsettings5")}},
            {"XFCE", {QStringLiteral("xfce4-settings-manager")}},
            {"MATE", {QStringLiteral("mate-control-center")}},
            {"X-Cinnamon", {QStringLiteral("cinnamon-settings")}},
            {"LXQt", {QStringLiteral("lxqt-config")}},
            {"Budgie", {QStringLiteral("budgie-control-center")}},
        };
        break;
    case SystemTool::DirectXDiagnostics:
        // What the display, sound and input hardware is and does.
        entries = {
            {"", {QStringLiteral("hardinfo2")}},
            {"", {QStringLiteral("hardinfo")}},
            {"KDE", {QStringLiteral("kinfocenter")}},
            {"", {QStringLiteral("cpu-x")}},
            {"", {QStringLiteral("i-nex")}},
        };
        break;
    case SystemTool::DeviceManager:
        entries = {
            {"KDE", {QStringLiteral("kinfocenter")}},
            {"", {QStringLiteral("hardinfo2")}},
            {"", {QStringLiteral("hardinfo")}},
            {"", {QStringLiteral("lshw-gtk")}},
        };
        break;
    }
    // The current desktop's own tools first, then those of no desktop, then
    // those of other desktops.
    const QStringList desktops = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    QList<QStringList> own;
    QList<QStringList> neutral;
    QList<QStringList> others;
    for (const Entry &e : std::as_const(entries)) {
        if (!*e.desktop)
            neutral << e.command;
        else if (desktops.contains(QLatin1String(e.desktop), Qt::CaseInsensitive))
            own << e.command;
        else
            others << e.command;
    }
    return own + neutral + others;
}

void UnixDesktop::startSystemTool(SystemTool tool, QWidget *)
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    for (const QStringList &command : candidates(tool, desktop)) {
        const QString program = QStandardPaths::findExecutable(command.constFirst());
        if (program.isEmpty())
            continue;
        QProcess::startDetached(program, command.mid(1));
        return;
    }
}

void UnixDesktop::openUrl(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

QString UnixDesktop::helpFile(const QString &programFolder)
{
    const QDir dir(programFolder);
    for (const QString &candidate : {QStringLiteral("help/index.html"),
                                     QStringLiteral("../share/parlix/help/index.html")}) {
        const QString path = dir.filePath(candidate);
        if (QFileInfo(path).isFile())
            return QFileInfo(path).canonicalFilePath();
    }
    return QString();
}

bool UnixDesktop::openHelp(const QString &programFolder)
{
    const QString file = helpFile(programFolder);
    if (file.isEmpty())
        return false;
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    return true;
}
