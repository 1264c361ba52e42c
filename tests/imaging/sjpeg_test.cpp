#include "imaging/sjpeg.h"

#include <gtest/gtest.h>

#include "imaging/picture_test_util.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::Decoded;
using testing::Near;
using testing::Pixel;
using testing::TempDir;

TEST(Sjpeg, DisplayCopyThenThumbnailFromIt) {
  TempDir dir;
  std::string original = dir.Write("a.jpg", testing::Marked_jpeg(1600, 1200, 8));
  ASSERT_EQ(sjpeg(original, dir.Native("_D.jpg"), 0), 0);
  ASSERT_EQ(sjpeg(dir.Native("_D.jpg"), dir.Native("_T.jpg"), 96), 0);
  RgbImage display = Decoded(dir.Read("_D.jpg"));
  RgbImage thumbnail = Decoded(dir.Read("_T.jpg"));
  // Tag 8: shown 768 high and the stored top-left corner at the bottom left.
  EXPECT_EQ(display.size(), (PixelSize{576, 768}));
  EXPECT_TRUE(Near(Pixel(display, 5, 760), {255, 0, 0}, 40));
  EXPECT_EQ(thumbnail.size(), (PixelSize{96, 96}));
  EXPECT_TRUE(Near(Pixel(thumbnail, 2, 48), {0, 0, 0}));
  EXPECT_TRUE(Near(Pixel(thumbnail, 16, 92), {255, 0, 0}, 40));
}

TEST(Sjpeg, ThumbnailStraightFromALargeOriginal) {
  TempDir dir;
  std::string original = dir.Write("a.jpg", testing::Marked_jpeg(3000, 1000, 1));
  ASSERT_EQ(sjpeg(original, dir.Native("_T.jpg"), 96), 0);
  RgbImage thumbnail = Decoded(dir.Read("_T.jpg"));
  EXPECT_EQ(thumbnail.size(), (PixelSize{96, 96}));
  EXPECT_TRUE(Near(Pixel(thumbnail, 48, 10), {0, 0, 0}));  // 96x32 band in the middle
  EXPECT_TRUE(Near(Pixel(thumbnail, 48, 48), {128, 128, 128}));
}

TEST(Sjpeg, FailureIsOne) {
  TempDir dir;
  std::string text = dir.Write("a.jpg", "not a picture");
  std::string good = dir.Write("b.jpg", testing::Marked_jpeg(64, 48, 1));
  EXPECT_EQ(sjpeg(text, dir.Native("out.jpg"), 0), 1);
  EXPECT_EQ(sjpeg(dir.Native("missing.jpg"), dir.Native("out.jpg"), 96), 1);
  EXPECT_EQ(sjpeg(dir.native(), dir.Native("out.jpg"), 0), 1);
  EXPECT_EQ(sjpeg(good, dir.Native("no/such/dir/out.jpg"), 0), 1);
  EXPECT_FALSE(dir.Exists("out.jpg"));
  EXPECT_EQ(sjpeg(good, dir.Native("out.jpg"), 0), 0);
}

}  // namespace
}  // namespace zendrel
