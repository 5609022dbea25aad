// The Flash window's rules, with a scripted player: the list, the status
// texts, the timer, the track bar applied only while paused, closing and
// reopening, and what happens without a player.

#include "flashfrm.h"
#include "flashplayer.h"
#include "scripteddialogs.h"
#include "sizesplitter.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct FakePlayer final : FlashPlayer {
    QWidget view;
    QStringList calls;
    bool openOk = true;
    int total = 120;
    int frame = 0;
    bool isPlaying = false;
    bool seekable = true;
    bool *alive = nullptr;

    ~FakePlayer() override
    {
        if (alive)
            *alive = false;
    }
    QWidget *widget() override { return &view; }
    bool openMovie(const QString &path, QString *) override
    {
        calls << QStringLiteral("open ") + QFileInfo(path).fileName();
        return openOk;
    }
    int totalFrames() const override { return total; }
    int frameNum() const override { return frame; }
    void setFrameNum(int f) override
    {
        calls << QStringLiteral("goto %1").arg(f);
        frame = f;
    }
    bool playing() const override { return isPlaying; }
    bool canSeek() const override { return seekable; }
    void play() override
    {
        calls << QStringLiteral("play");
        isPlaying = true;
    }
    void stop() override
    {
        calls << QStringLiteral("stop");
        isPlaying = false;
    }
};

struct Harness {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    bool available = true;
    FakePlayer *player = nullptr; // the last one made
    bool playerAlive = false;
    int playersMade = 0;
    std::unique_ptr<TFlashFrm> window;

    explicit Harness(bool withFolder = true)
    {
        if (withFolder) {
            QDir(dir.path()).mkdir(QStringLiteral("FlashGame"));
            for (const char *name :
                {"b-game.swf", "A game #1.swf", "CAPS.SWF", "notes.txt", "c.swf.bak"}) {
                QFile f(dir.filePath(QStringLiteral("FlashGame/") + QString::fromUtf8(name)));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("FWS");
            }
        }
        TFlashFrm::Services s;
        s.dialogs = &dialogs;
        s.programFolder = dir.path();
        s.playerAvailable = [this](QString *) { return available; };
        s.createPlayer = [this](QWidget *, QString *) -> std::unique_ptr<FlashPlayer> {
            auto p = std::make_unique<FakePlayer>();
            player = p.get();
            playerAlive = true;
            p->alive = &playerAlive;
            ++playersMade;
            return p;
        };
        window = std::make_unique<TFlashFrm>(s);
    }

    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < window->fileList()->count(); ++i)
            names << window->fileList()->item(i)->text();
        return names;
    }
    void pick(const QString &name)
    {
        const QList<QListWidgetItem *> items
            = window->fileList()->findItems(name, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        const QRect r = window->fileList()->visualItemRect(items.first());
        QTest::mouseClick(window->fileList()->viewport(), Qt::LeftButton, {}, r.center());
    }
    QString status() const { return window->statusPanel()->text(); }
};

} // namespace

class TestFlashFrm : public QObject
{
    Q_OBJECT

private slots:
    void creation();
    void showingListsTheMovies();
    void openingAMovie();
    void timerFollowsTheFrame();
    void trackBarAppliesOnlyWhilePaused();
    void closeAndReopenResets();
    void sidePanelBackToItsWidth();
    void clickWithoutAFile();
    void fileThePlayerRefuses();
    void movieWithoutFrameAccess();
    void missingFolderGivesAnEmptyList();
    void noPlayer();
};

