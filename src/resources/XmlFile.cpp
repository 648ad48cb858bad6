// Whole-file reads of XML documents through the file system.
#include "resources/XmlFile.h"

bool ReadTextFile(IO::DirectoryNode* folder, std::u16string_view name, std::string& text)
{
    text.clear();
    if (!folder || !folder->owner)
        return false;
    std::unique_ptr<IO::FileReader> reader = folder->owner->OpenForRead(folder, name);
    if (!reader)
        return false;
    const uint32_t size = reader->GetSize();
    // The string keeps its own 0 after the last byte: c_str() is the 0-terminated text.
    text.assign(size, '\0');
    const uint32_t read = reader->Read(reinterpret_cast<uint8_t*>(text.data()), size);
    if (read > size)
        text.assign(size, '\0');
    return true;
}

bool ReadXmlFile(IO::DirectoryNode* folder, std::u16string_view name, XmlDocument& document)
{
    std::string text;
    if (!ReadTextFile(folder, name, text))
        return false;
    return document.Parse(text.c_str()) != nullptr;
}

std::u16string WidenBytes(const char* text)
{
    std::u16string wide;
    if (!text)
        return wide;
    for (const char* p = text; *p; ++p)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*p)));
    return wide;
}
