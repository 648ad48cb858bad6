// Input routing through the UI system: the order of events for taps and drags, focus, hover
// and capture, disabled windows, and handlers that change the tree while they run.
#include "ui/UISystem.h"

#include "EventLog.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

using UI::Window;

namespace {

using Lines = std::vector<std::string>;

Window* Child(Window* parent, int32_t x, int32_t y, int32_t w, int32_t h)
{
    auto* window = new Window(parent, parent->system());
    window->setRect(x, y, w, h);
    return window;
}

// A screen: root 240x320 with two buttons and a field, every event recorded.
struct Screen
{
    UI::UISystem system{nullptr, nullptr};
    Window* root = new Window(nullptr, &system);
    Window* button = Child(root, 10, 10, 50, 20);
    Window* other = Child(root, 100, 10, 50, 20);
    Window* field = Child(root, 10, 100, 100, 20);
    EventLog log;

    Screen()
    {
        root->setSize(240, 320);
        system.setRoot(root);
        log.watch(root, "root");
        log.watch(button, "button");
        log.watch(other, "other");
        log.watch(field, "field");
    }
};

// Calls a function when an event fires.
template <class F>
class Handler : public UI::SubscriberInterface
{
public:
    explicit Handler(F f) : m_f(std::move(f)) {}
    bool invoke(const UI::EventArgs& args) override
    {
        m_f(args);
        return true;
    }

private:
    F m_f;
};
template <class F>
void On(UI::Event& event, F f)
{
    event.subscribe(std::make_unique<Handler<F>>(std::move(f)));
}

} // namespace

TEST(UISystemRouting, ATapLeavesTheOldWindowMovesTheFocusThenPressesAndReleases)
{
    Screen s;
    s.system.stylusDown(110, 15); // hover and focus on "other" first
    s.system.stylusUp(110, 15);
    s.log.lines.clear();

    s.system.stylusDown(20, 15);
    EXPECT_EQ(s.log.lastX, 10); // relative to the button
    EXPECT_EQ(s.log.lastY, 5);
    s.system.stylusUp(20, 15);
    EXPECT_EQ(s.log.lines, (Lines{"other:MouseLeave", "other:LostFocus", "button:GotFocus",
                                  "button:MouseDown", "button:MouseUp"}));
    EXPECT_EQ(s.system.focused(), s.button);
    EXPECT_EQ(s.system.hovered(), s.button);
    EXPECT_FALSE(s.system.buttonDown());
}

TEST(UISystemRouting, FocusChangeArgumentsNameBothWindows)
{
    Screen s;
    s.system.setFocus(s.button);
    UI::Window* lostWhileFocused = nullptr;
    On(s.button->LostFocus, [&](const UI::EventArgs&) { lostWhileFocused = s.system.focused(); });
    s.system.setFocus(s.field);
    EXPECT_EQ(lostWhileFocused, s.button); // LostFocus still sees the old focus
    EXPECT_EQ(s.log.lastWindow, s.field);
    EXPECT_EQ(s.log.lastOther, s.button);
    s.system.keyDown(65);
    EXPECT_EQ(s.log.lines.back(), "field:KeyDown");
    EXPECT_EQ(s.log.lastWindow, s.field);
}

TEST(UISystemRouting, ACapturedWindowGetsTheWholeDragOthersOnlyEnterAndLeave)
{
    Screen s;
    s.button->setCaptured(true);
    s.system.stylusDown(20, 15);
    EXPECT_EQ(s.system.capture(), s.button);
    s.log.lines.clear();

    s.system.stylusMove(120, 15); // over "other"
    s.system.stylusMove(200, 200);
    s.system.stylusUp(200, 200);
    EXPECT_EQ(s.log.lines,
              (Lines{"button:MouseMove", "button:MouseLeave", "other:MouseEnter",
                     "button:MouseMove", "other:MouseLeave", "root:MouseEnter", "button:MouseUp"}));
    EXPECT_EQ(s.system.capture(), nullptr);
}

TEST(UISystemRouting, AStaleCaptureIsDroppedAtTheNextPress)
{
    Screen s;
    s.system.setCapture(s.button);
    s.system.stylusDown(110, 15);
    EXPECT_EQ(s.log.lines.front(), "button:MouseLeave");
    EXPECT_EQ(s.log.lines.back(), "other:MouseDown");
    EXPECT_EQ(s.system.capture(), nullptr);
}

