// The seven piece classes, checked against the shapes as pictures (rows of
// "X" and "."), from which the expected cells, fall limits, cells tested
// below and shift bounds are worked out here independently of the classes'
// own tables; and every turn's condition and tested cells.

#include "custobj.h"
#include "diamonds.h"
#include "lbend.h"
#include "lcrutch.h"
#include "rbend.h"
#include "rcrutch.h"
#include "stick.h"
#include "tletter.h"

#include <QTest>

#include <memory>
#include <set>

namespace {

using CellSet = std::set<std::pair<int, int>>; // (column, row) on the board

// A piece of any class behind one face, for the tables.
struct AnyPiece {
    virtual ~AnyPiece() = default;
    virtual uint8_t &orient() = 0;
    virtual int32_t &col() = 0;
    virtual int32_t &row() = 0;
    virtual bool stepDown() = 0;
    virtual void shift(int d) = 0;
    virtual void rotate() = 0;
    virtual void render() = 0;
};

template <typename T> struct Piece final : AnyPiece {
    explicit Piece(Playfield &f)
        : p(f)
    {
    }
    T p;
    uint8_t &orient() override { return p.Orient; }
    int32_t &col() override { return p.Col; }
    int32_t &row() override { return p.Row; }
    bool stepDown() override { return p.StepDown(); }
    void shift(int d) override { p.Shift(d); }
    void rotate() override { p.Rotate(); }
    void render() override { p.Render(); }
};

std::unique_ptr<AnyPiece> make(int kind, Playfield &f)
{
    switch (kind) {
    case 1:
        return std::make_unique<Piece<TStick>>(f);
    case 2:
        return std::make_unique<Piece<TDiamonds>>(f);
    case 3:
        return std::make_unique<Piece<TTLetter>>(f);
    case 4:
        return std::make_unique<Piece<TLCurtch>>(f);
    case 5:
        return std::make_unique<Piece<TRCurtch>>(f);
    case 6:
        return std::make_unique<Piece<Tlbend>>(f);
    case 7:
        return std::make_unique<Piece<TRBend>>(f);
    }
    return nullptr;
}

// The pictures of the shapes, per kind code and orientation.
const QMap<int, QStringList> Pictures = {
    {1, {"X/X/X/X", "XXXX"}},
    {2, {"XX/XX"}},
    {3, {".../XXX/.X.", ".X./.XX/.X.", ".X./XXX/...", ".X./XX./.X."}},
    {4, {"XXX/X../...", "X../X../XX.", ".../..X/XXX", ".XX/..X/..X"}},
    {5, {"XXX/..X/...", "XX./X../X..", ".../X../XXX", "..X/..X/.XX"}},
    {6, {"XX./.XX/...", ".X./XX./X.."}},
    {7, {".XX/XX./...", ".X./.XX/..X"}},
};

QList<QPoint> offsets(int kind, int orient)
{
    QList<QPoint> out;
    const QStringList rows = Pictures[kind][orient].split(u'/');
    for (int dy = 0; dy < rows.size(); ++dy) {
        for (int dx = 0; dx < rows[dy].size(); ++dx) {
            if (rows[dy][dx] == u'X')
                out << QPoint(dx, dy);
        }
    }
    return out;
}

CellSet placed(int kind, int orient, int col, int row)
{
    CellSet s;
    for (const QPoint &o : offsets(kind, orient))
        s.insert({col + o.x(), row + o.y()});
    return s;
}

CellSet cellsHolding(const Grid &g, uint8_t value)
{
    CellSet s;
    for (int x = 0; x < BoardColumns; ++x) {
        for (int y = 0; y < BoardRows; ++y) {
            if (g[x][y] == value)
                s.insert({x, y});
        }
    }
    return s;
}

bool emptyGrid(const Grid &g)
{
    return cellsHolding(g, 0).size() == size_t(BoardColumns * BoardRows);
}

// The lowest cell of each column the piece covers, one row further down.
CellSet cellsBelow(int kind, int orient, int col, int row)
{
    std::map<int, int> lowest;
    for (const QPoint &o : offsets(kind, orient))
        lowest[o.x()] = std::max(lowest.count(o.x()) ? lowest[o.x()] : -1, o.y());
    CellSet s;
    for (const auto &[dx, dy] : lowest)
        s.insert({col + dx, row + dy + 1});
    return s;
}

int maxDy(int kind, int orient)
{
    int m = 0;
    for (const QPoint &o : offsets(kind, orient))
        m = std::max(m, o.y());
    return m;
}

std::pair<int, int> shiftRange(int kind, int orient)
{
    int lo = 9, hi = 0;
    for (const QPoint &o : offsets(kind, orient)) {
        lo = std::min(lo, o.x());
        hi = std::max(hi, o.x());
    }
    return {-lo, 9 - hi};
}

// A spot where a piece of this orientation can stand freely, well inside.
void placeInside(AnyPiece &p, int orient)
{
    p.orient() = uint8_t(orient);
    p.col() = 3;
    p.row() = 6;
}

} // namespace

