// The list box: items, selection, scrolling by whole rows through its scroller, and its look.
#include "ui/ListBox.h"

#include "ui/Renderer.h"
#include "ui/Scroller.h"
#include "ui/SimpleWindow.h"
#include "ui/Skin.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

#include <algorithm>

namespace UI {

ListBox::ListBox(Window* parent, UISystem* system, UIParams* params)
    : RowList(parent, system, params)
{
    ListBox::createLook();
    ListBox::load(params);
}

void ListBox::setSize(int32_t w, int32_t h)
{
    Window::setSize(w, h);
    // Once shown the scroller stays: the next layout without overflow only widens the
    // listbase over it again.
    layoutParts(w, h, false);
}

void ListBox::onKeyDown(const KeyboardEventArgs& args)
{
    const Ref alive(this);
    Window::onKeyDown(args);
    if (alive.get())
        handleArrow(args.key);
}

void ListBox::load(UIParams* params)
{
    Window::load(params);
    loadListBox(params);
}

void ListBox::createLook()
{
    createParts();
    subscribe(m_scroller->KeyDown, this, &ListBox::onPartKeyDown);
    subscribe(m_listbase->MouseDown, this, &ListBox::onListbaseDown);
    subscribe(m_listbase->KeyDown, this, &ListBox::onPartKeyDown);
    setLook(std::make_unique<LListBox>());
}

void ListBox::loadListBox(UIParams* params)
{
    if (params) {
        // Read in this order whatever the values: the binary layout form matches by ordinal.
        m_font = ReadFont(params, u"listboxFont", system(), m_font);
        m_fontFlags = params->getInt(u"fontFlags", m_fontFlags);
        m_scrollerWidth = params->getInt(u"scrollerWidth", m_scrollerWidth);
        setItemHeight(params->getInt(u"listboxItemHeight", m_itemHeight));
        m_elementDeltaY = params->getInt(u"listboxElementDeltaY", m_elementDeltaY);
        m_border = params->getInt(u"listboxBorder", m_border);
        m_scroller->setElement(
            ReadElement(params, u"listboxScrollerElement", system(), m_scroller->element()));
        m_listbase->setElement(
            ReadElement(params, u"listboxListbaseElement", system(), m_listbase->element()));
        m_selectionElement =
            ReadElement(params, u"listboxSelectionElement", system(), m_selectionElement);
    }
    m_scroller->loadScroller(params);
    setSize(width(), height());
}

int32_t ListBox::addItem(std::u16string text)
{
    m_items.push_back(std::move(text));
    m_itemData.push_back(0);
    markRedraw();
    updateScrollOffset();
    setSize(width(), height());
    return itemCount() - 1;
}

void ListBox::removeItem(int32_t index)
{
    if (index < 0 || index >= itemCount())
        return;
    m_items.erase(m_items.begin() + index);
    m_itemData.erase(m_itemData.begin() + index);
    rowRemoved(index);
    updateScrollOffset();
}

void ListBox::removeAllItems()
{
    m_items.clear();
    m_itemData.clear();
    resetView();
}

const std::u16string& ListBox::item(int32_t index) const
{
    static const std::u16string none;
    return index >= 0 && index < itemCount() ? m_items[static_cast<size_t>(index)] : none;
}

uint32_t ListBox::itemData(int32_t index) const
{
    return index >= 0 && index < itemCount() ? m_itemData[static_cast<size_t>(index)] : 0;
}

void ListBox::setItemData(int32_t index, uint32_t data)
{
    if (index >= 0 && index < itemCount())
        m_itemData[static_cast<size_t>(index)] = data;
}

bool ListBox::onListbaseDown(const EventArgs& args)
{
    if (const auto* mouse = dynamic_cast<const MouseEventArgs*>(&args))
        selectRowAt(mouse->y);
    return true;
}

bool ListBox::onPartKeyDown(const EventArgs& args)
{
    if (const auto* key = dynamic_cast<const KeyboardEventArgs*>(&args))
        handleArrow(key->key);
    return true;
}

void ListBox::handleArrow(uint32_t key)
{
    if (m_selected < 0 || !isEffectivelyEnabled())
        return;
    if (key == ArrowUpKey)
        setSelection(m_selected - 1);
    else if (key == ArrowDownKey)
        setSelection(m_selected + 1);
}

void LListBox::draw(Window& window)
{
    auto& list = static_cast<ListBox&>(window);
    UISystem* ui = list.system();
    if (!ui || !ui->renderer())
        return;
    Renderer& renderer = *ui->renderer();
    const int64_t x = list.absoluteX();
    const int64_t y = list.absoluteY();
    const int64_t itemHeight = list.itemHeight();
    const int64_t border = list.border();
    const std::optional<Graphics::Rect> clip = list.clipRect();
    const Graphics::Rect textClip = ClipToWindow(
        list, {Saturate(x), Saturate(y), list.listbase()->width(), list.listbase()->height()});
    ElementState* selection =
        list.selectionElement() ? list.selectionElement()->stateAt(0) : nullptr;

    // Rows above the view are skipped without a loop over them.
    const int32_t first = std::max(list.scrollOffset(), 0) / list.itemHeight();
    for (int32_t i = first; i < list.itemCount(); ++i) {
        const int64_t top = itemHeight * i - list.scrollOffset();
        if (top < 0)
            continue;
        // A row reaching the bottom edge is left out, even when it ends exactly on it.
        if (top >= int64_t{list.height()} - itemHeight)
            break;
        if (i == list.selected() && selection) {
            renderer.drawState(Saturate(x + border), Saturate(y + border + top),
                               Saturate(int64_t{list.listbase()->width()} - 2 * border),
                               Saturate(itemHeight - 2 * border), selection,
                               clip ? &*clip : nullptr);
        }
        // The text sits elementDeltaY in from the left, at the row's top.
        renderer.drawText(Saturate(x + list.elementDeltaY()), Saturate(y + top), list.item(i), 0,
                          &textClip, list.font());
    }
}

} // namespace UI
