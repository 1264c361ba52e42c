// The page's sort key for date texts ("mmmm d, yyyy" or "mmmm yyyy").
#include "page/page_script.h"

namespace zendrel {
namespace {

// Year, month number and day in front of the whole text: the key begins with
// eight digits for the expected forms, so texts sort by date.
constexpr char k_myDate[] = R"js(function myDate(datestring) {
  var year;
  var day;
  var j = datestring.indexOf(",");
  if (j < 0) {
    j = datestring.indexOf(" ");
    year = datestring.substring(j + 1);
    day = "00";
  } else {
    year = datestring.substring(j + 2);
    if (datestring.charAt(j - 2) == " ") {
      day = "0" + datestring.charAt(j - 1);
    } else {
      day = datestring.substring(j - 2, j);
    }
  }
  return year + monthnum(datestring) + day + datestring;
})js";

// The keys are mapped back to their texts rather than cut at eight
// characters, so a date without a four-digit year comes back whole too.
constexpr char k_sortDates[] = R"js(function sortDates() {
  var words = cat.picdate.words;
  var texts = Object.create(null);
  var i;
  for (i = 0; i < cat.picdate.count; i++) {
    var key = myDate(words[i]);
    texts[key] = words[i];
    words[i] = key;
  }
  array_qsort(words, 0, cat.picdate.count - 1, default_cmp);
  for (i = 0; i < cat.picdate.count; i++) {
    words[i] = texts[words[i]];
  }
})js";

constexpr char k_monthnum[] = R"js(function monthnum(str) {
  var names = new Array("Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec");
  var numbers = new Array("01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12");
  var m = str.substring(0, 3);
  for (var i = 0; i < 12; i++) {
    if (m == names[i]) {
      return numbers[i];
    }
  }
  return "00";
})js";

}  // namespace

const std::vector<ScriptPiece>& Date_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"myDate", k_myDate},
      {"sortDates", k_sortDates},
      {"monthnum", k_monthnum},
  };
  return pieces;
}

}  // namespace zendrel
