// The page's picture views: the thumbnail table, the detail view, the black
// view, Prev / Next / All, and the slide show.
#include "page/page_script.h"

namespace zendrel {
namespace {

// Steps on by itself while the state form's slide time is above 0; any other
// value ends the show (Start stores -1, which becomes 0 here).
constexpr char k_showSlide[] = R"js(function showSlide(flag) {
  var state = self.control.document.cont;
  var t = parseInt(state.slideshow.value);
  if (flag && t != 0) {
    if (t > 0) {
      showPic(pickedItem + 1);
      setTimeout("showSlide(true)", t * 1000);
    } else {
      state.slideshow.value = 0;
    }
  }
})js";

constexpr char k_setSlide[] = R"js(function setSlide(slidetime) {
  var state = self.control.document.cont;
  var t = parseInt(state.slideshow.value);
  if (t >= 0) {
    state.slideshow.value = slidetime;
  }
  if (t == 0) {
    setTimeout("showSlide(true)", 50);
  } else {
    setTimeout("showSlide(false)", 50);
  }
})js";

constexpr char k_getPic[] = R"js(function getPic() {
  var state = self.control.document.cont;
  var pic = results.item[pickedItem].object;
  var text;
  if (((state.viewcols.value != "1" || phoneLayout()) && results.count > 1) || blackflag) {
    text = '<html><body background="texture2.jpg" bgcolor="#000000" style="background-color:#000000">&nbsp;<a href="javascript:parent.showPic(';
    text += pickedItem - 1;
    text += ')" style="color:#0000FF; text-decoration:none">Prev</a><br>&nbsp;<a href="javascript:parent.showPic(';
    text += pickedItem + 1;
    text += ')" style="color:#0000FF; text-decoration:none">Next</a><br>&nbsp;<a href="javascript:parent.showAll()" style="color:#0000FF; text-decoration:none">All</a>';
    if (parseInt(state.slideshow.value) > 0) {
      text += '<br>&nbsp;<a href="javascript:parent.setSlide(5)" style="color:#0000FF; text-decoration:none"> 5</a>';
      text += '<br>&nbsp;<a href="javascript:parent.setSlide(10)" style="color:#0000FF; text-decoration:none">10</a>';
      text += '<br>&nbsp;<a href="javascript:parent.setSlide(20)" style="color:#0000FF; text-decoration:none">20</a>';
    }
    text += "</body></html>";
    writeFrame(self.film, text, "nav");
  }
  if (blackflag) {
    text = '<html><body background="texture2.jpg" bgcolor="#000000" style="background-color:#000000"><table border=0><tr>';
    text += '<td><a href="javascript:parent.showNormal()"><img border=0 src="';
    text += nextfile(pic.thumb);
    text += '" alt="' + altText(pic) + '"></a>';
    text += "</td></tr></table></body></html>";
  } else {
    text = '<html><body background="texture.jpg" style="background-image:url(texture.jpg)"><table border=0><tr>';
    text += '<td valign="top"><a href="javascript:parent.showBlack()"><img align="top" border=0 src="';
    text += nextfile(pic.thumb);
    text += '" alt="' + altText(pic) + '"></a></td>';
    text += '<td valign="top"><b>';
    text += pic.num + "</b><br>";
    text += pic.title + "<br>" + pic.subject + "<br>" + pic.category + "<br>" + pic.comment + "<br>";
    text += pic.author + "<br>" + pic.picdate + "<br>" + nameText(pic.path) + "<br>" + nameText(pic.source) + "<br>" + nameText(pic.file) + "<br>";
    text += "</td></tr></table></body></html>";
  }
  picPending = false;
  pictureView = true;
  writeFrame(self.show, text, blackflag ? "black" : "detail");
  setAddress(blackflag ? "black" : "pic");
})js";

