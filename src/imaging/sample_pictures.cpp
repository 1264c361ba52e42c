#include "imaging/sample_pictures.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "imaging/jpeg_codec.h"
#include "imaging/orientation.h"
#include "imaging/picture_file.h"

namespace zendrel {
namespace {

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {  // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  float Unit() { return float(Next() >> 40) / float(1 << 24); }  // [0, 1)
  float Between(float lo, float hi) { return lo + (hi - lo) * Unit(); }

 private:
  uint64_t state_;
};

// Smooth random field on a lattice that wraps around, so a texture drawn
// with whole periods tiles without seams.
class ValueNoise {
 public:
  ValueNoise(int cells_x, int cells_y, Random& random)
      : nx_(cells_x), ny_(cells_y), values_(size_t(cells_x) * cells_y) {
    for (float& v : values_) v = random.Unit() * 2 - 1;
  }
  // (u, v) in lattice cells; result in [-1, 1].
  float At(float u, float v) const {
    int x0 = int(std::floor(u)), y0 = int(std::floor(v));
    float fx = Smooth(u - x0), fy = Smooth(v - y0);
    float a = Value(x0, y0), b = Value(x0 + 1, y0), c = Value(x0, y0 + 1),
          d = Value(x0 + 1, y0 + 1);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
  }

 private:
  static float Smooth(float t) { return t * t * (3 - 2 * t); }
  float Value(int x, int y) const {
    x = ((x % nx_) + nx_) % nx_;
    y = ((y % ny_) + ny_) % ny_;
    return values_[size_t(y) * nx_ + x];
  }
  int nx_, ny_;
  std::vector<float> values_;
};

// Several octaves of value noise, each twice as fine and half as strong.
class FractalNoise {
 public:
  FractalNoise(int cells, int octaves, Random& random) : cells_(cells) {
    for (int i = 0; i < octaves; ++i) layers_.emplace_back(cells << i, cells << i, random);
  }
  // (u, v) in [0, 1) across the picture; whole periods, so it tiles.
  float At(float u, float v) const {
    float sum = 0, weight = 0.5f, scale = float(cells_);
    for (const ValueNoise& layer : layers_) {
      sum += weight * layer.At(u * scale, v * scale);
      weight *= 0.5f;
      scale *= 2;
    }
    return sum;
  }

