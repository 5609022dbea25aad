#include "custobj.h"

#include "diamonds.h"
#include "lbend.h"
#include "lcrutch.h"
#include "rbend.h"
#include "rcrutch.h"
#include "stick.h"
#include "tletter.h"

TCustObj::TCustObj(int kindIndex, Playfield &field)
    : Kind(kindIndex + 1)
    , m_field(field)
{
    switch (Kind) {
    case 1:
        Stick = new TStick(field);
        break;
    case 2:
        Diamonds = new TDiamonds(field);
        break;
    case 3:
        TLetter = new TTLetter(field);
        break;
    case 4:
        LCurtch = new TLCurtch(field);
        break;
    case 5:
        RCurtch = new TRCurtch(field);
        break;
    case 6:
        LBend = new Tlbend(field);
        break;
    case 7:
        RBend = new TRBend(field);
        break;
    default:
        Kind = 0;
        break;
    }
}

TCustObj::~TCustObj()
{
    delete Stick;
    delete Diamonds;
    delete TLetter;
    delete LCurtch;
    delete RCurtch;
    delete LBend;
    delete RBend;
}

bool TCustObj::Blocked() const
{
    switch (Kind) {
    case 1:
        return Stick->Blocked();
    case 2:
        return Diamonds->Blocked();
    case 3:
        return TLetter->Blocked();
    case 4:
        return LCurtch->Blocked();
    case 5:
        return RCurtch->Blocked();
    case 6:
        return LBend->Blocked();
    case 7:
        return RBend->Blocked();
    default:
        return false;
    }
}

bool TCustObj::StepDown()
{
    switch (Kind) {
    case 1:
        return Stick->StepDown();
    case 2:
        return Diamonds->StepDown();
    case 3:
        return TLetter->StepDown();
    case 4:
        return LCurtch->StepDown();
    case 5:
        return RCurtch->StepDown();
    case 6:
        return LBend->StepDown();
    case 7:
        return RBend->StepDown();
    default:
        return false;
    }
}

void TCustObj::Shift(int32_t delta)
{
    switch (Kind) {
    case 1:
        Stick->Shift(delta);
        break;
    case 2:
        Diamonds->Shift(delta);
        break;
    case 3:
        TLetter->Shift(delta);
        break;
    case 4:
        LCurtch->Shift(delta);
        break;
    case 5:
        RCurtch->Shift(delta);
        break;
    case 6:
        LBend->Shift(delta);
        break;
    case 7:
        RBend->Shift(delta);
        break;
    default:
        break;
    }
}

void TCustObj::Rotate()
{
    switch (Kind) {
    case 1:
        Stick->Rotate();
        break;
    case 2:
        Diamonds->Rotate();
        break;
    case 3:
        TLetter->Rotate();
        break;
    case 4:
        LCurtch->Rotate();
        break;
    case 5:
        RCurtch->Rotate();
        break;
    case 6:
        LBend->Rotate();
        break;
    case 7:
        RBend->Rotate();
        break;
    default:
        break;
    }
}

int TCustObj::ClearRows()
{
    // Top to bottom. A full row is removed by moving every row above it one
    // down; the rows that moved were examined already, so one pass is enough.
    Grid &board = m_field.Board;
    int removed = 0;
    for (int r = 0; r < BoardRows; ++r) {
        bool full = true;
        for (int c = 0; c < BoardColumns && full; ++c)
            full = board[c][r] != 0;
        if (!full)
            continue;
        for (int k = r - 1; k >= 0; --k) {
            for (int c = 0; c < BoardColumns; ++c)
                board[c][k + 1] = board[c][k];
        }
        for (int c = 0; c < BoardColumns; ++c)
            board[c][0] = 0;
        ++removed;
    }
    return removed;
}
