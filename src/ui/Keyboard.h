// Keyboard: an on-screen keyboard of 4 rows by 12 key cells. A tap on a cell sends its key code
// to whichever window holds the focus, as if typed. It is a ghost that can be activated, so
// tapping it is possible without taking the focus from the edit being typed into.
#pragma once

#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <array>
#include <optional>
#include <string>

namespace UI {

class Keyboard : public Window
{
public:
    static constexpr int32_t Rows = 4;
    static constexpr int32_t Columns = 12;
    static constexpr int32_t DefaultWidth = 228;
    static constexpr int32_t DefaultHeight = 68;
    static constexpr int32_t DefaultKeyWidth = 19;
    static constexpr int32_t DefaultKeyHeight = 17;

    static constexpr uint32_t KeyBackspace = 8;
    static constexpr uint32_t KeyEnter = 13;
    static constexpr uint32_t KeySpace = 32;
    static constexpr uint32_t KeyMinus = 189;

    // The highlight drawn for a pressed cell: one per key shape.
    enum class Highlight
    {
        Normal,    // key1Image, over the cell
        Backspace, // key2Image, over the two backspace cells
        Enter,     // key3Image, over the enter cells of rows 1 and 2
        Space,     // key4Image, over the four space cells
    };

    struct Cell
    {
        int32_t row = 0;
        int32_t column = 0;
        bool operator==(const Cell&) const = default;
    };

    Keyboard(Window* parent, UISystem* system, UIParams* params = nullptr);

    // The key code of a cell of the map (a wide key repeats its code over its cells).
    static uint32_t keyCode(Cell cell);
    static Highlight highlightOf(Cell cell);

    void onMouseDown(const MouseEventArgs& args) override;
    void onMouseMove(const MouseEventArgs& args) override;
    void onMouseUp(const MouseEventArgs& args) override;
    void onMouseLeave(const MouseEventArgs& args) override;
    // The window keys, then "kbdKeyWidth", "kbdKeyHeight", "kbdButtons", "kbdKeys" and
    // "kbdKey1" four times (the four highlights).
    void load(UIParams* params) override;
    void createLook() override;

    // The cell under a local point; none outside the grid (its right and bottom edges too).
    std::optional<Cell> cellAt(int32_t x, int32_t y) const;
    bool isPressed(Cell cell) const;
    // The cell the current stroke started on, if it started on one.
    std::optional<Cell> pressedCell() const { return m_pressedCell; }

    int32_t keyWidth() const { return m_keyWidth; }
    int32_t keyHeight() const { return m_keyHeight; }
    // Sizes below 1 are refused and keep the current ones.
    void setKeySize(int32_t width, int32_t height);

    // Renderer images, by name; an empty name draws nothing.
    const std::u16string& buttonsImage() const { return m_buttons.name; }
    void setButtonsImage(std::u16string name);
    const std::u16string& keysImage() const { return m_keys.name; }
    void setKeysImage(std::u16string name);
    const std::u16string& highlightImage(Highlight kind) const;
    void setHighlightImage(Highlight kind, std::u16string name);

    // Fired after a tapped key's code has been sent to the focused window, with the same
    // arguments (window: the keyboard).
    Event KeyPressed;

private:
    friend class LKeyboard;

    // A renderer image named by the layout, its index resolved on first use.
    struct NamedImage
    {
        std::u16string name;
        int32_t index = -1;
    };

    void loadKeyboard(UIParams* params);
    static void setImage(NamedImage& image, std::u16string name);
    // The image's renderer index, looked up while unresolved; -1 when it is not known.
    int32_t imageIndex(NamedImage& image) const;
    // Clears the mark and forgets the cell of the current stroke.
    void release();

    std::array<std::array<bool, Columns>, Rows> m_pressed{};
    int32_t m_keyWidth = DefaultKeyWidth;
    int32_t m_keyHeight = DefaultKeyHeight;
    NamedImage m_buttons{u"KeyboardButtons"};
    NamedImage m_keys{u"KeyboardKeys"};
    std::array<NamedImage, 4> m_highlights{NamedImage{u"Key1"}, NamedImage{u"Key2"},
                                           NamedImage{u"Key3"}, NamedImage{u"Key4"}};
    std::optional<Cell> m_pressedCell;
};

// The buttons image, the highlights of the pressed cells, then the keys image over them.
class LKeyboard : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
