// The page's script, kept in the sources as one named text per script
// function and per frame template, so that the C++ reads like the page.
// Each text stands as the page carries it: one statement per line, two blanks
// a level, a function's closing brace in the first column. Texts hold "\n"
// between their lines and no final line end; the page file adds CR LF.
#pragma once

#include <string>
#include <vector>

namespace zendrel {

struct ScriptPiece {
  const char* name;  // the function's or variable's name in the page
  const char* text;
};

// Head, in page order.
const std::vector<ScriptPiece>& Sorting_functions();  // _array_qsort .. default_cmp
const std::vector<ScriptPiece>& Search_functions();   // isStopword .. parseDate
const std::vector<ScriptPiece>& Date_functions();     // myDate, sortDates, monthnum
const std::vector<ScriptPiece>& Catalog_functions();  // nextfile .. AddToCatalog

// Tail, in page order.
const std::vector<ScriptPiece>& Search_run_functions();  // checkPlural, doSearch
const std::vector<ScriptPiece>& View_functions();        // showSlide .. altText
const std::vector<ScriptPiece>& List_functions();        // listJob .. listMore
const std::vector<ScriptPiece>& Panel_functions();       // getControl .. nameText
const std::vector<ScriptPiece>& Key_functions();         // pictureView .. swipeEnd
const std::vector<ScriptPiece>& Address_functions();     // pageAddress .. addressChanged
const std::vector<ScriptPiece>& Frame_functions();       // narrowScreen .. fitFrames
const std::vector<ScriptPiece>& Frame_templates();       // welcomeFrame .. blankFrame
const std::vector<ScriptPiece>& Start_functions();       // initialize, startFrames
std::vector<std::string> Frameset_lines();

// Appends every line of `text` to `lines`.
void Append_lines(const char* text, std::vector<std::string>& lines);
void Append_lines(const std::vector<ScriptPiece>& pieces, std::vector<std::string>& lines);

}  // namespace zendrel
