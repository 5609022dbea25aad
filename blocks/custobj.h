#pragma once

// The falling piece as the game sees it: TCustObj owns one object of one of
// the seven piece classes, chosen by its kind code, and hands every request
// to it through a switch on the kind. It also removes full rows from the
// board.

#include "playfield.h"

class TStick;
class TDiamonds;
class TTLetter;
class TLCurtch;
class TRCurtch;
class Tlbend;
class TRBend;

class TCustObj
{
public:
    // kindIndex 0 … 6 makes the piece of kind code kindIndex + 1 at its spawn
    // place; any other index makes an object without a piece, whose
    // operations do nothing and answer false.
    TCustObj(int kindIndex, Playfield &field);
    ~TCustObj();
    TCustObj(const TCustObj &) = delete;
    TCustObj &operator=(const TCustObj &) = delete;

    bool Blocked() const;
    bool StepDown();
    void Shift(int32_t delta);
    void Rotate();
    // Removes every full row of the board; returns how many.
    int ClearRows();

    TStick *Stick = nullptr;
    TDiamonds *Diamonds = nullptr;
    TTLetter *TLetter = nullptr;
    TLCurtch *LCurtch = nullptr;
    TRCurtch *RCurtch = nullptr;
    Tlbend *LBend = nullptr;
    TRBend *RBend = nullptr;
    int32_t Kind = 0;

private:
    Playfield &m_field;
};
