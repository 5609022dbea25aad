#include "diamonds.h"

TDiamonds::TDiamonds(Playfield &field)
    : Orient(0)
    , Col(4)
    , Row(0)
    , m_field(field)
{
    if (!Blocked())
        Render();
}

const Footprint &TDiamonds::cells(uint8_t orient)
{
    static const Footprint footprints[Orientations] = {
        Footprint {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}}, // 0
    };
    return footprints[orient < Orientations ? orient : 0];
}

bool TDiamonds::Blocked() const
{
    return !cellsFree(m_field.Board, Col, Row, cells(0));
}

bool TDiamonds::StepDown()
{
    if (Row <= 17 && cellsFree(m_field.Board, Col, Row, {{0, 2}, {1, 2}})) {
        ++Row;
        Render();
        return true;
    }
    writeCells(m_field.Board, Col, Row, cells(Orient), Kind);
    return false;
}

void TDiamonds::Shift(int32_t delta)
{
    const int32_t target = Col + delta;
    if (target >= 0 && target <= 8 && cellsFree(m_field.Board, target, Row, cells(Orient)))
        Col = target;
    Render();
}

void TDiamonds::Rotate()
{
    // The square looks the same every way round: nothing turns, nothing is
    // drawn.
}

void TDiamonds::Render()
{
    renderPiece(m_field, Col, Row, cells(Orient), Kind);
}
