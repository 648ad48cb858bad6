// Construction and the ordered tear-down of the subsystems.
#include "app/GameContext.h"

namespace {
// A plain pointer, not a unique_ptr: while the context is being destroyed, the states unloading
// inside it still reach it (and the subsystems not yet released) through Instance().
GameContext* g_context = nullptr;
} // namespace

GameContext& GameContext::Instance()
{
    if (!g_context)
        g_context = new GameContext();
    return *g_context;
}

void GameContext::Destroy()
{
    delete g_context;
    g_context = nullptr;
}

bool GameContext::Exists()
{
    return g_context != nullptr;
}

GameContext::GameContext()
    : states(std::make_unique<StateManager>()), files(std::make_unique<IO::FileSystem>()),
      strings(std::make_unique<StringTable>())
{}

GameContext::~GameContext()
{
    // Released one by one in this order: the states unload through the subsystems that are
    // released after them, and the folders belong to the file system.
    strings.reset();
    states.reset();
    layoutFolder = nullptr;
    imageFolder = nullptr;
    files.reset();
    grids.clear();
    backgrounds.clear();
}
