#include "swfwriter.h"

#include <QtEndian>

#include <lzma.h>
#include <zlib.h>

#include <cmath>

SwfWriter::SwfWriter(int version, QSize sizePixels, double frameRate)
    : m_version(version)
    , m_size(sizePixels)
    , m_frameRate(frameRate)
{
}

QByteArray SwfWriter::u16(int value)
{
    const quint16 le = qToLittleEndian(quint16(value));
    return QByteArray(reinterpret_cast<const char *>(&le), 2);
}

QByteArray SwfWriter::u32(quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&le), 4);
}

void SwfWriter::Bits::write(quint32 value, int bits)
{
    for (int i = bits - 1; i >= 0; --i) {
        m_current = (m_current << 1) | ((value >> i) & 1);
        if (++m_used == 8) {
            m_bytes.append(char(m_current));
            m_current = 0;
            m_used = 0;
        }
    }
}

void SwfWriter::Bits::writeSigned(qint32 value, int bits)
{
    write(quint32(value) & (bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1)), bits);
}

void SwfWriter::Bits::align()
{
    if (m_used > 0)
        write(0, 8 - m_used);
}

QByteArray SwfWriter::Bits::bytes()
{
    align();
    return m_bytes;
}

int SwfWriter::Bits::bitsForSigned(qint32 value)
{
    int bits = 1;
    while (bits < 32 && (value < -(qint64(1) << (bits - 1)) || value >= (qint64(1) << (bits - 1))))
        ++bits;
    return bits;
}

int SwfWriter::Bits::bitsForUnsigned(quint32 value)
{
    int bits = 0;
    while (bits < 32 && (quint64(1) << bits) <= value)
        ++bits;
    return bits;
}

QByteArray SwfWriter::rect(int xMin, int xMax, int yMin, int yMax)
{
    int bits = 0;
    for (int v : {xMin, xMax, yMin, yMax})
        bits = qMax(bits, Bits::bitsForSigned(v));
    Bits b;
    b.write(quint32(bits), 5);
    for (int v : {xMin, xMax, yMin, yMax})
        b.writeSigned(v, bits);
    return b.bytes();
}

QByteArray SwfWriter::tagHeader(int code, qsizetype length)
{
    if (length < 0x3F)
        return u16((code << 6) | int(length));
    return u16((code << 6) | 0x3F) + u32(quint32(length));
}

SwfWriter &SwfWriter::tag(int code, const QByteArray &data)
{
    m_tags.append(tagHeader(code, data.size()));
    m_tags.append(data);
    return *this;
}

SwfWriter &SwfWriter::fileAttributes(bool actionScript3, bool useNetwork)
{
    const quint32 flags = (actionScript3 ? 0x08u : 0u) | (useNetwork ? 0x01u : 0u);
    return tag(69, u32(flags));
}

SwfWriter &SwfWriter::backgroundColour(const QColor &colour)
{
    QByteArray rgb;
    rgb.append(char(colour.red()));
    rgb.append(char(colour.green()));
    rgb.append(char(colour.blue()));
    return tag(9, rgb);
}

SwfWriter &SwfWriter::showFrame()
{
    ++m_frames;
    return tag(1, {});
}

QByteArray SwfWriter::finish(Swf::Compression compression, int frameCount) const
{
    QByteArray body = rect(0, m_size.width() * 20, 0, m_size.height() * 20);
    const int rate = int(std::lround(m_frameRate * 256.0));
    body.append(char(rate & 0xFF));
    body.append(char((rate >> 8) & 0xFF));
    body.append(u16(frameCount >= 0 ? frameCount : m_frames));
    body.append(m_tags);
    body.append(u16(0)); // End
    return pack(m_version, body, compression);
}

QByteArray SwfWriter::pack(int version, const QByteArray &body, Swf::Compression compression)
{
    const quint32 fileLength = quint32(8 + body.size());
    QByteArray out;
    switch (compression) {
    case Swf::Compression::None:
        out = "FWS";
        out.append(char(version));
        out.append(u32(fileLength));
        out.append(body);
        break;
    case Swf::Compression::Zlib: {
        out = "CWS";
        out.append(char(version));
        out.append(u32(fileLength));
        uLongf size = compressBound(uLong(body.size()));
        QByteArray packed(qsizetype(size), '\0');
        compress2(reinterpret_cast<Bytef *>(packed.data()), &size,
            reinterpret_cast<const Bytef *>(body.constData()), uLong(body.size()), 9);
        packed.resize(qsizetype(size));
        out.append(packed);
        break;
    }
    case Swf::Compression::Lzma: {
        // The "alone" encoder writes 5 property bytes, 8 size bytes, data;
        // a ZWS file keeps the properties and the data.
        lzma_options_lzma options;
        lzma_lzma_preset(&options, 6);
        lzma_stream strm = LZMA_STREAM_INIT;
        if (lzma_alone_encoder(&strm, &options) != LZMA_OK)
            return {};
        QByteArray packed(body.size() + body.size() / 2 + 1024, '\0');
        strm.next_in = reinterpret_cast<const uint8_t *>(body.constData());
        strm.avail_in = size_t(body.size());
        strm.next_out = reinterpret_cast<uint8_t *>(packed.data());
        strm.avail_out = size_t(packed.size());
        const lzma_ret result = lzma_code(&strm, LZMA_FINISH);
        if (result != LZMA_STREAM_END) {
            lzma_end(&strm);
            return {};
        }
        packed.resize(qsizetype(strm.total_out));
        lzma_end(&strm);
        out = "ZWS";
        out.append(char(version));
        out.append(u32(fileLength));
        out.append(u32(quint32(packed.size() - 13)));
        out.append(packed.left(5));
        out.append(packed.mid(13));
        break;
    }
    }
    return out;
}
