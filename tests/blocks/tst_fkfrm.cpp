// The game window: its layout, the keys as the player presses them, and the
// board and preview as they are drawn, pixel by pixel.

#include "blocksgame.h"
#include "custobj.h"
#include "diamonds.h"
#include "fkfrm.h"
#include "randomsource.h"
#include "scripteddialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// The face colour of each cell image: what the middle of a drawn cell shows.
const QColor Faces[8] = {
    QColor(0, 0, 0),
    QColor(0, 128, 0),
    QColor(160, 0, 255),
    QColor(255, 0, 0),
    QColor(0, 96, 64),
    QColor(0, 64, 128),
    QColor(255, 128, 0),
    QColor(160, 160, 0),
};

QColor cellMiddle(const QImage &image, int x, int y)
{
    return QColor(image.pixel(17 * x + 8, 17 * y + 8));
}

struct Harness {
    ScriptedDialogs dialogs;
    RandomSource random {7};
    TFKFrm window {dialogs, random};

    Harness()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    BlocksGame &game() { return window.game(); }
    QPushButton *button(const char *name) { return window.findChild<QPushButton *>(name); }
    QImage preview() { return window.findChild<QWidget *>("ScrNext")->grab().toImage(); }
    bool previewBlank()
    {
        const QImage img = preview();
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                if (QColor(img.pixel(x, y)) != QColor(Qt::black))
                    return false;
            }
        }
        return true;
    }
};

} // namespace

class TestFKFrm : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndLook();
    void keysDoNothingWhileIdleOrPaused();
    void playingByKeys();
    void boardIsDrawnFromTheGrids();
    void landedCellIsDrawnOverThePiece();
    void previewShowsTheNextPieceOnlyWhileRunning();
    void timerRunsAtTheGamesPace();
    void closeBoxPausesExitResets();
    void buttonsAreReachedByFunctionKeys();
};

