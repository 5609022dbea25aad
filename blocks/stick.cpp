#include "stick.h"

TStick::TStick(Playfield &field)
    : Orient(1)
    , Col(3)
    , Row(1)
    , m_field(field)
{
    if (!Blocked())
        Render();
}

const Footprint &TStick::cells(uint8_t orient)
{
    static const Footprint footprints[Orientations] = {
        Footprint {{{0, 0}, {0, 1}, {0, 2}, {0, 3}}}, // 0
        Footprint {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}, // 1
    };
    return footprints[orient < Orientations ? orient : 0];
}

bool TStick::Blocked() const
{
    return !cellsFree(m_field.Board, Col, Row, cells(1));
}

bool TStick::StepDown()
{
    bool moves = false;
    switch (Orient) {
    case 0:
        moves = Row <= 15 && cellsFree(m_field.Board, Col, Row, {{0, 4}});
        break;
    case 1:
        moves = Row <= 18 && cellsFree(m_field.Board, Col, Row, {{0, 1}, {1, 1}, {2, 1}, {3, 1}});
        break;
    }
    if (moves) {
        ++Row;
        Render();
        return true;
    }
    writeCells(m_field.Board, Col, Row, cells(Orient), Kind);
    return false;
}

void TStick::Shift(int32_t delta)
{
    const int32_t target = Col + delta;
    bool inRange = false;
    switch (Orient) {
    case 0:
        inRange = target >= 0 && target <= 9;
        break;
    case 1:
        inRange = target >= 0 && target <= 6;
        break;
    }
    if (inRange && cellsFree(m_field.Board, target, Row, cells(Orient)))
        Col = target;
    Render();
}

void TStick::Rotate()
{
    // The stick turns about its second cell, so its reference cell moves;
    // all four cells of the new place are tested.
    switch (Orient) {
    case 0:
        if (Col >= 1 && Col <= 7
            && cellsFree(m_field.Board, Col - 1, Row + 1, {{0, 0}, {1, 0}, {2, 0}, {3, 0}})) {
            Orient = 1;
            Col -= 1;
            Row += 1;
        }
        break;
    case 1:
        if (Row >= 1 && Row <= 17
            && cellsFree(m_field.Board, Col + 1, Row - 1, {{0, 0}, {0, 1}, {0, 2}, {0, 3}})) {
            Orient = 0;
            Col += 1;
            Row -= 1;
        }
        break;
    }
    Render();
}

void TStick::Render()
{
    renderPiece(m_field, Col, Row, cells(Orient), Kind);
}
