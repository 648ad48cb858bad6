// Parses the XML files installed under /usr/share, real files written by others, to show the
// reader copes with what the world writes: no crash or leak on any of them, and most parse.
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr uintmax_t kMaxFileSize = 8 * 1024 * 1024;

// Visits every element and attribute with an explicit stack and returns how many elements
// there were, so the whole tree is read back.
size_t CountElements(const XmlDocument& doc)
{
    size_t count = 0;
    std::vector<const XmlElement*> pending;
    for (const XmlElement* e = doc.FirstChildElement(); e; e = e->NextSiblingElement()) {
        pending.push_back(e);
    }
    while (!pending.empty()) {
        const XmlElement* element = pending.back();
        pending.pop_back();
        ++count;
        for (const XmlAttribute& attribute : element->Attributes()) {
            EXPECT_EQ(element->Attribute(attribute.Name()), attribute.Value());
        }
        for (const XmlElement* e = element->FirstChildElement(); e; e = e->NextSiblingElement()) {
            pending.push_back(e);
        }
    }
    return count;
}

TEST(SystemXml, ParsesInstalledXmlFiles)
{
    std::vector<fs::path> files;
    std::error_code error;
    const auto options = fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it("/usr/share", options, error), end;
         !error && it != end; it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code ignored;
        if (entry.path().extension() == ".xml" && entry.is_regular_file(ignored) &&
            entry.file_size(ignored) <= kMaxFileSize) {
            files.push_back(entry.path());
        }
    }
    if (files.empty()) {
        GTEST_SKIP() << "no .xml files under /usr/share on this machine";
    }

    size_t parsed = 0;
    size_t elements = 0;
    std::vector<std::string> failures;
    for (const fs::path& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        XmlDocument doc;
        if (doc.Parse(text.c_str())) {
            ++parsed;
            elements += CountElements(doc);
            continue;
        }
        // A refused file must say why and where.
        EXPECT_NE(doc.ErrorId(), XmlError::None) << path;
        EXPECT_GE(doc.ErrorRow(), 1) << path;
        EXPECT_GE(doc.ErrorCol(), 1) << path;
        failures.push_back(path.string() + ": error " + std::to_string(doc.ErrorId()) + " (" +
                           doc.ErrorDesc() + ") at " + std::to_string(doc.ErrorRow()) + ":" +
                           std::to_string(doc.ErrorCol()));
    }

    std::cout << "[ SYSTEM   ] " << files.size() << " XML files found, " << parsed << " parsed, "
              << elements << " elements read\n";
    for (const std::string& failure : failures) {
        std::cout << "[ REFUSED  ] " << failure << "\n";
    }
    RecordProperty("files_found", static_cast<int>(files.size()));
    RecordProperty("files_parsed", static_cast<int>(parsed));
    // Installed files are almost all well-formed; a reader that refuses more than one in
    // twenty has a fault of its own.
    EXPECT_GE(parsed * 20, files.size() * 19);
}

} // namespace