// Without any result there is no picture to show: the table's "no matches"
// page stands in for it (a slide show over an empty search ends up here).
constexpr char k_showPic[] = R"js(function showPic(i) {
  if (results == null) {
    showControl();
    writeFrame(self.film, blankFrame, "blank");
    return;
  }
  if (results.count == 0) {
    showList();
    return;
  }
  pickedItem = i;
  if (pickedItem < 0) {
    pickedItem = results.count - 1;
  }
  if (pickedItem >= results.count) {
    pickedItem = 0;
  }
  if (listPlace != null) {
    listPlace.item = pickedItem;
    if (listPlace.frame.document.body && listPlace.frame.document.body.contains(listPlace.table)) {
      listPlace.scroll = listPlace.frame.pageYOffset;
    }
  }
  picPending = true;
  setTimeout("getPic()", 50);
  if (controlflag) {
    getControl();
  }
})js";

constexpr char k_showBlack[] = R"js(function showBlack() {
  blackflag = true;
  showPic(pickedItem);
})js";

constexpr char k_showNormal[] = R"js(function showNormal() {
  blackflag = false;
  showPic(pickedItem);
  if (!phoneLayout() && (self.control.document.cont.viewcols.value == "1" || results.count == 1)) {
    showList();
  }
})js";

constexpr char k_showAll[] = R"js(function showAll() {
  setTimeout("showList()", 50);
})js";

// The list being filled: its frame, table, row groups and which of them
// hold their rows yet; null once every row is there.
constexpr char k_listJob[] = R"js(var listJob = null;)js";

// The row pitch and spacing measured for each kind of list (frame, columns,
// titles): a list written again takes its empty groups' height from here and
// is laid out once instead of twice.
constexpr char k_listPitches[] = R"js(var listPitches = new Object();)js";

// Where the last list was left for a picture: its search, columns, titles,
// scroll offset and the picture, so that going back shows the same place.
constexpr char k_listPlace[] = R"js(var listPlace = null;)js";

