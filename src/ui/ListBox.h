// ListBox: a scrollable list of text items with one selection. Its parts are a scroller and,
// over it, the listbase panel the rows are drawn on and pressed in; while the items overflow
// the listbase, the listbase narrows and the scroller shows at the right edge.
#pragma once

#include "ui/RowList.h"
#include "ui/WindowLook.h"

#include <string>
#include <vector>

namespace UI {

class ListBox : public RowList
{
public:
    static constexpr uint32_t ArrowUpKey = 38;
    static constexpr uint32_t ArrowDownKey = 40;

    ListBox(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Lays out the listbase and, while the items overflow, the scroller; then brings the
    // selection into view.
    void setSize(int32_t w, int32_t h) override;
    // Fires KeyDown, then moves the selection with the up and down arrows.
    void onKeyDown(const KeyboardEventArgs& args) override;
    // The window keys, then the list box's (loadListBox).
    void load(UIParams* params) override;
    void createLook() override;

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
    int32_t rowCount() const override { return itemCount(); }
    int32_t itemCount() const { return static_cast<int32_t>(m_items.size()); }
    const std::vector<std::u16string>& items() const { return m_items; }
    // Empty past the end.
    const std::u16string& item(int32_t index) const;
    // 0 past the end.
    uint32_t itemData(int32_t index) const;
    void setItemData(int32_t index, uint32_t data);
    int32_t fontFlags() const { return m_fontFlags; }

private:
    bool onListbaseDown(const EventArgs& args);
    bool onPartKeyDown(const EventArgs& args);
    // Up and down arrows step the selection, when there is one.
    void handleArrow(uint32_t key);

    std::vector<std::u16string> m_items;
    std::vector<uint32_t> m_itemData; // parallel to m_items
    int32_t m_fontFlags = 0;          // read from the layout, not used for drawing
};

// The rows of a list box: the selection bar behind the selected row and each item's text.
class LListBox : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