void TestFKFrm::layoutAndLook()
{
    Harness h;
    QCOMPARE(h.window.windowTitle(), QStringLiteral("俄罗斯方块"));
    QCOMPARE(h.window.size(), QSize(347, 349));
    QVERIFY(h.window.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(h.window.findChild<QWidget *>("Panel1")->geometry(), QRect(8, 4, 174, 342));
    QCOMPARE(h.window.findChild<QWidget *>("PaintBox1")->geometry(), QRect(1, 1, 172, 340));
    QCOMPARE(h.window.findChild<QWidget *>("Panel2")->geometry(), QRect(190, 4, 73, 56));
    QCOMPARE(h.window.findChild<QWidget *>("ScrNext")->geometry(), QRect(1, 1, 71, 54));
    const struct {
        const char *name;
        QRect geometry;
        const char *text;
    } buttons[]
        = {{"mnuStart", {271, 4, 68, 32}, "开 始"}, {"mnuPause", {271, 44, 68, 32}, "暂 停"},
            {"mnuCancel", {271, 84, 68, 32}, "取 消"}, {"mnuExit", {271, 124, 68, 32}, "退 出"}};
    for (const auto &b : buttons) {
        QPushButton *button = h.button(b.name);
        QCOMPARE(button->geometry(), b.geometry);
        QCOMPARE(button->text(), QString::fromUtf8(b.text));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }
    QVERIFY(h.button("mnuStart")->isEnabled());
    QVERIFY(!h.button("mnuPause")->isEnabled());
    QVERIFY(!h.button("mnuCancel")->isEnabled());
    for (const char *name : {"stScore", "stLines", "stSpeed"})
        QCOMPARE(h.window.findChild<QLabel *>(name)->text(), QStringLiteral("0"));
    QCOMPARE(h.window.findChild<QLabel *>("stDuring")->text(), QStringLiteral("0:00:00"));
    // The counters' text fits their boxes.
    auto *during = h.window.findChild<QLabel *>("stDuring");
    during->setText(QStringLiteral("23:59:59"));
    QVERIFY(
        during->fontMetrics().horizontalAdvance(during->text()) <= during->contentsRect().width());
    QCOMPARE(TFKFrm::virtualKey(Qt::Key_Escape), 27);
    QCOMPARE(TFKFrm::virtualKey(Qt::Key_Space), 32);
    QCOMPARE(TFKFrm::virtualKey(Qt::Key_Left), 37);
    QCOMPARE(TFKFrm::virtualKey(Qt::Key_Up), 38);
    QCOMPARE(TFKFrm::virtualKey(Qt::Key_Right), 39);
    QCOMPARE(TFKFrm::virtualKey(Qt::Key_Down), 40);
    QCOMPARE(TFKFrm::virtualKey(Qt::Key_A), 0);
}

void TestFKFrm::keysDoNothingWhileIdleOrPaused()
{
    Harness h;
    const QImage before = h.window.boardImage();
    for (int key :
        {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Space, Qt::Key_Escape})
        QTest::keyClick(&h.window, Qt::Key(key));
    QVERIFY(h.window.isVisible()); // Escape does not close the window
    QCOMPARE(h.window.boardImage(), before);
    QVERIFY(h.dialogs.messages.isEmpty());

    h.button("mnuStart")->click();
    h.button("mnuPause")->click();
    QCOMPARE(h.window.findChild<QLabel *>("lblStatus")->text(), QStringLiteral("暂 停"));
    const Grid fall = h.game().field().FallLayer;
    QTest::keyClick(&h.window, Qt::Key_Space);
    QTest::keyClick(&h.window, Qt::Key_Escape);
    QCOMPARE(h.game().field().FallLayer, fall);
    QVERIFY(h.dialogs.messages.isEmpty());
}

void TestFKFrm::playingByKeys()
{
    Harness h;
    h.button("mnuStart")->click();
    h.game().replacePiece(1); // the square at (4, 0)
    QTest::keyClick(&h.window, Qt::Key_Left);
    QCOMPARE(h.game().curPiece()->Diamonds->Col, 3);
    QTest::keyClick(&h.window, Qt::Key_Down);
    QCOMPARE(h.game().curPiece()->Diamonds->Row, 1);
    QTest::keyClick(&h.window, Qt::Key_Space); // dropped and fixed
    QCOMPARE(h.game().field().Board[3][19], uint8_t(2));
    QCOMPARE(cellMiddle(h.window.boardImage(), 3, 19), Faces[2]);
    // Escape asks; No leaves the game running.
    h.dialogs.answers << Dialogs::Answer::No;
    QTest::keyClick(&h.window, Qt::Key_Escape);
    QCOMPARE(h.dialogs.messages.last().text, QStringLiteral("你确定取消当前的游戏吗?"));
    QCOMPARE(h.dialogs.messages.last().caption, QStringLiteral("询问"));
    QCOMPARE(h.game().state(), BlocksGame::State::Running);
    QVERIFY(h.window.isVisible());
}

void TestFKFrm::boardIsDrawnFromTheGrids()
{
    Harness h;
    RandomSource fill(3);
    Grid &board = h.game().field().Board;
    for (int x = 0; x < BoardColumns; ++x) {
        for (int y = 0; y < BoardRows; ++y)
            board[x][y] = uint8_t(fill.below(8));
    }
    clearGrid(h.game().field().FallLayer);
    h.window.ScrDraw();
    const QImage image = h.window.boardImage();
    for (int x = 0; x < BoardColumns; ++x) {
        for (int y = 0; y < BoardRows; ++y)
            QCOMPARE(cellMiddle(image, x, y), Faces[board[x][y]]);
    }
    // What the view shows is the composed image, in one piece; its two
    // rightmost columns stay black.
    const QImage shown = h.window.findChild<QWidget *>("PaintBox1")->grab().toImage();
    QCOMPARE(shown.copy(0, 0, 170, 340).convertToFormat(QImage::Format_RGB32),
        image.copy(0, 0, 170, 340));
    for (int y = 0; y < 340; y += 17) {
        QCOMPARE(QColor(shown.pixel(170, y)), QColor(Qt::black));
        QCOMPARE(QColor(shown.pixel(171, y)), QColor(Qt::black));
    }
}

void TestFKFrm::landedCellIsDrawnOverThePiece()
{
    Harness h;
    Playfield &f = h.game().field();
    clearGrid(f.Board);
    clearGrid(f.FallLayer);
    f.FallLayer[2][3] = 1;
    f.Board[2][3] = 3;
    f.FallLayer[6][10] = 5;
    h.window.ScrDraw();
    QCOMPARE(cellMiddle(h.window.boardImage(), 2, 3), Faces[3]);
    QCOMPARE(cellMiddle(h.window.boardImage(), 6, 10), Faces[5]);
    // A drawn cell shows the image's top and left frame lines only.
    QCOMPARE(QColor(h.window.boardImage().pixel(17 * 6, 17 * 10 + 8)), QColor(Qt::black));
    QVERIFY(QColor(h.window.boardImage().pixel(17 * 6 + 16, 17 * 10 + 8)) != QColor(Qt::black));
}

void TestFKFrm::previewShowsTheNextPieceOnlyWhileRunning()
{
    Harness h;
    QVERIFY(h.previewBlank());
    h.button("mnuStart")->click();
    QVERIFY(!h.previewBlank());
    // The T (kind index 2) sits with its stem up: cells (2,1) (1,2) (2,2) (3,2)
    // from (10, 10).
    h.game().setNextKind(2);
    h.window.NextDraw();
    const QImage img = h.preview();
    const auto middle = [&](int i, int j) {
        return QColor(img.pixel(10 + 17 * (i - 1) + 8, 10 + 17 * (j - 1) + 8));
    };
    QCOMPARE(middle(2, 1), Faces[3]);
    QCOMPARE(middle(1, 2), Faces[3]);
    QCOMPARE(middle(3, 2), Faces[3]);
    QCOMPARE(middle(1, 1), QColor(Qt::black));
    // Paused, any repaint blanks it.
    h.button("mnuPause")->click();
    QVERIFY(h.previewBlank());
}

void TestFKFrm::timerRunsAtTheGamesPace()
{
    Harness h;
    QVERIFY(!h.window.timer().isActive());
    h.button("mnuStart")->click();
    QVERIFY(h.window.timer().isActive());
    QCOMPARE(h.window.timer().interval(), 1000);
    h.button("mnuPause")->click();
    QVERIFY(!h.window.timer().isActive());
    h.button("mnuPause")->click();
    QVERIFY(h.window.timer().isActive());
    h.dialogs.answers << Dialogs::Answer::Yes;
    h.button("mnuCancel")->click();
    QVERIFY(!h.window.timer().isActive());
    QVERIFY(h.button("mnuStart")->isEnabled());
}

void TestFKFrm::closeBoxPausesExitResets()
{
    Harness h;
    h.button("mnuStart")->click();
    h.window.close(); // the title bar's close box
    QVERIFY(!h.window.isVisible());
    QCOMPARE(h.game().state(), BlocksGame::State::Paused);
    QVERIFY(!h.window.timer().isActive());
    QVERIFY(h.dialogs.messages.isEmpty());

    h.window.show();
    h.button("mnuPause")->click();
    QCOMPARE(h.game().state(), BlocksGame::State::Running);
    h.dialogs.answers << Dialogs::Answer::Yes;
    h.button("mnuExit")->click();
    QCOMPARE(h.dialogs.messages.last().text, QStringLiteral("游戏中，你确定退出吗?"));
    QVERIFY(!h.window.isVisible());
    QCOMPARE(h.game().state(), BlocksGame::State::Idle);
}

void TestFKFrm::buttonsAreReachedByFunctionKeys()
{
    Harness h;
    QTest::keyClick(&h.window, Qt::Key_F2);
    QCOMPARE(h.game().state(), BlocksGame::State::Running);
    QTest::keyClick(&h.window, Qt::Key_F3);
    QCOMPARE(h.game().state(), BlocksGame::State::Paused);
    QTest::keyClick(&h.window, Qt::Key_F2); // Start is disabled meanwhile
    QCOMPARE(h.game().state(), BlocksGame::State::Paused);
    for (const char *name : {"mnuStart", "mnuPause", "mnuCancel", "mnuExit"})
        QVERIFY(!h.button(name)->accessibleName().contains(u' '));
}

QTEST_MAIN(TestFKFrm)
#include "tst_fkfrm.moc"
