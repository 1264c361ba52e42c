// How the page writes its frames: every frame document gets a head with a
// viewport, a language and the style of its view, and its keys and swipes are
// passed to the viewer. The frameset's sizes follow the screen.
#include "page/page_script.h"

namespace zendrel {
namespace {

// Phones and small windows; a coarse pointer means a finger.
constexpr char k_narrowScreen[] = R"js(function narrowScreen() {
  if (!self.matchMedia) {
    return false;
  }
  return self.matchMedia("(max-width: 700px), (pointer: coarse)").matches;
})js";

// A phone held upright: the left strip becomes a bar across the top and the
// main frame gets the whole width.
constexpr char k_phoneLayout[] = R"js(function phoneLayout() {
  if (!self.matchMedia) {
    return false;
  }
  return self.matchMedia("(max-width: 600px)").matches;
})js";

// The style of one kind of frame page. The state form is out of sight and
// out of the Tab order; the picture views fit the picture into the frame
// without enlarging it and keep the description beside or below it.
constexpr char k_frameStyle[] = R"js(function frameStyle(kind) {
  var css = "a:focus{outline:2px solid #4a9eff;outline-offset:1px}";
  css += "img{max-width:100%}";
  // Text keeps its contrast over any background picture.
  if (kind == "welcome" || kind == "panel" || kind == "detail") {
    css += "h1,h3,td{text-shadow:0 0 2px #fff,0 0 4px #fff}";
    css += "small,label,a{background-color:rgba(255,255,255,0.85)}";
  }
  if (kind == "control" || kind == "nav" || kind == "list") {
    css += "a,big{background-color:#000}";
  }
  if (kind == "control") {
    css += "form{display:none}";
    css += "a{display:inline-block;min-height:24px;min-width:24px;line-height:24px}";
  }
  if (kind == "nav") {
    // The page's blue is too dark on black to read.
    css += "a{color:#8ab4ff !important;display:inline-block;min-height:24px;min-width:24px;line-height:24px}";
  }
  if (kind == "list") {
    // listFill keeps the place itself while rows above the screen arrive.
    css += "body{overflow-anchor:none}";
  }
  if (kind == "detail" || kind == "black") {
    css += "body{touch-action:pan-y;overflow-wrap:break-word}";
    css += "table,tbody,tr{display:block}";
    css += "tr{display:flex;flex-wrap:wrap;align-items:flex-start}";
    css += "td{display:block;min-width:0;flex:0 1 auto}";
    css += "td+td{flex:1 1 12em;min-width:12em}";
    css += "img{width:auto;height:auto;max-height:calc(100vh - 16px)}";
    css += "@media (min-width:40em){td:first-child{max-width:calc(100% - 13em)}}";
  }
  if (kind == "black") {
    css += "tr{justify-content:center}";
  }
  if (kind == "panel") {
    css += "input[name=keywords]{max-width:100%;box-sizing:border-box}select{max-width:100%}";
    css += ".box{display:inline-block;white-space:nowrap}";
    css += "a{display:inline-block;min-height:24px;line-height:24px}";
  }
  if (kind == "panel" && phoneLayout()) {
    // One control under the other, as wide as the screen.
    css += "table,tbody,tr,td{display:block}td{padding:2px 0}";
    css += "input[name=keywords],select{width:100%}select[name=viewcols]{width:auto}";
    css += "body{overflow-wrap:anywhere}";
  }
  if (kind == "nav" && phoneLayout()) {
    css += "br{display:none}a{margin-right:4px}";
  }
  if (narrowScreen()) {
    css += "body{-webkit-text-size-adjust:100%;text-size-adjust:100%}";
    css += "input,select,button{min-height:44px;font-size:16px}";
    css += "input[type=checkbox]{min-width:24px}";
    if (kind == "control" || kind == "nav") {
      css += "a{display:inline-block;min-height:44px;min-width:44px;line-height:44px}";
    }
    if (kind == "panel") {
      css += "a{display:inline-block;min-height:44px;line-height:44px}";
    }
    if (kind == "detail") {
      css += "body{font-size:16px}";
    }
  }
  return css;
})js";

// The page text with a head put in front of its body.
constexpr char k_framePage[] = R"js(function framePage(text, kind) {
  var head = '<html lang="en"><head><meta name="viewport" content="width=device-width, initial-scale=1">';
  head += "<title>Zendrel</title><style>" + frameStyle(kind) + "</style></head>";
  if (text.substring(0, 6) == "<html>") {
    return head + text.substring(6);
  }
  return head + text;
})js";

// Replaces the page of `frame` (a frame's window) by `text`. Writing a
// document drops its listeners, so they are added again each time.
constexpr char k_writeFrame[] = R"js(function writeFrame(frame, text, kind) {
  var doc = frame.document;
  doc.open();
  doc.write(framePage(text, kind));
  doc.close();
  if (doc.addEventListener) {
    doc.addEventListener("keydown", pageKey, false);
    if (kind == "detail" || kind == "black") {
      doc.addEventListener("touchstart", swipeStart, false);
      doc.addEventListener("touchend", swipeEnd, false);
      doc.addEventListener("pointerdown", swipeStart, false);
      doc.addEventListener("pointerup", swipeEnd, false);
    }
  }
})js";

// A finger needs a taller control frame than a mouse, a phone the whole
// width for its main frame.
constexpr char k_fitFrames[] = R"js(function fitFrames() {
  var sets = document.getElementsByTagName("frameset");
  if (sets.length < 2) {
    return;
  }
  if (phoneLayout()) {
    sets[0].cols = "*";
    sets[0].rows = "48,*";
    sets[1].rows = "*";
    sets[1].cols = "72,*";
    return;
  }
  if (sets[0].rows) {
    sets[0].removeAttribute("rows");
    sets[1].removeAttribute("cols");
  }
  sets[0].cols = "128,*";
  if (narrowScreen()) {
    sets[1].rows = "48,*";
  } else {
    sets[1].rows = "24,*";
  }
})js";

}  // namespace

const std::vector<ScriptPiece>& Frame_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"narrowScreen", k_narrowScreen}, {"phoneLayout", k_phoneLayout},
      {"frameStyle", k_frameStyle},     {"framePage", k_framePage},
      {"writeFrame", k_writeFrame},     {"fitFrames", k_fitFrames},
  };
  return pieces;
}

}  // namespace zendrel
