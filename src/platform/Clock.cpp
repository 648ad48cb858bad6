// The real clock, on the monotonic steady clock.
#include "platform/Clock.h"

#include <chrono>

namespace Platform {

uint64_t RealClock::Counter() const
{
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t RealClock::TickCount() const
{
    return static_cast<uint32_t>(Counter() / (CounterFrequency / 1000));
}

} // namespace Platform
