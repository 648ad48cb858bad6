// boardtool render end to end, over a small game folder built here: the catalogue's "Game"
// group with synthetic side strips, joints, cell pictures and bonus icons, two backgrounds and
// the build's trigo.dat.
#include "graphics/Qim.h"
#include "support/BoardBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using Graphics::Surface16;

namespace {

std::string GameDir()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return dir ? dir : ".";
}

ProcessResult RunBoardTool(const std::vector<std::string>& args)
{
    return RunProcess(GameDir() + "/boardtool", args);
}

// The colours of the fixture images, all distinct. Bars are solid in their middle rows and
// half transparent in their outer rows, like antialiased art.
constexpr uint16_t BarColours[7] = {0xF800, 0x07E0, 0x001F, 0xFFE0, 0xF81F, 0x07FF, 0x8410};
constexpr uint16_t JointColour = 0xFFFF;
constexpr uint16_t PictureColour = 0x6B4D;
constexpr uint16_t Backgrounds[2] = {0x2104, 0x1082};

// An image whose pixels and alpha come from a function of the position.
std::unique_ptr<Surface16>
Image(uint32_t width, uint32_t height,
      const std::function<std::pair<uint16_t, uint8_t>(int x, int y)>& paint)
{
    auto image = std::make_unique<Surface16>();
    image->Create(width, height, true);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const auto [colour, alpha] = paint(int(x), int(y));
            image->Pixels()[y * image->Stride() + x] = colour;
            image->Alpha()[y * width + x] = alpha;
        }
    }
    return image;
}

void WriteQim(const fs::path& path, const std::unique_ptr<Surface16>& image)
{
    const std::vector<uint8_t> bytes = Graphics::EncodeQim(*image);
    Fixture::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// The game folder, with the images of both cell sizes.
struct GameFolder
{
    GameFolder()
    {
        const fs::path images = dir.Root() / "Images";
        fs::create_directories(images / "backgrounds");
        fs::create_directories(dir.Root() / "XML");
        fs::copy_file(fs::path(GameDir()) / ".." / "content" / "trigo.dat",
                      dir.Root() / "trigo.dat");

        std::string catalogue = "<Resources>\n<Group name=\"Game\">\n";
        auto add = [&](const std::string& name, const std::unique_ptr<Surface16>& image) {
            WriteQim(images / (name + ".qim"), image);
            catalogue += "<Image name=\"" + name + "\" fileName=\"" + name + ".qim\"/>\n";
        };
        for (const uint32_t size : {30u, 40u}) {
            const bool large = size == 40;
            const uint32_t length = large ? 33 : 27;
            const uint32_t thickness = large ? 11 : 9;
            const uint32_t icon = large ? 29 : 22;
            add(large ? "cr40" : "cr30", Image(length, 7 * thickness, [&](int, int y) {
                    const int row = y % int(thickness);
                    const bool rim = row == 0 || row == int(thickness) - 1;
                    return std::pair{BarColours[y / thickness], uint8_t(rim ? 128 : 255)};
                }));
            add(large ? "Chain2" : "Chain", Image(thickness, thickness, [&](int x, int y) {
                    const double r = thickness / 2.0;
                    const bool in = std::hypot(x + 0.5 - r, y + 0.5 - r) <= r;
                    return std::pair{JointColour, uint8_t(in ? 255 : 0)};
                }));
            add(large ? "bonuses40" : "bonuses30", Image(icon, 12 * icon, [&](int, int y) {
                    return std::pair{uint16_t(0x1111 * (y / icon % 15 + 1)), uint8_t(255)};
                }));
            // Square pictures are enough here: they fill the square cells exactly.
            for (uint32_t n = 3; n <= 12; ++n) {
                add((large ? "Poly2_" : "Poly") + std::to_string(n),
                    Image(size, size, [](int, int) {
                        return std::pair{PictureColour, uint8_t(255)};
                    }));
            }
        }
        Fixture::WriteFile(dir.Root() / "XML" / "resources.xml",
                           catalogue + "</Group>\n</Resources>\n");
        for (int i = 0; i < 2; ++i) {
            WriteQim(images / "backgrounds" / ("bg" + std::to_string(i) + ".qim"),
                     Image(240, 320, [&](int, int) {
                         return std::pair{Backgrounds[i], uint8_t(255)};
                     }));
        }
    }

    std::string Board(const std::string& name, const Fixture::Board& board) const
    {
        Fixture::WriteFile(dir.Root() / name, board.Bytes());
        return dir.Path(name);
    }

    ProcessResult Render(const std::string& board, const std::string& out,
                         std::vector<std::string> options = {}) const
    {
        std::vector<std::string> args{"render", board, out, "--data", dir.Root().string()};
        args.insert(args.end(), options.begin(), options.end());
        return RunBoardTool(args);
    }

    TempDir dir;
};

// The picture in a PNG as RGB565, as the game drew it (the 5- and 6-bit channels are widened by
// replication, so the top bits give them back).
struct Picture
{
    explicit Picture(const std::string& path)
    {
        png_image png = {};
        png.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&png, path.c_str()))
            return;
        png.format = PNG_FORMAT_RGB;
        std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
        if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr))
            return;
        width = png.width;
        height = png.height;
        for (size_t i = 0; i + 2 < rgb.size(); i += 3)
            pixels.push_back(
                uint16_t(((rgb[i] >> 3) << 11) | ((rgb[i + 1] >> 2) << 5) | (rgb[i + 2] >> 3)));
    }
    uint16_t At(int x, int y) const { return pixels[size_t(y) * width + size_t(x)]; }

    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint16_t> pixels;
};