 private:
  int cells_;
  std::vector<ValueNoise> layers_;
};

struct Color {
  float r, g, b;
};
Color Mix(Color a, Color b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Color Scaled(Color c, float k) { return {c.r * k, c.g * k, c.b * k}; }

struct Hill {
  float base, amplitude, phase, frequency;
  Color color;
};

struct Scene {
  Color sky_top, sky_horizon, sun;
  float sun_x, sun_y, sun_radius;
  std::vector<Hill> hills;  // far to near
};

Scene Make_scene(Random& random) {
  Scene scene;
  bool evening = random.Unit() < 0.35f;
  scene.sky_top = evening ? Color{60, 70, 140} : Color{55, 110, 195};
  scene.sky_horizon = evening ? Color{250, 180, 120} : Color{200, 222, 240};
  scene.sun = evening ? Color{255, 210, 150} : Color{255, 250, 225};
  scene.sun_x = random.Between(0.15f, 0.85f);
  scene.sun_y = random.Between(0.1f, 0.3f);
  scene.sun_radius = random.Between(0.03f, 0.06f);
  Color far{110, 140, 150}, near{50, 95, 35};
  for (int i = 0; i < 3; ++i) {
    float t = i / 2.0f;
    scene.hills.push_back({0.45f + 0.13f * i + random.Between(-0.03f, 0.03f),
                           random.Between(0.03f, 0.08f), random.Between(0, 6.28f),
                           random.Between(2, 6), Mix(far, near, t)});
  }
  return scene;
}

// The scene at (u, v) in [0, 1), before optics and sensor.
class SceneDrawer {
 public:
  SceneDrawer(const Scene& scene, float aspect, Random& random)
      : scene_(scene), aspect_(aspect), clouds_(4, 5, random), grass_(16, 5, random) {}

  Color At(float u, float v) const {
    for (int i = int(scene_.hills.size()) - 1; i >= 0; --i) {
      const Hill& hill = scene_.hills[size_t(i)];
      float top = hill.base + hill.amplitude * std::sin(hill.frequency * u + hill.phase) +
                  0.01f * clouds_.At(u * 3, float(i));
      if (v >= top) return Ground(hill, u, v, top, i);
    }
    return Sky(u, v);
  }

 private:
  Color Sky(float u, float v) const {
    Color c = Mix(scene_.sky_top, scene_.sky_horizon, v / 0.6f);
    float cloud = clouds_.At(u * aspect_, v * 2.5f) * 1.6f - 0.1f;
    if (cloud > 0) c = Mix(c, {245, 245, 248}, cloud);
    float dx = (u - scene_.sun_x) * aspect_, dy = v - scene_.sun_y;
    float d = std::sqrt(dx * dx + dy * dy) / scene_.sun_radius;
    if (d < 1) return scene_.sun;
    return Mix(c, scene_.sun, 0.8f / (d * d));
  }

  Color Ground(const Hill& hill, float u, float v, float top, int layer) const {
    float detail = grass_.At(u * aspect_ * (1 + layer), v * (1 + layer));
    float shade = 1 + 0.35f * detail - 0.25f * std::min(1.0f, (v - top) * 3);
    Color c = Scaled(hill.color, shade);
    if (layer == 2 && detail > 0.28f) c = Scaled(c, 0.55f);  // bushes
    return c;
  }

  const Scene& scene_;
  float aspect_;
  FractalNoise clouds_;
  FractalNoise grass_;
};

// A 3 by 3 box blur, as a lens softens detail.
void Blur(std::vector<float>& pixels, int width, int height, bool wrap) {
  std::vector<float> rows(pixels.size());
  auto at = [&](int i, int n) { return wrap ? (i + n) % n : std::clamp(i, 0, n - 1); };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) {
        size_t row = size_t(y) * width;
        rows[(row + x) * 3 + c] =
            (pixels[(row + at(x - 1, width)) * 3 + c] + pixels[(row + x) * 3 + c] +
             pixels[(row + at(x + 1, width)) * 3 + c]) /
            3;
      }
  for (int y = 0; y < height; ++y)
    for (size_t i = 0; i < size_t(width) * 3; ++i) {
      pixels[size_t(y) * width * 3 + i] =
          (rows[size_t(at(y - 1, height)) * width * 3 + i] + rows[size_t(y) * width * 3 + i] +
           rows[size_t(at(y + 1, height)) * width * 3 + i]) /
          3;
    }
}

// Sensor noise on top of the blurred scene, then 8-bit pixels.
RgbImage Developed(const std::vector<float>& pixels, int width, int height, float noise,
                   Random& random) {
  RgbImage image(width, height);
  uint8_t* out = image.data();
  for (size_t i = 0; i < pixels.size(); i += 3) {
    float grain = (random.Unit() + random.Unit() - 1) * noise;  // shared by the channels
    for (int c = 0; c < 3; ++c) {
      float value = pixels[i + c] + grain + (random.Unit() - 0.5f) * noise * 0.5f;
      out[i + c] = uint8_t(std::clamp(value + 0.5f, 0.0f, 255.0f));
    }
  }
  return image;
}

// The transform that a viewer's `orientation` undoes.
int Inverse_orientation(int orientation) {
  return orientation == 6 ? 8 : orientation == 8 ? 6 : orientation;
}

}  // namespace

std::string Sample_jpeg(const SamplePicture& sample) {
  if (sample.width < 1 || sample.height < 1 || sample.width > 8000 || sample.height > 8000)
    return {};
  int orientation = sample.orientation >= 1 && sample.orientation <= 8 ? sample.orientation : 1;
  PixelSize shown = Oriented_size({sample.width, sample.height}, orientation);
  Random random(sample.seed);
  Scene scene = Make_scene(random);
  SceneDrawer drawer(scene, float(shown.width) / shown.height, random);
  std::vector<float> pixels(size_t(shown.width) * shown.height * 3);
  for (int y = 0; y < shown.height; ++y) {
    for (int x = 0; x < shown.width; ++x) {
      Color c = drawer.At((x + 0.5f) / shown.width, (y + 0.5f) / shown.height);
      float* p = &pixels[(size_t(y) * shown.width + x) * 3];
      p[0] = c.r, p[1] = c.g, p[2] = c.b;
    }
  }
  Blur(pixels, shown.width, shown.height, false);
  RgbImage upright = Developed(pixels, shown.width, shown.height, 7, random);
  RgbImage stored = Oriented(std::move(upright), Inverse_orientation(orientation));
  JpegEncoder encoder;
  std::string jpeg(encoder.Encode(stored, sample.quality));
  if (jpeg.empty() || orientation == 1) return jpeg;
  return With_orientation_tag(jpeg, orientation);
}

std::vector<SamplePicture> Demo_samples() {
  return {
      {"IMG_0001.JPG", 1600, 1200, 1, 11},
      {"IMG_0002.JPG", 1600, 1200, 6, 12},  // a phone held upright
      {"IMG_0003.JPG", 1200, 1600, 1, 13},
      {"harbour.jpg", 3000, 2000, 1, 14},
      {"garden.jpg", 800, 600, 8, 15},
      {"Caf\xC3\xA9.jpg", 800, 600, 1, 16},  // a native UTF-8 name
      {"evening.jpg", 640, 480, 1, 17},
      {"upside_down.jpg", 1024, 768, 3, 18},
  };
}

Status Write_samples(const std::string& dir, const std::vector<SamplePicture>& samples) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) return Status::FileError(dir, error.message());
  for (const SamplePicture& sample : samples) {
    std::string path = dir + "/" + sample.file_name;
    std::string jpeg = Sample_jpeg(sample);
    if (jpeg.empty()) return Status::FileError(path, "the picture could not be drawn");
    std::string cause = Write_whole_file(path, jpeg.data(), jpeg.size());
    if (!cause.empty()) return Status::FileError(path, cause);
  }
  return Status();
}

std::string Texture_jpeg() {
  constexpr int kSide = 256;
  Random random(7);
  FractalNoise mottle(4, 4, random);
  ValueNoise fibres(96, 24, random);  // streaks along the paper's grain
  std::vector<float> pixels(size_t(kSide) * kSide * 3);
  const Color paper{244, 238, 224};
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      float u = float(x) / kSide, v = float(y) / kSide;
      float shade = 1 + 0.025f * mottle.At(u, v) + 0.012f * fibres.At(u * 96, v * 24);
      Color c = Scaled(paper, shade);
      float* p = &pixels[(size_t(y) * kSide + x) * 3];
      p[0] = c.r, p[1] = c.g, p[2] = c.b;
    }
  }
  Blur(pixels, kSide, kSide, true);
  RgbImage image = Developed(pixels, kSide, kSide, 3, random);
  JpegEncoder encoder;
  return std::string(encoder.Encode(image, 90));
}

}  // namespace zendrel
