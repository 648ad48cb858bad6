// Loading and lookup of the string table.
#include "resources/StringTable.h"

#include "resources/XmlFile.h"

#include <cstring>

namespace {
const std::u16string kInvalid = u"invalid";
}

void StringTable::Load(IO::DirectoryNode* xmlFolder)
{
    XmlDocument document;
    if (!ReadXmlFile(xmlFolder, u"Strings.xml", document))
        return;
    // The root element, whatever declaration or comments come before it.
    const XmlElement* root = document.RootElement();
    if (!root || std::strcmp(root->Name(), "Strings") != 0)
        return;
    // The children's tag is not checked; a child without a name or value reads as empty.
    for (const XmlElement* entry = root->FirstChildElement(); entry;
         entry = entry->NextSiblingElement())
        Add(WidenBytes(entry->Attribute("name")), WidenBytes(entry->Attribute("value")));
}

void StringTable::Add(std::u16string name, std::u16string value)
{
    m_entries.push_back({std::move(name), std::move(value)});
}

int32_t StringTable::FindIndex(std::u16string_view name) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].name == name)
            return static_cast<int32_t>(i);
    }
    return -1;
}

const std::u16string& StringTable::GetByIndex(int32_t index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size())
        return kInvalid;
    return m_entries[static_cast<size_t>(index)].value;
}

const std::u16string& StringTable::GetString(std::u16string_view name) const
{
    return GetByIndex(FindIndex(name));
}
