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

std::string Jpeg(bool progressive) {
  std::vector<unsigned char> pixels(64 * 48 * 3, 128);
  tjhandle handle = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  tjCompress2(handle, pixels.data(), 64, 0, 48, TJPF_RGB, &jpeg, &size, TJSAMP_444, 90,
              progressive ? TJFLAG_PROGRESSIVE : 0);
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
