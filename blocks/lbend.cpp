#include "lbend.h"

Tlbend::Tlbend(Playfield &field)
    : Orient(0)
    , Col(4)
    , Row(0)
    , m_field(field)
{
    if (!Blocked())
        Render();
}

const Footprint &Tlbend::cells(uint8_t orient)
{
    static const Footprint footprints[Orientations] = {
        Footprint {{{0, 0}, {1, 0}, {1, 1}, {2, 1}}}, // 0
        Footprint {{{1, 0}, {0, 1}, {1, 1}, {0, 2}}}, // 1
    };
    return footprints[orient < Orientations ? orient : 0];
}

bool Tlbend::Blocked() const
{
    return !cellsFree(m_field.Board, Col, Row, cells(0));
}

bool Tlbend::StepDown()
{
    bool moves = false;
    switch (Orient) {
    case 0:
        moves = Row <= 17 && cellsFree(m_field.Board, Col, Row, {{0, 1}, {1, 2}, {2, 2}});
        break;
    case 1:
        moves = Row <= 16 && cellsFree(m_field.Board, Col, Row, {{0, 3}, {1, 2}});
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

void Tlbend::Shift(int32_t delta)
{
    const int32_t target = Col + delta;
    bool inRange = false;
    switch (Orient) {
    case 0:
        inRange = target >= 0 && target <= 7;
        break;
    case 1:
        inRange = target >= 0 && target <= 8;
        break;
    }
    if (inRange && cellsFree(m_field.Board, target, Row, cells(Orient)))
        Col = target;
    Render();
}

void Tlbend::Rotate()
{
    // Only the cells the turn adds are tested.
    bool turns = false;
    switch (Orient) {
    case 0: // to 1
        turns = Row <= 17 && cellsFree(m_field.Board, Col, Row, {{0, 1}, {0, 2}});
        break;
    case 1: // to 0
        turns = Col <= 7 && cellsFree(m_field.Board, Col, Row, {{0, 0}, {2, 1}});
        break;
    }
    if (turns)
        Orient = uint8_t((Orient + 1) % Orientations);
    Render();
}

void Tlbend::Render()
{
    renderPiece(m_field, Col, Row, cells(Orient), Kind);
}
