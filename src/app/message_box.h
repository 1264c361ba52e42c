// The program's message boxes, for the main window and the record editor
// alike: title "Zendrel" unless another is given, no icon, the buttons asked
// for, the answer handed back to the caller. Tests answer them through the
// hook instead of a window. User-interface thread only.
#pragma once

#include <functional>
#include <string>

#include "edit/editor_prompts.h"
#include "platform/message_buttons.h"

class QWidget;

namespace zendrel {

// `text` and `title` are system text; a carriage return starts a new line.
Answer Show_message_box(QWidget* parent, const std::string& text, Buttons buttons,
                        const std::string& title = kProgramTitle);

// When set, answers every message box in place of the window.
using MessageBoxHook = std::function<Answer(const std::string& text, Buttons buttons)>;
MessageBoxHook& Message_box_hook();

}  // namespace zendrel
