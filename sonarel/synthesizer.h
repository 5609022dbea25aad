#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

// The process-wide espeak-ng synthesiser.
//
// espeak-ng keeps one global state, so every use goes through this class and
// holds its lock for the length of one synthesis call. A reading and a
// conversion can therefore take turns sentence by sentence.

struct SynthParams {
    // espeak-ng voices with optional variant: the pinyin voice for Mandarin
    // ("cmn-latn-pinyin+f2") and the voice for English words ("en-us+f2").
    QByteArray mandarinVoice;
    QByteArray englishVoice;
    bool englishReading = false; // the reading's own language is English
    int rateWpm = 175;
    int pitch = 50; // 0..100
    int volume = 100; // 0..200
};

// A word the synthesiser reached: characters [charIndex, charIndex + charLength)
// of the text, starting at sample `sample` of the call's output.
struct SynthWord {
    int charIndex = 0;
    int charLength = 0;
    qint64 sample = 0;
};

struct InstalledVoice {
    QString name; // identifier to pass back, "cmn"
    QString language; // "cmn", "en-us"
    QString label; // what to show in a list
};

class Synthesizer
{
public:
    // Called with each block of samples the synthesiser produced and the words
    // that start in or near it. Return false to stop the synthesis.
    using Sink = std::function<bool(
        const int16_t *samples, int count, const std::vector<SynthWord> &words)>;

    static Synthesizer &instance();

    bool initialize(QString *error);
    // Forgets per-use state; espeak-ng itself stays loaded (see the .cpp).
    void terminate();
    int sampleRate() const { return m_sampleRate; }

    // Synthesises UTF-8 text in one of the two voices of params, with a
    // sentence pause at the end or none. Returns false if the voice could not
    // be set or espeak-ng failed; a stop requested by the sink is not a
    // failure.
    bool synthesize(const SynthParams &params, bool english, const QByteArray &utf8, bool endPause,
        const Sink &sink);
    // The phoneme mnemonics espeak-ng synthesises for the text, as
    // espeak-ng -x prints them, one line for all of it.
    QByteArray phonemes(const SynthParams &params, bool english, const QByteArray &utf8);

    QList<InstalledVoice> voices();
    QStringList variants();

private:
    Synthesizer() = default;
    static int callback(short *wav, int count, void *events);
    bool applyParams(const SynthParams &params, const QByteArray &voice);

    mutable std::mutex m_mutex;
    bool m_initialized = false;
    int m_sampleRate = 22050;
    QByteArray m_currentVoice;
    const Sink *m_sink = nullptr;
    bool m_stopped = false;
    std::vector<SynthWord> m_words;
};
