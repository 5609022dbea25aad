#include "randomsource.h"

#include <chrono>

RandomSource::RandomSource(quint64 seed)
    : m_generator(seed)
{
}

RandomSource &RandomSource::global()
{
    static RandomSource source = [] {
        RandomSource s(0);
        s.seedFromClock();
        return s;
    }();
    return source;
}

void RandomSource::seed(quint64 seed)
{
    m_generator.seed(seed);
}

void RandomSource::seedFromClock()
{
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch();
    seed(quint64(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

int RandomSource::below(int n)
{
    if (n < 1)
        return 0;
    return int(m_generator.bounded(quint64(n)));
}
