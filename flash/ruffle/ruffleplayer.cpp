// The movie player on Ruffle (a Flash player in WebAssembly) in a web view.
// Built as a plugin: the program loads it, and with it the web engine, only
// when the Flash window opens a movie.

#include "flashplayer.h"
#include "swf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <QCoreApplication>
#include <QOpenGLContext>

#include <unistd.h>

#include <mutex>

// The player page's requests and console show with
// QT_LOGGING_RULES="parlix.flash.player.debug=true"; its errors always do.
Q_LOGGING_CATEGORY(lcPlayer, "parlix.flash.player", QtInfoMsg)

// Qt's global shared context, which the web engine expects to exist.
Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {

// Lets through the player's own files and the files of the game's own
// folder, and nothing else: no network, no other file, whatever the page or
// the movie asks for.
class RequestGuard : public QWebEngineUrlRequestInterceptor
{
public:
    RequestGuard(const QString &folder, std::function<void(const QUrl &)> refused)
        : m_folder(QDir(folder).canonicalPath())
        , m_refused(std::move(refused))
    {
    }

    // The folder of the movie now playing: its companion files (a second
    // movie, XML, sound) may be read from it and from the folders in it.
    void setGameFolder(const QString &folder)
    {
        const std::lock_guard lock(m_mutex);
        m_gameFolder = QDir(folder).canonicalPath();
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        qCDebug(lcPlayer) << "request" << (allowed(url) ? "allowed:" : "refused:") << url;
        if (allowed(url))
            return;
        info.block(true);
        QMetaObject::invokeMethod(
            this, [this, url] { m_refused(url); }, Qt::QueuedConnection);
    }

    bool allowed(const QUrl &url) const
    {
        const QString scheme = url.scheme();
        // Made by the page itself from what it already holds.
        if (scheme == u"data" || scheme == u"blob")
            return true;
        if (!url.isLocalFile() || url.hasQuery())
            return false;
        const QFileInfo file(url.toLocalFile());
        const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
        if (folder == m_folder) {
            static const QRegularExpression ownFiles(QStringLiteral(
                "^(player\\.(html|js|css)|ruffle\\.js|core\\.ruffle\\.[0-9a-f]+\\.js|"
                "[0-9a-f]+\\.wasm|font\\.ttf)$"));
            return ownFiles.match(file.fileName()).hasMatch();
        }
        // A game's file: inside its folder once links are followed.
        const QString real = file.canonicalFilePath();
        const std::lock_guard lock(m_mutex);
        return !m_gameFolder.isEmpty() && file.isFile()
            && real.startsWith(m_gameFolder + QLatin1Char('/'));
    }

private:
    QString m_folder;
    mutable std::mutex m_mutex;
    QString m_gameFolder;
    std::function<void(const QUrl &)> m_refused;
};

// The page: only ever the player page; no new windows, no navigating away.
class PlayerPage : public QWebEnginePage
{
public:
    PlayerPage(
        QWebEngineProfile *profile, const QUrl &home, std::function<void(const QUrl &)> refused)
        : QWebEnginePage(profile)
        , m_home(home)
        , m_refused(std::move(refused))
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        if (isMainFrame && url.adjusted(QUrl::RemoveFragment) == m_home)
            return true;
        m_refused(url);
        return false;
    }

    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }

    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
        int line, const QString &source) override
    {
        const QString text
            = QStringLiteral("player page: %1 (%2:%3)").arg(message, source).arg(line);
        if (level == ErrorMessageLevel)
            qCWarning(lcPlayer).noquote() << text;
        else
            qCDebug(lcPlayer).noquote() << text;
    }

private:
    QUrl m_home;
    std::function<void(const QUrl &)> m_refused;
};

