// A window drawn by its skin element, optionally with a caption: the shape every widget's look
// takes, for tests that need windows that draw.
#pragma once

#include "ui/Renderer.h"
#include "ui/UISystem.h"
#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <algorithm>
#include <string>

class SkinnedWindow : public UI::Window
{
public:
    SkinnedWindow(UI::Window* parent, UI::UISystem* system, std::u16string_view element,
                  std::u16string caption = {}, uint32_t fontFlags = 0)
        : UI::Window(parent, system), caption(std::move(caption)), fontFlags(fontFlags)
    {
        SkinnedWindow::createLook();
        setElement(system->findElement(element));
    }

    void createLook() override { setLook(std::make_unique<Look>()); }

    std::u16string caption;
    uint32_t fontFlags;
    int32_t font = 0;

private:
    class Look : public UI::WindowLook
    {
    public:
        void draw(UI::Window& window) override
        {
            UI::WindowLook::draw(window);
            auto& self = static_cast<SkinnedWindow&>(window);
            if (self.caption.empty())
                return;
            // The caption is clipped to the window and to its clip rectangle.
            Graphics::Rect clip{window.absoluteX(), window.absoluteY(), window.width(),
                                window.height()};
            if (const auto outer = window.clipRect())
                Graphics::Surface16::Intersect(clip, *outer);
            const UI::CaptionAnchor at = UI::captionAnchor(window, self.fontFlags, 0, 0);
            window.system()->renderer()->drawText(at.x, at.y, self.caption, self.fontFlags, &clip,
                                                  self.font);
        }
    };
};
