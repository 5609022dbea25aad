#pragma once

#include <QElapsedTimer>

#include <cstdint>
#include <memory>

// Where the samples of a reading go. Used only on the audio thread.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;

    virtual int freeSamples() = 0;
    virtual void write(const int16_t *samples, int count) = 0;
    // Samples written but not yet heard.
    virtual int bufferedSamples() = 0;
    virtual void setPaused(bool paused) = 0;
    // Drops everything buffered, for a stop or a new reading.
    virtual void discard() = 0;
    // False once the device has failed; the player then falls back to silence.
    virtual bool isHealthy() = 0;
};

// Consumes samples at real-time pace without a sound device, so that progress,
// pause and the end of a reading behave as they do with one.
class SilentAudioOutput final : public AudioOutput
{
public:
    explicit SilentAudioOutput(int sampleRate, int bufferMs = 100);

    int freeSamples() override;
    void write(const int16_t *samples, int count) override;
    int bufferedSamples() override;
    void setPaused(bool paused) override;
    void discard() override;
    bool isHealthy() override { return true; }

private:
    void drain();

    const int m_rate;
    const int m_capacity;
    double m_buffered = 0;
    bool m_paused = false;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
};

// The system's default output through Qt Multimedia, or null when there is
// none or it cannot be opened. NARREX_AUDIO=silent always gives null.
std::unique_ptr<AudioOutput> openSystemAudioOutput(int sampleRate);
int systemAudioOutputCount();
