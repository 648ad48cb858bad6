// RowList: what the list box and the list view share. Rows of one height are shown on a
// listbase panel, below an optional header, and scrolled by whole rows through a scroller that
// appears at the right edge once the rows overflow. One row may be selected; Changed reports
// every selection.
#pragma once

#include "ui/Window.h"

namespace UI {

class Scroller;
class SimpleWindow;

class RowList : public Window
{
public:
    static constexpr int32_t DefaultSize = 100;
    static constexpr int32_t DefaultItemHeight = 18;

    // Draws the parts first, then the look (the rows) over them.
    void draw() override;
    // Fires Changed naming the list when it is effectively enabled.
    virtual void fireChanged();

    virtual int32_t rowCount() const = 0;
    // Clamped into the rows (-1 without rows); fires Changed even when nothing changed, then
    // scrolls the row into view.
    void setSelection(int32_t row);
    int32_t selected() const { return m_selected; }
    // The first visible row × itemHeight, in pixels.
    int32_t scrollOffset() const { return m_scrollOffset; }
    int32_t itemHeight() const { return m_itemHeight; }
    // Below 1 keeps the current height: rows are counted by dividing by it.
    void setItemHeight(int32_t height);
    int32_t elementDeltaY() const { return m_elementDeltaY; }
    int32_t border() const { return m_border; }
    int32_t scrollerWidth() const { return m_scrollerWidth; }
    int32_t font() const { return m_font; }
    void setFont(int32_t font);
    Element* selectionElement() const { return m_selectionElement; }
    void setSelectionElement(Element* element);
    Scroller* scroller() const { return m_scroller; }
    SimpleWindow* listbase() const { return m_listbase; }
    // The pixels above the first row; 0 without a header.
    virtual int32_t headerHeight() const { return 0; }
    // Whole rows the listbase shows below the header.
    int32_t visibleRows() const;
    // The highest first visible row.
    int32_t maxFirst() const;

    Event Changed;

protected:
    // The window keys are read; the derived list creates its parts and look, then loads.
    RowList(Window* parent, UISystem* system, UIParams* params);

    // The scroller, hidden, then the listbase over it; the list follows the scroller's moves.
    void createParts();
    // The listbase over the whole list; while the rows overflow it narrows and the scroller
    // shows at the right edge with the selection brought into view. When the rows fit, the
    // scroller is hidden only with hideWhenFits.
    void layoutParts(int32_t w, int32_t h, bool hideWhenFits);
    // Selects the row at y pixels below the first row's place (the row under the stylus, or
    // the last for a point below them) and fires Changed; the view stays put.
    void selectRowAt(int32_t y);
    // After the row at index was removed: the selection keeps its row, or becomes -1 when it
    // was that row. Changed does not fire.
    void rowRemoved(int32_t index);
    // No selection, the thumb at the top.
    void resetView();
    // The first visible row as the scroller shows it.
    void updateScrollOffset();
    void scrollIntoView();

    int32_t m_selected = -1;
    int32_t m_scrollOffset = 0;
    int32_t m_elementDeltaY = 3;
    int32_t m_border = 1;
    int32_t m_scrollerWidth = 21;
    int32_t m_itemHeight = DefaultItemHeight;
    int32_t m_font = 0;
    Element* m_selectionElement = nullptr; // owned by the skin
    Scroller* m_scroller = nullptr;
    SimpleWindow* m_listbase = nullptr;

private:
    bool onScrollerChanged(const EventArgs& args);
};

} // namespace UI
