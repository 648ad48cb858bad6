// The window tree: ownership, z-order, geometry, hit-testing, clipping and the default event
// handlers every widget starts from.
#include "ui/Window.h"

#include "ui/Skin.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"
#include "ui/WindowLook.h"

#include <algorithm>
#include <limits>

namespace UI {

Window::Ref::Ref(Window* window) : m_window(window), m_token(window ? window->m_lifetime : nullptr)
{}

Window::Window(Window* parent, UISystem* system, UIParams* params) : m_system(system)
{
    if (system && params)
        m_element = system->findElement(params->getString(u"element", u""));
    Window::createLook();
    Window::load(params);
    if (parent)
        parent->addChild(this);
}

Window::Window(Window* parent)
{
    for (Window* ancestor = parent; ancestor && !m_system; ancestor = ancestor->m_parent)
        m_system = ancestor->m_system;
    Window::createLook();
    if (parent)
        parent->addChild(this);
}

Window::~Window()
{
    removeAllChildren(true);
    // A window destroyed on its own (not through its parent) leaves the parent's array, so
    // the parent never holds a dangling child.
    if (m_parent) {
        const size_t index = m_parent->indexOf(this);
        if (index < m_parent->m_children.size())
            m_parent->detachAt(index);
    }
    if (m_system)
        m_system->forget(this);
}

void Window::draw()
{
    if (m_look)
        m_look->draw(*this);
    drawChildren();
}

void Window::drawChildren()
{
    // By index: a look or a child may change the tree while it draws.
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->m_visible)
            m_children[i]->draw();
    }
}

bool Window::addChild(Window* child)
{
    if (!child || isChildOf(child))
        return false;
    if (child->m_parent) {
        Window* oldParent = child->m_parent;
        const size_t index = oldParent->indexOf(child);
        if (index < oldParent->m_children.size())
            oldParent->detachAt(index);
    }
    // Before the first sibling that is always on top: searched from the end, where they lie
    // unless a flag changed after its window was added, until all of them have been seen.
    auto firstOnTop = m_children.end();
    if (!child->m_alwaysOnTop) {
        for (size_t seen = 0; seen < m_onTopChildren && firstOnTop != m_children.begin();) {
            --firstOnTop;
            if ((*firstOnTop)->m_alwaysOnTop)
                ++seen;
        }
    } else {
        ++m_onTopChildren;
    }
    m_children.emplace(firstOnTop, child);
    child->m_parent = this;
    return true;
}

void Window::removeAllChildren(bool destroy)
{
    // Detach first, so destructors and forget() never see a half-emptied array.
    std::vector<std::unique_ptr<Window>> children = std::move(m_children);
    m_children.clear();
    m_children.shrink_to_fit();
    m_onTopChildren = 0;
    for (auto& child : children) {
        child->m_parent = nullptr;
        if (destroy)
            destroyChild(child.release());
        else
            child.release();
    }
}

void Window::removeChild(Window* child, bool destroy)
{
    const size_t index = indexOf(child);
    if (index < m_children.size())
        removeChildAt(static_cast<uint32_t>(index + 1), destroy);
}

void Window::removeChildAt(uint32_t position, bool destroy)
{
    if (position == 0 || position > m_children.size())
        return;
    Window* child = detachAt(position - 1);
    if (destroy)
        destroyChild(child);
}

void Window::setRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    setPosition(x, y);
    setSize(w, h);
    markRedraw();
}

void Window::setSize(int32_t w, int32_t h)
{
    m_width = w;
    m_height = h;
    markRedraw();
}

void Window::moveBy(int32_t dx, int32_t dy)
{
    setPosition(Saturate(int64_t{m_x} + dx), Saturate(int64_t{m_y} + dy));
}

void Window::moveTo(int32_t x, int32_t y)
{
    setPosition(x, y);
}

void Window::setMaxX(int32_t v)
{
    if (m_x > v)
        moveBy(Saturate(int64_t{v} - m_x), 0);
    m_maxX = v;
}

void Window::setMinX(int32_t v)
{
    if (m_x < v)
        moveBy(Saturate(int64_t{v} - m_x), 0);
    m_minX = v;
}

void Window::setMaxY(int32_t v)
{
    if (m_y > v)
        moveBy(0, Saturate(int64_t{v} - m_y));
    m_maxY = v;
}

void Window::setMinY(int32_t v)
{
    if (m_y < v)
        moveBy(0, Saturate(int64_t{v} - m_y));
    m_minY = v;
}

void Window::setParent(Window* newParent)
{
    if (newParent) {
        newParent->addChild(this); // detaches from the old parent first
    } else if (m_parent) {
        const size_t index = m_parent->indexOf(this);
        if (index < m_parent->m_children.size())
            m_parent->detachAt(index);
    }
}

