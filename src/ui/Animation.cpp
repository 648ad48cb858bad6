// The frame-strip animation and its look.
#include "ui/Animation.h"

#include "ui/Renderer.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

#include <algorithm>

namespace UI {

Animation::Animation(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    setSize(DefaultSize, DefaultSize);
    Animation::createLook();
    Animation::load(params);
}

void Animation::onUpdate(const EventArgs& args)
{
    // At or past the tick count: a new animation with fewer ticks per frame must not freeze.
    if (++m_tickCounter >= m_ticksPerFrame) {
        m_tickCounter = 0;
        if (++m_frame >= m_frameCount)
            m_frame = 0;
        markRedraw();
    }
    Window::onUpdate(args);
}

void Animation::load(UIParams* params)
{
    Window::load(params);
    if (!params)
        return;
    const int32_t frameHeight = params->getInt(u"tickHeight", 1);
    const int32_t ticks = params->getInt(u"apt", 1);
    setAnimation(params->getString(u"src", u""), frameHeight, ticks);
}

void Animation::createLook()
{
    setLook(std::make_unique<LAnimation>());
}

void Animation::setAnimation(std::u16string name, int32_t frameHeight, int32_t ticksPerFrame)
{
    if (name.empty())
        return;
    m_imageName = std::move(name);
    m_frameCount = m_frame = m_frameHeight = 0;
    m_ticksPerFrame = std::max(ticksPerFrame, 1);
    frameHeight = std::max(frameHeight, 1);
    markRedraw();
    Renderer* renderer = system() ? system()->renderer() : nullptr;
    m_imageIndex = renderer ? renderer->findImage(m_imageName) : -1;
    int32_t width = 0;
    int32_t height = 0;
    if (m_imageIndex < 0 || !renderer->getImageSize(width, height, m_imageIndex))
        return;
    m_frameCount = height / frameHeight;
    if (m_frameCount > 0) {
        m_frameHeight = frameHeight;
        setSize(width, frameHeight);
    }
}

void LAnimation::draw(Window& window)
{
    auto& animation = static_cast<Animation&>(window);
    if (animation.imageIndex() < 0)
        return;
    const Graphics::Rect source{0, Saturate(int64_t{animation.frame()} * animation.frameHeight()),
                                animation.width(), animation.height()};
    const std::optional<Graphics::Rect> clip = animation.clipRect();
    animation.system()->renderer()->drawImage(animation.absoluteX(), animation.absoluteY(),
                                              animation.imageIndex(), ImageMode::Copy, &source,
                                              nullptr, clip ? &*clip : nullptr);
}

} // namespace UI
