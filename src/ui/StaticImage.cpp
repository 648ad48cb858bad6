// The static image and its look.
#include "ui/StaticImage.h"

#include "ui/Renderer.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"

namespace UI {

StaticImage::StaticImage(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    setSize(DefaultSize, DefaultSize);
    StaticImage::createLook();
    StaticImage::load(params);
}

void StaticImage::load(UIParams* params)
{
    if (params) {
        std::u16string source = params->getString(u"src", m_imageName);
        if (!source.empty())
            setImage(std::move(source), true);
    }
    Window::load(params);
}

void StaticImage::createLook()
{
    setLook(std::make_unique<LStaticImage>());
}

void StaticImage::setImage(std::u16string name, bool resize)
{
    m_imageName = std::move(name);
    m_imageIndex = -1;
    markRedraw();
    Renderer* renderer = system() ? system()->renderer() : nullptr;
    if (!renderer)
        return;
    m_imageIndex = renderer->findImage(m_imageName);
    int32_t width = 0;
    int32_t height = 0;
    if (resize && m_imageIndex >= 0 && renderer->getImageSize(width, height, m_imageIndex))
        setSize(width, height);
}

int32_t StaticImage::resolveImage()
{
    if (m_imageIndex < 0 && !m_imageName.empty() && system() && system()->renderer())
        m_imageIndex = system()->renderer()->findImage(m_imageName);
    return m_imageIndex;
}

void LStaticImage::draw(Window& window)
{
    auto& image = static_cast<StaticImage&>(window);
    const int32_t index = image.resolveImage();
    if (index < 0)
        return;
    const std::optional<Graphics::Rect> clip = image.clipRect();
    image.system()->renderer()->drawImage(image.absoluteX(), image.absoluteY(), index,
                                          ImageMode::Copy, nullptr, nullptr,
                                          clip ? &*clip : nullptr);
}

} // namespace UI
