#include "platform/drive_table.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/codepage.h"

namespace zendrel {
namespace fs = std::filesystem;

namespace {

std::string Without_trailing_slash(std::string root) {
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

// /proc/mounts writes blanks and the like as octal escapes.
std::string Unescape_mount_field(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() &&
        std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
      out += char(std::stoi(text.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Label of each device that /dev/disk/by-label names.
std::map<std::string, std::string> Labels_by_device() {
  std::map<std::string, std::string> labels;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/dev/disk/by-label", ec)) {
    std::error_code ec2;
    fs::path device = fs::canonical(entry.path(), ec2);
    if (!ec2) labels[device.string()] = entry.path().filename().string();
  }
  return labels;
}

}  // namespace

DriveTable DriveTable::Defaults() {
  DriveTable table;
  table.Load_defaults();
  return table;
}

void DriveTable::Load_defaults() {
  drives_.clear();
  Set('C', "/");
  auto labels = Labels_by_device();
  std::ifstream mounts("/proc/self/mounts");
  std::string line;
  char next = 'D';
  while (std::getline(mounts, line) && next <= 'Z') {
    std::istringstream fields(line);
    std::string device, mount_point;
    fields >> device >> mount_point;
    std::error_code ec;
    fs::path canonical = fs::canonical(device, ec);
    auto it = labels.find(ec ? device : canonical.string());
    if (it == labels.end() || mount_point == "/") continue;
    Set(next++, Unescape_mount_field(mount_point), Utf8_to_system_text(it->second));
  }
  if (const char* env = std::getenv("ZENDREL_DRIVES")) {
    std::stringstream list(env);
    std::string item;
    while (std::getline(list, item, ';')) {
      if (!item.empty()) Set_from_text(item);
    }
  }
}

void DriveTable::Set(char letter, const std::string& native_root, const std::string& label) {
  letter = char(std::toupper(static_cast<unsigned char>(letter)));
  Drive drive{letter, Without_trailing_slash(native_root), label};
  for (Drive& d : drives_) {
    if (d.letter == letter) {
      d = drive;
      return;
    }
  }
  drives_.push_back(drive);
  std::sort(drives_.begin(), drives_.end(),
            [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
}

bool DriveTable::Set_from_text(const std::string& text) {
  if (text.size() < 3 || text[1] != '=' || !std::isalpha(static_cast<unsigned char>(text[0])))
    return false;
  std::string rest = text.substr(2);
  std::string label;
  size_t colon = rest.rfind(':');
  if (colon != std::string::npos) {
    label = rest.substr(colon + 1);
    rest = rest.substr(0, colon);
  }
  if (rest.empty() || rest[0] != '/') return false;
  Set(text[0], rest, Utf8_to_system_text(label));
  return true;
}

const Drive* DriveTable::Find(char letter) const {
  letter = char(std::toupper(static_cast<unsigned char>(letter)));
  for (const Drive& d : drives_) {
    if (d.letter == letter) return &d;
  }
  return nullptr;
}

const Drive* DriveTable::Find_label(const std::string& label) const {
  for (const Drive& d : drives_) {
    if (!d.label.empty() && d.label == label) return &d;
  }
  return nullptr;
}

std::optional<std::string> DriveTable::Native_of(const std::string& windows_path) const {
  char letter = 'C';
  std::string rest = windows_path;
  if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
    letter = rest[0];
    rest = rest.substr(2);
  }
  const Drive* drive = Find(letter);
  if (!drive) return std::nullopt;
  std::string native = System_text_to_utf8(rest);
  std::replace(native.begin(), native.end(), '\\', '/');
  if (native.empty() || native[0] != '/') native = "/" + native;
  if (drive->root == "/") return native;
  return drive->root + native;
}

std::string DriveTable::Windows_of(const std::string& native_path) const {
  const Drive* best = nullptr;
  for (const Drive& d : drives_) {
    bool inside = d.root == "/" ||
                  (native_path.compare(0, d.root.size(), d.root) == 0 &&
                   (native_path.size() == d.root.size() || native_path[d.root.size()] == '/'));
    if (inside && (!best || d.root.size() > best->root.size())) best = &d;
  }
  std::string rest = native_path;
  char letter = 'C';
  if (best) {
    letter = best->letter;
    if (best->root != "/") rest = native_path.substr(best->root.size());
  }
  std::string text = Utf8_to_system_text(rest);
  std::replace(text.begin(), text.end(), '/', '\\');
  if (text.empty() || text[0] != '\\') text = "\\" + text;
  return std::string(1, letter) + ":" + text;
}

}  // namespace zendrel
