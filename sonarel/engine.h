#pragma once

// The engine behind the Narrex_ functions.
//
//   Narrex_Speak ──► Engine::speak ──► synthesis thread ──► ReadingQueue ──► AudioThread ──► output
//                                        (TextPieceReader,      (chunks and      (system sound or
//                                         Synthesizer)           text marks)      silent real time)
//   AudioThread sees the last sample heard ──► end notification posted to the
//   thread that called Narrex_Initialize ──► NarrexNotifyTarget::setText.
//
//   Narrex_SpeakToWave runs on the caller's thread: TextPieceReader ──►
//   Synthesizer ──► WavWriter on a QSaveFile, taking turns with a reading.

#include "readingqueue.h"
#include "synthesizer.h"
#include "voicesettings.h"

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "narrex.h"

class AudioThread;
class QObject;

class Engine
{
public:
    Engine();
    ~Engine();

    int initialize(const NarrexNotifyTarget *target);
    void shutdown();

    int deviceCount() const;
    int speak(const QByteArray &gbk, int voiceCode, int speed, int volume);
    int location() const;
    // The sentence and word of the current reading being heard, in bytes of
    // its text; false ("nothing") when idle and while a conversion runs.
    bool speakingRange(ReadingQueue::Range *sentence, ReadingQueue::Range *word) const;
    int pauseOrContinue();
    int stop();
    int showSettingsDialog();
    int speakToWave(QByteArrayView gbk, QByteArrayView gbkPath, int voiceFamily, int speed,
                    int volume);

    VoiceSettings settings() const;
    void setSettings(const VoiceSettings &settings);
    bool usingSystemOutput() const;
    qint64 firstSampleDelayNs() const { return m_queue.firstSampleDelayNs(); }
    int sampleRate() const;

    static std::optional<NarrexVoice> voiceForCode(int code);
    static std::optional<NarrexVoice> voiceForWaveFamily(int family);
    static int rateFor(int baseRate, int speed);

private:
    struct Job {
        quint64 generation = 0;
        QByteArray text;
        SynthParams params;
    };

    void startAudio();
    SynthParams paramsFor(NarrexVoice voice, int speed, int volume) const;
    void synthesisLoop();
    void runJob(const Job &job);
    void deliverEnd(quint64 generation);

    ReadingQueue m_queue;
    NarrexNotifyTarget m_target{};
    QObject *m_notifier = nullptr;
    std::unique_ptr<AudioThread> m_audio;
    std::thread m_synthThread;

    std::mutex m_jobMutex;
    std::condition_variable m_jobReady;
    std::optional<Job> m_job;
    bool m_quit = false;

    mutable std::mutex m_settingsMutex;
    VoiceSettings m_settings;

    std::atomic<bool> m_closing{false};
    std::mutex m_convertMutex;
    std::condition_variable m_convertDone;
    int m_activeConversions = 0;
    std::atomic<int> m_convertPercent{-1};
};
