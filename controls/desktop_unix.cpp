#include "desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
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

bool UnixDesktop::startSystemTool(SystemTool tool, QWidget *)
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    for (const QStringList &command : candidates(tool, desktop)) {
        const QString program = QStandardPaths::findExecutable(command.constFirst());
        if (program.isEmpty())
            continue;
        return QProcess::startDetached(program, command.mid(1));
    }
    return false;
}

void UnixDesktop::openUrl(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

QString UnixDesktop::helpFile(const QString &programFolder)
{
    const QDir dir(programFolder);
    for (const QString &candidate :
        {QStringLiteral("help/index.html"), QStringLiteral("../share/parlix/help/index.html")}) {
        const QString path = dir.filePath(candidate);
        if (QFileInfo(path).isFile())
            return QFileInfo(path).canonicalFilePath();
    }
    return QString();
}

QString Desktop::systemFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QByteArray UnixDesktop::launcherEntry(const QString &programPath)
{
    // Inside a quoted Exec argument \ " ` $ take a backslash, which the
    // file's own escaping doubles; % is doubled for the field codes.
    QString quoted;
    for (QChar c : programPath) {
        if (c == u'\\')
            quoted += QStringLiteral("\\\\\\\\"); // four: an escaped backslash, escaped
        else if (c == u'"' || c == u'`' || c == u'$')
            quoted += QStringLiteral("\\\\") + c;
        else if (c == u'%')
            quoted += QStringLiteral("%%");
        else
            quoted += c;
    }
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=语音朗读器\n"
                          "Comment=把文字读出来，还有月历、幼儿算数、识字和小游戏\n"
                          "Exec=\"%1\"\n"
                          "Icon=example.parlix.Parlix\n"
                          "Terminal=false\n"
                          "Categories=Education;Accessibility;Utility;\n")
        .arg(quoted)
        .toUtf8();
}

bool UnixDesktop::createDesktopShortcut(QString *error)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString path = QDir(folder).filePath(QStringLiteral("Parlix.desktop"));
    QSaveFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly)
        || file.write(launcherEntry(QCoreApplication::applicationFilePath())) < 0
        || !file.commit()) {
        if (error)
            *error = QStringLiteral("无法在桌面（%1）上创建快捷方式：%2")
                         .arg(QDir::toNativeSeparators(folder), file.errorString());
        return false;
    }
    // Desktops start only launchers that may be run.
    QFile::setPermissions(path,
        QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeGroup
            | QFileDevice::ExeOther);
    return true;
}

bool UnixDesktop::openHelp(const QString &programFolder)
{
    const QString file = helpFile(programFolder);
    if (file.isEmpty())
        return false;
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    return true;
}
