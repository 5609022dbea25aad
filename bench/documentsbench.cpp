// Opening and saving large documents in the main window: how long each
// command takes, and the longest time the window's thread was held up
// meanwhile (the gap between ticks of a 10 ms timer). Usage:
// documents-bench [FILE...]; without files it makes a 10 MB GBK text of
// Chinese lines and a 10 MB RTF with bold, coloured runs every few lines.

#include "desktop.h"
#include "dialogs.h"
#include "mainform.h"
#include "narrexlibrary.h"
#include "registry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>

namespace {

// Answers every dialog with the next file name.
class FixedDialogs final : public Dialogs
{
public:
    QStringList names;
    Answer message(QWidget *, const QString &text, const QString &, Icon, Buttons, bool) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return Answer::No;
    }
    QString openFileName(QWidget *, const QString &) override { return names.takeFirst(); }
    QString saveFileName(QWidget *, const QString &, const QString &) override
    {
        return names.takeFirst();
    }
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

// Runs command and reports its wall time and the longest stall of the
// event loop while it ran.
void measure(const char *what, const QString &file, const std::function<void()> &command)
{
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(
        &ticker, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
    ticker.start();
    sinceTick.start();
    QElapsedTimer wall;
    wall.start();
    command();
    longest = std::max(longest, sinceTick.elapsed());
    std::printf("%-5s %-22s %6lld ms in all, window held up %5lld ms at the most\n", what,
        qPrintable(QFileInfo(file).fileName()), wall.elapsed(), longest);
}

QString chineseLine(QRandomGenerator &random)
{
    QString line;
    const int n = 10 + int(random.bounded(50));
    for (int i = 0; i < n; ++i)
        line += QChar(char16_t(0x4E00 + random.bounded(0x9FA5 - 0x4E00)));
    return line + u'。';
}

void makeFiles(const QString &textPath, const QString &rtfPath)
{
    constexpr qint64 Size = 10 * 1024 * 1024;
    QRandomGenerator random(7);
    QStringEncoder gbk("GBK");
    QFile text(textPath);
    text.open(QIODevice::WriteOnly);
    while (text.size() < Size)
        text.write(QByteArray(gbk.encode(chineseLine(random) + QStringLiteral("\r\n"))));
    QFile rtf(rtfPath);
    rtf.open(QIODevice::WriteOnly);
    rtf.write("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fcharset134 SimSun;}}"
              "{\\colortbl ;\\red255\\green0\\blue0;}\n");
    for (int line = 0; rtf.size() < Size; ++line) {
        QByteArray escaped;
        for (char b : QByteArray(gbk.encode(chineseLine(random))))
            escaped += "\\'" + QByteArray::number(uchar(b), 16);
        if (line % 3 == 0)
            rtf.write("{\\b\\cf1 " + escaped.left(40) + "}" + escaped.mid(40) + "\\par\n");
        else
            rtf.write(escaped + "\\par\n");
    }
    rtf.write("}");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    NarrexLibrary library;
    if (!library.load(QCoreApplication::applicationDirPath())) {
        std::fprintf(stderr, "%s\n", qPrintable(library.errorString()));
        return 1;
    }
    NarrexEngine engine(library.functions());
    IniRegistry registry(dir.path());
    FixedDialogs dialogs;
    NoDesktop desktop;
    TMainForm form({&engine, &registry, &dialogs, &desktop});
    form.clockTimer().stop();
    form.show();
    QStringList files;
    for (int i = 1; i < argc; ++i)
        files << QString::fromLocal8Bit(argv[i]);
    if (files.isEmpty()) {
        files << dir.filePath("10MB.txt") << dir.filePath("10MB.rtf");
        makeFiles(files[0], files[1]);
    }
    for (const QString &file : std::as_const(files)) {
        dialogs.names << file;
        measure("open", file, [&] { form.SpeedButton7Click(); });
        // The window lays the text out as it shows it.
        measure("show", file, [&] {
            form.editor()->repaint();
            QCoreApplication::processEvents();
        });
        dialogs.names << dir.filePath("saved.rtf");
        measure("save", file, [&] { form.SpeedButton5Click(); });
    }
    form.close();
    return 0;
}
