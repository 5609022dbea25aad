#include "readingqueue.h"

#include <algorithm>
#include <cstring>

ReadingQueue::ReadingQueue(qint64 capacitySamples, std::function<void(State)> stateChanged)
    : m_capacity(capacitySamples)
    , m_stateChanged(std::move(stateChanged))
{
}

void ReadingQueue::setStateLocked(State state)
{
    m_state = state;
    if (m_stateChanged)
        m_stateChanged(state);
}

void ReadingQueue::clearLocked()
{
    m_chunks.clear();
    m_frontOffset = 0;
    m_queued = 0;
    m_pendingMarks.clear();
    m_producerDone = false;
    m_paused = false;
    m_heardBytes = 0;
    m_heardSentence = NoRange;
    m_heardWord = NoRange;
    m_finishClaimed = false;
    m_firstSampleDelayNs = -1;
}

quint64 ReadingQueue::begin(qint64 totalBytes)
{
    std::lock_guard lock(m_mutex);
    ++m_generation;
    clearLocked();
    m_totalBytes = totalBytes;
    setStateLocked(State::Playing);
    m_begunAt = std::chrono::steady_clock::now();
    m_space.notify_all();
    return m_generation;
}

void ReadingQueue::stop()
{
    std::lock_guard lock(m_mutex);
    ++m_generation;
    clearLocked();
    m_totalBytes = 0;
    setStateLocked(State::Idle);
    m_space.notify_all();
}

bool ReadingQueue::togglePause()
{
    std::lock_guard lock(m_mutex);
    if (m_state != State::Playing)
        return false;
    m_paused = !m_paused;
    return true;
}

int ReadingQueue::percent() const
{
    std::lock_guard lock(m_mutex);
    switch (m_state) {
    case State::Idle:
        return 0;
    case State::Finished:
        return 100;
    case State::Playing:
        break;
    }
    if (m_totalBytes <= 0)
        return 0;
    return int(std::min<qint64>(99, m_heardBytes * 100 / m_totalBytes));
}

ReadingQueue::State ReadingQueue::state() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}

quint64 ReadingQueue::generation() const
{
    std::lock_guard lock(m_mutex);
    return m_generation;
}

bool ReadingQueue::claimFinished(quint64 generation)
{
    std::lock_guard lock(m_mutex);
    if (generation != m_generation || m_state != State::Finished || m_finishClaimed)
        return false;
    m_finishClaimed = true;
    return true;
}

bool ReadingQueue::isCurrent(quint64 generation) const
{
    std::lock_guard lock(m_mutex);
    return generation == m_generation && m_state == State::Playing;
}

bool ReadingQueue::tryPush(quint64 generation, AudioChunk &chunk)
{
    std::lock_guard lock(m_mutex);
    if (generation != m_generation || m_state != State::Playing || m_queued >= m_capacity)
        return false;
    m_queued += qint64(chunk.samples.size());
    m_chunks.push_back(std::move(chunk));
    return true;
}

bool ReadingQueue::push(quint64 generation, AudioChunk &chunk)
{
    std::unique_lock lock(m_mutex);
    m_space.wait(lock, [&] {
        return generation != m_generation || m_state != State::Playing || m_queued < m_capacity;
    });
    if (generation != m_generation || m_state != State::Playing)
        return false;
    m_queued += qint64(chunk.samples.size());
    m_chunks.push_back(std::move(chunk));
    return true;
}

void ReadingQueue::finishProducing(quint64 generation)
{
    std::lock_guard lock(m_mutex);
    if (generation == m_generation)
        m_producerDone = true;
}

ReadingQueue::Snapshot ReadingQueue::snapshot() const
{
    std::lock_guard lock(m_mutex);
    return {m_generation, m_state, m_paused};
}

int ReadingQueue::pull(quint64 generation, int16_t *out, int max)
{
    std::lock_guard lock(m_mutex);
    if (generation != m_generation || m_state != State::Playing || m_paused)
        return 0;
    int copied = 0;
    while (copied < max && !m_chunks.empty()) {
        AudioChunk &front = m_chunks.front();
        if (m_frontOffset == 0) {
            for (const TextMark &m : front.marks)
                m_pendingMarks.push_back(m);
            front.marks.clear();
        }
        const size_t n
            = std::min<size_t>(size_t(max - copied), front.samples.size() - m_frontOffset);
        if (n > 0)
            std::memcpy(out + copied, front.samples.data() + m_frontOffset, n * sizeof(int16_t));
        copied += int(n);
        m_frontOffset += n;
        if (m_frontOffset >= front.samples.size()) {
            m_chunks.pop_front();
            m_frontOffset = 0;
        }
    }
    m_queued -= copied;
    if (copied > 0) {
        if (m_firstSampleDelayNs < 0)
            m_firstSampleDelayNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::steady_clock::now() - m_begunAt)
                                       .count();
        m_space.notify_all();
    }
    return copied;
}

bool ReadingQueue::reportPlayed(quint64 generation, qint64 played, bool drained)
{
    std::lock_guard lock(m_mutex);
    if (generation != m_generation || m_state != State::Playing)
        return false;
    while (!m_pendingMarks.empty() && m_pendingMarks.front().sample <= played) {
        const TextMark &mark = m_pendingMarks.front();
        m_heardBytes = std::max(m_heardBytes, mark.byteStart);
        if (mark.kind == TextMark::Sentence) {
            m_heardSentence.store(pack(mark.byteStart, mark.byteLength), std::memory_order_release);
            m_heardWord.store(NoRange, std::memory_order_release);
        } else {
            m_heardWord.store(pack(mark.byteStart, mark.byteLength), std::memory_order_release);
        }
        m_pendingMarks.pop_front();
    }
    if (m_producerDone && m_chunks.empty() && drained) {
        setStateLocked(State::Finished);
        m_heardBytes = m_totalBytes;
        m_pendingMarks.clear();
        m_heardSentence = NoRange;
        m_heardWord = NoRange;
        return true;
    }
    return false;
}

quint64 ReadingQueue::pack(qint64 start, qint32 length)
{
    return quint64(quint32(qint32(std::min<qint64>(start, INT32_MAX)))) << 32 | quint32(length);
}

ReadingQueue::Range ReadingQueue::unpack(quint64 packed)
{
    if (packed == NoRange)
        return {};
    return {qint32(quint32(packed >> 32)), qint32(quint32(packed))};
}

bool ReadingQueue::heardRange(Range *sentence, Range *word) const
{
    const Range s = unpack(m_heardSentence.load(std::memory_order_acquire));
    const Range w = unpack(m_heardWord.load(std::memory_order_acquire));
    if (sentence)
        *sentence = s;
    if (word)
        *word = s.start < 0 ? Range() : w;
    return s.start >= 0;
}

qint64 ReadingQueue::queuedSamples() const
{
    std::lock_guard lock(m_mutex);
    return m_queued;
}

qint64 ReadingQueue::firstSampleDelayNs() const
{
    std::lock_guard lock(m_mutex);
    return m_firstSampleDelayNs;
}
