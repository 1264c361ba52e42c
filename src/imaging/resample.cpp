#include "imaging/resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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
  std::vector<int16_t> weights;  // `width` entries per output position
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
    int16_t* w = &taps.weights[size_t(i) * taps.width];
    int sum = 0, largest = 0;
    for (int j = 0; j < hi - lo; ++j) {
      w[j] = int16_t(std::lround(raw[j] / total * kOne));
      sum += w[j];
      if (w[j] > w[largest]) largest = j;
    }
    w[largest] = int16_t(w[largest] + kOne - sum);  // rounding must not brighten or darken
    taps.first[i] = lo;
    taps.count[i] = hi - lo;
  }
  return taps;
}

inline uint8_t Clamp_round(int32_t sum) {
  sum = (sum + (kOne >> 1)) >> kWeightBits;
  return uint8_t(sum < 0 ? 0 : sum > 255 ? 255 : sum);
}

void Filter_bytes_plain(const uint8_t* const* rows, const int16_t* weights, int taps, size_t from,
                        size_t n, uint8_t* out) {
  for (size_t i = from; i < n; ++i) {
    int32_t sum = 0;
    for (int t = 0; t < taps; ++t) sum += weights[t] * rows[t][i];
    out[i] = Clamp_round(sum);
  }
}

#if defined(__SSE2__) && defined(__GNUC__)
// The weights of two taps, for one multiply-add of interleaved pixel pairs.
inline int32_t Weight_pair(const int16_t* weights, int t, int taps) {
  uint16_t second = t + 1 < taps ? uint16_t(weights[t + 1]) : 0;
  return int32_t(uint32_t(uint16_t(weights[t])) | uint32_t(second) << 16);
}

// Sixteen bytes at a time, two source rows per multiply-add.
size_t Filter_bytes_sse2(const uint8_t* const* rows, const int16_t* weights, int taps, size_t n,
                         uint8_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi32(kOne >> 1);
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i s0 = half, s1 = half, s2 = half, s3 = half;
    for (int t = 0; t < taps; t += 2) {
      __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + i));
      __m128i b =
          t + 1 < taps ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t + 1] + i)) : zero;
      __m128i w = _mm_set1_epi32(Weight_pair(weights, t, taps));
      __m128i a_lo = _mm_unpacklo_epi8(a, zero), a_hi = _mm_unpackhi_epi8(a, zero);
      __m128i b_lo = _mm_unpacklo_epi8(b, zero), b_hi = _mm_unpackhi_epi8(b, zero);
      s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi16(a_lo, b_lo), w));
      s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi16(a_lo, b_lo), w));
      s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi16(a_hi, b_hi), w));
      s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi16(a_hi, b_hi), w));
    }
    s0 = _mm_srai_epi32(s0, kWeightBits);
    s1 = _mm_srai_epi32(s1, kWeightBits);
    s2 = _mm_srai_epi32(s2, kWeightBits);
    s3 = _mm_srai_epi32(s3, kWeightBits);
    __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(s0, s1), _mm_packs_epi32(s2, s3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), bytes);
  }
  return i;
}

// The same, thirty-two bytes at a time, on processors that have AVX2. The
// unpacking and packing stay within 128-bit lanes, so bytes keep their order.
__attribute__((target("avx2"))) size_t Filter_bytes_avx2(const uint8_t* const* rows,
                                                         const int16_t* weights, int taps, size_t n,
                                                         uint8_t* out) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i half = _mm256_set1_epi32(kOne >> 1);
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i s0 = half, s1 = half, s2 = half, s3 = half;
    for (int t = 0; t < taps; t += 2) {
      __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[t] + i));
      __m256i b = t + 1 < taps
                      ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[t + 1] + i))
                      : zero;
      __m256i w = _mm256_set1_epi32(Weight_pair(weights, t, taps));
      __m256i a_lo = _mm256_unpacklo_epi8(a, zero), a_hi = _mm256_unpackhi_epi8(a, zero);
      __m256i b_lo = _mm256_unpacklo_epi8(b, zero), b_hi = _mm256_unpackhi_epi8(b, zero);
      s0 = _mm256_add_epi32(s0, _mm256_madd_epi16(_mm256_unpacklo_epi16(a_lo, b_lo), w));
      s1 = _mm256_add_epi32(s1, _mm256_madd_epi16(_mm256_unpackhi_epi16(a_lo, b_lo), w));
      s2 = _mm256_add_epi32(s2, _mm256_madd_epi16(_mm256_unpacklo_epi16(a_hi, b_hi), w));
      s3 = _mm256_add_epi32(s3, _mm256_madd_epi16(_mm256_unpackhi_epi16(a_hi, b_hi), w));
    }
    s0 = _mm256_srai_epi32(s0, kWeightBits);
    s1 = _mm256_srai_epi32(s1, kWeightBits);
    s2 = _mm256_srai_epi32(s2, kWeightBits);
    s3 = _mm256_srai_epi32(s3, kWeightBits);
    __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(s0, s1), _mm256_packs_epi32(s2, s3));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), bytes);
  }
  return i;
}