class RufflePlayer final : public FlashPlayer
{
public:
    RufflePlayer(const QString &folder, QWidget *parent)
        : m_home(QUrl::fromLocalFile(QDir(folder).absoluteFilePath(QStringLiteral("player.html"))))
    {
        auto refused = [this](const QUrl &url) {
            if (onRequestRefused)
                onRequestRefused(url);
        };
        // Off the record: nothing of the movie's is kept on disk.
        m_profile = new QWebEngineProfile();
        m_guard = new RequestGuard(folder, refused);
        m_guard->setParent(m_profile);
        m_profile->setUrlRequestInterceptor(m_guard);
        m_page = new PlayerPage(m_profile, m_home, refused);
        // Before any script of the page: no peer connections, which no
        // request guard and no page policy can see or stop.
        QWebEngineScript noPeers;
        noPeers.setName(QStringLiteral("parlix-no-peers"));
        noPeers.setInjectionPoint(QWebEngineScript::DocumentCreation);
        noPeers.setWorldId(QWebEngineScript::MainWorld);
        noPeers.setRunsOnSubFrames(true);
        noPeers.setSourceCode(QStringLiteral(R"JS(
            (function () {
                for (const name of ["RTCPeerConnection", "webkitRTCPeerConnection", "RTCDataChannel",
                                    "RTCSessionDescription", "RTCIceCandidate", "RTCRtpSender",
                                    "RTCRtpReceiver", "RTCRtpTransceiver"]) {
                    try {
                        Object.defineProperty(window, name,
                            { value: undefined, writable: false, configurable: false });
                    } catch (e) {
                    }
                }
            })();
        )JS"));
        m_page->scripts().insert(noPeers);
        QWebEngineSettings *settings = m_page->settings();
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
        settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
        // Games have sound from the start, without a click first.
        settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        m_page->setBackgroundColor(Qt::black);

        m_view = new QWebEngineView(parent);
        m_view->setPage(m_page);
        m_view->setContextMenuPolicy(Qt::NoContextMenu);
        m_view->setAccessibleName(QStringLiteral("游戏画面"));
        QObject::connect(m_page, &QWebEnginePage::loadFinished, m_page, [this](bool ok) {
            // Only the page's own load counts: a navigation the movie asked
            // for and we refused ends "unsuccessfully" too, while the page
            // stays as it was.
            if (!ok || m_pageReady)
                return;
            m_pageReady = true;
            for (const QString &script : std::as_const(m_pending))
                m_page->runJavaScript(script);
            m_pending.clear();
        });
        m_view->load(m_home);

        m_poll.setInterval(40);
        QObject::connect(&m_poll, &QTimer::timeout, m_page, [this] { poll(); });
    }

    ~RufflePlayer() override
    {
        m_poll.stop();
        // The view, then its page, then the profile: the renderer process
        // goes with the page.
        delete m_view.data();
        delete m_page;
        delete m_profile;
    }

    QWidget *widget() override { return m_view; }

    bool openMovie(const QString &path, QString *reason) override
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (reason)
                *reason = file.errorString();
            return false;
        }
        std::optional<Swf::Movie> movie = Swf::read(file.readAll(), reason);
        if (!movie)
            return false;
        m_movie = std::move(*movie);
        const QString gameFolder = QFileInfo(path).canonicalPath();
        m_guard->setGameFolder(gameFolder);
        m_frame = 0;
        m_lastFrame = 0;
        m_holding = false;
        m_firstShown = false;
        m_sinceChange.start();

