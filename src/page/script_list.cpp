// The thumbnail list: written with the rows of its screen, the rest of its
// height held by empty stand-ins that give way to rows when scrolled to.
#include "page/page_script.h"

namespace zendrel {
namespace {

// The list being filled: its frame, table, which groups hold their rows yet
// and the stand-ins of the others; null once every row is there.
constexpr char k_listJob[] = R"js(var listJob = null;)js";

// The row pitch and spacing measured for each kind of list (frame, columns,
// titles): a list written again sizes its stand-ins from here and is laid
// out once instead of twice.
constexpr char k_listPitches[] = R"js(var listPitches = new Object();)js";

// Where the last list was left for a picture: its search, columns, titles,
// scroll offset and the picture, so that going back shows the same place.
constexpr char k_listPlace[] = R"js(var listPlace = null;)js";

// The list has its full height at once. The results come in groups of about
// a third of a screen, each a row group of the table once written. Only the
// groups on the screen are written with the page; every run of groups not
// yet written stands as one empty row group of their height (a stand-in), so
// that a list of 50,000 pictures costs no more to write and lay out than one
// of 500. A stand-in gives way to rows when scrolled to (listScrolled) and,
// in a list's first 2,000 rows, in slices after the first screen
// (listLater). Rows, their order and their links are those of one table
// written whole.
constexpr char k_showList[] = R"js(function showList() {
  blackflag = false;
  pictureView = false;
  listJob = null;
  var prepared = listPrepared;
  listPrepared = null;
  if (results == null) {
    showControl();
    writeFrame(self.film, blankFrame, "blank");
    return;
  }
  var plan = listPlan();
  var frame = plan.frame;
  if (results.count == 0) {
    listWrite(frame, plan.text);
    if (!picPending) {
      setAddress("list");
    }
    return;
  }
  if (prepared != null && prepared.text == plan.text && prepared.doc == frame.document) {
    listWrite(frame, plan.text.substring(0, plan.tableStart) + plan.text.substring(plan.tableEnd));
    frame.document.body.insertBefore(prepared.table, frame.document.body.firstChild);
  } else {
    listWrite(frame, plan.text);
  }
  var from = plan.from;
  var to = plan.to;
  var first = plan.first;
  var groups = plan.groups;
  var table = frame.document.getElementsByTagName("table")[0];
  listPlace = { address: searchAddress, cols: plan.cols, titles: plan.titles, frame: frame, table: table, item: plan.place != null ? plan.place.item : 0, scroll: 0 };
  var job = { frame: frame, table: table, done: new Array(groups), left: groups, chunk: plan.chunk, cols: plan.cols, titles: plan.titles, waits: 0, pitchKind: plan.pitchKind, standIns: new Array(), next: 0 };
  listJob = job;
  var k;
  for (k = from; k <= to; k++) {
    job.done[k] = true;
    job.left--;
  }
  var ranges = new Array();
  if (from > 0) {
    ranges[ranges.length] = [0, from - 1];
  }
  if (to < groups - 1) {
    ranges[ranges.length] = [to + 1, groups - 1];
  }
  var bodies = table.tBodies;
  for (k = 0; k < bodies.length && job.standIns.length < ranges.length; k++) {
    if (bodies[k].className == "later") {
      var range = ranges[job.standIns.length];
      job.standIns[job.standIns.length] = { body: bodies[k], first: range[0], last: range[1] };
    }
  }
  var written = listBody(job, first);
  if (plan.place != null) {
    // Scrolling lays the table out; the pitch is then read from that layout
    // rather than making one of its own.
    frame.scrollTo(0, plan.scroll);
  }
  if (written) {
    listPitch(job, written);
  }
  if (plan.place != null && written) {
    var cell = written.getElementsByTagName("img")[plan.place.item - first * plan.chunk];
    if (cell) {
      var box = cell.getBoundingClientRect();
      if (box.top < 0 || box.bottom > frame.innerHeight) {
        frame.scrollTo(0, box.top + frame.pageYOffset - 8);
      }
    }
  }
  listScrolled();
  if (frame.addEventListener) {
    frame.addEventListener("scroll", listScrolled, false);
    frame.addEventListener("resize", listScrolled, false);
  }
  if (job.left > 0 && listJob == job) {
    listLater();
  } else if (listJob == job) {
    listJob = null;
  }
  if (!picPending) {
    setAddress("list");
  }
})js";

