#pragma once

#include <QString>

class Registry;

// The main window's settings, kept in the registry key Software\Parlix:
// each value's name, type and default written once, here.
struct MainSettings {
    static inline const QString Key = QStringLiteral("Software\\Parlix");

    int sound = 1; // "Sound": the voice list's index
    int style = 3; // "Style": the style list's index
    bool repeat = false; // "Repeat": the repeat box
    bool highlight = true; // "Highlight": follow the reading in the editor

    // Reads the values in order from the open key; the first that cannot be
    // read ends it, leaving that one and those after it as they were. The
    // number of values read.
    int read(Registry &registry);
    // Writes all of them into the open key.
    void write(Registry &registry) const;
};
