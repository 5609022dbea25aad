// The game's rules driven by ticks and commands, with a scripted view that
// answers questions, records what was drawn and lets ticks arrive while a
// question is open.

#include "blocksgame.h"
#include "custobj.h"
#include "diamonds.h"
#include "randomsource.h"
#include "stick.h"
#include "tletter.h"

#include <QTest>

#include <functional>

namespace {

struct ScriptedView final : BlocksGame::View {
    BlocksGame *game = nullptr;
    QStringList questions;
    QList<bool> answers;
    int ticksDuringQuestion = 0;
    int scrDraws = 0;
    int nextDraws = 0;
    int gameOvers = 0;
    int closes = 0;

    void scrDraw() override { ++scrDraws; }
    void nextDraw() override { ++nextDraws; }
    bool ask(const QString &q) override
    {
        questions << q;
        // The question runs its own message loop: the game's ticks go on.
        for (int i = 0; i < ticksDuringQuestion && game->timerEnabled(); ++i)
            game->Timer1Timer();
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void showGameOver() override { ++gameOvers; }
    void closeWindow() override { ++closes; }
    void stateChanged() override { }
};

struct Harness {
    ScriptedView view;
    RandomSource random {42};
    QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0));
    BlocksGame game {view, random, [this] { return now; }};

    Harness()
    {
        view.game = &game;
        game.setUp();
    }
    Grid &board() { return game.field().Board; }
    // Fills row r but for the columns given.
    void fillRow(int r, std::initializer_list<int> gaps = {})
    {
        for (int x = 0; x < BoardColumns; ++x)
            board()[x][r] = std::find(gaps.begin(), gaps.end(), x) == gaps.end() ? 7 : 0;
    }
    // An upright stick in column 0, resting on the floor.
    void stickInColumnZero()
    {
        game.replacePiece(0);
        TStick *s = game.curPiece()->Stick;
        s->Orient = 0;
        s->Col = 0;
        s->Row = 16;
    }
    // Ticks until the current piece has landed and been settled (every
    // landing scores).
    void tickUntilLanded()
    {
        const int score = game.score();
        for (int i = 0; i < 40 && game.score() == score && game.timerEnabled(); ++i)
            game.Timer1Timer();
    }
};

} // namespace

class TestBlocksGame : public QObject
{
    Q_OBJECT

private slots:
    void startsIdleWithANextPiece();
    void startRunsAndResetsTheCounters();
    void landingsScoreByRows_data();
    void landingsScoreByRows();
    void speedRisesEveryThirtyLines_data();
    void speedRisesEveryThirtyLines();
    void intervalNeverReachesZero();
    void gameOverIsDecidedOnTheSpawnCellsAfterRowsGo();
    void commandsMoveBetweenTheStates_data();
    void commandsMoveBetweenTheStates();
    void ticksGoOnWhileAQuestionIsOpen();
    void pausedExitKeepsTheGame();
    void keysActOnlyWhileRunning();
    void aPieceFixedByAKeyTakesNoMoreKeys();
    void closingFromTheTitleBarPauses();
    void elapsedTimeCountsFromStart();
};

void TestBlocksGame::startsIdleWithANextPiece()
{
    Harness h;
    QCOMPARE(h.game.state(), BlocksGame::State::Idle);
    QVERIFY(h.game.curPiece());
    QVERIFY(h.game.nextKind() >= 0 && h.game.nextKind() <= 6);
    QVERIFY(h.game.startEnabled());
    QVERIFY(!h.game.pauseEnabled());
    QVERIFY(!h.game.cancelEnabled());
    QCOMPARE(h.game.interval(), 1000);
    QCOMPARE(h.game.duringText(), QStringLiteral("0:00:00"));
    QCOMPARE(h.game.scoreText(), QStringLiteral("0"));
    // Ticks are the timer's: nothing falls while Idle.
    QVERIFY(!h.game.timerEnabled());
}

