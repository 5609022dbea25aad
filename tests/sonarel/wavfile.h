#pragma once

// A small WAV reader for the tests, independent of the engine's writer: it
// walks the chunks the way a player does.

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

struct WavFile {
    bool valid = false;
    QByteArray container; // "RIFF" or "RF64"
    int format = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    quint64 declaredDataBytes = 0;
    std::vector<int16_t> samples;

    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0; }

    double rms() const
    {
        if (samples.empty())
            return 0;
        double sum = 0;
        for (int16_t s : samples)
            sum += double(s) * s;
        return std::sqrt(sum / double(samples.size())) / 32768.0;
    }

    // The longest stretch of near silence between the first and the last
    // sound, in seconds.
    double longestInnerSilence(int threshold = 300) const
    {
        size_t first = 0, last = samples.size();
        while (first < last && std::abs(samples[first]) < threshold)
            ++first;
        while (last > first && std::abs(samples[last - 1]) < threshold)
            --last;
        size_t best = 0, run = 0;
        for (size_t i = first; i < last; ++i) {
            run = std::abs(samples[i]) < threshold ? run + 1 : 0;
            best = std::max(best, run);
        }
        return sampleRate ? double(best) / sampleRate : 0;
    }

    // Median fundamental frequency over voiced 40 ms frames, by
    // autocorrelation between 60 and 500 Hz.
    double medianPitchHz() const
    {
        const int frame = sampleRate / 25;
        const int minLag = sampleRate / 500;
        const int maxLag = sampleRate / 60;
        std::vector<double> pitches;
        for (size_t start = 0; start + size_t(frame + maxLag) < samples.size();
             start += size_t(frame)) {
            double energy = 0;
            for (int i = 0; i < frame; ++i)
                energy += double(samples[start + i]) * samples[start + i];
            if (energy / frame < 1e6) // quiet: pause or unvoiced
                continue;
            double best = 0;
            int bestLag = 0;
            for (int lag = minLag; lag <= maxLag; ++lag) {
                double c = 0;
                for (int i = 0; i < frame; ++i)
                    c += double(samples[start + i]) * samples[start + i + lag];
                if (c > best) {
                    best = c;
                    bestLag = lag;
                }
            }
            if (bestLag > 0 && best > 0.5 * energy)
                pitches.push_back(double(sampleRate) / bestLag);
        }
        if (pitches.empty())
            return 0;
        std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
        return pitches[pitches.size() / 2];
    }

    static WavFile read(const QString &path)
    {
        WavFile w;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return w;
        const QByteArray b = f.readAll();
        if (b.size() < 12 || b.mid(8, 4) != "WAVE")
            return w;
        w.container = b.left(4);
        if (w.container != "RIFF" && w.container != "RF64")
            return w;
        qsizetype pos = 12;
        bool haveFmt = false;
        quint64 ds64Data = 0;
        while (pos + 8 <= b.size()) {
            const QByteArray id = b.mid(pos, 4);
            quint64 size = qFromLittleEndian<quint32>(b.constData() + pos + 4);
            const qsizetype body = pos + 8;
            if (id == "ds64" && body + 16 <= b.size())
                ds64Data = qFromLittleEndian<quint64>(b.constData() + body + 8);
            if (id == "fmt " && body + 16 <= b.size()) {
                w.format = qFromLittleEndian<quint16>(b.constData() + body);
                w.channels = qFromLittleEndian<quint16>(b.constData() + body + 2);
                w.sampleRate = int(qFromLittleEndian<quint32>(b.constData() + body + 4));
                w.bitsPerSample = qFromLittleEndian<quint16>(b.constData() + body + 14);
                haveFmt = true;
            }
            if (id == "data") {
                if (size == 0xFFFFFFFFu && w.container == "RF64")
                    size = ds64Data;
                w.declaredDataBytes = size;
                if (!haveFmt || body + qsizetype(size) > b.size() || w.bitsPerSample != 16)
                    return w;
                w.samples.resize(size / 2);
                for (size_t i = 0; i < w.samples.size(); ++i)
                    w.samples[i] = qFromLittleEndian<qint16>(b.constData() + body + 2 * i);
                w.valid = w.format == 1;
                return w;
            }
            pos = body + qsizetype(size) + qsizetype(size & 1);
        }
        return w;
    }
};
