// A visible mark of the keyboard focus on the drive, directory and file
// lists: the styles draw none that can be told apart from an unfocused list,
// so each list paints a frame in the highlight colour while it has focus.
// User-interface thread only.
#pragma once

class QWidget;

namespace zendrel {

// Paints the frame on `surface` (the list itself or its viewport) when
// `list` has the focus; call at the end of the list's paint event.
void Paint_focus_frame(const QWidget* list, QWidget* surface);

}  // namespace zendrel
