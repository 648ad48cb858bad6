// ImageList: a grid of pictures cut from one image, whose cells are stacked vertically in it,
// with one selected cell marked by a frame.
#pragma once

#include "graphics/Surface16.h"
#include "ui/Window.h"
#include "ui/WindowLook.h"

#include <optional>
#include <string>

namespace UI {

class ImageList : public Window
{
public:
    static constexpr int32_t DefaultWidth = 100;
    static constexpr int32_t DefaultHeight = 100;
    // imageListSelectionType: the frame over the cell; any other value puts it under the cell.
    static constexpr int32_t SelectionOver = 0;

    // How the cells fall in the window; no cells when a size or the column count is below 1.
    struct Grid
    {
        int64_t cellWidth = 0;
        int64_t cellHeight = 0;
        int64_t cellCount = 0;
        int64_t columns = 0;
        int64_t gapX = 0;
        int64_t gapY = 0;
    };

    ImageList(Window* parent, UISystem* system, UIParams* params = nullptr);

    // Selects the visible cell under the press (not a gap), then the base behaviour.
    void onMouseDown(const MouseEventArgs& args) override;
    // The window keys, then the fourteen "imageList..." keys.
    void load(UIParams* params) override;
    void createLook() override;

    Grid grid() const;
    int32_t cellCount() const;
    // The local rectangle of a cell while it is shown; none for cells scrolled off, past the
    // rows that fit, or past the last.
    std::optional<Graphics::Rect> cellRect(int32_t index) const;

    // The selected cell, -1 for none; always below cellCount.
    int32_t selected() const;
    // An index outside the cells selects none.
    void setSelection(int32_t index);
    // The first cell shown, at the grid's top-left.
    int32_t firstVisible() const { return m_firstVisible; }
    void setFirstVisible(int32_t index);

    const std::u16string& image() const { return m_image; }
    void setImage(std::u16string name);
    int32_t cellHeight() const { return m_cellHeight; }
    void setCellHeight(int32_t height);
    void setBorders(int32_t top, int32_t bottom, int32_t left, int32_t right);
    // A non-zero dx replaces the gap that spreads the columns over the width.
    void setFixedGap(int32_t dx, int32_t dy);
    void setSelectionFrame(int32_t type, int32_t dx, int32_t dy, int32_t w, int32_t h);
    Element* selectionElement() const { return m_selectionElement; }
    void setSelectionElement(Element* element);

private:
    friend class LImageList;

    void loadImageList(UIParams* params);
    // The image's renderer index, looked up while unresolved; -1 when it is not known.
    int32_t imageIndex() const;
    std::optional<Graphics::Rect> visibleCellRect(const Grid& grid, int64_t k) const;

    std::u16string m_image;
    mutable int32_t m_imageIndex = -1;
    int32_t m_cellHeight = 0;
    int32_t m_borderTop = 0;
    int32_t m_borderBottom = 0;
    int32_t m_borderLeft = 0;
    int32_t m_borderRight = 0;
    int32_t m_selectionType = SelectionOver;
    int32_t m_selectionDX = 0;
    int32_t m_selectionDY = 0;
    int32_t m_fixedDX = 0;
    int32_t m_fixedDY = 0;
    int32_t m_selectionW = 0;
    int32_t m_selectionH = 0;
    Element* m_selectionElement = nullptr; // owned by the skin
    int32_t m_selected = -1;
    int32_t m_firstVisible = 0;
};

// The element, the shown cells and the selection frame over or under the selected cell.
class LImageList : public WindowLook
{
public:
    void draw(Window& window) override;
};

} // namespace UI
