// A host for tests of the application shell: a hand-driven clock, a queue of messages to
// deliver, and counters of what the program asked of the platform.
#pragma once

#include "platform/Host.h"

#include <deque>
#include <functional>
#include <vector>

class FakeHost : public Platform::Host
{
public:
    static constexpr uint64_t Frequency = 1'000'000;

    FakeHost() { Platform::SetHost(this); }
    ~FakeHost() override { Platform::SetHost(nullptr); }

    bool CreateInstanceLock(const std::string&) override { return instanceLockFree; }
    void WaitForMessage(uint64_t deadline) override
    {
        waitDeadlines.push_back(deadline);
        if (onWait)
            onWait(*this, deadline);
        else if (deadline > now)
            now = deadline;
    }
    uint32_t GetTickCount() override { return static_cast<uint32_t>(now / 1000); }
    uint64_t QueryPerformanceCounter() override { return now; }
    uint64_t QueryPerformanceFrequency() override { return Frequency; }
    void FrameStarted() override
    {
        Host::FrameStarted();
        if (onFrame)
            onFrame(*this, FramesRun() - 1);
    }
    void EndScreenDraw() override { ++presents; }
    Platform::ScreenLayout GetScreenLayout() const override { return layout; }
    uint16_t* BeginScreenDraw() override
    {
        return customScreen.empty() ? Host::BeginScreenDraw() : customScreen.data() + screenOrigin;
    }
    uint16_t* RawFrameBuffer() override { return rawFrameBuffer ? ScreenMemory() : nullptr; }

    void Post(Platform::Message message) { pending.push_back(message); }

    uint64_t now = 10 * Frequency;
    bool instanceLockFree = true;
    bool rawFrameBuffer = false;
    bool windowOpens = true;
    int presents = 0;
    int blockingWaits = 0;
    std::deque<Platform::Message> pending;
    std::vector<uint64_t> waitDeadlines;
    std::function<void(FakeHost&, uint64_t deadline)> onWait;
    std::function<void(FakeHost&, uint32_t frame)> onFrame;
    std::function<void(FakeHost&)> onBlockingWait;
    // A screen with another layout than the plain 240x320 one.
    Platform::ScreenLayout layout;
    std::vector<uint16_t> customScreen;
    size_t screenOrigin = 0;

protected:
    bool OpenNativeWindow(const std::string&) override { return windowOpens; }
    void CloseNativeWindow() override { ++windowsClosed; }
    bool PollEvent(Platform::Message& message) override
    {
        if (pending.empty())
            return false;
        message = pending.front();
        pending.pop_front();
        return true;
    }
    void WaitEvent() override
    {
        ++blockingWaits;
        if (onBlockingWait)
            onBlockingWait(*this);
    }

public:
    int windowsClosed = 0;
};
