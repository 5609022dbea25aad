#pragma once

#include "readingqueue.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

// What the engine is doing (its reading, its conversions, its closing), in
// one record that every thread reads and changes only through the
// transitions below, as drawn at the top of engine.h. The conversion's
// percentage exists only with a conversion: a snapshot that says
// "converting" carries it, one that does not has none to show.
class EngineState
{
public:
    struct Snapshot {
        ReadingQueue::State reading = ReadingQueue::State::Idle;
        int conversions = 0; // running at once (the program runs one)
        int conversionPercent = 0; // of the latest report, while converting
        bool closing = false;

        bool converting() const { return conversions > 0; }
        // The NARREX_STATE_* bits.
        int bits() const;
    };

    // Reading: the queue calls this at each change of its state.
    void setReading(ReadingQueue::State state);

    // Conversion. beginConversion is refused (false) once closing has begun;
    // each begun conversion ends with exactly one endConversion.
    bool beginConversion();
    void setConversionPercent(int percent);
    void endConversion();

    // Closing: refuses new conversions, then waits until the running ones
    // have ended.
    void beginClosing();
    void waitForConversions();
    // Without a lock, for the synthesiser's sinks that ask at every block.
    bool isClosing() const { return m_closing.load(std::memory_order_acquire); }

    Snapshot snapshot() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_conversionEnded;
    Snapshot m_state;
    std::atomic<bool> m_closing {false};
};
