#pragma once

#include <QRandomGenerator>

// The program's pseudo-random numbers: uniform whole numbers from 0 to
// n − 1. One generator serves the whole run, seeded once from the
// high-resolution clock; tests make their own with a fixed seed. Seeding
// before every draw (from a clock that repeats within its tick) would repeat
// draws and skew them.
class RandomSource
{
public:
    explicit RandomSource(quint64 seed);

    // The run's generator, seeded at first use.
    static RandomSource &global();

    void seed(quint64 seed);
    void seedFromClock();
    // Uniform in 0 … n − 1; 0 when n < 1.
    int below(int n);

private:
    QRandomGenerator64 m_generator;
};
