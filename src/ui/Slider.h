// Slider: a value between 0 and 1 set by dragging the stylus along a track or by code, shown
// as a progress part over the track. A vertical slider stores 1 - value, so its progress
// fills from the bottom up.
#pragma once

#include "ui/Window.h"
#include "ui/WindowLook.h"

namespace UI {

class Slider : public Window
{
public:
    static constexpr int32_t DefaultWidth = 100;
    static constexpr int32_t DefaultHeight = 20;
    enum Direction : int32_t
    {
        Horizontal = 0,
        Vertical = 1,
    };

    Slider(Window* parent, UISystem* system, UIParams* params = nullptr);

    // A press inside the margins sets the value; any press starts a drag under the capture.
    void onMouseDown(const MouseEventArgs& args) override;
    void onMouseMove(const MouseEventArgs& args) override;
    void onMouseUp(const MouseEventArgs& args) override;
    // The window keys, then "sliderDeltaX", "sliderDeltaY", "sliderDirection",
    // "sliderStepSize", "sliderProgressElement".
    void load(UIParams* params) override;
    void createLook() override;
    // Fires Changed when the slider is effectively enabled.
    virtual void fireChanged(const EventArgs& args);

    // Stores v (1 - v when vertical) clamped to [0, 1], NaN as 0, fires Changed and returns the
    // value stored before.
    float setValue(float v);
    // The stored value: for a vertical slider, 1 minus what was set.
    float value() const { return m_value; }
    int32_t direction() const { return m_direction; }
    int32_t deltaX() const { return m_deltaX; }
    int32_t deltaY() const { return m_deltaY; }
    int32_t stepSize() const { return m_stepSize; }
    bool dragging() const { return m_dragging; }
    Element* progressElement() const { return m_progressElement; }
    // The length along the track between the margins, 0 or less when the margins leave none.
    int64_t innerLength() const;
    // The progress drawn, in pixels: the stored value's share of the inner length, rounded to
    // the step size when that is 2 or more, never past the inner length.
    int32_t progressLength() const;

    Event Changed;

private:
    // Sets the value from a local stylus position; without room between the margins the value
    // stays.
    void trackTo(const MouseEventArgs& args);

    float m_value = 0.5f;
    int32_t m_direction = Horizontal;
    int32_t m_deltaX = 0;
    int32_t m_deltaY = 0;
    int32_t m_stepSize = 0;
    Element* m_progressElement = nullptr; // owned by the skin
    bool m_dragging = false;
};

// The track (the element) and the progress element, "disabled" when the slider is, clipped to
// the parent's clip rectangle.
class LSlider : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
