// The page's search words, result lists and indexes.
#include "page/page_script.h"

namespace zendrel {
namespace {

constexpr char k_isStopword[] = R"js(function isStopword(word) {
  var w = word.toLowerCase();
  return w == "a" || w == "an" || w == "and" || w == "or" || w == "the";
})js";

constexpr char k_isSpecial[] = R"js(function isSpecial(ch) {
  return ch.length == 1 && ",?-.\\/:; \n\r\t\f\b".indexOf(ch) >= 0;
})js";

// escape() turns every character outside letters, digits and @*_+-./ into
// %XX; dropping those three characters leaves the plain part of the word.
// Characters beyond U+00FF come as %uXXXX: they are letters of other
// scripts, kept whole so that a word in Greek or Japanese can be found.
constexpr char k_normalizeWord[] = R"js(function normalizeWord(keyword) {
  var word = keyword;
  var n = word.length;
  if (n >= 2 && word.charAt(n - 2) == "'" && word.charAt(n - 1) == "s") {
    word = word.substring(0, n - 2);
  }
  var escaped = escape(word);
  var plain = "";
  var i = 0;
  while (i < escaped.length) {
    if (escaped.charAt(i) == "%" && escaped.charAt(i + 1) == "u") {
      plain += String.fromCharCode(parseInt(escaped.substring(i + 2, i + 6), 16));
      i += 6;
    } else if (escaped.charAt(i) == "%") {
      i += 3;
    } else {
      plain += escaped.charAt(i);
      i++;
    }
  }
  return plain + " ";
})js";

constexpr char k_KeywordList[] = R"js(function KeywordList() {
  this.count = 0;
  this.word = new Array();
  this.add = AddKeyword;
  return this;
})js";

constexpr char k_AddKeyword[] = R"js(function AddKeyword(word) {
  for (var i = 0; i < this.count; i++) {
    if (this.word[i] == word) {
      return;
    }
  }
  this.word[this.count] = word;
  this.count++;
})js";

constexpr char k_Result[] = R"js(function Result(object, score) {
  this.object = object;
  this.score = score;
  return this;
})js";

// `seen` finds a picture's result by its number, so scoring a search costs
// one lookup per match instead of a scan of the list.
constexpr char k_ResultList[] = R"js(function ResultList() {
  this.count = 0;
  this.item = new Array();
  this.seen = new Object();
  this.add = AddResult;
  this.sort = SortResults;
  return this;
})js";

constexpr char k_AddResult[] = R"js(function AddResult(object) {
  var found = null;
  if (object.num != null) {
    found = this.seen[object.num];
  } else {
    for (var i = 0; i < this.count; i++) {
      if (this.item[i].object == object) {
        found = this.item[i];
      }
    }
  }
  if (found != null) {
    found.score++;
    return;
  }
  found = new Result(object, 1);
  this.item[this.count] = found;
  this.count++;
  if (object.num != null) {
    this.seen[object.num] = found;
  }
})js";

constexpr char k_SortResults[] = R"js(function SortResults() {
  array_qsort(this.item, 0, this.count - 1, CompareResults);
})js";

constexpr char k_CompareResults[] = R"js(function CompareResults(a, b) {
  if (a.score == b.score) {
    return 0;
  }
  if (a.score < b.score) {
    return 1;
  }
  return -1;
})js";

constexpr char k_IndexItemList[] = R"js(function IndexItemList() {
  this.count = 0;
  this.item = new Array();
  this.add = AddIndexItem;
  return this;
})js";

constexpr char k_AddIndexItem[] = R"js(function AddIndexItem(object) {
  this.item[this.count] = object;
  this.count++;
})js";

// A map without a prototype, so that keys such as "constructor" or
// "__proto__" are keys like any other.
constexpr char k_Index[] = R"js(function Index() {
  this.count = 0;
  this.words = new Array();
  this.item = Object.create(null);
  this.add = AddToIndex;
  this.find = SearchIndex;
  return this;
})js";

constexpr char k_AddToIndex[] = R"js(function AddToIndex(object, keywords) {
  for (var i = 0; i < keywords.count; i++) {
    var key = keywords.word[i];
    var list = this.item[key];
    if (list == null) {
      list = new IndexItemList();
      this.item[key] = list;
      this.words[this.count] = key;
      this.count++;
    }
    list.add(object);
  }
})js";

constexpr char k_SearchIndex[] = R"js(function SearchIndex(keywords, rlist) {
  var list = results;
  if (list == null) {
    list = new ResultList();
  }
  for (var i = 0; i < keywords.count; i++) {
    var found = this.item[keywords.word[i]];
    if (found != null) {
      for (var k = 0; k < found.count; k++) {
        list.add(found.item[k]);
      }
    }
  }
  list.sort();
  return list;
})js";

// Characters outside Windows-1252 are stored as numeric references
// (&#26085;): the words are read with the characters they stand for.
constexpr char k_parseKeywords[] = R"js(function parseKeywords(str) {
  var text = str.replace(/&#([0-9]{1,7});/g, function (all, digits) {
    var code = parseInt(digits, 10);
    if (code < 1 || code > 0x10FFFF) return all;
    if (code < 0x10000) return String.fromCharCode(code);
    code -= 0x10000;
    return String.fromCharCode(0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF));
  }).toLowerCase();
  var list = new KeywordList();
  var word = "";
  var inword = false;
  for (var i = 0; i < text.length; i++) {
    var ch = text.charAt(i);
    if (isSpecial(ch)) {
      if (inword) {
        if (!isStopword(word)) {
          list.add(normalizeWord(word));
        }
        word = "";
        inword = false;
      }
    } else {
      word += ch;
      inword = true;
    }
    if (i == text.length - 1 && inword) {
      if (!isStopword(word)) {
        list.add(normalizeWord(word));
      }
    }
  }
  return list;
})js";

constexpr char k_parseDate[] = R"js(function parseDate(str) {
  var list = new KeywordList();
  list.add(str);
  return list;
})js";

}  // namespace

const std::vector<ScriptPiece>& Search_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"isStopword", k_isStopword},
      {"isSpecial", k_isSpecial},
      {"normalizeWord", k_normalizeWord},
      {"KeywordList", k_KeywordList},
      {"AddKeyword", k_AddKeyword},
      {"Result", k_Result},
      {"ResultList", k_ResultList},
      {"AddResult", k_AddResult},
      {"SortResults", k_SortResults},
      {"CompareResults", k_CompareResults},
      {"IndexItemList", k_IndexItemList},
      {"AddIndexItem", k_AddIndexItem},
      {"Index", k_Index},
      {"AddToIndex", k_AddToIndex},
      {"SearchIndex", k_SearchIndex},
      {"parseKeywords", k_parseKeywords},
      {"parseDate", k_parseDate},
  };
  return pieces;
}

}  // namespace zendrel
