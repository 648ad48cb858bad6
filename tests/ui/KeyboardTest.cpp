// The on-screen keyboard: which code each tap sends and to whom, strokes that must send nothing,
// the highlights, typing into a focused edit, and the layout keys.
#include "ui/Keyboard.h"

#include "WidgetFixture.h"
#include "ui/Edit.h"
#include "ui/UIXMLParams.h"

namespace {

using Highlight = UI::Keyboard::Highlight;

// The keys an event carried, and whether every one named the keyboard.
struct KeyTrace
{
    bool OnKey(const UI::EventArgs& args)
    {
        const auto& key = static_cast<const UI::KeyboardEventArgs&>(args);
        keys.push_back(key.key);
        fromKeyboard = fromKeyboard && key.window == keyboard;
        return true;
    }
    UI::Window* keyboard = nullptr;
    std::vector<uint32_t> keys;
    bool fromKeyboard = true;
};

std::unique_ptr<Graphics::Surface16> Flat(uint32_t w, uint32_t h, uint16_t colour)
{
    auto image = std::make_unique<Graphics::Surface16>();
    image->Create(w, h, false);
    for (uint32_t y = 0; y < h; ++y)
        std::fill_n(image->Pixels() + y * image->Stride(), w, colour);
    return image;
}

class KeyboardTest : public WidgetTest
{
protected:
    static constexpr int X = 6; // the keyboard's corner on screen
    static constexpr int Y = 200;

    void SetUp() override
    {
        WidgetTest::SetUp();
        target = new UI::Window(root, system.get());
        target->setRect(0, 0, 240, 100);
        keyboard = new UI::Keyboard(root, system.get());
        keyboard->moveTo(X, Y);
        received.keyboard = pressed.keyboard = keyboard;
        UI::subscribe(target->KeyDown, &received, &KeyTrace::OnKey);
        UI::subscribe(keyboard->KeyPressed, &pressed, &KeyTrace::OnKey);
        system->setFocus(target);
    }

    // On screen, the middle of the key cell in row r, column c.
    static int Cx(int c) { return X + c * 19 + 9; }
    static int Cy(int r) { return Y + r * 17 + 8; }

    UI::Window* target = nullptr;
    UI::Keyboard* keyboard = nullptr;
    KeyTrace received;
    KeyTrace pressed;
};

TEST_F(KeyboardTest, ATapSendsItsCellsCodeToTheFocusWhichKeepsIt)
{
    // {x, y} relative to the keyboard, and the code sent (0: none). After the single keys,
    // every cell of the wide keys, then the right and bottom edges, which hit the keyboard but
    // lie past the grid.
    const std::tuple<int, int, uint32_t> cases[] = {
        {9, 8, '1'},   {180, 8, '0'},  {0, 17, 'Q'},  {18, 16, '1'}, {157, 39, 'L'},
        {5, 56, 189},  {138, 56, 'M'}, {195, 8, 8},   {214, 8, 8},   {195, 25, 13},
        {214, 25, 13}, {176, 42, 13},  {195, 42, 13}, {214, 42, 13}, {157, 56, 32},
        {176, 56, 32}, {195, 56, 32},  {227, 67, 32}, {228, 30, 0},  {100, 68, 0}};
    for (const auto& [x, y, code] : cases) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        received.keys.clear();
        pressed.keys.clear();
        Tap(X + x, Y + y);
        const std::vector<uint32_t> sent =
            code ? std::vector<uint32_t>{code} : std::vector<uint32_t>{};
        EXPECT_EQ(received.keys, sent);
        EXPECT_EQ(pressed.keys, sent);
        EXPECT_EQ(system->focused(), target);
    }
    EXPECT_TRUE(received.fromKeyboard && pressed.fromKeyboard);

    system->setFocus(nullptr);
    Tap(Cx(0), Cy(0));
    EXPECT_EQ(pressed.keys.size(), 0u) << "nowhere to send it";
}

TEST_F(KeyboardTest, PointsOffTheGridPressNothing)
{
    keyboard->setSize(300, 100);
    for (const auto& [x, y] : {std::pair{250, 10}, {10, 80}, {-5, 10}, {10, -5}, {-19, -17}}) {
        keyboard->onMouseDown(UI::MouseEventArgs(keyboard, x, y, true));
        EXPECT_FALSE(keyboard->pressedCell()) << x << "," << y;
        keyboard->onMouseUp(UI::MouseEventArgs(keyboard, x, y, false));
    }
    EXPECT_TRUE(received.keys.empty());
}

