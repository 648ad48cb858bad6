// Animation: a looping strip of frames stacked vertically in one image, advancing one frame
// every ticksPerFrame updates. It keeps counting while disabled.
#pragma once

#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <string>

namespace UI {

class Animation : public Window
{
public:
    static constexpr int32_t DefaultSize = 100;

    Animation(Window* parent, UISystem* system, UIParams* params = nullptr);

    void onUpdate(const EventArgs& args) override;
    // The window keys, then "tickHeight", "apt" and "src", applied with setAnimation: a found
    // image's frame size overrides the layout's size.
    void load(UIParams* params) override;
    void createLook() override;

    // With an empty name nothing changes. Otherwise starts the named image from frame 0: its
    // height holds image height / frameHeight frames (a frame height below 1 counts as 1, ticks
    // below 1 as 1), and when it holds any the window takes the size of one frame. The tick
    // count carries over.
    void setAnimation(std::u16string name, int32_t frameHeight, int32_t ticksPerFrame);

    const std::u16string& imageName() const { return m_imageName; }
    int32_t imageIndex() const { return m_imageIndex; }
    int32_t frame() const { return m_frame; }
    int32_t frameCount() const { return m_frameCount; }
    int32_t frameHeight() const { return m_frameHeight; }
    int32_t ticksPerFrame() const { return m_ticksPerFrame; }

private:
    std::u16string m_imageName;
    int32_t m_imageIndex = -1;
    int32_t m_frameHeight = 0;
    int32_t m_frameCount = 0;
    int32_t m_frame = 0;
    int32_t m_ticksPerFrame = 1;
    int32_t m_tickCounter = 0;
};

// Draws the current frame: the window-sized rectangle of the image at frame × frameHeight.
class LAnimation : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
