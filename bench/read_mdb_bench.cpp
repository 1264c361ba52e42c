// Reading speed of the PhotoRecall reader: a GA_PicInfo of ROWS rows (with a
// memo of a few hundred bytes each) written by the shared mdbgen.py, read
// through Read_mdb into a sink that only counts.
//   read_mdb_bench [ROWS]   (default 20000)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalog/read_mdb.h"
#include "platform/native_path.h"

namespace {

struct Counter : zendrel::PictureSink {
  long pictures = 0;
  void Add_picture(const zendrel::PictureRecord&) override { ++pictures; }
  bool Stop_requested() override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  long rows = argc > 1 ? std::atol(argv[1]) : 20000;
  std::string dir = (std::filesystem::temp_directory_path() / "zendrel-mdb-bench").string();
  std::filesystem::create_directories(dir);
  std::string json = dir + "/db.json", mdb = dir + "/db.mdb";
  {
    std::ofstream out(json);
    out << R"({"tables": [{"name": "GA_PicInfo", "columns": [
      {"name": "Source", "type": "text"}, {"name": "Name", "type": "text"},
      {"name": "DATA1", "type": "text"}, {"name": "DATA2", "type": "text"},
      {"name": "Description", "type": "memo"}, {"name": "MEMO1", "type": "memo"},
      {"name": "DateCreated", "type": "datetime"}], "rows": [)";
    for (long i = 0; i < rows; ++i) {
      out << (i ? "," : "") << R"(["C:\\Photos\\)" << i << R"(.jpg", "Title )" << i
          << R"(", "keywords", "category", ")" << std::string(300, 'd')
          << R"(", "author", "1999-05-0)" << (1 + i % 9) << "\"]";
    }
    out << "]}]}";
  }
  std::string python = access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
  std::string make =
      python + " '" ZENDREL_SHARED_DIR "/tools/mdbgen.py' '" + mdb + "' '@" + json + "'";
  if (std::system(make.c_str()) != 0) return 1;
  Counter sink;
  auto start = std::chrono::steady_clock::now();
  zendrel::Status read = zendrel::Read_mdb(zendrel::Windows_path(mdb), sink);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%ld rows, %.0f KB: %.3f s, %.0f rows/s%s%s\n", sink.pictures,
              std::filesystem::file_size(mdb) / 1024.0, seconds, sink.pictures / seconds,
              read.ok() ? "" : ", ", read.message().c_str());
  std::filesystem::remove_all(dir);
  return read.ok() ? 0 : 1;
}
