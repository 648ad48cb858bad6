// GameContext: the process-wide owner of every subsystem. Created on first use, destroyed by the
// application's Quit, releasing its subsystems in a fixed order.
#pragma once

#include "app/StateManager.h"
#include "game/EffectManager.h"
#include "graphics/TrigTable.h"
#include "io/FileSystem.h"
#include "resources/GameSettings.h"
#include "resources/ProfileStore.h"
#include "resources/ResourceManager.h"
#include "resources/SoundManager.h"
#include "resources/StringTable.h"
#include "ui/ManagedSurfaceRenderer.h"
#include "ui/Skin.h"
#include "ui/UISystem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GameApp;

class GameContext
{
public:
    // The singleton, created on the first call.
    static GameContext& Instance();
    // Destroys the singleton if it exists; the next Instance() would make a new one.
    static void Destroy();
    static bool Exists();

    ~GameContext();
    GameContext(const GameContext&) = delete;
    GameContext& operator=(const GameContext&) = delete;

    // The image and text effects drawn over the screens (sparks, bursts, score texts).
    std::unique_ptr<EffectManager> effects;
    // The window tree on screen, at most one of the two: the menu screens' layout or the game
    // screen's. Not owned here: the tree is the UI system's root, which destroys it at
    // shut-down; a screen replacing it destroys the old tree and clears its slot.
    UI::Window* menuWindow = nullptr;
    UI::Window* gameWindow = nullptr;
    // The UI: made by the loading screen once the skin is read; null until then.
    std::unique_ptr<UI::ManagedSurfaceRenderer> renderer;
    std::unique_ptr<UI::UISystem> ui;
    std::unique_ptr<UI::StyleList> styles;
    std::unique_ptr<ResourceManager> resources;
    GameApp* app = nullptr; // the application, not owned
    std::unique_ptr<StateManager> states;
    std::unique_ptr<IO::FileSystem> files;
    // The save folder's own tree when the player's data is not kept in the game folder (an
    // installed game); null otherwise. Made by the loading screen.
    std::unique_ptr<IO::FileSystem> saveFiles;
    Graphics::TrigTable trig;
    IO::DirectoryNode* layoutFolder = nullptr; // "XML", borrowed from the file system
    IO::DirectoryNode* imageFolder = nullptr;  // "Images"
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<StringTable> strings;
    uint32_t gameMode = 0; // 1 Arcade, 2 Classic, 3 Survival
    GameSettings settings;
    std::vector<std::u16string> grids;        // board file names, in play order
    std::vector<std::u16string> backgrounds;  // background image names, as listed
    std::unique_ptr<ProfileStore> playerData; // reads and saves the settings above

private:
    GameContext();
};
