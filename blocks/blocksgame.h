#pragma once

// The falling-blocks game's rules, apart from its window: the counters, the
// tick that lets the piece fall and settles each landing (rows removed,
// score, lines, speed, pace, next piece, game over), the reset, the three
// states and the commands between them, and the player's keys.
//
// The game drives a view (the window, or a test) through View: it asks the
// view to draw the board and the preview, to put a question, to announce the
// end of a game, to close the window, and to show the new state after every
// change (the timer's pace, the buttons, the counters).
//
//   Idle ──Start──► Running ◄──Pause──► Paused
//     ▲                │ Cancel / Exit (asked), game over
//     └────────────────┘

#include "playfield.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

class RandomSource;
class TCustObj;

class BlocksGame
{
public:
    class View
    {
    public:
        virtual ~View() = default;
        virtual void scrDraw() = 0;
        virtual void nextDraw() = 0;
        // A question answered with Yes (true) or No.
        virtual bool ask(const QString &question) = 0;
        // "游戏结束！"; returns once it has been closed.
        virtual void showGameOver() = 0;
        virtual void closeWindow() = 0;
        virtual void stateChanged() = 0;
    };

    enum class State { Idle, Running, Paused };

    // The keys, as the virtual key codes of the game.
    static constexpr int KeyEscape = 27;
    static constexpr int KeySpace = 32;
    static constexpr int KeyLeft = 37;
    static constexpr int KeyUp = 38;
    static constexpr int KeyRight = 39;
    static constexpr int KeyDown = 40;

    static constexpr int LinesPerSpeed = 30;
    static inline const QString PausedText = QStringLiteral("暂 停");
    static inline const QString CancelQuestion = QStringLiteral("你确定取消当前的游戏吗?");
    static inline const QString ExitQuestion = QStringLiteral("游戏中，你确定退出吗?");

    using Clock = std::function<QDateTime()>;
    BlocksGame(View &view, RandomSource &random, Clock clock = &QDateTime::currentDateTime);
    ~BlocksGame();

    // The set-up when the window is made: empty grids, the next piece, the
    // current piece at its spawn place, the reset.
    void setUp();
    void Init();
    void Timer1Timer();
    void mnuStartClick();
    void mnuPauseClick();
    void mnuCancelClick();
    void mnuExitClick();
    void keyDown(int virtualKey);
    // The window was closed from its title bar: a running game pauses, so
    // nothing goes on (or ends) behind a window nobody sees.
    void windowClosed();

    // The pace of a game at a speed level, in milliseconds.
    static int intervalFor(int speed);

    State state() const;
    Playfield &field() { return m_field; }
    const Playfield &field() const { return m_field; }
    TCustObj *curPiece() const { return m_curPiece.get(); }
    int nextKind() const { return m_nextKind; }
    int score() const { return m_score; }
    int lines() const { return m_lines; }
    int speed() const { return m_speed; }
    bool timerEnabled() const { return m_timerEnabled; }
    int interval() const { return m_interval; }
    bool startEnabled() const { return m_startEnabled; }
    bool pauseEnabled() const { return m_pauseEnabled; }
    bool cancelEnabled() const { return m_cancelEnabled; }
    QString status() const { return m_status; }
    // The four counters as shown: score, lines, speed, elapsed time.
    QString scoreText() const { return m_scoreText; }
    QString linesText() const { return m_linesText; }
    QString speedText() const { return m_speedText; }
    QString duringText() const { return m_duringText; }

    // For tests: the next piece, and the piece made now.
    void setNextKind(int kind) { m_nextKind = kind; }
    void replacePiece(int kind);

private:
    void showCounters();
    void toIdle();

    View &m_view;
    RandomSource &m_random;
    Clock m_clock;
    Playfield m_field;
    std::unique_ptr<TCustObj> m_curPiece;
    int m_nextKind = 0;
    int m_score = 0;
    int m_lines = 0;
    int m_speed = 0;
    QDateTime m_startTime;
    bool m_timerEnabled = false;
    int m_interval = 1000;
    bool m_startEnabled = true;
    bool m_pauseEnabled = false;
    bool m_cancelEnabled = false;
    QString m_status;
    QString m_scoreText = QStringLiteral("0");
    QString m_linesText = QStringLiteral("0");
    QString m_speedText = QStringLiteral("0");
    QString m_duringText = QStringLiteral("0:00:00");
    // A key fixed the piece into the board: it takes no more keys until
    // the next tick has settled its landing, or a sideways move or a turn
    // would leave a copy of it behind.
    bool m_fixedByKey = false;
};