void TestBlocksGame::startRunsAndResetsTheCounters()
{
    Harness h;
    h.board()[0][19] = 3;
    const TCustObj *piece = h.game.curPiece();
    h.game.mnuStartClick();
    QCOMPARE(h.game.state(), BlocksGame::State::Running);
    QVERIFY(!h.game.startEnabled());
    QVERIFY(h.game.pauseEnabled() && h.game.cancelEnabled());
    QCOMPARE(h.board()[0][19], uint8_t(0)); // the board is cleared
    QCOMPARE(h.game.curPiece(), piece); // no new piece: the game goes on with it
    h.game.Timer1Timer();
    QCOMPARE(h.game.curPiece(), piece);
}

// Rows completed by one landing and the points it brings.
void TestBlocksGame::landingsScoreByRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("points");
    QTest::newRow("none") << 0 << 4;
    QTest::newRow("one") << 1 << 44;
    QTest::newRow("two") << 2 << 104;
    QTest::newRow("three") << 3 << 164;
    QTest::newRow("four") << 4 << 224;
}

void TestBlocksGame::landingsScoreByRows()
{
    QFETCH(int, rows);
    QFETCH(int, points);
    Harness h;
    h.game.mnuStartClick();
    // The bottom four rows full but for column 0; the rows the stick does
    // not complete also lack column 9.
    for (int r = 16; r < 20; ++r)
        h.fillRow(
            r, r >= 20 - rows ? std::initializer_list<int> {0} : std::initializer_list<int> {0, 9});
    h.stickInColumnZero();
    h.tickUntilLanded();
    QCOMPARE(h.game.score(), points);
    QCOMPARE(h.game.lines(), rows);
    QCOMPARE(h.game.scoreText(), QString::number(points));
    QCOMPARE(h.game.linesText(), QString::number(rows));
}

void TestBlocksGame::speedRisesEveryThirtyLines_data()
{
    QTest::addColumn<int>("linesBefore");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("interval");
    QTest::newRow("29_stays") << 29 << 0 << 0 << 1000;
    QTest::newRow("29_to_30") << 29 << 1 << 1 << 500;
    QTest::newRow("59_to_60") << 59 << 1 << 2 << 333;
    QTest::newRow("89_to_90") << 89 << 1 << 3 << 250;
    QTest::newRow("119_to_120") << 119 << 1 << 4 << 200;
    QTest::newRow("149_to_150") << 149 << 1 << 5 << 166;
}