// The list has its full height at once: the results come in groups of 25
// rows (more on a tall screen), each a row group of the table; smaller groups
// would make many more of them, which cost more to lay out at 50,000
// pictures than the thumbnails they save. The groups on the screen are
// written with the page, the others stand as empty rows of the same height
// until they are filled, at once when scrolled to (listVisible) and
// otherwise in slices after the first screen (listLater). Rows, their order
// and their links are those of one table written whole.
constexpr char k_showList[] = R"js(function showList() {
  blackflag = false;
  pictureView = false;
  listJob = null;
  if (results == null) {
    showControl();
    writeFrame(self.film, blankFrame, "blank");
    return;
  }
  var state = self.control.document.cont;
  var cols = parseInt(state.viewcols.value);
  if (results.count < cols) {
    cols = results.count;
  }
  var titles = state.titles.checked;
  var text = '<html><body background="texture2.jpg" bgcolor="#000000" text="#FFFFFF" style="background-color:#000000; color:#FFFFFF">';
  if (cols == 1) {
    text += '<table border=0 align="center" cellspacing=5 cellpadding=0>';
  } else if (titles) {
    text += "<table border=0 cellspacing=5 width=" + cols * 104 + ">";
  } else {
    text += "<table border=0>";
  }
  var frame = self.show;
  if (cols < 2 && !phoneLayout()) {
    frame = self.film;
  }
  var height = frame.innerHeight;
  if (!(height > 0)) {
    height = 1000;
  }
  if (phoneLayout() && cols > 1) {
    // A phone gets as many columns as fit across it.
    var fit = Math.max(1, Math.floor((frame.innerWidth - 8) / (titles ? 109 : 100)));
    if (cols > fit) {
      cols = fit;
      text = text.replace(/width=[0-9]+/, "width=" + cols * 104);
    }
  }
  var pitchKind = (frame == self.film ? "film " : "show ") + cols + (titles ? " titles" : "");
  var known = listPitches[pitchKind];
  var place = null;
  if (listPlace != null && listPlace.address == searchAddress && listPlace.cols == cols && listPlace.titles == titles && listPlace.frame == frame) {
    place = listPlace;
  }
  var chunk = cols * Math.max(25, Math.ceil(height / 100) + 2);
  var groups = Math.ceil(results.count / chunk);
  var first = 0;
  if (place != null) {
    first = Math.floor(place.item / chunk);
  }
  var body = "";
  for (var k = 0; k < groups; k++) {
    if (k == first || (place != null && k == first + 1)) {
      body += "<tbody>" + listGroup(k, chunk, cols, titles) + "</tbody>";
    } else {
      var rows = Math.ceil((Math.min((k + 1) * chunk, results.count) - k * chunk) / cols);
      if (rows == chunk / cols) {
        body += '<tbody class="later"><tr><td></td></tr></tbody>';
      } else {
        body += '<tbody class="later"><tr><td style="height:calc(var(--pitch, 104px) * ' + rows + ' - var(--gap, 2px))"></td></tr></tbody>';
      }
    }
  }
  if (results.count == 0) {
    text = '<html><body background="texture2.jpg" bgcolor="#000000" text="#FFFFFF" style="background-color:#000000; color:#FFFFFF"><br><big>Sorry, no matches found</big></body></html>';
  } else {
    // One rule sizes the groups still empty, which are many in a long list.
    text += body + "</table><style>tbody.later td{padding:0;height:calc(var(--pitch, 104px) * " + chunk / cols + " - var(--gap, 2px))}";
    if (known) {
      text += ":root{--pitch:" + known.pitch + "px;--gap:" + known.gap + "px}";
    }
    text += "</style></body></html>";
  }
  if (frame == self.film) {
    writeFrame(self.film, text, "list");
  } else {
    writeFrame(self.show, text, "list");
    writeFrame(self.film, blankFrame, "blank");
    if (controlflag) {
      whenIdle(function () {
        if (controlflag) {
          getControl();
        }
      });
    }
  }
  if (results.count > 0) {
    var table = frame.document.getElementsByTagName("table")[0];
    listPlace = { address: searchAddress, cols: cols, titles: titles, frame: frame, table: table, item: place != null ? place.item : 0, scroll: 0 };
    var job = { frame: frame, table: table, bodies: table.tBodies, done: new Array(groups), left: groups, chunk: chunk, cols: cols, titles: titles, waits: 0, pitchKind: pitchKind };
    listJob = job;
    job.done[first] = true;
    job.left--;
    if (place != null && first + 1 < groups) {
      job.done[first + 1] = true;
      job.left--;
    }
    listPitch(job, table.tBodies[first]);
    if (place != null) {
      frame.scrollTo(0, place.scroll);
      listVisible();
      var cell = table.tBodies[first].getElementsByTagName("img")[place.item - first * chunk];
      if (cell) {
        var box = cell.getBoundingClientRect();
        if (box.top < 0 || box.bottom > frame.innerHeight) {
          frame.scrollTo(0, box.top + frame.pageYOffset - 8);
          listVisible();
        }
      }
    }
    if (frame.addEventListener) {
      frame.addEventListener("scroll", listVisible, false);
      frame.addEventListener("resize", listVisible, false);
    }
    if (job.left > 0) {
      listLater();
    } else if (listJob == job) {
      listJob = null;
    }
  }
  if (!picPending) {
    setAddress("list");
  }
})js";

// The rows of group `k` of the results, as one table written whole has them:
// a row start, the cells, a row break after every `cols` cells; the last
// group ends with the table's closing "</tr>".
constexpr char k_listGroup[] = R"js(function listGroup(k, chunk, cols, titles) {
  var from = k * chunk;
  var to = Math.min(from + chunk, results.count);
  var rows = listRows(from, to, cols, titles);
  if (to >= results.count) {
    return rows + "</tr>";
  }
  return rows.substring(0, rows.length - 32);
})js";

// The rows of the results from `from` up to `to`, as showList writes them:
// a row start, the cells, a row break after every `cols` cells.
constexpr char k_listRows[] = R"js(function listRows(from, to, cols, titles) {
  var rows = '<tr align="center" valign="top">';
  var col = 1;
  for (var i = from; i < to && i < results.count; i++) {
    var pic = results.item[i].object;
    rows += '<td><a href="javascript:parent.showPic(' + i + ')"><img src="' + pic.thumb;
    rows += '" alt="' + altText(pic) + '" loading="lazy" decoding="async';
    if (titles) {
      rows += '" height="96" width="96" border=0></a><br><small>' + shortTitle(pic.title) + "</small></td>";
    } else {
      rows += '" height="96" width="96" border=0></a></td>';
    }
    col++;
    if (col > cols) {
      col = 1;
      rows += '</tr><tr align="center" valign="top">';
    }
  }
  return rows;
})js";