class TestPieces : public QObject
{
    Q_OBJECT

private slots:
    void spawnPlaces_data();
    void spawnPlaces();
    void footprintsAreThePictures_data();
    void footprintsAreThePictures();
    void fallingStopsAtTheFloorAndOnTheCellsBelow_data();
    void fallingStopsAtTheFloorAndOnTheCellsBelow();
    void sidewaysWithinTheBoardAndIntoFreeCells_data();
    void sidewaysWithinTheBoardAndIntoFreeCells();
    void turnsHaveTheirConditionsAndTestTheirCells_data();
    void turnsHaveTheirConditionsAndTestTheirCells();
    void stickTurnsAboutItsSecondCell();
    void squareDoesNotTurnNorDraw();
    void pieceFixedAtTheFloorStaysFixed();
    void curtchesOnRowZeroWaitOneRowToTurn();
    void referenceColumnMinusOne();
    void clearRowsRemovesEveryFullRowInOnePass();
    void spawningOverLandedCells();
    void dispatcherForwardsByKind();
};

void TestPieces::spawnPlaces_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("orient");
    QTest::newRow("stick") << 1 << 3 << 1 << 1;
    for (int kind = 2; kind <= 7; ++kind)
        QTest::addRow("kind_%d", kind) << kind << 4 << 0 << 0;
}

void TestPieces::spawnPlaces()
{
    QFETCH(int, kind);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, orient);
    Playfield f;
    auto p = make(kind, f);
    QCOMPARE(int(p->orient()), orient);
    QCOMPARE(p->col(), col);
    QCOMPARE(p->row(), row);
    QCOMPARE(cellsHolding(f.FallLayer, uint8_t(kind)), placed(kind, orient, col, row));
    QVERIFY(emptyGrid(f.Board));
}

void TestPieces::footprintsAreThePictures_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("orient");
    for (auto it = Pictures.cbegin(); it != Pictures.cend(); ++it) {
        for (int o = 0; o < it.value().size(); ++o)
            QTest::addRow("kind_%d_orient_%d", it.key(), o) << it.key() << o;
    }
}

void TestPieces::footprintsAreThePictures()
{
    QFETCH(int, kind);
    QFETCH(int, orient);
    Playfield f;
    auto p = make(kind, f);
    placeInside(*p, orient);
    p->render();
    QCOMPARE(cellsHolding(f.FallLayer, uint8_t(kind)), placed(kind, orient, 3, 6));
    QCOMPARE(cellsHolding(f.FallLayer, 0).size(), size_t(196));
}

void TestPieces::fallingStopsAtTheFloorAndOnTheCellsBelow_data()
{
    footprintsAreThePictures_data();
}

void TestPieces::fallingStopsAtTheFloorAndOnTheCellsBelow()
{
    QFETCH(int, kind);
    QFETCH(int, orient);
    const int lastMovingRow = 18 - maxDy(kind, orient);
    // Free: it moves one row and renders there.
    {
        Playfield f;
        auto p = make(kind, f);
        placeInside(*p, orient);
        p->row() = lastMovingRow;
        QVERIFY(p->stepDown());
        QCOMPARE(p->row(), lastMovingRow + 1);
        QCOMPARE(cellsHolding(f.FallLayer, uint8_t(kind)),
            placed(kind, orient, p->col(), lastMovingRow + 1));
        QVERIFY(emptyGrid(f.Board));
        // On the floor: fixed into the board where it is.
        const CellSet before = cellsHolding(f.FallLayer, uint8_t(kind));
        QVERIFY(!p->stepDown());
        QCOMPARE(p->row(), lastMovingRow + 1);
        QCOMPARE(cellsHolding(f.Board, uint8_t(kind)), placed(kind, orient, p->col(), p->row()));
        QCOMPARE(cellsHolding(f.FallLayer, uint8_t(kind)), before); // left as it was
    }
    // Each cell directly below the piece stops it alone; a cell lower down
    // does not.
    for (const auto &[x, y] : cellsBelow(kind, orient, 3, 6)) {
        Playfield f;
        auto p = make(kind, f);
        placeInside(*p, orient);
        f.Board[x][y] = 9;
        QVERIFY2(!p->stepDown(), qPrintable(QStringLiteral("blocked by (%1,%2)").arg(x).arg(y)));
        QCOMPARE(p->row(), 6);
        QCOMPARE(cellsHolding(f.Board, uint8_t(kind)), placed(kind, orient, 3, 6));
    }
    for (const auto &[x, y] : cellsBelow(kind, orient, 3, 6)) {
        Playfield f;
        auto p = make(kind, f);
        placeInside(*p, orient);
        f.Board[x][y + 1] = 9;
        QVERIFY(p->stepDown());
    }
}

