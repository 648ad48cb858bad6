// The window tree: ownership and z-order, geometry and its clamps, clipping, the keys a window
// reads from its layout, and the tree operations that must refuse to corrupt it.
#include "ui/Window.h"

#include "EventLog.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>

using UI::Window;

namespace {

constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();
constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();

// Builds a child of parent at (x, y), size (w, h).
Window* Child(Window* parent, int32_t x, int32_t y, int32_t w, int32_t h, bool alwaysOnTop = false)
{
    auto* window = new Window(parent, parent->system());
    window->setAlwaysOnTop(alwaysOnTop);
    if (alwaysOnTop) // the flag counts at insertion
        window->setParent(parent);
    window->setRect(x, y, w, h);
    return window;
}

std::vector<Window*> Children(const Window& parent)
{
    std::vector<Window*> children;
    for (size_t i = 0; i < parent.childCount(); ++i)
        children.push_back(parent.childAt(i));
    return children;
}

// A parameter source that answers from a table and records the keys asked, in order.
class RecordingParams : public UI::UIParams
{
public:
    std::map<std::u16string, int32_t> ints;
    std::map<std::u16string, std::u16string> strings;
    std::vector<std::u16string> keys;

    std::u16string getString(std::u16string_view key, std::u16string_view fallback) override
    {
        keys.emplace_back(key);
        const auto found = strings.find(std::u16string(key));
        return found != strings.end() ? found->second : std::u16string(fallback);
    }
    int32_t getInt(std::u16string_view key, int32_t fallback) override
    {
        keys.emplace_back(key);
        const auto found = ints.find(std::u16string(key));
        return found != ints.end() ? found->second : fallback;
    }
};

} // namespace

TEST(WindowTree, ChildrenKeepAlwaysOnTopAboveTheRest)
{
    Window root(nullptr);
    Window* a = Child(&root, 0, 0, 10, 10);
    Window* top1 = Child(&root, 0, 0, 10, 10, true);
    Window* b = Child(&root, 0, 0, 10, 10);
    Window* top2 = Child(&root, 0, 0, 10, 10, true);
    EXPECT_EQ(Children(root), (std::vector<Window*>{a, b, top1, top2}));
    EXPECT_EQ(a->parent(), &root);
}

TEST(WindowTree, BringToFrontStaysInItsLayerHonoursOverlappedAndClimbs)
{
    Window root(nullptr);
    Window* panel = Child(&root, 0, 0, 100, 100);
    Window* other = Child(&root, 0, 0, 100, 100);
    Window* a = Child(panel, 0, 0, 10, 10);
    Window* b = Child(panel, 0, 0, 10, 10);
    Window* top = Child(panel, 0, 0, 10, 10, true);

    a->bringToFront();
    EXPECT_EQ(Children(*panel), (std::vector<Window*>{b, a, top}));
    EXPECT_EQ(Children(root), (std::vector<Window*>{other, panel})); // the parent rose too

    // A window that is not overlapped keeps its place, and does not raise its parent.
    b->setOverlapped(false);
    other->bringToFront();
    b->bringToFront();
    EXPECT_EQ(Children(*panel), (std::vector<Window*>{b, a, top}));
    EXPECT_EQ(Children(root), (std::vector<Window*>{panel, other}));

    // Nor does a window whose parent is not overlapped raise anything above that parent.
    panel->setOverlapped(false);
    a->bringToFront();
    EXPECT_EQ(Children(root), (std::vector<Window*>{panel, other}));
}

TEST(WindowTree, RemovalIsOneBasedAndDestroysOrDetaches)
{
    Window root(nullptr);
    Window* a = Child(&root, 0, 0, 1, 1);
    Window* b = Child(&root, 0, 0, 1, 1);
    Window* c = Child(&root, 0, 0, 1, 1);

    root.removeChildAt(0, true); // positions start at 1
    root.removeChildAt(4, true);
    EXPECT_EQ(root.childCount(), 3u);

    root.removeChildAt(2, false); // b, kept alive and orphaned
    EXPECT_EQ(Children(root), (std::vector<Window*>{a, c}));
    EXPECT_EQ(b->parent(), nullptr);
    std::unique_ptr<Window> kept(b);

    root.removeChild(c, true);
    EXPECT_EQ(Children(root), (std::vector<Window*>{a}));
    root.removeChild(b, true); // not a child: nothing happens
    EXPECT_EQ(root.childCount(), 1u);
}

