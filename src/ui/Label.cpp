// The label: loading its text or text key, and drawing it.
#include "ui/Label.h"

#include "ui/Renderer.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"
#include "ui/WindowLook.h"

#include <array>

namespace UI {

namespace {

// The index of name in names, or fallback.
template <size_t N>
int32_t IndexOf(const std::array<std::u16string_view, N>& names, std::u16string_view name,
                int32_t fallback)
{
    for (size_t i = 0; i < N; ++i) {
        if (names[i] == name)
            return static_cast<int32_t>(i);
    }
    return fallback;
}

constexpr std::array<std::u16string_view, 4> HorizontalNames = {u"left", u"center", u"right",
                                                                u"justify"};
constexpr std::array<std::u16string_view, 3> VerticalNames = {u"top", u"middle", u"bottom"};

} // namespace

Label::Label(Window* parent, UISystem* system, UIParams* params) : Window(parent, system, params)
{
    setSize(DefaultWidth, DefaultHeight);
    Label::load(params);
}

void Label::draw()
{
    UISystem* ui = system();
    if (ui && ui->renderer() && !m_text.empty()) {
        const Graphics::Rect clip = ClipToWindow(*this, AbsoluteRect(*this));
        const auto flags = static_cast<uint32_t>(m_fontFlags);
        const CaptionAnchor at = captionAnchor(*this, flags, 0, 0);
        ui->renderer()->drawText(at.x, at.y, m_text, flags, &clip, m_font);
    }
    Window::draw();
}

void Label::load(UIParams* params)
{
    if (params) {
        m_font = ReadFont(params, u"font", system(), m_font);
        const int32_t flags = params->getInt(u"fontFlags", -1);
        if (flags != -1)
            m_fontFlags = flags;
        std::u16string text = params->getString(u"text", m_text);
        if (!text.empty() && text.front() == u'@') {
            m_textKey = text.substr(1);
            text.clear();
        }
        m_text = std::move(text);
        m_hAlign = IndexOf(HorizontalNames, params->getString(u"align", u"left"), 0);
        m_vAlign = IndexOf(VerticalNames, params->getString(u"valign", u"top"), 0);
        if (flags != -1) {
            const auto bits = static_cast<uint32_t>(flags);
            m_hAlign = (bits & FontFlags::Right) ? 2 : (bits & FontFlags::CentreX) ? 1 : 0;
            m_vAlign = (bits & FontFlags::Bottom) ? 2 : (bits & FontFlags::Middle) ? 1 : 0;
        }
    }
    Window::load(params);
}

void Label::setText(std::u16string text)
{
    m_text = std::move(text);
    markRedraw();
}

void Label::setFont(int32_t font)
{
    m_font = font;
    markRedraw();
}

void Label::setFontFlags(int32_t flags)
{
    m_fontFlags = flags;
    markRedraw();
}

void ApplyTextKeys(Window* root,
                   const std::function<std::u16string(std::u16string_view key)>& lookup)
{
    if (!root)
        return;
    if (auto* label = dynamic_cast<Label*>(root); label && !label->textKey().empty())
        label->setText(lookup(label->textKey()));
    for (size_t i = 0; i < root->childCount(); ++i)
        ApplyTextKeys(root->childAt(i), lookup);
}

} // namespace UI
