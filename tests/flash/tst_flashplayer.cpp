// The Flash window with the real player (Ruffle in the web engine) and
// movies made here: frames followed and set, a paused movie held where the
// track bar puts it, movies that reach out refused, damaged files warned of.

#include "avm1.h"
#include "flashfrm.h"
#include "flashplayer.h"
#include "flashsupport.h"
#include "scripteddialogs.h"
#include "swfwriter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QNetworkDatagram>
#include <QSlider>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

namespace {

const QString PluginFile = QStringLiteral(PARLIX_BIN_DIR "/libparlix_flashplayer.so");
const QString PlayerFolder = QStringLiteral(PARLIX_BIN_DIR "/ruffle");

struct Harness {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QList<QUrl> refused;
    int firstFrames = 0;
    std::unique_ptr<TFlashFrm> window;

    Harness()
    {
        QDir(dir.path()).mkdir(QStringLiteral("FlashGame"));
        TFlashFrm::Services s;
        s.dialogs = &dialogs;
        s.programFolder = dir.path();
        s.playerAvailable = [](QString *why) {
            FlashSupport support(PluginFile, PlayerFolder);
            *why = support.missing();
            return support.check();
        };
        s.createPlayer = [this](QWidget *parent, QString *why) {
            std::unique_ptr<FlashPlayer> p
                = FlashSupport(PluginFile, PlayerFolder).create(parent, why);
            if (p) {
                p->onRequestRefused = [this](const QUrl &url) { refused << url; };
                p->onFirstFrame = [this] { ++firstFrames; };
            }
            return p;
        };
        window = std::make_unique<TFlashFrm>(s);
    }

    void add(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir.filePath(QStringLiteral("FlashGame/") + name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void pick(const QString &name)
    {
        const QList<QListWidgetItem *> items
            = window->fileList()->findItems(name, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        window->fileList()->setCurrentItem(items.first());
        window->FileListBox1Click();
    }
    QString status() const { return window->statusPanel()->text(); }
};

QByteArray frames(int count, const QByteArray &firstFrameActions = {}, int version = 8)
{
    SwfWriter w(version, QSize(240, 180), 30);
    if (version >= 8)
        w.fileAttributes(false);
    w.backgroundColour(QColor(0, 80, 160));
    if (!firstFrameActions.isEmpty())
        w.doAction(firstFrameActions);
    for (int i = 0; i < count; ++i)
        w.showFrame();
    return w.finish(Swf::Compression::Zlib);
}

} // namespace

class TestFlashPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void followsAndSetsFrames();
    void reachingOutIsRefused();
    void pageScriptCannotReachOut();
    void gameReadsItsOwnFilesOnly();
    void actionScript3AndDamagedMovies();
    void demoGameAnswersAClick();
};

void TestFlashPlayer::initTestCase()
{
    const FlashSupport support(PluginFile, PlayerFolder);
    QVERIFY2(support.check(), qPrintable(support.missing()));
}

void TestFlashPlayer::followsAndSetsFrames()
{
    Harness h;
    h.add(QStringLiteral("游戏 #1.swf"), frames(120));
    h.window->show();
    QElapsedTimer clock;
    clock.start();
    h.pick(QStringLiteral("游戏 #1.swf"));
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(h.window->FTotalFrames, 120);
    QCOMPARE(h.status(), TFlashFrm::playingStatus(120));
    QTRY_VERIFY_WITH_TIMEOUT(h.firstFrames == 1, 20000);
    qInfo("first frame after %lld ms", clock.elapsed());

    // Playing: the frame moves on and the status follows it.
    QTRY_VERIFY_WITH_TIMEOUT(h.window->FCurrentFrame > 5, 10000);
    FlashPlayer *player = h.window->player();
    // The window's 100 ms tick, run here at once so that a busy machine
    // cannot make the check late.
    h.window->Timer1Timer();
    QCOMPARE(h.status(), TFlashFrm::frameStatus(player->frameNum(), 120));
    QTRY_VERIFY_WITH_TIMEOUT(player->playing(), 10000);

    // The bar does nothing while the movie plays: the movie goes on past
    // where it was (a seek would have held it at frame 100).
    const int before = player->frameNum();
    h.window->trackBar()->setValue(100);
    QTRY_VERIFY_WITH_TIMEOUT(player->frameNum() != before && player->frameNum() != 100, 10000);

    // Paused (as from the player's menu), the bar shows frame 50, and the
    // movie stays there.
    player->stop();
    QTRY_VERIFY_WITH_TIMEOUT(!player->playing(), 10000);
    h.window->trackBar()->setValue(50);
    QTRY_COMPARE_WITH_TIMEOUT(h.window->FCurrentFrame, 50, 10000);
    h.window->Timer1Timer();
    QCOMPARE(h.status(), TFlashFrm::frameStatus(50, 120));
    QTest::qWait(500);
    QCOMPARE(player->frameNum(), 50);
    QVERIFY(!player->playing());

    // Played again, it moves on from there.
    player->play();
    QTRY_VERIFY_WITH_TIMEOUT(h.window->FCurrentFrame > 55, 10000);

    // Closed: the player and its page go; reopened, all starts afresh.
    h.window->close();
    QVERIFY(!h.window->player());
    QCOMPARE(h.status(), TFlashFrm::closedStatus());
    h.window->show();
    h.pick(QStringLiteral("游戏 #1.swf"));
    QTRY_VERIFY_WITH_TIMEOUT(h.firstFrames == 2, 20000);
    h.window->close();
}

// A movie that loads another from the network, a file from elsewhere on
// the disk, and variables from the network: a server listening here gets
// no connection, and the file is refused.
void TestFlashPlayer::reachingOutIsRefused()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket *s = server.nextPendingConnection()) {
            ++connections;
            s->deleteLater();
        }
    });
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());

    Harness h;
    Avm1 a;
    a.getUrl(base + QStringLiteral("secret.swf"), QStringLiteral("_level1"));
    a.getUrl(QStringLiteral("file:///etc/hostname"), QStringLiteral("_level2"));
    a.push(base + QStringLiteral("data.txt")).push(QStringLiteral("_level0"));
    a.rawGetUrl2(0x80);
    h.add(QStringLiteral("reach.swf"), frames(30, a.finished()));
    h.window->show();
    h.pick(QStringLiteral("reach.swf"));
    QTRY_VERIFY_WITH_TIMEOUT(h.firstFrames == 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(
        h.refused.contains(QUrl(QStringLiteral("file:///etc/hostname"))), 10000);
    // The movie goes round its 30 frames, asking again each time.
    QTRY_VERIFY_WITH_TIMEOUT(h.window->FCurrentFrame > 25, 10000);
    QTest::qWait(1500);
    QCOMPARE(connections, 0);
    h.window->close();
}

