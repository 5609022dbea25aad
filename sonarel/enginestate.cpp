#include "enginestate.h"

#include "narrex.h"

#include <algorithm>

int EngineState::Snapshot::bits() const
{
    int bits = 0;
    if (reading == ReadingQueue::State::Playing)
        bits |= NARREX_STATE_READING;
    if (converting())
        bits |= NARREX_STATE_CONVERTING;
    if (closing)
        bits |= NARREX_STATE_CLOSING;
    return bits;
}

void EngineState::setReading(ReadingQueue::State state)
{
    std::lock_guard lock(m_mutex);
    m_state.reading = state;
}

bool EngineState::beginConversion()
{
    std::lock_guard lock(m_mutex);
    if (m_state.closing)
        return false;
    ++m_state.conversions;
    m_state.conversionPercent = 0;
    return true;
}

void EngineState::setConversionPercent(int percent)
{
    std::lock_guard lock(m_mutex);
    if (m_state.conversions > 0)
        m_state.conversionPercent = std::clamp(percent, 0, 99);
}

void EngineState::endConversion()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_state.conversions == 0)
            return;
        if (--m_state.conversions == 0)
            m_state.conversionPercent = 0;
    }
    m_conversionEnded.notify_all();
}

void EngineState::beginClosing()
{
    std::lock_guard lock(m_mutex);
    m_state.closing = true;
    m_closing.store(true, std::memory_order_release);
}

void EngineState::waitForConversions()
{
    std::unique_lock lock(m_mutex);
    m_conversionEnded.wait(lock, [this] { return m_state.conversions == 0; });
}

EngineState::Snapshot EngineState::snapshot() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}
