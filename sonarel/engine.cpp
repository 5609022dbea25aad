#include "engine.h"

#include "audiooutput.h"
#include "audiothread.h"
#include "gbktext.h"
#include "voicesettingsdialog.h"
#include "wavwriter.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStringDecoder>

#include <cmath>

Q_LOGGING_CATEGORY(lcEngine, "narrex.engine")

namespace {

// About ten seconds of sound between synthesis and output: enough to ride
// out a slow sentence, small enough that memory stays flat for any text.
constexpr qint64 QueueSeconds = 10;

} // namespace

Engine::Engine()
    : m_queue(QueueSeconds * 22050)
{
}

Engine::~Engine()
{
    shutdown();
}

int Engine::initialize(const NarrexNotifyTarget *target)
{
    QString error;
    if (!Synthesizer::instance().initialize(&error)) {
        qCWarning(lcEngine) << error;
        return NARREX_ERR_SYNTHESIS;
    }
    if (target)
        m_target = *target;
    m_settings = VoiceSettings::load();
    m_notifier = new QObject;
    // A caller that wants end notifications is a reader: open the sound
    // output now, so the first reading starts at once. A converter never
    // needs it.
    if (target)
        startAudio();
    m_synthThread = std::thread([this] { synthesisLoop(); });
    return NARREX_OK;
}

void Engine::startAudio()
{
    if (m_audio)
        return;
    m_audio = std::make_unique<AudioThread>(m_queue, Synthesizer::instance().sampleRate(),
                                            [this](quint64 generation) {
        QMetaObject::invokeMethod(m_notifier, [this, generation] { deliverEnd(generation); },
                                  Qt::QueuedConnection);
    });
    m_audio->start();
}

void Engine::shutdown()
{
    if (!m_notifier)
        return;
    m_closing = true;
    m_queue.stop();
    {
        std::lock_guard lock(m_jobMutex);
        m_quit = true;
        m_job.reset();
    }
    m_jobReady.notify_all();
    if (m_synthThread.joinable())
        m_synthThread.join();
    {
        std::unique_lock lock(m_convertMutex);
        m_convertDone.wait(lock, [this] { return m_activeConversions == 0; });
    }
    if (m_audio) {
        m_audio->quit();
        m_audio->wait();
        m_audio.reset();
    }
    delete m_notifier;
    m_notifier = nullptr;
    Synthesizer::instance().terminate();
}

int Engine::deviceCount() const
{
    return systemAudioOutputCount();
}

bool Engine::usingSystemOutput() const
{
    return m_audio && m_audio->usingSystemOutput();
}

int Engine::sampleRate() const
{
    return Synthesizer::instance().sampleRate();
}

std::optional<NarrexVoice> Engine::voiceForCode(int code)
{
    switch (code) {
    case 4: return NarrexVoice::FemaleChinese;
    case 0: return NarrexVoice::MaleChinese;
    case 1: return NarrexVoice::MaleEnglish;
    default: return std::nullopt;
    }
}

std::optional<NarrexVoice> Engine::voiceForWaveFamily(int family)
{
    switch (family) {
    case 10: return NarrexVoice::FemaleChinese;
    case 20: return NarrexVoice::MaleChinese;
    default: return std::nullopt;
    }
}

int Engine::rateFor(int baseRate, int speed)
{
    // Speed 50 keeps the configured rate; every 50 steps halve or double it.
    const double factor = std::exp2((std::clamp(speed, 0, 100) - 50) / 50.0);
    return std::clamp(int(std::lround(baseRate * factor)), VoiceSettings::MinRate,
                      VoiceSettings::MaxRate);
}

VoiceSettings Engine::settings() const
{
    std::lock_guard lock(m_settingsMutex);
    return m_settings;
}

void Engine::setSettings(const VoiceSettings &settings)
{
    std::lock_guard lock(m_settingsMutex);
    m_settings = settings;
}

SynthParams Engine::paramsFor(NarrexVoice voice, int speed, int volume) const
{
    std::lock_guard lock(m_settingsMutex);
    SynthParams p;
    p.voiceName = m_settings.espeakName(voice);
    p.rateWpm = rateFor(m_settings.rateWpm, speed);
    p.pitch = m_settings.pitch;
    p.volume = m_settings.volume * std::clamp(volume, 0, 100) / 100;
    return p;
}

