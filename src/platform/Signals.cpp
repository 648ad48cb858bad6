// Signal handlers that only set a flag; the hosts turn the flag into a close message.
#include "platform/Signals.h"

#include <csignal>

namespace Platform {

namespace {
volatile std::sig_atomic_t g_closeSignal = 0;

extern "C" void OnCloseSignal(int)
{
    g_closeSignal = 1;
}
} // namespace

void InstallCloseSignalHandlers()
{
    struct sigaction action = {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocking wait returns early and sees the flag
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TakeCloseSignal()
{
    if (!g_closeSignal)
        return false;
    g_closeSignal = 0;
    return true;
}

bool CloseSignalPending()
{
    return g_closeSignal != 0;
}

} // namespace Platform
