// The page's search panel, the search itself and the start-up of the frames.
#include "page/page_script.h"

namespace zendrel {
namespace {

constexpr char k_checkPlural[] = R"js(function checkPlural(keywords) {
  var n = keywords.count;
  for (var i = 0; i < n; i++) {
    var word = keywords.word[i];
    var len = word.length;
    var last = word.charAt(len - 2);
    if (len > 2 && last != "s") {
      var stem = word.substring(0, len - 1);
      var before = word.charAt(len - 3);
      if (last == "x" || (last == "h" && (before == "s" || before == "c"))) {
        keywords.add(stem + "es ");
      } else {
        keywords.add(stem + "s ");
      }
    }
  }
  return keywords;
})js";

// The view's 50 ms timer is started before the search is made: the search's
// own time, and then the list's making (as in showAll), pass within it rather
// than after it.
constexpr char k_doSearch[] = R"js(function doSearch() {
  var panel = self.show.document.cont;
  var slides = panel.slideshow.checked;
  if (slides) {
    pickedItem = 0;
    blackflag = true;
    setTimeout("showSlide(true)", 50);
  } else {
    setTimeout("showList()", 50);
  }
  var keywords = parseKeywords(panel.keywords.value);
  var i;
  results = null;
  if (!addressQuiet) {
    // A new search starts at the top of its list.
    listPlace = null;
  }
  if (keywords.count == 0) {
    results = new ResultList();
    for (i = 0; i < cat.count; i++) {
      results.add(cat.pic[i]);
    }
  } else if (panel.startdate.selectedIndex == 0 && panel.enddate.selectedIndex == 0) {
    var inside = spacelessWords(keywords);
    checkPlural(keywords);
    results = cat.title.find(keywords, results);
    results = findInside(inside);
    results = cat.path.find(parseDate(refText(panel.keywords.value)), results);
  } else {
    var s = panel.startdate.selectedIndex;
    var e = panel.enddate.selectedIndex;
    if (s == 0) {
      s = e;
    } else if (e == 0) {
      e = s;
    } else if (s > e) {
      var t = s;
      s = e;
      e = t;
    }
    results = new ResultList();
    var first = myDate(cat.picdate.words[s - 1]);
    var last = myDate(cat.picdate.words[e - 1]);
    for (i = 0; i < cat.count; i++) {
      var key = myDate(cat.pic[i].picdate);
      if (key >= first && key <= last) {
        results.add(cat.pic[i]);
      }
    }
  }
  storeSetup();
  var from = "";
  var to = "";
  if (panel.startdate.selectedIndex > 0) {
    from = panel.startdate.options[panel.startdate.selectedIndex].text;
  }
  if (panel.enddate.selectedIndex > 0) {
    to = panel.enddate.options[panel.enddate.selectedIndex].text;
  }
  noteSearch("search", panel.keywords.value, from, to);
  if (!slides) {
    listPrepare();
  }
})js";

// Scripts written without blanks between words: Thai, Lao, Myanmar, Khmer,
// Japanese kana, Chinese characters.
constexpr char k_spaceless[] =
    R"js(var spaceless = /[\u0E00-\u0EFF\u1000-\u109F\u1780-\u17FF\u3040-\u30FF\u31F0-\u31FF\u3400-\u4DBF\u4E00-\u9FFF\uF900-\uFAFF\uFF66-\uFF9F]|[\uD840-\uD87F][\uDC00-\uDFFF]/;)js";

// Takes the words of such scripts out of `keywords` and returns them: a
// caption runs its words together, so they are looked for inside the text
// rather than as whole words of the index.
constexpr char k_spacelessWords[] = R"js(function spacelessWords(keywords) {
  var inside = new KeywordList();
  var kept = new Array();
  for (var i = 0; i < keywords.count; i++) {
    if (spaceless.test(keywords.word[i])) {
      inside.add(keywords.word[i]);
    } else {
      kept[kept.length] = keywords.word[i];
    }
  }
  keywords.word = kept;
  keywords.count = kept.length;
  return inside;
})js";

