// The headless back end: no window and no audio, a virtual clock, input from a script, and the
// last presented frame kept in memory for screenshots.
#pragma once

#include "platform/Clock.h"
#include "platform/Host.h"
#include "platform/Script.h"

#include <optional>
#include <string>
#include <vector>

namespace Platform {

class HeadlessHost : public Host
{
public:
    // frameLimit: a close request is delivered before frame frameLimit is due.
    explicit HeadlessHost(std::vector<ScriptEvent> script = {},
                          std::optional<uint32_t> frameLimit = std::nullopt);

    // Headless runs take no lock, so any number can run side by side.
    bool CreateInstanceLock(const std::string&) override { return true; }

    void WaitForMessage(uint64_t deadline) override;
    uint32_t GetTickCount() override { return m_clock.TickCount(); }
    uint64_t QueryPerformanceCounter() override { return m_clock.Counter(); }
    uint64_t QueryPerformanceFrequency() override { return CounterFrequency; }

    // Writes the shots of every frame that has run; reports on stderr the shots that failed
    // or whose frame never ran. Returns false if there was any.
    bool Finish() override;

protected:
    bool OpenNativeWindow(const std::string&) override { return true; }
    void CloseNativeWindow() override {}
    bool PollEvent(Message& message) override;
    void WaitEvent() override;

private:
    bool InputDue() const;
    bool WriteDueShots();

    VirtualClock m_clock;
    std::vector<ScriptEvent> m_input;
    std::vector<ScriptEvent> m_shots;
    size_t m_nextInput = 0;
    size_t m_nextShot = 0;
    std::optional<uint32_t> m_frameLimit;
    bool m_limitDelivered = false;
    bool m_nothingToWaitFor = false;
    bool m_shotFailed = false;
};

} // namespace Platform
