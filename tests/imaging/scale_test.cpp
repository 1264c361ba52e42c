#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "imaging/archive_jpegs.h"
#include "imaging/archive_picture.h"
#include "imaging/picture_file.h"
#include "imaging/picture_test_util.h"
#include "imaging/sample_pictures.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::Decoded;
using testing::Near;
using testing::Pixel;
using testing::Rgb;
using testing::TempDir;

constexpr Rgb kRed{255, 0, 0}, kGrey{128, 128, 128}, kBlack{0, 0, 0};

// Every entry of a directory, hidden ones included.
std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ScaleTest : public ::testing::Test {
 protected:
  // Scales `jpeg`; when it can be read, decodes both copies.
  bool Make(const std::string& jpeg) {
    ArchiveJpegs copies = Make_archive_jpegs(dir_.Write("original.jpg", jpeg));
    if (copies.readable) {
      display_ = Decoded(copies.display);
      thumbnail_ = Decoded(copies.thumbnail);
    }
    return copies.readable;
  }

  TempDir dir_;
  RgbImage display_, thumbnail_;
};

TEST_F(ScaleTest, DisplayCopyFitsWithin1024By768AndIsNeverEnlarged) {
  struct Case {
    int width, height, want_width, want_height;
  } cases[] = {
      {2048, 1536, 1024, 768},                          // exactly twice the box
      {1600, 1200, 1024, 768}, {1200, 1600, 576, 768},  // portrait: the height limits
      {3000, 1000, 1024, 341},                          // panorama: the width limits
      {640, 480, 640, 480},                             // smaller than the box: kept
      {1024, 768, 1024, 768},  {1025, 10, 1024, 10},
      {5, 3000, 1, 768},  // never narrower than one pixel
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    ASSERT_TRUE(Make(testing::Jpeg_of(testing::Filled(c.width, c.height, kGrey))));
    EXPECT_EQ(display_.size(), (PixelSize{c.want_width, c.want_height}));
    EXPECT_TRUE(Near(Pixel(display_, display_.width() / 2, display_.height() / 2), kGrey, 6));
    EXPECT_EQ(thumbnail_.size(), (PixelSize{96, 96}));
  }
}

TEST_F(ScaleTest, ThumbnailIs96By96WithThePictureCentredOnBlack) {
  ASSERT_TRUE(Make(testing::Jpeg_of(testing::Filled(800, 400, {255, 255, 255}))));
  ASSERT_EQ(thumbnail_.size(), (PixelSize{96, 96}));
  // 800x400 fits as 96x48: black bands of 24 rows above and below.
  EXPECT_TRUE(Near(Pixel(thumbnail_, 48, 2), kBlack));
  EXPECT_TRUE(Near(Pixel(thumbnail_, 48, 93), kBlack));
  EXPECT_TRUE(Near(Pixel(thumbnail_, 48, 48), {255, 255, 255}));
  EXPECT_TRUE(Near(Pixel(thumbnail_, 2, 48), {255, 255, 255}));
  EXPECT_TRUE(Near(Pixel(thumbnail_, 93, 48), {255, 255, 255}));

  ASSERT_TRUE(Make(testing::Jpeg_of(testing::Filled(30, 60, {255, 255, 255}))));
  // A tiny portrait is fitted to the cell's height, with bands at the sides.
  EXPECT_TRUE(Near(Pixel(thumbnail_, 2, 48), kBlack));
  EXPECT_TRUE(Near(Pixel(thumbnail_, 93, 48), kBlack));
  EXPECT_TRUE(Near(Pixel(thumbnail_, 48, 2), {255, 255, 255}));
  EXPECT_TRUE(Near(Pixel(thumbnail_, 48, 93), {255, 255, 255}));
}

