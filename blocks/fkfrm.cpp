#include "fkfrm.h"
#include "pixelfont.h"

#include "dialogs.h"
#include "randomsource.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace {

const char *const CellNames[8]
    = {"BLACK", "GREEN", "PURPLE", "RED", "AQUA", "BLUE", "ORANGE", "YELLOW"};

// The preview: the cells of each kind (column, row, from 1) and where the
// shape starts, so it sits in the middle of the 71 × 54 box.
struct Preview {
    QPoint cells[4];
    QPoint offset;
};
const Preview Previews[7] = {
    {{{1, 1}, {2, 1}, {3, 1}, {4, 1}}, {1, 18}},
    {{{1, 1}, {2, 1}, {1, 2}, {2, 2}}, {18, 10}},
    {{{2, 1}, {1, 2}, {2, 2}, {3, 2}}, {10, 10}},
    {{{1, 1}, {2, 1}, {3, 1}, {1, 2}}, {10, 10}},
    {{{1, 1}, {2, 1}, {3, 1}, {3, 2}}, {10, 10}},
    {{{1, 1}, {2, 1}, {2, 2}, {3, 2}}, {10, 10}},
    {{{2, 1}, {3, 1}, {1, 2}, {2, 2}}, {10, 10}},
};

// A surface that shows what its owner paints for it.
class PaintBox : public QWidget
{
public:
    PaintBox(std::function<void(QPainter &)> paint, QWidget *parent)
        : QWidget(parent)
        , m_paint(std::move(paint))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_paint(painter);
    }

private:
    std::function<void(QPainter &)> m_paint;
};

QFrame *blackPanel(QWidget *parent, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::black);
    panel->setPalette(pal);
    panel->setGeometry(geometry);
    return panel;
}

} // namespace

TFKFrm::TFKFrm(Dialogs &dialogs, RandomSource &random, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TFKFrm"));
    setWindowTitle(QStringLiteral("俄罗斯方块"));
    setFixedSize(347, 349);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    // The window itself takes the keys: no control does.
    setFocusPolicy(Qt::StrongFocus);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }

    // Creation, in order: the random numbers are seeded once (by the
    // caller), the cell images loaded, the board image made, the game set up.
    for (int i = 0; i < 8; ++i)
        m_cellImages[size_t(i)]
            = QImage(QStringLiteral(":/blocks/%1.bmp").arg(QLatin1String(CellNames[i])));
    m_boardImage = QImage(200, 400, QImage::Format_RGB32);
    m_boardImage.fill(Qt::black);

    QFrame *panel1 = blackPanel(this, QRect(8, 4, 174, 342));
    panel1->setObjectName(QStringLiteral("Panel1"));
    m_paintBox1 = new PaintBox(
        [this](QPainter &p) {
            p.fillRect(QRect(0, 0, 172, 340), Qt::black);
            p.drawImage(QPoint(0, 0), m_boardImage, QRect(0, 0, 170, 340));
        },
        panel1);
    m_paintBox1->setObjectName(QStringLiteral("PaintBox1"));
    m_paintBox1->setGeometry(1, 1, 172, 340);
    m_paintBox1->setAccessibleName(QStringLiteral("游戏区"));

    QFrame *panel2 = blackPanel(this, QRect(190, 4, 73, 56));
    panel2->setObjectName(QStringLiteral("Panel2"));
    m_scrNext = new PaintBox([this](QPainter &p) { paintPreview(p); }, panel2);
    m_scrNext->setObjectName(QStringLiteral("ScrNext"));
    m_scrNext->setGeometry(1, 1, 71, 54);
    m_scrNext->setAccessibleName(QStringLiteral("下一块"));

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setGeometry(190, 80, 49, 20);
    m_lblStatus->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 16, true, true));
    m_lblStatus->setStyleSheet(QStringLiteral("color: #000080; background: transparent;"));

    const auto caption = [this](const QString &text, int top) {
        auto *label = new QLabel(text, this);
        label->setGeometry(190, top, 50, 16);
        label->setFont(pixelFont(QStringLiteral("Arial"), 13, true));
        label->setStyleSheet(QStringLiteral("color: #800000; background: transparent;"));
        return label;
    };
    const auto counter = [this](const char *name, int top, QLabel *captionLabel) {
        auto *field = new QLabel(QStringLiteral("0"), this);
        field->setObjectName(QLatin1String(name));
        field->setGeometry(190, top, 70, 23);
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->setFont(pixelFont(QStringLiteral("Arial"), 16, true));
        field->setStyleSheet(QStringLiteral("QLabel { color: #00ffff; background: black; }"));
        captionLabel->setBuddy(field);
        field->setAccessibleName(captionLabel->text().remove(u' ').remove(u':'));
        return field;
    };
    m_stScore = counter("stScore", 144, caption(QStringLiteral("得  分 :"), 123));
    m_stLines = counter("stLines", 200, caption(QStringLiteral("行  数 :"), 179));
    m_stSpeed = counter("stSpeed", 256, caption(QStringLiteral("迅  速 :"), 235));
    m_stDuring = counter("stDuring", 320, caption(QStringLiteral("时  间 :"), 303));

    // The buttons never take the focus: the arrow keys and Space belong to
    // the game. Function keys reach them from the keyboard.
    const auto button = [this](const char *name, const QString &text, int top,
                            const QKeySequence &key, void (BlocksGame::*command)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(271, top, 68, 32);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFont(pixelFont(QStringLiteral("宋体"), 16));
        const QString plain = QString(text).remove(u' ');
        b->setAccessibleName(plain);
        b->setToolTip(QStringLiteral("%1 (%2)").arg(plain, key.toString(QKeySequence::NativeText)));
        connect(b, &QPushButton::clicked, this, [this, command] { (m_game.get()->*command)(); });
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, b, [b] {
            if (b->isEnabled())
                b->click();
        });
        return b;
    };
    m_mnuStart = button("mnuStart", QStringLiteral("开 始"), 4, QKeySequence(Qt::Key_F2),
        &BlocksGame::mnuStartClick);
    m_mnuPause = button("mnuPause", QStringLiteral("暂 停"), 44, QKeySequence(Qt::Key_F3),
        &BlocksGame::mnuPauseClick);
    m_mnuCancel = button("mnuCancel", QStringLiteral("取 消"), 84, QKeySequence(Qt::Key_F4),
        &BlocksGame::mnuCancelClick);
    m_mnuExit = button("mnuExit", QStringLiteral("退 出"), 124, QKeySequence(Qt::Key_F10),
        &BlocksGame::mnuExitClick);

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(1000);
    connect(&m_timer1, &QTimer::timeout, this, [this] { m_game->Timer1Timer(); });

    m_game = std::make_unique<BlocksGame>(static_cast<BlocksGame::View &>(*this), random);
    m_game->setUp();
}

