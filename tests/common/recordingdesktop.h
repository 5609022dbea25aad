#pragma once

#include "desktop.h"

#include <QStringList>

// Records what the program asks of the desktop instead of starting anything.
class RecordingDesktop final : public Desktop
{
public:
    QStringList calls;
    bool helpPresent = true;

    bool toolsPresent = true;

    bool startSystemTool(SystemTool tool, QWidget *) override
    {
        switch (tool) {
        case SystemTool::ControlPanel:
            calls << QStringLiteral("tool:control");
            break;
        case SystemTool::DirectXDiagnostics:
            calls << QStringLiteral("tool:dxdiag");
            break;
        case SystemTool::DeviceManager:
            calls << QStringLiteral("tool:devmgmt");
            break;
        }
        return toolsPresent;
    }
    void openUrl(const QString &address) override { calls << QStringLiteral("url:") + address; }
    bool openHelp(const QString &folder) override
    {
        calls << QStringLiteral("help:") + folder;
        return helpPresent;
    }
    bool shortcutWorks = true;
    bool createDesktopShortcut(QString *error) override
    {
        calls << QStringLiteral("shortcut");
        if (!shortcutWorks && error)
            *error = QStringLiteral("桌面不能写入");
        return shortcutWorks;
    }
};
