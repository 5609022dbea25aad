// Builds the engine's reading data (sonarel-pinyin.dat) from packaged
// dictionaries:
//   --chars        every reading of every character: pinyin_dict.go of
//                  go-pinyin (Debian golang-github-mozillazg-go-pinyin-dev,
//                  MIT; from the Unihan-based pinyin-data)
//   --words        words and phrases with their readings and frequencies:
//                  json/complete.json of @pinyin-pro/data (npm, ISC)
//   --corrections  our own short list of corrections (this folder)
//   --sentences, --labels
//                  labelled sentences to learn the context rules from
//                  (the CPP polyphone data, Apache 2.0, in this folder)
// Traditional characters are mapped to simplified ones with OpenCC's t2s
// (Debian libopencc, Apache 2.0).
//
// --evaluate K prints, instead of writing the file, how well the engine reads
// the labelled characters under K-fold cross-validation.

#include "pinyin.h"
#include "pinyindata.h"
#include "pinyindatabuilder.h"
#include "polyphonetrainer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <opencc/opencc.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

[[noreturn]] void die(const QString &message)
{
    std::fprintf(stderr, "make-pinyin-data: %s\n", qPrintable(message));
    std::exit(1);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        die(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    return f.readAll();
}

bool allHan(QStringView s)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (!((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || u == 0x3007
                || (u >= 0xF900 && u <= 0xFAFF)))
            return false;
    }
    return true;
}

std::vector<QByteArray> syllables(QStringView pinyin)
{
    std::vector<QByteArray> out;
    for (QStringView part : pinyin.split(u' ', Qt::SkipEmptyParts)) {
        const QByteArray s = Pinyin::numbered(part);
        if (s.isEmpty())
            return {};
        out.push_back(s);
    }
    return out;
}

float costOf(double frequency)
{
    return float(-std::log(std::max(frequency, 1e-13)));
}

void readCharacters(const QString &path, PinyinDataBuilder &b)
{
    static const QRegularExpression line(
        QStringLiteral("^\\s*0x([0-9A-Fa-f]+): \"([^\"]+)\""), QRegularExpression::MultilineOption);
    const QString text = QString::fromUtf8(readFile(path));
    int count = 0;
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const uint code = m.captured(1).toUInt(nullptr, 16);
        if (code > 0xFFFF)
            continue; // beyond GBK, and beyond what the engine is given
        for (QStringView reading : m.capturedView(2).split(u',')) {
            const QByteArray s = Pinyin::numbered(reading.trimmed());
            if (!s.isEmpty())
                b.addReading(char16_t(code), s);
        }
        ++count;
    }
    if (count < 20000)
        die(QStringLiteral("%1 has only %2 characters").arg(path).arg(count));
}

QHash<char16_t, char16_t> simplifiedForms(const QList<char16_t> &chars)
{
    opencc_t cc = opencc_open("t2s.json");
    if (cc == reinterpret_cast<opencc_t>(-1))
        die(QStringLiteral("OpenCC's t2s.json cannot be opened: %1")
                .arg(QString::fromUtf8(opencc_error())));
    QString all;
    for (char16_t c : chars) {
        all.append(QChar(c));
        all.append(u'\n');
    }
    const QByteArray in = all.toUtf8();
    char *out = opencc_convert_utf8(cc, in.constData(), size_t(in.size()));
    if (!out)
        die(QStringLiteral("OpenCC failed: %1").arg(QString::fromUtf8(opencc_error())));
    const QStringList lines = QString::fromUtf8(out).split(u'\n');
    opencc_convert_utf8_free(out);
    opencc_close(cc);
    QHash<char16_t, char16_t> map;
    for (qsizetype i = 0; i < chars.size() && i < lines.size(); ++i) {
        if (lines[i].size() == 1 && lines[i][0].unicode() != chars[i])
            map.insert(chars[i], lines[i][0].unicode());
    }
    return map;
}

void readWords(const QString &path, PinyinDataBuilder &b, const QHash<char16_t, char16_t> &simple)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(readFile(path), &error);
    if (!doc.isObject())
        die(QStringLiteral("%1: %2").arg(path, error.errorString()));
    const QJsonObject words = doc.object();
    for (auto it = words.begin(); it != words.end(); ++it) {
        const QString key = it.key();
        const QJsonArray entry = it.value().toArray();
        if (!allHan(key) || entry.size() < 2)
            continue;
        const std::vector<QByteArray> s = syllables(entry.at(0).toString());
        if (qsizetype(s.size()) != key.size())
            continue;
        const float cost = costOf(entry.at(1).toDouble());
        if (key.size() == 1) {
            b.addReading(key[0].unicode(), s[0], true);
            b.setCharCost(key[0].unicode(), cost);
            continue;
        }
        QString simplified = key;
        for (QChar &c : simplified)
            c = QChar(simple.value(c.unicode(), c.unicode()));
        // A traditional spelling of a word already listed keeps the better one.
        if (simplified != key && b.hasWord(simplified) && b.wordCost(simplified) <= cost)
            continue;
        b.addWord(simplified, s, cost);
    }
    if (b.wordCount() < 100000)
        die(QStringLiteral("%1 has only %2 words").arg(path).arg(b.wordCount()));
}

