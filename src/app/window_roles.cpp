#include "app/window_roles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace zendrel {
namespace {

// Asked for each class of an object's hierarchy, most derived first: the
// program's window classes are met before the plain QWidget.
QAccessibleInterface* Window_frame(const QString& key, QObject* object) {
  static const QStringList kWindows = {"zendrel::FrmArchive", "zendrel::FrmEditHtml",
                                       "zendrel::FrmSplash"};
  if (!kWindows.contains(key) || !object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  return widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

}  // namespace

void Give_windows_their_roles() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(&Window_frame);
}

}  // namespace zendrel
