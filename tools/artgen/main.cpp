// artgen: draws every picture of the game from code and writes them as .qim images into a
// content folder laid out like the game's archive (Images/ and Images/backgrounds/).
#include "Art.h"
#include "graphics/Qim.h"
#include "io/FileReader.h"
#include "io/MemoryStream.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char* Usage =
    "usage: artgen CONTENT_DIR TRIGO_DAT FONT_DIR\n"
    "       artgen --icons ICON_DIR NAME\n"
    "  Writes the game's pictures into CONTENT_DIR/Images and CONTENT_DIR/Images/backgrounds.\n"
    "  TRIGO_DAT is the trigonometry table the board drawing uses (to pin the cell pictures);\n"
    "  FONT_DIR holds the DejaVu fonts the title and the icon numbers are set in.\n"
    "  With --icons, writes the application icon as ICON_DIR/SIZExSIZE/apps/NAME.png, laid out\n"
    "  like an icon theme, at each size desktops ask for.\n";

// The icon sizes of the desktop's icon theme that the game ships.
constexpr int IconSizes[] = {48, 64, 128, 256};

bool ReadTrigTable(const std::string& path, Graphics::TrigTable& trig)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.empty()) {
        return false;
    }
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    IO::FileReader reader(&stream);
    return trig.Read(reader) == Graphics::TrigResult::Ok;
}

bool Write(const fs::path& dir, const std::string& name, const Art::Canvas& canvas, bool withAlpha,
           bool dither = false)
{
    const auto surface = canvas.ToSurface(withAlpha, dither);
    const std::vector<uint8_t> bytes =
        surface ? Graphics::EncodeQim(*surface) : std::vector<uint8_t>{};
    const fs::path path = dir / (name + ".qim");
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (bytes.empty() || !out) {
        std::fprintf(stderr, "artgen: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// The canvas as an 8-bit RGBA PNG: the icons are for the desktop, in full colour, not for the
// game's RGB565 screen.
bool WritePng(const fs::path& path, const Art::Canvas& canvas)
{
    std::vector<uint8_t> pixels;
    pixels.reserve(static_cast<size_t>(canvas.Width()) * canvas.Height() * 4);
    auto byte = [](float v) {
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
    };
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Art::Rgba& c = canvas.At(x, y);
            const uint8_t alpha = byte(c.a);
            // Fully transparent pixels carry no colour, so that equal pictures give equal files.
            for (float channel : {c.r, c.g, c.b})
                pixels.push_back(alpha ? byte(channel) : 0);
            pixels.push_back(alpha);
        }
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<uint32_t>(canvas.Width());
    image.height = static_cast<uint32_t>(canvas.Height());
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) {
        std::fprintf(stderr, "artgen: cannot write %s: %s\n", path.c_str(), image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

int WriteIcons(const fs::path& dir, const std::string& name)
{
    for (int size : IconSizes) {
        const std::string box = std::to_string(size) + "x" + std::to_string(size);
        const fs::path folder = dir / box / "apps";
        std::error_code error;
        fs::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "artgen: cannot create %s\n", folder.c_str());
            return 1;
        }
        if (!WritePng(folder / (name + ".png"), Art::AppIcon(size)))
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--icons")
        return WriteIcons(argv[2], argv[3]);
    if (argc != 4) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const fs::path images = fs::path(argv[1]) / "Images";
    const fs::path backgrounds = images / "backgrounds";
    std::error_code error;
    fs::create_directories(backgrounds, error);
    if (error) {
        std::fprintf(stderr, "artgen: cannot create %s\n", backgrounds.string().c_str());
        return 1;
    }
    Graphics::TrigTable trig;
    if (!ReadTrigTable(argv[2], trig)) {
        std::fprintf(stderr, "artgen: cannot read the trigonometry table %s\n", argv[2]);
        return 1;
    }
    const fs::path fontDir = argv[3];
    const Art::Fonts fonts{(fontDir / "DejaVuSans-Bold.ttf").string(),
                           (fontDir / "DejaVuSans.ttf").string(),
                           (fontDir / "DejaVuSansCondensed-Bold.ttf").string()};
    for (const std::string& font : {fonts.bold, fonts.regular, fonts.condensed}) {
        if (!fs::exists(font)) {
            std::fprintf(stderr, "artgen: missing font %s\n", font.c_str());
            return 1;
        }
    }

    bool ok = true;
    ok &= Write(images, "loading", Art::LoadingScreen(fonts), false, true);
    ok &= Write(images, "cr30", Art::SideStrip(27, 9), true);
    ok &= Write(images, "cr40", Art::SideStrip(33, 11), true);
    ok &= Write(images, "Chain", Art::Joint(9), true);
    ok &= Write(images, "Chain2", Art::Joint(11), true);
    for (int n = 3; n <= 12; ++n) {
        ok &= Write(images, "Poly" + std::to_string(n), Art::CellPicture(n, 30, trig), true);
        ok &= Write(images, "Poly2_" + std::to_string(n), Art::CellPicture(n, 40, trig), true);
    }
    ok &= Write(images, "bonuses30", Art::BonusIcons(22, fonts), true);
    ok &= Write(images, "bonuses40", Art::BonusIcons(29, fonts), true);
    ok &= Write(images, "ani_bonuses", Art::BonusPulse(40), true);
    ok &= Write(images, "ani_bonuses2", Art::BonusPulse(52), true);
    for (int kind = 1; kind <= 5; ++kind) {
        ok &= Write(images, "ani" + std::to_string(kind), Art::Particle(kind, 11), true);
    }
    for (int i = 0; i < Art::BackgroundCount; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "bg%02d", i + 1);
        ok &= Write(backgrounds, name, Art::Background(i), false, true);
    }
    ok &= Write(images, "menu_bg", Art::MenuBackground(), false, true);
    ok &= Write(images, "menu_title", Art::MenuTitle(fonts), true);
    ok &= Write(images, "help1", Art::HelpTurn(), true);
    ok &= Write(images, "help5", Art::HelpBonuses(fonts), true);
    ok &= Write(images, "skin", Art::SkinSheet(), true);
    const char* const corners[4] = {"panel_tl", "panel_tr", "panel_bl", "panel_br"};
    for (int i = 0; i < 4; ++i) {
        ok &= Write(images, corners[i], Art::PanelCorner(i), true);
    }
    ok &= Write(images, "widgets", Art::WidgetSheet(), true);
    ok &= Write(images, "hud", Art::Hud(), false, true);
    ok &= Write(images, "hud_clock", Art::HudClock(), true);
    ok &= Write(images, "hud_life", Art::HudLife(), true);
    ok &= Write(images, "KeyboardButtons", Art::KeyboardButtons(), false);
    ok &= Write(images, "KeyboardKeys", Art::KeyboardKeys(fonts), true);
    // Only enter's cap has transparent parts: the others cover their cells exactly.
    for (int kind = 1; kind <= 4; ++kind)
        ok &= Write(images, "Key" + std::to_string(kind), Art::PressedKey(kind), kind == 3);
    return ok ? 0 : 1;
}