// What showList writes now: the frame, the page's text, where its table
// stands in it, the groups it holds, and the place kept in the list.
constexpr char k_listPlan[] = R"js(function listPlan() {
  var state = self.control.document.cont;
  var cols = parseInt(state.viewcols.value);
  if (results.count < cols) {
    cols = results.count;
  }
  var titles = state.titles.checked;
  var plan = { frame: self.show, cols: cols, titles: titles, place: null };
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
  plan.frame = frame;
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
  plan.cols = cols;
  if (results.count == 0) {
    plan.text = '<html><body background="texture2.jpg" bgcolor="#000000" text="#FFFFFF" style="background-color:#000000; color:#FFFFFF"><br><big>Sorry, no matches found</big></body></html>';
    return plan;
  }
  plan.pitchKind = (frame == self.film ? "film " : "show ") + cols + (titles ? " titles" : "");
  var known = listPitches[plan.pitchKind];
  var pitch = known ? known.pitch : 104;
  var place = null;
  if (listPlace != null && listPlace.address == searchAddress && listPlace.cols == cols && listPlace.titles == titles && listPlace.frame == frame) {
    place = listPlace;
  }
  var chunk = cols * Math.ceil(height / 300);
  var groups = Math.ceil(results.count / chunk);
  var span = pitch * chunk / cols;
  var scroll = 0;
  var first = 0;
  if (place != null) {
    scroll = place.scroll;
    first = Math.floor(place.item / chunk);
    var row = Math.floor(place.item / cols) * pitch;
    if (row < scroll || row + pitch > scroll + height) {
      scroll = Math.max(0, row - 8);
    }
  }
  // The groups on the screen, by the pitch this kind of list had before.
  var from = Math.min(groups - 1, Math.max(0, Math.floor((scroll - 16) / span)));
  var to = Math.min(groups - 1, Math.max(from, Math.floor((scroll + height + 16) / span)));
  if (first < from || first > to) {
    from = first;
    to = first;
  }
  if (place == null) {
    first = from;
  }
  plan.tableStart = text.lastIndexOf("<table");
  if (from > 0) {
    text += '<tbody class="later">' + listStandIn(0, from - 1, chunk, cols) + "</tbody>";
  }
  for (var k = from; k <= to; k++) {
    text += '<tbody data-group="' + k + '">' + listGroup(k, chunk, cols, titles) + "</tbody>";
  }
  if (to < groups - 1) {
    text += '<tbody class="later">' + listStandIn(to + 1, groups - 1, chunk, cols) + "</tbody>";
  }
  text += "</table>";
  plan.tableEnd = text.length;
  if (known) {
    text += "<style>:root{--pitch:" + known.pitch + "px;--gap:" + known.gap + "px}</style>";
  }
  text += "</body></html>";
  plan.text = text;
  plan.place = place;
  plan.chunk = chunk;
  plan.groups = groups;
  plan.from = from;
  plan.to = to;
  plan.first = first;
  plan.scroll = scroll;
  return plan;
})js";

// The list's table made ahead, while the view's timer runs, in the document
// its frame shows now: showList then only puts it in place, when nothing it
// depends on has changed meanwhile.
constexpr char k_listPrepared[] = R"js(var listPrepared = null;)js";

constexpr char k_listPrepare[] = R"js(function listPrepare() {
  listPrepared = null;
  if (results == null || results.count == 0) {
    return;
  }
  var plan = listPlan();
  var doc = plan.frame.document;
  if (!doc || !doc.createElement) {
    return;
  }
  var holder = doc.createElement("div");
  holder.innerHTML = plan.text.substring(plan.tableStart, plan.tableEnd);
  if (holder.firstChild && holder.firstChild.nodeName.toLowerCase() == "table" && holder.childNodes.length == 1) {
    listPrepared = { text: plan.text, doc: doc, table: holder.firstChild };
  }
})js";

// Writes the list page into `frame`; a list in the show frame leaves the
// film frame blank.
constexpr char k_listWrite[] = R"js(function listWrite(frame, text) {
  if (frame == self.film) {
    writeFrame(self.film, text, "list");
    return;
  }
  writeFrame(self.show, text, "list");
  writeFrame(self.film, blankFrame, "blank");
  if (controlflag) {
    whenIdle(function () {
      if (controlflag) {
        getControl();
      }
    });
  }
})js";

