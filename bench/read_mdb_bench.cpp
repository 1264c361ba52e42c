// Reading speed of the PhotoRecall reader: a GA_PicInfo of ROWS rows (with a
// memo of a few hundred characters each) written by the tests' Access
// writer, read through Read_mdb into a sink that only counts.
//   read_mdb_bench [ROWS]   (default 20000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalog/fixtures/mdb_writer.h"
#include "catalog/read_mdb.h"
#include "platform/child_process.h"
#include "platform/native_path.h"

namespace {

struct Counter : zendrel::PictureSink {
  long pictures = 0;
  void Add_picture(const zendrel::PictureRecord&) override { ++pictures; }
  bool Stop_requested() override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  // The database is read in a child: an exec of this program.
  if (auto status = zendrel::Run_child_role_if_asked(argc, argv)) return *status;
  long rows = argc > 1 ? std::atol(argv[1]) : 20000;
  std::string dir = (std::filesystem::temp_directory_path() / "zendrel-mdb-bench").string();
  std::filesystem::create_directories(dir);
  std::string mdb = dir + "/db.mdb";
  using zendrel::testing::MdbType;
  zendrel::testing::MdbTableLayout table{"GA_PicInfo",
                                         {{"Source", MdbType::kText},
                                          {"Name", MdbType::kText},
                                          {"DATA1", MdbType::kText},
                                          {"DATA2", MdbType::kText},
                                          {"Description", MdbType::kMemo},
                                          {"MEMO1", MdbType::kMemo},
                                          {"DateCreated", MdbType::kDateTime}}};
  for (long i = 0; i < rows; ++i)
    table.rows.push_back({{"Source", "C:\\Photos\\" + std::to_string(i) + ".jpg"},
                          {"Name", "Title " + std::to_string(i)},
                          {"DATA1", "keywords"},
                          {"DATA2", "category"},
                          {"Description", std::string(300, 'd')},
                          {"MEMO1", "author"},
                          {"DateCreated", "1999-05-0" + std::to_string(1 + i % 9)}});
  {
    std::ofstream out(mdb, std::ios::binary);
    out << zendrel::testing::Mdb_database({table});
    if (!out) return 1;
  }
  Counter sink;
  auto start = std::chrono::steady_clock::now();
  zendrel::DriveTable drives;
  drives.Set('C', "/");
  zendrel::Status read = zendrel::Read_mdb(zendrel::Windows_path(drives, mdb), sink, drives);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%ld rows, %.0f KB: %.3f s, %.0f rows/s%s%s\n", sink.pictures,
              std::filesystem::file_size(mdb) / 1024.0, seconds, sink.pictures / seconds,
              read.ok() ? "" : ", ", read.message().c_str());
  std::filesystem::remove_all(dir);
  return read.ok() ? 0 : 1;
}