        const QByteArray bytes = Swf::playable(m_movie);
        m_movie.body.clear();
        // A movie opened before the page is ready replaces what was waiting.
        m_pending.clear();
        const QString base
            = QUrl::fromLocalFile(gameFolder + QLatin1Char('/')).toString(QUrl::FullyEncoded);
        run(QStringLiteral("parlixOpen('%1', '%2');")
                .arg(QString::fromLatin1(bytes.toBase64()), base));
        m_poll.start();
        return true;
    }

    int totalFrames() const override { return m_movie.frameCount; }
    int frameNum() const override { return m_frame; }

    void setFrameNum(int frame) override
    {
        if (!canSeek())
            return;
        frame = qBound(1, frame, qMax(1, m_movie.frameCount));
        run(QStringLiteral("parlixCall('parlixGoto', %1);").arg(frame));
        // Held at that frame: the next poll's answer is no sign of playing.
        m_frame = frame;
        m_lastFrame = frame;
        m_holding = true;
    }

    // The movie plays while its frame keeps moving; a frame unchanged for
    // longer than a couple of frame periods means paused or stopped (by the
    // user through the player's menu, by the movie, or by the program).
    bool playing() const override
    {
        if (!canSeek())
            return !m_holding;
        if (m_holding)
            return false;
        const double period = m_movie.frameRate > 0 ? 1000.0 / m_movie.frameRate : 100.0;
        return m_sinceChange.elapsed() < qMax<qint64>(300, qint64(2.5 * period));
    }

    bool canSeek() const override { return Swf::canControlFrames(m_movie); }

    void play() override
    {
        m_holding = false;
        m_sinceChange.restart();
        run(QStringLiteral("parlixCall('parlixPlay');"));
    }

    void stop() override
    {
        m_holding = true;
        run(QStringLiteral("parlixCall('parlixStop');"));
    }

private:
    // Runs a script on the page, or once it has loaded.
    void run(const QString &script)
    {
        if (m_pageReady)
            m_page->runJavaScript(script);
        else
            m_pending << script;
    }

    void poll()
    {
        if (!m_pageReady)
            return;
        m_page->runJavaScript(QStringLiteral("parlixState();"), [this](const QVariant &result) {
            const QVariantMap state = result.toMap();
            const int frame = state.value(QStringLiteral("frame")).toInt();
            if (frame >= 1) {
                if (frame != m_lastFrame) {
                    m_lastFrame = frame;
                    m_sinceChange.restart();
                    m_holding = false;
                }
                m_frame = frame;
            }
            const bool shown
                = canSeek() ? frame >= 1 : state.value(QStringLiteral("ready")).toBool();
            if (shown && !m_firstShown) {
                m_firstShown = true;
                if (onFirstFrame)
                    onFirstFrame();
            }
        });
    }

    QUrl m_home;
    QWebEngineProfile *m_profile = nullptr;
    RequestGuard *m_guard = nullptr;
    PlayerPage *m_page = nullptr;
    QPointer<QWebEngineView> m_view;
    QTimer m_poll;
    bool m_pageReady = false;
    QStringList m_pending;

    Swf::Movie m_movie;
    int m_frame = 0;
    int m_lastFrame = 0;
    bool m_holding = false;
    bool m_firstShown = false;
    QElapsedTimer m_sinceChange;
};

void prepareEngine()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // The player's own menu in Chinese; sound played in the program's own
    // process rather than a helper process that outlives the page.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--lang="))
        flags += " --lang=zh-CN";
    flags += " --disable-features=AudioServiceOutOfProcess";
    // WebRTC finds its way past the request guard: no UDP without a proxy,
    // and there is none (the page also has no peer connections at all).
    flags += " --force-webrtc-ip-handling-policy=disable_non_proxied_udp";
    // Chromium refuses to start its sandbox as root. Without a sandbox it
    // needs no zygote processes either, which would stay after the page.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIntValue("QTWEBENGINE_DISABLE_SANDBOX") == 1
        && !flags.contains("--no-zygote"))
        flags += " --no-zygote";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());

    // The web engine wants a shared context made at start-up; the program
    // does not ask for one then (it would cost every start a GL context for
    // a window seldom opened), so it is made here, before the engine's first
    // use. Where no GL can be had, the engine draws without it.
    if (!qt_gl_global_share_context()) {
        auto *shared = new QOpenGLContext(QCoreApplication::instance());
        shared->create();
        qt_gl_set_global_share_context(shared);
    }
}

} // namespace

extern "C" Q_DECL_EXPORT FlashPlayer *parlixCreateFlashPlayer(
    const QString &playerFolder, QWidget *parent)
{
    prepareEngine();
    return new RufflePlayer(playerFolder, parent);
}
