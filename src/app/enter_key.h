// Enter and Return press the focused push button, as they do in other
// desktop programs; Qt by itself leaves them to a dialog's default button.
// User-interface thread only.
#pragma once

class QWidget;

namespace zendrel {

// For every push button inside `window` at the time of the call.
void Enter_presses_focused_button(QWidget* window);

}  // namespace zendrel