void TestBlocksGame::speedRisesEveryThirtyLines()
{
    QFETCH(int, linesBefore);
    QFETCH(int, rows);
    QFETCH(int, speed);
    QFETCH(int, interval);
    Harness h;
    h.game.mnuStartClick();
    // Reach the lines before by whole landings: four rows at a time, then
    // the rest one by one.
    int lines = 0;
    while (lines < linesBefore) {
        const int n = std::min(4, linesBefore - lines);
        for (int r = 16; r < 20; ++r)
            h.fillRow(r,
                r >= 20 - n ? std::initializer_list<int> {0} : std::initializer_list<int> {0, 9});
        h.stickInColumnZero();
        h.tickUntilLanded();
        for (int r = 0; r < 20; ++r)
            h.fillRow(r, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        lines += n;
    }
    QCOMPARE(h.game.lines(), linesBefore);
    for (int r = 16; r < 20; ++r)
        h.fillRow(
            r, r >= 20 - rows ? std::initializer_list<int> {0} : std::initializer_list<int> {0, 9});
    h.stickInColumnZero();
    h.tickUntilLanded();
    QCOMPARE(h.game.lines(), linesBefore + rows);
    QCOMPARE(h.game.speed(), speed);
    QCOMPARE(h.game.interval(), interval);
}

void TestBlocksGame::intervalNeverReachesZero()
{
    QCOMPARE(BlocksGame::intervalFor(0), 1000);
    QCOMPARE(BlocksGame::intervalFor(5), 166);
    QCOMPARE(BlocksGame::intervalFor(999), 1);
    QCOMPARE(BlocksGame::intervalFor(1000), 1); // from 30 000 lines on
    QCOMPARE(BlocksGame::intervalFor(100000), 1);
}

void TestBlocksGame::gameOverIsDecidedOnTheSpawnCellsAfterRowsGo()
{
    // A full row 1 holds cells in the spawn area; the landing clears it
    // first, so the next piece still fits.
    {
        Harness h;
        h.game.mnuStartClick();
        h.fillRow(1);
        for (int r = 16; r < 20; ++r)
            h.fillRow(r, {0, 9});
        h.game.setNextKind(2); // a T: spawn cells (4,1) (5,1) (6,1) (5,2)
        h.stickInColumnZero();
        h.tickUntilLanded();
        QCOMPARE(h.view.gameOvers, 0);
        QCOMPARE(h.game.state(), BlocksGame::State::Running);
    }
    // A landed cell on one of the T's spawn cells ends the game; one just
    // beside them does not.
    for (const QPoint &cell :
        {QPoint(4, 1), QPoint(5, 1), QPoint(6, 1), QPoint(5, 2), QPoint(4, 2)}) {
        Harness h;
        h.game.mnuStartClick();
        h.board()[cell.x()][cell.y()] = 7;
        h.game.setNextKind(2);
        h.stickInColumnZero();
        const int scoreBefore = h.game.score();
        h.tickUntilLanded();
        const bool over = cell != QPoint(4, 2);
        QCOMPARE(h.view.gameOvers, over ? 1 : 0);
        QCOMPARE(h.game.state(), over ? BlocksGame::State::Idle : BlocksGame::State::Running);
        QCOMPARE(h.game.score(), scoreBefore + 4); // the last landing counts
        if (over) {
            QVERIFY(h.game.startEnabled());
            QVERIFY(!h.game.pauseEnabled() && !h.game.cancelEnabled());
            QVERIFY(h.game.curPiece()->Blocked());
            // The blocked piece is not drawn.
            for (int x = 0; x < BoardColumns; ++x) {
                for (int y = 0; y < BoardRows; ++y)
                    QCOMPARE(h.game.field().FallLayer[x][y], uint8_t(0));
            }
        }
    }
}

// Commands from a state, with the answers to any question, and the state
// after them. s: start, p: pause, c: cancel, x: exit.
void TestBlocksGame::commandsMoveBetweenTheStates_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<int>("state"); // BlocksGame::State
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("closes");
    const int idle = int(BlocksGame::State::Idle);
    const int running = int(BlocksGame::State::Running);
    const int paused = int(BlocksGame::State::Paused);
    QTest::newRow("start") << "s" << QList<bool> {} << running << "" << 0 << 0;
    QTest::newRow("pause") << "sp" << QList<bool> {} << paused << "暂 停" << 0 << 0;
    QTest::newRow("resume") << "spp" << QList<bool> {} << running << "" << 0 << 0;
    QTest::newRow("cancel_yes") << "sc" << QList<bool> {true} << idle << "" << 1 << 0;
    QTest::newRow("cancel_no") << "sc" << QList<bool> {false} << running << "" << 1 << 0;
    QTest::newRow("cancel_paused_no")
        << "spc" << QList<bool> {false} << paused << "暂 停" << 1 << 0;
    QTest::newRow("cancel_paused_yes") << "spc" << QList<bool> {true} << idle << "" << 1 << 0;
    QTest::newRow("exit_running_yes") << "sx" << QList<bool> {true} << idle << "" << 1 << 1;
    QTest::newRow("exit_running_no") << "sx" << QList<bool> {false} << running << "" << 1 << 0;
    QTest::newRow("exit_paused_no_question")
        << "spx" << QList<bool> {} << paused << "暂 停" << 0 << 1;
    QTest::newRow("exit_idle") << "x" << QList<bool> {} << idle << "" << 0 << 1;
}

