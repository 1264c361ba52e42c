#include "imaging/resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zendrel {
namespace {

constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;

double Kernel(double x) {
  x = std::fabs(x);
  if (x < 1) return (1.5 * x - 2.5) * x * x + 1;
  if (x < 2) return ((-0.5 * x + 2.5) * x - 4) * x + 2;
  return 0;
}
constexpr double kKernelRadius = 2;

// For each output position along one axis: the first source position and the
// fixed-point weights of the sources from there on, summing to kOne.
struct AxisTaps {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<int32_t> weights;  // `width` entries per output position
  int width = 0;
};

AxisTaps Taps_for(int in_size, int out_size) {
  AxisTaps taps;
  double scale = double(in_size) / out_size;
  double stretch = std::max(scale, 1.0);
  double support = kKernelRadius * stretch;
  taps.width = int(std::ceil(support)) * 2 + 1;
  taps.first.resize(out_size);
  taps.count.resize(out_size);
  taps.weights.assign(size_t(out_size) * taps.width, 0);
  std::vector<double> raw(taps.width);
  for (int i = 0; i < out_size; ++i) {
    double center = (i + 0.5) * scale;
    int lo = std::max(0, int(std::floor(center - support)));
    int hi = std::min(in_size, int(std::ceil(center + support)));
    hi = std::min(hi, lo + taps.width);
    double total = 0;
    for (int j = lo; j < hi; ++j) total += raw[j - lo] = Kernel((j + 0.5 - center) / stretch);
    int32_t* w = &taps.weights[size_t(i) * taps.width];
    int sum = 0, largest = 0;
    for (int j = 0; j < hi - lo; ++j) {
      w[j] = int32_t(std::lround(raw[j] / total * kOne));
      sum += w[j];
      if (w[j] > w[largest]) largest = j;
    }
    w[largest] += kOne - sum;  // rounding must not brighten or darken
    taps.first[i] = lo;
    taps.count[i] = hi - lo;
  }
  return taps;
}

inline uint8_t Clamp_round(int32_t sum) {
  sum = (sum + (kOne >> 1)) >> kWeightBits;
  return uint8_t(sum < 0 ? 0 : sum > 255 ? 255 : sum);
}

// Rows first: this pass runs over contiguous bytes and vectorises well.
RgbImage Resize_rows(const RgbImage& in, int out_height) {
  AxisTaps taps = Taps_for(in.height(), out_height);
  RgbImage out(in.width(), out_height);
  const size_t n = in.stride();
  std::vector<int32_t> sum(n);
  for (int y = 0; y < out_height; ++y) {
    const int32_t* w = &taps.weights[size_t(y) * taps.width];
    std::fill(sum.begin(), sum.end(), 0);
    for (int t = 0; t < taps.count[y]; ++t) {
      const uint8_t* source = in.row(taps.first[y] + t);
      const int32_t weight = w[t];
      int32_t* s = sum.data();
      for (size_t i = 0; i < n; ++i) s[i] += weight * source[i];
    }
    uint8_t* target = out.row(y);
    for (size_t i = 0; i < n; ++i) target[i] = Clamp_round(sum[i]);
  }
  return out;
}

RgbImage Resize_columns(const RgbImage& in, int out_width) {
  AxisTaps taps = Taps_for(in.width(), out_width);
  RgbImage out(out_width, in.height());
  for (int y = 0; y < in.height(); ++y) {
    const uint8_t* source = in.row(y);
    uint8_t* target = out.row(y);
    for (int x = 0; x < out_width; ++x, target += 3) {
      const int32_t* w = &taps.weights[size_t(x) * taps.width];
      const uint8_t* p = source + taps.first[x] * 3;
      int32_t r = 0, g = 0, b = 0;
      for (int t = 0; t < taps.count[x]; ++t, p += 3) {
        r += w[t] * p[0];
        g += w[t] * p[1];
        b += w[t] * p[2];
      }
      target[0] = Clamp_round(r);
      target[1] = Clamp_round(g);
      target[2] = Clamp_round(b);
    }
  }
  return out;
}

}  // namespace

RgbImage Resized(const RgbImage& image, PixelSize size) {
  if (image.empty() || size.width < 1 || size.height < 1) return {};
  if (image.height() != size.height) {
    RgbImage rows = Resize_rows(image, size.height);
    return image.width() == size.width ? std::move(rows) : Resize_columns(rows, size.width);
  }
  if (image.width() != size.width) return Resize_columns(image, size.width);
  RgbImage copy(image.width(), image.height());
  std::memcpy(copy.data(), image.data(), image.stride() * image.height());
  return copy;
}

PixelSize Fit_within(PixelSize size, PixelSize box, bool enlarge) {
  if (size.width < 1 || size.height < 1) return {0, 0};
  if (!enlarge && size.width <= box.width && size.height <= box.height) return size;
  long long w = size.width, h = size.height;
  if (w * box.height >= h * box.width) {  // the width limits
    return {box.width, int(std::max(1LL, (h * box.width * 2 + w) / (2 * w)))};
  }
  return {int(std::max(1LL, (w * box.height * 2 + h) / (2 * h))), box.height};
}

}  // namespace zendrel