void Window::onMouseDown(const MouseEventArgs& args)
{
    bringToFront();
    if (!isEffectivelyEnabled())
        return;
    if (m_captured && m_system)
        m_system->setCapture(this);
    markRedraw();
    MouseDown.fire(args);
}

void Window::onMouseUp(const MouseEventArgs& args)
{
    if (!isEffectivelyEnabled())
        return;
    if (m_captured && m_system && m_system->capture() == this)
        m_system->setCapture(nullptr);
    MouseUp.fire(args);
}

void Window::onMouseMove(const MouseEventArgs& args)
{
    if (isEffectivelyEnabled())
        MouseMove.fire(args);
}

void Window::onGotFocus(const WindowChangeEventArgs& args)
{
    if (isEffectivelyEnabled())
        GotFocus.fire(args);
}

void Window::onLostFocus(const WindowChangeEventArgs& args)
{
    if (isEffectivelyEnabled())
        LostFocus.fire(args);
}

void Window::onMouseEnter(const MouseEventArgs& args)
{
    if (isEffectivelyEnabled())
        MouseEnter.fire(args);
}

void Window::onMouseLeave(const MouseEventArgs& args)
{
    if (isEffectivelyEnabled())
        MouseLeave.fire(args);
}

void Window::onUpdate(const EventArgs& args)
{
    if (!isEffectivelyEnabled())
        return;
    // A child's update may add or remove windows: walk by index, checking the bound each step.
    for (size_t i = 0; i < m_children.size(); ++i)
        m_children[i]->onUpdate(args);
}

void Window::onMove(const WindowEventArgs& args)
{
    if (isEffectivelyEnabled())
        Move.fire(args);
}

void Window::onKeyDown(const KeyboardEventArgs& args)
{
    if (isEffectivelyEnabled())
        KeyDown.fire(args);
}

void Window::onKeyUp(const KeyboardEventArgs& args)
{
    if (isEffectivelyEnabled())
        KeyUp.fire(args);
}

bool Window::isChildOf(const Window* w) const
{
    for (const Window* window = this; window; window = window->m_parent) {
        if (window == w)
            return true;
    }
    return false;
}

void Window::bringToFront()
{
    if (!m_overlapped || !m_parent)
        return;
    auto& siblings = m_parent->m_children;
    const size_t index = m_parent->indexOf(this);
    if (index < siblings.size()) {
        size_t target = siblings.size() - 1;
        if (!m_alwaysOnTop) {
            for (size_t i = index + 1; i < siblings.size(); ++i) {
                if (siblings[i]->m_alwaysOnTop) {
                    target = i - 1;
                    break;
                }
            }
        }
        std::rotate(siblings.begin() + static_cast<std::ptrdiff_t>(index),
                    siblings.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                    siblings.begin() + static_cast<std::ptrdiff_t>(target) + 1);
    }
    m_parent->bringToFront();
}

void Window::setAlwaysOnTop(bool value)
{
    if (m_parent && value != m_alwaysOnTop) {
        if (value)
            ++m_parent->m_onTopChildren;
        else
            --m_parent->m_onTopChildren;
    }
    m_alwaysOnTop = value;
}

void Window::setPosition(int32_t x, int32_t y)
{
    x = std::max(std::min(x, m_maxX), m_minX);
    y = std::max(std::min(y, m_maxY), m_minY);
    m_x = x;
    m_y = y;
    // Before the event: its handler may destroy this window.
    markRedraw();
    onMove(WindowEventArgs(this));
}

void Window::broadcastName(std::u16string_view name)
{
    for (size_t i = 0; i < m_children.size(); ++i) {
        Window* child = m_children[i].get();
        const Ref alive(child);
        if (child->m_name == name)
            child->onNameBroadcast();
        if (alive.get())
            child->broadcastName(name);
    }
}

void Window::load(UIParams* params)
{
    if (!params)
        return;
    // The order of the reads is part of the binary layout form: values are matched by ordinal.
    m_width = params->getInt(u"width", m_width);
    m_height = params->getInt(u"height", m_height);
    m_x = params->getInt(u"x", m_x);
    m_y = params->getInt(u"y", m_y);
    m_visible = params->getInt(u"visible", m_visible) != 0;
    m_enabled = params->getInt(u"enabled", m_enabled) != 0;
    setAlwaysOnTop(params->getInt(u"alwaysOnTop", m_alwaysOnTop) != 0);
    m_overlapped = params->getInt(u"overlapped", m_overlapped) != 0;
    m_minX = params->getInt(u"minX", m_minX);
    m_maxX = params->getInt(u"maxX", m_maxX);
    m_minY = params->getInt(u"minY", m_minY);
    m_maxY = params->getInt(u"maxY", m_maxY);
    m_name = params->getString(u"name", m_name);
    m_ghost = params->getInt(u"ghost", m_ghost) != 0;
    m_captured = params->getInt(u"captured", m_captured) != 0;
    m_canActivate = params->getInt(u"canActivate", m_canActivate) != 0;
    m_clipChildren = params->getInt(u"clipChildren", m_clipChildren) != 0;
    markRedraw();
}

