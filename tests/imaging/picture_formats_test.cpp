// Every picture format a phone or camera leaves, made at test time by the
// formats' own tools (ImageMagick, cwebp, exiftool) and library (libheif),
// through the scaler: upright, in the colours a browser shows for the
// original, and the true reason when a picture cannot be read.
#include <gtest/gtest.h>
#include <lcms2.h>
#include <libheif/heif.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "imaging/archive_jpegs.h"
#include "imaging/color_profile.h"
#include "imaging/heif_grid.h"
#include "imaging/jpeg_layout.h"
#include "imaging/picture_format.h"
#include "imaging/picture_test_util.h"
#include "support/cmyk_profile.h"
#include "support/display_p3.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::Rgb;
using testing::TempDir;

constexpr Rgb kColour{200, 60, 40};
constexpr uint8_t kInks[4] = {30, 160, 200, 20};  // cyan, magenta, yellow, black
constexpr int kWidth = 120, kHeight = 80;

// What LittleCMS makes of `in` (RGB or CMYK, as the profile says): the
// browser's view of it.
Rgb Lcms_srgb(const std::string& profile, const uint8_t* in) {
  cmsHPROFILE input = cmsOpenProfileFromMem(profile.data(), cmsUInt32Number(profile.size()));
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  bool cmyk = cmsGetColorSpace(input) == cmsSigCmykData;
  cmsHTRANSFORM transform = cmsCreateTransform(input, cmyk ? TYPE_CMYK_8 : TYPE_RGB_8, srgb,
                                               TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
  uint8_t out[3];
  cmsDoTransform(transform, in, out, 1);
  cmsDeleteTransform(transform);
  cmsCloseProfile(input);
  cmsCloseProfile(srgb);
  return {out[0], out[1], out[2]};
}

Rgb P3_colour_in_srgb(Rgb colour) {
  uint8_t in[3] = {uint8_t(colour.r), uint8_t(colour.g), uint8_t(colour.b)};
  return Lcms_srgb(testing::Display_p3_profile(), in);
}

// Inks without a profile, mixed as they are today.
Rgb Plain_inks(const uint8_t* inks) {
  auto mix = [&](int c) { return (255 - inks[c]) * (255 - inks[3]) / 255; };
  return {mix(0), mix(1), mix(2)};
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

// A HEIC file through libheif, turned by its container's boxes; its colours
// in `icc`, or with `nclx_p3` in Display P3 given as nclx code points.
std::string Heic_of(const RgbImage& picture, int orientation, const std::string& icc,
                    bool nclx_p3) {
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
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    if (nclx_p3) {
      nclx->color_primaries = heif_color_primaries_SMPTE_EG_432_1;
      nclx->transfer_characteristics = heif_transfer_characteristic_IEC_61966_2_1;
      nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
      nclx->full_range_flag = 1;
      heif_image_set_nclx_color_profile(image, nclx);
    }
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(orientation);
    if (nclx_p3) {
      // Written as a colr box, which libheif leaves out by default for macOS.
      options->output_nclx_profile = nclx;
      options->macOS_compatibility_workaround_no_nclx_profile = 0;
    }
    heif_image_handle* handle = nullptr;
    heif_context_encode_image(context, image, encoder, options, &handle);
    // A phone writes the same turn into EXIF as well: it must not count twice.
    std::string tagged = With_orientation_tag(testing::Jpeg_of(picture), orientation);
    std::string_view exif = Read_jpeg_layout(tagged).exif;
    if (handle && orientation != 1)
      heif_context_add_exif_metadata(context, handle, exif.data(), int(exif.size()));
    if (handle) heif_image_handle_release(handle);
    heif_encoding_options_free(options);
    heif_nclx_color_profile_free(nclx);
    heif_writer writer{1, HeifWriter::Write};
    heif_context_write(context, &writer, &bytes);
    heif_image_release(image);
    heif_encoder_release(encoder);
  }
  heif_context_free(context);
  return bytes;
}

enum class Format { kJpeg, kPng, kWebp, kTiff, kHeif };
// How a picture gives its colours.
enum class Colours { kUntagged, kP3, kCmyk, kCmykProfile, kNclxP3 };

// The colour over the picture, its stored top-left corner black: as RGB,
// or as the inks `kInks` for CMYK.
std::string Raw_picture(Colours colours) {
  if (colours != Colours::kCmyk && colours != Colours::kCmykProfile) {
    RgbImage picture = Marked_picture();
    return Ppm_of(picture);
  }
  std::string inks;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      bool corner = x < kWidth / 5 && y < kHeight / 5;
      for (int c = 0; c < 4; ++c) inks += char(corner ? (c == 3 ? 255 : 0) : kInks[c]);
    }
  return inks;
}