void TestPieces::sidewaysWithinTheBoardAndIntoFreeCells_data()
{
    footprintsAreThePictures_data();
}

void TestPieces::sidewaysWithinTheBoardAndIntoFreeCells()
{
    QFETCH(int, kind);
    QFETCH(int, orient);
    const auto [lo, hi] = shiftRange(kind, orient);
    Playfield f;
    auto p = make(kind, f);
    placeInside(*p, orient);
    p->col() = lo;
    p->shift(-1);
    QCOMPARE(p->col(), lo);
    QCOMPARE(cellsHolding(f.FallLayer, uint8_t(kind)), placed(kind, orient, lo, 6)); // rendered
    p->shift(+1);
    QCOMPARE(p->col(), lo + 1);
    p->col() = hi;
    p->shift(+1);
    QCOMPARE(p->col(), hi);
    p->shift(-1);
    QCOMPARE(p->col(), hi - 1);
    // Any taken cell of the target place refuses the move.
    for (const auto &[x, y] : placed(kind, orient, hi, 6)) {
        Playfield g;
        auto q = make(kind, g);
        placeInside(*q, orient);
        q->col() = hi - 1;
        if (placed(kind, orient, hi - 1, 6).count({x, y}))
            continue; // its own cell: never in the board while it falls
        g.Board[x][y] = 9;
        q->shift(+1);
        QCOMPARE(q->col(), hi - 1);
        QCOMPARE(cellsHolding(g.FallLayer, uint8_t(kind)), placed(kind, orient, hi - 1, 6));
    }
}

// Each turn: the orientation before, a place where its condition holds, the
// cells it tests (after the turn, as offsets), and a place where the
// condition fails (col or row, -99 for none).
void TestPieces::turnsHaveTheirConditionsAndTestTheirCells_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<QPoint>>("tested");
    QTest::addColumn<int>("badCol");
    QTest::addColumn<int>("badRow");
    const auto row
        = [](const char *tag, int kind, int from, QList<QPoint> tested, int badCol, int badRow) {
              QTest::newRow(tag) << kind << from << tested << badCol << badRow;
          };
    row("tletter_0_1", 3, 0, {{1, 0}}, -99, -99);
    row("tletter_1_2", 3, 1, {{0, 1}}, -1, -99);
    row("tletter_2_3", 3, 2, {{1, 2}}, -99, 18);
    row("tletter_3_0", 3, 3, {{2, 1}}, 8, -99);
    row("lcurtch_0_1", 4, 0, {{0, 2}, {1, 2}}, -99, 18);
    row("lcurtch_1_2", 4, 1, {{2, 1}, {2, 2}}, 8, -99);
    row("lcurtch_2_3", 4, 2, {{1, 0}, {2, 0}}, -99, 0);
    row("lcurtch_3_0", 4, 3, {{0, 0}, {0, 1}}, -1, -99);
    row("rcurtch_0_1", 5, 0, {{0, 1}, {0, 2}}, -99, 18);
    row("rcurtch_1_2", 5, 1, {{1, 2}, {2, 2}}, 8, -99);
    row("rcurtch_2_3", 5, 2, {{2, 0}, {2, 1}}, -99, 0);
    row("rcurtch_3_0", 5, 3, {{0, 0}, {1, 0}}, -1, -99);
    row("lbend_0_1", 6, 0, {{0, 1}, {0, 2}}, -99, 18);
    row("lbend_1_0", 6, 1, {{0, 0}, {2, 1}}, 8, -99);
    row("rbend_0_1", 7, 0, {{2, 1}, {2, 2}}, -99, 18);
    row("rbend_1_0", 7, 1, {{0, 1}, {2, 0}}, -1, -99);
}

