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
    : resources(std::make_unique<ResourceManager>()), states(std::make_unique<StateManager>()),
      files(std::make_unique<IO::FileSystem>()), sounds(std::make_unique<SoundManager>()),
      strings(std::make_unique<StringTable>()), playerData(std::make_unique<ProfileStore>(settings))
{
    effects = std::make_unique<EffectManager>(&trig, resources.get());
}

GameContext::~GameContext()
{
    // Released one by one in this order: the effects borrow images and the trigonometry
    // table; the player data saves through the file system, the
    // states unload through the subsystems released after them, and the folders belong to the
    // file system. The UI goes after the resources: destroying the root tree touches no skin,
    // renderer or resource, and the system must outlive every window that can still reach it.
    effects.reset();
    playerData.reset();
    strings.reset();
    sounds.reset();
    states.reset();
    resources.reset();
    styles.reset();
    renderer.reset();
    // The UI system destroys the tree on screen; the slot that named it must not be used.
    ui.reset();
    menuWindow = nullptr;
    gameWindow = nullptr;
    trig.Release();
    layoutFolder = nullptr;
    imageFolder = nullptr;
    files.reset();
    saveFiles.reset();
    grids.clear();
    backgrounds.clear();
}
