#pragma once

#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

// The hand-over between the synthesis thread and the audio thread for one
// reading at a time.
//
// Samples travel in chunks together with marks: the text range (in bytes of
// the caller's text) that starts being heard at a given sample of the reading.
// The audio side reports how many samples have really been played; marks up to
// that point tell how far the listener has got. Every reading has a
// generation number; stopping or replacing a reading bumps it, and any call
// carrying an older generation is refused, so stale work drops out by itself.

struct TextMark {
    enum Kind : uint8_t { Sentence, Word };
    qint64 sample = 0; // sample index within the reading
    qint64 byteStart = 0; // in the reading's text
    qint32 byteLength = 0;
    Kind kind = Word;
};

struct AudioChunk {
    std::vector<int16_t> samples;
    std::vector<TextMark> marks;
};

class ReadingQueue
{
public:
    enum class State { Idle, Playing, Finished };

    // stateChanged hears each change of state, with the queue's lock held:
    // it must not call back into the queue.
    explicit ReadingQueue(qint64 capacitySamples, std::function<void(State)> stateChanged = {});

    // Control side.
    quint64 begin(qint64 totalBytes);
    void stop();
    bool togglePause(); // false when no reading is playing
    int percent() const;
    State state() const;
    quint64 generation() const;
    // True once per finished reading of that generation: the end notification.
    bool claimFinished(quint64 generation);

    // Synthesis side.
    bool isCurrent(quint64 generation) const;
    // Queues a chunk if there is room; false when full or stale.
    bool tryPush(quint64 generation, AudioChunk &chunk);
    // Waits for room; false when the reading became stale meanwhile.
    bool push(quint64 generation, AudioChunk &chunk);
    void finishProducing(quint64 generation);

    // Audio side.
    struct Snapshot {
        quint64 generation = 0;
        State state = State::Idle;
        bool paused = false;
    };
    Snapshot snapshot() const;
    // Copies up to max samples of the reading into out; returns how many.
    int pull(quint64 generation, int16_t *out, int max);
    // played: samples of this reading that have been heard; drained: the
    // output holds nothing more. Returns true when the reading has just finished.
    bool reportPlayed(quint64 generation, qint64 played, bool drained);

    // The sentence and the word being heard now, in bytes of the reading's
    // text; start -1 when nothing is. Lock-free: asking never holds up the
    // audio side, which updates them as it reports what was played.
    struct Range {
        qint32 start = -1;
        qint32 length = 0;
    };
    bool heardRange(Range *sentence, Range *word) const;

    qint64 queuedSamples() const;
    // Time from begin() to the first sample handed to the output, or -1.
    qint64 firstSampleDelayNs() const;

private:
    void clearLocked();
    void setStateLocked(State state);

    const qint64 m_capacity;
    mutable std::mutex m_mutex;
    std::condition_variable m_space;
    quint64 m_generation = 0;
    const std::function<void(State)> m_stateChanged;
    State m_state = State::Idle;
    bool m_paused = false;
    bool m_producerDone = false;
    bool m_finishClaimed = false;
    qint64 m_totalBytes = 0;
    qint64 m_heardBytes = 0;
    std::deque<AudioChunk> m_chunks;
    size_t m_frontOffset = 0; // samples of the front chunk already pulled
    qint64 m_queued = 0;
    std::deque<TextMark> m_pendingMarks; // pulled, not yet heard
    std::atomic<quint64> m_heardSentence {NoRange};
    std::atomic<quint64> m_heardWord {NoRange};
    static constexpr quint64 NoRange = ~quint64(0);
    static quint64 pack(qint64 start, qint32 length);
    static Range unpack(quint64 packed);
    std::chrono::steady_clock::time_point m_begunAt;
    qint64 m_firstSampleDelayNs = -1;
};
