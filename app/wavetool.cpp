#include "wavetool.h"

#include "engineerrors.h"
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
#include <optional>
#include <thread>

namespace WaveTool {

namespace {

void print(FILE *f, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
    std::fflush(f);
}

void drawProgress(FILE *err, int percent)
{
    constexpr int Width = 40;
    const int filled = percent * Width / 100;
    QString bar = QStringLiteral("\r[") + QString(filled, u'#') + QString(Width - filled, u'.')
        + QStringLiteral("] %1%").arg(percent, 3);
    print(err, bar);
}

// Reads INPUT ("-" for standard input) as the converter's text, decoded
// by the encoding option; false (with a message printed) when it cannot.
bool readInput(const QString &name, const QString &encodingName, QString *text, FILE *err)
{
    QFile input;
    bool opened;
    if (name == QLatin1String("-")) {
        opened = input.open(stdin, QIODevice::ReadOnly);
    } else {
        input.setFileName(name);
        opened = input.open(QIODevice::ReadOnly);
    }
    const QByteArray raw = opened ? input.readAll() : QByteArray();
    if (!opened || input.error() != QFileDevice::NoError) {
        print(err,
            QStringLiteral("parlix-wave: cannot read %1: %2\n").arg(name, input.errorString()));
        return false;
    }
    using TextEncoding::Encoding;
    Encoding encoding = TextEncoding::detect(raw);
    if (encodingName == QLatin1String("gbk"))
        encoding = Encoding::Gbk;
    else if (encodingName != QLatin1String("auto"))
        encoding = Encoding::Utf8;
    *text = TextEncoding::decode(raw, encoding);
    if (text->startsWith(QChar(0xFEFF)))
        text->remove(0, 1);
    return true;
}

bool startEngine(NarrexLibrary &library, std::optional<NarrexEngine> &engine, FILE *err)
{
    if (!library.load(QCoreApplication::applicationDirPath())) {
        print(err, QStringLiteral("parlix-wave: %1\n").arg(library.errorString()));
        return false;
    }
    engine.emplace(library.functions());
    const int init = engine->initialize(nullptr, nullptr, -1, -1, -1, 0, 0);
    if (init != NARREX_OK) {
        print(
            err, QStringLiteral("parlix-wave: the speech engine did not start (%1).\n").arg(init));
        return false;
    }
    return true;
}

} // namespace

int run(const QStringList &arguments, FILE *out, FILE *err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Converts a text file (GBK or UTF-8) into speech in a WAV file.\n"
                       "INPUT may be - for standard input.\n"
                       "\n"
                       "To check what is said without listening, give one of --normalize,\n"
                       "--pinyin or --phonemes and INPUT alone: the result goes to standard\n"
                       "output in UTF-8, one line for each line of INPUT."));
    const QCommandLineOption helpOption(QStringList {QStringLiteral("h"), QStringLiteral("help")},
        QStringLiteral("Show this help."));
    const QCommandLineOption voiceOption(QStringList {QStringLiteral("v"), QStringLiteral("voice")},
        QStringLiteral("female (default) or male; for the checks also english."),
        QStringLiteral("voice"), QStringLiteral("female"));
    const QCommandLineOption encodingOption(
        QStringList {QStringLiteral("e"), QStringLiteral("encoding")},
        QStringLiteral(
            "auto (default: byte-order mark, then UTF-8 if valid, else GBK), utf-8, gbk."),
        QStringLiteral("encoding"), QStringLiteral("auto"));
    const QCommandLineOption speedOption(QStringList {QStringLiteral("s"), QStringLiteral("speed")},
        QStringLiteral("Speaking speed 0-100: 50 normal (default), 0 half, 100 double."),
        QStringLiteral("speed"), QStringLiteral("50"));
    const QCommandLineOption progressOption(
        QStringLiteral("progress"), QStringLiteral("Always show the progress bar."));
    const QCommandLineOption quietOption(QStringList {QStringLiteral("q"), QStringLiteral("quiet")},
        QStringLiteral("Show no progress bar."));
    const QCommandLineOption normalizeOption(QStringLiteral("normalize"),
        QStringLiteral("Print the text as it is read: numbers and symbols written out in Chinese "
                       "characters."));
    const QCommandLineOption pinyinOption(QStringLiteral("pinyin"),
        QStringLiteral(
            "Print the reading as tokens: 字:pin1 for each Chinese character (tone 1-5, 5 neutral, "
            "ü as v), word:en for each English word, A:letter for each spelled letter."));
    const QCommandLineOption phonemesOption(QStringLiteral("phonemes"),
        QStringLiteral("Print the phonemes the synthesiser speaks, as espeak-ng -x shows them; "
                       "(en) marks English."));
    parser.addOptions({helpOption, voiceOption, encodingOption, speedOption, progressOption,
        quietOption, normalizeOption, pinyinOption, phonemesOption});

    if (!parser.parse(arguments)) {
        print(err,
            QStringLiteral("parlix-wave: %1\nTry 'parlix-wave --help'.\n").arg(parser.errorText()));
        return UsageError;
    }
    if (parser.isSet(helpOption)) {
        // The positional arguments are named in the usage lines themselves.
        QString help = parser.helpText();
        help = QStringLiteral("Usage: parlix-wave [options] INPUT OUTPUT.wav\n"
                              "       parlix-wave --normalize|--pinyin|--phonemes [options] INPUT")
            + help.mid(help.indexOf(u'\n'));
        print(out, help);
        return Ok;
    }
    const int checks = int(parser.isSet(normalizeOption)) + int(parser.isSet(pinyinOption))
        + int(parser.isSet(phonemesOption));
    const QStringList args = parser.positionalArguments();
    if (checks > 1) {
        print(err,
            QStringLiteral(
                "parlix-wave: give only one of --normalize, --pinyin and --phonemes.\n"));
        return UsageError;
    }
    if (checks == 1 && args.size() != 1) {
        print(err,
            QStringLiteral("parlix-wave: --normalize, --pinyin and --phonemes take one INPUT file "
                           "and no OUTPUT.\n"
                           "Try 'parlix-wave --help'.\n"));
        return UsageError;
    }
    if (checks == 0 && args.size() != 2) {
        print(err,
            QStringLiteral("parlix-wave: give exactly one INPUT and one OUTPUT file.\n"
                           "Try 'parlix-wave --help'.\n"));
        return UsageError;
    }
    const QString voice = parser.value(voiceOption).toLower();
    const bool english = voice == QLatin1String("english");
    if (voice != QLatin1String("female") && voice != QLatin1String("male")
        && !(english && checks == 1)) {
        print(err,
            QStringLiteral("parlix-wave: unknown voice '%1' (female or male%2).\n")
                .arg(voice, checks == 1 ? QStringLiteral(", or english") : QString()));
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
        print(err,
            QStringLiteral("parlix-wave: unknown encoding '%1' (auto, utf-8 or gbk).\n")
                .arg(encodingName));
        return UsageError;
    }

    QString text;
    if (!readInput(args.at(0), encodingName, &text, err))
        return InputError;
    const TextEncoding::GbkResult gbk = TextEncoding::toEngineText(text);
    if (gbk.unencodableCount > 0) {
        const qsizetype at = gbk.firstUnencodable;
        const int line = int(QStringView(text).left(at).count(u'\n')) + 1;
        const QString ch = text.mid(at, text.at(at).isHighSurrogate() ? 2 : 1);
        print(err,
            QStringLiteral("parlix-wave: %1 character(s) cannot be spoken (outside GBK) and are "
                           "skipped; the first is \"%2\" on line %3.\n")
                .arg(gbk.unencodableCount)
                .arg(ch)
                .arg(line));
    }

    const bool male = voice == QLatin1String("male");
    if (checks == 1) {
        NarrexLibrary library;
        std::optional<NarrexEngine> engine;
        if (!startEngine(library, engine, err))
            return EngineMissing;
        const int kind = parser.isSet(normalizeOption) ? 1 : parser.isSet(pinyinOption) ? 2 : 3;
        QByteArray result;
        const int rc = engine->reading(gbk.bytes, kind, english ? 1 : male ? 0 : 4, &result);
        engine->close();
        if (rc != NARREX_OK) {
            print(err,
                QStringLiteral("parlix-wave: the engine cannot show its reading: %1.\n")
                    .arg(EngineErrors::forConsole(rc)));
            return EngineMissing;
        }
        if (!result.isEmpty() && !result.endsWith('\n'))
            result += '\n';
        std::fwrite(result.constData(), 1, size_t(result.size()), out);
        std::fflush(out);
        return Ok;
    }

    if (text.trimmed().isEmpty()) {
        print(err, QStringLiteral("parlix-wave: %1 holds no text to speak.\n").arg(args.at(0)));
        return InputError;
    }

    const QString outputPath = QFileInfo(args.at(1)).absoluteFilePath();
    const TextEncoding::GbkResult gbkPath
        = TextEncoding::toGbk(QDir::toNativeSeparators(outputPath));
    if (gbkPath.unencodableCount > 0) {
        print(err,
            QStringLiteral("parlix-wave: the output path %1 has characters the engine cannot take "
                           "(outside GBK).\n")
                .arg(outputPath));
        return ConversionError;
    }

    NarrexLibrary library;
    std::optional<NarrexEngine> engine;
    if (!startEngine(library, engine, err))
        return EngineMissing;

    std::atomic<int> result {0};
    std::atomic<bool> finished {false};
    std::thread worker([&] {
        result = engine->speakToWave(gbk.bytes, gbkPath.bytes, male ? 20 : 10, male ? 1 : 4, speed,
            100, 30, 1, QByteArray());
        finished = true;
    });
    const bool showProgress
        = !parser.isSet(quietOption) && (parser.isSet(progressOption) || isatty(fileno(err)));
    int shown = -1;
    while (!finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const int percent = std::clamp(engine->conversionProgress(), 0, 100);
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
    engine->close();

    if (result != NARREX_OK) {
        print(err,
            QStringLiteral("parlix-wave: conversion failed: %1.\n")
                .arg(EngineErrors::forConsole(result)));
        return ConversionError;
    }
    return Ok;
}

} // namespace WaveTool