// A movie can run script in the player page (through ExternalInterface,
// which the player needs on): that script tries every way out of the page.
// Listeners on the loopback address, for TCP and for UDP, must hear nothing.
// At the end the script moves the movie to frame 77, which shows it ran.
void TestFlashPlayer::pageScriptCannotReachOut()
{
    QTcpServer tcp;
    QVERIFY(tcp.listen(QHostAddress::LocalHost));
    QUdpSocket udp;
    QVERIFY(udp.bind(QHostAddress::LocalHost, 0));
    QStringList heard;
    connect(&tcp, &QTcpServer::newConnection, &tcp, [&] {
        while (QTcpSocket *s = tcp.nextPendingConnection()) {
            QTcpSocket *socket = s;
            heard << QStringLiteral("tcp");
            connect(socket, &QTcpSocket::readyRead, socket,
                [socket, &heard] { heard << QString::fromLatin1(socket->readAll().left(60)); });
        }
    });
    connect(&udp, &QUdpSocket::readyRead, &udp, [&] {
        while (udp.hasPendingDatagrams()) {
            udp.receiveDatagram();
            heard << QStringLiteral("udp");
        }
    });
    const QString port = QString::number(tcp.serverPort());
    const QString udpPort = QString::number(udp.localPort());
    QString js = QStringLiteral(R"JS(
        (function () {
            var b = "http://127.0.0.1:PORT/";
            var tries = [
                function () { fetch(b + "fetch"); },
                function () { var x = new XMLHttpRequest(); x.open("GET", b + "xhr"); x.send(); },
                function () { new WebSocket("ws://127.0.0.1:PORT/ws"); },
                function () { new EventSource(b + "events"); },
                function () { navigator.sendBeacon(b + "beacon", "x"); },
                function () { var i = new Image(); i.src = b + "image"; },
                function () { var l = document.createElement("link"); l.rel = "stylesheet"; l.href = b + "css"; document.head.appendChild(l); },
                function () {
                    var pc = new RTCPeerConnection({ iceServers: [
                        { urls: "stun:127.0.0.1:UDPPORT" },
                        { urls: "turn:127.0.0.1:PORT?transport=tcp", username: "u", credential: "p" } ] });
                    pc.createDataChannel("d");
                    pc.createOffer().then(function (o) { return pc.setLocalDescription(o); });
                },
                function () {
                    var f = document.createElement("iframe");
                    document.body.appendChild(f);
                    var P = f.contentWindow.RTCPeerConnection;
                    var pc = new P({ iceServers: [{ urls: "stun:127.0.0.1:UDPPORT" }] });
                    pc.createDataChannel("d");
                    pc.createOffer().then(function (o) { return pc.setLocalDescription(o); });
                },
                function () {
                    var code = "fetch('" + b + "worker'); new WebSocket('ws://127.0.0.1:PORT/worker');";
                    new Worker(URL.createObjectURL(new Blob([code], { type: "text/javascript" })));
                },
                function () { var f = document.createElement("form"); f.method = "post"; f.action = b + "form"; document.body.appendChild(f); f.submit(); },
                function () { window.open(b + "window"); },
                function () { setTimeout(function () { location.href = b + "navigate"; }, 300); }
            ];
            tries.forEach(function (t) { try { t(); } catch (e) {} });
            setTimeout(function () { document.getElementById("stage").firstChild.parlixGoto(77); }, 800);
        })();
    )JS");
    js.replace(QStringLiteral("UDPPORT"), udpPort).replace(QStringLiteral("PORT"), port);

    Harness h;
    Avm1 a;
    a.push(js).push(QStringLiteral("eval")).push(2);
    a.push(QStringLiteral("__parlixExternal")).getVariable();
    a.push(QStringLiteral("call")).callMethod().pop();
    a.stop(); // once is enough: the movie waits on frame 1
    h.add(QStringLiteral("hostile.swf"), frames(120, a.finished()));
    h.window->show();
    h.pick(QStringLiteral("hostile.swf"));
    QTRY_VERIFY_WITH_TIMEOUT(h.firstFrames == 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(h.window->FCurrentFrame, 77, 10000); // the script ran
    QTest::qWait(3000); // ICE gathering and retries take their time
    QVERIFY2(heard.isEmpty(), qPrintable(heard.join(QStringLiteral(" | "))));
    h.window->close();
}

// Mended: a game made of several files did not run, its companion files
// refused without a word. Files inside the game's own folder may be read;
// one outside it is refused, and the status line says so.
void TestFlashPlayer::gameReadsItsOwnFilesOnly()
{
    Harness h;
    QDir(h.dir.path()).mkpath(QStringLiteral("FlashGame/levels"));
    QFile outside(h.dir.filePath(QStringLiteral("secret.txt")));
    QVERIFY(outside.open(QIODevice::WriteOnly));
    outside.write("frame=9");
    outside.close();
    // The second part, in a folder of the game's: it moves the first part
    // to frame 42, which shows it was loaded and ran.
    Avm1 part;
    part.push(42).push(1).push(QStringLiteral("_level0")).getVariable();
    part.push(QStringLiteral("gotoAndStop")).callMethod().pop();
    h.add(QStringLiteral("levels/part2.swf"), frames(5, part.finished()));
    Avm1 main;
    main.getUrl(QStringLiteral("levels/part2.swf"), QStringLiteral("_level1"));
    main.push(QStringLiteral("../secret.txt")).push(QStringLiteral("_level0"));
    main.rawGetUrl2(0x80); // load variables from outside the folder
    main.stop();
    h.add(QStringLiteral("main.swf"), frames(120, main.finished()));
    h.window->show();
    h.pick(QStringLiteral("main.swf"));
    QTRY_VERIFY_WITH_TIMEOUT(h.firstFrames == 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(h.window->FCurrentFrame, 42, 10000);
    const QUrl secret
        = QUrl::fromLocalFile(QDir(h.dir.path()).canonicalPath() + QStringLiteral("/secret.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(h.refused.contains(secret), 10000);
    for (const QUrl &url : std::as_const(h.refused))
        QVERIFY2(!url.toString().contains(QStringLiteral("part2")), qPrintable(url.toString()));
    QTRY_VERIFY_WITH_TIMEOUT(h.status().contains(QStringLiteral("“secret.txt”不允许使用")), 10000);
    QVERIFY(h.status().startsWith(TFlashFrm::frameStatus(42, 120)));
    h.window->close();
}

void TestFlashPlayer::actionScript3AndDamagedMovies()
{
    Harness h;
    SwfWriter as3(10, QSize(200, 100), 24);
    as3.fileAttributes(true);
    for (int i = 0; i < 12; ++i)
        as3.showFrame();
    h.add(QStringLiteral("three.swf"), as3.finish(Swf::Compression::Zlib));
    h.add(QStringLiteral("broken.swf"), QByteArray("CWS\x0a\x00\x10\x00\x00garbage-not-zlib", 24));
    h.add(QStringLiteral("text.swf"), QByteArray("just some words\n"));
    h.window->show();

    h.pick(QStringLiteral("three.swf"));
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(h.window->FTotalFrames, 12);
    QVERIFY(!h.window->player()->canSeek());
    QVERIFY(!h.window->trackBar()->isEnabled());
    QCOMPARE(h.status(), TFlashFrm::unseekableStatus(12));
    QTRY_VERIFY_WITH_TIMEOUT(h.firstFrames == 1, 20000);

    for (const QString &bad : {QStringLiteral("broken.swf"), QStringLiteral("text.swf")}) {
        h.dialogs.messages.clear();
        h.pick(bad);
        QCOMPARE(h.dialogs.messages.size(), 1);
        QCOMPARE(
            h.dialogs.messages[0].text.trimmed(), QStringLiteral("不能打开您所选择的文件格式！"));
    }
    h.window->close();
}

// 数星星: held at frame 1 the star sits in the middle of the stage; a click
// on it scores and sends the movie on from another frame. (A click beside
// the star leaves the movie held.)
void TestFlashPlayer::demoGameAnswersAClick()
{
    Harness h;
    QFile game(QStringLiteral(PARLIX_BIN_DIR "/FlashGame/数星星.swf"));
    QVERIFY(game.open(QIODevice::ReadOnly));
    h.add(QStringLiteral("数星星.swf"), game.readAll());
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
    h.pick(QStringLiteral("数星星.swf"));
    QCOMPARE(h.window->FTotalFrames, 48);
    QTRY_VERIFY_WITH_TIMEOUT(h.firstFrames == 1, 20000);
    FlashPlayer *player = h.window->player();
    QVERIFY(player->canSeek());
    player->stop();
    QTRY_VERIFY_WITH_TIMEOUT(!player->playing(), 10000);
    h.window->trackBar()->setValue(1);
    QTRY_COMPARE_WITH_TIMEOUT(h.window->FCurrentFrame, 1, 10000);
    QTest::qWait(300);

    // The stage (480 × 400) is scaled whole into the view and centred; at
    // frame 1 the star is at (240, 220).
    QWidget *view = player->widget();
    const double scale = qMin(view->width() / 480.0, view->height() / 400.0);
    const QPoint star(qRound(view->width() / 2.0), qRound(view->height() / 2.0 + 20 * scale));
    QWidget *target = view;
    for (QWidget *child : view->findChildren<QWidget *>())
        if (child->isVisible() && child->geometry() == view->rect())
            target = child;
    auto click = [target](const QPoint &at) {
        QTest::mouseMove(target, at);
        QTest::qWait(100);
        QTest::mousePress(target, Qt::LeftButton, {}, at);
        QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    };
    click(QPoint(5, 5));
    QTest::qWait(700);
    QVERIFY(!player->playing());
    QCOMPARE(h.window->FCurrentFrame, 1);

    click(star);
    QTRY_VERIFY_WITH_TIMEOUT(player->playing(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(h.window->FCurrentFrame != 1, 10000);
    h.window->close();
}

int main(int argc, char *argv[])
{
    // As the program does: no shared contexts asked for at start, which
    // would cost every start-up a GL context for a window seldom opened.
    QApplication app(argc, argv);
    TestFlashPlayer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_flashplayer.moc"