// Adds to `results` every picture whose title, subject, category or comment
// holds one of `words` (each with its trailing blank), as typed or as the
// page stores characters outside its code page (&#26085;).
constexpr char k_findInside[] = R"js(function findInside(words) {
  var list = results;
  if (list == null) {
    list = new ResultList();
  }
  for (var w = 0; w < words.count; w++) {
    var word = words.word[w].substring(0, words.word[w].length - 1);
    var stored = "";
    for (var k = 0; k < word.length; k++) {
      var code = word.charCodeAt(k);
      if (code >= 0xD800 && code < 0xDC00 && k + 1 < word.length) {
        code = 0x10000 + ((code - 0xD800) << 10) + (word.charCodeAt(k + 1) - 0xDC00);
        k++;
      }
      stored += code > 0xFF ? "&#" + code + ";" : word.charAt(k);
    }
    for (var i = 0; i < cat.count; i++) {
      var pic = cat.pic[i];
      var text = (pic.title + " " + pic.subject + " " + pic.category + " " + pic.comment).toLowerCase();
      if (text.indexOf(stored) >= 0 || text.indexOf(word) >= 0) {
        list.add(pic);
      }
    }
  }
  list.sort();
  return list;
})js";

constexpr char k_getControl[] = R"js(function getControl() {
  var state = self.control.document.cont;
  var cols = parseInt(state.viewcols.value);
  var picked;
  var i;
  var text = '<html><body background="texture.jpg" style="background-image:url(texture.jpg)">';
  text += '<form name="cont" onsubmit="return false" onkeydown="return parent.panelKey(event)">';
  text += "<table border=0 cellpadding=0 cellspacing=3>";
  text += '<tr><td><input type="button" value="Search" onclick="parent.doSearch()">';
  text += '<input type="button" value=" Clear " onClick="parent.clear()">&nbsp;</td>';
  text += '<td>&nbsp;<label for="viewcols"><small>Thumbnail Columns </small></label><select name="viewcols" id="viewcols" onChange="parent.storeSetup()">';
  for (i = 1; i <= 8; i++) {
    if (i == cols) {
      text += "<option selected>" + i;
    } else {
      text += "<option>" + i;
    }
  }
  text += '</select>&nbsp;<span class="box"><input type="checkbox" name="titles" id="titles" onClick="parent.storeSetup()"';
  if (state.titles.checked) {
    text += " checked";
  }
  text += '><small><label for="titles">Show Titles</label>&nbsp;&nbsp;</small></span><span class="box"><input type="checkbox" name="slideshow" id="slideshow" onChange="parent.storeSetup()"><small><label for="slideshow">Slideshow</label></small></span></td></tr>';
  text += '<tr><td colspan="2"><input size=60 name="keywords" aria-label="Search words" value="';
  text += htmlText(state.keywords.value);
  text += '"></td></tr>';
  text += '<tr><td>&nbsp;<label for="title"><small>Index Words:</small></label><br><select name="title" id="title" onChange="parent.copyWord(options[selectedIndex].text)"><option>';
  array_qsort(cat.title.words, 0, cat.title.count - 1, null);
  picked = parseInt(state.title.value) - 1;
  for (i = 0; i < cat.title.count; i++) {
    if (i == picked) {
      text += "<option selected>" + htmlText(cat.title.words[i]);
    } else {
      text += "<option>" + htmlText(cat.title.words[i]);
    }
  }
  text += "</select></td>";
  text += '<td>&nbsp;<label for="startdate"><small>Date Range:</small></label><br><select name="startdate" id="startdate" onChange="parent.copyDate()"><option>';
  sortDates();
  picked = parseInt(state.startdate.value) - 1;
  for (i = 0; i < cat.picdate.count; i++) {
    if (i == picked) {
      text += "<option selected>" + htmlText(cat.picdate.words[i]);
    } else {
      text += "<option>" + htmlText(cat.picdate.words[i]);
    }
  }
  text += '</select><select name="enddate" aria-label="Date Range: to" onChange="parent.copyDate()"><option>';
  picked = parseInt(state.enddate.value) - 1;
  for (i = 0; i < cat.picdate.count; i++) {
    if (i == picked) {
      text += "<option selected>" + htmlText(cat.picdate.words[i]);
    } else {
      text += "<option>" + htmlText(cat.picdate.words[i]);
    }
  }
  text += "</select></td></tr>";
  if (cat.path.count > 1) {
    text += '<tr valign="bottom"><td>&nbsp;<small>Folder:</small></td></tr>';
    array_qsort(cat.path.words, 0, cat.path.count - 1, null);
    for (i = 0; i < cat.path.count; i++) {
      text += '<tr><td colspan=2>&nbsp;&nbsp;<a href="javascript:parent.searchPath(';
      text += i;
      text += ')">';
      text += nameText(cat.path.words[i]) + "</a></td></tr>";
    }
  }
  text += "</table></form></body></html>";
  controlFrame = text;
  controlflag = false;
})js";

