#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/BmpWriter.h"
#include "imaging/Scaler.h"
#include "imaging/ShellThumbnail.h"
#include "tests/imaging/PictureFixture.h"
#include "tests/support/TempFolder.h"

namespace pomvella {
namespace {

using testing::RandomPicture;

constexpr std::uint32_t kFlags = kThumbnailNoBorder | kThumbnailQuality;

TEST(ShellThumbnailTest, UnreadableFilesLeaveThePictureAsItWas)
{
    testing::TempFolder folder;
    const std::filesystem::path bad = std::filesystem::path(POMVELLA_TEST_DATA_DIR) / "bmp-bad";
    const std::filesystem::path paths[] = {
        folder / "missing.bmp",
        folder.Path(),  // a folder, not a file
        bad / "not-bm.bmp",
        bad / "short-pixels.bmp",
        bad / "huge-dimensions.bmp",
    };
    const Picture before = RandomPicture(PixelFormat::Indexed8, 6, 5, 1, 12);
    for (const auto& path : paths) {
        Picture picture = before;
        EXPECT_FALSE(GetShellThumbnail(path, picture, kFlags)) << path;
        EXPECT_EQ(picture, before) << path;
    }
}

TEST(ShellThumbnailTest, ScalesTheFileToThePictureSizeAsBgr24)
{
    testing::TempFolder folder;
    const Picture colour = RandomPicture(PixelFormat::Bgr24, 37, 29, 2);
    const Picture indexed = RandomPicture(PixelFormat::Indexed8, 23, 31, 3, 200);
    SaveBmp24(colour, folder / "colour.bmp");
    SaveBmp8(indexed, folder / "indexed.bmp");

    Picture picture(PixelFormat::Bgr24, 16, 11);
    ASSERT_TRUE(GetShellThumbnail(folder / "colour.bmp", picture, kFlags));
    EXPECT_EQ(picture, ScaleAreaAverage(colour, 16, 11));

    // The picture's format on entry does not matter: the result is Bgr24.
    Picture fromIndexed(PixelFormat::Indexed8, 9, 40);
    ASSERT_TRUE(GetShellThumbnail(folder / "indexed.bmp", fromIndexed, 0));
    EXPECT_EQ(fromIndexed, ScaleAreaAverage(indexed, 9, 40));

    // Nothing is cached: the file rewritten gives the new content.
    const Picture replacement = RandomPicture(PixelFormat::Bgr24, 37, 29, 4);
    SaveBmp24(replacement, folder / "colour.bmp");
    ASSERT_TRUE(GetShellThumbnail(folder / "colour.bmp", picture, kFlags));
    EXPECT_EQ(picture, ScaleAreaAverage(replacement, 16, 11));
}

}  // namespace
}  // namespace pomvella
