// The string table: the first of two equal keys wins, keys are exact, and anything missing
// reads as "invalid" rather than failing.
#include "resources/StringTable.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// A game folder holding XML/Strings.xml with the given text, mounted.
struct StringsFolder
{
    explicit StringsFolder(const char* text)
    {
        std::filesystem::create_directories(dir.Root() / "XML");
        if (text)
            std::ofstream(dir.Root() / "XML" / "Strings.xml", std::ios::binary) << text;
        std::u16string root;
        for (char c : dir.Root().string())
            root.push_back(static_cast<char16_t>(c));
        files.Mount(root + u"/");
        table.Load(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"));
    }
    TempDir dir;
    IO::FileSystem files;
    StringTable table;
};

} // namespace

TEST(StringTable, LooksUpKeysExactlyAndTheFirstDuplicateWins)
{
    StringsFolder folder("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                         "<!-- texts of the game -->\n"
                         "<Strings>\n"
                         "  <String name=\"Str_Ok\" value=\"OK\"/>\n"
                         "  <Anything name=\"Str_Win\" value='You win &amp; go on'/>\n"
                         "  <String name=\"Str_Ok\" value=\"second\"/>\n"
                         "  <String value=\"no key\"/>\n"
                         "  <String name=\"Str_Caf\xE9\" value=\"caf\xE9\"/>\n"
                         "</Strings>\n");
    const StringTable& t = folder.table;
    ASSERT_EQ(t.Count(), 5u);
    EXPECT_EQ(t.GetString(u"Str_Ok"), u"OK");
    EXPECT_EQ(t.GetString(u"Str_Win"), u"You win & go on");
    EXPECT_EQ(t.GetString(u"str_ok"), u"invalid"); // letter case matters
    EXPECT_EQ(t.GetString(u"Str_Missing"), u"invalid");
    EXPECT_EQ(t.FindIndex(u""), 3); // a child without a name has an empty key
    EXPECT_EQ(t.GetByIndex(3), u"no key");
    // Bytes widen one to one: Latin-1 text arrives as the same code points.
    EXPECT_EQ(t.GetString(u"Str_Caf\u00E9"), u"caf\u00E9");
    EXPECT_EQ(t.GetByIndex(-1), u"invalid");
    EXPECT_EQ(t.GetByIndex(static_cast<int32_t>(t.Count())), u"invalid");
}

TEST(StringTable, UnusableFilesLeaveTheTableEmpty)
{
    const char* cases[] = {
        nullptr,                                               // no file
        "",                                                    // empty document
        "<Texts><S name=\"Str_Ok\" value=\"OK\"/></Texts>",    // wrong root name
        "<Strings><S name=\"Str_Ok\" value=\"OK\"></Strings>", // does not parse
    };
    for (const char* text : cases) {
        StringsFolder folder(text);
        EXPECT_EQ(folder.table.Count(), 0u) << (text ? text : "(no file)");
        EXPECT_EQ(folder.table.GetString(u"Str_Ok"), u"invalid");
    }
}
