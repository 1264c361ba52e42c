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
  if ((state.viewcols.value != "1" && results.count > 1) || blackflag) {
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
  if (self.control.document.cont.viewcols.value == "1" || results.count == 1) {
    showList();
  }
})js";

constexpr char k_showAll[] = R"js(function showAll() {
  setTimeout("showList()", 50);
})js";

// The thumbnail rows still to be written by listMore, or null.
constexpr char k_listJob[] = R"js(var listJob = null;)js";

// The first screen of thumbnails is written at once and the other rows in
// growing slices after it has been drawn (listMore), so that a long list
// shows at once; the rows, their order and their links end up the same.
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
  var text = '<html><body background="texture2.jpg" bgcolor="#000000" text="#FFFFFF" style="background-color:#000000; color:#FFFFFF">';
  if (cols == 1) {
    text += '<table border=0 align="center" cellspacing=5 cellpadding=0>';
  } else if (state.titles.checked) {
    text += "<table border=0 cellspacing=5 width=" + cols * 104 + ">";
  } else {
    text += "<table border=0>";
  }
  var frame = self.show;
  if (cols < 2) {
    frame = self.film;
  }
  var height = frame.innerHeight;
  if (!(height > 0)) {
    height = 1000;
  }
  var first = cols * (Math.ceil(height / 100) + 2);
  var rows = listRows(0, first, cols, state.titles.checked);
  if (rows.length < 33) {
    text = '<html><body background="texture2.jpg" bgcolor="#000000" text="#FFFFFF" style="background-color:#000000; color:#FFFFFF"><br><big>Sorry, no matches found</big></body></html>';
  } else {
    text += rows + "</tr></table></body></html>";
  }
  if (cols < 2) {
    writeFrame(self.film, text, "list");
  } else {
    writeFrame(self.show, text, "list");
    writeFrame(self.film, blankFrame, "blank");
    if (controlflag) {
      getControl();
    }
  }
  if (first < results.count) {
    listJob = { frame: frame, table: frame.document.getElementsByTagName("table")[0], next: first, cols: cols, titles: state.titles.checked, size: cols * 40, waits: 0 };
    listLater();
  }
  if (!picPending) {
    setAddress("list");
  }
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

// The next slice, once the frame has drawn the last one and the thumbnails
// of the first screen have come (for at most a second), which the slices
// would otherwise hold up.
constexpr char k_listLater[] = R"js(function listLater() {
  var frame = listJob.frame;
  if (listJob.waits < 20 && !firstScreenLoaded(frame)) {
    listJob.waits++;
    setTimeout(function () {
      if (listJob != null) {
        listLater();
      }
    }, 50);
    return;
  }
  if (frame.requestAnimationFrame) {
    frame.requestAnimationFrame(function () {
      setTimeout(listMore, 0);
    });
  } else {
    setTimeout(listMore, 20);
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

// Appends the next slice of rows to the table, unless the frame shows
// something else by now.
constexpr char k_listMore[] = R"js(function listMore() {
  var job = listJob;
  if (job == null || !job.table || !job.frame.document.body || !job.frame.document.body.contains(job.table)) {
    listJob = null;
    return;
  }
  var body = job.table.tBodies[0];
  var last = body.rows[body.rows.length - 1];
  if (last && last.cells.length == 0) {
    body.removeChild(last);
  }
  var to = job.next + job.size;
  var rows = listRows(job.next, to, job.cols, job.titles);
  if (to >= results.count) {
    rows += "</tr>";
  }
  body.insertAdjacentHTML("beforeend", rows);
  job.next = to;
  // Slices stay short enough not to stall scrolling.
  job.size = Math.min(job.size * 3, Math.max(job.cols * 60, 600));
  if (to < results.count) {
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
      {"showSlide", k_showSlide},
      {"setSlide", k_setSlide},
      {"getPic", k_getPic},
      {"showPic", k_showPic},
      {"showBlack", k_showBlack},
      {"showNormal", k_showNormal},
      {"showAll", k_showAll},
      {"showList", k_showList},
      {"shortTitle", k_shortTitle},
      {"listJob", k_listJob},
      {"listRows", k_listRows},
      {"listLater", k_listLater},
      {"firstScreenLoaded", k_firstScreenLoaded},
      {"listMore", k_listMore},
      {"altText", k_altText},
  };
  return pieces;
}

}  // namespace zendrel
