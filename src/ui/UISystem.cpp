// Input routing, focus, hover and capture, and the root tree's update and drawing.
//
// Every event handler may change the tree: hide, move or destroy windows, even the one it was
// called for. So the routing keeps the order of its steps, but holds a Window::Ref across each
// handler call and touches a window again only while it still exists and is still in the
// root's tree.
#include "ui/UISystem.h"

#include "ui/Skin.h"

#include <algorithm>
#include <limits>

namespace UI {

namespace {

int32_t Relative(int32_t screen, int32_t absolute)
{
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{screen} - absolute,
                                                    std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

UISystem::UISystem(Renderer* renderer, StyleList* styles) : m_renderer(renderer), m_styles(styles)
{}

UISystem::~UISystem()
{
    // The root's destructor calls forget(), which clears m_root while this object is intact.
    delete m_root;
}

void UISystem::setRoot(Window* window)
{
    if (window == m_root)
        return;
    if (m_root) {
        const Window::Ref next(window);
        m_root->Hidden.fire(WindowEventArgs(window));
        // A Hidden handler may have destroyed the window about to be shown.
        if (window && !next.get())
            window = nullptr;
    }
    m_root = window;
    if (window)
        window->Shown.fire(WindowEventArgs(window));
    m_redraw = true;
}

Window* UISystem::findWindow(std::u16string_view name) const
{
    return m_root ? m_root->findChild(name) : nullptr;
}

void UISystem::setFocus(Window* window)
{
    if (window && window->ghost())
        return;
    if (window == m_focused)
        return;
    if (window && window->canActivate()) {
        setFocus(window->parent());
        return;
    }
    Window* old = m_focused;
    const Window::Ref oldRef(old);
    const Window::Ref next(window);
    if (old)
        old->onLostFocus(WindowChangeEventArgs(old, window));
    // The LostFocus handler may have destroyed the window that was to take the focus.
    if (window && !next.get())
        window = nullptr;
    m_focused = window;
    if (window)
        window->onGotFocus(WindowChangeEventArgs(window, oldRef.get()));
}

void UISystem::forget(const Window* window)
{
    if (!window)
        return;
    if (m_focused == window)
        m_focused = nullptr;
    if (m_capture == window)
        m_capture = nullptr;
    if (m_hovered == window)
        m_hovered = nullptr;
    if (m_root == window)
        m_root = nullptr;
}

Element* UISystem::findElement(std::u16string_view name) const
{
    if (!m_styles || m_currentStyle < 0 ||
        static_cast<size_t>(m_currentStyle) >= m_styles->styles.size())
        return nullptr;
    for (Element& element : m_styles->styles[static_cast<size_t>(m_currentStyle)].elements) {
        if (element.name == name)
            return &element;
    }
    return nullptr;
}

void UISystem::stylusDown(int32_t x, int32_t y)
{
    m_buttonDown = true;

    if (m_capture) {
        Window* capture = m_capture;
        if (hitRoot(x, y) != capture)
            capture->onMouseLeave(mouseArgs(capture, x, y));
        m_capture = nullptr;
    }

    Window* hit = hitRoot(x, y);
    if (!hit || !hit->isEffectivelyEnabled())
        return;
    const Window::Ref target(hit);

    if (hit != m_hovered) {
        if (m_hovered)
            m_hovered->onMouseLeave(mouseArgs(m_hovered, x, y));
        if (!inTree(target))
            return;
        m_hovered = hit;
    }
    setFocus(hit);
    if (!inTree(target))
        return;
    hit->onMouseDown(mouseArgs(hit, x, y));
}

void UISystem::stylusMove(int32_t x, int32_t y)
{
    if (m_capture)
        m_capture->onMouseMove(mouseArgs(m_capture, x, y));

    Window* hit = hitRoot(x, y);
    const Window::Ref target(hit);
    if (hit != m_hovered) {
        if (m_hovered)
            m_hovered->onMouseLeave(mouseArgs(m_hovered, x, y));
        hit = inTree(target);
        if (hit)
            hit->onMouseEnter(mouseArgs(hit, x, y));
        hit = inTree(target);
        m_hovered = hit;
    }
    if (hit && !m_capture)
        hit->onMouseMove(mouseArgs(hit, x, y));
}

void UISystem::stylusUp(int32_t x, int32_t y)
{
    m_buttonDown = false;
    if (!m_capture) {
        if (Window* hit = hitRoot(x, y))
            hit->onMouseUp(mouseArgs(hit, x, y));
        return;
    }
    m_capture->onMouseUp(mouseArgs(m_capture, x, y));
    m_capture = nullptr;
}

void UISystem::keyDown(uint32_t key)
{
    if (m_focused)
        m_focused->onKeyDown(KeyboardEventArgs(m_focused, key));
}

void UISystem::keyUp(uint32_t key)
{
    if (m_focused)
        m_focused->onKeyUp(KeyboardEventArgs(m_focused, key));
}

void UISystem::update()
{
    if (m_root)
        m_root->onUpdate(WindowEventArgs(m_focused));
}

void UISystem::draw()
{
    if (m_redraw && m_root && m_root->visible())
        m_root->draw();
}

void UISystem::broadcastName(std::u16string_view name)
{
    if (!m_root)
        return;
    const Window::Ref root(m_root);
    if (m_root->name() == name)
        m_root->onNameBroadcast();
    if (Window* alive = root.get())
        alive->broadcastName(name);
}

MouseEventArgs UISystem::mouseArgs(Window* window, int32_t x, int32_t y) const
{
    return MouseEventArgs(window, Relative(x, window->absoluteX()),
                          Relative(y, window->absoluteY()), m_buttonDown);
}

Window* UISystem::hitRoot(int32_t x, int32_t y) const
{
    // The root is tested in screen coordinates: its own position is not subtracted.
    return m_root ? Window::hitTest(m_root, x, y) : nullptr;
}

Window* UISystem::inTree(const Window::Ref& ref) const
{
    Window* window = ref.get();
    return window && m_root && window->isChildOf(m_root) ? window : nullptr;
}

} // namespace UI
