#pragma once

#include <QString>
#include <QStringList>

// The windows name the fonts of a Windows desktop (宋体, 黑体, Tahoma, MS
// Sans Serif, Arial). install() maps each to the nearest face installed
// here, so that 宋体 shows in a Song (serif) CJK face, 黑体 in a sans one,
// and no Chinese text falls back to empty boxes.
namespace FontMapping {

void install();

// The installed families tried for a Windows family, best first; empty for
// a family the program does not map.
QStringList candidates(const QString &windowsFamily);

} // namespace FontMapping