constexpr char k_showControl[] = R"js(function showControl() {
  self.control.document.cont.slideshow.value = -1;
  if (controlflag || controlFrame == null) {
    getControl();
  }
  pictureView = false;
  writeFrame(self.show, controlFrame, "panel");
  setAddress("start");
})js";

constexpr char k_storeSetup[] = R"js(function storeSetup() {
  var panel = self.show.document.cont;
  var state = self.control.document.cont;
  state.keywords.value = panel.keywords.value;
  state.title.value = panel.title.selectedIndex;
  state.startdate.value = panel.startdate.selectedIndex;
  state.enddate.value = panel.enddate.selectedIndex;
  state.viewcols.value = panel.viewcols.options[panel.viewcols.selectedIndex].text;
  state.titles.checked = panel.titles.checked;
  if (panel.slideshow.checked) {
    state.slideshow.value = 5;
  } else {
    state.slideshow.value = 0;
  }
  controlflag = true;
})js";

constexpr char k_copyWord[] = R"js(function copyWord(word) {
  var panel = self.show.document.cont;
  if (word != "") {
    if (panel.startdate.selectedIndex > 0 || panel.enddate.selectedIndex > 0 || pathflag) {
      panel.keywords.value = word + " ";
      panel.startdate.selectedIndex = 0;
      panel.enddate.selectedIndex = 0;
      pathflag = false;
    } else {
      panel.keywords.value = panel.keywords.value + word + " ";
    }
  }
  storeSetup();
})js";

constexpr char k_copyDate[] = R"js(function copyDate() {
  var panel = self.show.document.cont;
  var start = panel.startdate.options[panel.startdate.selectedIndex].text;
  var end = panel.enddate.options[panel.enddate.selectedIndex].text;
  panel.keywords.value = start + "  " + end;
  panel.title.selectedIndex = 0;
  storeSetup();
})js";

constexpr char k_clear[] = R"js(function clear() {
  var panel = self.show.document.cont;
  panel.keywords.value = "";
  panel.startdate.selectedIndex = 0;
  panel.enddate.selectedIndex = 0;
  panel.title.selectedIndex = 0;
  storeSetup();
})js";

constexpr char k_searchPath[] = R"js(function searchPath(i) {
  var key = cat.path.words[i];
  pathflag = true;
  clear();
  self.control.document.cont.keywords.value = decodeRefs(key);
  self.show.document.cont.keywords.value = decodeRefs(key);
  results = null;
  results = cat.path.find(parseDate(key), results);
  noteSearch("folder", decodeRefs(key), "", "");
  showList();
})js";

// Search texts, dates and folders go into the panel's markup as text, so a
// quote or an angle bracket in them cannot end an attribute or a list.
constexpr char k_htmlText[] = R"js(function htmlText(str) {
  var text = "" + str;
  text = text.split("&").join("&amp;");
  text = text.split("<").join("&lt;");
  text = text.split(">").join("&gt;");
  text = text.split('"').join("&quot;");
  return text;
})js";

// Whether Windows-1252, the page's code page, holds the character: any
// other travels in the page's values as a numeric reference (&#26085;).
constexpr char k_inCodePage[] = R"js(function inCodePage(code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
    return true;
  }
  var held = [0x20AC, 0x81, 0x201A, 0x192, 0x201E, 0x2026, 0x2020, 0x2021, 0x2C6, 0x2030, 0x160, 0x2039, 0x152, 0x8D, 0x17D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x2DC, 0x2122, 0x161, 0x203A, 0x153, 0x9D, 0x17E, 0x178];
  return held.indexOf(code) >= 0;
})js";

