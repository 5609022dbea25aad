#include "flashsupport.h"

#include "flashplayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLibraryInfo>

namespace {

QString firstExisting(const QStringList &candidates)
{
    for (const QString &c : candidates) {
        if (QFileInfo::exists(c))
            return QDir::cleanPath(c);
    }
    return candidates.value(0);
}

QString pluginName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("parlix_flashplayer.dll");
#else
    return QStringLiteral("libparlix_flashplayer.so");
#endif
}

} // namespace

FlashSupport::FlashSupport()
{
    const QString dir = QCoreApplication::applicationDirPath();
    m_plugin = firstExisting(
        {dir + u'/' + pluginName(), dir + QStringLiteral("/../lib/parlix/") + pluginName()});
    m_folder = firstExisting(
        {dir + QStringLiteral("/ruffle"), dir + QStringLiteral("/../share/parlix/ruffle")});
}

FlashSupport::FlashSupport(const QString &pluginFile, const QString &playerFolder)
    : m_plugin(pluginFile)
    , m_folder(playerFolder)
{
}

QString FlashSupport::webEngineProcess()
{
    const QString fromEnvironment = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("QtWebEngineProcess.exe");
#else
    const QString name = QStringLiteral("QtWebEngineProcess");
#endif
    return firstExisting({QCoreApplication::applicationDirPath() + u'/' + name,
        QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + u'/' + name});
}

QString FlashSupport::missing() const
{
    if (!QFileInfo(m_plugin).isFile())
        return m_plugin;
    const QString helper = webEngineProcess();
    if (!QFileInfo(helper).isExecutable())
        return helper;
    const QDir folder(m_folder);
    for (const char *file : {"player.html", "ruffle.js"}) {
        if (!folder.exists(QLatin1String(file)))
            return folder.filePath(QLatin1String(file));
    }
    if (folder.entryList({QStringLiteral("*.wasm")}, QDir::Files).isEmpty())
        return folder.filePath(QStringLiteral("*.wasm"));
    return {};
}

bool FlashSupport::check() const
{
    return missing().isEmpty();
}

std::unique_ptr<FlashPlayer> FlashSupport::create(QWidget *parent, QString *reason) const
{
    if (const QString gone = missing(); !gone.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("missing: ") + gone;
        return nullptr;
    }
    // The library stays loaded for the rest of the run: the web engine it
    // brings cannot be unloaded safely.
    QLibrary library(m_plugin);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    auto create
        = reinterpret_cast<CreateFlashPlayerFunction>(library.resolve(PARLIX_FLASH_PLAYER_ENTRY));
    if (!create) {
        if (reason)
            *reason = library.errorString();
        return nullptr;
    }
    return std::unique_ptr<FlashPlayer>(create(m_folder, parent));
}
