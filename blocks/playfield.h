#pragma once

// The game's two grids, 10 columns by 20 rows, indexed [column][row] with
// row 0 at the top. Board holds the landed cells, FallLayer only the falling
// piece (for drawing; no test ever reads it). A cell holds 0 when empty,
// else the kind code 1 … 7 of its piece, which is also the index of the cell
// image it is drawn with.
//
// The helpers here are shared by the seven piece classes, which each spell
// out their own cells and tests.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

constexpr int BoardColumns = 10;
constexpr int BoardRows = 20;

using Grid = std::array<std::array<uint8_t, BoardRows>, BoardColumns>;

struct Playfield {
    Grid Board {};
    Grid FallLayer {};
};

void clearGrid(Grid &grid);

// A cell of a piece as an offset from its reference cell: dx to the right,
// dy downwards.
struct Cell {
    int dx;
    int dy;
    bool operator==(const Cell &) const = default;
};
using Footprint = std::array<Cell, 4>;

// True when every cell, placed at (col, row), lies on the board and is empty
// in board.
bool cellsFree(const Grid &board, int col, int row, std::span<const Cell> cells);
inline bool cellsFree(const Grid &board, int col, int row, std::initializer_list<Cell> cells)
{
    return cellsFree(board, col, row, std::span<const Cell>(cells.begin(), cells.size()));
}

// Writes kind into the cells placed at (col, row) (those on the board).
void writeCells(Grid &grid, int col, int row, const Footprint &cells, uint8_t kind);

// Clears the fall layer and writes the piece into it.
void renderPiece(Playfield &field, int col, int row, const Footprint &cells, uint8_t kind);
