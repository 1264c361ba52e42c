#include "imaging/resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/orientation.h"
#include "imaging/picture_test_util.h"

namespace zendrel {
namespace {

using testing::Pixel;

TEST(FitWithin, KeepsProportionsAndNeverEnlargesUnlessAsked) {
  EXPECT_EQ(Fit_within({4000, 3000}, {1024, 768}, false), (PixelSize{1024, 768}));
  EXPECT_EQ(Fit_within({3000, 4000}, {1024, 768}, false), (PixelSize{576, 768}));
  EXPECT_EQ(Fit_within({6000, 4000}, {1024, 768}, false), (PixelSize{1024, 683}));
  EXPECT_EQ(Fit_within({800, 600}, {1024, 768}, false), (PixelSize{800, 600}));
  EXPECT_EQ(Fit_within({800, 600}, {96, 96}, false), (PixelSize{96, 72}));
  EXPECT_EQ(Fit_within({40, 20}, {96, 96}, true), (PixelSize{96, 48}));
  EXPECT_EQ(Fit_within({10000, 1}, {96, 96}, true), (PixelSize{96, 1}));
}

// Pixel values that vary in every channel and position.
RgbImage Pattern(int width, int height) {
  RgbImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image.row(y) + x * 3;
      p[0] = uint8_t((x * 7 + y * 3) % 256);
      p[1] = uint8_t((x * x + y) % 256);
      p[2] = uint8_t(255 - (x + y * 5) % 256);
    }
  return image;
}

TEST(Resized, PlainColourStaysExactlyThatColour) {
  // Widths chosen so that the last bytes of a row fall outside the wide
  // steps of the filter.
  for (PixelSize from : {PixelSize{1500, 1125}, PixelSize{37, 1001}, PixelSize{1024, 768}}) {
    for (PixelSize to :
         {PixelSize{1024, 768}, PixelSize{96, 72}, PixelSize{13, 5}, PixelSize{40, 2000}}) {
      RgbImage out = Resized(testing::Filled(from.width, from.height, {200, 17, 99}), to);
      ASSERT_EQ(out.size(), to);
      for (int y = 0; y < to.height; ++y)
        for (int x = 0; x < to.width; ++x) {
          testing::Rgb p = Pixel(out, x, y);
          ASSERT_TRUE(p.r == 200 && p.g == 17 && p.b == 99) << x << "," << y;
        }
    }
  }
}

TEST(Resized, HalvingAveragesNeighbours) {
  // Columns alternating black and white become an even grey, not stripes.
  RgbImage stripes(400, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 400; ++x) std::memset(stripes.row(y) + x * 3, x % 2 ? 255 : 0, 3);
  RgbImage out = Resized(stripes, {200, 10});
  for (int x = 2; x < 198; ++x) EXPECT_NEAR(Pixel(out, x, 5).r, 128, 2) << x;
}

TEST(Resized, SameSizeIsACopyAndTurningIsExact) {
  RgbImage pattern = Pattern(33, 17);
  RgbImage copy = Resized(pattern, pattern.size());
  EXPECT_EQ(std::memcmp(copy.data(), pattern.data(), pattern.stride() * 17), 0);
  // Turning four times a quarter, or mirroring twice, gives the picture back.
  RgbImage turned = Oriented(Resized(pattern, pattern.size()), 6);
  EXPECT_EQ(turned.size(), (PixelSize{17, 33}));
  for (int k = 0; k < 3; ++k) turned = Oriented(std::move(turned), 6);
  EXPECT_EQ(std::memcmp(turned.data(), pattern.data(), pattern.stride() * 17), 0);
  RgbImage twice = Oriented(Oriented(Resized(pattern, pattern.size()), 7), 7);
  EXPECT_EQ(std::memcmp(twice.data(), pattern.data(), pattern.stride() * 17), 0);
}

TEST(Resized, MatchesAPlainComputationOfTheFilter) {
  // Shrinking by a whole factor of two, across and down: every output pixel
  // is the filter centred between two source pixels. The wide steps of the
  // filter (rows of 120 bytes: some in wide steps, a rest byte by byte)
  // must agree with a plain computation to within rounding.
  auto cubic = [](double x) {
    x = std::fabs(x);
    if (x < 1) return (1.5 * x - 2.5) * x * x + 1;
    if (x < 2) return ((-0.5 * x + 2.5) * x - 4) * x + 2;
    return 0.0;
  };
  RgbImage across = Pattern(260, 40);
  RgbImage down = Oriented(Pattern(260, 40), 5);  // 40 wide, 260 high
  RgbImage narrow = Resized(across, {130, 40});
  RgbImage low = Resized(down, {40, 130});
  for (int x = 4; x < 126; ++x) {
    for (int c = 0; c < 3; ++c) {
      double sum = 0, total = 0;
      for (int j = 2 * x - 4; j <= 2 * x + 5; ++j) {
        double w = cubic((j + 0.5 - (x + 0.5) * 2) / 2);
        sum += w * across.row(20)[j * 3 + c];
        total += w;
      }
      double want = std::clamp(sum / total, 0.0, 255.0);
      EXPECT_NEAR(narrow.row(20)[x * 3 + c], want, 1.01) << x << " channel " << c;
      EXPECT_NEAR(low.row(x)[20 * 3 + c], want, 1.01) << x << " channel " << c;
    }
  }
}

}  // namespace
}  // namespace zendrel
