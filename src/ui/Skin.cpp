// Reading the skin text into styles, elements, states and areas, and the state lookup of an
// element.
#include "ui/Skin.h"

#include "ui/Utf8Text.h"
#include "xml/XmlDocument.h"

#include <cstring>
#include <limits>

namespace UI {

namespace {

// The names of the standard states, by index.
constexpr std::u16string_view kStateNames[StateIndex::Count] = {u"default", u"active", u"disabled",
                                                                u"pressed"};

int DigitValue(char c, int base)
{
    int value = base;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'z')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'Z')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::u16string TextAttribute(const XmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value ? DecodeUtf8(value) : std::u16string();
}

int32_t NumberAttribute(const XmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value ? ParseSkinNumber(value) : 0;
}

// A size attribute: "*" is the natural size (-1), "%N" N shares, anything else a number of
// pixels. Only the first character picks the mode.
bool SizeAttribute(const XmlElement& element, const char* name, int32_t& value, SizeMode& mode)
{
    const char* text = element.Attribute(name);
    if (!text)
        return false;
    if (text[0] == '*') {
        value = -1;
        mode = SizeMode::Natural;
    } else if (text[0] == '%') {
        value = ParseSkinNumber(text + 1);
        mode = SizeMode::Proportional;
    } else {
        value = ParseSkinNumber(text);
        mode = SizeMode::Fixed;
    }
    return true;
}

Area ReadArea(const XmlElement& node)
{
    Area area;
    area.imageName = TextAttribute(node, "imageName");
    area.srcX = NumberAttribute(node, "srcX");
    area.srcY = NumberAttribute(node, "srcY");
    area.dstX = NumberAttribute(node, "dstX");
    area.dstY = NumberAttribute(node, "dstY");
    // The source size has no mode of its own: "*" stores -1, the whole image.
    SizeMode ignored = SizeMode::Fixed;
    if (!SizeAttribute(node, "srcW", area.srcW, ignored))
        area.srcW = 0;
    if (!SizeAttribute(node, "srcH", area.srcH, ignored))
        area.srcH = 0;
    // A missing destination size is the natural one.
    if (!SizeAttribute(node, "dstW", area.dstW, area.dstWMode)) {
        area.dstW = -1;
        area.dstWMode = SizeMode::Natural;
    }
    if (!SizeAttribute(node, "dstH", area.dstH, area.dstHMode)) {
        area.dstH = -1;
        area.dstHMode = SizeMode::Natural;
    }
    return area;
}

// Each level keeps only its named children; a nameless one is dropped with all it holds.
template <typename Item, typename ReadContent>
void ReadNamed(const XmlElement& parent, const char* tag, std::vector<Item>& out,
               ReadContent readContent)
{
    for (const XmlElement* node = parent.FirstChildElement(tag); node;
         node = node->NextSiblingElement(tag)) {
        const char* name = node->Attribute("name");
        if (!name)
            continue;
        Item item;
        item.name = DecodeUtf8(name);
        readContent(*node, item);
        out.push_back(std::move(item));
    }
}

void ReadAreas(const XmlElement& node, ElementState& state)
{
    for (const XmlElement* area = node.FirstChildElement("Area"); area;
         area = area->NextSiblingElement("Area"))
        state.areas.push_back(ReadArea(*area));
}

void ReadStates(const XmlElement& node, Element& element)
{
    ReadNamed(node, "State", element.states, ReadAreas);
}

void ReadElements(const XmlElement& node, UIStyle& style)
{
    ReadNamed(node, "Element", style.elements, ReadStates);
}

} // namespace

std::unique_ptr<StyleList> LoadSkin(const char* text)
{
    auto list = std::make_unique<StyleList>();
    if (!text)
        return list;
    // The skin is UTF-8 text, so character references are resolved to UTF-8 as well.
    XmlDocument document;
    if (!document.Parse(text, nullptr, XmlEncoding::Utf8))
        return list;
    const XmlElement* root = document.RootElement();
    if (!root || std::strcmp(root->Name(), "UISystem") != 0)
        return list;
    ReadNamed(*root, "UIStyle", list->styles, ReadElements);
    return list;
}

int32_t ParseSkinNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '0') {
        base = 8;
        // "0x" counts as a prefix only when a hexadecimal digit follows; otherwise the number
        // is the 0 before it.
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            DigitValue(text[i + 2], 16) >= 0) {
            base = 16;
            i += 2;
        }
    }
    // The magnitude stops growing once past what 32 bits can hold, so any length is safe.
    constexpr uint64_t kLimit = uint64_t{1} << 31;
    uint64_t magnitude = 0;
    for (int digit; i < text.size() && (digit = DigitValue(text[i], base)) >= 0; ++i) {
        if (magnitude <= kLimit)
            magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    if (negative)
        return magnitude >= kLimit ? std::numeric_limits<int32_t>::min()
                                   : -static_cast<int32_t>(magnitude);
    return magnitude >= kLimit ? std::numeric_limits<int32_t>::max()
                               : static_cast<int32_t>(magnitude);
}

ElementState* Element::state(int index)
{
    if (index < 0 || index >= StateIndex::Count)
        return nullptr;
    int32_t& slot = stateCache[static_cast<size_t>(index)];
    if (slot != -1)
        return slot < 0 ? nullptr : stateAt(static_cast<size_t>(slot));
    for (size_t i = 0; i < states.size(); ++i) {
        if (states[i].name == kStateNames[index]) {
            slot = static_cast<int32_t>(i);
            return &states[i];
        }
    }
    // The fallback is cached in the slot of "default"; the missing state's own slot stays
    // unset, so a state added later is still found.
    int32_t& fallback = stateCache[StateIndex::Default];
    if (fallback == -1) {
        for (size_t i = 0; i < states.size() && fallback == -1; ++i) {
            if (states[i].name == kStateNames[StateIndex::Default])
                fallback = static_cast<int32_t>(i);
        }
        if (fallback == -1 && !states.empty())
            fallback = 0;
    }
    return fallback < 0 ? nullptr : stateAt(static_cast<size_t>(fallback));
}

ElementState* Element::stateAt(size_t n)
{
    return n < states.size() ? &states[n] : nullptr;
}

} // namespace UI