// A name or folder with the references of characters outside the code page
// (and "&#38;", an "&" that would otherwise read as one) turned into those
// characters; a reference a user wrote ("&#233;") stays as written.
constexpr char k_decodeRefs[] = R"js(function decodeRefs(str) {
  return ("" + str).replace(/&#([1-9][0-9]{0,6});/g, function (all, digits) {
    var code = parseInt(digits, 10);
    if (code == 38) {
      return "&";
    }
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || inCodePage(code)) {
      return all;
    }
    if (code < 0x10000) {
      return String.fromCharCode(code);
    }
    code -= 0x10000;
    return String.fromCharCode(0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF));
  });
})js";

// The other way: typed text in the form the page's values hold.
constexpr char k_refText[] = R"js(function refText(str) {
  var text = "";
  for (var i = 0; i < str.length; i++) {
    var code = str.charCodeAt(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < str.length) {
      var low = str.charCodeAt(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        text += "&#" + (0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00)) + ";";
        i++;
        continue;
      }
    }
    text += inCodePage(code) ? str.charAt(i) : "&#" + code + ";";
  }
  return text;
})js";

// A file name, folder or path as the page shows it: as text, never markup,
// so a name holding "<", ">", "&" or quotes shows exactly as it is.
constexpr char k_nameText[] = R"js(function nameText(str) {
  return htmlText(decodeRefs(str));
})js";

// An address given with the page (a reload, a link) is drawn once the
// state form is there. The indexes and the panel's text are built after
// the page has opened (indexLater), or at once when the address asks.
// Enter in any field of the panel searches, as the Search button does; the
// buttons answer Enter with their own click. The form itself never submits.
constexpr char k_panelKey[] = R"js(function panelKey(e) {
  if (e.key != "Enter" && e.keyCode != 13) {
    return true;
  }
  var target = e.target || e.srcElement;
  if (target && target.type == "button") {
    return true;
  }
  doSearch();
  return false;
})js";

constexpr char k_initialize[] = R"js(function initialize() {
  writeFrame(self.control, startFrame, "control");
  if (self.location.hash.length > 1) {
    showAddress(self.location.hash.substring(1));
  }
  indexLater();
})js";

// The frames start empty and get their first pages from here: a page written
// by this document shares its origin, also when opened from disk, where a
// frame loaded from a javascript: address may not call its parent. The
// control frame comes last: some browsers run its onLoad (initialize, which
// may draw the view of the address) before its write returns.
constexpr char k_startFrames[] = R"js(function startFrames() {
  fitFrames();
  if (self.addEventListener) {
    self.addEventListener("resize", fitFrames, false);
    self.addEventListener("hashchange", addressChanged, false);
    self.addEventListener("popstate", addressChanged, false);
    document.addEventListener("keydown", pageKey, false);
  }
  writeFrame(self.film, blankFrame, "blank");
  writeFrame(self.show, welcomeFrame, "welcome");
  writeFrame(self.control, xFrame, "x");
})js";

}  // namespace

const std::vector<ScriptPiece>& Search_run_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"checkPlural", k_checkPlural}, {"doSearch", k_doSearch},
      {"spaceless", k_spaceless},     {"spacelessWords", k_spacelessWords},
      {"findInside", k_findInside},
  };
  return pieces;
}

const std::vector<ScriptPiece>& Panel_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"getControl", k_getControl}, {"showControl", k_showControl}, {"storeSetup", k_storeSetup},
      {"copyWord", k_copyWord},     {"copyDate", k_copyDate},       {"clear", k_clear},
      {"searchPath", k_searchPath}, {"htmlText", k_htmlText},       {"inCodePage", k_inCodePage},
      {"decodeRefs", k_decodeRefs}, {"refText", k_refText},         {"nameText", k_nameText},
      {"panelKey", k_panelKey},
  };
  return pieces;
}

const std::vector<ScriptPiece>& Start_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"initialize", k_initialize},
      {"startFrames", k_startFrames},
  };
  return pieces;
}

}  // namespace zendrel
