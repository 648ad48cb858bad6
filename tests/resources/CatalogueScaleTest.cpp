// Catalogues a modder may hand the game, large: entering a group's images and fonts must take
// time growing with their number, not its square.
#include "resources/ResourceManager.h"
#include "support/Growth.h"
#include "support/QpkBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace Fixture;

namespace {

// A game folder whose catalogue has been read; LoadGroup is left to the step.
struct Catalogue
{
    explicit Catalogue(const std::string& text)
    {
        WriteFile(dir.Root() / "XML" / "resources.xml", text);
        files.Mount(dir.Root().u16string());
        manager.LoadCatalogue(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"),
                              IO::FileSystem::FindDirectory(files.GetRoot(), u"Images"));
    }
    TempDir dir;
    IO::FileSystem files;
    ResourceManager manager;
};

TEST(CatalogueScaleTest, AGroupOfManyImagesAndFontsLoadsInTimeGrowingWithItsSize)
{
    ExpectLinearGrowth(2000, [](size_t count) -> TimedStep {
        // Every name twice: the second entry takes over the first one's handle.
        std::string text = "<Resources><Group name=\"g\">";
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t i = 0; i < count; ++i) {
                const std::string n = std::to_string(i);
                text += "<Image name=\"i" + n + "\" fileName=\"" + n + ".qim\"/>";
                text += "<Font name=\"f" + n + "\" fileName=\"" + n + "\"/>";
            }
        }
        auto catalogue = std::make_shared<Catalogue>(text + "</Group></Resources>");
        return [catalogue, count] {
            ResourceManager& manager = catalogue->manager;
            manager.LoadGroup(u"g");
            // Handle 0 is the dummy image and the empty font slot.
            EXPECT_EQ(manager.Images().Count(), count + 1);
            EXPECT_EQ(manager.Fonts().Count(), count + 1);
            EXPECT_EQ(manager.FindImage(u"i0"), 1u);
            const std::string last = std::to_string(count - 1);
            const ImageEntry* entry = manager.Images().Entry(uint32_t(count));
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->fileName, std::u16string(last.begin(), last.end()) + u".qim");
            EXPECT_TRUE(manager.Images().Queued().empty());
        };
    });
}

} // namespace
