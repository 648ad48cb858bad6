// The two passes of the loading screen.
#include "states/LoadingState.h"

#include "app/GameContext.h"
#include "graphics/Surface16.h"
#include "io/Utf8.h"
#include "platform/ProgramFolder.h"
#include "resources/XmlFile.h"
#include "states/ChangePlayerState.h"
#include "states/ExitState.h"
#include "states/GameState.h"
#include "states/HightScoreState.h"
#include "states/MenuState.h"
#include "states/ScreenSupport.h"

#include <algorithm>

namespace {

// The plain names of the files of a directory, in directory order.
std::vector<std::u16string> FileNames(const IO::DirectoryNode* folder)
{
    std::vector<std::u16string> names;
    if (folder) {
        for (const auto& file : folder->files)
            names.push_back(file->name);
    }
    return names;
}

// The folder data.dat is read from and saved to: the game folder's root, or the root of the
// save folder's own tree when the player's data is kept elsewhere. A save folder that does not
// exist yet mounts empty and is created by the first save. Null, so that saving fails with a
// message instead of falling back to the game folder, when its path cannot be mounted.
IO::DirectoryNode* SaveRoot(GameContext& context)
{
    const std::string& folder = Platform::SaveFolder();
    if (folder.empty())
        return context.files->GetRoot();
    std::u16string path;
    if (!IO::Utf8ToUtf16(folder, path))
        return nullptr;
    context.saveFiles = std::make_unique<IO::FileSystem>();
    context.saveFiles->Mount(path);
    return context.saveFiles->GetRoot();
}

} // namespace

void LoadingState::Update()
{
    if (m_firstPass) {
        FirstPass();
        m_firstPass = 0;
    } else if (!m_handedOver) {
        // Once is enough: should the requested screen be missing, the loading screen stays
        // current, and repeating the pass would reload the tables every frame.
        SecondPass();
        m_handedOver = true;
    }
}

void LoadingState::FirstPass()
{
    GameContext& context = GameContext::Instance();
    IO::FileSystem& files = *context.files;
    files.Mount();
    IO::DirectoryNode* root = files.GetRoot();
    context.imageFolder = IO::FileSystem::FindDirectory(root, u"Images");
    context.layoutFolder = IO::FileSystem::FindDirectory(root, u"XML");

    ResourceManager& resources = *context.resources;
    resources.LoadCatalogue(context.layoutFolder, context.imageFolder);
    resources.LoadGroup(u"Loading");
    // Loading and at once unloading the game's group registers its images and fonts, so their
    // handles exist from now on, without keeping them in memory.
    resources.LoadGroup(u"Game");
    resources.UnloadGroup(u"Game");
    m_splash = resources.GetImage(u"loading");

    context.sounds->Init(context.layoutFolder);
    context.sounds->LoadSamples(IO::FileSystem::FindDirectory(root, u"Sounds"));

    context.strings->Load(context.layoutFolder);

    // Boards are played in the ascending code-unit order of their file names.
    context.grids = FileNames(IO::FileSystem::FindDirectory(root, u"grids"));
    std::sort(context.grids.begin(), context.grids.end());
    // Backgrounds keep the order the directory lists them in.
    context.backgrounds =
        FileNames(IO::FileSystem::FindDirectory(context.imageFolder, u"backgrounds"));

    context.playerData->Load(SaveRoot(context), u"data.dat");
    // The saved switches and volumes hold from the first screen on, whichever it is.
    Screens::ApplySoundSettings();
}

void LoadingState::SecondPass()
{
    GameContext& context = GameContext::Instance();
    context.trig.Load(context.files->GetRoot(), u"trigo.dat");

    StateManager& states = *context.states;
    states.AddState(std::make_unique<MenuState>());
    states.AddState(std::make_unique<GameState>());
    states.AddState(std::make_unique<ChangePlayerState>());
    states.AddState(std::make_unique<HightScoreState>());
    states.AddState(std::make_unique<ExitState>());

    // The skin, then the renderer and the UI system that draw and route with it. A missing or
    // damaged skin leaves the style list empty: windows then draw only their texts.
    std::string skin;
    ReadTextFile(context.layoutFolder, u"uiconfig.xml", skin);
    context.styles = UI::LoadSkin(skin.c_str());
    context.renderer = std::make_unique<UI::ManagedSurfaceRenderer>(*context.resources);
    context.ui = std::make_unique<UI::UISystem>(context.renderer.get(), context.styles.get());
    // The menu needs a current player; without one (no players, or none chosen) the first
    // screen is the player selection. The old screen is released so the loading pictures are
    // freed.
    if (context.playerData->CurrentPlayer())
        states.ChangeState(u"MenuState", true);
    else
        states.ChangeState(u"ChangePlayerState", true);
}

void LoadingState::Unload()
{
    GameContext::Instance().resources->UnloadGroup(u"Loading");
    m_splash = nullptr;
    m_loaded = false;
}

void LoadingState::Render(Graphics::Surface16& surface)
{
    if (m_splash)
        surface.Blit(0, 0, *m_splash);
}
