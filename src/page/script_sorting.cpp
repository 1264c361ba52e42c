// The page's quicksort and its default order of texts.
#include "page/page_script.h"

namespace zendrel {
namespace {

// Moves a hole through the range instead of swapping; recursing on the
// smaller side keeps the stack shallow.
constexpr char k_array_qsort_inner[] = R"js(function _array_qsort(arrayName, lo, up, cmp_fun) {
  var i;
  var j;
  var pivot;
  while (up > lo) {
    i = lo;
    j = up;
    pivot = arrayName[lo];
    while (i < j) {
      while (i < j && cmp_fun(arrayName[j], pivot) > 0) {
        j--;
      }
      arrayName[i] = arrayName[j];
      while (i < j && cmp_fun(arrayName[i], pivot) <= 0) {
        i++;
      }
      arrayName[j] = arrayName[i];
    }
    arrayName[i] = pivot;
    if (i - lo < up - i) {
      _array_qsort(arrayName, lo, i - 1, cmp_fun);
      lo = i + 1;
    } else {
      _array_qsort(arrayName, i + 1, up, cmp_fun);
      up = i - 1;
    }
  }
})js";

// A range already in strictly ascending order is left as it is: the sort
// could only give that same order back, and with its first element as pivot
// it would take quadratic time on it. The search panel sorts the index words
// again at every rebuild, and dates mostly arrive in order.
constexpr char k_array_qsort[] = R"js(function array_qsort(arrayName, lo, hi, cmp_fun) {
  if (arrayName == null) {
    return;
  }
  var cmp = cmp_fun;
  if (cmp == null) {
    cmp = default_cmp;
  }
  var i = lo;
  while (i < hi && cmp(arrayName[i], arrayName[i + 1]) < 0) {
    i++;
  }
  if (i >= hi) {
    return;
  }
  _array_qsort(arrayName, lo, hi, cmp);
})js";

constexpr char k_default_cmp[] = R"js(function default_cmp(a, b) {
  if (a == b) {
    return 0;
  }
  if (a > b) {
    return 1;
  }
  return -1;
})js";

}  // namespace

const std::vector<ScriptPiece>& Sorting_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"_array_qsort", k_array_qsort_inner},
      {"array_qsort", k_array_qsort},
      {"default_cmp", k_default_cmp},
  };
  return pieces;
}

void Append_lines(const char* text, std::vector<std::string>& lines) {
  std::string line;
  for (const char* c = text; *c; ++c) {
    if (*c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += *c;
    }
  }
  lines.push_back(line);
}

void Append_lines(const std::vector<ScriptPiece>& pieces, std::vector<std::string>& lines) {
  for (const ScriptPiece& piece : pieces) Append_lines(piece.text, lines);
}

}  // namespace zendrel