// Sizes the groups still empty like the written group `body`: the distance
// from one row to the next, and the table's spacing between rows.
constexpr char k_listPitch[] = R"js(function listPitch(job, body) {
  var rows = body.rows;
  var n = rows.length;
  while (n > 1 && rows[n - 1].cells.length == 0) {
    n--;
  }
  var gap = 2;
  if (job.frame.getComputedStyle) {
    gap = parseFloat(job.frame.getComputedStyle(job.table).borderSpacing.split(" ").pop()) || 0;
  }
  var pitch = rows[0].offsetHeight + gap;
  if (n > 1) {
    pitch = (rows[n - 1].offsetTop - rows[0].offsetTop) / (n - 1);
  }
  var known = listPitches[job.pitchKind];
  if (known && known.pitch == pitch && known.gap == gap) {
    return;
  }
  listPitches[job.pitchKind] = { pitch: pitch, gap: gap };
  if (job.frame.document.documentElement.style.setProperty && pitch > 0) {
    job.frame.document.documentElement.style.setProperty("--pitch", pitch + "px");
    job.frame.document.documentElement.style.setProperty("--gap", gap + "px");
  }
})js";

// Writes the rows of group `k`, whose place on the screen was `box` (measured
// here when not given). A group above the screen keeps what is shown in its
// place. Only then is the table laid out again here: boxes measured together
// before the writes save a layout of the whole table per group.
constexpr char k_listFill[] = R"js(function listFill(job, k, box) {
  if (job.done[k]) {
    return;
  }
  var body = job.bodies[k];
  if (box == null) {
    box = body.getBoundingClientRect();
  }
  body.innerHTML = listGroup(k, job.chunk, job.cols, job.titles);
  body.className = "";
  job.done[k] = true;
  job.left--;
  if (box.bottom <= 0) {
    var moved = body.getBoundingClientRect().height - box.height;
    if (moved != 0) {
      job.frame.scrollBy(0, moved);
    }
  }
})js";

// Fills the groups on the screen and a screen above and below it, so that
// End, Page Down or the scroll bar find their rows there.
// The boxes are measured together before any group is written, which lays
// the table out once rather than once per group.
constexpr char k_listVisible[] = R"js(function listVisible() {
  var job = listJob;
  if (!listAlive(job)) {
    return;
  }
  var height = job.frame.innerHeight;
  var boxes = new Array();
  var k;
  for (k = 0; k < job.bodies.length; k++) {
    if (!job.done[k]) {
      boxes[k] = job.bodies[k].getBoundingClientRect();
    }
  }
  for (k = 0; k < job.bodies.length; k++) {
    if (boxes[k] && boxes[k].bottom > -height && boxes[k].top < 2 * height) {
      listFill(job, k, boxes[k]);
    }
  }
  if (job.left == 0 && listJob == job) {
    listJob = null;
  }
})js";

// True while `job`'s table is still the page of its frame.
constexpr char k_listAlive[] = R"js(function listAlive(job) {
  if (job == null || listJob != job || !job.table || !job.frame.document.body) {
    return false;
  }
  return job.frame.document.body.contains(job.table);
})js";

// The next slice, once the frame has drawn the last one and the thumbnails
// of the first screen have come (for at most a second), which the slices
// would otherwise hold up.
constexpr char k_listLater[] = R"js(function listLater() {
  var job = listJob;
  var frame = job.frame;
  if (job.waits < 20 && !firstScreenLoaded(frame)) {
    job.waits++;
    setTimeout(function () {
      if (listJob == job) {
        listLater();
      }
    }, 50);
    return;
  }
  if (frame.requestAnimationFrame) {
    frame.requestAnimationFrame(function () {
      setTimeout(function () {
        listMore(job);
      }, 0);
    });
  } else {
    setTimeout(function () {
      listMore(job);
    }, 20);
  }
})js";

