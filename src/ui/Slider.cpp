// The slider: values from the stylus and from code, and its look.
#include "ui/Slider.h"

#include "ui/Renderer.h"
#include "ui/Skin.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

#include <algorithm>
#include <cmath>

namespace UI {

namespace {

float Clamp01(float v)
{
    return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}

} // namespace

Slider::Slider(Window* parent, UISystem* system, UIParams* params) : Window(parent, system, params)
{
    setSize(DefaultWidth, DefaultHeight);
    if (system)
        m_progressElement = system->findElement(u"progressTopElement");
    Slider::createLook();
    Slider::load(params);
}

void Slider::onMouseDown(const MouseEventArgs& args)
{
    const int32_t along = m_direction == Vertical ? args.y : args.x;
    const int32_t margin = m_direction == Vertical ? m_deltaY : m_deltaX;
    if (along >= margin)
        trackTo(args);
    m_dragging = true;
    if (system())
        system()->setCapture(this);
    const Ref alive(this);
    fireChanged(WindowEventArgs(this));
    if (alive.get())
        Window::onMouseDown(args);
}

void Slider::onMouseMove(const MouseEventArgs& args)
{
    const Ref alive(this);
    if (m_dragging) {
        trackTo(args);
        fireChanged(WindowEventArgs(this));
    }
    if (alive.get())
        Window::onMouseMove(args);
}

void Slider::onMouseUp(const MouseEventArgs& args)
{
    m_dragging = false;
    Window::onMouseUp(args);
}

void Slider::load(UIParams* params)
{
    Window::load(params);
    if (!params)
        return;
    m_deltaX = params->getInt(u"sliderDeltaX", m_deltaX);
    m_deltaY = params->getInt(u"sliderDeltaY", m_deltaY);
    m_direction = params->getInt(u"sliderDirection", m_direction);
    m_stepSize = params->getInt(u"sliderStepSize", m_stepSize);
    m_progressElement = ReadElement(params, u"sliderProgressElement", system(), m_progressElement);
}

void Slider::createLook()
{
    setLook(std::make_unique<LSlider>());
}

void Slider::fireChanged(const EventArgs& args)
{
    if (isEffectivelyEnabled())
        Changed.fire(args);
}

float Slider::setValue(float v)
{
    const float old = m_value;
    m_value = Clamp01(m_direction == Vertical ? 1.0f - v : v);
    markRedraw();
    fireChanged(WindowEventArgs(this));
    return old;
}

int64_t Slider::innerLength() const
{
    return m_direction == Vertical ? int64_t{height()} - 2 * int64_t{m_deltaY}
                                   : int64_t{width()} - 2 * int64_t{m_deltaX};
}

int32_t Slider::progressLength() const
{
    const int64_t inner = innerLength();
    if (inner <= 0)
        return 0;
    auto length = static_cast<int64_t>(static_cast<double>(inner) * m_value);
    if (m_stepSize >= 2)
        length = std::min((length + m_stepSize / 2) / m_stepSize * m_stepSize, inner);
    return Saturate(length);
}

void Slider::trackTo(const MouseEventArgs& args)
{
    const int64_t inner = innerLength();
    if (inner <= 0)
        return;
    const int64_t offset =
        m_direction == Vertical ? int64_t{args.y} - m_deltaY : int64_t{args.x} - m_deltaX;
    m_value = Clamp01(static_cast<float>(offset) / static_cast<float>(inner));
    markRedraw();
}

void LSlider::draw(Window& window)
{
    auto& slider = static_cast<Slider&>(window);
    UISystem* ui = slider.system();
    if (!ui || !ui->renderer())
        return;
    Renderer& renderer = *ui->renderer();
    const int state = slider.isEffectivelyEnabled() ? StateIndex::Default : StateIndex::Disabled;
    // Clipped like the slider's siblings: by what its parent shows.
    const std::optional<Graphics::Rect> clip =
        slider.parent() ? slider.parent()->clipRect() : std::nullopt;
    const Graphics::Rect* clipArg = clip ? &*clip : nullptr;
    const int32_t x = slider.absoluteX();
    const int32_t y = slider.absoluteY();
    if (Element* track = slider.element())
        renderer.drawState(x, y, slider.width(), slider.height(), track->state(state), clipArg);
    Element* progress = slider.progressElement();
    if (!progress)
        return;
    const int32_t left = Saturate(int64_t{x} + slider.deltaX());
    const int32_t top = Saturate(int64_t{y} + slider.deltaY());
    const int32_t innerWidth = Saturate(int64_t{slider.width()} - 2 * int64_t{slider.deltaX()});
    const int32_t innerHeight = Saturate(int64_t{slider.height()} - 2 * int64_t{slider.deltaY()});
    const int32_t length = slider.progressLength();
    if (slider.direction() == Slider::Vertical) {
        renderer.drawStateOffset(left, top, innerWidth, innerHeight, progress->state(state), left,
                                 Saturate(int64_t{top} + length), clipArg);
    } else {
        renderer.drawState(left, top, length, innerHeight, progress->state(state), clipArg);
    }
}

} // namespace UI
