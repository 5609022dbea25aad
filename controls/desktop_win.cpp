#include "desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QWidget>

#include <shellapi.h>
#include <windows.h>

#include <string>

namespace {

class WindowsDesktop final : public Desktop
{
public:
    bool startSystemTool(SystemTool tool, QWidget *owner) override
    {
        switch (tool) {
        case SystemTool::ControlPanel:
            return run(L"control.exe");
        case SystemTool::DirectXDiagnostics:
            return run(L"dxdiag.exe");
        case SystemTool::DeviceManager:
            return INT_PTR(ShellExecuteW(owner ? HWND(owner->window()->winId()) : nullptr, L"open",
                       L"devmgmt.msc", L"", L"", SW_SHOWNORMAL))
                > 32;
        }
        return false;
    }

    void openUrl(const QString &address) override
    {
        ShellExecuteW(
            nullptr, nullptr, reinterpret_cast<LPCWSTR>(address.utf16()), L"", L"", SW_SHOWNORMAL);
    }

    bool openHelp(const QString &programFolder) override
    {
        const QString command = QStringLiteral("hh ") + QDir::toNativeSeparators(programFolder)
            + QStringLiteral("\\Parlix.chm");
        run(reinterpret_cast<LPCWSTR>(command.utf16()));
        return true;
    }

    bool createDesktopShortcut(QString *error) override
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        const QString link = QDir(folder).filePath(QStringLiteral("语音朗读器.lnk"));
        QFile::remove(link);
        if (QFile::link(QCoreApplication::applicationFilePath(), link))
            return true;
        if (error)
            *error = QStringLiteral("无法在桌面（%1）上创建快捷方式。")
                         .arg(QDir::toNativeSeparators(folder));
        return false;
    }

private:
    // Starts a command line with its window shown, without waiting.
    static bool run(const wchar_t *commandLine)
    {
        std::wstring line(commandLine);
        STARTUPINFOW si {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION pi {};
        if (!CreateProcessW(
                nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return true;
    }
};

} // namespace

QString Desktop::systemFolder()
{
    wchar_t buffer[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? QString::fromWCharArray(buffer, int(n)) : QString();
}

std::unique_ptr<Desktop> Desktop::create()
{
    return std::make_unique<WindowsDesktop>();
}
