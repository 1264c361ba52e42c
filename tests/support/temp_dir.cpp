#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/native_path.h"
#include "platform/posix_file.h"

namespace zendrel::testing {
namespace fs = std::filesystem;

DriveTable Root_drives() {
  DriveTable drives;
  drives.Set('C', "/");
  return drives;
}

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "zendrel-test-XXXXXX").string();
  native_ = ::mkdtemp(pattern.data());
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(native_, ec);
}

std::string TempDir::Win(const std::string& relative) const {
  return Windows_path(Root_drives(), relative.empty() ? native_ : Native(relative));
}

std::string TempDir::Write(const std::string& relative, const std::string& bytes) const {
  fs::path path = Native(relative);
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(Native(relative), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool TempDir::Exists(const std::string& relative) const { return fs::exists(Native(relative)); }

void TempDir::Make_dir(const std::string& relative) const {
  fs::create_directories(Native(relative));
}

bool TempDir::Has_temporaries(const std::string& relative) const {
  std::error_code ec;
  for (const auto& entry :
       fs::directory_iterator(relative.empty() ? native_ : Native(relative), ec)) {
    if (Is_temporary_name(entry.path().filename().string())) return true;
  }
  return false;
}

}  // namespace zendrel::testing
