// UISystem: the global state of the UI toolkit. It holds the root tree on screen, the focus,
// hover and capture windows, routes stylus and key input into the tree, updates and draws it.
#pragma once

#include "ui/Window.h"

#include <cstdint>
#include <string_view>

namespace UI {

class Renderer;
struct Element;
struct StyleList;

class UISystem
{
public:
    // Borrows both; they must outlive the system.
    UISystem(Renderer* renderer, StyleList* styles);
    // Destroys the window that is the root at that moment.
    ~UISystem();
    UISystem(const UISystem&) = delete;
    UISystem& operator=(const UISystem&) = delete;

    // Fires Hidden on the old root, then Shown on the new one. Does not take ownership.
    void setRoot(Window* window);
    Window* findWindow(std::u16string_view name) const;
    void setFocus(Window* window);
    // Clears focus, hover, capture and root wherever they are the window (being destroyed).
    void forget(const Window* window);
    // The first element of the current style with exactly this name, or null.
    Element* findElement(std::u16string_view name) const;

    // Input in screen pixels, and virtual-key codes as the platform gives them.
    void stylusDown(int32_t x, int32_t y);
    void stylusMove(int32_t x, int32_t y);
    void stylusUp(int32_t x, int32_t y);
    void keyDown(uint32_t key);
    void keyUp(uint32_t key);
    void update();
    // Draws the root tree once anything has changed (the flag is never cleared).
    void draw();
    void broadcastName(std::u16string_view name);

    // Used by windows: the capture is taken in onMouseDown or by a widget itself.
    void setCapture(Window* window) { m_capture = window; }
    void setRedraw() { m_redraw = true; }

    Renderer* renderer() const { return m_renderer; }
    StyleList* styles() const { return m_styles; }
    int32_t currentStyle() const { return m_currentStyle; }
    Window* root() const { return m_root; }
    Window* focused() const { return m_focused; }
    Window* hovered() const { return m_hovered; }
    Window* capture() const { return m_capture; }
    bool redraw() const { return m_redraw; }
    bool buttonDown() const { return m_buttonDown; }

private:
    // Mouse arguments for window at screen point (x, y), relative to the window.
    MouseEventArgs mouseArgs(Window* window, int32_t x, int32_t y) const;
    Window* hitRoot(int32_t x, int32_t y) const;
    // The window behind ref when it still exists and is still in the root's tree.
    Window* inTree(const Window::Ref& ref) const;

    Renderer* m_renderer;
    StyleList* m_styles;
    int32_t m_currentStyle = 0;
    Window* m_root = nullptr;
    Window* m_focused = nullptr;
    Window* m_hovered = nullptr;
    Window* m_capture = nullptr;
    bool m_redraw = false;
    bool m_buttonDown = false;
};

} // namespace UI
