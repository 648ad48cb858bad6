// The headless host: scripted input must arrive exactly before its frame, time must move only
// when the program waits, and screenshots must show the frame they name.
#include "platform/HeadlessHost.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

using Platform::HeadlessHost;
using Platform::Message;
using Platform::ScriptEvent;
namespace Id = Platform::MessageId;

namespace {

std::vector<ScriptEvent> Parse(const std::string& text)
{
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_TRUE(Platform::ParseScript(text, events, error)) << error;
    return events;
}

std::vector<uint32_t> Drain(HeadlessHost& host)
{
    std::vector<uint32_t> ids;
    Message m;
    while (host.PeekMessage(m))
        ids.push_back(m.id);
    return ids;
}

} // namespace

TEST(HeadlessHost, DeliversEachEventJustBeforeItsFrame)
{
    HeadlessHost host(Parse("0 keydown 13\n2 down 5 6\n2 up 5 6\n"));
    EXPECT_EQ(Drain(host), (std::vector<uint32_t>{Id::KeyDown}));
    host.FrameStarted(); // frame 0
    EXPECT_TRUE(Drain(host).empty());
    host.FrameStarted(); // frame 1
    EXPECT_EQ(Drain(host), (std::vector<uint32_t>{Id::StylusDown, Id::StylusUp}));
}

TEST(HeadlessHost, TimeMovesOnlyWhenNothingIsDue)
{
    HeadlessHost host(Parse("1 close\n"));
    const uint64_t start = host.QueryPerformanceCounter();
    EXPECT_EQ(host.QueryPerformanceFrequency(), 1'000'000u);
    EXPECT_EQ(host.GetTickCount(), start / 1000);

    host.WaitForMessage(start + 500);
    EXPECT_EQ(host.QueryPerformanceCounter(), start + 500);
    host.WaitForMessage(start + 100); // a deadline in the past moves nothing
    EXPECT_EQ(host.QueryPerformanceCounter(), start + 500);

    host.FrameStarted();
    host.WaitForMessage(start + 40'000); // the close of frame 1 is due: no waiting
    EXPECT_EQ(host.QueryPerformanceCounter(), start + 500);
    EXPECT_EQ(Drain(host), (std::vector<uint32_t>{Id::Close}));
}

TEST(HeadlessHost, FrameLimitAsksToCloseOnce)
{
    HeadlessHost host({}, 2);
    host.FrameStarted();
    EXPECT_TRUE(Drain(host).empty());
    host.FrameStarted();
    EXPECT_EQ(Drain(host), (std::vector<uint32_t>{Id::Close}));
    host.FrameStarted();
    EXPECT_TRUE(Drain(host).empty());
}

TEST(HeadlessHost, BlockingWaitWithNothingToComeAsksToClose)
{
    HeadlessHost host;
    Message m;
    EXPECT_TRUE(host.GetMessage(m));
    EXPECT_EQ(m.id, Id::Close);
}

TEST(HeadlessHost, ShotsShowTheFrameTheyName)
{
    TempDir dir;
    const std::string shot0 = dir.Path("zero.png"), shot1 = dir.Path("one.png");
    const std::string never = dir.Path("never.png");
    HeadlessHost host(Parse("0 shot " + shot0 + "\n1 shot " + shot1 + "\n9 shot " + never));

    host.FrameStarted(); // frame 0 presents red
    std::fill_n(host.ScreenMemory(), 240 * 320, uint16_t{0xF800});
    Drain(host);         // the next pass writes frame 0's shot
    host.FrameStarted(); // frame 1 presents blue
    std::fill_n(host.ScreenMemory(), 240 * 320, uint16_t{0x001F});
    EXPECT_FALSE(host.Finish()); // frame 9 never ran

    auto firstPixel = [](const std::string& path) {
        png_image image = {};
        image.version = PNG_IMAGE_VERSION;
        std::vector<uint8_t> rgb;
        if (png_image_begin_read_from_file(&image, path.c_str())) {
            image.format = PNG_FORMAT_RGB;
            rgb.resize(PNG_IMAGE_SIZE(image));
            png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
        }
        return rgb.size() >= 3 ? std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3) : rgb;
    };
    EXPECT_EQ(firstPixel(shot0), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_EQ(firstPixel(shot1), (std::vector<uint8_t>{0, 0, 255}));
    EXPECT_FALSE(std::filesystem::exists(never));
}
