// Whole-file reads of XML documents through the file system.
#include "resources/XmlFile.h"

#include <vector>

bool ReadXmlFile(IO::DirectoryNode* folder, std::u16string_view name, XmlDocument& document)
{
    if (!folder || !folder->owner)
        return false;
    std::unique_ptr<IO::FileReader> reader = folder->owner->OpenForRead(folder, name);
    if (!reader)
        return false;
    const uint32_t size = reader->GetSize();
    std::vector<char> text(static_cast<size_t>(size) + 1, '\0');
    const uint32_t read = reader->Read(reinterpret_cast<uint8_t*>(text.data()), size);
    reader.reset();
    // A short read leaves zeros behind the bytes read: the parser sees a shorter document.
    if (read > size)
        text[0] = '\0';
    return document.Parse(text.data()) != nullptr;
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
