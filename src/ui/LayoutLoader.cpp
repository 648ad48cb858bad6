// Building window trees from layouts: the XML walk that also writes the binary form, the
// bounded reader of that form, and the table of classes a layout can name.
#include "ui/LayoutLoader.h"

#include "resources/XmlFile.h"
#include "ui/Animation.h"
#include "ui/CheckButton.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/FixedButton.h"
#include "ui/ImageList.h"
#include "ui/Keyboard.h"
#include "ui/Label.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/Scroller.h"
#include "ui/SimpleWindow.h"
#include "ui/Slider.h"
#include "ui/Spin.h"
#include "ui/SpinEdit.h"
#include "ui/StaticImage.h"
#include "ui/TextBox.h"
#include "ui/Thumb.h"
#include "ui/UIBinaryParams.h"
#include "ui/UIXMLParamsBinary.h"
#include "ui/Utf8Text.h"
#include "ui/Window.h"
#include "xml/XmlDocument.h"

#include <algorithm>
#include <cstring>

namespace UI {

namespace {

using Factory = Window* (*)(Window* parent, UISystem* system, UIParams* params);

template <class Widget>
Window* Construct(Window* parent, UISystem* system, UIParams* params)
{
    return new Widget(parent, system, params);
}

struct FactoryEntry
{
    std::u16string_view className;
    Factory create;
};

// The classes a layout can name, compared exactly. Each widget adds its line here.
constexpr FactoryEntry Factories[] = {
    {u"FixedButton", &Construct<FixedButton>},
    {u"StaticImage", &Construct<StaticImage>},
    {u"SimpleWindow", &Construct<SimpleWindow>},
    {u"Window", &Construct<Window>},
    {u"Edit", &Construct<Edit>},
    {u"Label", &Construct<Label>},
    {u"Spin", &Construct<Spin>},
    {u"SpinEdit", &Construct<SpinEdit>},
    {u"Thumb", &Construct<Thumb>},
    {u"Scroller", &Construct<Scroller>},
    {u"ListBox", &Construct<ListBox>},
    {u"ComboBox", &Construct<ComboBox>},
    {u"Keyboard", &Construct<Keyboard>},
    {u"Slider", &Construct<Slider>},
    {u"Animation", &Construct<Animation>},
    {u"ListView", &Construct<ListView>},
    {u"TextBox", &Construct<TextBox>},
    {u"CheckButton", &Construct<CheckButton>},
    {u"ImageList", &Construct<ImageList>},
};

// The smallest window of the binary form: childCount, nameSize, a padded name of at least
// its 0, recordCount.
constexpr size_t MinWindowSize = 16;

void PatchU32(std::vector<uint8_t>& out, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Reads childCount, nameSize and the padded class name. The name ends at its first 0 byte
// or after nameSize bytes, and is widened byte by byte.
bool ReadWindowHeader(std::span<const uint8_t> data, size_t& position, uint32_t& childCount,
                      std::u16string& className)
{
    uint32_t nameSize = 0;
    if (!UIBinaryParams::readU32(data, position, childCount) ||
        !UIBinaryParams::readU32(data, position, nameSize) || nameSize == 0)
        return false;
    const uint64_t stored = UIBinaryParams::padded(nameSize);
    if (stored > data.size() - position)
        return false;
    const uint8_t* name = data.data() + position;
    const uint8_t* end = std::find(name, name + nameSize, uint8_t{0});
    className.assign(name, end);
    position += static_cast<size_t>(stored);
    return true;
}

} // namespace

std::unique_ptr<Window> LayoutLoader::load(const char* text, UISystem* system,
                                           std::vector<uint8_t>& output)
{
    output.clear();
    if (!text)
        return nullptr;
    if (std::strncmp(text, "\xEF\xBB\xBF", 3) == 0)
        text += 3;
    // Layouts are UTF-8 whatever they declare, so character references become UTF-8 too.
    XmlDocument document;
    if (!document.Parse(text, nullptr, XmlEncoding::Utf8))
        return nullptr;
    const XmlElement* top = document.FirstChildElement("Window");
    if (!top)
        return nullptr;
    std::unique_ptr<Window> window(createFromElement(*top, nullptr, system, output));
    if (!window)
        output.clear();
    return window;
}

std::unique_ptr<Window> LayoutLoader::load(std::span<const uint8_t> binary, UISystem* system)
{
    Window* top = nullptr;
    size_t position = 0;
    const bool accepted = readWindow(binary, position, 1, nullptr, system, &top);
    // Children belong to their parents, so this frees whatever a refused load had built.
    std::unique_ptr<Window> window(top);
    if (!accepted)
        return nullptr;
    return window;
}

Window* LayoutLoader::construct(std::u16string_view className, Window* parent, UISystem* system,
                                UIParams* params)
{
    if (Window* window = CreateWidget(className, parent, system, params))
        return window;
    if (customFactory)
        return customFactory->create(className, parent, system, params);
    return nullptr;
}

Window* LayoutLoader::createFromElement(const XmlElement& element, Window* parent, UISystem* system,
                                        std::vector<uint8_t>& output)
{
    const size_t childCountAt = output.size();
    UIXMLParamsBinary::appendU32(output, 0);

    UIXMLParamsBinary params(output);
    for (const XmlAttribute& attribute : element.Attributes())
        params.setAttribute(attribute.Name(), attribute.Value());
    const std::u16string* named = params.find(u"className");
    const std::u16string className = named ? *named : DecodeUtf8(element.Name());

    // Written in ASCII; anything else becomes '?', so that no name can turn into another
    // class's name on the way.
    UIXMLParamsBinary::appendU32(output, static_cast<uint32_t>(className.size() + 1));
    for (const char16_t unit : className)
        output.push_back(unit >= 1 && unit <= 127 ? static_cast<uint8_t>(unit) : '?');
    output.push_back(0);
    UIXMLParamsBinary::appendPadding(output);

    const size_t recordCountAt = output.size();
    UIXMLParamsBinary::appendU32(output, 0);
    Window* window = construct(className, parent, system, &params);
    if (!window) {
        // A custom factory may have read parameters before declining: drop their records.
        output.resize(recordCountAt + 4);
        return nullptr;
    }
    PatchU32(output, recordCountAt, params.recordCount());
    if (created)
        created(window, className);

    // The window has read all its settings before any child exists.
    uint32_t childCount = 0;
    for (const XmlElement* child = element.FirstChildElement(); child;
         child = child->NextSiblingElement()) {
        createFromElement(*child, window, system, output);
        ++childCount;
    }
    PatchU32(output, childCountAt, childCount);
    return window;
}

bool LayoutLoader::readWindow(std::span<const uint8_t> data, size_t& position, uint32_t depth,
                              Window* parent, UISystem* system, Window** made)
{
    *made = nullptr;
    uint32_t childCount = 0;
    std::u16string className;
    if (depth > MaxDepth || !ReadWindowHeader(data, position, childCount, className))
        return false;
    // The records are checked, and the position moved past them, before the window exists.
    UIBinaryParams params(data, position);
    if (!params.valid() || childCount > (data.size() - position) / MinWindowSize)
        return false;
    Window* window = construct(className, parent, system, &params);
    if (!window) {
        for (uint32_t i = 0; i < childCount; ++i) {
            if (!skipWindow(data, position, depth + 1))
                return false;
        }
        return true;
    }
    *made = window;
    if (created)
        created(window, className);
    for (uint32_t i = 0; i < childCount; ++i) {
        Window* child = nullptr;
        if (!readWindow(data, position, depth + 1, window, system, &child))
            return false;
    }
    return true;
}

bool LayoutLoader::skipWindow(std::span<const uint8_t> data, size_t& position, uint32_t depth)
{
    uint32_t childCount = 0;
    std::u16string className;
    if (depth > MaxDepth || !ReadWindowHeader(data, position, childCount, className))
        return false;
    UIBinaryParams params(data, position);
    if (!params.valid() || childCount > (data.size() - position) / MinWindowSize)
        return false;
    for (uint32_t i = 0; i < childCount; ++i) {
        if (!skipWindow(data, position, depth + 1))
            return false;
    }
    return true;
}

Window* CreateWidget(std::u16string_view className, Window* parent, UISystem* system,
                     UIParams* params)
{
    for (const FactoryEntry& entry : Factories) {
        if (entry.className == className)
            return entry.create(parent, system, params);
    }
    return nullptr;
}

std::vector<std::u16string_view> WidgetClassNames()
{
    std::vector<std::u16string_view> names;
    for (const FactoryEntry& entry : Factories)
        names.push_back(entry.className);
    return names;
}

std::unique_ptr<Window> loadLayout(IO::DirectoryNode* configFolder, std::u16string_view fileName,
                                   UISystem* system)
{
    std::string text;
    if (!ReadTextFile(configFolder, fileName, text))
        return nullptr;
    LayoutLoader loader;
    std::vector<uint8_t> binary;
    return loader.load(text.c_str(), system, binary);
}

} // namespace UI
