#pragma once

#include <QByteArray>

#include <cstdint>

class QIODevice;

// Streams 16-bit mono PCM into a seekable device as a WAV file.
//
// The header reserves a JUNK chunk right after "WAVE" so that the finished
// file can become RF64 in place when its audio outgrows what a RIFF file can
// describe (4 GiB): the JUNK chunk then turns into the "ds64" chunk that holds
// the 64-bit sizes. Players that know only RIFF skip the JUNK chunk.
class WavWriter
{
public:
    static constexpr int HeaderBytes = 80;

    WavWriter(QIODevice *device, int sampleRate);

    bool begin();
    bool write(const int16_t *samples, int count);
    // Writes the final sizes into the header.
    bool finish();

    qint64 dataBytes() const { return m_dataBytes; }

    // The header for a file with dataBytes bytes of samples; RF64 when needed.
    static QByteArray header(int sampleRate, qint64 dataBytes);

private:
    QIODevice *m_device;
    int m_rate;
    qint64 m_dataBytes = 0;
};
