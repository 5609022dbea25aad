#pragma once

#include "playfield.h"

// The mirrored L: three cells in a row and one under the last. Kind code 5, 4 orientations.
class TRCurtch
{
public:
    static constexpr uint8_t Kind = 5;
    static constexpr int Orientations = 4;

    // Takes its spawn place and shows itself there, unless that is blocked.
    explicit TRCurtch(Playfield &field);

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
