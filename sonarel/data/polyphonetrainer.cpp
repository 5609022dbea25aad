#include "polyphonetrainer.h"

#include "hanreader.h"
#include "pinyin.h"
#include "textnormalizer.h"

#include <QHash>

#include <algorithm>
#include <random>

namespace {

constexpr QChar Mark = QChar(0x2581); // ▁

struct Reading {
    QByteArray syllable; // empty when the character was not read
    QByteArray withoutRules;
    qsizetype position = 0; // of the character in the normalised text
    qsizetype wordStart = 0;
    qsizetype wordEnd = 0;
    HanReader::Origin origin = HanReader::Unknown;
    QString simplified; // the normalised text, simplified
};

// Reads the sentence as the engine does and looks at the character at
// position (of the sentence as given).
Reading readAt(
    const PinyinData &data, HanReader &reader, const QString &sentence, qsizetype position)
{
    Reading r;
    const NormalizedText norm = TextNormalizer::normalize(sentence);
    qsizetype k = -1;
    for (qsizetype i = 0; i < norm.text.size(); ++i) {
        if (norm.sourceStart[size_t(i)] == position && norm.sourceEnd[size_t(i)] == position + 1
            && norm.text[i] == sentence[position]) {
            k = i;
            break;
        }
    }
    if (k < 0)
        return r;
    qsizetype a = k, b = k + 1;
    while (a > 0 && HanReader::isHan(norm.text[a - 1].unicode()))
        --a;
    while (b < norm.text.size() && HanReader::isHan(norm.text[b].unicode()))
        ++b;
    std::vector<bool> literal(size_t(b - a));
    for (qsizetype i = a; i < b; ++i)
        literal[size_t(i - a)] = norm.flags[size_t(i)] & NormalizedText::Literal;
    std::vector<uint16_t> out;
    HanReader::Detail detail;
    reader.read(norm.text, a, b, out, &literal, &detail);
    const auto name = [&data](uint16_t id) {
        return id == PinyinData::NoSyllable
            ? QByteArray()
            : QByteArray(data.syllable(id).latin1(), data.syllable(id).size());
    };
    const size_t inRun = size_t(k - a);
    r.syllable = name(out[inRun]);
    r.withoutRules = name(detail.withoutRules[inRun]);
    r.position = k;
    r.wordStart = detail.wordStart[inRun];
    r.wordEnd = detail.wordEnd[inRun];
    r.origin = detail.origin[inRun];
    r.simplified.resize(norm.text.size());
    for (qsizetype i = 0; i < norm.text.size(); ++i)
        r.simplified[i] = QChar(data.simplified(norm.text[i].unicode()));
    return r;
}

QByteArray majority(const QHash<QByteArray, int> &counts, int *best, int *total)
{
    QByteArray label;
    *best = 0;
    *total = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        *total += it.value();
        // Ties go to the smaller label, so that the result does not depend
        // on the hash's order.
        if (it.value() > *best || (it.value() == *best && it.key() < label)) {
            *best = it.value();
            label = it.key();
        }
    }
    return label;
}

} // namespace

bool PolyphoneTrainer::load(
    const PinyinData &data, const QStringList &sentences, const QStringList &labels, QString *error)
{
    if (sentences.size() != labels.size()) {
        *error
            = QStringLiteral("%1 sentences but %2 labels").arg(sentences.size()).arg(labels.size());
        return false;
    }
    HanReader reader(data);
    reader.setRulesEnabled(false);
    for (qsizetype n = 0; n < sentences.size(); ++n) {
        const QString &marked = sentences[n];
        const qsizetype at = marked.indexOf(Mark);
        const QByteArray label = Pinyin::numbered(labels[n].trimmed());
        if (at < 0 || at + 2 >= marked.size() || marked[at + 2] != Mark || label.isEmpty()
            || data.findSyllable(label) == PinyinData::NoSyllable) {
            ++m_skipped;
            continue;
        }
        Instance inst;
        inst.sentence = marked.left(at) + marked[at + 1] + marked.mid(at + 3);
        inst.position = at;
        inst.character = data.simplified(marked[at + 1].unicode());
        inst.label = label;
        const Reading r = readAt(data, reader, inst.sentence, at);
        if (r.withoutRules.isEmpty()) {
            ++m_skipped;
            continue;
        }
        inst.withoutRules = r.withoutRules;
        inst.inWord = r.origin == HanReader::Word;
        inst.keys = HanReader::ruleKeys(r.simplified, r.position, r.wordStart, r.wordEnd);
        m_instances.push_back(std::move(inst));
    }
    return true;
}

