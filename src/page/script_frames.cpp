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

// The style of one kind of frame page. The state form is out of sight and
// out of the Tab order; the picture views fit the picture into the frame
// without enlarging it and keep the description beside or below it.
constexpr char k_frameStyle[] = R"js(function frameStyle(kind) {
  var css = "a:focus{outline:2px solid #4a9eff;outline-offset:1px}";
  css += "img{max-width:100%}";
  if (kind == "control") {
    css += "form{display:none}";
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

// A finger needs a taller control frame than a mouse.
constexpr char k_fitFrames[] = R"js(function fitFrames() {
  var sets = document.getElementsByTagName("frameset");
  if (sets.length < 2) {
    return;
  }
  if (narrowScreen()) {
    sets[1].rows = "48,*";
  } else {
    sets[1].rows = "23,*";
  }
})js";

}  // namespace

const std::vector<ScriptPiece>& Frame_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"narrowScreen", k_narrowScreen}, {"frameStyle", k_frameStyle}, {"framePage", k_framePage},
      {"writeFrame", k_writeFrame},     {"fitFrames", k_fitFrames},
  };
  return pieces;
}

}  // namespace zendrel
