// Reading a ThumbsPlus V3 database of 5,000 pictures and 20,000 keyword
// links, with picture processing replaced by a counter.
//   cmake --build build --target tdb_bench && ./build/bench/tdb_bench [--reference]
// --reference also times the literal scan of the whole link table per
// picture and checks that both give the same subjects.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "catalog/fixtures/tdb_reference.h"
#include "catalog/fixtures/tdb_writer.h"
#include "catalog/read_tdb.h"
#include "platform/drive_table.h"

namespace {

class CountingSink : public zendrel::PictureSink {
 public:
  int pictures = 0;
  std::vector<std::string> subjects;
  void Add_picture(const zendrel::PictureRecord& record) override {
    ++pictures;
    subjects.push_back(record.Subject);
  }
  bool Stop_requested() override { return false; }
};

double Seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  bool reference = argc > 1 && std::strcmp(argv[1], "--reference") == 0;
  // Drives on an empty directory: the pictures' date look-ups cost what a
  // missing file costs, and no real disk is searched.
  char root[] = "/tmp/zendrel-bench-XXXXXX";
  if (!::mkdtemp(root)) return 1;
  zendrel::DriveTable drives;
  drives.Set('C', root);
  drives.Set('D', root, "PHOTOS99");
  std::string bytes = zendrel::testing::Write_tdb(zendrel::testing::Large_tdb(5000, 20000));
  std::printf("database: %zu bytes, 5000 pictures, 20000 links\n", bytes.size());

  double best = 1e9;
  CountingSink sink;
  for (int run = 0; run < 5; ++run) {
    sink = CountingSink();
    auto start = std::chrono::steady_clock::now();
    zendrel::Status status = zendrel::Read_tdb(bytes, sink, drives);
    best = std::min(best, Seconds_since(start));
    if (!status.ok() || sink.pictures != 5000) {
      std::printf("failed: %s (%d pictures)\n", status.message().c_str(), sink.pictures);
      return 1;
    }
  }
  std::printf("Read_tdb: %.1f ms (best of 5)\n", best * 1000);
  if (reference) {
    auto start = std::chrono::steady_clock::now();
    auto subjects = zendrel::testing::Reference_tdb_subjects(bytes);
    std::printf("link-by-link scan: %.1f ms, same subjects: %s\n", Seconds_since(start) * 1000,
                subjects == sink.subjects ? "yes" : "NO");
    if (subjects != sink.subjects) return 1;
  }
  ::rmdir(root);
  return 0;
}
