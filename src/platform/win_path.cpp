#include "platform/win_path.h"

namespace zendrel {

std::string Add_backslash(const std::string& path) {
  if (!path.empty() && path.back() == '\\') return path;
  return path + "\\";
}

std::string Directory_part(const std::string& path) {
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string File_part(const std::string& path) {
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {
unsigned char Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // À..Þ
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;  // Š Œ Ž
  if (c == 0x9F) return 0xFF;                              // Ÿ
  return c;
}

bool Match_from(const std::string& n, size_t i, const std::string& p, size_t j) {
  while (j < p.size()) {
    if (p[j] == '*') {
      for (size_t k = i; k <= n.size(); ++k) {
        if (Match_from(n, k, p, j + 1)) return true;
      }
      return false;
    }
    if (i >= n.size()) return false;
    if (p[j] != '?' && Fold(n[i]) != Fold(p[j])) return false;
    ++i;
    ++j;
  }
  return i == n.size();
}
}  // namespace

std::string Fold_case(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = char(Fold(static_cast<unsigned char>(c)));
  return out;
}

bool Matches_pattern(const std::string& name, const std::string& pattern) {
  return Match_from(name, 0, pattern, 0);
}

}  // namespace zendrel
