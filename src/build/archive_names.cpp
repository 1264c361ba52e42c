#include "build/archive_names.h"

#include <cstring>

#include "imaging/crc.h"
#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

char Next_in_alphabet(char c, int steps) {
  const char* at = std::strchr(kNameAlphabet, c);
  if (!at || c == '\0') return c;
  int position = int(at - kNameAlphabet) + steps;
  return position < 32 ? kNameAlphabet[position] : c;
}

}  // namespace

ArchiveNames Names_of_code(const std::string& code) {
  std::string six = code.substr(0, 6);
  char seventh = code.size() >= 7 ? code[6] : '0';
  return ArchiveNames{"_" + six + seventh + ".jpg",
                      "_" + six + Next_in_alphabet(seventh, 1) + ".jpg",
                      "_" + six + Next_in_alphabet(seventh, 2) + ".jpg"};
}

bool Is_new_picture(const DriveTable& drives, const std::string& directory,
                    const std::string& file_name) {
  if (file_name.size() != 12 || file_name[0] != '_') return true;
  std::string prefix = file_name.substr(0, 7);
  std::string ending = file_name.substr(7);
  static const char* const kPartners[][2] = {
      {"0.jpg", "1.jpg"}, {"1.jpg", "0.jpg"}, {"8.jpg", "9.jpg"}, {"9.jpg", "8.jpg"},
      {"H.jpg", "J.jpg"}, {"J.jpg", "H.jpg"}, {"R.jpg", "S.jpg"}, {"S.jpg", "R.jpg"}};
  for (const auto& pair : kPartners) {
    if (ending == pair[0] && Plain_file_exists(drives, Add_backslash(directory) + prefix + pair[1]))
      return false;
  }
  return true;
}

std::string RunNames::Code_for(const std::string& stamp, const std::string& source) {
  std::string code = Picture_code(stamp);
  for (int attempt = 1;; ++attempt) {
    auto [it, inserted] = owner_of_code_.emplace(code, source);
    if (inserted || it->second == source) return code;
    code = Picture_code(stamp + "~" + std::to_string(attempt));
  }
}

}  // namespace zendrel