// The picture in `format` under a name of another kind (the content
// decides), with `orientation` and its colours given as `colours` says.
std::string Make_picture(const TempDir& dir, Format format, int orientation, Colours colours) {
  std::string icc = colours == Colours::kP3            ? testing::Display_p3_profile()
                    : colours == Colours::kCmykProfile ? testing::Cmyk_profile()
                                                       : "";
  std::string path = dir.Native("picture.jpg");
  if (format == Format::kHeif) {
    dir.Write("picture.jpg",
              Heic_of(Marked_picture(), orientation, icc, colours == Colours::kNclxP3));
    return path;
  }
  bool cmyk = colours == Colours::kCmyk || colours == Colours::kCmykProfile;
  std::string raw = cmyk ? "-size " + std::to_string(kWidth) + "x" + std::to_string(kHeight) +
                               " -depth 8 cmyk:" + dir.Write("picture.cmyk", Raw_picture(colours))
                         : dir.Write("picture.ppm", Raw_picture(colours));
  std::string made = dir.Native("made");
  switch (format) {
    case Format::kJpeg:
      Shell("convert " + raw + " -quality 95 jpg:" + made);
      break;
    case Format::kPng:
      Shell("convert " + raw + " png:" + made);
      break;
    case Format::kWebp:
      Shell("convert " + raw + " png:" + made + ".png && cwebp -quiet -lossless " + made +
            ".png -o " + made);
      break;
    case Format::kTiff:
      Shell("convert " + raw + " tif:" + made);
      break;
    case Format::kHeif:
      break;
  }
  std::string tags;
  if (orientation != 1) tags += " -Orientation#=" + std::to_string(orientation);
  if (!icc.empty()) tags += " \"-icc_profile<=" + dir.Write("profile.icc", icc) + "\"";
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
  Rgb cmyk_shown = Lcms_srgb(testing::Cmyk_profile(), kInks);
  ASSERT_FALSE(testing::Near(p3_shown, kColour, 8)) << "the profile must matter";
  ASSERT_FALSE(testing::Near(cmyk_shown, Plain_inks(kInks), 8)) << "the profile must matter";
  const char* names[] = {"JPEG", "PNG", "WebP", "TIFF", "HEIF"};
  const char* colour_names[] = {" untagged", " P3", " CMYK", " CMYK with a profile", " nclx P3"};
  struct Case {
    Format format;
    int orientation;
    Colours colours;
  };
  std::vector<Case> cases;
  for (Format format : {Format::kJpeg, Format::kPng, Format::kWebp, Format::kTiff, Format::kHeif})
    for (auto [orientation, colours] :
         {std::pair{1, Colours::kUntagged}, std::pair{6, Colours::kP3},
          std::pair{3, Colours::kUntagged}})
      cases.push_back({format, orientation, colours});
  cases.insert(cases.end(), {{Format::kJpeg, 1, Colours::kCmykProfile},
                             {Format::kJpeg, 6, Colours::kCmyk},
                             {Format::kTiff, 6, Colours::kCmykProfile},
                             {Format::kTiff, 1, Colours::kCmyk},
                             {Format::kHeif, 6, Colours::kNclxP3}});
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(names[int(c.format)]) + " orientation " +
                 std::to_string(c.orientation) + colour_names[int(c.colours)]);
    TempDir dir;
    ArchiveJpegs copies = Make_archive_jpegs(Make_picture(dir, c.format, c.orientation, c.colours));
    ASSERT_TRUE(copies.readable) << int(copies.reading.problem);
    EXPECT_FALSE(copies.reading.incomplete);
    RgbImage shown = testing::Decoded(copies.display);
    bool turned = c.orientation == 6;
    ASSERT_EQ(shown.size(), turned ? (PixelSize{kHeight, kWidth}) : (PixelSize{kWidth, kHeight}));
    // The stored top-left corner: top right when turned a quarter
    // clockwise, bottom right when turned half.
    int w = shown.width(), h = shown.height();
    auto [corner_x, corner_y] = c.orientation == 1   ? std::pair{4, 4}
                                : c.orientation == 6 ? std::pair{w - 5, 4}
                                                     : std::pair{w - 5, h - 5};
    EXPECT_TRUE(testing::Near(testing::Pixel(shown, corner_x, corner_y), {0, 0, 0}, 40));
    Rgb patch = Patch_mean(shown, w / 2 - 5, h / 2 - 5, 10);
    Rgb expected = kColour;
    if (c.colours == Colours::kP3 || c.colours == Colours::kNclxP3) expected = p3_shown;
    if (c.colours == Colours::kCmyk) expected = Plain_inks(kInks);
    if (c.colours == Colours::kCmykProfile) expected = cmyk_shown;
    EXPECT_TRUE(testing::Near(patch, expected, 8))
        << patch.r << "," << patch.g << "," << patch.b << " for " << expected.r << "," << expected.g
        << "," << expected.b;
  }
}

