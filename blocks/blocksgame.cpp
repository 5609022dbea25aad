#include "blocksgame.h"

#include "custobj.h"
#include "randomsource.h"

#include <QTime>

BlocksGame::BlocksGame(View &view, RandomSource &random, Clock clock)
    : m_view(view)
    , m_random(random)
    , m_clock(std::move(clock))
{
}

BlocksGame::~BlocksGame() = default;

int BlocksGame::intervalFor(int speed)
{
    // Never 0, however many lines: the game stays a game.
    return std::max(1, 1000 / (std::max(0, speed) + 1));
}

BlocksGame::State BlocksGame::state() const
{
    if (m_timerEnabled)
        return State::Running;
    return m_pauseEnabled ? State::Paused : State::Idle;
}

void BlocksGame::setUp()
{
    clearGrid(m_field.Board);
    clearGrid(m_field.FallLayer);
    m_nextKind = m_random.below(7);
    m_curPiece = std::make_unique<TCustObj>(m_random.below(7), m_field);
    Init();
}

void BlocksGame::replacePiece(int kind)
{
    m_curPiece.reset();
    clearGrid(m_field.FallLayer);
    m_curPiece = std::make_unique<TCustObj>(kind, m_field);
    m_fixedByKey = false;
}

void BlocksGame::Init()
{
    clearGrid(m_field.Board);
    clearGrid(m_field.FallLayer);
    m_fixedByKey = false;
    m_view.scrDraw();
    m_view.nextDraw();
    m_score = 0;
    m_lines = 0;
    m_speed = 0;
    m_status.clear();
    m_scoreText = m_linesText = m_speedText = QStringLiteral("0");
    m_duringText = QStringLiteral("0:00:00");
    m_view.stateChanged();
}

void BlocksGame::showCounters()
{
    m_scoreText = QString::number(m_score);
    m_linesText = QString::number(m_lines);
    m_speedText = QString::number(m_speed);
}

void BlocksGame::Timer1Timer()
{
    if (!m_curPiece->StepDown()) {
        // Landed, and fixed in the board: settle it.
        m_score += 4;
        const int rows = m_curPiece->ClearRows();
        if (rows > 0)
            m_score += 60 * rows - 20;
        m_lines += rows;
        m_speed = m_lines / LinesPerSpeed;
        m_interval = intervalFor(m_speed);
        showCounters();
        replacePiece(m_nextKind);
        m_nextKind = m_random.below(7);
        m_view.nextDraw();
        m_view.stateChanged();
        if (m_curPiece->Blocked()) {
            m_timerEnabled = false;
            m_startEnabled = true;
            m_pauseEnabled = false;
            m_cancelEnabled = false;
            m_view.stateChanged();
            m_view.showGameOver();
        }
    }
    m_view.scrDraw();
    const qint64 seconds = m_startTime.secsTo(m_clock());
    m_duringText = QTime(0, 0)
                       .addSecs(int(std::max<qint64>(0, seconds) % 86400))
                       .toString(QStringLiteral("H:mm:ss"));
    m_view.stateChanged();
}

void BlocksGame::mnuStartClick()
{
    m_timerEnabled = true;
    m_pauseEnabled = true;
    m_cancelEnabled = true;
    m_startTime = m_clock();
    m_startEnabled = false;
    Init();
}

void BlocksGame::mnuPauseClick()
{
    m_timerEnabled = !m_timerEnabled;
    m_status = m_timerEnabled ? QString() : PausedText;
    m_view.stateChanged();
}

void BlocksGame::toIdle()
{
    m_timerEnabled = false;
    Init();
    m_startEnabled = true;
    m_pauseEnabled = false;
    m_cancelEnabled = false;
    m_view.stateChanged();
}

void BlocksGame::mnuCancelClick()
{
    // The game goes on falling behind the question.
    if (m_view.ask(CancelQuestion))
        toIdle();
}

void BlocksGame::mnuExitClick()
{
    if (m_timerEnabled) {
        if (!m_view.ask(ExitQuestion))
            return;
        toIdle();
    }
    m_view.closeWindow();
}

void BlocksGame::keyDown(int virtualKey)
{
    if (!m_timerEnabled)
        return;
    const bool moveKey = virtualKey == KeySpace || virtualKey == KeyLeft || virtualKey == KeyUp
        || virtualKey == KeyRight || virtualKey == KeyDown;
    if (moveKey && !m_fixedByKey) {
        switch (virtualKey) {
        case KeySpace:
            while (m_curPiece->StepDown())
                m_view.scrDraw();
            m_fixedByKey = true;
            break;
        case KeyLeft:
            m_curPiece->Shift(-1);
            break;
        case KeyUp:
            m_curPiece->Rotate();
            break;
        case KeyRight:
            m_curPiece->Shift(+1);
            break;
        case KeyDown:
            m_fixedByKey = !m_curPiece->StepDown();
            break;
        default:
            break;
        }
    } else if (virtualKey == KeyEscape && m_cancelEnabled) {
        mnuCancelClick();
    }
    m_view.scrDraw();
}

void BlocksGame::windowClosed()
{
    if (m_timerEnabled)
        mnuPauseClick();
}
