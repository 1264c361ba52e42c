// The run's budget for decoding: a small file whose header claims a huge
// progressive picture is refused without its gigabyte being taken, while
// a real photograph of 100 megapixels still fits.
#include "imaging/decode_budget.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <string>
#include <vector>

#include "imaging/archive_jpegs.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

std::string Jpeg(bool progressive, bool cmyk = false) {
  std::vector<unsigned char> pixels(64 * 48 * 4, 128);
  tjhandle handle = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  tjCompress2(handle, pixels.data(), 64, 0, 48, cmyk ? TJPF_CMYK : TJPF_RGB, &jpeg, &size,
              TJSAMP_444, 90, progressive ? TJFLAG_PROGRESSIVE : 0);
  std::string bytes(reinterpret_cast<char*>(jpeg), size);
  tjFree(jpeg);
  tjDestroy(handle);
  return bytes;
}

// The same file with its frame header claiming `width` by `height`.
std::string Claiming(std::string jpeg, int width, int height) {
  for (size_t at = 2; at + 9 < jpeg.size(); at++) {
    unsigned char marker = static_cast<unsigned char>(jpeg[at + 1]);
    if (static_cast<unsigned char>(jpeg[at]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
      jpeg[at + 5] = char(height >> 8);
      jpeg[at + 6] = char(height & 0xFF);
      jpeg[at + 7] = char(width >> 8);
      jpeg[at + 8] = char(width & 0xFF);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

// A sequential file whose first scan holds only the first component, as a
// file with one scan per component starts: libjpeg buffers it whole.
std::string First_scan_of_one_component(std::string jpeg) {
  size_t sos = jpeg.find("\xFF\xDA");
  if (sos == std::string::npos) {
    ADD_FAILURE() << "no scan";
    return jpeg;
  }
  jpeg[sos + 4] = 1;
  return jpeg;
}

// A second scan header after the first scan's data.
std::string With_second_scan(std::string jpeg) {
  size_t sos = jpeg.find("\xFF\xDA");
  size_t length = size_t(static_cast<unsigned char>(jpeg[sos + 2])) << 8 |
                  static_cast<unsigned char>(jpeg[sos + 3]);
  std::string header = jpeg.substr(sos, 2 + length);
  jpeg.insert(jpeg.size() - 2, header + std::string(16, '\0'));
  return jpeg;
}

TEST(DecodeBudget, EveryFileInSeveralScansCountsItsCoefficients) {
  struct Case {
    const char* what;
    std::string jpeg;
    bool whole;       // libjpeg holds all coefficients
    size_t at_least;  // the estimate for 14000 by 14000, with an eighth's output
  } cases[] = {
      {"baseline", Jpeg(false), false, 0},
      {"baseline, one component in the first scan", First_scan_of_one_component(Jpeg(false)), true,
       14000ULL * 14000 * 3 * 2},
      {"baseline, two scans", With_second_scan(Jpeg(false)), true, 14000ULL * 14000 * 3 * 2},
      {"progressive", Jpeg(true), true, 14000ULL * 14000 * 3 * 2},
      {"progressive CMYK", Jpeg(true, true), true, 14000ULL * 14000 * 4 * 2},
      {"baseline CMYK in scans of one component", First_scan_of_one_component(Jpeg(false, true)),
       true, 14000ULL * 14000 * 4 * 2},
  };
  for (const Case& c : cases) {
    std::string hostile = Claiming(c.jpeg, 14000, 14000);
    EXPECT_EQ(Holds_all_coefficients(hostile), c.whole) << c.what;
    size_t estimate = Decode_memory_estimate(hostile, 14000, 14000, 1750LL * 1750);
    EXPECT_GE(estimate, c.at_least) << c.what;
    if (c.whole) EXPECT_GT(estimate, kDecodeBudgetBytes) << c.what;
  }
  // Arithmetic coding: the progressive one is told by its frame marker.
  std::string arithmetic = Jpeg(true);
  arithmetic[arithmetic.find("\xFF\xC2") + 1] = char(0xCA);
  EXPECT_TRUE(Holds_all_coefficients(arithmetic));

  // A refused header is refused before anything is decoded.
  testing::TempDir dir;
  EXPECT_FALSE(
      Make_archive_jpegs(
          dir.Write("scans.jpg", Claiming(First_scan_of_one_component(Jpeg(false)), 14000, 14000)))
          .readable);
}

TEST(DecodeBudget, AHostileProgressiveHeaderIsRefusedAndRealPhotographsFit) {
  std::string hostile = Claiming(Jpeg(true), 14000, 14000);
  ASSERT_TRUE(Is_progressive_jpeg(hostile));
  EXPECT_FALSE(Is_progressive_jpeg(Jpeg(false)));
  EXPECT_GT(Decode_memory_estimate(hostile, 14000, 14000, 1750LL * 1750), kDecodeBudgetBytes);
  // 100 megapixels, progressive or not, scaled by an eighth as the display
  // copy's decode is.
  for (bool progressive : {false, true}) {
    std::string photo = Claiming(Jpeg(progressive), 12240, 8160);
    EXPECT_LT(Decode_memory_estimate(photo, 12240, 8160, 1530LL * 1020), kDecodeBudgetBytes);
  }

  testing::TempDir dir;
  ArchiveJpegs made = Make_archive_jpegs(dir.Write("hostile.jpg", hostile));
  EXPECT_FALSE(made.readable);
  EXPECT_TRUE(Make_archive_jpegs(dir.Write("fine.jpg", Jpeg(true))).readable);

  DecodeAllowance too_much(kDecodeBudgetBytes + 1);
  EXPECT_FALSE(too_much.granted());
  // Shares are given back: the whole budget can be taken again and again.
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(DecodeAllowance(kDecodeBudgetBytes).granted());
}

}  // namespace
}  // namespace zendrel
