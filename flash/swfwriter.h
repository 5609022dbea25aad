#pragma once

// Writes Flash movies: the header, tags and frames, compressed or not. The
// tests make their movies with it, and the demo games are built with it.

#include <QByteArray>
#include <QColor>
#include <QSize>

#include "swf.h"

class SwfWriter
{
public:
    SwfWriter(int version, QSize sizePixels, double frameRate);

    // FileAttributes (first tag, version 8 and later).
    SwfWriter &fileAttributes(bool actionScript3, bool useNetwork = false);
    SwfWriter &backgroundColour(const QColor &colour);
    SwfWriter &tag(int code, const QByteArray &data);
    SwfWriter &doAction(const QByteArray &actions) { return tag(12, actions); }
    SwfWriter &showFrame();
    int framesWritten() const { return m_frames; }

    // The whole file. frameCount overrides the number of frames written
    // (for damaged headers in tests).
    QByteArray finish(Swf::Compression compression, int frameCount = -1) const;

    // Bit-level helpers for tag bodies.
    class Bits
    {
    public:
        void write(quint32 value, int bits);
        void writeSigned(qint32 value, int bits);
        void align();
        QByteArray bytes();
        static int bitsForSigned(qint32 value);
        static int bitsForUnsigned(quint32 value);

    private:
        QByteArray m_bytes;
        quint32 m_current = 0;
        int m_used = 0;
    };
    static QByteArray rect(int xMin, int xMax, int yMin, int yMax);
    // A tag's header: code and length, in the short or the long form.
    static QByteArray tagHeader(int code, qsizetype length);
    // A whole file from the bytes after its 8-byte header.
    static QByteArray pack(int version, const QByteArray &body, Swf::Compression compression);
    static QByteArray u16(int value);
    static QByteArray u32(quint32 value);

private:
    int m_version;
    QSize m_size;
    double m_frameRate;
    QByteArray m_tags;
    int m_frames = 0;
};
