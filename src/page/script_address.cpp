// The page's address: the top document's hash names the view, so that Back,
// Forward, a reload and a link reach the same search and picture.
//   #start                        the search panel
//   #search=WORDS[&from=DATE][&to=DATE][&cols=N][&titles=1]
//   #folder=FOLDER[&cols=N][&titles=1]
// followed, for a picture, by &pic=THUMB and, on black, &view=black. Values
// are URI-encoded; an empty hash is the welcome text.
#include "page/page_script.h"

namespace zendrel {
namespace {

constexpr char k_pageAddress[] = R"js(var pageAddress = "";)js";

constexpr char k_pageView[] = R"js(var pageView = "";)js";

// The address of the last search, without the picture.
constexpr char k_searchAddress[] = R"js(var searchAddress = "";)js";

// True while a view is drawn from the address: its steps replace the
// address instead of adding to the history.
constexpr char k_addressQuiet[] = R"js(var addressQuiet = false;)js";

// True from showPic until getPic has drawn the picture.
constexpr char k_picPending[] = R"js(var picPending = false;)js";

constexpr char k_noteSearch[] = R"js(function noteSearch(kind, text, from, to) {
  var state = self.control.document.cont;
  var address = kind + "=" + encodeURIComponent(text);
  if (from != "") {
    address += "&from=" + encodeURIComponent(from);
  }
  if (to != "") {
    address += "&to=" + encodeURIComponent(to);
  }
  address += "&cols=" + state.viewcols.value;
  if (state.titles.checked) {
    address += "&titles=1";
  }
  searchAddress = address;
  slidePaused = 0;
})js";

// Records the view now shown: a new entry in the history when the kind of
// view or the search changed, a replaced one when only the picture did or a
// slide show steps. The history's own calls are used because setting the
// hash reloads a frameset in some browsers.
constexpr char k_setAddress[] = R"js(function setAddress(view) {
  var address = view;
  if (view != "start") {
    if (searchAddress == "") {
      return;
    }
    address = searchAddress;
    if (view != "list") {
      address += "&pic=" + encodeURIComponent(results.item[pickedItem].object.thumb);
    }
    if (view == "black") {
      address += "&view=black";
    }
  }
  if (address == pageAddress) {
    return;
  }
  var push = !addressQuiet && parseInt(self.control.document.cont.slideshow.value) <= 0;
  if (push && view == pageView && view != "list" && pageAddress.indexOf(searchAddress + "&pic=") == 0) {
    push = false;
  }
  pageAddress = address;
  pageView = view;
  try {
    if (!self.history || !self.history.pushState) {
      self.location.replace("#" + address);
    } else if (push) {
      self.history.pushState(null, "", "#" + address);
    } else {
      self.history.replaceState(null, "", "#" + address);
    }
  } catch (e) {
  }
})js";

// Splits an address into its named values.
constexpr char k_readAddress[] = R"js(function readAddress(address) {
  var values = {};
  var parts = address.split("&");
  for (var i = 0; i < parts.length; i++) {
    var k = parts[i].indexOf("=");
    if (k > 0) {
      try {
        values[parts[i].substring(0, k)] = decodeURIComponent(parts[i].substring(k + 1));
      } catch (e) {
      }
    }
  }
  return values;
})js";

// Selects the entry of `list` whose text is `text`; none when it is empty
// or missing.
constexpr char k_chooseEntry[] = R"js(function chooseEntry(list, text) {
  list.selectedIndex = 0;
  if (text == null || text == "") {
    return;
  }
  for (var i = 0; i < list.options.length; i++) {
    if (list.options[i].text == text) {
      list.selectedIndex = i;
    }
  }
})js";

// Draws the view that `address` names. Its steps, up to the views drawn by
// the page's 50 ms timers, only replace the address.
constexpr char k_showAddress[] = R"js(function showAddress(address) {
  addressQuiet = true;
  pageAddress = address;
  drawAddress(address);
  setTimeout("addressQuiet = false", 250);
})js";

// Draws the view of an address, as the panel and the links would.
constexpr char k_drawAddress[] = R"js(function drawAddress(address) {
  var values = readAddress(address);
  var state = self.control.document.cont;
  var i;
  if (address == "") {
    pictureView = false;
    pageView = "";
    state.slideshow.value = -1;
    writeFrame(self.show, welcomeFrame, "welcome");
    writeFrame(self.film, blankFrame, "blank");
    return;
  }
  if (values.search == null && values.folder == null) {
    if (values.pic == null) {
      showControl();
      return;
    }
    values.search = "";
  }
  var cols = parseInt(values.cols);
  if (cols >= 1 && cols <= 8) {
    state.viewcols.value = "" + cols;
  }
  state.titles.checked = values.titles == "1";
  controlflag = true;
  showControl();
  var panel = self.show.document.cont;
  panel.slideshow.checked = false;
  if (values.folder != null) {
    var found = -1;
    for (i = 0; i < cat.path.count; i++) {
      if (cat.path.words[i] == values.folder || decodeRefs(cat.path.words[i]) == values.folder) {
        found = i;
      }
    }
    if (found < 0) {
      panel.keywords.value = values.folder;
      storeSetup();
      noteSearch("folder", values.folder, "", "");
      results = new ResultList();
      showList();
    } else {
      searchPath(found);
    }
  } else {
    panel.keywords.value = values.search;
    chooseEntry(panel.startdate, values.from);
    chooseEntry(panel.enddate, values.to);
    if (values.search == "" && (panel.startdate.selectedIndex > 0 || panel.enddate.selectedIndex > 0)) {
      // As choosing the dates in the panel would: the dates become the
      // search text, which otherwise, empty, would list every picture.
      copyDate();
    }
    doSearch();
  }
  if (values.pic != null) {
    for (i = 0; i < results.count; i++) {
      if (results.item[i].object.thumb == values.pic) {
        showFound(i, values.view == "black");
        return;
      }
    }
  }
})js";

// Shows result `i` once the search's list is drawn, which clears blackflag.
constexpr char k_showFound[] = R"js(function showFound(i, black) {
  setTimeout(function () {
    blackflag = black;
    showPic(i);
  }, 60);
})js";

// Back, Forward, or an address typed or followed. Browsers that reload the
// frameset instead come back through initialize.
constexpr char k_addressChanged[] = R"js(function addressChanged() {
  var address = self.location.hash.substring(1);
  if (address != pageAddress) {
    showAddress(address);
  }
})js";

}  // namespace

const std::vector<ScriptPiece>& Address_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"pageAddress", k_pageAddress},       {"pageView", k_pageView},
      {"searchAddress", k_searchAddress},   {"addressQuiet", k_addressQuiet},
      {"picPending", k_picPending},         {"noteSearch", k_noteSearch},
      {"setAddress", k_setAddress},         {"readAddress", k_readAddress},
      {"chooseEntry", k_chooseEntry},       {"showAddress", k_showAddress},
      {"drawAddress", k_drawAddress},       {"showFound", k_showFound},
      {"addressChanged", k_addressChanged},
  };
  return pieces;
}

}  // namespace zendrel
