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

constexpr char k_Catalog[] = R"js(function Catalog() {
  this.count = 0;
  this.pic = new Array();
  this.title = new Index();
  this.path = new Index();
  this.picdate = new Index();
  this.add = AddToCatalog;
  return this;
})js";

constexpr char k_AddToCatalog[] = R"js(function AddToCatalog(pic) {
  this.pic[this.count] = pic;
  this.count++;
  pic.num = this.count;
  this.title.add(pic, parseKeywords(pic.title + " " + pic.subject + " " + pic.category + " " + pic.comment));
  var folder = pic.path.toLowerCase();
  folder = folder.charAt(0).toUpperCase() + folder.substring(1);
  this.path.add(pic, parseDate(folder));
  this.picdate.add(pic, parseDate(pic.picdate));
})js";

}  // namespace

const std::vector<ScriptPiece>& Catalog_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"nextfile", k_nextfile},
      {"Pic", k_Pic},
      {"Catalog", k_Catalog},
      {"AddToCatalog", k_AddToCatalog},
  };
  return pieces;
}

}  // namespace zendrel
