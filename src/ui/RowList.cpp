// Rows scrolled by whole rows: the parts, their layout, selection and scrolling.
#include "ui/RowList.h"

#include "ui/Scroller.h"
#include "ui/SimpleWindow.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"
#include "ui/WindowLook.h"

#include <algorithm>

namespace UI {

RowList::RowList(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    // The parts do not exist yet: the layout follows the load.
    Window::setSize(DefaultSize, DefaultSize);
    if (system)
        m_selectionElement = system->findElement(u"selection");
}

void RowList::draw()
{
    drawChildren();
    if (look())
        look()->draw(*this);
}

void RowList::fireChanged()
{
    if (isEffectivelyEnabled())
        Changed.fire(WindowEventArgs(this));
}

void RowList::setSelection(int32_t row)
{
    m_selected = rowCount() == 0 ? -1 : std::clamp(row, 0, rowCount() - 1);
    const Ref alive(this);
    fireChanged();
    if (!alive.get())
        return;
    scrollIntoView();
    markRedraw();
}

void RowList::setItemHeight(int32_t height)
{
    if (height >= 1)
        m_itemHeight = height;
    markRedraw();
}

void RowList::setFont(int32_t font)
{
    m_font = font;
    markRedraw();
}

void RowList::setSelectionElement(Element* element)
{
    m_selectionElement = element;
    markRedraw();
}

int32_t RowList::visibleRows() const
{
    // The header takes its share of the listbase first, so the last row can scroll fully in.
    const int64_t rowsHeight = int64_t{m_listbase->height()} - headerHeight();
    return Saturate(std::max<int64_t>(rowsHeight, 0) / m_itemHeight);
}

int32_t RowList::maxFirst() const
{
    return std::max(rowCount() - visibleRows(), 0);
}

void RowList::createParts()
{
    // The scroller comes first, so the listbase covers it until the rows overflow.
    m_scroller = new Scroller(this, system());
    m_scroller->setName(u"scroller");
    m_scroller->setVisible(false);
    m_listbase = new SimpleWindow(this, system());
    m_listbase->setName(u"listbase");
    subscribe(m_scroller->Changed, this, &RowList::onScrollerChanged);
}

void RowList::layoutParts(int32_t w, int32_t h, bool hideWhenFits)
{
    m_listbase->setPosition(0, 0);
    m_listbase->setSize(w, h);
    if (rowCount() <= visibleRows()) {
        if (hideWhenFits) {
            m_scroller->setVisible(false);
            updateScrollOffset();
        }
        return;
    }
    m_scroller->setVisible(true);
    m_scroller->setSize(m_scrollerWidth, h);
    m_listbase->setSize(Saturate(int64_t{w} - m_scroller->width() - 1), h);
    m_scroller->setPosition(Saturate(int64_t{w} - m_scroller->width()), 0);
    scrollIntoView();
}

void RowList::selectRowAt(int32_t y)
{
    const int64_t row = (std::max<int64_t>(y, 0) + m_scrollOffset) / m_itemHeight;
    m_selected = Saturate(std::min<int64_t>(row, rowCount() - 1));
    markRedraw();
    fireChanged();
}

void RowList::rowRemoved(int32_t index)
{
    if (index < m_selected)
        --m_selected;
    else if (index == m_selected)
        m_selected = -1;
    markRedraw();
}

void RowList::resetView()
{
    m_selected = -1;
    markRedraw();
    const Ref alive(this);
    m_scroller->setPositionIndex(0, 1);
    if (alive.get())
        updateScrollOffset();
}

void RowList::updateScrollOffset()
{
    const int64_t first = m_scroller->positionIndex(Saturate(int64_t{maxFirst()} + 1));
    m_scrollOffset = Saturate(first * m_itemHeight);
}

void RowList::scrollIntoView()
{
    const Ref alive(this);
    m_scroller->scrollToRow(m_selected, m_scrollOffset / m_itemHeight, visibleRows(), maxFirst());
    // The scroller reports its move through Changed only while enabled; read it back anyway.
    if (alive.get())
        updateScrollOffset();
}

bool RowList::onScrollerChanged(const EventArgs& /*args*/)
{
    updateScrollOffset();
    markRedraw();
    return true;
}

} // namespace UI
