#include "wavetool.h"

#include "narrex.h"
#include "narrexlibrary.h"
#include "textencoding.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <thread>

namespace WaveTool {

namespace {

void print(FILE *f, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
    std::fflush(f);
}

QString engineMessage(int code)
{
    switch (code) {
    case NARREX_ERR_NOTHING_TO_SPEAK: return QStringLiteral("the text has nothing to speak");
    case NARREX_ERR_FILE: return QStringLiteral("the WAV file could not be written (folder missing, not writable, or disk full)");
    case NARREX_ERR_SYNTHESIS: return QStringLiteral("the synthesiser failed");
    default: return QStringLiteral("the engine gave error %1").arg(code);
    }
}

void drawProgress(FILE *err, int percent)
{
    constexpr int Width = 40;
    const int filled = percent * Width / 100;
    QString bar = QStringLiteral("\r[") + QString(filled, u'#') + QString(Width - filled, u'.')
        + QStringLiteral("] %1%").arg(percent, 3);
    print(err, bar);
}

} // namespace

int run(const QStringList &arguments, FILE *out, FILE *err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts a text file (GBK or UTF-8) into speech in a WAV file.\n"
        "INPUT may be - for standard input."));
    parser.addPositionalArgument(QStringLiteral("INPUT"), QStringLiteral("The text file to read."));
    parser.addPositionalArgument(QStringLiteral("OUTPUT"), QStringLiteral("The WAV file to write."));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    const QCommandLineOption voiceOption(QStringList{QStringLiteral("v"), QStringLiteral("voice")},
                                         QStringLiteral("female (default) or male."),
                                         QStringLiteral("voice"), QStringLiteral("female"));
    const QCommandLineOption encodingOption(
        QStringList{QStringLiteral("e"), QStringLiteral("encoding")},
        QStringLiteral("auto (default: byte-order mark, then UTF-8 if valid, else GBK), utf-8, gbk."),
        QStringLiteral("encoding"), QStringLiteral("auto"));
    const QCommandLineOption speedOption(
        QStringList{QStringLiteral("s"), QStringLiteral("speed")},
        QStringLiteral("Speaking speed 0-100: 50 normal (default), 0 half, 100 double."),
        QStringLiteral("speed"), QStringLiteral("50"));
    const QCommandLineOption progressOption(QStringLiteral("progress"),
                                            QStringLiteral("Always show the progress bar."));
    const QCommandLineOption quietOption(QStringList{QStringLiteral("q"), QStringLiteral("quiet")},
                                         QStringLiteral("Show no progress bar."));
    parser.addOptions({helpOption, voiceOption, encodingOption, speedOption, progressOption,
                       quietOption});

    if (!parser.parse(arguments)) {
        print(err, QStringLiteral("parlix-wave: %1\nTry 'parlix-wave --help'.\n").arg(parser.errorText()));
        return UsageError;
    }
    if (parser.isSet(helpOption)) {
        print(out, parser.helpText().replace(QStringLiteral("[options]"),
                                             QStringLiteral("[options] INPUT OUTPUT")));
        return Ok;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        print(err, QStringLiteral("parlix-wave: give exactly one INPUT and one OUTPUT file.\n"
                                  "Try 'parlix-wave --help'.\n"));
        return UsageError;
    }
    const QString voice = parser.value(voiceOption).toLower();
    if (voice != QLatin1String("female") && voice != QLatin1String("male")) {
        print(err, QStringLiteral("parlix-wave: unknown voice '%1' (female or male).\n").arg(voice));
        return UsageError;
    }
    bool speedOk = false;
    const int speed = parser.value(speedOption).toInt(&speedOk);
    if (!speedOk || speed < 0 || speed > 100) {
        print(err, QStringLiteral("parlix-wave: speed must be a number from 0 to 100.\n"));
        return UsageError;
    }
    const QString encodingName = parser.value(encodingOption).toLower();
    if (encodingName != QLatin1String("auto") && encodingName != QLatin1String("utf-8")
        && encodingName != QLatin1String("utf8") && encodingName != QLatin1String("gbk")) {
        print(err, QStringLiteral("parlix-wave: unknown encoding '%1' (auto, utf-8 or gbk).\n")
                       .arg(encodingName));
        return UsageError;
    }

    // Read the text.
    QFile input;
    bool opened;
    if (args.at(0) == QLatin1String("-")) {
        opened = input.open(stdin, QIODevice::ReadOnly);
    } else {
        input.setFileName(args.at(0));
        opened = input.open(QIODevice::ReadOnly);
    }
    const QByteArray raw = opened ? input.readAll() : QByteArray();
    if (!opened || input.error() != QFileDevice::NoError) {
        print(err, QStringLiteral("parlix-wave: cannot read %1: %2\n").arg(args.at(0), input.errorString()));
        return InputError;
    }
    using TextEncoding::Encoding;
    Encoding encoding = TextEncoding::detect(raw);
    if (encodingName == QLatin1String("gbk"))
        encoding = Encoding::Gbk;
    else if (encodingName != QLatin1String("auto"))
        encoding = Encoding::Utf8;
    QString text = TextEncoding::decode(raw, encoding);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QChar(u'\0'), QChar(u' ')); // the engine takes zero-terminated text
    const TextEncoding::GbkResult gbk = TextEncoding::toGbk(text);
    if (gbk.unencodableCount > 0) {
        const qsizetype at = gbk.firstUnencodable;
        const int line = int(QStringView(text).left(at).count(u'\n')) + 1;
        const QString ch = text.mid(at, text.at(at).isHighSurrogate() ? 2 : 1);
        print(err, QStringLiteral("parlix-wave: %1 character(s) cannot be spoken (outside GBK) and are skipped; the first is \"%2\" on line %3.\n")
                       .arg(gbk.unencodableCount).arg(ch).arg(line));
    }
    if (text.trimmed().isEmpty()) {
        print(err, QStringLiteral("parlix-wave: %1 holds no text to speak.\n").arg(args.at(0)));
        return InputError;
    }

    const QString outputPath = QFileInfo(args.at(1)).absoluteFilePath();
    const TextEncoding::GbkResult gbkPath = TextEncoding::toGbk(QDir::toNativeSeparators(outputPath));
    if (gbkPath.unencodableCount > 0) {
        print(err, QStringLiteral("parlix-wave: the output path %1 has characters the engine cannot take (outside GBK).\n").arg(outputPath));
        return ConversionError;
    }

    NarrexLibrary library;
    if (!library.load(QCoreApplication::applicationDirPath())) {
        print(err, QStringLiteral("parlix-wave: %1\n").arg(library.errorString()));
        return EngineMissing;
    }
    NarrexEngine engine(library.functions());
    const int init = engine.initialize(nullptr, nullptr, -1, -1, -1, 0, 0);
    if (init != NARREX_OK) {
        print(err, QStringLiteral("parlix-wave: the speech engine did not start (%1).\n").arg(init));
        return EngineMissing;
    }

    const bool male = voice == QLatin1String("male");
    std::atomic<int> result{0};
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        result = engine.speakToWave(gbk.bytes, gbkPath.bytes, male ? 20 : 10, male ? 1 : 4, speed,
                                    100, 30, 1, QByteArray());
        finished = true;
    });
    const bool showProgress = !parser.isSet(quietOption)
        && (parser.isSet(progressOption) || isatty(fileno(err)));
    int shown = -1;
    while (!finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const int percent = std::clamp(engine.locationInfo(), 0, 100);
        if (showProgress && percent != shown && !finished) {
            drawProgress(err, percent);
            shown = percent;
        }
    }
    worker.join();
    if (showProgress && result == NARREX_OK)
        drawProgress(err, 100);
    if (showProgress)
        print(err, QStringLiteral("\n"));
    engine.close();

    if (result != NARREX_OK) {
        print(err, QStringLiteral("parlix-wave: conversion failed: %1.\n").arg(engineMessage(result)));
        return ConversionError;
    }
    return Ok;
}

} // namespace WaveTool