// The row of a stand-in for groups `a` to `b`: as high as their rows.
constexpr char k_listStandIn[] = R"js(function listStandIn(a, b, chunk, cols) {
  var rows = Math.ceil((Math.min((b + 1) * chunk, results.count) - a * chunk) / cols);
  return '<tr><td style="padding:0;height:calc(var(--pitch, 104px) * ' + rows + ' - var(--gap, 2px))"></td></tr>';
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

// The written row group of group `k`, or null.
constexpr char k_listBody[] = R"js(function listBody(job, k) {
  var bodies = job.table.tBodies;
  for (var i = 0; i < bodies.length; i++) {
    if (bodies[i].getAttribute("data-group") == "" + k) {
      return bodies[i];
    }
  }
  return null;
})js";

// Sizes the stand-ins like the written group `body`: the distance from one
// row to the next, and the table's spacing between rows.
constexpr char k_listPitch[] = R"js(function listPitch(job, body) {
  var rows = body.rows;
  var n = rows.length;
  while (n > 1 && rows[n - 1].cells.length == 0) {
    n--;
  }
  if (n == 0) {
    return;
  }
  var gap = 2;
  if (job.frame.getComputedStyle) {
    gap = parseFloat(job.frame.getComputedStyle(job.table).borderSpacing.split(" ").pop()) || 0;
  }
  var pitch = rows[0].offsetHeight + gap;
  if (n > 1) {
    pitch = (rows[n - 1].offsetTop - rows[0].offsetTop) / (n - 1);
  }
  if (!(pitch > 0)) {
    // A frame not laid out (hidden, or of no height) says nothing.
    return;
  }
  var known = listPitches[job.pitchKind];
  if (known && known.pitch == pitch && known.gap == gap) {
    return;
  }
  listPitches[job.pitchKind] = { pitch: pitch, gap: gap };
  if (job.frame.document.documentElement.style.setProperty) {
    job.frame.document.documentElement.style.setProperty("--pitch", pitch + "px");
    job.frame.document.documentElement.style.setProperty("--gap", gap + "px");
  }
})js";

// The height of one group on the screen, as far as is known.
constexpr char k_listSpan[] = R"js(function listSpan(job) {
  var known = listPitches[job.pitchKind];
  return (known ? known.pitch : 104) * job.chunk / job.cols;
})js";

// Which of `job`'s stand-ins holds group `k`, or -1.
constexpr char k_listStandInAt[] = R"js(function listStandInAt(job, k) {
  for (var i = 0; i < job.standIns.length; i++) {
    if (job.standIns[i].first <= k && job.standIns[i].last >= k) {
      return i;
    }
  }
  return -1;
})js";

// Writes the rows of group `k` in place of its share of the stand-in that
// holds it; what remains of the stand-in stays before and after it. A group
// `above` the screen keeps what is shown: the frame scrolls by the change in
// height it made.
constexpr char k_listFill[] = R"js(function listFill(job, k, above) {
  if (job.done[k]) {
    return;
  }
  var i = listStandInAt(job, k);
  if (i < 0) {
    // Its stand-in is gone (a title's markup can reshape the table): there
    // is nothing to fill, and the slices must not wait for it.
    job.done[k] = true;
    job.left--;
    return;
  }
  var standIn = job.standIns[i];
  var table = standIn.body.parentNode;
  var after = standIn.body.nextSibling;
  var bottom = above ? job.table.getBoundingClientRect().bottom : 0;
  var doc = job.frame.document;
  var body = doc.createElement("tbody");
  body.setAttribute("data-group", "" + k);
  body.innerHTML = listGroup(k, job.chunk, job.cols, job.titles);
  table.insertBefore(body, after);
  if (k < standIn.last) {
    var rest = doc.createElement("tbody");
    rest.className = "later";
    rest.innerHTML = listStandIn(k + 1, standIn.last, job.chunk, job.cols);
    table.insertBefore(rest, after);
    job.standIns[job.standIns.length] = { body: rest, first: k + 1, last: standIn.last };
  }
  if (standIn.first < k) {
    standIn.last = k - 1;
    standIn.body.innerHTML = listStandIn(standIn.first, k - 1, job.chunk, job.cols);
  } else {
    table.removeChild(standIn.body);
    job.standIns.splice(i, 1);
  }
  job.done[k] = true;
  job.left--;
  if (above) {
    var moved = job.table.getBoundingClientRect().bottom - bottom;
    if (moved != 0) {
      job.frame.scrollBy(0, moved);
    }
  }
})js";

