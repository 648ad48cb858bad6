// SIGINT and SIGTERM become the program's close request, so the orderly exit path runs.
#pragma once

namespace Platform {

// Installs the handlers. Blocking waits are interrupted, not restarted, by these signals.
void InstallCloseSignalHandlers();
// True once for every delivery of SIGINT or SIGTERM since the last call.
bool TakeCloseSignal();
// True while a delivery is waiting to be taken.
bool CloseSignalPending();

} // namespace Platform
