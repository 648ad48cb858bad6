// Archives a modder may hand the game, large: merging many entries into one folder must take
// time growing with their number, not its square.
#include "io/FileSystem.h"
#include "support/Growth.h"
#include "support/QpkBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace Fixture;

namespace {

std::u16string FileName(size_t i)
{
    char text[16];
    std::snprintf(text, sizeof text, "f%07zu", i);
    return std::u16string(text, text + 8);
}

TEST(MountScaleTest, AnArchiveOfManyFilesInOneFolderMountsInTimeGrowingWithItsSize)
{
    ExpectLinearGrowth(2500, [](size_t count) -> TimedStep {
        // Empty files in one folder, the last name given twice: the later entry of an archive
        // wins a name, as between sources of equal time.
        std::vector<Record> records{{u"Images", 0, uint32_t(count + 1), 0}};
        for (size_t i = 0; i < count; ++i)
            records.push_back({FileName(i), 1, 0, 0});
        records.push_back({FileName(count - 1), 1, 0, 1});
        auto dir = std::make_shared<TempDir>();
        WriteFile(dir->Root() / "data.qpk", Toc(1, records) + "x");
        return [dir, count] {
            IO::FileSystem files;
            ASSERT_EQ(files.Mount(dir->Root().u16string()), IO::StreamResult::Ok);
            ASSERT_EQ(files.GetRoot()->subdirs.size(), 1u);
            const IO::DirectoryNode& images = *files.GetRoot()->subdirs[0];
            ASSERT_EQ(images.files.size(), count);
            EXPECT_EQ(images.files[0]->name, FileName(0));
            EXPECT_EQ(images.files[count - 1]->name, FileName(count - 1));
            EXPECT_EQ(images.files[count - 1]->size, 1u);
        };
    });
}

} // namespace