int Engine::speak(const QByteArray &gbk, int voiceCode, int speed, int volume)
{
    const std::optional<NarrexVoice> voice = voiceForCode(voiceCode);
    if (!voice)
        return NARREX_ERR_INVALID_ARGUMENT;
    if (gbk.isEmpty()) {
        m_queue.stop();
        return NARREX_ERR_NOTHING_TO_SPEAK;
    }
    startAudio();
    Job job{m_queue.begin(gbk.size()), gbk, paramsFor(*voice, speed, volume)};
    {
        std::lock_guard lock(m_jobMutex);
        m_job = std::move(job);
    }
    m_jobReady.notify_all();
    return NARREX_OK;
}

int Engine::location() const
{
    const int converting = m_convertPercent.load();
    return converting >= 0 ? converting : m_queue.percent();
}

bool Engine::speakingRange(ReadingQueue::Range *sentence, ReadingQueue::Range *word) const
{
    if (m_convertPercent.load() >= 0) {
        if (sentence)
            *sentence = {};
        if (word)
            *word = {};
        return false;
    }
    return m_queue.heardRange(sentence, word);
}

int Engine::pauseOrContinue()
{
    return m_queue.togglePause() ? NARREX_OK : NARREX_ERR_IDLE;
}

int Engine::stop()
{
    m_queue.stop();
    return NARREX_OK;
}

void Engine::deliverEnd(quint64 generation)
{
    if (m_queue.claimFinished(generation) && m_target.setText)
        m_target.setText(m_target.context, NARREX_SDK_READ_END);
}

void Engine::synthesisLoop()
{
    // Load the most used voice now, so the first reading starts without delay.
    Synthesizer::instance().synthesize(paramsFor(NarrexVoice::FemaleChinese, 50, 100), QByteArray(),
                                       [](const int16_t *, int, const std::vector<SynthWord> &) {
                                           return false;
                                       });
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_jobMutex);
            m_jobReady.wait(lock, [this] { return m_quit || m_job.has_value(); });
            if (m_quit)
                return;
            job = std::move(*m_job);
            m_job.reset();
        }
        runJob(job);
    }
}

// Builds the chunk for one block of synthesised samples, with a mark for each
// word that starts in it (and for the sentence, on its first block).
static AudioChunk makeChunk(const TextPiece &piece, qint64 pieceStartSample, bool firstBlock,
                            const int16_t *samples, int count, const std::vector<SynthWord> &words)
{
    AudioChunk chunk;
    chunk.samples.assign(samples, samples + count);
    if (firstBlock) {
        chunk.marks.push_back({pieceStartSample, piece.byteStart,
                               qint32(piece.byteEnd - piece.byteStart), TextMark::Sentence});
    }
    const int chars = int(piece.offsets.size()) - 1;
    for (const SynthWord &w : words) {
        const int first = std::clamp(w.charIndex, 0, chars);
        const int last = std::clamp(w.charIndex + std::max(w.charLength, 1), first, chars);
        chunk.marks.push_back({pieceStartSample + w.sample, piece.byteStart + piece.offsets[first],
                               piece.offsets[last] - piece.offsets[first], TextMark::Word});
    }
    return chunk;
}

void Engine::runJob(const Job &job)
{
    Synthesizer &synth = Synthesizer::instance();
    TextPieceReader reader(job.text);
    TextPiece piece;
    qint64 produced = 0;
    while (m_queue.isCurrent(job.generation) && reader.next(piece)) {
        std::vector<AudioChunk> backlog;
        const qint64 pieceStart = produced;
        bool first = true;
        const Synthesizer::Sink sink = [&](const int16_t *samples, int count,
                                           const std::vector<SynthWord> &words) {
            AudioChunk chunk = makeChunk(piece, pieceStart, first, samples, count, words);
            first = false;
            produced += count;
            // Hand samples over as they come while there is room; the rest of
            // the sentence waits here, so espeak-ng is never held up by the
            // audio output and a conversion can take its turn.
            if (backlog.empty() && m_queue.tryPush(job.generation, chunk))
                return true;
            if (!m_queue.isCurrent(job.generation))
                return false;
            backlog.push_back(std::move(chunk));
            return true;
        };
        if (!synth.synthesize(job.params, piece.text.toUtf8(), sink))
            qCWarning(lcEngine) << "synthesis failed for voice" << job.params.voiceName;
        for (AudioChunk &chunk : backlog) {
            if (!m_queue.push(job.generation, chunk))
                return;
        }
    }
    m_queue.finishProducing(job.generation);
}

