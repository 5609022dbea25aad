#include "desktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void toolsOfTheCurrentDesktopComeFirst();
    void startsTheFirstInstalledTool();
    void aMissingToolDoesNothing();
    void helpIsFoundBesideOrUnderShare();
};

void TestDesktop::toolsOfTheCurrentDesktopComeFirst()
{
    using T = Desktop::SystemTool;
    QCOMPARE(UnixDesktop::candidates(T::ControlPanel, "GNOME").first(),
        QStringList {"gnome-control-center"});
    QCOMPARE(
        UnixDesktop::candidates(T::ControlPanel, "KDE").first(), QStringList {"systemsettings"});
    QCOMPARE(UnixDesktop::candidates(T::ControlPanel, "ubuntu:XFCE").first(),
        QStringList {"xfce4-settings-manager"});
    QCOMPARE(UnixDesktop::candidates(T::DeviceManager, "KDE").first(), QStringList {"kinfocenter"});
    // Elsewhere a desktop-neutral tool goes first.
    QCOMPARE(UnixDesktop::candidates(T::DeviceManager, "GNOME").first(), QStringList {"hardinfo2"});
    QCOMPARE(UnixDesktop::candidates(T::DirectXDiagnostics, "").first(), QStringList {"hardinfo2"});
}

void TestDesktop::startsTheFirstInstalledTool()
{
    // A stand-in "hardinfo" on the PATH, found after the missing "hardinfo2".
    QTemporaryDir bin;
    const QString marker = bin.filePath("started");
    QFile script(bin.filePath("hardinfo"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho started > '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    UnixDesktop desktop;
    QVERIFY(desktop.startSystemTool(Desktop::SystemTool::DirectXDiagnostics, nullptr));
    qputenv("PATH", oldPath);
    QTRY_VERIFY(QFile::exists(marker));
}

void TestDesktop::aMissingToolDoesNothing()
{
    QTemporaryDir empty;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    UnixDesktop desktop;
    // Said, so that the window can tell the user; nothing is started.
    const bool started = desktop.startSystemTool(Desktop::SystemTool::ControlPanel, nullptr);
    qputenv("PATH", oldPath);
    QVERIFY(!started);
}

void TestDesktop::helpIsFoundBesideOrUnderShare()
{
    QTemporaryDir root;
    QDir(root.path()).mkpath("bin");
    QCOMPARE(UnixDesktop::helpFile(root.filePath("bin")), QString());
    QVERIFY(!UnixDesktop().openHelp(root.filePath("bin")));

    QDir(root.path()).mkpath("share/parlix/help");
    QFile installed(root.filePath("share/parlix/help/index.html"));
    QVERIFY(installed.open(QIODevice::WriteOnly));
    installed.close();
    QCOMPARE(UnixDesktop::helpFile(root.filePath("bin")),
        QFileInfo(installed.fileName()).canonicalFilePath());

    // Beside the program wins (a build tree).
    QDir(root.path()).mkpath("bin/help");
    QFile beside(root.filePath("bin/help/index.html"));
    QVERIFY(beside.open(QIODevice::WriteOnly));
    beside.close();
    QCOMPARE(UnixDesktop::helpFile(root.filePath("bin")),
        QFileInfo(beside.fileName()).canonicalFilePath());
}

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
