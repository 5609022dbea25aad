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

protected:
    void run() override;

private:
    ReadingQueue &m_queue;
    const int m_rate;
    FinishedCallback m_onFinished;
};
