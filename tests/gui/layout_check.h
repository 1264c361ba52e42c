// Whether a window's controls can all be reached, whatever their exact
// pixels: each control that takes focus has room, lies inside its window,
// and a click on its middle lands on it, not on a neighbour. A sound change
// of the layout passes.
#pragma once

#include <QStringList>
#include <QWidget>

// The faults found among the named controls of `window`, one a line; empty
// when every control can be reached.
inline QStringList Layout_problems(QWidget* window) {
  QStringList problems;
  for (QWidget* control : window->findChildren<QWidget*>()) {
    const QString name = control->objectName();
    // Qt's own parts of a control (viewports, scroll bars) are its business.
    if (control->isHidden() || name.isEmpty() || name.startsWith("qt_") ||
        control->focusPolicy() == Qt::NoFocus)
      continue;
    if (control->width() <= 0 || control->height() <= 0) {
      problems << name + " has no room";
      continue;
    }
    QRect in_window(control->mapTo(window, QPoint(0, 0)), control->size());
    if (!window->rect().contains(in_window)) problems << name + " reaches outside the window";
    QWidget* hit = window->childAt(in_window.center());
    if (hit != control && !control->isAncestorOf(hit))
      problems << name + " is covered at its middle by " + (hit ? hit->objectName() : "nothing");
  }
  return problems;
}
