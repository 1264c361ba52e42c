// Whether a window's controls can all be seen and reached, whatever the
// exact pixels: each named control has room, lies inside its parent, and no
// two siblings cover each other. A sound change of the layout passes.
#pragma once

#include <QStringList>
#include <QWidget>

// The faults found in `window` and the named controls within it, one a
// line; empty when every control can be seen.
inline QStringList Layout_problems(const QWidget* window) {
  QStringList problems;
  QList<QWidget*> controls;
  for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    // Qt's own parts of a control (viewports, scroll bars) are its business.
    if (child->isHidden() || child->objectName().isEmpty() || child->objectName().startsWith("qt_"))
      continue;
    controls << child;
    problems << Layout_problems(child);
  }
  for (const QWidget* control : controls) {
    const QString name = control->objectName();
    if (control->width() <= 0 || control->height() <= 0) problems << name + " has no room";
    if (!window->rect().contains(control->geometry()))
      problems << name + " reaches outside " + window->objectName();
    for (const QWidget* other : controls) {
      if (other < control && other->geometry().intersects(control->geometry()))
        problems << name + " and " + other->objectName() + " cover each other";
    }
  }
  return problems;
}
