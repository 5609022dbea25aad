#pragma once

#include <QStringList>

#include <cstdio>

// parlix-wave: converts a text file into a WAV file with the program's
// speech engine, the way the main window's "to Wave" buttons do.
namespace WaveTool {

enum ExitCode {
    Ok = 0,
    UsageError = 2,
    InputError = 3,
    ConversionError = 4,
    EngineMissing = 5,
};

int run(const QStringList &arguments, FILE *out, FILE *err);

} // namespace WaveTool
