#pragma once

#include <QEventLoop>
#include <QMetaObject>

#include <optional>
#include <thread>

// Runs work on a thread of its own and waits for it while the window keeps
// painting and its timers keep ticking; clicks and keys wait until the work
// is done. For the few jobs that take long (opening a large file, writing
// speech into a WAV file) but must finish before the command goes on.
template <typename Work> auto runInBackground(Work work) -> decltype(work())
{
    QEventLoop loop;
    std::optional<decltype(work())> result;
    std::thread worker([&] {
        result.emplace(work());
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    return std::move(*result);
}
