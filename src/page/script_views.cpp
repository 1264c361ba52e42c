// The page's picture views: the detail view, the black view, Prev / Next /
// All, and the slide show. The thumbnail list has a file of its own.
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
  listPrepare();
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
      {"showSlide", k_showSlide}, {"setSlide", k_setSlide},     {"getPic", k_getPic},
      {"showPic", k_showPic},     {"showBlack", k_showBlack},   {"showNormal", k_showNormal},
      {"showAll", k_showAll},     {"shortTitle", k_shortTitle}, {"altText", k_altText},
  };
  return pieces;
}

}  // namespace zendrel
