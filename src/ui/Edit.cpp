// The one-line text field: key codes to characters, the caret blink, and its look.
#include "ui/Edit.h"

#include "ui/Renderer.h"
#include "ui/Skin.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

#include <algorithm>
#include <optional>

namespace UI {

namespace {

// The character a key code types, or none for codes the edit ignores (backspace included).
std::optional<char16_t> TypedCharacter(uint32_t key)
{
    if (key >= 'A' && key <= 'Z')
        return static_cast<char16_t>(key + ('a' - 'A'));
    if ((key >= '0' && key <= '9') || key == Edit::KeySpace)
        return static_cast<char16_t>(key);
    if (key == Edit::KeyMinus)
        return u'-';
    if (key == Edit::KeyFullStop)
        return u'.';
    return std::nullopt;
}

} // namespace

Edit::Edit(Window* parent, UISystem* system, UIParams* params) : Window(parent, system, params)
{
    setRect(DefaultX, DefaultY, DefaultWidth, DefaultHeight);
    Edit::createLook();
    Edit::load(params);
}

void Edit::onUpdate(const EventArgs& args)
{
    ++m_blinkCounter;
    const bool visible = m_blinkCounter <= CaretShown;
    if (m_blinkCounter >= BlinkCycle)
        m_blinkCounter = 0;
    if (visible != m_caretVisible) {
        m_caretVisible = visible;
        markRedraw();
    }
    Window::onUpdate(args);
}

void Edit::onKeyDown(const KeyboardEventArgs& args)
{
    if (!m_readOnly && isEffectivelyEnabled()) {
        const bool full = m_maxLength > 0 && m_text.size() >= static_cast<size_t>(m_maxLength);
        if (args.key == KeyBackspace && !m_text.empty()) {
            m_text.pop_back();
            markRedraw();
        } else if (const std::optional<char16_t> typed = TypedCharacter(args.key); typed && !full) {
            m_text.push_back(*typed);
            markRedraw();
        }
    }
    Window::onKeyDown(args);
}

void Edit::load(UIParams* params)
{
    Window::load(params);
    loadEdit(params);
}

void Edit::createLook()
{
    setLook(std::make_unique<LEdit>());
}

void Edit::setText(std::u16string text)
{
    m_text = std::move(text);
    markRedraw();
}

void Edit::setPassword(bool value)
{
    m_password = value;
    markRedraw();
}

void Edit::setReadOnly(bool value)
{
    m_readOnly = value;
    markRedraw();
}

void Edit::setFont(int32_t font)
{
    m_font = font;
    markRedraw();
}

void Edit::setBorder(int32_t border)
{
    m_border = border;
    markRedraw();
}

bool Edit::showsCaret()
{
    if (!m_caretVisible || m_readOnly || !system())
        return false;
    // A window whose ancestors all pass the focus on has no activation window; a null focus
    // must not count as it.
    const Window* activation = activationWindow();
    return activation && system()->focused() == activation;
}

void Edit::loadEdit(UIParams* params)
{
    if (!params)
        return;
    m_font = ReadFont(params, u"font", system(), m_font);
    m_fontFlags = params->getInt(u"fontFlags", m_fontFlags);
    m_border = params->getInt(u"border", m_border);
    m_textDeltaX = params->getInt(u"editTextDeltaX", m_textDeltaX);
    m_textDeltaY = params->getInt(u"editTextDeltaY", m_textDeltaY);
    m_text = params->getString(u"text", m_text);
    m_maxLength = params->getInt(u"maxLength", m_maxLength);
    markRedraw();
}

void LEdit::draw(Window& window)
{
    WindowLook::draw(window);
    auto& edit = static_cast<Edit&>(window);
    UISystem* ui = edit.system();
    if (!ui || !ui->renderer())
        return;

    std::u16string shown = edit.password() ? std::u16string(edit.text().size(), u'*') : edit.text();
    if (edit.showsCaret())
        shown.push_back(u'I');
    if (shown.empty())
        return;

    // The text area is the window less the border on every side; a border wider than half the
    // window leaves nothing.
    const int64_t border = edit.border();
    const int64_t left = int64_t{edit.absoluteX()} + border;
    const int64_t top = int64_t{edit.absoluteY()} + border;
    Graphics::Rect area{Saturate(left), Saturate(top),
                        Saturate(std::max<int64_t>(edit.width() - 2 * border, 0)),
                        Saturate(std::max<int64_t>(edit.height() - 2 * border, 0))};
    area = ClipToWindow(edit, area);
    ui->renderer()->drawText(Saturate(left + edit.textDeltaX()),
                             Saturate(int64_t{edit.absoluteY()} + edit.textDeltaY()), shown, 0,
                             &area, edit.font());
}

} // namespace UI
