// The memory that decoding pictures may take at once, for the whole run.
// A JPEG that comes in several scans (progressive, or sequential with its
// components in scans of their own) is decoded through a buffer of all its
// coefficients,
// whatever size it is scaled to, so a small file whose header claims a huge
// picture would take gigabytes; a run over several of them on several
// threads, several times that. Each decode first takes its estimate from
// one budget, waiting while other pictures hold it; a picture whose
// estimate alone exceeds the budget is refused. Safe on several threads.
#pragma once

#include <cstddef>
#include <string_view>

namespace zendrel {

inline constexpr size_t kDecodeBudgetBytes = size_t(1) << 30;

// What decoding `jpeg` of `width` by `height` pixels to `scaled_pixels`
// may take at most.
size_t Decode_memory_estimate(std::string_view jpeg, int width, int height,
                              long long scaled_pixels);

// What decoding a whole picture of `pixels` from a file of `file_bytes`
// may take: its RGB result, the decoder's own `working_bytes_per_pixel`
// and the working copy that is resampled from it.
size_t Full_decode_estimate(size_t file_bytes, long long pixels, int working_bytes_per_pixel);

// True when the JPEG's frame is progressive (its whole coefficients are
// held while it is decoded).
bool Is_progressive_jpeg(std::string_view jpeg);
// True when libjpeg holds the whole image's coefficients while decoding
// it: a picture in several scans, however coded.
bool Holds_all_coefficients(std::string_view jpeg);

// A share of the budget, held while it lives. `bytes` above the whole
// budget is refused at once: granted() is false.
class DecodeAllowance {
 public:
  explicit DecodeAllowance(size_t bytes);
  ~DecodeAllowance();
  DecodeAllowance(const DecodeAllowance&) = delete;
  DecodeAllowance& operator=(const DecodeAllowance&) = delete;
  bool granted() const { return granted_; }

 private:
  size_t bytes_;
  bool granted_ = false;
};

}  // namespace zendrel
