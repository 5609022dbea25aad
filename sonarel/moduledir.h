#pragma once

#include <QString>

// The folder of the binary (the engine library, or the program it is linked
// into) that holds this code: where the engine looks for the data it ships.
namespace ModuleDir {

QString ofThisCode();

} // namespace ModuleDir
