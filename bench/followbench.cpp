// Following a reading of a 1 MB text in the editor: the CPU the window's
// thread spends while the sentence highlight follows the reading (against
// the same reading with the highlight off), and how soon the highlight
// moves after the engine's position does. Usage: follow-bench [seconds]

#include "desktop.h"
#include "dialogs.h"
#include "mainform.h"
#include "narrexlibrary.h"
#include "registry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

class NoDialogs final : public Dialogs
{
public:
    Answer message(QWidget *, const QString &, const QString &, Icon, Buttons, bool) override
    {
        return Answer::No;
    }
    QString openFileName(QWidget *, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &) override { return {}; }
    bool chooseFont(QWidget *, QFont &) override { return false; }
    bool printerSetup(QWidget *, QPrinter &) override { return false; }
};

class NoDesktop final : public Desktop
{
public:
    bool startSystemTool(SystemTool, QWidget *) override { return false; }
    void openUrl(const QString &) override { }
    bool openHelp(const QString &) override { return false; }
    bool createDesktopShortcut(QString *) override { return false; }
};

double threadCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double processCpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
        + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// About a megabyte of GBK: Chinese sentences of 8 to 30 characters.
QString megabyteText()
{
    QRandomGenerator random(11);
    QString text;
    while (text.size() < 512 * 1024) {
        const int n = 8 + int(random.bounded(22));
        for (int i = 0; i < n; ++i)
            text += QChar(char16_t(0x4E00 + random.bounded(0x9FA5 - 0x4E00)));
        text += random.bounded(5) == 0 ? QStringLiteral("。\n") : QStringLiteral("。");
    }
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 15;
    QTemporaryDir dir;
    NarrexLibrary library;
    if (!library.load(QCoreApplication::applicationDirPath())) {
        std::fprintf(stderr, "%s\n", qPrintable(library.errorString()));
        return 1;
    }
    NarrexEngine engine(library.functions());
    IniRegistry registry(dir.path());
    NoDialogs dialogs;
    NoDesktop desktop;
    TMainForm form({&engine, &registry, &dialogs, &desktop});
    form.clockTimer().stop();
    form.show();
    form.editor()->setPlainText(megabyteText());
    form.SpeedButton4Click();
    wait(1000);

    for (const bool on : {true, false}) {
        form.setFollowsReading(on);
        wait(500);
        const double thread0 = threadCpuSeconds();
        const double process0 = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        wait(seconds * 1000);
        const double elapsed = wall.elapsed() / 1000.0;
        std::printf("highlight %-3s: window thread %.2f %% CPU, whole program %.1f %% CPU\n",
            on ? "on" : "off", 100 * (threadCpuSeconds() - thread0) / elapsed,
            100 * (processCpuSeconds() - process0) / elapsed);
    }

    // How long after the engine moves to a new word the editor shows it.
    form.setFollowsReading(true);
    int32_t lastEngine = -1;
    int lastShown = -1;
    QElapsedTimer clock;
    clock.start();
    qint64 engineMovedAt = 0;
    QList<qint64> delays;
    QTimer probe;
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        int32_t word = -1;
        engine.speakingRange(nullptr, nullptr, &word, nullptr);
        if (word != lastEngine) {
            lastEngine = word;
            engineMovedAt = clock.elapsed();
        }
        const QList<QTextEdit::ExtraSelection> s = form.editor()->extraSelections();
        const int shown = s.size() < 2 ? -1 : s[1].cursor.selectionStart();
        if (shown != lastShown) {
            lastShown = shown;
            if (engineMovedAt > 0)
                delays << clock.elapsed() - engineMovedAt;
        }
    });
    probe.start();
    wait(seconds * 1000);
    probe.stop();
    std::sort(delays.begin(), delays.end());
    if (!delays.isEmpty())
        std::printf("highlight follows the engine after %lld ms (median), %lld ms at the most, "
                    "over %lld words (target < 100 ms)\n",
            delays[delays.size() / 2], delays.last(), qint64(delays.size()));
    form.close();
    return 0;
}
