// StaticImage: a picture from the renderer's images, drawn whole and unscaled at the window's
// position. An image not found yet is looked up again at every draw, so a layout may name an
// image that is loaded later.
#pragma once

#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <string>

namespace UI {

class StaticImage : public Window
{
public:
    static constexpr int32_t DefaultSize = 100;

    StaticImage(Window* parent, UISystem* system, UIParams* params = nullptr);

    // "src" (applied with resize, so the window keys that follow can override the size), then
    // the window keys.
    void load(UIParams* params) override;
    void createLook() override;

    // Names the image and looks it up; with resize, a found image sizes the window.
    void setImage(std::u16string name, bool resize);
    const std::u16string& imageName() const { return m_imageName; }
    // The renderer's index of the image, looked up again while it is -1.
    int32_t resolveImage();

private:
    std::u16string m_imageName;
    int32_t m_imageIndex = -1;
};

class LStaticImage : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
