#include "lcrutch.h"

TLCurtch::TLCurtch(Playfield &field)
    : Orient(0)
    , Col(4)
    , Row(0)
    , m_field(field)
{
    if (!Blocked())
        Render();
}

const Footprint &TLCurtch::cells(uint8_t orient)
{
    static const Footprint footprints[Orientations] = {
        Footprint {{{0, 0}, {1, 0}, {2, 0}, {0, 1}}}, // 0
        Footprint {{{0, 0}, {0, 1}, {0, 2}, {1, 2}}}, // 1
        Footprint {{{2, 1}, {0, 2}, {1, 2}, {2, 2}}}, // 2
        Footprint {{{1, 0}, {2, 0}, {2, 1}, {2, 2}}}, // 3
    };
    return footprints[orient < Orientations ? orient : 0];
}

bool TLCurtch::Blocked() const
{
    return !cellsFree(m_field.Board, Col, Row, cells(0));
}

bool TLCurtch::StepDown()
{
    bool moves = false;
    switch (Orient) {
    case 0:
        moves = Row <= 17 && cellsFree(m_field.Board, Col, Row, {{0, 2}, {1, 1}, {2, 1}});
        break;
    case 1:
        moves = Row <= 16 && cellsFree(m_field.Board, Col, Row, {{0, 3}, {1, 3}});
        break;
    case 2:
        moves = Row <= 16 && cellsFree(m_field.Board, Col, Row, {{0, 3}, {1, 3}, {2, 3}});
        break;
    case 3:
        moves = Row <= 16 && cellsFree(m_field.Board, Col, Row, {{1, 1}, {2, 3}});
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

void TLCurtch::Shift(int32_t delta)
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
    case 2:
        inRange = target >= 0 && target <= 7;
        break;
    case 3:
        inRange = target >= -1 && target <= 7;
        break;
    }
    if (inRange && cellsFree(m_field.Board, target, Row, cells(Orient)))
        Col = target;
    Render();
}

void TLCurtch::Rotate()
{
    // Only the cells the turn adds are tested.
    bool turns = false;
    switch (Orient) {
    case 0: // to 1
        turns = Row <= 17 && cellsFree(m_field.Board, Col, Row, {{0, 2}, {1, 2}});
        break;
    case 1: // to 2
        turns = Col <= 7 && cellsFree(m_field.Board, Col, Row, {{2, 1}, {2, 2}});
        break;
    case 2: // to 3
        turns = Row >= 1 && cellsFree(m_field.Board, Col, Row, {{1, 0}, {2, 0}});
        break;
    case 3: // to 0
        turns = Col >= 0 && cellsFree(m_field.Board, Col, Row, {{0, 0}, {0, 1}});
        break;
    }
    if (turns)
        Orient = uint8_t((Orient + 1) % Orientations);
    Render();
}

void TLCurtch::Render()
{
    renderPiece(m_field, Col, Row, cells(Orient), Kind);
}
