// Keys and swipes in the picture views: the same moves as Prev, Next and All.
#include "page/page_script.h"

namespace zendrel {
namespace {

// True while the show frame holds the detail or the black view.
constexpr char k_pictureView[] = R"js(var pictureView = false;)js";

// Slide time of a paused slide show, 0 when none is paused.
constexpr char k_slidePaused[] = R"js(var slidePaused = 0;)js";

constexpr char k_pageKey[] = R"js(function pageKey(e) {
  if (!pictureView || results == null || results.count == 0) {
    return;
  }
  if (e.altKey || e.ctrlKey || e.metaKey) {
    return;
  }
  var key = e.key;
  var state = self.control.document.cont;
  if (key == "ArrowLeft" || key == "Left" || key == "PageUp") {
    showPic(pickedItem - 1);
  } else if (key == "ArrowRight" || key == "Right" || key == "PageDown") {
    showPic(pickedItem + 1);
  } else if (key == "Home") {
    showPic(0);
  } else if (key == "End") {
    showPic(results.count - 1);
  } else if (key == "Escape" || key == "Esc") {
    if (!phoneLayout() && (state.viewcols.value == "1" || results.count == 1)) {
      showNormal();
    } else {
      showAll();
    }
  } else if (key == " " || key == "Spacebar") {
    if (!pauseSlide()) {
      return;
    }
  } else {
    return;
  }
  if (e.preventDefault) {
    e.preventDefault();
  }
})js";

// Pauses a running slide show, or resumes a paused one with its time.
// Returns false when no slide show is running or paused.
constexpr char k_pauseSlide[] = R"js(function pauseSlide() {
  var state = self.control.document.cont;
  var t = parseInt(state.slideshow.value);
  if (t > 0) {
    slidePaused = t;
    state.slideshow.value = -1;
    return true;
  }
  if (slidePaused > 0) {
    state.slideshow.value = slidePaused;
    if (t == 0) {
      setTimeout("showSlide(true)", slidePaused * 1000);
    }
    slidePaused = 0;
    return true;
  }
  return false;
})js";

// Start of a touch (or a pen's or finger's pointer), for swipeEnd.
constexpr char k_swipeAt[] = R"js(var swipeAt = null;)js";

constexpr char k_swipeStart[] = R"js(function swipeStart(e) {
  if (e.pointerType == "mouse") {
    return;
  }
  var p = e;
  if (e.changedTouches) {
    p = e.changedTouches[0];
  }
  swipeAt = { x: p.clientX, y: p.clientY };
})js";

// A mostly horizontal move of 40 pixels or more: to the left is Next, to
// the right is Prev.
constexpr char k_swipeEnd[] = R"js(function swipeEnd(e) {
  if (swipeAt == null || e.pointerType == "mouse") {
    return;
  }
  var p = e;
  if (e.changedTouches) {
    p = e.changedTouches[0];
  }
  var dx = p.clientX - swipeAt.x;
  var dy = p.clientY - swipeAt.y;
  swipeAt = null;
  if (!pictureView || results == null || Math.abs(dx) < 40 || Math.abs(dx) < 2 * Math.abs(dy)) {
    return;
  }
  if (dx < 0) {
    showPic(pickedItem + 1);
  } else {
    showPic(pickedItem - 1);
  }
})js";

}  // namespace

const std::vector<ScriptPiece>& Key_functions() {
  static const std::vector<ScriptPiece> pieces = {
      {"pictureView", k_pictureView}, {"slidePaused", k_slidePaused}, {"pageKey", k_pageKey},
      {"pauseSlide", k_pauseSlide},   {"swipeAt", k_swipeAt},         {"swipeStart", k_swipeStart},
      {"swipeEnd", k_swipeEnd},
  };
  return pieces;
}

}  // namespace zendrel
