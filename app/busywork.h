#pragma once

#include "backgroundwork.h"

#include <QObject>

#include <utility>

// Work that holds up the main window's commands (opening a large file,
// writing speech into a file): it runs off the window's thread while the
// window keeps painting, and a close asked for meanwhile waits for it.
class BusyWork : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool isBusy() const { return m_busy; }

    template <typename Work> auto run(Work work)
    {
        m_busy = true;
        auto result = runInBackground(std::move(work));
        m_busy = false;
        if (std::exchange(m_closeRequested, false))
            emit closeNow();
        return result;
    }

    // The window is asked to close while busy: it closes when the work is done.
    void deferClose() { m_closeRequested = true; }

signals:
    void closeNow();

private:
    bool m_busy = false;
    bool m_closeRequested = false;
};