TEST(UISystemRouting, DisabledAncestorsSilenceEverythingBelowThem)
{
    Screen s;
    Window* inner = Child(s.field, 0, 0, 10, 10);
    s.log.watch(inner, "inner");
    s.field->setEnabled(false);

    s.system.stylusDown(12, 102);
    s.system.stylusUp(12, 102);
    s.system.setFocus(inner);
    s.system.keyDown(13);
    EXPECT_EQ(s.system.focused(), inner); // focus moves, but no event fires
    EXPECT_TRUE(s.log.lines.empty()) << s.log.lines.front();
    EXPECT_TRUE(inner->enabled());
}

TEST(UISystemRouting, GhostsAndActivationPassing)
{
    Screen s;
    Window* knob = Child(s.field, 0, 0, 10, 10);
    knob->setGhost(true);
    knob->setCanActivate(true);
    s.log.watch(knob, "knob");
    s.system.setFocus(s.button);
    s.log.lines.clear();

    // A ghost that passes activation on is pressed without taking the focus.
    s.system.stylusDown(12, 102);
    EXPECT_EQ(s.system.focused(), s.button);
    EXPECT_EQ(s.log.lines.back(), "knob:MouseDown");

    // A window that passes activation on hands a focus request to its parent.
    knob->setGhost(false);
    s.system.setFocus(knob);
    EXPECT_EQ(s.system.focused(), s.field);
}

TEST(UISystemRouting, InputWithoutARootHitsNothing)
{
    UI::UISystem system(nullptr, nullptr);
    system.stylusDown(10, 10);
    EXPECT_TRUE(system.buttonDown());
    system.stylusMove(20, 20);
    system.stylusUp(20, 20);
    system.keyDown(65);
    system.update();
    system.draw();
    EXPECT_FALSE(system.buttonDown());
    EXPECT_EQ(system.hovered(), nullptr);
}

TEST(UISystemRoot, SwitchingFiresHiddenThenShownAndDestructionTakesTheRoot)
{
    auto system = std::make_unique<UI::UISystem>(nullptr, nullptr);
    auto* menu = new Window(nullptr, system.get());
    auto game = std::make_unique<Window>(nullptr, system.get());
    EventLog log;
    log.watch(menu, "menu");
    log.watch(game.get(), "game");
    system->setRoot(menu);
    system->setRoot(menu); // already the root: nothing
    EXPECT_TRUE(system->redraw());
    system->setRoot(game.get());
    EXPECT_EQ(log.lastWindow, game.get());
    system->setRoot(menu);
    EXPECT_EQ(log.lines,
              (Lines{"menu:Shown", "menu:Hidden", "game:Shown", "game:Hidden", "menu:Shown"}));
    game.reset();   // no tree but the root may outlive the system
    system.reset(); // destroys "menu"; under ASan a leak or double free would show
}

TEST(UISystemRoot, DrawNeedsTheRedrawFlagAndAVisibleRoot)
{
    struct Counting : Window
    {
        using Window::Window;
        int draws = 0;
        void draw() override { ++draws; }
    };
    UI::UISystem system(nullptr, nullptr);
    auto root = std::make_unique<Counting>(nullptr, nullptr); // no system: no redraw flag
    system.setRoot(root.get());
    root->setVisible(false);
    system.draw();
    EXPECT_EQ(root->draws, 0);
    root->setVisible(true);
    system.draw();
    system.draw(); // the flag is never cleared
    EXPECT_EQ(root->draws, 2);
    system.setRoot(nullptr);
}

TEST(UISystemSafety, DestroyedWindowsAreForgottenTopWindowsIncluded)
{
    Screen s;
    s.button->setCaptured(true);
    s.system.stylusDown(20, 15);
    ASSERT_EQ(s.system.capture(), s.button);
    s.root->removeChild(s.button, true);
    EXPECT_EQ(s.system.capture(), nullptr);
    EXPECT_EQ(s.system.focused(), nullptr);
    EXPECT_EQ(s.system.hovered(), nullptr);

    // A tap on an empty spot hovers and focuses the top window itself; destroying the tree
    // must leave nothing pointing at it.
    s.system.stylusDown(200, 300);
    ASSERT_EQ(s.system.focused(), s.root);
    delete s.root;
    EXPECT_EQ(s.system.root(), nullptr);
    EXPECT_EQ(s.system.focused(), nullptr);
    EXPECT_EQ(s.system.hovered(), nullptr);
    s.system.stylusMove(10, 10);
    s.system.keyDown(65);
    s.system.setFocus(nullptr);
}

