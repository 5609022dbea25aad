#include "synthesizer.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdio>

Synthesizer &Synthesizer::instance()
{
    static Synthesizer synth;
    return synth;
}

bool Synthesizer::initialize(QString *error)
{
    std::lock_guard lock(m_mutex);
    if (m_initialized)
        return true;
    // 100 ms blocks: small enough for a quick first sound and a prompt stop.
    const int rate
        = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 100, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) {
        if (error)
            *error = QStringLiteral("espeak-ng could not be initialised (data files missing?)");
        return false;
    }
    m_sampleRate = rate;
    espeak_SetSynthCallback(reinterpret_cast<t_espeak_callback *>(&Synthesizer::callback));
    m_currentVoice.clear();
    m_initialized = true;
    return true;
}

void Synthesizer::terminate()
{
    // espeak-ng 1.51 hangs in espeak_Terminate once it has been started a
    // second time, so it stays loaded until the process ends; a later
    // initialize() finds it ready. Only the voice is forgotten.
    std::lock_guard lock(m_mutex);
    m_currentVoice.clear();
}

int Synthesizer::callback(short *wav, int count, void *eventList)
{
    Synthesizer &self = instance();
    self.m_words.clear();
    for (auto *e = static_cast<espeak_EVENT *>(eventList);
         e && e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type == espeakEVENT_WORD)
            self.m_words.push_back({e->text_position - 1, e->length, e->sample});
    }
    if (self.m_stopped)
        return 1;
    if (!wav)
        count = 0;
    if ((count > 0 || !self.m_words.empty()) && !(*self.m_sink)(wav, count, self.m_words)) {
        self.m_stopped = true;
        return 1;
    }
    return 0;
}

bool Synthesizer::applyParams(const SynthParams &params, const QByteArray &voice)
{
    if (voice != m_currentVoice) {
        if (voice.isEmpty() || espeak_SetVoiceByName(voice.constData()) != EE_OK) {
            m_currentVoice.clear();
            return false;
        }
        m_currentVoice = voice;
    }
    espeak_SetParameter(espeakRATE, std::clamp(params.rateWpm, 80, 450), 0);
    espeak_SetParameter(espeakPITCH, std::clamp(params.pitch, 0, 100), 0);
    espeak_SetParameter(espeakVOLUME, std::clamp(params.volume, 0, 200), 0);
    return true;
}

bool Synthesizer::synthesize(const SynthParams &params, bool english, const QByteArray &utf8,
    bool endPause, const Sink &sink)
{
    std::lock_guard lock(m_mutex);
    if (!m_initialized
        || !applyParams(params, english ? params.englishVoice : params.mandarinVoice))
        return false;
    m_sink = &sink;
    m_stopped = false;
    const espeak_ERROR rc = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0,
        POS_CHARACTER, 0, espeakCHARS_UTF8 | (endPause ? espeakENDPAUSE : 0), nullptr, nullptr);
    m_sink = nullptr;
    return rc == EE_OK;
}

QByteArray Synthesizer::phonemes(const SynthParams &params, bool english, const QByteArray &utf8)
{
    // espeak-ng writes the phonemes of what it synthesises to a stream, the
    // way its -x option shows them.
    std::FILE *stream = std::tmpfile();
    if (!stream)
        return {};
    {
        std::lock_guard lock(m_mutex);
        if (m_initialized
            && applyParams(params, english ? params.englishVoice : params.mandarinVoice)) {
            const Sink discard
                = [](const int16_t *, int, const std::vector<SynthWord> &) { return true; };
            m_sink = &discard;
            m_stopped = false;
            espeak_SetPhonemeTrace(espeakPHONEMES_SHOW, stream);
            espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                espeakCHARS_UTF8, nullptr, nullptr);
            espeak_SetPhonemeTrace(0, nullptr);
            m_sink = nullptr;
        }
    }
    QByteArray out;
    std::rewind(stream);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        out.append(buffer, qsizetype(n));
    std::fclose(stream);
    return out.simplified();
}

QList<InstalledVoice> Synthesizer::voices()
{
    std::lock_guard lock(m_mutex);
    QList<InstalledVoice> out;
    if (!m_initialized)
        return out;
    const espeak_VOICE **list = espeak_ListVoices(nullptr);
    for (; list && *list; ++list) {
        const espeak_VOICE *v = *list;
        // The first language entry is a priority byte followed by the name.
        const QString language = QString::fromLatin1(v->languages + 1);
        if (QByteArrayView(v->identifier).startsWith("mb/"))
            continue; // mbrola voices need data files Debian does not ship for Chinese
        out.append({language, language,
            QStringLiteral("%1 — %2").arg(language, QString::fromUtf8(v->name))});
    }
    std::sort(out.begin(), out.end(),
        [](const InstalledVoice &a, const InstalledVoice &b) { return a.name < b.name; });
    return out;
}

QStringList Synthesizer::variants()
{
    std::lock_guard lock(m_mutex);
    QStringList out;
    if (!m_initialized)
        return out;
    espeak_VOICE filter {};
    filter.languages = "variant";
    const espeak_VOICE **list = espeak_ListVoices(&filter);
    for (; list && *list; ++list) {
        QString id = QString::fromLatin1((*list)->identifier);
        id = id.section(QLatin1Char('/'), -1);
        if (!id.isEmpty() && !out.contains(id))
            out.append(id);
    }
    out.sort();
    return out;
}