void readCorrections(const QString &path, PinyinDataBuilder &b)
{
    const QString text = QString::fromUtf8(readFile(path));
    int lineNo = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNo;
        if (const qsizetype hash = line.indexOf(u'#'); hash >= 0)
            line = line.first(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype space = line.indexOf(u' ');
        const QStringView word = line.first(space < 0 ? line.size() : space);
        const std::vector<QByteArray> s
            = space < 0 ? std::vector<QByteArray>() : syllables(line.sliced(space + 1));
        if (!allHan(word) || qsizetype(s.size()) != word.size())
            die(QStringLiteral("%1:%2: not a word and its readings").arg(path).arg(lineNo));
        if (word.size() == 1) {
            b.addReading(word[0].unicode(), s[0], true);
        } else {
            b.addWord(word.toString(), s,
                b.hasWord(word.toString()) ? b.wordCost(word.toString()) : costOf(1e-8));
            b.addFirmWord(word.toString(), s);
        }
    }
}

QStringList lines(const QString &path)
{
    QStringList out = QString::fromUtf8(readFile(path)).split(u'\n');
    while (!out.isEmpty() && out.last().trimmed().isEmpty())
        out.removeLast();
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption chars(
        QStringLiteral("chars"), QStringLiteral("pinyin_dict.go"), QStringLiteral("file"));
    const QCommandLineOption words(
        QStringLiteral("words"), QStringLiteral("complete.json"), QStringLiteral("file"));
    const QCommandLineOption corrections(
        QStringLiteral("corrections"), QStringLiteral("our corrections"), QStringLiteral("file"));
    const QCommandLineOption sentences(
        QStringLiteral("sentences"), QStringLiteral("labelled sentences"), QStringLiteral("file"));
    const QCommandLineOption labels(
        QStringLiteral("labels"), QStringLiteral("their labels"), QStringLiteral("file"));
    const QCommandLineOption output(
        QStringLiteral("output"), QStringLiteral("the data file to write"), QStringLiteral("file"));
    const QCommandLineOption evaluate(QStringLiteral("evaluate"),
        QStringLiteral("cross-validate with K folds"), QStringLiteral("K"));
    const QCommandLineOption misread(QStringLiteral("misread"),
        QStringLiteral("with --evaluate: write the characters read wrongly (character, read, "
                       "right, sentence)"),
        QStringLiteral("file"));
    parser.addOptions({chars, words, corrections, sentences, labels, output, evaluate, misread});
    parser.process(app);
    if (!parser.isSet(chars) || (!parser.isSet(output) && !parser.isSet(evaluate)))
        die(QStringLiteral("--chars and --output (or --evaluate) are needed"));

    try {
        PinyinDataBuilder builder;
        readCharacters(parser.value(chars), builder);
        QList<char16_t> all;
        for (uint c = 0; c < 0x10000; ++c) {
            if (builder.hasReadings(char16_t(c)))
                all.append(char16_t(c));
        }
        const QHash<char16_t, char16_t> simple = simplifiedForms(all);
        for (auto it = simple.cbegin(); it != simple.cend(); ++it)
            builder.setSimplified(it.key(), it.value());
        if (parser.isSet(words))
            readWords(parser.value(words), builder, simple);
        if (parser.isSet(corrections))
            readCorrections(parser.value(corrections), builder);

        const QByteArray base = builder.build();
        PolyphoneTrainer trainer;
        if (parser.isSet(sentences)) {
            const std::unique_ptr<PinyinData> data = PinyinData::fromBytes(base);
            if (!data)
                die(QStringLiteral("the data just built does not read back"));
            QString error;
            if (!trainer.load(
                    *data, lines(parser.value(sentences)), lines(parser.value(labels)), &error))
                die(error);
        }

        if (parser.isSet(evaluate)) {
            const int k = parser.value(evaluate).toInt();
            if (k < 2 || trainer.instances().empty())
                die(QStringLiteral("--evaluate needs K >= 2 and labelled sentences"));
            const auto rebuild = [&builder](std::map<uint64_t, QByteArray> rules) {
                PinyinDataBuilder b = builder;
                b.setRules(std::move(rules));
                return b.build();
            };
            QStringList wrong;
            const PolyphoneTrainer::Evaluation e = trainer.crossValidate(k, rebuild, &wrong);
            if (parser.isSet(misread)) {
                QSaveFile f(parser.value(misread));
                if (!f.open(QIODevice::WriteOnly)
                    || f.write((wrong.join(u'\n') + u'\n').toUtf8()) < 0 || !f.commit())
                    die(QStringLiteral("cannot write %1").arg(parser.value(misread)));
            }
            std::printf("labelled characters: %d (%d skipped), %d-fold cross-validation\n",
                e.instances, trainer.skipped(), e.folds);
            std::printf(
                "most frequent reading of each character (from the training folds): %.2f %%\n",
                100 * e.mostFrequent);
            std::printf(
                "word list and usual readings, no context rules: %.2f %%\n", 100 * e.withoutRules);
            std::printf("the engine (context rules learned from the training folds): %.2f %%\n",
                100 * e.withRules);
            return 0;
        }

        if (!trainer.instances().empty()) {
            std::vector<const PolyphoneTrainer::Instance *> all;
            for (const auto &inst : trainer.instances())
                all.push_back(&inst);
            builder.setRules(PolyphoneTrainer::learn(all));
        }
        const QByteArray bytes = builder.build();
        if (!PinyinData::fromBytes(bytes))
            die(QStringLiteral("the data just built does not read back"));
        QSaveFile out(parser.value(output));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
            die(QStringLiteral("cannot write %1: %2").arg(parser.value(output), out.errorString()));
        std::printf("make-pinyin-data: %d words, %d rules, %lld bytes\n", builder.wordCount(),
            int(PinyinData::fromBytes(bytes)->ruleCount()), static_cast<long long>(bytes.size()));
    } catch (const std::exception &e) {
        die(QString::fromUtf8(e.what()));
    }
    return 0;
}