void TestPieces::turnsHaveTheirConditionsAndTestTheirCells()
{
    QFETCH(int, kind);
    QFETCH(int, from);
    QFETCH(QList<QPoint>, tested);
    QFETCH(int, badCol);
    QFETCH(int, badRow);
    const int to = (from + 1) % Pictures[kind].size();
    // The cells tested are exactly those the turn adds.
    CellSet added = placed(kind, to, 0, 0);
    for (const auto &c : placed(kind, from, 0, 0))
        added.erase(c);
    CellSet listed;
    for (const QPoint &t : tested)
        listed.insert({t.x(), t.y()});
    QCOMPARE(listed, added);

    {
        Playfield f;
        auto p = make(kind, f);
        placeInside(*p, from);
        p->rotate();
        QCOMPARE(int(p->orient()), to);
        QCOMPARE(p->col(), 3); // only the stick moves its reference cell
        QCOMPARE(p->row(), 6);
        QCOMPARE(cellsHolding(f.FallLayer, uint8_t(kind)), placed(kind, to, 3, 6));
    }
    for (const QPoint &t : tested) {
        Playfield f;
        auto p = make(kind, f);
        placeInside(*p, from);
        f.Board[3 + t.x()][6 + t.y()] = 9;
        p->rotate();
        QCOMPARE(int(p->orient()), from);
        QCOMPARE(cellsHolding(f.FallLayer, uint8_t(kind)), placed(kind, from, 3, 6));
    }
    if (badCol != -99 || badRow != -99) {
        Playfield f;
        auto p = make(kind, f);
        placeInside(*p, from);
        if (badCol != -99)
            p->col() = badCol;
        if (badRow != -99)
            p->row() = badRow;
        p->rotate();
        QCOMPARE(int(p->orient()), from);
    }
}

void TestPieces::stickTurnsAboutItsSecondCell()
{
    Playfield f;
    TStick stick(f); // lying on row 1, columns 3 to 6
    QCOMPARE(cellsHolding(f.FallLayer, 1), (CellSet {{3, 1}, {4, 1}, {5, 1}, {6, 1}}));
    stick.Rotate();
    QCOMPARE(stick.Orient, uint8_t(0));
    QCOMPARE(cellsHolding(f.FallLayer, 1), (CellSet {{4, 0}, {4, 1}, {4, 2}, {4, 3}}));
    stick.Rotate();
    QCOMPARE(stick.Orient, uint8_t(1));
    QCOMPARE(stick.Col, 3);
    QCOMPARE(stick.Row, 1);

    // Upright in columns 0, 8 and 9 it cannot lie down.
    for (int col : {0, 8, 9}) {
        Playfield g;
        TStick s(g);
        s.Orient = 0;
        s.Col = col;
        s.Row = 5;
        s.Rotate();
        QCOMPARE(s.Orient, uint8_t(0));
        QCOMPARE(s.Col, col);
    }
    // Lying on row 18 (or row 0) it cannot stand up.
    for (int row : {18, 0}) {
        Playfield g;
        TStick s(g);
        s.Row = row;
        s.Rotate();
        QCOMPARE(s.Orient, uint8_t(1));
    }
    // All four new cells are tested, the kept one too.
    for (int y = 0; y < 4; ++y) {
        Playfield g;
        TStick s(g); // upright would be at (4, 0..3)
        g.Board[4][y] = 9;
        s.Rotate();
        QCOMPARE(s.Orient, uint8_t(1));
    }
}

void TestPieces::squareDoesNotTurnNorDraw()
{
    Playfield f;
    TDiamonds square(f);
    clearGrid(f.FallLayer);
    square.Rotate();
    QVERIFY(emptyGrid(f.FallLayer)); // not even rendered
    QCOMPARE(square.Orient, uint8_t(0));
}

void TestPieces::pieceFixedAtTheFloorStaysFixed()
{
    Playfield f;
    TTLetter t(f);
    t.Orient = 2;
    t.Row = 18; // its lowest cells on row 19
    QVERIFY(!t.StepDown());
    const Grid after = f.Board;
    QVERIFY(!t.StepDown());
    QCOMPARE(f.Board, after); // the same four cells again
    QCOMPARE(cellsHolding(f.Board, 3), (CellSet {{5, 18}, {4, 19}, {5, 19}, {6, 19}}));
}

