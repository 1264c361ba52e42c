// The first pages of the three frames and of the state form, and the
// frameset that holds the frames.
#include "page/page_script.h"

namespace zendrel {
namespace {

constexpr char k_welcomeFrame[] =
    R"js(var welcomeFrame = '<html><body background="texture.jpg" style="background-image:url(texture.jpg)">' +
  '<h1 align="center">Welcome to Zendrel</h1>' +
  '<h3 align="center">Search by words or by date.' +
  '<br>Select one or more words from the Index Words' +
  '<br>list or select a single date or a Date Range.' +
  '<br>Number of Thumbnail Columns may be changed.' +
  '<br>Click the Clear button to clear all selections.' +
  '<br>Click the Search button to perform search.' +
  '<br>Leave search field blank to get all images.' +
  '</h3></body></html>';)js";

constexpr char k_xFrame[] =
    R"js(var xFrame = '<html><body onLoad="parent.initialize()" bgcolor="#000000"> </body></html>';)js";

// The hidden form "cont" keeps the viewer's settings while the show frame
// is redrawn.
constexpr char k_startFrame[] =
    R"js(var startFrame = '<html><body background="texture2.jpg" bgcolor="#000000" text="#FFFFFF" link="#FFFFFF" alink="#FFFFFF" vlink="#FFFFFF" style="background-color:#000000; color:#FFFFFF">' +
  '<a href="javascript:parent.showControl()" style="color:#FFFFFF; text-decoration:none"><big>Start</big></a><br>' +
  '<form name="cont">' +
  '<input type="text" name="keywords">' +
  '<input type="text" name="title">' +
  '<input type="text" name="startdate">' +
  '<input type="text" name="enddate">' +
  '<input type="text" name="viewcols" value="1">' +
  '<input type="checkbox" name="titles">' +
  '<input type="text" name="slideshow">' +
  '</form></body></html>';)js";

constexpr char k_blankFrame[] =
    R"js(var blankFrame = '<html><body background="texture2.jpg" bgcolor="#000000" style="background-color:#000000"> </body></html>';)js";

}  // namespace

const std::vector<ScriptPiece>& Frame_templates() {
  static const std::vector<ScriptPiece> pieces = {
      {"welcomeFrame", k_welcomeFrame},
      {"xFrame", k_xFrame},
      {"startFrame", k_startFrame},
      {"blankFrame", k_blankFrame},
  };
  return pieces;
}

// The frames open empty; the frameset's onload gives them their first pages
// (startFrames).
std::vector<std::string> Frameset_lines() {
  return {
      R"html(<frameset cols="128,*" border=0 frameborder=0 framespacing=0 onload="startFrames()">)html",
      R"html(  <frameset rows="23,*" border=0 frameborder=0 framespacing=0>)html",
      R"html(    <frame name="control" title="Start" src="about:blank" noresize scrolling="no" marginwidth=5 marginheight=0>)html",
      R"html(    <frame name="film" title="Thumbnails and navigation" src="about:blank" noresize marginwidth=0 marginheight=0>)html",
      R"html(  </frameset>)html",
      R"html(  <frame name="show" title="Pictures and search" src="about:blank" marginwidth=4 marginheight=1>)html",
      R"html(</frameset>)html",
  };
}

}  // namespace zendrel
