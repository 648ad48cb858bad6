// The push button: press, capture, click on a release over the button, and its look.
#include "ui/FixedButton.h"

#include "ui/Renderer.h"
#include "ui/Skin.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

#include <algorithm>

namespace UI {

FixedButton::FixedButton(Window* parent, UISystem* system, UIParams* params)
    : FixedButton(parent, system, params, NoLoad{})
{
    FixedButton::createLook();
    FixedButton::load(params);
}

FixedButton::FixedButton(Window* parent, UISystem* system, UIParams* params, NoLoad)
    : Window(parent, system, params)
{
    setSize(DefaultWidth, DefaultHeight);
}

void FixedButton::onMouseDown(const MouseEventArgs& args)
{
    press(args, true);
}

void FixedButton::onMouseUp(const MouseEventArgs& args)
{
    if (release(args))
        Window::onMouseUp(args);
}

void FixedButton::onMouseEnter(const MouseEventArgs& args)
{
    const Ref alive(this);
    Window::onMouseEnter(args);
    if (alive.get() && system() && system()->capture() == this) {
        m_pressed = true;
        markRedraw();
    }
}

void FixedButton::onMouseLeave(const MouseEventArgs& args)
{
    // Cleared whether or not the button is enabled now: a button disabled while held must not
    // stay pressed.
    m_pressed = false;
    markRedraw();
    Window::onMouseLeave(args);
}

void FixedButton::onUpdate(const EventArgs& /*args*/)
{
    if (m_holdCounter < HoldTicks) {
        ++m_holdCounter;
        markRedraw();
    }
}

void FixedButton::load(UIParams* params)
{
    loadCaption(params);
    Window::load(params);
}

void FixedButton::createLook()
{
    setLook(std::make_unique<LFixedButton>());
}

void FixedButton::setCaption(std::u16string caption)
{
    m_caption = std::move(caption);
    markRedraw();
}

void FixedButton::setFont(int32_t font)
{
    m_font = font;
    markRedraw();
}

void FixedButton::setFontFlags(int32_t flags)
{
    m_fontFlags = flags;
    markRedraw();
}

void FixedButton::loadCaption(UIParams* params)
{
    if (!params)
        return;
    m_font = ReadFont(params, u"font", system(), m_font);
    m_fontFlags = params->getInt(u"fontFlags", m_fontFlags);
    m_textDeltaX = params->getInt(u"textDeltaX", m_textDeltaX);
    m_textDeltaY = params->getInt(u"textDeltaY", m_textDeltaY);
    m_caption = params->getString(u"text", m_caption);
}

bool FixedButton::press(const MouseEventArgs& args, bool resetHold)
{
    UISystem* ui = system();
    if (!ui || !ui->root() || !isChildOf(ui->root()) || !isEffectivelyEnabled())
        return false;
    m_pressed = true;
    if (resetHold)
        m_holdCounter = 0;
    ui->setCapture(this);
    markRedraw();
    Window::onMouseDown(args);
    return true;
}

bool FixedButton::release(const MouseEventArgs& args)
{
    // Cleared even while disabled, so a release lost to a disabled button cannot leave it held.
    m_pressed = false;
    markRedraw();
    UISystem* ui = system();
    if (!ui || !ui->root())
        return false;
    const Window* hit = Window::hitTest(ui->root(), Saturate(int64_t{args.x} + absoluteX()),
                                        Saturate(int64_t{args.y} + absoluteY()));
    return hit == this && ui->capture() == this;
}

void LFixedButton::draw(Window& window)
{
    auto& button = static_cast<FixedButton&>(window);
    drawButton(button, button.element());
}

void LFixedButton::drawButton(FixedButton& button, Element* element)
{
    UISystem* ui = button.system();
    if (!ui || !ui->renderer())
        return;
    Renderer& renderer = *ui->renderer();
    const Graphics::Rect clip = ClipToWindow(button, AbsoluteRect(button));
    const std::optional<Graphics::Rect> outer = button.clipRect();
    if (ElementState* state = PressableState(button, element, button.showsPressed())) {
        renderer.drawState(button.absoluteX(), button.absoluteY(), button.width(), button.height(),
                           state, outer ? &*outer : nullptr);
    }
    if (button.caption().empty())
        return;
    const auto flags = static_cast<uint32_t>(button.fontFlags());
    const CaptionAnchor at = captionAnchor(button, flags, button.textDeltaX(), button.textDeltaY());
    renderer.drawText(at.x, at.y, button.caption(), flags, &clip, button.font());
}

} // namespace UI
