// Window: the node of the retained-mode UI tree and the base of every widget. A rectangle
// relative to its parent, z-ordered owned children, flags, a name, a skin element and a look.
#pragma once

#include "graphics/Surface16.h"
#include "ui/Events.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace UI {

class UIParams;
class UISystem;
class WindowLook;
struct Element;

class Window
{
public:
    // The default clamps of the position.
    static constexpr int32_t DefaultMax = 65535;
    static constexpr int32_t DefaultMin = -65535;

    // The layout loader's form: when both system and params are given, the skin element named
    // by the "element" parameter is looked up first. Then the look is created, the window's
    // keys read from params (null: none) and, with a parent, the window is added to it; the
    // parent then owns it.
    Window(Window* parent, UISystem* system, UIParams* params = nullptr);
    // Takes the system of the nearest ancestor that has one.
    explicit Window(Window* parent);
    // Destroys the children (the UI system forgets each one, and this window too) and the
    // look, and leaves the parent's children if it is still among them.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    virtual void draw();
    // Takes ownership of child and inserts it below the first alwaysOnTop child (an
    // alwaysOnTop child goes on top), detaching it from its old parent first. Null, this window
    // and its ancestors are refused (false; the caller keeps its pointer).
    virtual bool addChild(Window* child);
    // With destroy, every child is emptied, forgotten by the UI system and destroyed; without,
    // the children are detached and belong to whoever holds them.
    virtual void removeAllChildren(bool destroy);
    virtual void removeChild(Window* child, bool destroy);
    // position is 1-based; 0 or past the count does nothing.
    virtual void removeChildAt(uint32_t position, bool destroy);
    virtual void setRect(int32_t x, int32_t y, int32_t w, int32_t h);
    virtual void setSize(int32_t w, int32_t h);
    virtual void moveBy(int32_t dx, int32_t dy);
    virtual void moveTo(int32_t x, int32_t y);
    virtual void setMaxX(int32_t v);
    virtual void setMinX(int32_t v);
    virtual void setMaxY(int32_t v);
    virtual void setMinY(int32_t v);
    // Moves the window under newParent (null: only detaches it).
    virtual void setParent(Window* newParent);
    virtual void onMouseDown(const MouseEventArgs& args);
    virtual void onMouseUp(const MouseEventArgs& args);
    virtual void onMouseMove(const MouseEventArgs& args);
    virtual void onGotFocus(const WindowChangeEventArgs& args);
    virtual void onLostFocus(const WindowChangeEventArgs& args);
    virtual void onMouseEnter(const MouseEventArgs& args);
    virtual void onMouseLeave(const MouseEventArgs& args);
    virtual void onUpdate(const EventArgs& args);
    virtual void onMove(const WindowEventArgs& args);
    virtual void onKeyDown(const KeyboardEventArgs& args);
    virtual void onKeyUp(const KeyboardEventArgs& args);
    // True when w is this window or one of its ancestors.
    virtual bool isChildOf(const Window* w) const;
    // Raises the window within its sibling layer, then its ancestors, each only when its
    // overlapped flag is set.
    virtual void bringToFront();
    // Clamps to maxX then minX (maxY then minY), stores, fires Move even when nothing moved.
    virtual void setPosition(int32_t x, int32_t y);
    virtual void onNameBroadcast() {}
    virtual void broadcastName(std::u16string_view name);
    // Local coordinates; hit-testing asks it last.
    virtual bool containsPoint(int32_t /*x*/, int32_t /*y*/) const { return true; }
    // Reads the seventeen window keys, each defaulting to the current value; null reads none.
    virtual void load(UIParams* params);
    // Widgets create their look here; a plain Window has none.
    virtual void createLook() {}

    // Depth-first, pre-order search by exact name, this window included.
    Window* findChild(std::u16string_view name);
    int32_t absoluteX() const;
    int32_t absoluteY() const;
    // The rectangle drawing is clipped to, or none when neither this window nor an ancestor
    // sets clipChildren. An empty rectangle means nothing of the window is visible.
    std::optional<Graphics::Rect> clipRect() const;
    bool isFocusWindow() const;
    // This window unless canActivate is set; else the nearest ancestor without it, or null.
    Window* activationWindow();
    void setCanActivateTree(bool value);
    // Set on this window and every ancestor.
    bool isEffectivelyEnabled() const;

