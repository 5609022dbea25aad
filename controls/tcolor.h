#pragma once

// Colours as the program's windows store them: a 32-bit value 0x00BBGGRR
// (red in the lowest byte), or a system colour when the top byte is 0xFF, the
// low byte then naming the system colour (15 is the face of buttons). System
// colours are resolved through a palette only when something is drawn, so a
// change of palette or style shows at the next paint.

#include <QColor>
#include <QPalette>

#include <cstdint>

using TColor = uint32_t;

namespace Colors {
constexpr TColor Black = 0x000000;
constexpr TColor Maroon = 0x000080;
constexpr TColor Green = 0x008000;
constexpr TColor Olive = 0x008080;
constexpr TColor Navy = 0x800000;
constexpr TColor Purple = 0x800080;
constexpr TColor Teal = 0x808000;
constexpr TColor Gray = 0x808080;
constexpr TColor Silver = 0xC0C0C0;
constexpr TColor Red = 0x0000FF;
constexpr TColor Lime = 0x00FF00;
constexpr TColor Yellow = 0x00FFFF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Fuchsia = 0xFF00FF;
constexpr TColor Aqua = 0xFFFF00;
constexpr TColor White = 0xFFFFFF;

constexpr TColor SystemFlag = 0xFF000000;
constexpr TColor ActiveBorder = SystemFlag | 10;
constexpr TColor BtnFace = SystemFlag | 15;
constexpr TColor BtnShadow = SystemFlag | 16;
constexpr TColor BtnHighlight = SystemFlag | 20;
constexpr TColor DkShadow3D = SystemFlag | 21;
constexpr TColor InfoText = SystemFlag | 23;
constexpr TColor InfoBk = SystemFlag | 24;
constexpr TColor GradientActiveCaption = SystemFlag | 27;
} // namespace Colors

constexpr bool isSystemColor(TColor c)
{
    return (c & 0xFF000000u) == Colors::SystemFlag;
}

constexpr TColor rgbToTColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | TColor(g & 0xFF) << 8 | TColor(b & 0xFF) << 16;
}

// The colour to draw with: plain colours as they are, system colours from
// palette (the closest role of a Qt palette for each Windows system colour).
QColor toQColor(TColor c, const QPalette &palette);
