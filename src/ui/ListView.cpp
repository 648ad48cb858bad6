// The list view: columns, rows, selection, scrolling by whole rows below an optional header,
// and its look.
#include "ui/ListView.h"

#include "ui/Renderer.h"
#include "ui/Scroller.h"
#include "ui/SimpleWindow.h"
#include "ui/Skin.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

#include <algorithm>

namespace UI {

namespace {

const std::u16string NoText;

// a and b intersected; an empty rectangle when they do not meet.
Graphics::Rect Meet(Graphics::Rect a, const Graphics::Rect& b)
{
    Graphics::Surface16::Intersect(a, b);
    return a;
}

} // namespace

ListView::ListView(Window* parent, UISystem* system, UIParams* params)
    : RowList(parent, system, params)
{
    ListView::createLook();
    ListView::load(params);
}

void ListView::setSize(int32_t w, int32_t h)
{
    Window::setSize(w, h);
    layoutParts(w, h, true);
}

void ListView::onMouseDown(const MouseEventArgs& args)
{
    if (isEffectivelyEnabled()) {
        // Rows start below the header; a press on the header selects nothing.
        const int64_t y = int64_t{args.y} - headerHeight();
        if (y >= 0) {
            const Ref alive(this);
            selectRowAt(Saturate(y));
            if (!alive.get())
                return;
        }
    }
    Window::onMouseDown(args);
}

void ListView::load(UIParams* params)
{
    Window::load(params);
    loadListView(params);
}

void ListView::createLook()
{
    createParts();
    // Only a backdrop: presses reach the list view itself.
    m_listbase->setGhost(true);
    setLook(std::make_unique<LListView>());
}

void ListView::loadListView(UIParams* params)
{
    if (params) {
        // Read in this order whatever the values: the binary layout form matches by ordinal.
        m_font = ReadFont(params, u"listviewFont", system(), m_font);
        m_scrollerWidth = params->getInt(u"scrollerWidth", m_scrollerWidth);
        setItemHeight(params->getInt(u"listboxItemHeight", m_itemHeight));
        m_elementDeltaY = params->getInt(u"listboxElementDeltaY", m_elementDeltaY);
        m_border = params->getInt(u"listboxBorder", m_border);
        m_separatorWidth = params->getInt(u"separatorWidth", m_separatorWidth);
        m_head = params->getInt(u"head", m_head) != 0;
        m_scroller->setElement(
            ReadElement(params, u"listboxScrollerElement", system(), m_scroller->element()));
        m_listbase->setElement(
            ReadElement(params, u"listboxListbaseElement", system(), m_listbase->element()));
        m_headElement = ReadElement(params, u"headElement", system(), m_headElement);
        m_separatorElement = ReadElement(params, u"separatorElement", system(), m_separatorElement);
        m_selectionElement =
            ReadElement(params, u"listviewSelectionElement", system(), m_selectionElement);
    }
    setSize(width(), height());
}

int32_t ListView::addColumn(std::u16string text, int32_t width)
{
    m_columns.push_back({std::move(text), width});
    markRedraw();
    return columnCount() - 1;
}

int32_t ListView::addRow(std::u16string text)
{
    m_rows.emplace_back();
    m_rows.back().push_back(std::move(text));
    markRedraw();
    updateScrollOffset();
    setSize(width(), height());
    return rowCount() - 1;
}

void ListView::setItemText(int32_t row, int32_t column, std::u16string text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    std::vector<std::u16string>& cells = m_rows[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= cells.size())
        cells.resize(static_cast<size_t>(column) + 1);
    cells[static_cast<size_t>(column)] = std::move(text);
    markRedraw();
}

void ListView::removeRow(int32_t row)
{
    if (row < 0 || row >= rowCount())
        return;
    m_rows.erase(m_rows.begin() + row);
    rowRemoved(row);
    updateScrollOffset();
    setSize(width(), height());
}

void ListView::removeAllRows()
{
    m_rows.clear();
    const Ref alive(this);
    resetView();
    if (alive.get())
        setSize(width(), height());
}

const std::u16string& ListView::columnText(int32_t column) const
{
    return column >= 0 && column < columnCount() ? m_columns[static_cast<size_t>(column)].text
                                                 : NoText;
}

int32_t ListView::columnWidth(int32_t column) const
{
    return column >= 0 && column < columnCount() ? m_columns[static_cast<size_t>(column)].width : 0;
}

int32_t ListView::columnX(int32_t column) const
{
    int64_t x = 0;
    for (int32_t c = 0; c < column && c < columnCount(); ++c)
        x += m_columns[static_cast<size_t>(c)].width;
    return Saturate(x);
}

const std::u16string& ListView::itemText(int32_t row, int32_t column) const
{
    if (row < 0 || row >= rowCount() || column < 0)
        return NoText;
    const std::vector<std::u16string>& cells = m_rows[static_cast<size_t>(row)];
    return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : NoText;
}

void ListView::setHead(bool head)
{
    m_head = head;
    setSize(width(), height());
}

int32_t ListView::headerHeight() const
{
    if (!m_head)
        return 0;
    return Saturate(std::max<int64_t>(int64_t{m_itemHeight} + m_elementDeltaY, 0));
}

void ListView::setHeadElement(Element* element)
{
    m_headElement = element;
    markRedraw();
}

void ListView::setSeparatorElement(Element* element)
{
    m_separatorElement = element;
    markRedraw();
}

void LListView::draw(Window& window)
{
    auto& view = static_cast<ListView&>(window);
    UISystem* ui = view.system();
    if (!ui || !ui->renderer())
        return;
    Renderer& renderer = *ui->renderer();
    const std::optional<Graphics::Rect> outer = view.clipRect();
    const Graphics::Rect* clip = outer ? &*outer : nullptr;
    const int64_t x = view.absoluteX();
    const int64_t y = view.absoluteY();
    const int32_t baseWidth = view.listbase()->width();
    const int32_t baseHeight = view.listbase()->height();
    const int64_t header = view.headerHeight();
    const int64_t itemHeight = view.itemHeight();
    const int64_t delta = view.elementDeltaY();
    const Graphics::Rect base =
        ClipToWindow(view, {Saturate(x), Saturate(y), baseWidth, baseHeight});
    const Graphics::Rect rows = Meet(base, {Saturate(x), Saturate(y + header), baseWidth,
                                            Saturate(std::max<int64_t>(baseHeight - header, 0))});
    // The strip of a column within area, where its texts are cut off.
    const auto columnClip = [&](int32_t c, const Graphics::Rect& area) {
        return Meet(area, {Saturate(x + view.columnX(c)), area.y, std::max(view.columnWidth(c), 0),
                           area.height});
    };

    if (view.head()) {
        if (ElementState* state = view.headElement() ? view.headElement()->stateAt(0) : nullptr)
            renderer.drawState(Saturate(x), Saturate(y), baseWidth, Saturate(header), state, clip);
        for (int32_t c = 0; c < view.columnCount(); ++c) {
            const Graphics::Rect cell = columnClip(c, base);
            renderer.drawText(Saturate(x + view.columnX(c) + delta), Saturate(y + delta),
                              view.columnText(c), 0, &cell, view.font());
        }
    }

    ElementState* selection =
        view.selectionElement() ? view.selectionElement()->stateAt(0) : nullptr;
    const int64_t border = view.border();
    const int32_t first = std::max(view.scrollOffset(), 0) / view.itemHeight();
    for (int32_t row = first; row < view.rowCount(); ++row) {
        const int64_t top = header + itemHeight * row - view.scrollOffset();
        if (top < header)
            continue;
        if (top + itemHeight > baseHeight)
            break;
        if (row == view.selected() && selection) {
            renderer.drawState(Saturate(x + border), Saturate(y + top + border),
                               Saturate(int64_t{baseWidth} - 2 * border),
                               Saturate(itemHeight - 2 * border), selection, clip);
        }
        for (int32_t c = 0; c < view.columnCount(); ++c) {
            const Graphics::Rect cell = columnClip(c, rows);
            renderer.drawText(Saturate(x + view.columnX(c) + delta), Saturate(y + top),
                              view.itemText(row, c), 0, &cell, view.font());
        }
    }

    // Each column ends in a separator over its last separatorWidth pixels.
    ElementState* separator =
        view.separatorElement() ? view.separatorElement()->stateAt(0) : nullptr;
    if (!separator)
        return;
    for (int32_t c = 0; c < view.columnCount(); ++c) {
        const int64_t right = x + view.columnX(c) + view.columnWidth(c);
        const Graphics::Rect bar = {Saturate(right - view.separatorWidth()), Saturate(y),
                                    std::max(view.separatorWidth(), 0), baseHeight};
        const Graphics::Rect visible = Meet(base, bar);
        if (visible.width > 0 && visible.height > 0)
            renderer.drawState(bar.x, bar.y, bar.width, bar.height, separator, &visible);
    }
}

} // namespace UI
