#pragma once

#include <QString>

// What an engine result code means, from one table: in the program's words
// for the windows, and in English for the converter's console. NARREX_OK and
// codes the table does not know give an empty text for the windows (they say
// only that it failed) and the bare code for the console.
namespace EngineErrors {

QString forUser(int code);
QString forConsole(int code);

} // namespace EngineErrors