TEST_F(KeyboardTest, StrokesThatDoNotStartAndEndOnOneCellSendNothing)
{
    // d(own), m(ove), u(p) at a point; Q and W are neighbours, S1 and S2 two space cells.
    const std::pair<int, int> Q{Cx(0), Cy(1)}, W{Cx(1), Cy(1)}, S1{Cx(8), Cy(3)}, S2{Cx(9), Cy(3)},
        Off{50, 50};
    using Stroke = std::vector<std::pair<char, std::pair<int, int>>>;
    const Stroke strokes[] = {
        {{'d', Q}, {'m', W}, {'u', W}},
        {{'d', S1}, {'m', S2}, {'u', S2}},
        {{'d', Off}, {'m', Q}, {'u', Q}},
        // A key left by sliding off must not be typed by a later stroke ending on it.
        {{'d', Q}, {'m', Off}, {'u', Off}, {'d', Off}, {'m', Q}, {'u', Q}},
        {{'d', Q}, {'u', Off}, {'d', Off}, {'u', Q}},
    };
    for (const Stroke& stroke : strokes) {
        for (const auto& [kind, at] : stroke) {
            if (kind == 'd')
                system->stylusDown(at.first, at.second);
            else if (kind == 'm')
                system->stylusMove(at.first, at.second);
            else
                system->stylusUp(at.first, at.second);
        }
        EXPECT_TRUE(received.keys.empty() && pressed.keys.empty()) << stroke.size();
    }
}

TEST_F(KeyboardTest, HighlightsAreDrawnAtTheirKeysUnderTheKeysImage)
{
    constexpr uint16_t Buttons = 0x1111, Keys = 0x2222;
    constexpr uint16_t Marks[] = {0x4444, 0x5555, 0x6666, 0x7777};
    renderer.addImage(Flat(228, 68, Buttons), u"buttons");
    renderer.addImage(Flat(3, 3, Keys), u"keys");
    for (int i = 0; i < 4; ++i) {
        const std::u16string name(1, char16_t(u'0' + i));
        renderer.addImage(Flat(6, 6, Marks[i]), name);
        keyboard->setHighlightImage(static_cast<Highlight>(i), name);
    }
    keyboard->setButtonsImage(u"buttons");
    keyboard->setKeysImage(u"keys");

    struct Case
    {
        int row, column; // the cell pressed
        uint16_t mark;
        int atX, atY; // the highlight's corner, relative to the keyboard
    };
    const Case cases[] = {{1, 4, Marks[0], 76, 17},
                          {0, 11, Marks[1], 190, 0},
                          {2, 11, Marks[2], 171, 17},
                          {3, 11, Marks[3], 152, 51}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        system->stylusDown(Cx(c.column), Cy(c.row));
        Draw();
        EXPECT_EQ(Pixel(X + c.atX + 5, Y + c.atY + 5), c.mark);
        EXPECT_EQ(Pixel(X + c.atX + 6, Y + c.atY + 6), Buttons);
        EXPECT_EQ(Pixel(X + 2, Y + 2), Keys);
        system->stylusUp(Cx(c.column), Cy(c.row));
        Draw();
        EXPECT_EQ(Pixel(X + c.atX + 5, Y + c.atY + 5), Buttons);
    }
}

TEST_F(KeyboardTest, TypesIntoAFocusedEditThroughTheSystem)
{
    auto* edit = new UI::Edit(root, system.get());
    edit->setRect(10, 120, 100, 24);
    Tap(20, 130);
    ASSERT_EQ(system->focused(), edit);
    // Y, H, minus, 2, space, backspace, E.
    for (const auto& [r, c] : {std::pair{1, 5}, {2, 5}, {3, 0}, {0, 1}, {3, 9}, {0, 10}, {1, 2}})
        Tap(Cx(c), Cy(r));
    EXPECT_EQ(edit->text(), u"yh-2e");
    EXPECT_EQ(system->focused(), edit);
}

TEST_F(KeyboardTest, LayoutKeys)
{
    UI::UIXMLParams params;
    params.setAttribute("kbdKeyWidth", "0");
    params.setAttribute("kbdKey1", "hl");
    params.setAttribute("ghost", "0");
    UI::Keyboard loaded(nullptr, system.get(), &params);
    EXPECT_EQ(loaded.keyWidth(), UI::Keyboard::DefaultKeyWidth);
    EXPECT_EQ(loaded.highlightImage(Highlight::Space), u"hl");
    EXPECT_TRUE(!loaded.ghost() && loaded.canActivate()) << "the layout overrides the default";
}

} // namespace