// True when every thumbnail in the frame's first screen has loaded or
// failed.
constexpr char k_firstScreenLoaded[] = R"js(function firstScreenLoaded(frame) {
  var images = frame.document.images;
  var height = frame.innerHeight;
  for (var i = 0; i < images.length; i++) {
    if (images[i].getBoundingClientRect && images[i].getBoundingClientRect().top >= height) {
      return true;
    }
    if (!images[i].complete) {
      return false;
    }
  }
  return true;
})js";

// Fills the next groups for some milliseconds, unless the frame shows
// something else by now.
constexpr char k_listMore[] = R"js(function listMore(job) {
  if (!listAlive(job)) {
    return;
  }
  var until = new Date().getTime() + 12;
  for (var k = 0; k < job.bodies.length && new Date().getTime() < until; k++) {
    listFill(job, k);
  }
  if (job.left > 0) {
    listLater();
  } else {
    listJob = null;
  }
})js";

// A picture's name for assistive technology: its title, else its file. The
// title is HTML: its markup goes and its references stay, so the attribute
// carries the characters they stand for; a file name is text.
constexpr char k_altText[] = R"js(function altText(pic) {
  var title = ("" + pic.title).replace(/<[^>]*>?/g, "");
  if (title.replace(/\s+/g, "") != "") {
    return title.split('"').join("&quot;").split("<").join("&lt;").split(">").join("&gt;");
  }
  var name = pic.source;
  if (name == null || name == "") {
    name = pic.file;
  }
  if (name == null || name == "") {
    name = pic.thumb;
  }
  return nameText(name);
})js";

// Fits a title under a 96-pixel thumbnail: at most 32 characters, cut at a
// blank where one is near, and a line break inside a word too long for a line.
// A character reference, an entity or a tag counts as one character and is
// never cut, nor is a character beyond U+FFFF.
constexpr char k_shortTitle[] = R"js(function shortTitle(str) {
  var chars = ("" + str).match(/&#?[0-9A-Za-z]{1,8};|<[^<>]*>|[\uD800-\uDBFF][\uDC00-\uDFFF]|[\s\S]/g) || [];
  var cut = chars;
  if (chars.length > 32) {
    var end = -1;
    for (var k = 32; k >= 29; k--) {
      if (end < 0 && chars[k] == " ") {
        end = k;
      }
    }
    if (end < 0) {
      end = 31;
    }
    cut = chars.slice(0, end);
  }
  var result = cut.join("");
  if (cut.length > 15) {
    var run = 0;
    for (var i = 0; i < cut.length; i++) {
      if (cut[i] != " ") {
        run++;
      }
      if (cut[i] == " " || i == cut.length - 1) {
        if (run > 15) {
          if (i - run < 7) {
            if (i < 25) {
              result = cut.slice(0, 9).join("") + "<br>" + cut.slice(9).join("");
            } else {
              result = cut.slice(0, 9).join("") + "<br>" + cut.slice(9, 22).join("") + "<br>" + cut.slice(22).join("");
            }
          } else {
            result = cut.slice(0, i - run + 13).join("") + "<br>" + cut.slice(i - run + 13).join("");
          }
        }
        run = 0;
      }
    }
  }
  return result;
})js";

}  // namespace

const std::vector<ScriptPiece>& View_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"showSlide", k_showSlide},     {"setSlide", k_setSlide},
      {"getPic", k_getPic},           {"showPic", k_showPic},
      {"showBlack", k_showBlack},     {"showNormal", k_showNormal},
      {"showAll", k_showAll},         {"showList", k_showList},
      {"shortTitle", k_shortTitle},   {"listJob", k_listJob},
      {"listPlace", k_listPlace},     {"listPitches", k_listPitches},
      {"listGroup", k_listGroup},     {"listRows", k_listRows},
      {"listPitch", k_listPitch},     {"listFill", k_listFill},
      {"listVisible", k_listVisible}, {"listAlive", k_listAlive},
      {"listLater", k_listLater},     {"firstScreenLoaded", k_firstScreenLoaded},
      {"listMore", k_listMore},       {"altText", k_altText},
  };
  return pieces;
}

}  // namespace zendrel
