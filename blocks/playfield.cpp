#include "playfield.h"

void clearGrid(Grid &grid)
{
    for (auto &column : grid)
        column.fill(0);
}

bool cellsFree(const Grid &board, int col, int row, std::span<const Cell> cells)
{
    for (const Cell &c : cells) {
        const int x = col + c.dx;
        const int y = row + c.dy;
        if (x < 0 || x >= BoardColumns || y < 0 || y >= BoardRows || board[x][y] != 0)
            return false;
    }
    return true;
}

void writeCells(Grid &grid, int col, int row, const Footprint &cells, uint8_t kind)
{
    for (const Cell &c : cells) {
        const int x = col + c.dx;
        const int y = row + c.dy;
        if (x >= 0 && x < BoardColumns && y >= 0 && y < BoardRows)
            grid[x][y] = kind;
    }
}

void renderPiece(Playfield &field, int col, int row, const Footprint &cells, uint8_t kind)
{
    clearGrid(field.FallLayer);
    writeCells(field.FallLayer, col, row, cells, kind);
}
