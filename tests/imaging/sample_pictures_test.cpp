#include "imaging/sample_pictures.h"

#include <gtest/gtest.h>

#include <set>

#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_layout.h"
#include "imaging/orientation.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

TEST(SamplePictures, StoredSizeAndOrientationTagAreAsAsked) {
  for (int orientation : {1, 3, 6, 8}) {
    std::string jpeg = Sample_jpeg({"x.jpg", 160, 120, orientation, 5});
    JpegLayout layout = Read_jpeg_layout(jpeg);
    ASSERT_TRUE(layout.is_jpeg && layout.complete);
    EXPECT_EQ(Exif_orientation(layout.exif), orientation);
    JpegDecoder decoder;
    EXPECT_EQ(decoder.Read_size(jpeg), (PixelSize{160, 120}));
  }
  EXPECT_EQ(Sample_jpeg({"x.jpg", 160, 120, 1, 5}), Sample_jpeg({"x.jpg", 160, 120, 1, 5}));
}

TEST(SamplePictures, DemoSetHasPortraitsTurnedPicturesAndANonAsciiName) {
  std::vector<SamplePicture> samples = Demo_samples();
  std::set<std::string> names;
  bool portrait = false, turned = false, accented = false;
  for (const SamplePicture& s : samples) {
    names.insert(s.file_name);
    portrait |= s.height > s.width && !Swaps_sides(s.orientation);
    turned |= Swaps_sides(s.orientation);
    accented |= s.file_name.find('\xC3') != std::string::npos;
  }
  EXPECT_GE(samples.size(), 6u);
  EXPECT_EQ(names.size(), samples.size());
  EXPECT_TRUE(portrait && turned && accented);
}

TEST(SamplePictures, WritesIntoANewDirectoryOrSaysWhyNot) {
  testing::TempDir dir;
  Status made =
      Write_samples(dir.Native("a/b"), {{"one.jpg", 64, 48, 1, 1}, {"two.JPG", 48, 64, 6, 2}});
  ASSERT_TRUE(made.ok()) << made.message();
  EXPECT_TRUE(dir.Exists("a/b/one.jpg"));
  EXPECT_TRUE(dir.Exists("a/b/two.JPG"));
  dir.Write("file", "x");
  Status refused = Write_samples(dir.Native("file"), {{"one.jpg", 64, 48, 1, 1}});
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.message().find(dir.Native("file")), std::string::npos) << refused.message();
}

TEST(Texture, IsALight256PixelSquare) {
  std::string jpeg = Texture_jpeg();
  JpegDecoder decoder;
  RgbImage image = decoder.Decode(jpeg, {1, 1});
  ASSERT_EQ(image.size(), (PixelSize{256, 256}));
  double darkest = 255, sum = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const uint8_t* p = image.row(y) + x * 3;
      double luma = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
      darkest = std::min(darkest, luma);
      sum += luma;
    }
  EXPECT_GT(sum / (256 * 256), 215);  // black text stays easy to read
  EXPECT_GT(darkest, 180);
}

}  // namespace
}  // namespace zendrel
