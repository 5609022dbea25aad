#pragma once

// Plays a short wave sound held in memory, without waiting: play() returns
// at once, and playing again cuts off a sound still playing. Where there is
// no sound device, nothing plays and play() says so.

#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>
#include <QObject>

#include <memory>

class QAudioSink;

class SoundPlayer : public QObject
{
    Q_OBJECT

public:
    explicit SoundPlayer(QObject *parent = nullptr);
    ~SoundPlayer() override;

    // A RIFF WAVE file of PCM samples; false (and nothing loaded) otherwise.
    bool load(const QByteArray &wave);
    bool isLoaded() const { return !m_pcm.isEmpty(); }
    const QAudioFormat &format() const { return m_format; }
    qint64 durationMs() const;

    bool play();
    void stop();
    int plays() const { return m_plays; }

private:
    QAudioFormat m_format;
    QByteArray m_pcm;
    QBuffer m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
    int m_plays = 0;
};