// 4 x 5 squares of side 30 covering x 60..180 and y 70..220.
Fixture::Board Squares()
{
    return Fixture::SquareGrid(4, 5, 30.0f, 60.0f, 70.0f);
}

bool IsBar(uint16_t pixel)
{
    return std::find(std::begin(BarColours), std::end(BarColours), pixel) != std::end(BarColours);
}

TEST(BoardToolRender, DrawsTheBoardOverABackgroundIntoA240x320Png)
{
    GameFolder game;
    const std::string board = game.Board("squares.grid", Squares());
    const std::string out = game.dir.Path("out.png");
    const ProcessResult result = game.Render(board, out);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const Picture picture(out);
    ASSERT_EQ(picture.width, 240u);
    ASSERT_EQ(picture.height, 320u);
    // Outside the board, one of the two backgrounds; a cell's middle shows its picture; the
    // middle of every side a solid bar; every corner a joint.
    const uint16_t background = picture.At(5, 5);
    EXPECT_TRUE(background == Backgrounds[0] || background == Backgrounds[1]) << background;
    EXPECT_EQ(picture.At(230, 310), background);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 4; ++column) {
            const int x = 60 + 30 * column;
            const int y = 70 + 30 * row;
            EXPECT_EQ(picture.At(x + 15, y + 15), PictureColour) << x << "," << y;
            EXPECT_TRUE(IsBar(picture.At(x + 15, y))) << x << "," << y;
            EXPECT_TRUE(IsBar(picture.At(x, y + 15))) << x << "," << y;
            EXPECT_EQ(picture.At(x, y), JointColour) << x << "," << y;
        }
    }

    // The same seed draws the same picture; the colouring follows the seed.
    const std::string again = game.dir.Path("again.png");
    const std::string other = game.dir.Path("other.png");
    ASSERT_EQ(game.Render(board, again).exitCode, 0);
    ASSERT_EQ(game.Render(board, other, {"--seed", "7"}).exitCode, 0);
    EXPECT_EQ(Picture(again).pixels, picture.pixels);
    EXPECT_NE(Picture(other).pixels, picture.pixels);
}

