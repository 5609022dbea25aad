#include "audiooutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>

SilentAudioOutput::SilentAudioOutput(int sampleRate, int bufferMs)
    : m_rate(sampleRate)
    , m_capacity(std::max(1, sampleRate * bufferMs / 1000))
{
    m_clock.start();
    m_lastNs = m_clock.nsecsElapsed();
}

void SilentAudioOutput::drain()
{
    const qint64 now = m_clock.nsecsElapsed();
    if (!m_paused)
        m_buffered = std::max(0.0, m_buffered - double(now - m_lastNs) * m_rate / 1e9);
    m_lastNs = now;
}

int SilentAudioOutput::freeSamples()
{
    drain();
    return std::max(0, m_capacity - int(std::ceil(m_buffered)));
}

void SilentAudioOutput::write(const int16_t *, int count)
{
    drain();
    m_buffered += count;
}

int SilentAudioOutput::bufferedSamples()
{
    drain();
    return int(std::ceil(m_buffered));
}

void SilentAudioOutput::setPaused(bool paused)
{
    drain();
    m_paused = paused;
}

void SilentAudioOutput::discard()
{
    drain();
    m_buffered = 0;
}

namespace {

bool forcedSilent()
{
    return qEnvironmentVariable("NARREX_AUDIO")
               .compare(QLatin1String("silent"), Qt::CaseInsensitive)
        == 0;
}

class QtAudioOutput final : public AudioOutput
{
public:
    QtAudioOutput(const QAudioDevice &device, const QAudioFormat &format)
        : m_sink(device, format)
    {
        m_sink.setBufferSize(format.bytesForDuration(200'000));
        m_io = m_sink.start();
    }

    bool opened() const { return m_io && m_sink.error() == QAudio::NoError; }

    int freeSamples() override { return int(m_sink.bytesFree() / 2); }
    void write(const int16_t *samples, int count) override
    {
        m_io->write(reinterpret_cast<const char *>(samples), qint64(count) * 2);
    }
    int bufferedSamples() override
    {
        return int(std::max<qsizetype>(0, m_sink.bufferSize() - m_sink.bytesFree()) / 2);
    }
    void setPaused(bool paused) override
    {
        if (paused)
            m_sink.suspend();
        else
            m_sink.resume();
    }
    void discard() override
    {
        m_sink.reset();
        m_io = m_sink.start();
    }
    bool isHealthy() override
    {
        return m_io && m_sink.error() != QAudio::OpenError && m_sink.error() != QAudio::FatalError;
    }

private:
    QAudioSink m_sink;
    QIODevice *m_io = nullptr;
};

} // namespace

int systemAudioOutputCount()
{
    if (forcedSilent() || !QCoreApplication::instance())
        return 0;
    return int(QMediaDevices::audioOutputs().size());
}

std::unique_ptr<AudioOutput> openSystemAudioOutput(int sampleRate)
{
    if (forcedSilent() || !QCoreApplication::instance())
        return nullptr;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return nullptr;
    auto out = std::make_unique<QtAudioOutput>(device, format);
    if (!out->opened())
        return nullptr;
    return out;
}
