// The scroll bar: layout of its arrows and thumb, arrow presses and holds, and the mapping
// between the thumb's pixel position and a fraction or an item index.
#include "ui/Scroller.h"

#include "ui/FixedButton.h"
#include "ui/Thumb.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"
#include "ui/WindowLook.h"

#include <algorithm>
#include <cmath>

namespace UI {

Scroller::Scroller(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    // The parts do not exist yet: the layout follows the load.
    Window::setSize(DefaultWidth, DefaultHeight);
    Scroller::createLook();
    Scroller::load(params);
}

void Scroller::setSize(int32_t w, int32_t h)
{
    Window::setSize(w, h);
    const int32_t x = Saturate((int64_t{w} - m_buttonWidth) / 2);
    m_upButton->setPosition(x, m_buttonDeltaYU);
    m_upButton->setSize(m_buttonWidth, m_buttonHeight);
    m_downButton->setPosition(x, Saturate(int64_t{h} - m_buttonHeight - m_buttonDeltaYD));
    m_downButton->setSize(m_buttonWidth, m_buttonHeight);

    // The range never turns negative: a scroller too short for its thumb keeps the thumb at
    // the top. The limits are opened before the thumb is placed, so placing it is one move.
    const int32_t minY = m_thumbDeltaYU;
    const int32_t maxY = std::max(minY, Saturate(int64_t{h} - m_thumbHeight - m_thumbDeltaYD));
    m_thumb->setSize(m_thumbWidth, m_thumbHeight);
    m_thumb->setMinY(DefaultMin);
    m_thumb->setMaxY(DefaultMax);
    m_thumb->setPosition(x, minY);
    m_thumb->setMinY(minY);
    m_thumb->setMaxY(maxY);
}

void Scroller::onUpdate(const EventArgs& args)
{
    const Ref alive(this);
    Window::onUpdate(args);
    if (!alive.get() || m_repeatState == Repeat::None)
        return;
    // A release can be lost (the arrow disabled or hidden while held, the capture taken by
    // another window): the hold lasts only while the arrow still has the capture.
    FixedButton* arrow = heldArrow();
    if (!system() || system()->capture() != arrow || !arrow->visible() ||
        !arrow->isEffectivelyEnabled()) {
        m_repeatState = Repeat::None;
        return;
    }
    step(m_repeatState == Repeat::Up ? -RepeatStep : RepeatStep);
}

void Scroller::load(UIParams* params)
{
    Window::load(params);
    loadScroller(params);
}

void Scroller::createLook()
{
    UISystem* ui = system();
    m_thumb = new Thumb(this, ui);
    m_thumb->setName(u"thumb");
    m_upButton = new FixedButton(this, ui);
    m_upButton->setName(u"ScrollArrowUp");
    m_downButton = new FixedButton(this, ui);
    m_downButton->setName(u"ScrollArrowDown");
    if (ui) {
        m_upButton->setElement(ui->findElement(u"ScrollArrowUp"));
        m_downButton->setElement(ui->findElement(u"ScrollArrowDown"));
    }
    subscribe(m_thumb->Move, this, &Scroller::onThumbMove);
    subscribe(m_upButton->MouseDown, this, &Scroller::onUpPressed);
    subscribe(m_downButton->MouseDown, this, &Scroller::onDownPressed);
    for (FixedButton* arrow : {m_upButton, m_downButton}) {
        subscribe(arrow->MouseUp, this, &Scroller::onArrowReleased);
        subscribe(arrow->MouseLeave, this, &Scroller::onArrowReleased);
    }
    setLook(std::make_unique<WindowLook>());
}

void Scroller::fireScrollUp()
{
    if (isEffectivelyEnabled())
        ScrollUp.fire(WindowEventArgs(this));
}

void Scroller::fireScrollDown()
{
    if (isEffectivelyEnabled())
        ScrollDown.fire(WindowEventArgs(this));
}

void Scroller::fireChanged()
{
    if (isEffectivelyEnabled())
        Changed.fire(WindowEventArgs(this));
}

void Scroller::loadScroller(UIParams* params)
{
    if (params) {
        // Read in this order whatever the values: the binary layout form matches by ordinal.
        m_thumbDeltaYU = params->getInt(u"scrollerThumbDeltaYU", m_thumbDeltaYU);
        m_thumbDeltaYD = params->getInt(u"scrollerThumbDeltaYD", m_thumbDeltaYD);
        m_buttonDeltaYU = params->getInt(u"scrollerButtonDeltaYU", m_buttonDeltaYU);
        m_buttonDeltaYD = params->getInt(u"scrollerButtonDeltaYD", m_buttonDeltaYD);
        m_buttonHeight = params->getInt(u"scrollerButtonHeight", m_buttonHeight);
        m_buttonWidth = params->getInt(u"scrollerButtonWidth", m_buttonWidth);
        m_thumbWidth = params->getInt(u"thumbWidth", m_thumbWidth);
        m_thumbHeight = params->getInt(u"thumbHeight", m_thumbHeight);
        m_thumb->setElement(
            ReadElement(params, u"scrollerThumbElement", system(), m_thumb->element()));
        m_upButton->setElement(
            ReadElement(params, u"scrollerButtonUpElement", system(), m_upButton->element()));
        m_downButton->setElement(
            ReadElement(params, u"scrollerButtonDownElement", system(), m_downButton->element()));
    }
    setSize(width(), height());
}

void Scroller::setPosition(float fraction)
{
    if (!(fraction >= 0.0f)) // NaN too
        fraction = 0.0f;
    fraction = std::min(fraction, 1.0f);
    const int64_t offset = std::llround(static_cast<double>(range()) * fraction);
    m_thumb->setPosition(m_thumb->x(), Saturate(int64_t{m_thumb->minY()} + offset));
}

float Scroller::position() const
{
    const int32_t r = range();
    if (r <= 0)
        return 0.0f;
    const int64_t offset = std::clamp<int64_t>(int64_t{m_thumb->y()} - m_thumb->minY(), 0, r);
    return static_cast<float>(offset) / static_cast<float>(r);
}

int32_t Scroller::positionIndex(int32_t count) const
{
    const int32_t r = range();
    if (count <= 0 || r <= 0)
        return 0;
    const int64_t offset = std::clamp<int64_t>(int64_t{m_thumb->y()} - m_thumb->minY(), 0, r);
    return static_cast<int32_t>(std::min<int64_t>(offset * count / r, count - 1));
}

void Scroller::setPositionIndex(int32_t index, int32_t count)
{
    const int64_t r = range();
    int64_t offset = 0;
    if (count > 1 && r > 0) {
        const int64_t n = count;
        const int64_t i = std::clamp<int64_t>(index, 0, n - 1);
        // Nearest pixel first, then pulled into the pixels positionIndex maps back to i:
        // those p with i * r / n <= p < (i + 1) * r / n, the last item taking the rest up to r.
        offset = (2 * i * r + (n - 1)) / (2 * (n - 1));
        const int64_t lowest = (i * r + n - 1) / n;
        const int64_t highest = i == n - 1 ? r : ((i + 1) * r + n - 1) / n - 1;
        offset = std::max(std::min(offset, highest), lowest);
        offset = std::min(offset, r);
    }
    const Ref alive(this);
    const int32_t before = m_thumb->y();
    m_thumb->setPosition(m_thumb->x(), Saturate(int64_t{m_thumb->minY()} + offset));
    if (!alive.get())
        return;
    if (m_thumb->y() < before)
        fireScrollUp();
    else if (m_thumb->y() > before)
        fireScrollDown();
}

void Scroller::scrollToRow(int32_t row, int32_t first, int32_t visibleRows, int32_t maxFirst)
{
    const int32_t positions = Saturate(int64_t{maxFirst} + 1);
    if (row < first)
        setPositionIndex(row, positions);
    else if (int64_t{row} >= int64_t{first} + visibleRows)
        setPositionIndex(Saturate(int64_t{row} - visibleRows + 1), positions);
}

int32_t Scroller::range() const
{
    return Saturate(std::max<int64_t>(int64_t{m_thumb->maxY()} - m_thumb->minY(), 0));
}

bool Scroller::onThumbMove(const EventArgs& /*args*/)
{
    fireChanged();
    return true;
}

bool Scroller::onUpPressed(const EventArgs& /*args*/)
{
    m_repeatState = Repeat::Up;
    step(-PressStep);
    return true;
}

bool Scroller::onDownPressed(const EventArgs& /*args*/)
{
    m_repeatState = Repeat::Down;
    step(PressStep);
    return true;
}

bool Scroller::onArrowReleased(const EventArgs& /*args*/)
{
    m_repeatState = Repeat::None;
    return true;
}

void Scroller::step(int32_t dy)
{
    const Ref alive(this);
    m_thumb->moveBy(0, dy);
    if (!alive.get())
        return;
    if (dy < 0)
        fireScrollUp();
    else
        fireScrollDown();
}

FixedButton* Scroller::heldArrow() const
{
    switch (m_repeatState) {
    case Repeat::Up:
        return m_upButton;
    case Repeat::Down:
        return m_downButton;
    case Repeat::None:
        break;
    }
    return nullptr;
}

} // namespace UI
