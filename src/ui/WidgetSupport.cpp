// Helpers shared by the widgets and their looks.
#include "ui/WidgetSupport.h"

#include "ui/Renderer.h"
#include "ui/Skin.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/Window.h"

#include <algorithm>
#include <limits>
#include <string>

namespace UI {

int32_t Saturate(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t ReadFont(UIParams* params, std::u16string_view key, UISystem* system, int32_t current)
{
    if (!params)
        return current;
    const std::u16string name = params->getString(key, u"");
    if (name.empty() || !system || !system->renderer())
        return current;
    const int32_t font = system->renderer()->findFont(name);
    return font >= 0 ? font : current;
}

Element* ReadElement(UIParams* params, std::u16string_view key, UISystem* system, Element* current)
{
    if (!params)
        return current;
    const std::u16string name = params->getString(key, u"");
    if (name.empty() || !system)
        return current;
    Element* element = system->findElement(name);
    return element ? element : current;
}

Graphics::Rect AbsoluteRect(const Window& window)
{
    return {window.absoluteX(), window.absoluteY(), window.width(), window.height()};
}

Graphics::Rect ClipToWindow(const Window& window, Graphics::Rect rect)
{
    if (const std::optional<Graphics::Rect> clip = window.clipRect())
        Graphics::Surface16::Intersect(rect, *clip);
    return rect;
}

ElementState* PressableState(const Window& window, Element* element, bool pressed)
{
    if (!element)
        return nullptr;
    if (!window.isEffectivelyEnabled())
        return element->state(StateIndex::Disabled);
    return element->state(pressed ? StateIndex::Pressed : StateIndex::Default);
}

} // namespace UI
