#include "wavwriter.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace {

void put32(char *p, quint32 v)
{
    qToLittleEndian(v, p);
}
void put64(char *p, quint64 v)
{
    qToLittleEndian(v, p);
}
void put16(char *p, quint16 v)
{
    qToLittleEndian(v, p);
}

} // namespace

WavWriter::WavWriter(QIODevice *device, int sampleRate)
    : m_device(device)
    , m_rate(sampleRate)
{
}

QByteArray WavWriter::header(int sampleRate, qint64 dataBytes)
{
    QByteArray h(HeaderBytes, '\0');
    char *p = h.data();
    const quint64 riffSize = quint64(HeaderBytes - 8) + quint64(dataBytes);
    const bool rf64 = riffSize > std::numeric_limits<quint32>::max();

    std::memcpy(p, rf64 ? "RF64" : "RIFF", 4);
    put32(p + 4, rf64 ? 0xFFFFFFFFu : quint32(riffSize));
    std::memcpy(p + 8, "WAVE", 4);

    std::memcpy(p + 12, rf64 ? "ds64" : "JUNK", 4);
    put32(p + 16, 28);
    if (rf64) {
        put64(p + 20, riffSize);
        put64(p + 28, quint64(dataBytes));
        put64(p + 36, quint64(dataBytes) / 2); // sample frames
        put32(p + 44, 0); // no table entries
    }

    std::memcpy(p + 48, "fmt ", 4);
    put32(p + 52, 16);
    put16(p + 56, 1); // PCM
    put16(p + 58, 1); // mono
    put32(p + 60, quint32(sampleRate));
    put32(p + 64, quint32(sampleRate) * 2);
    put16(p + 68, 2);
    put16(p + 70, 16);

    std::memcpy(p + 72, "data", 4);
    put32(p + 76, rf64 ? 0xFFFFFFFFu : quint32(dataBytes));
    return h;
}

bool WavWriter::begin()
{
    m_dataBytes = 0;
    const QByteArray h = header(m_rate, 0);
    return m_device->write(h) == h.size();
}

bool WavWriter::write(const int16_t *samples, int count)
{
    if (count <= 0)
        return true;
    const qint64 bytes = qint64(count) * 2;
    qint64 done;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        done = m_device->write(reinterpret_cast<const char *>(samples), bytes);
    } else {
        QByteArray le(bytes, Qt::Uninitialized);
        for (int i = 0; i < count; ++i)
            qToLittleEndian(quint16(samples[i]), le.data() + 2 * i);
        done = m_device->write(le);
    }
    if (done != bytes)
        return false;
    m_dataBytes += bytes;
    return true;
}

bool WavWriter::finish()
{
    const QByteArray h = header(m_rate, m_dataBytes);
    const qint64 end = m_device->pos();
    if (!m_device->seek(0) || m_device->write(h) != h.size())
        return false;
    return m_device->seek(end);
}
