// The picture grid: how the cells of the image fall into the window, selection by stylus, and
// its look.
#include "ui/ImageList.h"

#include "ui/Renderer.h"
#include "ui/Skin.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"
#include "ui/WidgetSupport.h"

namespace UI {

ImageList::ImageList(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    setSize(DefaultWidth, DefaultHeight);
    ImageList::createLook();
    ImageList::load(params);
}

void ImageList::onMouseDown(const MouseEventArgs& args)
{
    UISystem* ui = system();
    if (ui && ui->root() && isChildOf(ui->root()) && isEffectivelyEnabled()) {
        const Grid cells = grid();
        // Cells may overlap under a negative gap: the one drawn last is on top.
        for (int64_t k = 0; m_firstVisible + k < cells.cellCount; ++k) {
            const std::optional<Graphics::Rect> rect = visibleCellRect(cells, k);
            if (!rect)
                break;
            if (args.x >= rect->x && int64_t{args.x} < int64_t{rect->x} + rect->width &&
                args.y >= rect->y && int64_t{args.y} < int64_t{rect->y} + rect->height)
                m_selected = static_cast<int32_t>(m_firstVisible + k);
        }
    }
    Window::onMouseDown(args);
    markRedraw();
}

void ImageList::load(UIParams* params)
{
    Window::load(params);
    loadImageList(params);
}

void ImageList::createLook()
{
    setLook(std::make_unique<LImageList>());
}

ImageList::Grid ImageList::grid() const
{
    Grid cells;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    const int32_t index = imageIndex();
    if (index < 0 || !system()->renderer()->getImageSize(imageWidth, imageHeight, index))
        return {};
    cells.cellWidth = imageWidth;
    cells.cellHeight = m_cellHeight;
    if (cells.cellWidth < 1 || cells.cellHeight < 1)
        return {};
    const int64_t inner = int64_t{width()} - m_borderLeft - m_borderRight;
    cells.columns = inner / cells.cellWidth;
    if (cells.columns < 1)
        return {};
    cells.cellCount = imageHeight / cells.cellHeight;
    // The columns spread over the width unless the layout fixes the gap; a single column has
    // no gap to spread.
    if (m_fixedDX != 0)
        cells.gapX = m_fixedDX;
    else if (cells.columns > 1)
        cells.gapX = (inner - cells.columns * cells.cellWidth) / (cells.columns - 1);
    cells.gapY = m_fixedDY;
    return cells;
}

int32_t ImageList::cellCount() const
{
    return static_cast<int32_t>(grid().cellCount);
}

std::optional<Graphics::Rect> ImageList::cellRect(int32_t index) const
{
    if (index < m_firstVisible)
        return std::nullopt;
    return visibleCellRect(grid(), int64_t{index} - m_firstVisible);
}

int32_t ImageList::selected() const
{
    return m_selected < cellCount() ? m_selected : -1;
}

void ImageList::setSelection(int32_t index)
{
    m_selected = index >= 0 && index < cellCount() ? index : -1;
    markRedraw();
}

void ImageList::setFirstVisible(int32_t index)
{
    m_firstVisible = index > 0 ? index : 0;
    markRedraw();
}

void ImageList::setImage(std::u16string name)
{
    m_image = std::move(name);
    m_imageIndex = -1;
    markRedraw();
}

void ImageList::setCellHeight(int32_t height)
{
    m_cellHeight = height;
    markRedraw();
}

void ImageList::setBorders(int32_t top, int32_t bottom, int32_t left, int32_t right)
{
    m_borderTop = top;
    m_borderBottom = bottom;
    m_borderLeft = left;
    m_borderRight = right;
    markRedraw();
}

void ImageList::setFixedGap(int32_t dx, int32_t dy)
{
    m_fixedDX = dx;
    m_fixedDY = dy;
    markRedraw();
}

void ImageList::setSelectionFrame(int32_t type, int32_t dx, int32_t dy, int32_t w, int32_t h)
{
    m_selectionType = type;
    m_selectionDX = dx;
    m_selectionDY = dy;
    m_selectionW = w;
    m_selectionH = h;
    markRedraw();
}

void ImageList::setSelectionElement(Element* element)
{
    m_selectionElement = element;
    markRedraw();
}

void ImageList::loadImageList(UIParams* params)
{
    if (!params)
        return;
    m_image = params->getString(u"imageListImage", m_image);
    m_imageIndex = -1;
    m_cellHeight = params->getInt(u"imageListImageH", m_cellHeight);
    m_borderTop = params->getInt(u"imageListBorderT", m_borderTop);
    m_borderBottom = params->getInt(u"imageListBorderB", m_borderBottom);
    m_borderLeft = params->getInt(u"imageListBorderL", m_borderLeft);
    m_borderRight = params->getInt(u"imageListBorderR", m_borderRight);
    m_selectionType = params->getInt(u"imageListSelectionType", m_selectionType);
    m_selectionDX = params->getInt(u"imageListSelectionDX", m_selectionDX);
    m_selectionDY = params->getInt(u"imageListSelectionDY", m_selectionDY);
    m_fixedDX = params->getInt(u"imageListFixedDX", m_fixedDX);
    m_fixedDY = params->getInt(u"imageListFixedDY", m_fixedDY);
    m_selectionW = params->getInt(u"imageListSelectionW", m_selectionW);
    m_selectionH = params->getInt(u"imageListSelectionH", m_selectionH);
    m_selectionElement =
        ReadElement(params, u"imageListSelectionElement", system(), m_selectionElement);
    markRedraw();
}

int32_t ImageList::imageIndex() const
{
    if (m_imageIndex < 0 && !m_image.empty() && system() && system()->renderer())
        m_imageIndex = system()->renderer()->findImage(m_image);
    return m_imageIndex;
}

std::optional<Graphics::Rect> ImageList::visibleCellRect(const Grid& cells, int64_t k) const
{
    if (k < 0 || cells.columns < 1 || m_firstVisible + k >= cells.cellCount)
        return std::nullopt;
    const int64_t column = k % cells.columns;
    const int64_t row = k / cells.columns;
    const int64_t x = m_borderLeft + column * (cells.cellWidth + cells.gapX);
    const int64_t y = m_borderTop + row * (cells.cellHeight + cells.gapY);
    if (y + cells.cellHeight > int64_t{height()} - m_borderBottom)
        return std::nullopt;
    return Graphics::Rect{Saturate(x), Saturate(y), Saturate(cells.cellWidth),
                          Saturate(cells.cellHeight)};
}

void LImageList::draw(Window& window)
{
    auto& list = static_cast<ImageList&>(window);
    UISystem* ui = list.system();
    if (!ui || !ui->renderer())
        return;
    Renderer& renderer = *ui->renderer();
    const std::optional<Graphics::Rect> clip = list.clipRect();
    const Graphics::Rect* clipping = clip ? &*clip : nullptr;
    const bool enabled = list.isEffectivelyEnabled();
    const int state = enabled ? StateIndex::Default : StateIndex::Disabled;
    if (Element* element = list.element()) {
        if (ElementState* background = element->state(state))
            renderer.drawState(list.absoluteX(), list.absoluteY(), list.width(), list.height(),
                               background, clipping);
    }

    const ImageList::Grid cells = list.grid();
    const int32_t selected = list.selected();
    ElementState* frame = list.m_selectionElement ? list.m_selectionElement->state(state) : nullptr;
    const int64_t originX = list.absoluteX();
    const int64_t originY = list.absoluteY();
    for (int64_t k = 0; list.m_firstVisible + k < cells.cellCount; ++k) {
        const std::optional<Graphics::Rect> rect = list.visibleCellRect(cells, k);
        if (!rect)
            break;
        const int64_t index = list.m_firstVisible + k;
        const int64_t x = originX + rect->x;
        const int64_t y = originY + rect->y;
        auto drawFrame = [&] {
            renderer.drawState(Saturate(x + list.m_selectionDX), Saturate(y + list.m_selectionDY),
                               list.m_selectionW, list.m_selectionH, frame, clipping);
        };
        const bool framed = frame && index == selected;
        if (framed && list.m_selectionType != ImageList::SelectionOver)
            drawFrame();
        const Graphics::Rect source{0, Saturate(index * cells.cellHeight), rect->width,
                                    rect->height};
        renderer.drawImage(Saturate(x), Saturate(y), list.imageIndex(), ImageMode::Copy, &source,
                           nullptr, clipping);
        if (framed && list.m_selectionType == ImageList::SelectionOver)
            drawFrame();
    }
}

} // namespace UI
