// What the widgets share: saturating arithmetic for layout numbers, fonts and skin elements
// named by layout keys, clipping rectangles, and the state a pressable widget is drawn in.
#pragma once

#include "graphics/Surface16.h"

#include <cstdint>
#include <string_view>

namespace UI {

class UIParams;
class UISystem;
class Window;
struct Element;
struct ElementState;

// value clamped into the 32-bit range: layout numbers are added and multiplied in 64 bits and
// stored through this.
int32_t Saturate(int64_t value);

// Reads the font name under key (always, so the binary form's call count stays fixed) and
// returns its renderer index; an empty or unknown name, or no renderer, gives current.
int32_t ReadFont(UIParams* params, std::u16string_view key, UISystem* system, int32_t current);
// Reads the element name under key (always) and returns that element of the current style;
// an empty or unknown name gives current.
Element* ReadElement(UIParams* params, std::u16string_view key, UISystem* system, Element* current);

// The window's rectangle in screen coordinates.
Graphics::Rect AbsoluteRect(const Window& window);
// rect cut to the window's clip rectangle, when the window has one.
Graphics::Rect ClipToWindow(const Window& window, Graphics::Rect rect);

// The state a pressable widget shows: "disabled" when it is not effectively enabled, "pressed"
// when pressed, else "default". Null when the element is null or has no states.
ElementState* PressableState(const Window& window, Element* element, bool pressed);

} // namespace UI
