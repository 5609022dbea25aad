#pragma once

class QWidget;

// For the start-up benchmark: when PARLIX_STARTUP_REPORT names a file, the
// wall-clock time of the main window's first finished paint is written into
// it (nanoseconds since the epoch). Without the variable nothing happens.
namespace StartupReport {
void watch(QWidget *window);
}