TEST(WindowTree, RefusesCyclesAndMovesChildrenBetweenParents)
{
    Window root(nullptr);
    Window* parent = Child(&root, 0, 0, 10, 10);
    Window* child = Child(parent, 0, 0, 5, 5);

    EXPECT_FALSE(child->addChild(nullptr));
    EXPECT_FALSE(child->addChild(child));
    EXPECT_FALSE(child->addChild(&root)); // an ancestor
    EXPECT_EQ(root.parent(), nullptr);

    // Adding a child elsewhere detaches it from its old parent: one owner, no double free.
    EXPECT_TRUE(root.addChild(child));
    EXPECT_EQ(parent->childCount(), 0u);
    EXPECT_EQ(child->parent(), &root);

    // setParent(null) only detaches.
    child->setParent(nullptr);
    EXPECT_EQ(child->parent(), nullptr);
    EXPECT_EQ(Children(root), (std::vector<Window*>{parent}));
    std::unique_ptr<Window> owned(child);
}

TEST(WindowTree, AWindowDeletedDirectlyLeavesItsParent)
{
    Window root(nullptr);
    Window* a = Child(&root, 0, 0, 1, 1);
    Window* b = Child(&root, 0, 0, 1, 1);
    delete a;
    EXPECT_EQ(Children(root), (std::vector<Window*>{b}));
}

TEST(WindowTree, FindChildSearchesPreOrder)
{
    Window root(nullptr);
    Window* first = Child(&root, 0, 0, 1, 1);
    Window* deep = Child(first, 0, 0, 1, 1);
    Window* second = Child(&root, 0, 0, 1, 1);
    deep->setName(u"x");
    second->setName(u"x");
    root.setName(u"root");
    EXPECT_EQ(root.findChild(u"x"), deep);
    EXPECT_EQ(root.findChild(u"root"), &root);
    EXPECT_EQ(root.findChild(u"none"), nullptr);
}

TEST(WindowGeometry, PositionsAreClampedMaxThenMin)
{
    struct Case
    {
        int32_t minX, maxX, x, expected;
    } cases[] = {
        {-65535, 65535, 70000, 65535},
        {-65535, 65535, -70000, -65535},
        {0, 100, 50, 50},
        {0, 100, 200, 100},
        {10, 5, 7, 10}, // min wins when the clamps cross
    };
    for (const Case& c : cases) {
        Window window(nullptr);
        window.setMinX(c.minX);
        window.setMaxX(c.maxX);
        window.setPosition(c.x, c.x);
        window.setMinY(c.minX);
        window.setMaxY(c.maxX);
        window.setPosition(c.x, c.x);
        EXPECT_EQ(window.x(), c.expected) << c.x;
        EXPECT_EQ(window.y(), c.expected) << c.x;
    }
}

TEST(WindowGeometry, ClampSettersMoveTheWindowAndMoveFiresEvenWithoutMovement)
{
    Window window(nullptr);
    EventLog log;
    log.watch(&window, "w");
    window.moveTo(50, 50);
    window.setMaxX(20); // moves it left to 20
    window.setMinY(80); // moves it down to 80
    window.moveTo(20, 80);
    EXPECT_EQ(window.x(), 20);
    EXPECT_EQ(window.y(), 80);
    EXPECT_EQ(log.lines, (std::vector<std::string>(4, "w:Move")));
}

TEST(WindowGeometry, SumsAndOffsetsSaturateInsteadOfOverflowing)
{
    Window root(nullptr);
    root.setMaxX(Max32);
    root.setMinX(Min32);
    root.setPosition(Max32 - 5, 0);
    root.moveBy(100, 0);
    EXPECT_EQ(root.x(), Max32);

    Window* child = Child(&root, 0, 0, 1, 1);
    child->setMaxX(Max32);
    child->setPosition(Max32, 0);
    EXPECT_EQ(child->absoluteX(), Max32);
    // A point far to the left of it must not wrap round onto it.
    EXPECT_EQ(Window::hitTest(&root, Min32, 0), &root);

    child->setMinX(Min32);
    child->setMaxX(0);
    child->moveBy(Min32, 0);
    child->moveBy(Min32, 0);
    EXPECT_EQ(child->x(), Min32);
}

