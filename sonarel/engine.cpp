#include "engine.h"

#include "audiooutput.h"
#include "audiothread.h"
#include "gbktext.h"
#include "pinyindata.h"
#include "sentences.h"
#include "speechfrontend.h"
#include "userpronunciations.h"
#include "wavwriter.h"

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
    : m_queue(QueueSeconds * 22050, [this](ReadingQueue::State s) { m_state.setReading(s); })
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
    bool migrated = false;
    m_settings = VoiceSettings::load(&migrated);
    if (migrated)
        m_settings.save(); // the old Chinese voice is gone for good
    m_userListPath = UserPronunciations::defaultPath();
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
    m_audio = std::make_unique<AudioThread>(
        m_queue, Synthesizer::instance().sampleRate(), [this](quint64 generation) {
            QMetaObject::invokeMethod(
                m_notifier, [this, generation] { deliverEnd(generation); }, Qt::QueuedConnection);
        });
    m_audio->start();
}

void Engine::shutdown()
{
    if (!m_notifier)
        return;
    m_state.beginClosing();
    m_queue.stop();
    {
        std::lock_guard lock(m_jobMutex);
        m_quit = true;
        m_job.reset();
    }
    m_jobReady.notify_all();
    if (m_synthThread.joinable())
        m_synthThread.join();
    m_state.waitForConversions();
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

int Engine::sampleRate() const
{
    return Synthesizer::instance().sampleRate();
}

std::optional<NarrexVoice> Engine::voiceForCode(int code)
{
    switch (code) {
    case 4:
        return NarrexVoice::FemaleChinese;
    case 0:
        return NarrexVoice::MaleChinese;
    case 1:
        return NarrexVoice::MaleEnglish;
    default:
        return std::nullopt;
    }
}

std::optional<NarrexVoice> Engine::voiceForWaveFamily(int family)
{
    switch (family) {
    case 10:
        return NarrexVoice::FemaleChinese;
    case 20:
        return NarrexVoice::MaleChinese;
    default:
        return std::nullopt;
    }
}

int Engine::rateFor(int baseRate, int speed)
{
    // Speed 50 keeps the configured rate; every 50 steps halve or double it.
    const double factor = std::exp2((std::clamp(speed, 0, 100) - 50) / 50.0);
    return std::clamp(
        int(std::lround(baseRate * factor)), VoiceSettings::MinRate, VoiceSettings::MaxRate);
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
    p.mandarinVoice = m_settings.mandarinName(voice);
    p.englishVoice = m_settings.englishName(voice);
    p.englishReading = voice == NarrexVoice::MaleEnglish;
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
    Job job {m_queue.begin(gbk.size()), gbk, paramsFor(*voice, speed, volume), userList()};
    {
        std::lock_guard lock(m_jobMutex);
        m_job = std::move(job);
    }
    m_jobReady.notify_all();
    return NARREX_OK;
}

int Engine::location() const
{
    // A reading's own progress while there is one (a conversion beside it
    // does not take its place); otherwise a conversion's.
    const EngineState::Snapshot now = m_state.snapshot();
    if (now.reading != ReadingQueue::State::Idle)
        return m_queue.percent();
    return now.converting() ? now.conversionPercent : 0;
}

bool Engine::speakingRange(ReadingQueue::Range *sentence, ReadingQueue::Range *word) const
{
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
    Synthesizer::instance().synthesize(paramsFor(NarrexVoice::FemaleChinese, 50, 100), false,
        QByteArray(), false,
        [](const int16_t *, int, const std::vector<SynthWord> &) { return false; });
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

// The words the synthesiser reports for a run, as characters of the sentence
// they read.
static std::vector<SynthWord> sourceWords(const SpeechRun &run, const std::vector<SynthWord> &words)
{
    std::vector<SynthWord> out;
    out.reserve(words.size());
    for (const SynthWord &w : words) {
        if (const SpeechRun::Token *t = run.tokenAt(w.charIndex))
            out.push_back({t->sourceStart, t->sourceEnd - t->sourceStart, w.sample});
    }
    return out;
}

void Engine::runJob(const Job &job)
{
    Synthesizer &synth = Synthesizer::instance();
    SpeechFrontEnd frontEnd(PinyinData::shared(), job.user.get());
    TextPieceReader reader(job.text);
    TextPiece piece;
    qint64 produced = 0;
    while (m_queue.isCurrent(job.generation) && reader.next(piece)) {
        std::vector<AudioChunk> backlog;
        bool first = true;
        for (const SpeechRun &run : frontEnd.process(piece.text, job.params.englishReading)) {
            const qint64 runStart = produced;
            const Synthesizer::Sink sink
                = [&](const int16_t *samples, int count, const std::vector<SynthWord> &words) {
                      AudioChunk chunk = makeChunk(
                          piece, runStart, first, samples, count, sourceWords(run, words));
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
            if (!synth.synthesize(job.params, run.language == SpeechRun::English, run.text.toUtf8(),
                    run.pauseAtEnd, sink))
                qCWarning(lcEngine) << "synthesis failed for" << run.text;
            if (!m_queue.isCurrent(job.generation))
                return;
        }
        for (AudioChunk &chunk : backlog) {
            if (!m_queue.push(job.generation, chunk))
                return;
        }
    }
    m_queue.finishProducing(job.generation);
}

std::shared_ptr<const UserPronunciations> Engine::userList()
{
    const PinyinData *data = PinyinData::shared();
    if (!data)
        return nullptr;
    std::lock_guard lock(m_settingsMutex);
    if (!m_userList || !m_userList->isCurrent(m_userListPath)) {
        // A fresh list for every change: readings under way keep theirs.
        auto list = std::make_shared<UserPronunciations>();
        list->load(m_userListPath, *data);
        m_userList = std::move(list);
    }
    return m_userList;
}

int Engine::speakToWave(
    QByteArrayView gbk, QByteArrayView gbkPath, int voiceFamily, int speed, int volume)
{
    const std::optional<NarrexVoice> voice = voiceForWaveFamily(voiceFamily);
    if (!voice || gbkPath.isEmpty())
        return NARREX_ERR_INVALID_ARGUMENT;
    QStringDecoder pathDecoder("GBK", QStringDecoder::Flag::Stateless);
    const QString path = pathDecoder.decode(gbkPath);
    if (pathDecoder.hasError() || path.isEmpty())
        return NARREX_ERR_INVALID_ARGUMENT;

    if (!m_state.beginConversion())
        return NARREX_ERR_NOT_INITIALIZED;
    const auto done = [this](int result) {
        m_state.endConversion();
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
    const std::shared_ptr<const UserPronunciations> user = userList();
    SpeechFrontEnd frontEnd(PinyinData::shared(), user.get());
    Synthesizer &synth = Synthesizer::instance();
    TextPieceReader reader(gbk);
    TextPiece piece;
    bool writeFailed = false;
    bool synthFailed = false;
    qint64 words = 0;
    const Synthesizer::Sink sink
        = [&](const int16_t *samples, int count, const std::vector<SynthWord> &w) {
              words += qint64(w.size());
              if (!writer.write(samples, count)) {
                  writeFailed = true;
                  return false;
              }
              return !m_state.isClosing();
          };
    // Runs in one language go to the synthesiser together, in batches of
    // about a thousand characters: each call has a fixed cost, and short
    // lines (poems) would otherwise make thousands of them.
    QString batch;
    bool batchEnglish = false;
    bool batchPause = false;
    qint64 batchBytes = 0; // the text is converted up to here once the batch is
    const auto flush = [&] {
        if (batch.isEmpty())
            return;
        if (!synth.synthesize(params, batchEnglish, batch.toUtf8(), batchPause, sink))
            synthFailed = true;
        batch.clear();
        m_state.setConversionPercent(int(batchBytes * 100 / std::max<qint64>(1, gbk.size())));
    };
    while (!writeFailed && !m_state.isClosing() && reader.next(piece)) {
        for (const SpeechRun &run : frontEnd.process(piece.text, params.englishReading)) {
            const bool english = run.language == SpeechRun::English;
            if (!batch.isEmpty() && english != batchEnglish)
                flush();
            if (!batch.isEmpty())
                batch += u' ';
            batch += run.text;
            batchEnglish = english;
            batchPause = run.pauseAtEnd;
            batchBytes = piece.byteEnd;
        }
        if (batch.size() >= 1000)
            flush();
    }
    if (!writeFailed && !m_state.isClosing())
        flush();

    int result = NARREX_OK;
    if (m_state.isClosing())
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

int Engine::reading(QByteArrayView gbk, int kind, int voiceCode, QByteArray *utf8)
{
    const std::optional<NarrexVoice> voice = voiceForCode(voiceCode);
    if (!voice || kind < NormalizedText || kind > Phonemes)
        return NARREX_ERR_INVALID_ARGUMENT;
    const SynthParams params = paramsFor(*voice, 50, 100);
    const std::shared_ptr<const UserPronunciations> user = userList();
    SpeechFrontEnd frontEnd(PinyinData::shared(), user.get());
    Synthesizer &synth = Synthesizer::instance();
    const DecodedText decoded = decodeGbk(gbk);
    QByteArray out;
    QList<QStringView> lines = QStringView(decoded.text).split(u'\n');
    if (decoded.text.endsWith(u'\n'))
        lines.removeLast();
    for (QStringView line : std::as_const(lines)) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (kind == NormalizedText) {
            out += frontEnd.normalized(line, params.englishReading).toUtf8();
        } else if (kind == PinyinTokens) {
            out += frontEnd.pinyin(line, params.englishReading).toUtf8();
        } else {
            // Runs in the other language are marked as espeak-ng marks a
            // switch: (en)…(cmn).
            QByteArrayList parts;
            for (const Sentences::Range &r : Sentences::split(line)) {
                const QStringView sentence = line.sliced(r.start, r.end - r.start);
                for (const SpeechRun &run : frontEnd.process(sentence, params.englishReading)) {
                    const bool english = run.language == SpeechRun::English;
                    QByteArray ph = synth.phonemes(params, english, run.text.toUtf8());
                    if (english && !params.englishReading)
                        ph = "(en)" + ph + "(cmn)";
                    else if (!english && params.englishReading)
                        ph = "(cmn)" + ph + "(en)";
                    parts << ph;
                }
            }
            out += parts.join(' ');
        }
        out += '\n';
    }
    if (!decoded.text.endsWith(u'\n'))
        out.chop(1);
    *utf8 = out;
    return NARREX_OK;
}