void TestPieces::curtchesOnRowZeroWaitOneRowToTurn()
{
    for (int kind : {4, 5}) {
        Playfield f;
        auto p = make(kind, f);
        p->orient() = 2;
        p->row() = 0;
        p->rotate();
        QCOMPARE(int(p->orient()), 2);
        QVERIFY(p->stepDown());
        p->rotate();
        QCOMPARE(int(p->orient()), 3);
    }
}

void TestPieces::referenceColumnMinusOne()
{
    // Orientations whose range allows it stand with Col = -1, all four
    // cells on the board; from there some turns wait until moved right.
    const struct {
        int kind, orient;
        bool turns;
    } cases[] = {{3, 1, false}, {4, 3, false}, {5, 3, false}, {7, 1, false}};
    for (const auto &c : cases) {
        Playfield f;
        auto p = make(c.kind, f);
        placeInside(*p, c.orient);
        p->shift(-1);
        p->shift(-1);
        p->shift(-1);
        p->shift(-1);
        QCOMPARE(p->col(), -1);
        for (const auto &[x, y] : cellsHolding(f.FallLayer, uint8_t(c.kind)))
            QVERIFY(x >= 0);
        p->rotate();
        QCOMPARE(int(p->orient()), c.orient);
        p->shift(+1);
        p->rotate();
        QVERIFY(int(p->orient()) != c.orient);
    }
}

void TestPieces::clearRowsRemovesEveryFullRowInOnePass()
{
    Playfield f;
    TCustObj piece(1, f);
    for (int x = 0; x < 10; ++x) {
        f.Board[x][17] = 1;
        f.Board[x][19] = 2;
    }
    f.Board[0][18] = 3; // row 18 not full
    f.Board[5][16] = 4;
    f.Board[9][15] = 5;
    QCOMPARE(piece.ClearRows(), 2);
    QCOMPARE(cellsHolding(f.Board, 3), (CellSet {{0, 19}})); // old row 18 is row 19
    QCOMPARE(cellsHolding(f.Board, 4), (CellSet {{5, 18}})); // old row 16 is row 18
    QCOMPARE(cellsHolding(f.Board, 5), (CellSet {{9, 17}}));
    for (int x = 0; x < 10; ++x) {
        QCOMPARE(f.Board[x][0], uint8_t(0));
        QCOMPARE(f.Board[x][1], uint8_t(0));
    }
    QCOMPARE(piece.ClearRows(), 0);
}

void TestPieces::spawningOverLandedCells()
{
    for (int kind = 1; kind <= 7; ++kind) {
        const int spawnOrient = kind == 1 ? 1 : 0;
        const int col = kind == 1 ? 3 : 4;
        const int row = kind == 1 ? 1 : 0;
        for (const auto &[x, y] : placed(kind, spawnOrient, col, row)) {
            Playfield f;
            f.Board[x][y] = 9;
            TCustObj piece(kind - 1, f);
            QVERIFY(piece.Blocked());
            QVERIFY(emptyGrid(f.FallLayer)); // never drawn
        }
        Playfield free;
        TCustObj piece(kind - 1, free);
        QVERIFY(!piece.Blocked());
    }
}

void TestPieces::dispatcherForwardsByKind()
{
    Playfield f;
    TCustObj t(2, f);
    QCOMPARE(t.Kind, 3);
    QVERIFY(
        t.TLetter && !t.Stick && !t.Diamonds && !t.LCurtch && !t.RCurtch && !t.LBend && !t.RBend);
    t.Shift(+1);
    QCOMPARE(t.TLetter->Col, 5);
    t.Rotate();
    QCOMPARE(t.TLetter->Orient, uint8_t(1));
    QVERIFY(t.StepDown());
    QCOMPARE(t.TLetter->Row, 1);

    // A kind outside the seven: no piece, nothing happens.
    for (int bad : {-1, 7, 100}) {
        Playfield g;
        TCustObj none(bad, g);
        QVERIFY(!none.Blocked());
        QVERIFY(!none.StepDown());
        none.Shift(1);
        none.Rotate();
        QVERIFY(emptyGrid(g.FallLayer));
        QVERIFY(emptyGrid(g.Board));
    }
}

QTEST_GUILESS_MAIN(TestPieces)
#include "tst_pieces.moc"