// out[i] = sum of weights[t] * rows[t][i], rounded and clamped, for i < n.
void Filter_bytes(const uint8_t* const* rows, const int16_t* weights, int taps, size_t n,
                  uint8_t* out) {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  size_t done = avx2 ? Filter_bytes_avx2(rows, weights, taps, n, out)
                     : Filter_bytes_sse2(rows, weights, taps, n, out);
  Filter_bytes_plain(rows, weights, taps, done, n, out);
}
#else
void Filter_bytes(const uint8_t* const* rows, const int16_t* weights, int taps, size_t n,
                  uint8_t* out) {
  Filter_bytes_plain(rows, weights, taps, 0, n, out);
}
#endif

// Resamples along the vertical: each output row is a weighted sum of whole
// source rows, which runs over contiguous bytes.
void Resize_rows(const RgbImage& in, int out_height, RgbImage& out) {
  AxisTaps taps = Taps_for(in.height(), out_height);
  out.Reshape(in.width(), out_height);
  std::vector<const uint8_t*> rows(taps.width);
  for (int y = 0; y < out_height; ++y) {
    for (int t = 0; t < taps.count[y]; ++t) rows[t] = in.row(taps.first[y] + t);
    Filter_bytes(rows.data(), &taps.weights[size_t(y) * taps.width], taps.count[y], in.stride(),
                 out.row(y));
  }
}

// The same, written with rows and columns exchanged: `out` is out_height
// wide and in.width() high. Rows are made a band at a time and then laid
// down as short runs of each output row, which keeps the writes cheap.
void Resize_rows_turned(const RgbImage& in, int out_height, std::vector<uint8_t>& band,
                        RgbImage& out) {
  constexpr int kBand = 16;
  AxisTaps taps = Taps_for(in.height(), out_height);
  out.Reshape(out_height, in.width());
  const size_t n = in.stride();
  band.resize(n * kBand);
  std::vector<const uint8_t*> rows(taps.width);
  for (int y0 = 0; y0 < out_height; y0 += kBand) {
    int count = std::min(kBand, out_height - y0);
    for (int k = 0; k < count; ++k) {
      int y = y0 + k;
      for (int t = 0; t < taps.count[y]; ++t) rows[t] = in.row(taps.first[y] + t);
      Filter_bytes(rows.data(), &taps.weights[size_t(y) * taps.width], taps.count[y], n,
                   band.data() + n * k);
    }
    for (int x = 0; x < in.width(); ++x) {
      uint8_t* target = out.row(x) + size_t(y0) * 3;
      const uint8_t* source = band.data() + size_t(x) * 3;
      for (int k = 0; k < count; ++k, target += 3, source += n) {
        target[0] = source[0];
        target[1] = source[1];
        target[2] = source[2];
      }
    }
  }
}

// Exchanges rows and columns, in tiles that stay in the cache.
void Transpose(const RgbImage& in, RgbImage& out) {
  constexpr int kTile = 32;
  out.Reshape(in.height(), in.width());
  for (int y0 = 0; y0 < in.height(); y0 += kTile) {
    int y1 = std::min(in.height(), y0 + kTile);
    for (int x0 = 0; x0 < in.width(); x0 += kTile) {
      int x1 = std::min(in.width(), x0 + kTile);
      for (int x = x0; x < x1; ++x) {
        uint8_t* target = out.row(x) + y0 * 3;
        const uint8_t* source = in.row(y0) + x * 3;
        for (int y = y0; y < y1; ++y, target += 3, source += in.stride()) {
          target[0] = source[0];
          target[1] = source[1];
          target[2] = source[2];
        }
      }
    }
  }
}

}  // namespace

void Resize_into(const RgbImage& image, PixelSize size, ResampleScratch& scratch, RgbImage* out) {
  if (image.empty() || size.width < 1 || size.height < 1) {
    out->Clear();
    return;
  }
  if (image.size() == size) {
    out->Reshape(image.width(), image.height());
    std::memcpy(out->data(), image.data(), image.stride() * image.height());
    return;
  }
  if (image.width() == size.width) return Resize_rows(image, size.height, *out);
  // Two vertical passes, each writing its result turned: the second one
  // resamples the columns and turns the picture back.
  if (image.height() != size.height) {
    Resize_rows_turned(image, size.height, scratch.band, scratch.turned);
  } else {
    Transpose(image, scratch.turned);
  }
  Resize_rows_turned(scratch.turned, size.width, scratch.band, *out);
}

RgbImage Resized(const RgbImage& image, PixelSize size) {
  ResampleScratch scratch;
  RgbImage out;
  Resize_into(image, size, scratch, &out);
  return out;
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
