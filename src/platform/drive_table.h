// The drive table: which native directory each Windows drive letter stands
// for, and the volume label it carries. Paths inside the system are Windows
// text; this table is how they reach the native file system and back.
//
// By default C: is "/" and labelled mounted volumes get the letters from D:
// on; ZENDREL_DRIVES ("D=/mnt/cd:PHOTOS99;E=/data") and the command line's
// --drive add or override entries. Each front end makes its table once, at
// its start, and a run carries it in its request: whatever turns a Windows
// path into a native one is handed the table it is to go by.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zendrel {

struct Drive {
  char letter = 'C';  // upper case
  std::string root;   // native absolute directory, "/" or without trailing "/"
  std::string label;  // volume label in system text; empty when none
};

class DriveTable {
 public:
  // A table loaded with the defaults.
  static DriveTable Defaults();

  // C: = "/", labelled mounted volumes, then ZENDREL_DRIVES.
  void Load_defaults();
  void Clear() { drives_.clear(); }
  // Adds or replaces the drive of `letter`.
  void Set(char letter, const std::string& native_root, const std::string& label = "");
  // Parses "L=DIR[:LABEL]"; false when malformed.
  bool Set_from_text(const std::string& text);

  const std::vector<Drive>& Drives() const { return drives_; }
  const Drive* Find(char letter) const;
  const Drive* Find_label(const std::string& label) const;

  // "C:\Photos\a.jpg" to "/Photos/a.jpg", without looking at the disk.
  // A path without a drive is taken on C:. Empty when the drive is unknown.
  std::optional<std::string> Native_of(const std::string& windows_path) const;
  // "/home/ann/Photos" to "C:\home\ann\Photos", through the drive whose root
  // is the longest prefix of the path.
  std::string Windows_of(const std::string& native_path) const;

 private:
  std::vector<Drive> drives_;
};

}  // namespace zendrel
