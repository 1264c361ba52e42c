// Times the archive's picture work (a display copy within 1024 by 768 and a
// 96 by 96 thumbnail from it, quality 85) on one core, four ways: Zendrel's
// scaler, libvips in this process, ImageMagick's convert as a process of its
// own, and TurboJPEG decoding alone at the scale Zendrel decodes at (the
// floor no scaler on TurboJPEG can beat). Prints pictures per second and the
// ratios for 12-megapixel and 2-megapixel photographs that it draws itself.
//
//   cmake --build build --target scale_bench && build/bench/scale_bench [ROUNDS]
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vips/vips.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "imaging/archive_jpegs.h"
#include "imaging/archive_picture.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_layout.h"
#include "imaging/orientation.h"
#include "imaging/picture_file.h"
#include "imaging/resample.h"
#include "imaging/sample_pictures.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Picture {
  std::string path;
  std::string bytes;
};

struct Method {
  const char* name;
  std::function<bool(const Picture&)> run;
};

void Use_one_core() {
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(sched_getcpu(), &one);
  sched_setaffinity(0, sizeof one, &one);  // children (convert) inherit it
  setenv("MAGICK_THREAD_LIMIT", "1", 1);
  setenv("OMP_NUM_THREADS", "1", 1);
  vips_concurrency_set(1);
  vips_cache_set_max(0);  // every round must really read the file
}

bool Zendrel(const Picture& picture, const std::string& out) {
  zendrel::ArchiveJpegs copies = zendrel::Make_archive_jpegs(picture.path);
  return copies.readable &&
         zendrel::Write_whole_file(out + "/z_display.jpg", copies.display.data(),
                                   copies.display.size())
             .empty() &&
         zendrel::Write_whole_file(out + "/z_thumb.jpg", copies.thumbnail.data(),
                                   copies.thumbnail.size())
             .empty();
}

bool Vips(const Picture& picture, const std::string& out) {
  VipsImage* display = nullptr;
  VipsImage* in_memory = nullptr;
  VipsImage* small = nullptr;
  VipsImage* square = nullptr;
  bool ok = vips_thumbnail(picture.path.c_str(), &display, 1024, "height", 768, "size",
                           VIPS_SIZE_DOWN, nullptr) == 0 &&
            (in_memory = vips_image_copy_memory(display)) != nullptr &&
            vips_jpegsave(in_memory, (out + "/v_display.jpg").c_str(), "Q", 85, nullptr) == 0 &&
            vips_thumbnail_image(in_memory, &small, 96, "height", 96, nullptr) == 0 &&
            vips_gravity(small, &square, VIPS_COMPASS_DIRECTION_CENTRE, 96, 96, "extend",
                         VIPS_EXTEND_BLACK, nullptr) == 0 &&
            vips_jpegsave(square, (out + "/v_thumb.jpg").c_str(), "Q", 85, nullptr) == 0;
  for (VipsImage* image : {display, in_memory, small, square})
    if (image) g_object_unref(image);
  return ok;
}

// jpeg:size names the size wanted: ImageMagick 6 then decodes at the
// largest DCT reduction that still covers it (a larger hint, such as twice
// the size, makes it decode 12 MP pictures at full size).
bool Magick(const Picture& picture, const std::string& out) {
  std::vector<std::string> args = {"convert",
                                   "-define",
                                   "jpeg:size=1024x768",
                                   picture.path,
                                   "-auto-orient",
                                   "-thumbnail",
                                   "1024x768>",
                                   "-quality",
                                   "85",
                                   "-write",
                                   out + "/m_display.jpg",
                                   "-thumbnail",
                                   "96x96",
                                   "-background",
                                   "black",
                                   "-gravity",
                                   "center",
                                   "-extent",
                                   "96x96",
                                   "-quality",
                                   "85",
                                   out + "/m_thumb.jpg"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, "convert", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Decoding only, from memory, at the factor the scaler picks for this
// picture, into a buffer kept from call to call.
bool Floor(const Picture& picture) {
  static zendrel::JpegDecoder decoder;
  static zendrel::RgbImage pixels;
  auto stored = decoder.Read_size(picture.bytes);
  if (!stored) return false;
  int orientation = zendrel::Exif_orientation(zendrel::Read_jpeg_layout(picture.bytes).exif);
  zendrel::PixelSize wanted =
      zendrel::Oriented_size(zendrel::Fit_within(zendrel::Oriented_size(*stored, orientation),
                                                 zendrel::kDisplayBox, false),
                             orientation);
  return decoder.Decode(picture.bytes, zendrel::JpegDecoder::Factor_for(*stored, wanted), &pixels);
}

std::vector<Picture> Make_pictures(const std::string& dir, int width, int height, int count) {
  std::vector<Picture> pictures;
  for (int i = 0; i < count; ++i) {
    zendrel::SamplePicture sample{"p" + std::to_string(width) + "_" + std::to_string(i) + ".jpg",
                                  width,
                                  height,
                                  1,
                                  unsigned(100 + i),
                                  92};
    Picture picture{dir + "/" + sample.file_name, zendrel::Sample_jpeg(sample)};
    std::ofstream(picture.path, std::ios::binary) << picture.bytes;
    pictures.push_back(std::move(picture));
  }
  return pictures;
}

// Processor time, this process's and its finished children's: on a machine
// that others share it counts only the work itself, as on a core of its own.
double Cpu_seconds() {
  rusage self{}, children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; };
  return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) +
         seconds(children.ru_stime);
}

