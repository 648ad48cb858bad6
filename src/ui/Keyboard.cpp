// The on-screen keyboard: the key map, taps turned into key codes for the focused window, and
// its look.
#include "ui/Keyboard.h"

#include "ui/Renderer.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

namespace UI {

namespace {

// The code each cell sends, row by row; a code repeated over neighbouring cells is one wide key.
constexpr uint32_t BS = Keyboard::KeyBackspace;
constexpr uint32_t EN = Keyboard::KeyEnter;
constexpr uint32_t SP = Keyboard::KeySpace;
constexpr uint32_t MI = Keyboard::KeyMinus;
constexpr uint32_t KeyMap[Keyboard::Rows][Keyboard::Columns] = {
    {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', BS, BS},
    {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', EN, EN},
    {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', EN, EN, EN},
    {MI, 'Z', 'X', 'C', 'V', 'B', 'N', 'M', SP, SP, SP, SP},
};

// Where each wide key's highlight is drawn, in key cells from the keyboard's corner.
constexpr Keyboard::Cell BackspaceOrigin{0, 10};
constexpr Keyboard::Cell EnterOrigin{1, 9};
constexpr Keyboard::Cell SpaceOrigin{3, 8};

} // namespace

Keyboard::Keyboard(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    setSize(DefaultWidth, DefaultHeight);
    // Defaults the layout may still override: hittable, but never taking the focus.
    setGhost(true);
    setCanActivate(true);
    Keyboard::createLook();
    Keyboard::load(params);
}

uint32_t Keyboard::keyCode(Cell cell)
{
    return KeyMap[cell.row][cell.column];
}

Keyboard::Highlight Keyboard::highlightOf(Cell cell)
{
    switch (keyCode(cell)) {
    case KeyBackspace:
        return Highlight::Backspace;
    case KeyEnter:
        return Highlight::Enter;
    case KeySpace:
        return Highlight::Space;
    default:
        return Highlight::Normal;
    }
}

void Keyboard::onMouseDown(const MouseEventArgs& args)
{
    release();
    if (isEffectivelyEnabled()) {
        m_pressedCell = cellAt(args.x, args.y);
        if (m_pressedCell)
            m_pressed[m_pressedCell->row][m_pressedCell->column] = true;
        markRedraw();
    }
    Window::onMouseDown(args);
}

void Keyboard::onMouseMove(const MouseEventArgs& args)
{
    if (m_pressedCell && cellAt(args.x, args.y) != m_pressedCell) {
        m_pressed[m_pressedCell->row][m_pressedCell->column] = false;
        markRedraw();
    }
    Window::onMouseMove(args);
}

void Keyboard::onMouseUp(const MouseEventArgs& args)
{
    const std::optional<Cell> started = m_pressedCell;
    // Forgotten before anything is sent, so no later release can type this key again.
    release();
    UISystem* ui = system();
    Window* focused = ui ? ui->focused() : nullptr;
    if (!started || cellAt(args.x, args.y) != started || !focused || !isEffectivelyEnabled()) {
        Window::onMouseUp(args);
        return;
    }
    const KeyboardEventArgs key(this, keyCode(*started));
    const Ref alive(this);
    focused->onKeyDown(key);
    // The key may have closed the screen the keyboard belongs to.
    if (!alive.get())
        return;
    KeyPressed.fire(key);
    if (alive.get())
        Window::onMouseUp(args);
}

void Keyboard::onMouseLeave(const MouseEventArgs& args)
{
    release();
    Window::onMouseLeave(args);
}

void Keyboard::load(UIParams* params)
{
    Window::load(params);
    loadKeyboard(params);
}

void Keyboard::createLook()
{
    setLook(std::make_unique<LKeyboard>());
}

std::optional<Keyboard::Cell> Keyboard::cellAt(int32_t x, int32_t y) const
{
    // Negative points would divide to cell 0; the grid's right and bottom edges are already
    // past the last cell.
    if (x < 0 || y < 0)
        return std::nullopt;
    const int32_t column = x / m_keyWidth;
    const int32_t row = y / m_keyHeight;
    if (column >= Columns || row >= Rows)
        return std::nullopt;
    return Cell{row, column};
}

bool Keyboard::isPressed(Cell cell) const
{
    if (cell.row < 0 || cell.row >= Rows || cell.column < 0 || cell.column >= Columns)
        return false;
    return m_pressed[cell.row][cell.column];
}

void Keyboard::setKeySize(int32_t width, int32_t height)
{
    if (width >= 1)
        m_keyWidth = width;
    if (height >= 1)
        m_keyHeight = height;
    markRedraw();
}

void Keyboard::setButtonsImage(std::u16string name)
{
    setImage(m_buttons, std::move(name));
    markRedraw();
}

void Keyboard::setKeysImage(std::u16string name)
{
    setImage(m_keys, std::move(name));
    markRedraw();
}

const std::u16string& Keyboard::highlightImage(Highlight kind) const
{
    return m_highlights[static_cast<size_t>(kind)].name;
}

void Keyboard::setHighlightImage(Highlight kind, std::u16string name)
{
    setImage(m_highlights[static_cast<size_t>(kind)], std::move(name));
    markRedraw();
}

void Keyboard::loadKeyboard(UIParams* params)
{
    if (!params)
        return;
    // Two statements: the order of the reads is the binary form's, and the arguments of one
    // call may be evaluated in any order.
    const int32_t keyWidth = params->getInt(u"kbdKeyWidth", m_keyWidth);
    const int32_t keyHeight = params->getInt(u"kbdKeyHeight", m_keyHeight);
    setKeySize(keyWidth, keyHeight);
    setImage(m_buttons, params->getString(u"kbdButtons", m_buttons.name));
    setImage(m_keys, params->getString(u"kbdKeys", m_keys.name));
    // One key names all four highlights; each keeps its own default when it is absent.
    for (NamedImage& highlight : m_highlights)
        setImage(highlight, params->getString(u"kbdKey1", highlight.name));
}

void Keyboard::setImage(NamedImage& image, std::u16string name)
{
    image.name = std::move(name);
    image.index = -1;
}

int32_t Keyboard::imageIndex(NamedImage& image) const
{
    if (image.index < 0 && !image.name.empty() && system() && system()->renderer())
        image.index = system()->renderer()->findImage(image.name);
    return image.index;
}

void Keyboard::release()
{
    if (m_pressedCell) {
        m_pressed[m_pressedCell->row][m_pressedCell->column] = false;
        markRedraw();
    }
    m_pressedCell.reset();
}

void LKeyboard::draw(Window& window)
{
    auto& keyboard = static_cast<Keyboard&>(window);
    UISystem* ui = keyboard.system();
    if (!ui || !ui->renderer())
        return;
    Renderer& renderer = *ui->renderer();
    const std::optional<Graphics::Rect> clip = keyboard.clipRect();
    const Graphics::Rect* clipping = clip ? &*clip : nullptr;
    const int64_t x = keyboard.absoluteX();
    const int64_t y = keyboard.absoluteY();
    auto drawAt = [&](Keyboard::NamedImage& image, Keyboard::Cell cell) {
        if (image.name.empty())
            return;
        const int32_t index = keyboard.imageIndex(image);
        if (index < 0)
            return;
        renderer.drawImage(Saturate(x + int64_t{keyboard.keyWidth()} * cell.column),
                           Saturate(y + int64_t{keyboard.keyHeight()} * cell.row), index,
                           ImageMode::Copy, nullptr, nullptr, clipping);
    };

    drawAt(keyboard.m_buttons, {0, 0});
    if (!keyboard.highlightImage(Keyboard::Highlight::Normal).empty()) {
        for (int32_t row = 0; row < Keyboard::Rows; ++row) {
            for (int32_t column = 0; column < Keyboard::Columns; ++column) {
                const Keyboard::Cell cell{row, column};
                if (!keyboard.isPressed(cell))
                    continue;
                const Keyboard::Highlight kind = Keyboard::highlightOf(cell);
                Keyboard::NamedImage& image = keyboard.m_highlights[static_cast<size_t>(kind)];
                switch (kind) {
                case Keyboard::Highlight::Normal:
                    drawAt(image, cell);
                    break;
                case Keyboard::Highlight::Backspace:
                    drawAt(image, BackspaceOrigin);
                    break;
                case Keyboard::Highlight::Enter:
                    drawAt(image, EnterOrigin);
                    break;
                case Keyboard::Highlight::Space:
                    drawAt(image, SpaceOrigin);
                    break;
                }
            }
        }
    }
    drawAt(keyboard.m_keys, {0, 0});
}

} // namespace UI