Window* Window::findChild(std::u16string_view name)
{
    if (m_name == name)
        return this;
    for (const auto& child : m_children) {
        if (Window* found = child->findChild(name))
            return found;
    }
    return nullptr;
}

int32_t Window::absoluteX() const
{
    int64_t sum = 0;
    for (const Window* window = this; window; window = window->m_parent)
        sum += window->m_x;
    return Saturate(sum);
}

int32_t Window::absoluteY() const
{
    int64_t sum = 0;
    for (const Window* window = this; window; window = window->m_parent)
        sum += window->m_y;
    return Saturate(sum);
}

std::optional<Graphics::Rect> Window::clipRect() const
{
    bool clipped = false;
    for (const Window* window = this; window && !clipped; window = window->m_parent)
        clipped = window->m_clipChildren;
    if (!clipped)
        return std::nullopt;

    // Edges in 64 bits: a far-off window must not wrap round into view.
    int64_t left = absoluteX();
    int64_t top = absoluteY();
    int64_t right = left + std::max(m_width, 0);
    int64_t bottom = top + std::max(m_height, 0);
    if (m_parent) {
        if (const std::optional<Graphics::Rect> outer = m_parent->clipRect()) {
            left = std::max<int64_t>(left, outer->x);
            top = std::max<int64_t>(top, outer->y);
            right = std::min<int64_t>(right, int64_t{outer->x} + outer->width);
            bottom = std::min<int64_t>(bottom, int64_t{outer->y} + outer->height);
        }
    }
    Graphics::Rect rect;
    rect.x = Saturate(left);
    rect.y = Saturate(top);
    rect.width = Saturate(std::max<int64_t>(right - left, 0));
    rect.height = Saturate(std::max<int64_t>(bottom - top, 0));
    return rect;
}

bool Window::isFocusWindow() const
{
    return m_system && m_system->focused() == this;
}

Window* Window::activationWindow()
{
    for (Window* window = this; window; window = window->m_parent) {
        if (!window->m_canActivate)
            return window;
    }
    return nullptr;
}

void Window::setCanActivateTree(bool value)
{
    m_canActivate = value;
    for (const auto& child : m_children)
        child->setCanActivateTree(value);
}

bool Window::isEffectivelyEnabled() const
{
    for (const Window* window = this; window; window = window->m_parent) {
        if (!window->m_enabled)
            return false;
    }
    return true;
}

Window* Window::hitTest(Window* w, int32_t x, int32_t y)
{
    if (!w || !w->m_visible)
        return nullptr;
    if (w->m_ghost && !w->m_canActivate)
        return nullptr;
    // The right and bottom edges are inside; a window without width or height does not limit
    // where its children can be hit.
    const bool outside = x < 0 || x > w->m_width || y < 0 || y > w->m_height;
    if (outside && w->m_width != 0 && w->m_height != 0)
        return nullptr;
    for (size_t i = w->m_children.size(); i-- > 0;) {
        Window* child = w->m_children[i].get();
        Window* hit =
            hitTest(child, Saturate(int64_t{x} - child->m_x), Saturate(int64_t{y} - child->m_y));
        if (hit && hit->m_visible)
            return hit;
    }
    return w->containsPoint(x, y) ? w : nullptr;
}

Window* Window::childAt(size_t index) const
{
    return index < m_children.size() ? m_children[index].get() : nullptr;
}

void Window::setElement(Element* element)
{
    m_element = element;
    markRedraw();
}

void Window::setVisible(bool value)
{
    m_visible = value;
    markRedraw();
}

void Window::setEnabled(bool value)
{
    m_enabled = value;
    markRedraw();
}

void Window::setClipChildren(bool value)
{
    m_clipChildren = value;
    markRedraw();
}

void Window::markRedraw() const
{
    if (m_system)
        m_system->setRedraw();
}

void Window::setLook(std::unique_ptr<WindowLook> look)
{
    m_look = std::move(look);
}

Window* Window::detachAt(size_t index)
{
    Window* child = m_children[index].release();
    m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(index));
    if (child->m_alwaysOnTop)
        --m_onTopChildren;
    if (m_children.empty())
        m_children.shrink_to_fit();
    child->m_parent = nullptr;
    return child;
}

void Window::destroyChild(Window* child)
{
    child->removeAllChildren(true);
    if (m_system)
        m_system->forget(child);
    delete child;
}

size_t Window::indexOf(const Window* child) const
{
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].get() == child)
            return i;
    }
    return m_children.size();
}

} // namespace UI
