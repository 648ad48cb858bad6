// The two time sources of the host: the real steady clock, and the virtual clock of headless
// runs, which moves only when the program would wait, so runs are deterministic and instant.
#pragma once

#include <cstdint>

namespace Platform {

// Both clocks count the high-resolution counter in microseconds.
constexpr uint64_t CounterFrequency = 1'000'000;

class RealClock
{
public:
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    uint32_t TickCount() const;
    uint64_t Counter() const;
};

class VirtualClock
{
public:
    // A virtual run starts ten seconds after its epoch, so a loop whose last frame is at
    // counter 0 finds its first frame due at once.
    static constexpr uint64_t Start = 10 * CounterFrequency;

    uint32_t TickCount() const { return static_cast<uint32_t>(m_now / (CounterFrequency / 1000)); }
    uint64_t Counter() const { return m_now; }
    void AdvanceTo(uint64_t counter)
    {
        if (counter > m_now)
            m_now = counter;
    }

private:
    uint64_t m_now = Start;
};

} // namespace Platform
