#include "audiothread.h"

#include "audiooutput.h"
#include "readingqueue.h"

#include <QTimer>

#include <vector>

AudioThread::AudioThread(ReadingQueue &queue, int sampleRate, FinishedCallback onFinished)
    : m_queue(queue)
    , m_rate(sampleRate)
    , m_onFinished(std::move(onFinished))
{
    setObjectName(QStringLiteral("narrex-audio"));
}

void AudioThread::run()
{
    std::unique_ptr<AudioOutput> output = openSystemAudioOutput(m_rate);
    if (!output)
        output = std::make_unique<SilentAudioOutput>(m_rate);

    quint64 generation = 0;
    bool paused = false;
    qint64 written = 0;
    std::vector<int16_t> buffer(static_cast<size_t>(m_rate)); // one second at most per tick

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        if (!output->isHealthy()) {
            // The device went away: go on in silence so the reading still ends.
            output = std::make_unique<SilentAudioOutput>(m_rate);
        }
        const ReadingQueue::Snapshot now = m_queue.snapshot();
        if (now.generation != generation) {
            output->discard();
            if (paused)
                output->setPaused(false);
            generation = now.generation;
            paused = false;
            written = 0;
        }
        if (now.state != ReadingQueue::State::Playing)
            return;
        if (now.paused != paused) {
            paused = now.paused;
            output->setPaused(paused);
        }
        if (paused)
            return;
        const int room = std::min<int>(output->freeSamples(), int(buffer.size()));
        const int n = room > 0 ? m_queue.pull(generation, buffer.data(), room) : 0;
        if (n > 0) {
            output->write(buffer.data(), n);
            written += n;
        }
        const int buffered = output->bufferedSamples();
        if (m_queue.reportPlayed(generation, written - buffered, buffered == 0) && m_onFinished)
            m_onFinished(generation);
    });
    timer.start(10);
    exec();
}
