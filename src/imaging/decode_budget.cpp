#include "imaging/decode_budget.h"

#include <condition_variable>
#include <mutex>

namespace zendrel {
namespace {

std::mutex g_mutex;
std::condition_variable g_released;
size_t g_in_use = 0;

}  // namespace

bool Is_progressive_jpeg(std::string_view jpeg) {
  size_t at = 2;  // after the start of image
  while (at + 4 <= jpeg.size()) {
    if (static_cast<unsigned char>(jpeg[at]) != 0xFF) return false;
    unsigned char marker = static_cast<unsigned char>(jpeg[at + 1]);
    if (marker == 0xFF) {
      ++at;  // fill byte
      continue;
    }
    // The start-of-frame markers of progressive coding: C2, C6, CA, CE.
    if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE) return true;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return false;  // another frame: sequential
    if (marker == 0xDA || marker == 0xD9) return false;
    size_t length = size_t(static_cast<unsigned char>(jpeg[at + 2])) << 8 |
                    static_cast<unsigned char>(jpeg[at + 3]);
    at += 2 + length;
  }
  return false;
}

size_t Decode_memory_estimate(std::string_view jpeg, int width, int height,
                              long long scaled_pixels) {
  size_t pixels = size_t(width) * size_t(height);
  // Three components of two-byte coefficients, as if none were subsampled;
  // four bytes a pixel of the scaled output (CMYK), twice for the working copy.
  size_t coefficients = Is_progressive_jpeg(jpeg) ? pixels * 3 * 2 : 0;
  return jpeg.size() + coefficients + size_t(scaled_pixels) * 4 * 2;
}

size_t Full_decode_estimate(size_t file_bytes, long long pixels, int working_bytes_per_pixel) {
  return file_bytes + size_t(pixels) * (3 * 2 + size_t(working_bytes_per_pixel));
}

DecodeAllowance::DecodeAllowance(size_t bytes) : bytes_(bytes) {
  if (bytes_ > kDecodeBudgetBytes) return;
  std::unique_lock lock(g_mutex);
  g_released.wait(lock, [&] { return g_in_use + bytes_ <= kDecodeBudgetBytes; });
  g_in_use += bytes_;
  granted_ = true;
}

DecodeAllowance::~DecodeAllowance() {
  if (!granted_) return;
  {
    std::lock_guard lock(g_mutex);
    g_in_use -= bytes_;
  }
  g_released.notify_all();
}

}  // namespace zendrel
