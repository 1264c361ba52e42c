// How the window manager frames the program's small windows: dialogs and
// message boxes have a fixed size, so a maximise button would only mislead,
// and a message box must be wide enough for the title bar to show its
// title whole. User-interface thread only.
#pragma once

class QMessageBox;
class QWidget;

namespace zendrel {

// Title and close button (and minimise for a top-level window that is no
// dialog), never maximise. Call before the window is shown.
void Without_maximise_button(QWidget* window);

// Both of the above for a message box: no maximise button, and at least
// the width its title bar needs.
void Frame_message_box(QMessageBox& box);

}  // namespace zendrel