int Engine::showSettingsDialog()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return NARREX_ERR_NO_GUI;
    Synthesizer &synth = Synthesizer::instance();
    VoiceSettingsDialog dialog(synth.voices(), synth.variants(), QApplication::activeWindow());
    dialog.setSettings(settings());
    if (dialog.exec() != QDialog::Accepted)
        return NARREX_ERR_CANCELLED;
    const VoiceSettings chosen = dialog.settings();
    setSettings(chosen);
    return chosen.save() ? NARREX_OK : NARREX_ERR_FILE;
}

int Engine::speakToWave(QByteArrayView gbk, QByteArrayView gbkPath, int voiceFamily, int speed,
                        int volume)
{
    const std::optional<NarrexVoice> voice = voiceForWaveFamily(voiceFamily);
    if (!voice || gbkPath.isEmpty())
        return NARREX_ERR_INVALID_ARGUMENT;
    QStringDecoder pathDecoder("GBK", QStringDecoder::Flag::Stateless);
    const QString path = pathDecoder.decode(gbkPath);
    if (pathDecoder.hasError() || path.isEmpty())
        return NARREX_ERR_INVALID_ARGUMENT;

    {
        std::lock_guard lock(m_convertMutex);
        if (m_closing)
            return NARREX_ERR_NOT_INITIALIZED;
        ++m_activeConversions;
    }
    m_convertPercent = 0;
    const auto done = [this](int result) {
        m_convertPercent = -1;
        {
            std::lock_guard lock(m_convertMutex);
            --m_activeConversions;
        }
        m_convertDone.notify_all();
        return result;
    };

    QSaveFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::WriteOnly))
        return done(NARREX_ERR_FILE);
    WavWriter writer(&file, sampleRate());
    if (!writer.begin()) {
        file.cancelWriting();
        return done(NARREX_ERR_FILE);
    }

    const SynthParams params = paramsFor(*voice, speed, volume);
    Synthesizer &synth = Synthesizer::instance();
    TextPieceReader reader(gbk);
    TextPiece piece;
    bool writeFailed = false;
    bool synthFailed = false;
    qint64 words = 0;
    const Synthesizer::Sink sink = [&](const int16_t *samples, int count,
                                       const std::vector<SynthWord> &w) {
        words += qint64(w.size());
        if (!writer.write(samples, count)) {
            writeFailed = true;
            return false;
        }
        return !m_closing.load();
    };
    // Sentences go to the synthesiser in batches of about a thousand
    // characters: each call has a fixed cost, and short lines (poems) would
    // otherwise make thousands of them.
    QString batch;
    bool more = true;
    while (more && !writeFailed && !m_closing) {
        more = reader.next(piece);
        if (more) {
            batch += piece.text;
            batch += u'\n';
        }
        if (batch.size() >= 1000 || (!more && !batch.isEmpty())) {
            if (!synth.synthesize(params, batch.toUtf8(), sink))
                synthFailed = true;
            batch.clear();
            if (more)
                m_convertPercent = int(std::min<qint64>(99, piece.byteEnd * 100 / std::max<qint64>(1, gbk.size())));
        }
    }

    int result = NARREX_OK;
    if (m_closing)
        result = NARREX_ERR_NOT_INITIALIZED;
    else if (writeFailed)
        result = NARREX_ERR_FILE;
    else if (words == 0 || writer.dataBytes() == 0)
        result = synthFailed ? NARREX_ERR_SYNTHESIS : NARREX_ERR_NOTHING_TO_SPEAK;
    else if (!writer.finish() || !file.commit())
        result = NARREX_ERR_FILE;
    if (result != NARREX_OK)
        file.cancelWriting();
    return done(result);
}
