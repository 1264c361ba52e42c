// Valid JPEGs that TurboJPEG's simple API refuses, written here through the
// libjpeg API with sampling factors that no camera uses but the standard
// allows; every one must decode and become archive copies.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <array>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/archive_jpegs.h"
#include "imaging/jpeg_codec.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using Sampling = std::array<std::array<int, 2>, 3>;  // h, v of Y, Cb, Cr

uint8_t Red(int x, int y) { return uint8_t((x * 4 + y) & 0xFF); }
uint8_t Green(int, int y) { return uint8_t((y * 3) & 0xFF); }
uint8_t Blue(int x, int) { return uint8_t(255 - (x & 0xFF)); }

std::string Write_jpeg(int width, int height, const Sampling& sampling, bool progressive) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  for (int c = 0; c < 3; ++c) {
    info.comp_info[c].h_samp_factor = sampling[c][0];
    info.comp_info[c].v_samp_factor = sampling[c][1];
  }
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(width) * 3);
  while (info.next_scanline < info.image_height) {
    int y = int(info.next_scanline);
    for (int x = 0; x < width; ++x) {
      row[size_t(x) * 3] = Red(x, y);
      row[size_t(x) * 3 + 1] = Green(x, y);
      row[size_t(x) * 3 + 2] = Blue(x, y);
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

TEST(UnusualSampling, EveryValidSamplingDecodesAndIsArchived) {
  const Sampling samplings[] = {
      {{{1, 1}, {2, 2}, {1, 1}}},                              // chroma sampled finer than luma
      {{{3, 1}, {1, 1}, {1, 1}}},                              // a third of the chroma across
      {{{1, 3}, {1, 1}, {1, 1}}}, {{{4, 2}, {1, 1}, {1, 1}}},  // an eighth of the chroma
      {{{2, 2}, {2, 1}, {1, 2}}},                              // Cb and Cr differ
  };
  testing::TempDir dir;
  for (const Sampling& sampling : samplings) {
    for (bool progressive : {false, true}) {
      SCOPED_TRACE(std::to_string(sampling[0][0]) + "x" + std::to_string(sampling[0][1]) + " " +
                   std::to_string(sampling[1][0]) + "x" + std::to_string(sampling[1][1]) + " " +
                   std::to_string(sampling[2][0]) + "x" + std::to_string(sampling[2][1]) +
                   (progressive ? " progressive" : ""));
      std::string jpeg = Write_jpeg(203, 141, sampling, progressive);
      JpegDecoder decoder;
      auto size = decoder.Read_size(jpeg);
      ASSERT_TRUE(size.has_value());
      EXPECT_EQ(size->width, 203);
      EXPECT_EQ(size->height, 141);

      RgbImage whole;
      ASSERT_TRUE(decoder.Decode(jpeg, {1, 1}, &whole));
      ASSERT_EQ(whole.width(), 203);
      ASSERT_EQ(whole.height(), 141);
      // The picture itself, not just its size: a pixel well inside a smooth area.
      const uint8_t* pixel = whole.data() + (size_t(70) * 203 + 20) * 3;
      EXPECT_NEAR(pixel[0], Red(20, 70), 24);
      EXPECT_NEAR(pixel[1], Green(20, 70), 24);
      EXPECT_NEAR(pixel[2], Blue(20, 70), 24);

      RgbImage half;
      ASSERT_TRUE(decoder.Decode(jpeg, {1, 2}, &half));
      EXPECT_EQ(half.width(), 102);
      EXPECT_EQ(half.height(), 71);

      std::string path = dir.Write("picture.jpg", jpeg);
      ArchiveJpegs copies = Make_archive_jpegs(path);
      EXPECT_TRUE(copies.readable);
      EXPECT_FALSE(copies.thumbnail.empty());
    }
  }
}

TEST(UnusualSampling, DamagedFilesAreStillRefused) {
  std::string jpeg = Write_jpeg(64, 48, {{{1, 1}, {2, 2}, {1, 1}}}, false);
  JpegDecoder decoder;
  RgbImage out;
  EXPECT_FALSE(decoder.Decode(jpeg.substr(0, 20), {1, 1}, &out));
  EXPECT_FALSE(decoder.Read_size("not a jpeg").has_value());
  std::string huge = jpeg;
  // SOF0 height and width fields (after FF C0, length, precision) claim 60000 by 60000.
  size_t sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = char(0xEA), huge[sof + 6] = char(0x60);
  huge[sof + 7] = char(0xEA), huge[sof + 8] = char(0x60);
  EXPECT_FALSE(decoder.Read_size(huge).has_value());
  EXPECT_FALSE(decoder.Decode(huge, {1, 8}, &out));
}

}  // namespace
}  // namespace zendrel
