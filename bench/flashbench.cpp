// The Flash window with its real player: how long from picking a movie to
// its first frame on screen, and the memory of the program and every
// process it started (the web engine's) before the window opens, while a
// movie plays, and after the window has closed.
//
// Usage: flash-bench [rounds]   (plays FlashGame/数星星.swf beside it)

#include "dialogs.h"
#include "flashfrm.h"
#include "flashplayer.h"
#include "flashsupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QTimer>

#include <functional>

#include <cstdio>
#include <unistd.h>

namespace {

class QuietDialogs final : public Dialogs
{
public:
    Answer message(QWidget *, const QString &text, const QString &, Icon, Buttons, bool) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        ++messages;
        return Answer::Ok;
    }
    QString openFileName(QWidget *, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &) override { return {}; }
    bool chooseFont(QWidget *, QFont &) override { return false; }
    bool printerSetup(QWidget *, QPrinter &) override { return false; }
    int messages = 0;
};

// Runs the event loop (the web engine's work runs in it) until done() or
// the time is up.
bool runUntil(const std::function<bool()> &done, int ms)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(5);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void pause(int ms)
{
    runUntil([] { return false; }, ms);
}

// Proportional set size: pages shared between processes (the web
// engine's helpers are forked from one another) counted once in all.
// Anonymous: memory not backed by any file (heaps, the page's data),
// what the program itself holds beyond the code it has loaded.
struct Memory {
    qint64 pss = 0;
    qint64 anonymous = 0;
};

Memory memoryOf(int pid)
{
    Memory m;
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        const qint64 kb
            = line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong();
        if (line.startsWith("Pss:"))
            m.pss = kb;
        else if (line.startsWith("Anonymous:"))
            m.anonymous = kb;
    }
    return m;
}

// This process and all its descendants.
Memory treeMemory()
{
    QHash<int, int> parents;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const int pid = entry.toInt(&ok);
        if (!ok)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        parents.insert(pid, fields.value(1).toInt());
    }
    Memory total;
    for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
        for (int p = it.key(); p > 1; p = parents.value(p, 0)) {
            if (p == int(::getpid())) {
                const Memory m = memoryOf(it.key());
                total.pss += m.pss;
                total.anonymous += m.anonymous;
                break;
            }
        }
    }
    return total;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    const QString movie = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("数星星.swf");
    QuietDialogs dialogs;
    TFlashFrm window(TFlashFrm::standardServices(dialogs));
    int firstFrames = 0;

    const Memory before = treeMemory();
    for (int round = 0; round < rounds; ++round) {
        window.show();
        pause(200);
        const QList<QListWidgetItem *> items
            = window.fileList()->findItems(movie, Qt::MatchExactly);
        if (items.isEmpty()) {
            std::fprintf(
                stderr, "no %s in %s\n", qPrintable(movie), qPrintable(window.gameFolder()));
            return 1;
        }
        window.fileList()->setCurrentItem(items.first());
        QElapsedTimer clock;
        clock.start();
        window.FileListBox1Click();
        if (!window.player())
            return 1;
        window.player()->onFirstFrame = [&] { ++firstFrames; };
        if (!runUntil([&] { return firstFrames > round; }, 30000)) {
            std::fprintf(stderr, "no first frame\n");
            return 1;
        }
        const qint64 first = clock.elapsed();
        pause(2000);
        const Memory playing = treeMemory();
        window.close();
        pause(3000);
        const Memory after = treeMemory();
        std::printf("round %d: first frame %lld ms\n", round + 1, first);
        std::printf("round %d: memory (PSS, all processes) before %.1f MB, playing %.1f MB, after "
                    "closing %.1f MB (%+.1f MB)\n",
            round + 1, before.pss / 1024.0, playing.pss / 1024.0, after.pss / 1024.0,
            (after.pss - before.pss) / 1024.0);
        std::printf("round %d: anonymous memory before %.1f MB, playing %.1f MB, after closing "
                    "%.1f MB (%+.1f MB)\n",
            round + 1, before.anonymous / 1024.0, playing.anonymous / 1024.0,
            after.anonymous / 1024.0, (after.anonymous - before.anonymous) / 1024.0);
        std::fflush(stdout);
    }
    return dialogs.messages == 0 ? 0 : 1;
}
