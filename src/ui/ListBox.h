// ListBox: a scrollable list of text items with one selection. Its parts are a scroller and,
// over it, the listbase panel the rows are drawn on and pressed in; while the items overflow
// the listbase, the listbase narrows and the scroller shows at the right edge.
#pragma once

#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <string>
#include <vector>

namespace UI {

class Scroller;
class SimpleWindow;

class ListBox : public Window
{
public:
    static constexpr int32_t DefaultSize = 100;
    static constexpr int32_t DefaultItemHeight = 18;
    static constexpr uint32_t ArrowUpKey = 38;
    static constexpr uint32_t ArrowDownKey = 40;

    ListBox(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Draws the parts first, then the rows over them.
    void draw() override;
    // Lays out the listbase and, while the items overflow, the scroller; then brings the
    // selection into view.
    void setSize(int32_t w, int32_t h) override;
    // Fires KeyDown, then moves the selection with the up and down arrows.
    void onKeyDown(const KeyboardEventArgs& args) override;
    // The window keys, then the list box's (loadListBox).
    void load(UIParams* params) override;
    void createLook() override;

    // Fires Changed naming the list box.
    virtual void fireChanged();
    // "listboxFont" ... "listboxSelectionElement", then the scroller's keys from the same
    // parameters, then the layout.
    virtual void loadListBox(UIParams* params);

    // Appends an item with data 0; returns its index.
    int32_t addItem(std::u16string text);
    // Removes one item; an index out of range does nothing. The selection keeps its item (or
    // becomes -1 when that item goes); Changed does not fire.
    void removeItem(int32_t index);
    // No items, no selection, the view at the top.
    void removeAllItems();
    // Clamped into the items (-1 for an empty list); fires Changed even when nothing changed,
    // then scrolls the selection into view.
    void setSelection(int32_t index);

    int32_t itemCount() const { return static_cast<int32_t>(m_items.size()); }
    const std::vector<std::u16string>& items() const { return m_items; }
    // Empty past the end.
    const std::u16string& item(int32_t index) const;
    // 0 past the end.
    uint32_t itemData(int32_t index) const;
    void setItemData(int32_t index, uint32_t data);
    int32_t selected() const { return m_selected; }
    int32_t scrollOffset() const { return m_scrollOffset; }
    int32_t itemHeight() const { return m_itemHeight; }
    // Below 1 keeps the current height: rows are counted by dividing by it.
    void setItemHeight(int32_t height);
    int32_t elementDeltaY() const { return m_elementDeltaY; }
    int32_t border() const { return m_border; }
    int32_t scrollerWidth() const { return m_scrollerWidth; }
    int32_t font() const { return m_font; }
    void setFont(int32_t font);
    int32_t fontFlags() const { return m_fontFlags; }
    Element* selectionElement() const { return m_selectionElement; }
    void setSelectionElement(Element* element);
    Scroller* scroller() const { return m_scroller; }
    SimpleWindow* listbase() const { return m_listbase; }
    // Whole rows the listbase shows.
    int32_t visibleRows() const;
    // The highest first visible row.
    int32_t maxFirst() const;

    Event Changed;

private:
    bool onScrollerChanged(const EventArgs& args);
    bool onListbaseDown(const EventArgs& args);
    bool onPartKeyDown(const EventArgs& args);
    // Up and down arrows step the selection, when there is one.
    void handleArrow(uint32_t key);
    // The first visible row as the scroller shows it, in pixels.
    void updateScrollOffset();
    void scrollIntoView();

    Element* m_selectionElement = nullptr;
    std::vector<std::u16string> m_items;
    std::vector<uint32_t> m_itemData; // parallel to m_items
    int32_t m_selected = -1;
    int32_t m_scrollOffset = 0;
    int32_t m_elementDeltaY = 3;
    int32_t m_border = 1;
    int32_t m_scrollerWidth = 21;
    int32_t m_itemHeight = DefaultItemHeight;
    int32_t m_font = 0;
    int32_t m_fontFlags = 0; // read from the layout, not used for drawing
    Scroller* m_scroller = nullptr;
    SimpleWindow* m_listbase = nullptr;
};

// The rows of a list box: the selection bar behind the selected row and each item's text.
class LListBox : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
