#pragma once

// The falling-blocks window: the board, the preview of the next piece, the
// counters and the four buttons around a BlocksGame. The window keeps no
// rules of its own: it draws what the game holds, turns keys into the
// game's key codes and runs the game's timer at the game's pace.

#include "blocksgame.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <array>
#include <memory>

class Dialogs;
class QLabel;
class QPushButton;
class RandomSource;

class TFKFrm : public QDialog, private BlocksGame::View
{
    Q_OBJECT

public:
    TFKFrm(Dialogs &dialogs, RandomSource &random, QWidget *parent = nullptr);
    ~TFKFrm() override;

    BlocksGame &game() { return *m_game; }
    const QImage &boardImage() const { return m_boardImage; }
    QTimer &timer() { return m_timer1; }
    // The Qt key as the game's virtual key code, or 0 for keys it does not know.
    static int virtualKey(int qtKey);

    void ScrDraw();
    void NextDraw();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // BlocksGame::View
    void scrDraw() override { ScrDraw(); }
    void nextDraw() override { NextDraw(); }
    bool ask(const QString &question) override;
    void showGameOver() override;
    void closeWindow() override;
    void stateChanged() override;

    void drawCell(QPainter &painter, int x, int y, int value, QPoint origin);
    void paintPreview(QPainter &painter);

    Dialogs &m_dialogs;
    std::unique_ptr<BlocksGame> m_game;
    std::array<QImage, 8> m_cellImages;
    QImage m_boardImage;
    QTimer m_timer1;
    bool m_closingByExit = false;

    QWidget *m_paintBox1 = nullptr;
    QWidget *m_scrNext = nullptr;
    QLabel *m_lblStatus = nullptr;
    QLabel *m_stScore = nullptr;
    QLabel *m_stLines = nullptr;
    QLabel *m_stSpeed = nullptr;
    QLabel *m_stDuring = nullptr;
    QPushButton *m_mnuStart = nullptr;
    QPushButton *m_mnuPause = nullptr;
    QPushButton *m_mnuCancel = nullptr;
    QPushButton *m_mnuExit = nullptr;
};