void TestFlashFrm::creation()
{
    Harness h;
    QCOMPARE(h.window->windowTitle(), QStringLiteral(" FLASH 小游戏"));
    QCOMPARE(h.window->size(), QSize(680, 474));
    QVERIFY(h.window->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(h.status(), QStringLiteral(" 状态：没有文件播放                          共有0帧"));
    QVERIFY(!h.window->trackBar()->isEnabled());
    QVERIFY(!h.window->timer()->isActive());
    QCOMPARE(h.window->timer()->interval(), 100);
    QCOMPARE(h.window->trackBar()->toolTip(), QStringLiteral("暂停播放时可滑动显示后面的帧"));
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(h.playersMade, 0); // nothing loaded until a movie is opened
    QCOMPARE(h.window->findChild<QPushButton *>("btn6")->text(), QStringLiteral("退出"));
}

void TestFlashFrm::showingListsTheMovies()
{
    Harness h;
    h.window->show();
    QCOMPARE(h.listed(),
        (QStringList {QStringLiteral("A game #1.swf"), QStringLiteral("b-game.swf"),
            QStringLiteral("CAPS.SWF")}));
    QVERIFY(!h.window->fileList()->currentItem());

    // A movie added while the window was away shows at the next showing.
    h.window->close();
    QFile f(h.dir.filePath(QStringLiteral("FlashGame/新游戏.swf")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    h.window->show();
    QVERIFY(h.listed().contains(QStringLiteral("新游戏.swf")));
}

void TestFlashFrm::openingAMovie()
{
    Harness h;
    h.window->show();
    h.pick(QStringLiteral("A game #1.swf"));
    QVERIFY(h.player);
    QCOMPARE(h.player->calls,
        (QStringList {QStringLiteral("open A game #1.swf"), QStringLiteral("play")}));
    QCOMPARE(h.window->FTotalFrames, 120);
    QCOMPARE(h.status(), QStringLiteral(" 状态：正在播放...                           共有120帧"));
    QCOMPARE(h.window->FPlayingText, h.status());
    QCOMPARE(h.window->trackBar()->maximum(), 120);
    QVERIFY(h.window->trackBar()->isEnabled());
    QVERIFY(h.window->timer()->isActive());
    QVERIFY(h.dialogs.messages.isEmpty());

    // Another movie: the same player.
    h.pick(QStringLiteral("b-game.swf"));
    QCOMPARE(h.playersMade, 1);
    QCOMPARE(h.player->calls.mid(2),
        (QStringList {QStringLiteral("open b-game.swf"), QStringLiteral("play")}));
}

void TestFlashFrm::timerFollowsTheFrame()
{
    Harness h;
    h.window->show();
    h.pick(QStringLiteral("b-game.swf"));
    h.player->frame = 37;
    // The 100 ms timer's tick, run here at once: a busy machine cannot make
    // the test late.
    h.window->Timer1Timer();
    QCOMPARE(h.status(), QStringLiteral(" 状态：正在播放...                         37/120帧"));
    QCOMPARE(h.window->FCurrentFrame, 37);
    QCOMPARE(h.window->trackBar()->value(), 37);
    // While playing, the bar following the frame does not seek.
    QVERIFY(!h.player->calls.contains(QStringLiteral("goto 37")));

    // Paused: the text still says playing.
    h.player->isPlaying = false;
    h.player->frame = 38;
    h.window->Timer1Timer();
    QCOMPARE(h.window->FCurrentFrame, 38);
    QVERIFY(h.status().startsWith(QStringLiteral(" 状态：正在播放...")));
}

void TestFlashFrm::trackBarAppliesOnlyWhilePaused()
{
    Harness h;
    h.window->show();
    h.pick(QStringLiteral("b-game.swf"));
    h.window->timer()->stop();
    h.player->calls.clear();

    h.window->trackBar()->setValue(80);
    QVERIFY(h.player->calls.isEmpty());

    h.player->isPlaying = false;
    h.window->trackBar()->setValue(50);
    QCOMPARE(h.player->calls, QStringList {QStringLiteral("goto 50")});
    h.window->Timer1Timer();
    QCOMPARE(h.window->FCurrentFrame, 50);
    QVERIFY(h.status().endsWith(QStringLiteral("50/120帧")));

    // Past the end is clamped to the range.
    h.window->trackBar()->setValue(500);
    QCOMPARE(h.player->calls.last(), QStringLiteral("goto 120"));
    // The same position again changes nothing.
    const qsizetype before = h.player->calls.size();
    h.window->trackBar()->setValue(120);
    QCOMPARE(h.player->calls.size(), before);
}

void TestFlashFrm::closeAndReopenResets()
{
    Harness h;
    h.window->show();
    h.pick(QStringLiteral("b-game.swf"));
    h.player->frame = 60;
    h.window->Timer1Timer();
    FakePlayer *first = h.player;
    const QStringList callsBeforeClose = first->calls;

    h.window->findChild<QPushButton *>("btn6")->click();
    QVERIFY(!h.window->isVisible());
    QVERIFY(!h.playerAlive); // the movie is off and its player gone
    QCOMPARE(h.status(), QStringLiteral(" 状态：没有文件播放                         共有0帧"));
    QVERIFY(!h.window->trackBar()->isEnabled());
    QCOMPARE(h.window->trackBar()->value(), 0);
    QVERIFY(!h.window->timer()->isActive());
    QCOMPARE(h.window->FTotalFrames, 120); // only the texts forget it

    h.window->show();
    QCOMPARE(h.status(), TFlashFrm::closedStatus());
    QVERIFY(!h.window->trackBar()->isEnabled());
    QCOMPARE(h.listed().size(), 3);
    QVERIFY(h.window->fileList()->selectedItems().isEmpty());
    QCOMPARE(h.playersMade, 1);

    // The close box and Escape close the same way.
    h.pick(QStringLiteral("CAPS.SWF"));
    QCOMPARE(h.playersMade, 2);
    QTest::keyClick(h.window.get(), Qt::Key_Escape);
    QVERIFY(!h.window->isVisible());
    QVERIFY(!h.playerAlive);
    QCOMPARE(h.status(), TFlashFrm::closedStatus());
}

void TestFlashFrm::sidePanelBackToItsWidth()
{
    Harness h;
    h.window->show();
    QCOMPARE(h.window->sidePanel()->panelWidth(), 200);
    h.window->sidePanel()->setPanelWidth(90);
    h.window->close();
    h.window->show();
    QCOMPARE(h.window->sidePanel()->panelWidth(), 200);
    h.window->sidePanel()->setFolded(true);
    h.window->close();
    h.window->show();
    QCOMPARE(h.window->sidePanel()->panelWidth(), 200);
    // The panel is on the right of the player.
    QVERIFY(h.window->fileList()->mapTo(h.window.get(), QPoint()).x() > 400);
}

void TestFlashFrm::clickWithoutAFile()
{
    Harness h;
    h.window->show();
    // Below the last file, nothing chosen yet.
    QTest::mouseClick(h.window->fileList()->viewport(), Qt::LeftButton, {}, QPoint(20, 300));
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text, QStringLiteral("您好象还没有选择文件 ?"));
    QCOMPARE(h.dialogs.messages[0].caption, QStringLiteral("VEK OP"));
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Warning);
    QCOMPARE(h.playersMade, 0);
    QCOMPARE(h.status(), TFlashFrm::creationStatus(0));
}

void TestFlashFrm::fileThePlayerRefuses()
{
    Harness h;
    h.window->show();
    h.pick(QStringLiteral("b-game.swf"));
    h.player->openOk = false;
    h.player->calls.clear();
    h.pick(QStringLiteral("CAPS.SWF"));
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text.trimmed(), QStringLiteral("不能打开您所选择的文件格式！"));
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::Warning);
    QCOMPARE(h.player->calls, QStringList {QStringLiteral("open CAPS.SWF")});
    // What was reached before stays: the old count and texts.
    QCOMPARE(h.window->FTotalFrames, 120);
    QVERIFY(h.window->timer()->isActive());
}

