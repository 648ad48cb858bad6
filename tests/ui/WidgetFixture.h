// The bench the widget tests run on: a 240x320 frame drawn by a SurfaceRenderer, a skin whose
// every element state is one flat colour (so a pixel tells which state was drawn), the game's
// "ui" font, and a UI system with a 240x320 root window on screen.
#pragma once

#include "graphics/BitmapFont.h"
#include "io/FileSystem.h"
#include "io/Utf8.h"
#include "ui/LayoutLoader.h"
#include "ui/Skin.h"
#include "ui/SurfaceRenderer.h"
#include "ui/UISystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class WidgetTest : public ::testing::Test
{
protected:
    // The elements of the test skin, each with the four standard states.
    static constexpr const char* Elements[] = {
        "button",
        "checkButtonElement",
        "well",
        "panel",
        "selection",
        "ScrollArrowUp",
        "ScrollArrowDown",
        "thumb",
        "track",
        "progressTopElement",
        "edit",
        "head",
        "separator",
        "cell",
        "frame",
    };
    static constexpr const char* States[] = {"default", "active", "disabled", "pressed"};
    static constexpr uint16_t Background = 0x0000;

    // The flat colour of a state of an element of the test skin.
    static uint16_t Colour(std::string_view element, std::string_view state)
    {
        int row = 0, column = 0;
        for (int i = 0; i < static_cast<int>(std::size(Elements)); ++i)
            row = Elements[i] == element ? i : row;
        for (int i = 0; i < static_cast<int>(std::size(States)); ++i)
            column = States[i] == state ? i : column;
        return static_cast<uint16_t>(((row + 1) << 11) | ((column * 12 + 8) << 5) | 17);
    }

    void SetUp() override
    {
        frame.Create(240, 320, false);
        renderer.target = &frame;
        renderer.addImage(SkinImage(), u"flat");
        std::u16string gameDir;
        const char* dir = std::getenv("TAVLO_GAME_DIR");
        ASSERT_TRUE(IO::Utf8ToUtf16(dir ? dir : "game", gameDir));
        ASSERT_EQ(files.Mount(gameDir), 0) << "set TAVLO_GAME_DIR to the built game folder";
        auto font = std::make_unique<Utils::BitmapFont>();
        ASSERT_TRUE(font->Load(IO::FileSystem::FindDirectory(files.GetRoot(), u"Images"), u"ui"));
        renderer.addFont(std::move(font), u"ui");
        styles = UI::LoadSkin(SkinText().c_str());
        system = std::make_unique<UI::UISystem>(&renderer, styles.get());
        root = new UI::Window(nullptr, system.get());
        root->setSize(240, 320);
        system->setRoot(root); // the system destroys it
    }

    uint16_t Pixel(int x, int y) const
    {
        return frame.Pixels()[static_cast<uint32_t>(y) * frame.Stride() + static_cast<uint32_t>(x)];
    }

    // Clears the frame and draws the tree.
    void Draw()
    {
        frame.FillRect(nullptr, 0xFF000000);
        system->setRedraw();
        system->draw();
    }

    void Tap(int x, int y)
    {
        system->stylusDown(x, y);
        system->stylusUp(x, y);
    }

    void Update(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            system->update();
    }

    // Builds the tree of an XML layout under the root; null when the layout is refused.
    UI::Window* Load(const char* xml)
    {
        UI::LayoutLoader loader;
        std::vector<uint8_t> binary;
        std::unique_ptr<UI::Window> top = loader.load(xml, system.get(), binary);
        UI::Window* window = top.release();
        if (window)
            root->addChild(window);
        return window;
    }

    // The window of the tree with that name, as the widget class expected.
    template <class Widget>
    Widget* Find(std::u16string_view name) const
    {
        return dynamic_cast<Widget*>(root->findChild(name));
    }

    // True when some pixel of the rectangle is neither the background nor the given colour:
    // text was drawn there.
    bool HasInk(int x, int y, int w, int h, uint16_t paper) const
    {
        for (int py = y; py < y + h; ++py) {
            for (int px = x; px < x + w; ++px) {
                if (Pixel(px, py) != paper && Pixel(px, py) != Background)
                    return true;
            }
        }
        return false;
    }

    IO::FileSystem files;
    Graphics::Surface16 frame;
    UI::SurfaceRenderer renderer;
    std::unique_ptr<UI::StyleList> styles;
    std::unique_ptr<UI::UISystem> system;
    UI::Window* root = nullptr;

private:
    // One pixel per element state: row = element, column = state.
    static std::unique_ptr<Graphics::Surface16> SkinImage()
    {
        auto image = std::make_unique<Graphics::Surface16>();
        const auto rows = static_cast<uint32_t>(std::size(Elements));
        image->Create(4, rows, false);
        for (uint32_t y = 0; y < rows; ++y) {
            for (uint32_t x = 0; x < 4; ++x)
                image->Pixels()[y * image->Stride() + x] = Colour(Elements[y], States[x]);
        }
        return image;
    }

    static std::string SkinText()
    {
        std::string text = "<UISystem><UIStyle name=\"test\">";
        for (size_t row = 0; row < std::size(Elements); ++row) {
            text += std::string("<Element name=\"") + Elements[row] + "\">";
            for (size_t column = 0; column < std::size(States); ++column) {
                text += std::string("<State name=\"") + States[column] + "\">" +
                        "<Area imageName=\"flat\" srcX=\"" + std::to_string(column) + "\" srcY=\"" +
                        std::to_string(row) +
                        "\" srcW=\"1\" srcH=\"1\" dstX=\"0\" dstY=\"0\" dstW=\"%1\" dstH=\"%1\"/>"
                        "</State>";
            }
            text += "</Element>";
        }
        return text + "</UIStyle></UISystem>";
    }
};
