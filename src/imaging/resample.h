// Downscaling (and, for tiny thumbnails, enlarging) of RGB pictures with a
// separable filter: a Catmull-Rom cubic widened by the scale ratio, so that
// every source pixel contributes when shrinking (no aliasing) and edges stay
// crisp. Fixed-point arithmetic. Pure; safe on any thread.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/rgb_image.h"

namespace zendrel {

// Intermediate pictures of one resampling, kept for the next.
struct ResampleScratch {
  RgbImage turned;            // resampled along the vertical, turned
  std::vector<uint8_t> band;  // a few rows on their way to being turned
};

// `image` resampled to `size` into `out` (a plain copy when the size already
// matches). `out` must not be `image`.
void Resize_into(const RgbImage& image, PixelSize size, ResampleScratch& scratch, RgbImage* out);

// The same, with scratch of its own.
RgbImage Resized(const RgbImage& image, PixelSize size);

// The largest size of the proportions of `size` that fits within `box`.
// With `enlarge` false a size that already fits is kept as it is.
PixelSize Fit_within(PixelSize size, PixelSize box, bool enlarge);

}  // namespace zendrel