void TestFlashFrm::movieWithoutFrameAccess()
{
    Harness h;
    h.window->show();
    h.pick(QStringLiteral("b-game.swf"));
    h.player->seekable = false;
    h.player->total = 5;
    h.pick(QStringLiteral("CAPS.SWF"));
    QCOMPARE(h.window->FTotalFrames, 5);
    QCOMPARE(h.window->trackBar()->maximum(), 5);
    QVERIFY(!h.window->trackBar()->isEnabled());
    QCOMPARE(h.status(),
        QStringLiteral(
            " 状态：正在播放...                           共有5帧（这个游戏不能按帧查看）"));
    h.window->Timer1Timer();
    QCOMPARE(h.status(), TFlashFrm::unseekableStatus(5));
}

void TestFlashFrm::missingFolderGivesAnEmptyList()
{
    Harness h(false);
    h.window->show();
    QCOMPARE(h.window->fileList()->count(), 0);
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(h.window->gameFolder(), h.dir.filePath(QStringLiteral("FlashGame")));
}

void TestFlashFrm::noPlayer()
{
    Harness h;
    h.available = false;
    // Made again with the player missing.
    TFlashFrm::Services s;
    s.dialogs = &h.dialogs;
    s.programFolder = h.dir.path();
    s.playerAvailable = [](QString *) { return false; };
    s.createPlayer = [&h](QWidget *, QString *) -> std::unique_ptr<FlashPlayer> {
        ++h.playersMade;
        return nullptr;
    };
    h.window = std::make_unique<TFlashFrm>(s);
    QCOMPARE(h.dialogs.messages.size(), 1);
    QCOMPARE(h.dialogs.messages[0].text,
        QStringLiteral("对不起，您的系统没有Flash组件支持，请在添加/删除程序中安装！"));
    QCOMPARE(h.dialogs.messages[0].icon, Dialogs::Icon::None);
    QCOMPARE(h.dialogs.messages[0].buttons, Dialogs::Buttons::Ok);

    // The window still lists the games; picking one says the same again.
    h.window->show();
    QCOMPARE(h.listed().size(), 3);
    h.pick(QStringLiteral("b-game.swf"));
    QCOMPARE(h.dialogs.messages.size(), 2);
    QCOMPARE(h.dialogs.messages[1].text, h.dialogs.messages[0].text);
    QCOMPARE(h.playersMade, 0);
    QVERIFY(!h.window->timer()->isActive());
    h.window->close();
    QCOMPARE(h.status(), TFlashFrm::closedStatus());
}

QTEST_MAIN(TestFlashFrm)
#include "tst_flashfrm.moc"