TFKFrm::~TFKFrm() = default;

int TFKFrm::virtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Escape:
        return BlocksGame::KeyEscape;
    case Qt::Key_Space:
        return BlocksGame::KeySpace;
    case Qt::Key_Left:
        return BlocksGame::KeyLeft;
    case Qt::Key_Up:
        return BlocksGame::KeyUp;
    case Qt::Key_Right:
        return BlocksGame::KeyRight;
    case Qt::Key_Down:
        return BlocksGame::KeyDown;
    default:
        return 0;
    }
}

void TFKFrm::keyPressEvent(QKeyEvent *event)
{
    // Every key is the game's, Escape too (it must not close the window).
    m_game->keyDown(virtualKey(event->key()));
    event->accept();
}

void TFKFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setFocus();
}

void TFKFrm::closeEvent(QCloseEvent *event)
{
    if (!m_closingByExit)
        m_game->windowClosed();
    m_closingByExit = false;
    QDialog::closeEvent(event);
}

void TFKFrm::drawCell(QPainter &painter, int x, int y, int value, QPoint origin)
{
    // The top-left 16 × 16 of the image, stretched to 17 × 17: each cell
    // shows its top and left frame lines.
    painter.drawImage(QRect(origin.x() + 17 * x, origin.y() + 17 * y, 17, 17),
        m_cellImages[size_t(value)], QRect(0, 0, 16, 16));
}

void TFKFrm::ScrDraw()
{
    // Composed off screen and shown in one piece: no flicker while a
    // dropped piece is drawn row by row.
    QPainter painter(&m_boardImage);
    painter.fillRect(QRect(0, 0, 170, 340), Qt::black);
    const Playfield &f = m_game->field();
    for (int x = 0; x < BoardColumns; ++x) {
        for (int y = 0; y < BoardRows; ++y) {
            if (const int v = f.FallLayer[x][y])
                drawCell(painter, x, y, v, QPoint());
            if (const int v = f.Board[x][y])
                drawCell(painter, x, y, v, QPoint());
        }
    }
    painter.end();
    if (isVisible())
        m_paintBox1->repaint();
}

void TFKFrm::paintPreview(QPainter &painter)
{
    painter.fillRect(QRect(0, 0, 71, 54), Qt::black);
    if (!m_game || !m_game->timerEnabled())
        return;
    const int kind = m_game->nextKind();
    const Preview &preview = Previews[kind];
    for (const QPoint &cell : preview.cells)
        drawCell(painter, cell.x() - 1, cell.y() - 1, kind + 1, preview.offset);
}

void TFKFrm::NextDraw()
{
    if (isVisible())
        m_scrNext->repaint();
}

bool TFKFrm::ask(const QString &question)
{
    return m_dialogs.message(this, question, QStringLiteral("询问"), Dialogs::Icon::Question,
               Dialogs::Buttons::YesNo)
        == Dialogs::Answer::Yes;
}

void TFKFrm::showGameOver()
{
    m_dialogs.message(this, QStringLiteral("游戏结束！"), QStringLiteral("Parlix"),
        Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
}

void TFKFrm::closeWindow()
{
    m_closingByExit = true;
    close();
}

void TFKFrm::stateChanged()
{
    const BlocksGame &g = *m_game;
    if (!g.timerEnabled()) {
        m_timer1.stop();
    } else if (!m_timer1.isActive() || m_timer1.interval() != g.interval()) {
        m_timer1.start(g.interval());
    }
    m_mnuStart->setEnabled(g.startEnabled());
    m_mnuPause->setEnabled(g.pauseEnabled());
    m_mnuCancel->setEnabled(g.cancelEnabled());
    m_lblStatus->setText(g.status());
    m_stScore->setText(g.scoreText());
    m_stLines->setText(g.linesText());
    m_stSpeed->setText(g.speedText());
    m_stDuring->setText(g.duringText());
}
