// ListView: a scrollable table. Rows of texts under columns of set widths, an optional header
// row with the column titles, separators between columns, one selected row. The listbase
// panel is only a backdrop (a ghost): presses reach the list view itself.
#pragma once

#include "ui/RowList.h"
#include "ui/WindowLook.h"

#include <string>
#include <vector>

namespace UI {

class ListView : public RowList
{
public:
    ListView(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Shows the scroller at the right edge while the rows overflow, hides it otherwise.
    void setSize(int32_t w, int32_t h) override;
    // Selects the row under the press (none on the header), fires Changed, then the base.
    void onMouseDown(const MouseEventArgs& args) override;
    // The window keys, then the list view's (loadListView).
    void load(UIParams* params) override;
    void createLook() override;

    // "listviewFont" ... "listviewSelectionElement", then the layout.
    virtual void loadListView(UIParams* params);

    // Appends a column with its title; returns its index.
    int32_t addColumn(std::u16string text, int32_t width);
    // Appends a row whose first cell holds text; returns its index.
    int32_t addRow(std::u16string text);
    // Out-of-range rows or columns are ignored.
    void setItemText(int32_t row, int32_t column, std::u16string text);
    // The selection keeps its row, or becomes -1 when that row goes; Changed does not fire.
    void removeRow(int32_t row);
    void removeAllRows();

    int32_t columnCount() const { return static_cast<int32_t>(m_columns.size()); }
    // Empty (0) past the end.
    const std::u16string& columnText(int32_t column) const;
    int32_t columnWidth(int32_t column) const;
    // The sum of the widths of the columns before it.
    int32_t columnX(int32_t column) const;
    int32_t rowCount() const override { return static_cast<int32_t>(m_rows.size()); }
    // Empty for a cell never set.
    const std::u16string& itemText(int32_t row, int32_t column) const;
    int32_t separatorWidth() const { return m_separatorWidth; }
    bool head() const { return m_head; }
    void setHead(bool head);
    // itemHeight + elementDeltaY with a header, else 0.
    int32_t headerHeight() const override;
    Element* headElement() const { return m_headElement; }
    Element* separatorElement() const { return m_separatorElement; }
    void setHeadElement(Element* element);
    void setSeparatorElement(Element* element);

private:
    struct Column
    {
        std::u16string text;
        int32_t width = 0;
    };

    std::vector<Column> m_columns;
    std::vector<std::vector<std::u16string>> m_rows; // cells, as many as have been set
    int32_t m_separatorWidth = 2;
    bool m_head = false;
    Element* m_headElement = nullptr;
    Element* m_separatorElement = nullptr;
};

// The header, the rows with the selection bar and their cell texts, and the column separators.
class LListView : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
