// Windows added below siblings that stay on top, as a layout of many windows adds them: the
// place is the one before the first sibling on top, found without searching all the others.
#include "support/Growth.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Fixture;
using UI::Window;

namespace {

std::vector<Window*> Children(const Window& parent)
{
    std::vector<Window*> children;
    for (size_t i = 0; i < parent.childCount(); ++i)
        children.push_back(parent.childAt(i));
    return children;
}

TEST(WindowScaleTest, AWindowGoesBelowTheFirstSiblingOnTopWhereverItLies)
{
    // Flags changed after insertion leave a sibling on top below others; the next window still
    // goes just before the first one on top, and one that leaves is no longer counted.
    Window root(nullptr);
    Window* a = new Window(&root);
    Window* b = new Window(&root);
    Window* c = new Window(&root);
    a->setAlwaysOnTop(true);
    c->setAlwaysOnTop(true);
    Window* d = new Window(&root);
    EXPECT_EQ(Children(root), (std::vector<Window*>{d, a, b, c}));
    root.removeChild(a, true);
    c->setAlwaysOnTop(false);
    Window* e = new Window(&root);
    EXPECT_EQ(Children(root), (std::vector<Window*>{d, b, c, e}));
    Window* top = new Window(nullptr);
    top->setAlwaysOnTop(true);
    root.addChild(top);
    Window* f = new Window(&root);
    EXPECT_EQ(Children(root), (std::vector<Window*>{d, b, c, e, f, top}));
}

TEST(WindowScaleTest, ManySiblingsAreAddedInTimeGrowingWithTheirNumber)
{
    ExpectLinearGrowth(8000, [](size_t count) -> TimedStep {
        return [count] {
            Window root(nullptr);
            for (size_t i = 0; i < count; ++i)
                new Window(&root);
            ASSERT_EQ(root.childCount(), count);
        };
    });
}

} // namespace
