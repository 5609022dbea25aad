// Measures the engine from inside: time from speak() to the first sample
// handed to the output, and the peak memory of a reading of a given text.
//
//   narrex-bench first-sample FILE [RUNS]   median and worst delay in ms
//   narrex-bench read FILE SECONDS          peak resident memory in MB
//   narrex-bench frontend FILE [RUNS]       the text front-end alone over the
//                                           whole text, sentence by sentence
//
// FILE is GBK or UTF-8 text. The silent output is used, as on a server.

#include "engine.h"
#include "gbktext.h"
#include "pinyindata.h"
#include "speechfrontend.h"
#include "textencoding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

// Resident memory of the reading data's mapping, from /proc/self/smaps.
static double dataResidentMb()
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    bool inData = false;
    double kb = 0;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        if (line.contains("-") && line.contains(" r")) // a mapping's first line
            inData = line.endsWith("sonarel-pinyin.dat");
        else if (inData && line.startsWith("Rss:"))
            kb += line.mid(4).trimmed().split(' ').first().toDouble();
    }
    return kb / 1024;
}

static double peakMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

int main(int argc, char *argv[])
{
    qputenv("NARREX_AUDIO", "silent");
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: narrex-bench first-sample FILE [RUNS] | read FILE SECONDS\n");
        return 2;
    }
    QFile file(args.at(2));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(2)));
        return 3;
    }
    const QByteArray text = TextEncoding::toGbk(TextEncoding::decode(file.readAll()).text).bytes;
    file.close();

    if (args.at(1) == QLatin1String("frontend")) {
        // As the engine walks a text: sentence by sentence from the GBK bytes,
        // each turned into runs for the synthesiser. The data is opened first.
        const PinyinData *data = PinyinData::shared();
        const int runs = args.size() > 3 ? args.at(3).toInt() : 5;
        std::vector<double> ms;
        qint64 syllables = 0;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            SpeechFrontEnd frontEnd(data);
            TextPieceReader reader(text);
            TextPiece piece;
            syllables = 0;
            while (reader.next(piece)) {
                for (const SpeechRun &run : frontEnd.process(piece.text, false))
                    syllables += qint64(run.tokens.size());
            }
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("front-end: %lld KB of text, %lld spoken tokens, median %.0f ms, worst %.0f ms "
                    "over %d runs, peak memory %.1f MB\n",
            text.size() / 1024, syllables, ms[ms.size() / 2], ms.back(), runs, peakMb());
        return 0;
    }

    Engine engine;
    NarrexNotifyTarget none {};
    if (engine.initialize(&none) != NARREX_OK)
        return 4;
    QThread::msleep(300); // let the engine load its voice, as it does while the program starts

    if (args.at(1) == QLatin1String("first-sample")) {
        const int runs = args.size() > 3 ? args.at(3).toInt() : 5;
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            engine.speak(text, 4, 50, 100);
            QElapsedTimer wait;
            wait.start();
            while (engine.firstSampleDelayNs() < 0 && wait.elapsed() < 5000)
                QThread::usleep(200);
            ms.push_back(engine.firstSampleDelayNs() / 1e6);
            engine.stop();
            QThread::msleep(100);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("first sample: median %.1f ms, worst %.1f ms over %d runs\n", ms[ms.size() / 2],
            ms.back(), runs);
    } else if (args.at(1) == QLatin1String("read")) {
        const int seconds = args.size() > 3 ? args.at(3).toInt() : 5;
        engine.speak(text, 4, 50, 100);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < seconds * 1000) {
            QCoreApplication::processEvents();
            QThread::msleep(20);
        }
        std::printf("reading %lld KB of text for %d s: progress %d %%, peak memory %.1f MB, "
                    "reading data resident %.1f MB\n",
            text.size() / 1024, seconds, engine.location(), peakMb(), dataResidentMb());
    }
    engine.shutdown();
    return 0;
}
