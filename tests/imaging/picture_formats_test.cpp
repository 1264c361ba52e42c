// Every picture format a phone or camera leaves, made at test time by the
// formats' own tools (ImageMagick, cwebp, exiftool) and library (libheif),
// through the scaler: upright, in the colours a browser shows for the
// original, and the true reason when a picture cannot be read.
#include <gtest/gtest.h>
#include <lcms2.h>
#include <libheif/heif.h>

#include <cstdlib>
#include <cstring>

#include "imaging/archive_jpegs.h"
#include "imaging/color_profile.h"
#include "imaging/jpeg_layout.h"
#include "imaging/picture_format.h"
#include "imaging/picture_test_util.h"
#include "support/display_p3.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::Rgb;
using testing::TempDir;

constexpr Rgb kColour{200, 60, 40};
constexpr int kWidth = 120, kHeight = 80;

// What LittleCMS makes of the colour in P3: the browser's view of it.
Rgb P3_colour_in_srgb(Rgb colour) {
  std::string p3 = testing::Display_p3_profile();
  cmsHPROFILE input = cmsOpenProfileFromMem(p3.data(), cmsUInt32Number(p3.size()));
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsHTRANSFORM transform =
      cmsCreateTransform(input, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
  uint8_t in[3] = {uint8_t(colour.r), uint8_t(colour.g), uint8_t(colour.b)}, out[3];
  cmsDoTransform(transform, in, out, 1);
  cmsDeleteTransform(transform);
  cmsCloseProfile(input);
  cmsCloseProfile(srgb);
  return {out[0], out[1], out[2]};
}

// The colour with its stored top-left corner black.
RgbImage Marked_picture() {
  RgbImage image = testing::Filled(kWidth, kHeight, kColour);
  testing::Paint(image, 0, 0, kWidth / 5, kHeight / 5, {0, 0, 0});
  return image;
}

std::string Ppm_of(const RgbImage& image) {
  std::string ppm =
      "P6\n" + std::to_string(image.width()) + " " + std::to_string(image.height()) + "\n255\n";
  ppm.append(reinterpret_cast<const char*>(image.data()), image.stride() * image.height());
  return ppm;
}

bool Shell(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

struct HeifWriter {
  static heif_error Write(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<std::string*>(userdata)->append(static_cast<const char*>(data), size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
  }
};

// A HEIC file through libheif, turned by its container's boxes.
std::string Heic_of(const RgbImage& picture, int orientation, const std::string& icc) {
  heif_context* context = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
  std::string bytes;
  heif_image* image = nullptr;
  if (encoder) {
    heif_encoder_set_lossy_quality(encoder, 95);
    heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB,
                      heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height(); ++y)
      std::memcpy(plane + size_t(y) * stride, picture.row(y), picture.stride());
    if (!icc.empty()) heif_image_set_raw_color_profile(image, "prof", icc.data(), icc.size());
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(orientation);
    heif_image_handle* handle = nullptr;
    heif_context_encode_image(context, image, encoder, options, &handle);
    // A phone writes the same turn into EXIF as well: it must not count twice.
    std::string tagged = With_orientation_tag(testing::Jpeg_of(picture), orientation);
    std::string_view exif = Read_jpeg_layout(tagged).exif;
    if (handle && orientation != 1)
      heif_context_add_exif_metadata(context, handle, exif.data(), int(exif.size()));
    if (handle) heif_image_handle_release(handle);
    heif_encoding_options_free(options);
    heif_writer writer{1, HeifWriter::Write};
    heif_context_write(context, &writer, &bytes);
    heif_image_release(image);
    heif_encoder_release(encoder);
  }
  heif_context_free(context);
  return bytes;
}

enum class Format { kJpeg, kPng, kWebp, kTiff, kHeif };

// The picture in `format` under a name of another kind (the content
// decides), with `orientation` and, if `p3`, a Display P3 profile.
std::string Make_picture(const TempDir& dir, Format format, int orientation, bool p3) {
  RgbImage picture = Marked_picture();
  std::string icc = p3 ? testing::Display_p3_profile() : "";
  std::string path = dir.Native("picture.jpg");
  if (format == Format::kHeif) {
    dir.Write("picture.jpg", Heic_of(picture, orientation, icc));
    return path;
  }
  std::string ppm = dir.Write("picture.ppm", Ppm_of(picture));
  std::string made = dir.Native("made");
  switch (format) {
    case Format::kJpeg:
      Shell("convert " + ppm + " -quality 95 jpg:" + made);
      break;
    case Format::kPng:
      Shell("convert " + ppm + " png:" + made);
      break;
    case Format::kWebp:
      Shell("convert " + ppm + " png:" + made + ".png && cwebp -quiet -lossless " + made +
            ".png -o " + made);
      break;
    case Format::kTiff:
      Shell("convert " + ppm + " tif:" + made);
      break;
    case Format::kHeif:
      break;
  }
  std::string tags;
  if (orientation != 1) tags += " -Orientation#=" + std::to_string(orientation);
  if (p3) tags += " \"-icc_profile<=" + dir.Write("p3.icc", icc) + "\"";
  if (!tags.empty()) Shell("exiftool -q -overwrite_original" + tags + " " + made);
  std::rename(made.c_str(), path.c_str());
  return path;
}

Rgb Patch_mean(const RgbImage& image, int x0, int y0, int side) {
  long sum[3] = {0, 0, 0};
  for (int y = y0; y < y0 + side; ++y)
    for (int x = x0; x < x0 + side; ++x)
      for (int c = 0; c < 3; ++c) sum[c] += image.row(y)[x * 3 + c];
  int n = side * side;
  return {int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)};
}

TEST(PictureFormats, EveryFormatComesOutUprightInTheColoursOfItsProfile) {
  if (!Shell("convert -version") || !Shell("cwebp -version") || !Shell("exiftool -ver"))
    GTEST_SKIP() << "ImageMagick, cwebp and exiftool make the pictures";
  Rgb p3_shown = P3_colour_in_srgb(kColour);
  ASSERT_FALSE(testing::Near(p3_shown, kColour, 8)) << "the profile must matter";
  const char* names[] = {"JPEG", "PNG", "WebP", "TIFF", "HEIF"};
  for (Format format : {Format::kJpeg, Format::kPng, Format::kWebp, Format::kTiff, Format::kHeif})
    for (auto [orientation, p3] : {std::pair{1, false}, std::pair{6, true}, std::pair{3, false}}) {
      SCOPED_TRACE(std::string(names[int(format)]) + " orientation " + std::to_string(orientation) +
                   (p3 ? " P3" : " untagged"));
      TempDir dir;
      ArchiveJpegs copies = Make_archive_jpegs(Make_picture(dir, format, orientation, p3));
      ASSERT_TRUE(copies.readable) << int(copies.reading.problem);
      EXPECT_FALSE(copies.reading.incomplete);
      RgbImage shown = testing::Decoded(copies.display);
      bool turned = orientation == 6;
      ASSERT_EQ(shown.size(), turned ? (PixelSize{kHeight, kWidth}) : (PixelSize{kWidth, kHeight}));
      // The stored top-left corner: top right when turned a quarter
      // clockwise, bottom right when turned half.
      int w = shown.width(), h = shown.height();
      auto [corner_x, corner_y] = orientation == 1   ? std::pair{4, 4}
                                  : orientation == 6 ? std::pair{w - 5, 4}
                                                     : std::pair{w - 5, h - 5};
      EXPECT_TRUE(testing::Near(testing::Pixel(shown, corner_x, corner_y), {0, 0, 0}, 40));
      Rgb patch = Patch_mean(shown, w / 2 - 5, h / 2 - 5, 10);
      Rgb expected = p3 ? p3_shown : kColour;
      EXPECT_TRUE(testing::Near(patch, expected, 8))
          << patch.r << "," << patch.g << "," << patch.b << " for " << expected.r << ","
          << expected.g << "," << expected.b;
    }
}

TEST(PictureFormats, AreToldByTheirFirstBytes) {
  struct Case {
    std::string head;
    PictureFormat format;
  } cases[] = {
      {"\xFF\xD8\xFF\xE0", PictureFormat::kJpeg},
      {"\x89PNG\r\n\x1A\n", PictureFormat::kPng},
      {std::string("RIFF\x10\0\0\0WEBPVP8 ", 16), PictureFormat::kWebp},
      {std::string("RIFF\x10\0\0\0WAVEfmt ", 16), PictureFormat::kUnknown},
      {std::string("II*\0", 4), PictureFormat::kTiff},
      {std::string("MM\0*", 4), PictureFormat::kTiff},
      {std::string("\0\0\0\x18"
                   "ftypheic",
                   12),
       PictureFormat::kHeif},
      {std::string("\0\0\0\x18"
                   "ftypmif1",
                   12),
       PictureFormat::kHeif},
      {std::string("\0\0\0\x18"
                   "ftypqt  ",
                   12),
       PictureFormat::kUnknown},  // a .mov
      {"GIF89a", PictureFormat::kGif},
      {"\xFF\xD8", PictureFormat::kUnknown},
      {"", PictureFormat::kUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(Picture_format_of(c.head), c.format) << c.head;
}

TEST(PictureFormats, AnSrgbProfileIsRecognisedAndCostsNothing) {
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(srgb, nullptr, &size);
  std::string bytes(size, '\0');
  cmsSaveProfileToMem(srgb, bytes.data(), &size);
  cmsCloseProfile(srgb);
  EXPECT_TRUE(Is_srgb_profile(bytes));
  EXPECT_FALSE(Is_srgb_profile(testing::Display_p3_profile()));
  EXPECT_FALSE(Is_srgb_profile("not a profile"));
  RgbImage image = testing::Filled(4, 4, kColour);
  Convert_to_srgb(image, bytes);
  EXPECT_TRUE(testing::Near(testing::Pixel(image, 1, 1), kColour, 0));
  Convert_to_srgb(image, "damaged");
  EXPECT_TRUE(testing::Near(testing::Pixel(image, 1, 1), kColour, 0));
}

// The first frame header's bytes of a JPEG, to make it claim what it is not.
std::string With_frame(std::string jpeg, int precision, int width, int height) {
  size_t sof = jpeg.find("\xFF\xC0");
  jpeg[sof + 4] = char(precision);
  jpeg[sof + 5] = char(height >> 8), jpeg[sof + 6] = char(height & 0xFF);
  jpeg[sof + 7] = char(width >> 8), jpeg[sof + 8] = char(width & 0xFF);
  return jpeg;
}

TEST(PictureFormats, WhatCannotBeReadSaysWhyAndWhatIsCutShortIsKept) {
  std::string jpeg = testing::Marked_jpeg(640, 480, 1);
  struct Case {
    const char* name;
    std::string bytes;
    bool readable;
    bool incomplete;
    ReadProblem problem;
  } cases[] = {
      {"whole", jpeg, true, false, ReadProblem::kNone},
      {"without its end marker", jpeg.substr(0, jpeg.size() - 2), true, true, ReadProblem::kNone},
      {"cut in half", jpeg.substr(0, jpeg.size() / 2), true, true, ReadProblem::kNone},
      {"cut in its header", jpeg.substr(0, 100), false, true, ReadProblem::kIncompleteUnreadable},
      {"12-bit", With_frame(jpeg, 12, 640, 480), false, false, ReadProblem::kTwelveBit},
      {"too wide", With_frame(jpeg, 8, 30001, 2000), false, false, ReadProblem::kTooLarge},
      {"empty", "", false, false, ReadProblem::kEmpty},
      {"text", "not a picture at all", false, false, ReadProblem::kNotPicture},
      {"GIF", "GIF89a\x01\x00\x01\x00", false, false, ReadProblem::kUnsupportedFormat},
      {"PNG cut short", std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16), false, false,
       ReadProblem::kDamaged},
      {"HEIF box only",
       std::string("\0\0\0\x18"
                   "ftypheic\0\0\0\0mif1heic",
                   24),
       false, false, ReadProblem::kDamaged},
      {"TIFF header only", std::string("II*\0\x08\0\0\0", 8), false, false, ReadProblem::kDamaged},
      {"WebP header only", std::string("RIFF\x04\0\0\0WEBPVP8 ", 16), false, false,
       ReadProblem::kDamaged},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ArchiveJpegs copies = Make_archive_jpegs(dir.Write("picture", c.bytes));
    EXPECT_EQ(copies.readable, c.readable);
    EXPECT_EQ(copies.reading.incomplete, c.incomplete);
    if (!c.readable) EXPECT_EQ(copies.reading.problem, c.problem);
  }
  ArchiveJpegs wide = Make_archive_jpegs(dir.Write("wide", With_frame(jpeg, 8, 30001, 2000)));
  EXPECT_EQ(wide.reading.size, (PixelSize{30001, 2000}));
}

}  // namespace
}  // namespace zendrel