TEST(WindowGeometry, HitTestingFollowsEdgesZOrderGhostsAndZeroSizes)
{
    Window root(nullptr);
    root.setSize(240, 320);
    Window* panel = Child(&root, 10, 10, 100, 50);
    Window* button = Child(panel, 10, 10, 20, 20);
    Window* over = Child(panel, 20, 20, 20, 20);
    Window* ghost = Child(&root, 150, 0, 50, 50);
    ghost->setGhost(true);
    Window* pressable = Child(&root, 150, 100, 50, 50);
    pressable->setGhost(true);
    pressable->setCanActivate(true);

    struct Case
    {
        int32_t x, y;
        Window* expected;
    } cases[] = {
        {20, 20, button},     // top-left corner of the button
        {40, 40, over},       // the overlap goes to the topmost
        {50, 50, over},       // bottom-right corner of "over" is inside
        {51, 51, panel},      //   and one pixel past it is not
        {110, 60, panel},     // the panel's own bottom-right corner
        {111, 30, &root},     // just outside the panel
        {160, 10, &root},     // a ghost is never hit
        {160, 110, pressable} // unless it can pass activation on
    };
    for (const Case& c : cases)
        EXPECT_EQ(Window::hitTest(&root, c.x, c.y), c.expected) << c.x << "," << c.y;

    // Invisible windows are never hit; disabled ones are.
    over->setVisible(false);
    button->setEnabled(false);
    EXPECT_EQ(Window::hitTest(&root, 25, 25), button);
    // A window without width or height does not limit its children (and holds every point).
    Window* sizeless = Child(&root, 200, 200, 0, 0);
    Window* farChild = Child(sizeless, 30, 100, 10, 10);
    EXPECT_EQ(Window::hitTest(&root, 235, 305), farChild);
    EXPECT_EQ(Window::hitTest(&root, 5, 5), sizeless);
    root.removeChild(sizeless, true);

    // The root is tested in the coordinates given: its own position is not subtracted.
    root.moveTo(1000, 1000);
    EXPECT_EQ(Window::hitTest(&root, 25, 25), button);
}

TEST(WindowGeometry, ClipRectsIntersectUpTheChainAndCanBeEmpty)
{
    Window root(nullptr);
    Window* plain = Child(&root, 5, 5, 10, 10);
    EXPECT_FALSE(plain->clipRect().has_value());

    Window* clip = Child(&root, 10, 20, 100, 50);
    clip->setClipChildren(true);
    Window* inner = Child(clip, 80, 40, 40, 40);
    Window* outside = Child(clip, 200, 0, 10, 10);

    EXPECT_EQ(clip->clipRect(), (Graphics::Rect{10, 20, 100, 50}));
    EXPECT_EQ(inner->clipRect(), (Graphics::Rect{90, 60, 20, 10}));
    const std::optional<Graphics::Rect> none = outside->clipRect();
    ASSERT_TRUE(none.has_value()); // empty: draws nothing, never "no clip"
    EXPECT_EQ(none->width, 0);
}

TEST(WindowLoad, ReadsTheSeventeenKeysInOrderWithoutClampingOrEvents)
{
    RecordingParams params;
    params.ints = {
        {u"x", 100000}, {u"y", -100000}, {u"width", 30}, {u"visible", 0}, {u"clipChildren", 7}};
    params.strings = {{u"name", u"panel"}};
    Window window(nullptr);
    EventLog log;
    log.watch(&window, "w");
    window.load(&params);

    const std::vector<std::u16string> order = {
        u"width",       u"height",     u"x",        u"y",           u"visible",     u"enabled",
        u"alwaysOnTop", u"overlapped", u"minX",     u"maxX",        u"minY",        u"maxY",
        u"name",        u"ghost",      u"captured", u"canActivate", u"clipChildren"};
    EXPECT_EQ(params.keys, order);
    EXPECT_EQ(window.x(), 100000); // as read, past maxX
    EXPECT_EQ(window.y(), -100000);
    EXPECT_EQ(window.width(), 30);
    EXPECT_FALSE(window.visible());
    EXPECT_TRUE(window.clipChildren());
    EXPECT_EQ(window.name(), u"panel");
    EXPECT_TRUE(log.lines.empty());

    window.load(nullptr); // reads nothing, changes nothing
    EXPECT_EQ(window.width(), 30);
}

TEST(WindowLoad, TheLayoutFormLooksTheElementUpFirst)
{
    UI::StyleList* noStyles = nullptr;
    UI::UISystem system(nullptr, noStyles);
    RecordingParams params;
    Window window(nullptr, &system, &params);
    ASSERT_EQ(params.keys.size(), 18u);
    EXPECT_EQ(params.keys[0], u"element");
    EXPECT_EQ(window.element(), nullptr);

    // Without a system the element is not asked for.
    RecordingParams alone;
    Window standalone(nullptr, nullptr, &alone);
    EXPECT_EQ(alone.keys.size(), 17u);
}

TEST(WindowTree, ParentOnlyFormTakesTheNearestAncestorsSystem)
{
    UI::UISystem system(nullptr, nullptr);
    Window root(nullptr, &system);
    Window* middle = new Window(&root);
    Window* leaf = new Window(middle);
    EXPECT_EQ(leaf->system(), &system);
}