// Fills the groups on the screen and `margin` pixels above and below it.
// The stand-ins are measured together before any group is written, which
// lays the table out once rather than once per group.
constexpr char k_listVisible[] = R"js(function listVisible(margin) {
  var job = listJob;
  if (!listAlive(job)) {
    return;
  }
  var height = job.frame.innerHeight;
  var span = listSpan(job);
  var wanted = new Array();
  for (var i = 0; i < job.standIns.length; i++) {
    var standIn = job.standIns[i];
    var box = standIn.body.getBoundingClientRect();
    if (box.bottom > -margin && box.top < height + margin) {
      var low = standIn.first + Math.max(0, Math.floor((-margin - box.top) / span));
      var high = Math.min(standIn.last, standIn.first + Math.floor((height + margin - box.top) / span));
      for (var k = low; k <= high; k++) {
        wanted[wanted.length] = { group: k, above: box.top + (k - standIn.first + 1) * span <= 0 };
      }
    }
  }
  for (i = 0; i < wanted.length; i++) {
    listFill(job, wanted[i].group, wanted[i].above);
  }
  if (job.left == 0 && listJob == job) {
    listJob = null;
  }
})js";

// The rows on the screen are written before it is drawn; those a screen
// above and below, for Page Up and Page Down, when the browser is idle.
constexpr char k_listScrolled[] = R"js(function listScrolled() {
  var job = listJob;
  if (!listAlive(job)) {
    return;
  }
  listVisible(0);
  if (!job.marginLater) {
    job.marginLater = true;
    whenIdle(function () {
      job.marginLater = false;
      if (listAlive(job)) {
        listVisible(job.frame.innerHeight);
      }
    });
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
  job.waits = 20;
  var more = function () {
    setTimeout(function () {
      listMore(job);
    }, 0);
  };
  if (frame.requestAnimationFrame) {
    frame.requestAnimationFrame(more);
  } else {
    more();
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

// Fills the next groups, in order, for some milliseconds, unless the frame
// shows something else by now. Only the first 2,000 rows are written this
// way: every row more makes each layout of the table dearer (Firefox takes
// half a second for 50,000), so the rest comes when scrolled to.
constexpr char k_listMore[] = R"js(function listMore(job) {
  if (!listAlive(job)) {
    return;
  }
  var until = new Date().getTime() + 8;
  var groups = job.done.length;
  var span = listSpan(job);
  while (job.left > 0 && (groups - job.left) * job.chunk / job.cols < 2000 && new Date().getTime() < until) {
    while (job.done[job.next]) {
      job.next++;
    }
    var k = job.next;
    var at = listStandInAt(job, k);
    var above = false;
    if (at >= 0) {
      above = job.standIns[at].body.getBoundingClientRect().top + (k - job.standIns[at].first + 1) * span <= 0;
    }
    listFill(job, k, above);
  }
  if (job.left == 0) {
    listJob = null;
  } else if ((groups - job.left) * job.chunk / job.cols < 2000) {
    listLater();
  }
})js";

}  // namespace

const std::vector<ScriptPiece>& List_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"listJob", k_listJob},
      {"listPitches", k_listPitches},
      {"listPlace", k_listPlace},
      {"showList", k_showList},
      {"listPlan", k_listPlan},
      {"listPrepared", k_listPrepared},
      {"listPrepare", k_listPrepare},
      {"listWrite", k_listWrite},
      {"listStandIn", k_listStandIn},
      {"listGroup", k_listGroup},
      {"listRows", k_listRows},
      {"listBody", k_listBody},
      {"listPitch", k_listPitch},
      {"listSpan", k_listSpan},
      {"listStandInAt", k_listStandInAt},
      {"listFill", k_listFill},
      {"listVisible", k_listVisible},
      {"listScrolled", k_listScrolled},
      {"listAlive", k_listAlive},
      {"listLater", k_listLater},
      {"firstScreenLoaded", k_firstScreenLoaded},
      {"listMore", k_listMore},
  };
  return pieces;
}

}  // namespace zendrel
