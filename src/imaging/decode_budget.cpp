#include "imaging/decode_budget.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace zendrel {
namespace {

std::mutex g_mutex;
std::condition_variable g_released;
size_t g_in_use = 0;

}  // namespace

namespace {

// What the headers before the first scan say about the frame.
struct FrameHeader {
  bool found = false;
  bool progressive = false;
  int components = 0;
  int h[4] = {}, v[4] = {};  // sampling factors of the first four components
  int first_scan_components = 0;
  size_t first_scan = 0;  // where the first start-of-scan marker is
};

unsigned Byte(std::string_view jpeg, size_t at) {
  return at < jpeg.size() ? static_cast<unsigned char>(jpeg[at]) : 0;
}

FrameHeader Read_frame_header(std::string_view jpeg) {
  FrameHeader frame;
  size_t at = 2;  // after the start of image
  while (at + 4 <= jpeg.size()) {
    if (Byte(jpeg, at) != 0xFF) break;
    unsigned marker = Byte(jpeg, at + 1);
    if (marker == 0xFF) {
      ++at;  // fill byte
      continue;
    }
    if (marker == 0xD9) break;
    size_t length = size_t(Byte(jpeg, at + 2)) << 8 | Byte(jpeg, at + 3);
    // Every start-of-frame marker but the tables' C4, C8 and CC;
    // progressive coding: C2, C6, CA, CE.
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC &&
        !frame.found) {
      frame.found = true;
      frame.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
      frame.components = int(Byte(jpeg, at + 9));
      for (int c = 0; c < frame.components && c < 4; ++c) {
        unsigned sampling = Byte(jpeg, at + 11 + 3 * size_t(c));
        frame.h[c] = std::max(1u, sampling >> 4);
        frame.v[c] = std::max(1u, sampling & 15);
      }
    }
    if (marker == 0xDA) {
      frame.first_scan_components = int(Byte(jpeg, at + 4));
      frame.first_scan = at;
      break;
    }
    at += 2 + length;
  }
  return frame;
}

// Another start-of-scan marker before the end of the image: entropy-coded
// data stuffs every FF byte with a 00, so FF DA and FF D9 appear there only
// as markers. (A thumbnail in the Exif block comes before the first scan,
// a camera's preview images after the end: neither counts.)
bool Has_several_scans(std::string_view jpeg, size_t first_scan) {
  if (first_scan == 0) return false;
  size_t end = jpeg.find("\xFF\xD9", first_scan + 2);
  size_t next = jpeg.find("\xFF\xDA", first_scan + 2);
  return next != std::string_view::npos && next < end;
}

size_t Round_up(size_t n, size_t step) { return (n + step - 1) / step * step; }

// libjpeg's buffer of all coefficients: two bytes for each of the 64 of
// every block of every component, the blocks padded to whole MCUs.
size_t Coefficient_bytes(const FrameHeader& frame, int width, int height) {
  int components = std::max(frame.components, 1);
  int h_max = 1, v_max = 1;
  for (int c = 0; c < components && c < 4; ++c) {
    h_max = std::max(h_max, frame.h[c]);
    v_max = std::max(v_max, frame.v[c]);
  }
  size_t bytes = 0;
  for (int c = 0; c < components; ++c) {
    // Components past the fourth (no picture has them) count as the fullest.
    size_t h = c < 4 ? size_t(frame.h[c]) : size_t(h_max);
    size_t v = c < 4 ? size_t(frame.v[c]) : size_t(v_max);
    h = std::max<size_t>(h, 1);
    v = std::max<size_t>(v, 1);
    size_t columns = (size_t(width) * h + size_t(h_max) - 1) / size_t(h_max);
    size_t rows = (size_t(height) * v + size_t(v_max) - 1) / size_t(v_max);
    bytes += Round_up((columns + 7) / 8, h) * Round_up((rows + 7) / 8, v) * 64 * 2;
  }
  return bytes;
}

}  // namespace

bool Is_progressive_jpeg(std::string_view jpeg) { return Read_frame_header(jpeg).progressive; }

bool Holds_all_coefficients(std::string_view jpeg) {
  FrameHeader frame = Read_frame_header(jpeg);
  // libjpeg keeps the whole image's coefficients whenever the picture
  // comes in more than one scan: progressive (Huffman or arithmetic), or
  // sequential with a first scan of fewer components than the frame.
  return frame.progressive ||
         (frame.first_scan_components > 0 && frame.first_scan_components < frame.components) ||
         Has_several_scans(jpeg, frame.first_scan);
}

size_t Decode_memory_estimate(std::string_view jpeg, int width, int height,
                              long long scaled_pixels) {
  // Four bytes a pixel of the scaled output (CMYK), twice for the working copy.
  size_t coefficients =
      Holds_all_coefficients(jpeg) ? Coefficient_bytes(Read_frame_header(jpeg), width, height) : 0;
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
