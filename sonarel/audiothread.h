#pragma once

#include <QThread>

#include <atomic>
#include <functional>

class ReadingQueue;

// Drains the reading queue into the audio output every few milliseconds and
// reports what has really been heard. The output device lives and dies on
// this thread.
class AudioThread final : public QThread
{
public:
    using FinishedCallback = std::function<void(quint64 generation)>;

    AudioThread(ReadingQueue &queue, int sampleRate, FinishedCallback onFinished);

    bool usingSystemOutput() const { return m_system.load(); }

protected:
    void run() override;

private:
    ReadingQueue &m_queue;
    const int m_rate;
    FinishedCallback m_onFinished;
    std::atomic<bool> m_system{false};
};