// libheif makes a grid as large as its description says: one that says
// more than the container declares is refused before it is decoded.
TEST(PictureFormats, AHeifGridIsReadOnlyWithinTheSizeItDeclares) {
  std::ifstream file(std::string(ZENDREL_SOURCE_DIR) + "/fuzz/regressions/heif/seed",
                     std::ios::binary);
  std::stringstream read;
  read << file.rdbuf();
  const std::string seed = read.str();
  // A 16x12 grid of one tile, its description (8 bytes) in the idat box.
  constexpr size_t kDescription = 95;
  ASSERT_EQ(seed.substr(kDescription - 4, 4), "idat");
  auto with_description = [&](std::string description) {
    return seed.substr(0, kDescription) + description + seed.substr(kDescription + 8);
  };
  struct Case {
    const char* name;
    std::string bytes;
    HeifGrid kind;
    PixelSize grid;
    bool readable;
  } cases[] = {
      {"as declared", seed, HeifGrid::kSized, {16, 12}, true},
      {"a column more",
       with_description(std::string("\0\0\0\0\0\x11\0\x0C", 8)),
       HeifGrid::kSized,
       {17, 12},
       false},
      {"28672 square",
       with_description(std::string("\0\0\0\0\x70\0\x70\0", 8)),
       HeifGrid::kSized,
       {28672, 28672},
       false},
      {"32-bit sizes cut short",
       with_description(std::string("\0\x01\0\0\0\0\0\x10", 8)),
       HeifGrid::kUnreadable,
       {},
       false},
      {"not HEIF", "not a picture", HeifGrid::kNone, {}, false},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PixelSize grid;
    EXPECT_EQ(Read_heif_grid(c.bytes, &grid), c.kind);
    if (c.kind == HeifGrid::kSized) {
      EXPECT_EQ(grid, c.grid);
    }
    ArchiveJpegs copies = Make_archive_jpegs(dir.Write("picture.heic", c.bytes));
    EXPECT_EQ(copies.readable, c.readable);
  }
  PixelSize none;
  EXPECT_EQ(Read_heif_grid(Heic_of(Marked_picture(), 1, "", false), &none), HeifGrid::kNone);
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