TEST(UISystemSafety, HandlersMayDestroyWindowsWhileTheyAreRouted)
{
    // Each case destroys a window from inside one handler of a tap and must leave the
    // system consistent; the remaining events of the tap simply do not happen.
    struct Case
    {
        const char* name;
        UI::Event Window::*event;
        bool destroyTapped; // else the handler destroys the watched window itself
    } cases[] = {
        {"leave of the old hover kills the tapped window", &Window::MouseLeave, true},
        {"lost focus kills the tapped window", &Window::LostFocus, true},
        {"got focus kills the tapped window", &Window::GotFocus, false},
        {"mouse down kills the tapped window", &Window::MouseDown, false},
        {"mouse up kills the tapped window", &Window::MouseUp, false},
    };
    for (const Case& c : cases) {
        Screen s;
        s.button->setCaptured(true);
        s.system.stylusDown(110, 15); // "other" hovered and focused
        s.system.stylusUp(110, 15);
        Window* watched = c.destroyTapped ? s.other : s.button;
        Window* victim = s.button;
        Window* root = s.root;
        On(watched->*c.event,
           [root, victim](const UI::EventArgs&) { root->removeChild(victim, true); });
        s.system.stylusDown(20, 15);
        s.system.stylusMove(25, 15);
        s.system.stylusUp(25, 15);
        s.system.keyDown(65);
        EXPECT_EQ(s.root->childCount(), 2u) << c.name;
        EXPECT_NE(s.system.focused(), victim) << c.name;
        EXPECT_NE(s.system.capture(), victim) << c.name;
    }
}

TEST(UISystemSafety, AHandlerMayDestroyTheWholeTree)
{
    Screen s;
    Window* root = s.root;
    On(s.button->MouseDown, [root](const UI::EventArgs&) { delete root; });
    s.system.stylusDown(20, 15);
    EXPECT_EQ(s.system.root(), nullptr);
    s.system.stylusUp(20, 15);
    s.system.update();
}

TEST(UISystemSafety, UpdateSurvivesChildrenRemovedByAnUpdate)
{
    struct Remover : Window
    {
        using Window::Window;
        void onUpdate(const UI::EventArgs& args) override
        {
            parent()->removeAllChildren(true);
            (void)args;
        }
    };
    Screen s;
    new Remover(s.root, &s.system);
    s.system.update();
    EXPECT_EQ(s.root->childCount(), 0u);
}

TEST(Events, OneSubscriberReplacedAndDestroyedAtOnce)
{
    struct Tracked : UI::SubscriberInterface
    {
        int* calls;
        int* destroyed;
        Tracked(int* c, int* d) : calls(c), destroyed(d) {}
        ~Tracked() override { ++*destroyed; }
        bool invoke(const UI::EventArgs&) override { return ++*calls, false; }
    };
    int firstCalls = 0, secondCalls = 0, destroyed = 0;
    UI::Event event;
    EXPECT_FALSE(event.fire(UI::EventArgs()));
    event.subscribe(std::make_unique<Tracked>(&firstCalls, &destroyed));
    event.subscribe(std::make_unique<Tracked>(&secondCalls, &destroyed));
    EXPECT_EQ(destroyed, 1);
    event.fire(UI::EventArgs());
    EXPECT_EQ(firstCalls, 0);
    EXPECT_EQ(secondCalls, 1);
    event.subscribe(nullptr);
    EXPECT_EQ(destroyed, 2);
    EXPECT_FALSE(event.isAttached());
}

TEST(Events, AMemberHandlerCanReplaceItselfWhileRunning)
{
    struct Screen2
    {
        UI::Event event;
        int calls = 0;
        bool first(const UI::EventArgs&)
        {
            ++calls;
            UI::subscribe(event, this, &Screen2::second); // destroys the running binder's slot
            return true;
        }
        bool second(const UI::EventArgs&) { return calls += 10, false; }
    } screen;
    UI::subscribe(screen.event, &screen, &Screen2::first);
    EXPECT_TRUE(screen.event.fire(UI::EventArgs()));
    EXPECT_FALSE(screen.event.fire(UI::EventArgs()));
    EXPECT_EQ(screen.calls, 11);
}