TEST(BoardToolRender, OptionsChangeOnlyThePicturesOrTheSlantedSides)
{
    GameFolder game;
    const std::string board = game.Board("squares.grid", Squares());
    ASSERT_EQ(game.Render(board, game.dir.Path("default.png")).exitCode, 0);
    ASSERT_EQ(game.Render(board, game.dir.Path("bare.png"), {"--no-under-cells"}).exitCode, 0);
    const Picture full(game.dir.Path("default.png"));
    const Picture bare(game.dir.Path("bare.png"));
    ASSERT_EQ(full.pixels.size(), 240u * 320);
    ASSERT_EQ(bare.pixels.size(), full.pixels.size());

    // The pictures fill the cells exactly; without them the background shows there, and the
    // soft rims of the bars blend over it instead. Nothing outside the cells changes.
    const uint16_t background = full.At(5, 5);
    size_t changed = 0;
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 240; ++x) {
            if (full.At(x, y) == bare.At(x, y))
                continue;
            ++changed;
            EXPECT_TRUE(x >= 60 && x < 180 && y >= 70 && y < 220) << x << "," << y;
            if (full.At(x, y) == PictureColour) {
                EXPECT_EQ(bare.At(x, y), background) << x << "," << y;
            }
        }
    }
    EXPECT_GT(changed, 20u * 20 * 20);

    // A hexagon of six triangles has slanted sides: smoothing changes their pixels.
    const std::string fan = game.Board("fan.grid", Fixture::HexagonFan(30.0f));
    ASSERT_EQ(game.Render(fan, game.dir.Path("smooth.png")).exitCode, 0);
    ASSERT_EQ(game.Render(fan, game.dir.Path("hard.png"), {"--no-aa"}).exitCode, 0);
    EXPECT_NE(Picture(game.dir.Path("smooth.png")).pixels,
              Picture(game.dir.Path("hard.png")).pixels);
}

TEST(BoardToolRender, FramesRunTheBoardBeforeThePictureIsTaken)
{
    // Without input nothing turns; past the three minutes of the board (5400 frames at 30 a
    // second) it is lost and the game shows its background alone.
    GameFolder game;
    const std::string board = game.Board("squares.grid", Squares());
    const std::string out = game.dir.Path("late.png");
    const ProcessResult result = game.Render(board, out, {"--frames", "5500"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("lost"), std::string::npos) << result.err;
    const Picture picture(out);
    ASSERT_EQ(picture.pixels.size(), 240u * 320);
    const uint16_t background = picture.At(0, 0);
    EXPECT_TRUE(background == Backgrounds[0] || background == Backgrounds[1]) << background;
    EXPECT_EQ(picture.pixels, std::vector<uint16_t>(240 * 320, background));
}

TEST(BoardToolRender, FailuresAndBadUsage)
{
    GameFolder game;
    const std::string out = game.dir.Path("out.png");
    const std::string good = game.Board("squares.grid", Squares());
    Fixture::Board oneCell = Fixture::SquareGrid(1, 1);
    Fixture::Board badCorner = Squares();
    badCorner.cells[3][2] = 1000;
    const std::string truncated = Squares().Bytes().substr(0, 60);
    Fixture::WriteFile(game.dir.Root() / "truncated.grid", truncated);

    // Boards that cannot be played, a missing board and a folder without trigo.dat fail with
    // one message and no picture.
    for (const std::string& board :
         {game.Board("one.grid", oneCell), game.Board("corner.grid", badCorner),
          game.dir.Path("truncated.grid"), game.dir.Path("missing.grid")}) {
        const ProcessResult result = game.Render(board, out);
        EXPECT_EQ(result.exitCode, 1) << board;
        EXPECT_EQ(result.err.rfind("boardtool: ", 0), 0u) << result.err;
        EXPECT_FALSE(fs::exists(out)) << board;
    }
    const ProcessResult noTable =
        RunBoardTool({"render", good, out, "--data", game.dir.Path("XML")});
    EXPECT_EQ(noTable.exitCode, 1) << noTable.err;
    EXPECT_FALSE(fs::exists(out));

    const std::vector<std::vector<std::string>> usages = {
        {"render"},
        {"render", good},
        {"render", good, out, "extra"},
        {"render", good, out, "--seed"},
        {"render", good, out, "--seed", "-3"},
        {"render", good, out, "--frames", "ten"},
        {"render", good, out, "--colour", "red"},
    };
    for (const auto& args : usages) {
        const ProcessResult result = RunBoardTool(args);
        EXPECT_EQ(result.exitCode, 2) << args.size();
        EXPECT_NE(result.err.find("usage: boardtool render"), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
