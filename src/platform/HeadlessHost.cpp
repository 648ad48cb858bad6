// Headless runs: scripted input delivered by frame number on a virtual clock.
#include "platform/HeadlessHost.h"

#include "platform/Screenshot.h"
#include "platform/Signals.h"

#include <cstdio>

namespace Platform {

HeadlessHost::HeadlessHost(std::vector<ScriptEvent> script, std::optional<uint32_t> frameLimit)
    : m_frameLimit(frameLimit)
{
    // ParseScript orders events by frame; splitting keeps that order in both lists.
    for (ScriptEvent& event : script) {
        if (event.kind == ScriptEvent::Kind::Shot)
            m_shots.push_back(std::move(event));
        else
            m_input.push_back(std::move(event));
    }
}

bool HeadlessHost::InputDue() const
{
    if (m_nextInput < m_input.size() && m_input[m_nextInput].frame <= FramesRun())
        return true;
    return m_frameLimit && !m_limitDelivered && FramesRun() >= *m_frameLimit;
}

bool HeadlessHost::PollEvent(Message& message)
{
    WriteDueShots();
    if (TakeCloseSignal() || m_nothingToWaitFor) {
        m_nothingToWaitFor = false;
        message = {MessageId::Close, 0, 0};
        return true;
    }
    if (m_nextInput < m_input.size() && m_input[m_nextInput].frame <= FramesRun()) {
        message = m_input[m_nextInput++].ToMessage();
        return true;
    }
    if (m_frameLimit && !m_limitDelivered && FramesRun() >= *m_frameLimit) {
        m_limitDelivered = true;
        message = {MessageId::Close, 0, 0};
        return true;
    }
    return false;
}

void HeadlessHost::WaitForMessage(uint64_t deadline)
{
    if (InputDue() || CloseSignalPending())
        return;
    m_clock.AdvanceTo(deadline);
}

void HeadlessHost::WaitEvent()
{
    // Without frames no script event can come due, so waiting would never end: ask to close.
    if (!InputDue() && !CloseSignalPending())
        m_nothingToWaitFor = true;
}

bool HeadlessHost::WriteDueShots()
{
    bool ok = true;
    while (m_nextShot < m_shots.size() && m_shots[m_nextShot].frame < FramesRun()) {
        const ScriptEvent& shot = m_shots[m_nextShot++];
        std::string error;
        if (!WriteScreenshot(shot.file, ScreenMemory(), ScreenWidth, ScreenHeight, ScreenWidth,
                             error)) {
            std::fprintf(stderr, "tavlo: cannot write the shot of frame %u: %s\n", shot.frame,
                         error.c_str());
            m_shotFailed = true;
            ok = false;
        }
    }
    return ok;
}

bool HeadlessHost::Finish()
{
    WriteDueShots();
    for (; m_nextShot < m_shots.size(); ++m_nextShot) {
        const ScriptEvent& shot = m_shots[m_nextShot];
        std::fprintf(stderr, "tavlo: no shot %s: the run ended before frame %u\n",
                     shot.file.c_str(), shot.frame);
        m_shotFailed = true;
    }
    return !m_shotFailed;
}

} // namespace Platform
