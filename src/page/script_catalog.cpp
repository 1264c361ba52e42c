// The page's catalogue: pictures, the catalogue with its three indexes, and
// the display copy's name.
#include "page/page_script.h"

namespace zendrel {
namespace {

// A thumbnail's eighth character is the first of a group of eight in the
// alphabet; its display copy has the next one. A master page's thumbnails
// carry their subdirectory in front, so the rule looks at the part after the
// last "/".
constexpr char k_nextfile[] = R"js(function nextfile(str) {
  var alphabet = "0123456789ABCDFGHJKLMNPQRSTVWXYZ";
  var slash = str.lastIndexOf("/");
  var folder = str.substring(0, slash + 1);
  var name = str.substring(slash + 1);
  if (name.length < 8) {
    return str;
  }
  var k = alphabet.indexOf(name.charAt(7));
  if (k < 0 || k % 8 == 7) {
    return str;
  }
  return folder + name.substring(0, 7) + alphabet.charAt(k + 1) + ".jpg";
})js";

constexpr char k_Pic[] =
    R"js(function Pic(thumb, file, path, source, title, subject, category, comment, author, picdate) {
  this.thumb = thumb;
  this.file = file;
  this.path = path;
  this.source = source;
  this.title = title;
  this.subject = subject;
  this.category = category;
  this.comment = comment;
  this.author = author;
  this.picdate = picdate;
  return this;
})js";

// The indexes are built from the pictures when first read (indexPictures),
// or before that in idle moments (indexLater): the page opens without
// waiting for them, and whoever reads `cat.title`, `cat.path` or
// `cat.picdate` finds them complete.
constexpr char k_Catalog[] = R"js(function Catalog() {
  this.count = 0;
  this.pic = new Array();
  this.indexed = 0;
  this.indexes = new Object();
  catalogIndex(this, "title");
  catalogIndex(this, "path");
  catalogIndex(this, "picdate");
  this.add = AddToCatalog;
  return this;
})js";

constexpr char k_AddToCatalog[] = R"js(function AddToCatalog(pic) {
  this.pic[this.count] = pic;
  this.count++;
  pic.num = this.count;
})js";

constexpr char k_catalogIndex[] = R"js(function catalogIndex(catalog, name) {
  var index = new Index();
  catalog.indexes[name] = index;
  Object.defineProperty(catalog, name, {
    get: function () {
      indexPictures(catalog, catalog.count);
      return index;
    },
    enumerable: true
  });
})js";

// Adds the pictures not yet indexed, up to position `upto`, to the three
// indexes: the words of title, subject, category and comment; the folder,
// lower-cased with its first character upper-cased; the date text.
constexpr char k_indexPictures[] = R"js(function indexPictures(catalog, upto) {
  var indexes = catalog.indexes;
  while (catalog.indexed < upto && catalog.indexed < catalog.count) {
    var pic = catalog.pic[catalog.indexed];
    catalog.indexed++;
    indexes.title.add(pic, parseKeywords(pic.title + " " + pic.subject + " " + pic.category + " " + pic.comment));
    var folder = pic.path.toLowerCase();
    folder = folder.charAt(0).toUpperCase() + folder.substring(1);
    indexes.path.add(pic, parseDate(folder));
    indexes.picdate.add(pic, parseDate(pic.picdate));
  }
})js";

// Runs `work` when the browser is idle, or soon where it cannot say.
constexpr char k_whenIdle[] = R"js(function whenIdle(work) {
  if (self.requestIdleCallback) {
    self.requestIdleCallback(work, { timeout: 1000 });
  } else {
    setTimeout(function () {
      work(null);
    }, 20);
  }
})js";

// Indexes the catalogue in slices of a few milliseconds between the
// browser's other work, then builds the search panel's text, so that Start
// finds it ready. A slice stays short even when the browser offers a long
// idle time: a click or a key that comes meanwhile waits for its end.
constexpr char k_indexLater[] = R"js(function indexLater() {
  whenIdle(function (deadline) {
    var until = new Date().getTime() + 4;
    while (cat.indexed < cat.count) {
      indexPictures(cat, cat.indexed + 20);
      if (new Date().getTime() >= until) {
        break;
      }
      if (deadline && deadline.timeRemaining && deadline.timeRemaining() < 1) {
        break;
      }
    }
    if (cat.indexed < cat.count) {
      indexLater();
    } else if (controlFrame == null || controlflag) {
      whenIdle(function () {
        if (controlFrame == null || controlflag) {
          getControl();
        }
      });
    }
  });
})js";

}  // namespace

const std::vector<ScriptPiece>& Catalog_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"nextfile", k_nextfile},         {"Pic", k_Pic},
      {"Catalog", k_Catalog},           {"AddToCatalog", k_AddToCatalog},
      {"catalogIndex", k_catalogIndex}, {"indexPictures", k_indexPictures},
      {"whenIdle", k_whenIdle},         {"indexLater", k_indexLater},
  };
  return pieces;
}

}  // namespace zendrel