void TestBlocksGame::commandsMoveBetweenTheStates()
{
    QFETCH(QString, commands);
    QFETCH(QList<bool>, answers);
    QFETCH(int, state);
    QFETCH(QString, status);
    QFETCH(int, questions);
    QFETCH(int, closes);
    Harness h;
    h.view.answers = answers;
    for (QChar c : commands) {
        switch (c.unicode()) {
        case 's':
            h.game.mnuStartClick();
            break;
        case 'p':
            h.game.mnuPauseClick();
            break;
        case 'c':
            h.game.mnuCancelClick();
            break;
        case 'x':
            h.game.mnuExitClick();
            break;
        }
    }
    QCOMPARE(int(h.game.state()), state);
    QCOMPARE(h.game.status(), status);
    QCOMPARE(h.view.questions.size(), questions);
    QCOMPARE(h.view.closes, closes);
    QCOMPARE(h.game.startEnabled(), state == int(BlocksGame::State::Idle));
    QCOMPARE(h.game.cancelEnabled(), state != int(BlocksGame::State::Idle));
    if (questions) {
        QCOMPARE(h.view.questions.first(),
            commands.endsWith('x') ? BlocksGame::ExitQuestion : BlocksGame::CancelQuestion);
    }
}

void TestBlocksGame::ticksGoOnWhileAQuestionIsOpen()
{
    // The game falls on behind the Cancel question; No lets it go on.
    Harness h;
    h.game.mnuStartClick();
    h.game.replacePiece(1); // the square at (4, 0)
    h.view.ticksDuringQuestion = 5;
    h.view.answers = {false};
    h.game.mnuCancelClick();
    QCOMPARE(h.game.curPiece()->Diamonds->Row, 5);
    QCOMPARE(h.game.state(), BlocksGame::State::Running);

    // A game that ends during the question shows its end; Yes still resets.
    Harness g;
    g.game.mnuStartClick();
    for (int r = 2; r < 20; ++r)
        g.fillRow(r, {0});
    g.game.setNextKind(1);
    g.game.replacePiece(1);
    g.view.ticksDuringQuestion = 5;
    g.view.answers = {true};
    g.game.mnuCancelClick();
    QCOMPARE(g.view.gameOvers, 1);
    QCOMPARE(g.game.state(), BlocksGame::State::Idle);
    QCOMPARE(g.game.scoreText(), QStringLiteral("0"));
    QCOMPARE(g.board()[5][10], uint8_t(0));
}

void TestBlocksGame::pausedExitKeepsTheGame()
{
    Harness h;
    h.game.mnuStartClick();
    h.game.Timer1Timer();
    h.game.Timer1Timer();
    const Grid fall = h.game.field().FallLayer;
    h.game.mnuPauseClick();
    h.game.mnuExitClick();
    QCOMPARE(h.view.closes, 1);
    QVERIFY(h.view.questions.isEmpty());
    // Opened again: the paused game, which Pause resumes.
    QCOMPARE(h.game.state(), BlocksGame::State::Paused);
    QCOMPARE(h.game.field().FallLayer, fall);
    h.game.mnuPauseClick();
    QCOMPARE(h.game.state(), BlocksGame::State::Running);
}

