#include "toolcommands.h"

#include "aboutform.h"
#include "dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QWidget>

ToolCommands::ToolCommands(QWidget *window, Dialogs &dialogs, Desktop &desktop)
    : QObject(window)
    , m_window(window)
    , m_dialogs(dialogs)
    , m_desktop(desktop)
{
}

void ToolCommands::openTool(Tool tool)
{
    QDialog *window = nullptr;
    bool askFirst = false; // the games ask whether to close the main window
    switch (tool) {
    case Tool::Calendar:
        window = m_windows.calendar;
        break;
    case Tool::Math:
        window = m_windows.math;
        break;
    case Tool::Word:
        window = m_windows.word;
        break;
    case Tool::Blocks:
        window = m_windows.blocks;
        askFirst = true;
        break;
    case Tool::Flash:
        window = m_windows.flash;
        askFirst = true;
        break;
    }
    if (!window)
        return;
    if (askFirst
        && m_dialogs.message(m_window, QStringLiteral("您是否关闭当前窗口?"),
               QStringLiteral("询问"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
            == Dialogs::Answer::Yes) {
        m_window->hide();
        window->exec();
        m_window->show();
        return;
    }
    window->exec();
}

void ToolCommands::startSystemTool(Desktop::SystemTool tool)
{
    if (m_desktop.startSystemTool(tool, m_window))
        return;
    QString name;
    switch (tool) {
    case Desktop::SystemTool::ControlPanel:
        name = QStringLiteral("控制面板");
        break;
    case Desktop::SystemTool::DirectXDiagnostics:
        name = QStringLiteral("DirectX 诊断");
        break;
    case Desktop::SystemTool::DeviceManager:
        name = QStringLiteral("设备管理器");
        break;
    }
    m_dialogs.showWarning(m_window, QStringLiteral("这台电脑上没有找到“%1”。").arg(name));
}

void ToolCommands::openHelp()
{
    // The help lives beside the program; the current folder goes there and
    // stays there.
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!QDir::setCurrent(programFolder)) {
        m_dialogs.showError(m_window,
            QStringLiteral("无法进入程序所在的文件夹 %1。")
                .arg(QDir::toNativeSeparators(programFolder)));
        return;
    }
    if (!m_desktop.openHelp(QDir::toNativeSeparators(QDir::currentPath()))) {
        m_dialogs.showWarning(m_window, QStringLiteral("找不到帮助文件，请重新安装本软件。"));
    }
}

void ToolCommands::mailTheMaker()
{
    if (m_windows.about)
        m_windows.about->Label5Click();
}

void ToolCommands::openWebPage()
{
    if (m_windows.about)
        m_windows.about->Label6Click();
}

void ToolCommands::showAbout()
{
    if (m_windows.about)
        m_windows.about->exec();
}
