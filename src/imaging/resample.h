// Downscaling (and, for tiny thumbnails, enlarging) of RGB pictures with a
// separable filter: a Catmull-Rom cubic widened by the scale ratio, so that
// every source pixel contributes when shrinking (no aliasing) and edges stay
// crisp. Fixed-point arithmetic. Pure; safe on any thread.
#pragma once

#include "imaging/rgb_image.h"

namespace zendrel {

// `image` resampled to `size` (a plain copy when the size already matches).
RgbImage Resized(const RgbImage& image, PixelSize size);

// The largest size of the proportions of `size` that fits within `box`.
// With `enlarge` false a size that already fits is kept as it is.
PixelSize Fit_within(PixelSize size, PixelSize box, bool enlarge);

}  // namespace zendrel
