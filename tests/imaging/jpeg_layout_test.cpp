#include "imaging/jpeg_layout.h"

#include <gtest/gtest.h>

#include "imaging/picture_test_util.h"

namespace zendrel {
namespace {

TEST(JpegLayout, FindsTheExifBlockAndTheEnd) {
  std::string jpeg = testing::Marked_jpeg(32, 16, 6);
  JpegLayout layout = Read_jpeg_layout(jpeg);
  EXPECT_TRUE(layout.is_jpeg);
  EXPECT_TRUE(layout.complete);
  EXPECT_TRUE(layout.exif.starts_with(std::string_view("Exif\0\0", 6)));
  EXPECT_FALSE(Read_jpeg_layout(jpeg.substr(0, jpeg.size() - 1)).complete);
  EXPECT_FALSE(Read_jpeg_layout("GIF89a").is_jpeg);
}

TEST(JpegLayout, AnEndMarkerBeforeThePictureDataDoesNotCount) {
  // An embedded thumbnail ends in its own end marker, before the scan.
  std::string jpeg = testing::Marked_jpeg(32, 16, 1);
  std::string thumbnail_segment = std::string("\xFF\xE2\x00\x06\xFF\xD9\xFF\xD9", 8);
  std::string with_thumbnail = jpeg.substr(0, 2) + thumbnail_segment + jpeg.substr(2);
  EXPECT_TRUE(Read_jpeg_layout(with_thumbnail).complete);
  size_t scan = with_thumbnail.find("\xFF\xDA");
  EXPECT_FALSE(Read_jpeg_layout(with_thumbnail.substr(0, scan + 40)).complete);
  // A segment length running past the end is no picture either.
  EXPECT_FALSE(Read_jpeg_layout(std::string("\xFF\xD8\xFF\xE1\x7F\xFF", 6)).complete);
}

}  // namespace
}  // namespace zendrel
