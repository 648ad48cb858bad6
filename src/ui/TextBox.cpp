// The text box: layout of its listbase and scroller, and the scrolled text.
#include "ui/TextBox.h"

#include "ui/Renderer.h"
#include "ui/Scroller.h"
#include "ui/SimpleWindow.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

#include <algorithm>

namespace UI {

namespace {

// The height the text can show in: the box less border and margins, top and bottom.
int64_t InnerHeight(const TextBox& box)
{
    return int64_t{box.height()} - 2 * int64_t{box.border()} - box.topMargin() - box.bottomMargin();
}

} // namespace

TextBox::TextBox(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    // The parts do not exist yet: the layout follows the load.
    Window::setSize(DefaultSize, DefaultSize);
    TextBox::createLook();
    TextBox::load(params);
}

void TextBox::draw()
{
    drawChildren();
    if (look())
        look()->draw(*this);
}

void TextBox::setSize(int32_t w, int32_t h)
{
    Window::setSize(w, h);
    m_listbase->setPosition(0, 0);
    m_scroller->setVisible(true);
    m_scroller->setSize(m_scrollerWidth, h);
    m_listbase->setSize(Saturate(int64_t{w} - m_scroller->width() - 1), h);
    m_scroller->setPosition(Saturate(int64_t{w} - m_scroller->width()), 0);
}

void TextBox::load(UIParams* params)
{
    Window::load(params);
    if (params) {
        // Read in this order whatever the values: the binary layout form matches by ordinal.
        m_font = ReadFont(params, u"listboxFont", system(), m_font);
        m_scrollerWidth = params->getInt(u"scrollerWidth", m_scrollerWidth);
        m_elementDeltaY = params->getInt(u"listboxElementDeltaY", m_elementDeltaY);
        m_border = params->getInt(u"listboxBorder", m_border);
        m_leftMargin = params->getInt(u"textboxLeftMargin", m_leftMargin);
        m_rightMargin = params->getInt(u"textboxRightMargin", m_rightMargin);
        m_topMargin = params->getInt(u"textboxTopMargin", m_topMargin);
        m_bottomMargin = params->getInt(u"textboxBottomMargin", m_bottomMargin);
        m_scroller->setElement(
            ReadElement(params, u"listboxScrollerElement", system(), m_scroller->element()));
        m_listbase->setElement(
            ReadElement(params, u"listboxListbaseElement", system(), m_listbase->element()));
    }
    setSize(width(), height());
}

void TextBox::createLook()
{
    m_scroller = new Scroller(this, system());
    m_scroller->setName(u"scroller");
    m_listbase = new SimpleWindow(this, system());
    m_listbase->setName(u"listbase");
    subscribe(m_scroller->Changed, this, &TextBox::onScrollerChanged);
    setLook(std::make_unique<LTextBox>());
}

void TextBox::setText(std::u16string text)
{
    m_text = std::move(text);
    markRedraw();
}

int32_t TextBox::textOffset() const
{
    Renderer* renderer = system() ? system()->renderer() : nullptr;
    if (!renderer)
        return 0;
    int32_t textWidth = 0;
    int32_t textHeight = 0;
    renderer->measureText(m_text, textWidth, textHeight, m_font);
    const int64_t overflow = std::max<int64_t>(textHeight - InnerHeight(*this), 0);
    return Saturate(static_cast<int64_t>(static_cast<double>(overflow) * m_scroller->position()));
}

void TextBox::setFont(int32_t font)
{
    m_font = font;
    markRedraw();
}

bool TextBox::onScrollerChanged(const EventArgs& /*args*/)
{
    markRedraw();
    return true;
}

void LTextBox::draw(Window& window)
{
    auto& box = static_cast<TextBox&>(window);
    UISystem* ui = box.system();
    if (!ui || !ui->renderer() || box.text().empty())
        return;
    const int64_t border = box.border();
    const int64_t left = box.absoluteX() + border + box.leftMargin();
    const int64_t top = box.absoluteY() + border + box.topMargin();
    const int64_t width = int64_t{box.width()} - 2 * border - box.leftMargin() - box.rightMargin();
    const Graphics::Rect clip =
        ClipToWindow(box, {Saturate(left), Saturate(top), Saturate(std::max<int64_t>(width, 0)),
                           Saturate(std::max<int64_t>(InnerHeight(box), 0))});
    const int64_t textX = box.listbase()->absoluteX() + border + box.leftMargin();
    const int64_t textY = box.listbase()->absoluteY() + border + box.topMargin() - box.textOffset();
    ui->renderer()->drawText(Saturate(textX), Saturate(textY), box.text(), 0, &clip, box.font());
}

} // namespace UI
