// How the editing core reaches the user: a message box with a text, its
// buttons and a title. The record editor window answers with real message
// boxes (no icon), the command line prints and answers from its options,
// tests answer from a script.
#pragma once

#include <string>

#include "platform/message_buttons.h"

namespace zendrel {

inline constexpr char kProgramTitle[] = "Zendrel";

class EditorPrompts {
 public:
  virtual ~EditorPrompts() = default;
  virtual Answer Ask(const std::string& text, Buttons buttons,
                     const std::string& title = kProgramTitle) = 0;
};

}  // namespace zendrel