TEST_F(ScaleTest, OrientationTagTurnsThePictureUpright) {
  // Where the stored top-left corner is seen, for each tag.
  struct Case {
    int orientation;
    bool right, bottom;
  } cases[] = {{1, false, false}, {2, true, false}, {3, true, true}, {4, false, true},
               {5, false, false}, {6, true, false}, {7, true, true}, {8, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("orientation " + std::to_string(c.orientation));
    ASSERT_TRUE(Make(testing::Marked_jpeg(200, 100, c.orientation)));
    PixelSize shown = c.orientation >= 5 ? PixelSize{100, 200} : PixelSize{200, 100};
    ASSERT_EQ(display_.size(), shown);
    int near_x = c.right ? shown.width - 5 : 4, far_x = c.right ? 4 : shown.width - 5;
    int near_y = c.bottom ? shown.height - 5 : 4, far_y = c.bottom ? 4 : shown.height - 5;
    EXPECT_TRUE(Near(Pixel(display_, near_x, near_y), kRed, 40));
    EXPECT_TRUE(Near(Pixel(display_, far_x, near_y), kGrey, 40));
    EXPECT_TRUE(Near(Pixel(display_, near_x, far_y), kGrey, 40));
    EXPECT_TRUE(Near(Pixel(display_, far_x, far_y), kGrey, 40));
  }
}

TEST_F(ScaleTest, TurnedPictureFitsTheBoxAsShown) {
  // Stored 1600x1200 and turned a quarter: shown 768 high, 576 wide.
  ASSERT_TRUE(Make(testing::Marked_jpeg(1600, 1200, 6)));
  EXPECT_EQ(display_.size(), (PixelSize{576, 768}));
  EXPECT_TRUE(Near(Pixel(display_, 570, 5), kRed, 40));
  // The thumbnail is the upright picture too: 72 wide, bands at the sides.
  EXPECT_TRUE(Near(Pixel(thumbnail_, 2, 48), kBlack));
  EXPECT_TRUE(Near(Pixel(thumbnail_, 80, 3), kRed, 40));
}

TEST_F(ScaleTest, WhatCannotBeReadIsUnreadableAndWritesNothing) {
  std::string valid = testing::Marked_jpeg(64, 48, 1);
  std::vector<std::pair<std::string, std::string>> inputs = {
      {"text", "This is not a picture at all.\n"},
      {"empty", ""},
      {"only the start marker", "\xFF\xD8"},
      {"start marker and junk", std::string("\xFF\xD8") + std::string(500, 'x')},
  };
  // A header claiming 60000 by 60000 pixels.
  std::string huge = valid;
  size_t frame = huge.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  huge[frame + 5] = huge[frame + 7] = char(0xEA);
  huge[frame + 6] = huge[frame + 8] = char(0x60);
  inputs.push_back({"60000x60000", huge});
  // Cut before its picture data begin: nothing decodes.
  size_t scan_data = valid.find("\xFF\xDA") + 14;
  for (size_t cut = 0; cut < scan_data; cut += 7)
    inputs.push_back({"cut at " + std::to_string(cut), valid.substr(0, cut)});

  for (const auto& [label, bytes] : inputs) {
    SCOPED_TRACE(label);
    EXPECT_FALSE(Make(bytes));
  }
  // Cut within them: archived as far as it decodes, as browsers show it.
  for (size_t cut = scan_data + 1; cut < valid.size(); cut += 7) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    ArchiveJpegs copies = Make_archive_jpegs(dir_.Write("cut.jpg", valid.substr(0, cut)));
    EXPECT_TRUE(copies.readable);
    EXPECT_TRUE(copies.reading.incomplete);
  }

  dir_.Make_dir("folder.jpg");
  for (const std::string& path : {dir_.Native("folder.jpg"), dir_.Native("missing.jpg"),
                                  std::string("/dev/null"), std::string("/proc/self/mem")}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(Make_archive_jpegs(path).readable);
  }
  // A bad file leaves nothing behind that spoils the next picture.
  EXPECT_TRUE(Make(valid));
}

TEST_F(ScaleTest, DamagedPictureDataNeverCrashes) {
  RgbImage marked = testing::Filled(64, 48, kGrey);
  testing::Paint(marked, 0, 0, 20, 20, kRed);
  const std::string originals[] = {testing::Marked_jpeg(64, 48, 6),
                                   testing::Progressive_jpeg_of(marked)};
  ASSERT_TRUE(Make(originals[1]));
  uint32_t noise = 12345;
  for (int round = 0; round < 200; ++round) {
    std::string damaged = originals[round % 2];
    for (int k = 0; k < 1 + round % 5; ++k) {
      noise = noise * 1103515245 + 12345;
      size_t at = noise % (damaged.size() - 2);  // anywhere but the end marker
      damaged[at] = char(noise >> 16);
    }
    if (Make(damaged)) {
      EXPECT_EQ(thumbnail_.size(), (PixelSize{96, 96}));
    }
  }
}

// A copy is written whole over what was there, or not at all.
TEST_F(ScaleTest, CopiesAreWrittenWholeOrNotAtAll) {
  EXPECT_EQ(Write_whole_file(dir_.Native("gone/_ABC1230.jpg"), "x", 1),
            "No such file or directory");
  EXPECT_FALSE(Write_whole_file("/proc/_ABC1230.jpg", "x", 1).empty());

  dir_.Write("d.jpg", "old display");
  ArchiveJpegs copies = Make_archive_jpegs(dir_.Write("a.jpg", testing::Marked_jpeg(300, 200, 1)));
  ASSERT_TRUE(copies.readable);
  EXPECT_EQ(Write_whole_file(dir_.Native("d.jpg"), copies.display.data(), copies.display.size()),
            "");
  EXPECT_EQ(Decoded(dir_.Read("d.jpg")).size(), (PixelSize{300, 200}));
  EXPECT_EQ(Entries(dir_.native()), (std::vector<std::string>{"a.jpg", "d.jpg"}));
  EXPECT_EQ(std::filesystem::status(dir_.Native("d.jpg")).permissions() &
                std::filesystem::perms::others_read,
            std::filesystem::perms::others_read);
}

TEST_F(ScaleTest, ThreadsWorkingAtOnceMakeWhatOneThreadMakes) {
  std::vector<std::string> originals;
  for (unsigned i = 0; i < 4; ++i) {
    originals.push_back(dir_.Write("p" + std::to_string(i) + ".jpg",
                                   Sample_jpeg({"", 400 + 100 * int(i), 300, int(1 + 2 * i), i})));
  }
  std::vector<ArchiveJpegs> one;
  for (unsigned i = 0; i < 4; ++i) one.push_back(Make_archive_jpegs(originals[i]));
  std::vector<std::vector<ArchiveJpegs>> many(4);
  std::vector<std::thread> threads;
  for (unsigned i = 0; i < 4; ++i)
    threads.emplace_back([&, i] {
      for (int k = 0; k < 3; ++k) many[i].push_back(Make_archive_jpegs(originals[i]));
    });
  for (std::thread& t : threads) t.join();
  for (unsigned i = 0; i < 4; ++i) {
    ASSERT_TRUE(one[i].readable) << i;
    EXPECT_FALSE(one[i].display.empty()) << i;
    for (const ArchiveJpegs& copies : many[i]) {
      EXPECT_TRUE(copies.display == one[i].display) << i;
      EXPECT_TRUE(copies.thumbnail == one[i].thumbnail) << i;
    }
  }
}

}  // namespace
}  // namespace zendrel
