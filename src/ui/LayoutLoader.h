// LayoutLoader: builds window trees from layout files by class name, from the XML text (also
// writing the tree's binary form) or from that binary form.
//
// The binary form, every count and size a little-endian u32 and every variable-length block
// padded to a multiple of 4 bytes (readers skip the padding), one window after the other in
// pre-order:
//   childCount   child windows that follow this window's records
//   nameSize     bytes of the class name including its terminating 0
//   className    ASCII ('?' for any unit outside 1..127), 0-terminated, padded
//   recordCount  then that many parameter records (see UIXMLParamsBinary.h)
//   children     childCount windows in the same form, in document order
// An element of an unknown class keeps its place as a skeleton: its name with childCount 0
// and recordCount 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class XmlElement;

namespace IO {
class DirectoryNode;
}

namespace UI {

class UIParams;
class UISystem;
class Window;

class LayoutLoader
{
public:
    // Deepest window nesting the binary form may have, the same as an XML document's.
    static constexpr uint32_t MaxDepth = 256;

    // Makes windows of the classes the loader does not know.
    class CustomFactory
    {
    public:
        // A new window constructed under parent (which then owns it), or null to skip the
        // element with its subtree.
        virtual Window* create(std::u16string_view className, Window* parent, UISystem* system,
                               UIParams* params) = 0;

    protected:
        ~CustomFactory() = default;
    };

    // Consulted for unknown class names; the game installs none.
    CustomFactory* customFactory = nullptr;
    // Told about each window right after it is constructed, in pre-order, with its class
    // name. After a refused load the windows reported are already destroyed.
    std::function<void(Window* window, std::u16string_view className)> created;

    // Builds the tree of the first top-level "Window" element of the 0-terminated UTF-8 text
    // (a byte-order mark is skipped), and writes its binary form into output (replacing what
    // it held; left empty when nothing is built). Null when the text does not parse, has no
    // such element, or that element's class is unknown.
    std::unique_ptr<Window> load(const char* text, UISystem* system, std::vector<uint8_t>& output);
    // Builds the tree of a binary form. Null, with nothing left built, when the data ends
    // early, a class name is empty or does not fit, a count cannot fit in what is left, the
    // nesting is deeper than MaxDepth, or the top window's class is unknown.
    std::unique_ptr<Window> load(std::span<const uint8_t> binary, UISystem* system);

private:
    // A known class's window, else the custom factory's, else null.
    Window* construct(std::u16string_view className, Window* parent, UISystem* system,
                      UIParams* params);
    Window* createFromElement(const XmlElement& element, Window* parent, UISystem* system,
                              std::vector<uint8_t>& output);
    // Reads one window at position and its subtree. False when the data is refused; the
    // windows built by then belong to parent (or to *made when there is no parent).
    bool readWindow(std::span<const uint8_t> data, size_t& position, uint32_t depth, Window* parent,
                    UISystem* system, Window** made);
    // Passes over one window and its subtree without building anything.
    bool skipWindow(std::span<const uint8_t> data, size_t& position, uint32_t depth);
};

// A new window of a class layouts can name, constructed under parent (which then owns it)
// from params (null: defaults); null for an unknown class.
Window* CreateWidget(std::u16string_view className, Window* parent, UISystem* system,
                     UIParams* params);
// The class names CreateWidget knows, in table order.
std::vector<std::u16string_view> WidgetClassNames();

// Reads the layout file fileName of the configuration folder and builds its tree with the
// system; the binary form is not kept. Null when the file is missing or refused.
std::unique_ptr<Window> loadLayout(IO::DirectoryNode* configFolder, std::u16string_view fileName,
                                   UISystem* system);

} // namespace UI
