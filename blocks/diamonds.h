#pragma once

#include "playfield.h"

// The square: two by two cells; it does not turn. Kind code 2, 1 orientation.
class TDiamonds
{
public:
    static constexpr uint8_t Kind = 2;
    static constexpr int Orientations = 1;

    // Takes its spawn place and shows itself there, unless that is blocked.
    explicit TDiamonds(Playfield &field);

    // The cells of an orientation, as offsets from the reference cell.
    static const Footprint &cells(uint8_t orient);

    // True when the spawn cells at Col, Row are taken in the board.
    bool Blocked() const;
    // One row down if it can (true); otherwise fixed into the board (false).
    bool StepDown();
    void Shift(int32_t delta);
    void Rotate();
    void Render();

    uint8_t Orient;
    int32_t Col;
    int32_t Row;

private:
    Playfield &m_field;
};