    // The topmost visible window under (x, y), given relative to w's top-left corner.
    static Window* hitTest(Window* w, int32_t x, int32_t y);

    UISystem* system() const { return m_system; }
    Window* parent() const { return m_parent; }
    size_t childCount() const { return m_children.size(); }
    // 0-based; null past the end.
    Window* childAt(size_t index) const;
    WindowLook* look() const { return m_look.get(); }
    const Element* element() const { return m_element; }
    Element* element() { return m_element; }
    void setElement(Element* element);
    const std::u16string& name() const { return m_name; }
    void setName(std::u16string name) { m_name = std::move(name); }

    int32_t x() const { return m_x; }
    int32_t y() const { return m_y; }
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    int32_t minX() const { return m_minX; }
    int32_t maxX() const { return m_maxX; }
    int32_t minY() const { return m_minY; }
    int32_t maxY() const { return m_maxY; }

    bool visible() const { return m_visible; }
    bool enabled() const { return m_enabled; }
    bool alwaysOnTop() const { return m_alwaysOnTop; }
    bool canActivate() const { return m_canActivate; }
    bool captured() const { return m_captured; }
    bool overlapped() const { return m_overlapped; }
    bool ghost() const { return m_ghost; }
    bool clipChildren() const { return m_clipChildren; }
    // The setters of visual flags set the redraw flag. alwaysOnTop takes effect at the next
    // insertion into a parent.
    void setVisible(bool value);
    void setEnabled(bool value);
    void setAlwaysOnTop(bool value);
    void setCanActivate(bool value) { m_canActivate = value; }
    void setCaptured(bool value) { m_captured = value; }
    void setOverlapped(bool value) { m_overlapped = value; }
    void setGhost(bool value) { m_ghost = value; }
    void setClipChildren(bool value);

    // A handle that reports whether the window still exists. Input routing holds one across
    // every handler call, since a handler may destroy the window it was called for.
    class Ref
    {
    public:
        Ref() = default;
        explicit Ref(Window* window);
        // The window, or null once it has been destroyed.
        Window* get() const { return m_token.expired() ? nullptr : m_window; }

    private:
        Window* m_window = nullptr;
        std::weak_ptr<const bool> m_token;
    };

    Event MouseDown;
    Event MouseUp;
    Event MouseMove;
    Event GotFocus;
    Event LostFocus;
    Event MouseEnter;
    Event MouseLeave;
    Event Move;
    Event KeyDown;
    Event KeyUp;
    Event Shown;
    Event Hidden;

protected:
    // Sets the UI system's redraw flag when the window has a system.
    void markRedraw() const;
    // Draws the visible children, bottom first. draw() is the look, then this.
    void drawChildren();
    // Widgets install their look from createLook.
    void setLook(std::unique_ptr<WindowLook> look);

private:
    // Removes the child at index from the array without destroying it; its parent is cleared.
    Window* detachAt(size_t index);
    void destroyChild(Window* child);
    size_t indexOf(const Window* child) const;
    // Stores a position already clamped, saturating to 32 bits.
    void storePosition(int64_t x, int64_t y);

    UISystem* m_system = nullptr;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_alwaysOnTop = false;
    // How many children are always on top, so that adding a child below them searches only as
    // far as they lie from the end (nowhere when there are none).
    size_t m_onTopChildren = 0;
    bool m_canActivate = false;
    bool m_captured = false;
    bool m_overlapped = true;
    bool m_ghost = false;
    bool m_clipChildren = false;
    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_maxX = DefaultMax;
    int32_t m_maxY = DefaultMax;
    int32_t m_minX = DefaultMin;
    int32_t m_minY = DefaultMin;
    Window* m_parent = nullptr;
    std::vector<std::unique_ptr<Window>> m_children; // index 0 at the bottom
    std::unique_ptr<WindowLook> m_look;
    std::u16string m_name;
    Element* m_element = nullptr; // owned by the skin
    // Expires with the window; see Ref.
    std::shared_ptr<const bool> m_lifetime = std::make_shared<const bool>(true);
};

} // namespace UI