// Each picture's best time over the rounds, summed: the least disturbed
// measure. Methods take turns within a round.
std::vector<double> Time_methods(const std::vector<Method>& methods,
                                 const std::vector<Picture>& pictures, int rounds) {
  std::vector<std::vector<double>> best(methods.size(), std::vector<double>(pictures.size(), 1e30));
  for (int round = 0; round < rounds; ++round) {
    for (size_t m = 0; m < methods.size(); ++m) {
      for (size_t p = 0; p < pictures.size(); ++p) {
        double start = Cpu_seconds();
        if (!methods[m].run(pictures[p])) {
          std::fprintf(stderr, "%s failed on %s\n", methods[m].name, pictures[p].path.c_str());
          std::exit(1);
        }
        double seconds = Cpu_seconds() - start;
        best[m][p] = std::min(best[m][p], seconds);
      }
    }
  }
  std::vector<double> per_second;
  for (const auto& times : best) {
    double total = 0;
    for (double t : times) total += t;
    per_second.push_back(double(pictures.size()) / total);
  }
  return per_second;
}

void Report(const char* label, const std::vector<Method>& methods,
            const std::vector<double>& rate) {
  std::printf("\n%s, pictures per second of processor time (one core):\n", label);
  for (size_t m = 0; m < methods.size(); ++m)
    std::printf("  %-28s %8.2f\n", methods[m].name, rate[m]);
  std::printf("  Zendrel / libvips            %8.2f  (target >= 1.4)\n", rate[0] / rate[1]);
  std::printf("  Zendrel / ImageMagick        %8.2f\n", rate[0] / rate[2]);
  std::printf("  floor / Zendrel              %8.2f  (target <= 1.3)\n", rate[3] / rate[0]);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  if (VIPS_INIT(argv[0]) != 0) {
    std::fprintf(stderr, "scale_bench: libvips did not start\n");
    return 1;
  }
  Use_one_core();
  std::string dir = (fs::temp_directory_path() / "zendrel-bench-XXXXXX").string();
  if (!mkdtemp(dir.data())) {
    std::perror("scale_bench: mkdtemp");
    return 1;
  }
  std::vector<Method> methods = {
      {"Zendrel Make_archive_jpegs", [&](const Picture& p) { return Zendrel(p, dir); }},
      {"libvips (C API)", [&](const Picture& p) { return Vips(p, dir); }},
      {"ImageMagick convert", [&](const Picture& p) { return Magick(p, dir); }},
      {"TurboJPEG decode (floor)", [](const Picture& p) { return Floor(p); }},
  };
  struct Set {
    const char* label;
    int width, height, count;
  };
  for (Set set :
       {Set{"12 MP (4000x3000)", 4000, 3000, 3}, Set{"2 MP (1632x1224)", 1632, 1224, 4}}) {
    std::vector<Picture> pictures = Make_pictures(dir, set.width, set.height, set.count);
    double megabytes = 0;
    for (const Picture& p : pictures) megabytes += p.bytes.size() / 1e6;
    std::printf("\n%d pictures of %s, %.2f MB each on average, %d rounds", set.count, set.label,
                megabytes / set.count, rounds);
    Report(set.label, methods, Time_methods(methods, pictures, rounds));
  }
  fs::remove_all(dir);
  vips_shutdown();
  return 0;
}
