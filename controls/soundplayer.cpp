#include "soundplayer.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QtEndian>

SoundPlayer::SoundPlayer(QObject *parent)
    : QObject(parent)
{
}

SoundPlayer::~SoundPlayer()
{
    stop();
}

bool SoundPlayer::load(const QByteArray &wave)
{
    m_pcm.clear();
    if (wave.size() < 12 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE")
        return false;
    QAudioFormat format;
    bool haveFormat = false;
    qsizetype pos = 12;
    while (pos + 8 <= wave.size()) {
        const QByteArray id = wave.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(wave.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (id == "fmt " && body + 16 <= wave.size()) {
            const quint16 tag = qFromLittleEndian<quint16>(wave.constData() + body);
            const int channels = qFromLittleEndian<quint16>(wave.constData() + body + 2);
            const int rate = int(qFromLittleEndian<quint32>(wave.constData() + body + 4));
            const int bits = qFromLittleEndian<quint16>(wave.constData() + body + 14);
            if (tag != 1 || (bits != 8 && bits != 16) || channels < 1 || rate <= 0)
                return false;
            format.setSampleRate(rate);
            format.setChannelCount(channels);
            format.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            m_pcm = wave.mid(body, std::min<qsizetype>(size, wave.size() - body));
            m_format = format;
            return !m_pcm.isEmpty();
        }
        pos = body + qsizetype(size) + qsizetype(size & 1);
    }
    return false;
}

qint64 SoundPlayer::durationMs() const
{
    return m_format.isValid() ? m_format.durationForBytes(qint32(m_pcm.size())) / 1000 : 0;
}

void SoundPlayer::stop()
{
    if (m_sink) {
        m_sink->stop();
        m_sink.reset();
    }
    m_buffer.close();
}

bool SoundPlayer::play()
{
    if (!isLoaded())
        return false;
    stop();
    ++m_plays;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(m_format))
        return false; // no sound here: the caller goes on in silence
    m_buffer.setData(m_pcm);
    m_buffer.open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, m_format);
    m_sink->start(&m_buffer);
    return m_sink->error() == QAudio::NoError;
}