std::map<uint64_t, QByteArray> PolyphoneTrainer::learn(
    const std::vector<const Instance *> &training)
{
    QHash<uint64_t, QHash<QByteArray, int>> contexts;
    QHash<char16_t, QHash<QByteArray, int>> usual;
    for (const Instance *inst : training) {
        for (uint64_t key : inst->keys)
            ++contexts[key][inst->label];
        if (!inst->inWord)
            ++usual[inst->character][inst->label];
    }
    std::map<uint64_t, QByteArray> rules;
    for (auto it = contexts.cbegin(); it != contexts.cend(); ++it) {
        int best = 0, total = 0;
        const QByteArray label = majority(it.value(), &best, &total);
        if (total >= MinCount && best >= Purity * total)
            rules[it.key()] = label;
    }
    for (auto it = usual.cbegin(); it != usual.cend(); ++it) {
        int best = 0, total = 0;
        const QByteArray label = majority(it.value(), &best, &total);
        if (2 * best >= total)
            rules[PinyinData::ruleKey(PinyinData::RuleUsual, it.key(), {})] = label;
    }
    return rules;
}

PolyphoneTrainer::Evaluation PolyphoneTrainer::crossValidate(int folds,
    const std::function<QByteArray(std::map<uint64_t, QByteArray>)> &withRules,
    QStringList *misread) const
{
    Evaluation e;
    e.instances = int(m_instances.size());
    e.folds = folds;
    std::vector<size_t> order(m_instances.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::mt19937 random(1);
    std::shuffle(order.begin(), order.end(), random);

    int right = 0, rightFrequent = 0, rightBase = 0;
    for (int f = 0; f < folds; ++f) {
        std::vector<const Instance *> training, testing;
        for (size_t i = 0; i < order.size(); ++i)
            (int(i % size_t(folds)) == f ? testing : training).push_back(&m_instances[order[i]]);
        QHash<char16_t, QHash<QByteArray, int>> frequent;
        for (const Instance *inst : training)
            ++frequent[inst->character][inst->label];

        const std::unique_ptr<PinyinData> data = PinyinData::fromBytes(withRules(learn(training)));
        Q_ASSERT(data);
        HanReader reader(*data);
        for (const Instance *inst : testing) {
            const Reading r = readAt(*data, reader, inst->sentence, inst->position);
            right += r.syllable == inst->label;
            if (misread && r.syllable != inst->label) {
                *misread << QStringLiteral("%1\t%2\t%3\t%4▁%5▁%6")
                                .arg(QChar(inst->character), QString::fromLatin1(r.syllable),
                                    QString::fromLatin1(inst->label),
                                    inst->sentence.left(inst->position),
                                    inst->sentence.mid(inst->position, 1),
                                    inst->sentence.mid(inst->position + 1));
            }
            rightBase += inst->withoutRules == inst->label;
            int best = 0, total = 0;
            const auto it = frequent.constFind(inst->character);
            const QByteArray guess
                = it == frequent.cend() ? inst->withoutRules : majority(it.value(), &best, &total);
            rightFrequent += guess == inst->label;
        }
    }
    const double n = std::max(1, e.instances);
    e.withRules = right / n;
    e.mostFrequent = rightFrequent / n;
    e.withoutRules = rightBase / n;
    return e;
}
