// Screenshots widen the 565 channels by bit replication; the instance lock keeps one window.
#include "platform/InstanceLock.h"
#include "platform/Screenshot.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

TEST(Screenshot, WidensChannelsByBitReplication)
{
    TempDir dir;
    // Three pixels in a 3x1 picture taken from a wider (stride 5) buffer.
    const uint16_t pixels[] = {0xFFFF, 0x0841, 0x8410, 0x1234, 0x1234};
    std::string error;
    ASSERT_TRUE(Platform::WriteScreenshot(dir.Path("s.png"), pixels, 3, 1, 5, error)) << error;

    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, dir.Path("s.png").c_str()));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 1u);
    EXPECT_EQ(image.format & PNG_FORMAT_FLAG_ALPHA, 0u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    // 0x0841 is r=1, g=2, b=1: 00001 -> 00001000, 000010 -> 00001000.
    // 0x8410 is r=16, g=32, b=16: 10000 -> 10000100, 100000 -> 10000010.
    EXPECT_EQ(rgb, (std::vector<uint8_t>{255, 255, 255, 8, 8, 8, 132, 130, 132}));

    EXPECT_FALSE(Platform::WriteScreenshot(dir.Path("no/such/dir.png"), pixels, 3, 1, 5, error));
    EXPECT_NE(error.find("dir.png"), std::string::npos);
}

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    TempDir dir;
    setenv("XDG_RUNTIME_DIR", dir.Root().c_str(), 1);
    EXPECT_EQ(Platform::InstanceLock::Folder(), dir.Root().string());
    {
        Platform::InstanceLock first, second;
        EXPECT_TRUE(first.Acquire("Kestrune_00000000"));
        EXPECT_FALSE(second.Acquire("Kestrune_00000000"));
        Platform::InstanceLock other;
        EXPECT_TRUE(other.Acquire("Kestrune_00000001"));
    }
    Platform::InstanceLock later;
    EXPECT_TRUE(later.Acquire("Kestrune_00000000"));
    unsetenv("XDG_RUNTIME_DIR");
}
