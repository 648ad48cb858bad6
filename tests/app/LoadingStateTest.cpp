// The loading screen's first pass fills the game context from the game folder; its second
// registers the screens that follow and hands over.
#include "states/LoadingState.h"

#include "app/GameContext.h"
#include "platform/ProgramFolder.h"
#include "support/QpkBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace Fixture;

TEST(LoadingState, FirstPassMountsAndListsBoardsAndBackgrounds)
{
    // An archive lists its boards b, a, c and its backgrounds z, x, y in that order.
    TempDir dir;
    const std::string strings = "<Strings><S name=\"Str_Ok\" value=\"OK\"/></Strings>";
    std::string archive = Toc(3, {
                                     {u"grids", 0, 3, 0},
                                     {u"b", 1, 0, 0},
                                     {u"a", 1, 0, 0},
                                     {u"c", 1, 0, 0},
                                     {u"Images", 0, 1, 0},
                                     {u"backgrounds", 0, 3, 0},
                                     {u"z", 1, 0, 0},
                                     {u"x", 1, 0, 0},
                                     {u"y", 1, 0, 0},
                                     {u"XML", 0, 1, 0},
                                     {u"Strings.xml", 1, 0, uint32_t(strings.size())},
                                 });
    WriteFile(dir.Root() / "data.qpk", archive + strings);
    Platform::SetProgramFolder(dir.Root().string());

    GameContext& context = GameContext::Instance();
    auto loading = std::make_unique<LoadingState>();
    loading->Update();

    // Boards play in code-unit order; backgrounds keep the order they are listed in.
    EXPECT_EQ(context.grids, (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(context.backgrounds, (std::vector<std::u16string>{u"z", u"x", u"y"}));
    ASSERT_NE(context.imageFolder, nullptr);
    EXPECT_EQ(context.imageFolder->name, u"Images");
    ASSERT_NE(context.layoutFolder, nullptr);
    EXPECT_EQ(context.layoutFolder->name, u"XML");
    EXPECT_EQ(context.strings->GetString(u"Str_Ok"), u"OK");

    // The second pass registers the exit screen, so a close request can end the program.
    EXPECT_EQ(context.states->Find(u"ExitState"), nullptr);
    loading->Update();
    EXPECT_NE(context.states->Find(u"ExitState"), nullptr);
    GameContext::Destroy();
}

TEST(LoadingState, SecondPassLoadsTheTablesOnce)
{
    // While the screen it asks for does not exist, the loading screen stays current; its
    // second pass must not run again every frame.
    TempDir dir;
    WriteFile(dir.Root() / "trigo.dat", std::string(Graphics::TrigTable::fileSize, '\0'));
    Platform::SetProgramFolder(dir.Root().string());
    GameContext& context = GameContext::Instance();
    auto loading = std::make_unique<LoadingState>();
    loading->Update();
    loading->Update();
    EXPECT_TRUE(context.trig.IsLoaded());
    context.trig.Release();
    loading->Update();
    EXPECT_FALSE(context.trig.IsLoaded());
    GameContext::Destroy();
}

TEST(LoadingState, AnEmptyFolderLoadsNothingAndStillHandsOver)
{
    TempDir dir;
    Platform::SetProgramFolder(dir.Root().string());
    GameContext& context = GameContext::Instance();
    auto loading = std::make_unique<LoadingState>();
    loading->Update();
    EXPECT_TRUE(context.grids.empty());
    EXPECT_TRUE(context.backgrounds.empty());
    EXPECT_EQ(context.imageFolder, nullptr);
    EXPECT_EQ(context.strings->GetString(u"Str_Ok"), u"invalid");
    loading->Update();
    EXPECT_NE(context.states->Find(u"ExitState"), nullptr);
    GameContext::Destroy();
}