void TestBlocksGame::keysActOnlyWhileRunning()
{
    Harness h;
    h.game.replacePiece(2);
    const Grid fall = h.game.field().FallLayer;
    const int draws = h.view.scrDraws;
    for (int key : {BlocksGame::KeyLeft, BlocksGame::KeyRight, BlocksGame::KeyUp,
             BlocksGame::KeyDown, BlocksGame::KeySpace, BlocksGame::KeyEscape}) {
        h.game.keyDown(key);
    }
    QCOMPARE(h.game.field().FallLayer, fall); // Idle: nothing moves
    QCOMPARE(h.view.scrDraws, draws); // nor is anything drawn
    QVERIFY(h.view.questions.isEmpty());

    h.game.mnuStartClick();
    h.game.replacePiece(2); // T at (4, 0)
    h.game.keyDown(BlocksGame::KeyLeft);
    QCOMPARE(h.game.curPiece()->TLetter->Col, 3);
    h.game.keyDown(BlocksGame::KeyRight);
    h.game.keyDown(BlocksGame::KeyRight);
    QCOMPARE(h.game.curPiece()->TLetter->Col, 5);
    h.game.keyDown(BlocksGame::KeyUp);
    QCOMPARE(h.game.curPiece()->TLetter->Orient, uint8_t(1));
    h.game.keyDown(BlocksGame::KeyDown);
    QCOMPARE(h.game.curPiece()->TLetter->Row, 1);
    h.game.keyDown(65); // any other key only draws
    h.view.answers = {false};
    h.game.keyDown(BlocksGame::KeyEscape);
    QCOMPARE(h.view.questions, QStringList {BlocksGame::CancelQuestion});

    h.game.mnuPauseClick();
    h.game.keyDown(BlocksGame::KeyLeft);
    QCOMPARE(h.game.curPiece()->TLetter->Col, 5);
    h.game.keyDown(BlocksGame::KeyEscape);
    QCOMPARE(h.view.questions.size(), 1);
}

// Decided for the game: once a key has fixed the piece into the board, the
// piece takes no more keys until the next tick settles its landing; else a
// sideways move or a turn would leave a copy of it in the board.
void TestBlocksGame::aPieceFixedByAKeyTakesNoMoreKeys()
{
    Harness h;
    h.game.mnuStartClick();
    h.game.replacePiece(2);
    const int drawsBefore = h.view.scrDraws;
    h.game.keyDown(BlocksGame::KeySpace); // drop: fixed on the floor
    QVERIFY(h.view.scrDraws > drawsBefore + 10); // drawn row by row
    const Grid fixed = h.board();
    int cells = 0;
    for (const auto &column : fixed)
        cells += int(std::count(column.begin(), column.end(), 3));
    QCOMPARE(cells, 4);
    h.game.keyDown(BlocksGame::KeyUp);
    h.game.keyDown(BlocksGame::KeyLeft);
    h.game.keyDown(BlocksGame::KeySpace);
    QCOMPARE(h.board(), fixed);
    h.game.Timer1Timer(); // settles the landing
    QCOMPARE(h.game.score(), 4);
    QCOMPARE(h.board(), fixed);
    // The new piece takes keys again.
    const auto leftmost = [&h] {
        for (int x = 0; x < BoardColumns; ++x) {
            for (int y = 0; y < BoardRows; ++y) {
                if (h.game.field().FallLayer[x][y])
                    return x;
            }
        }
        return -1;
    };
    const int before = leftmost();
    QVERIFY(before >= 0);
    h.game.keyDown(BlocksGame::KeyRight);
    QCOMPARE(leftmost(), before + 1);
}

void TestBlocksGame::closingFromTheTitleBarPauses()
{
    Harness h;
    h.game.mnuStartClick();
    h.game.windowClosed();
    QCOMPARE(h.game.state(), BlocksGame::State::Paused);
    QCOMPARE(h.game.status(), BlocksGame::PausedText);
    h.game.windowClosed(); // paused or idle: nothing changes
    QCOMPARE(h.game.state(), BlocksGame::State::Paused);
}

void TestBlocksGame::elapsedTimeCountsFromStart()
{
    Harness h;
    h.game.mnuStartClick();
    h.now = h.now.addSecs(3725);
    h.game.Timer1Timer();
    QCOMPARE(h.game.duringText(), QStringLiteral("1:02:05"));
    h.now = h.now.addSecs(86400); // only the part below a day shows
    h.game.Timer1Timer();
    QCOMPARE(h.game.duringText(), QStringLiteral("1:02:05"));
    h.game.mnuStartClick();
    QCOMPARE(h.game.duringText(), QStringLiteral("0:00:00"));
}

QTEST_GUILESS_MAIN(TestBlocksGame)
#include "tst_blocksgame.moc"
