#include "app/window_frame.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace zendrel {

void Without_maximise_button(QWidget* window) {
  Qt::WindowFlags type = window->windowFlags() & Qt::WindowType_Mask;
  Qt::WindowFlags flags = type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (type == Qt::Window) flags |= Qt::WindowMinimizeButtonHint;
  window->setWindowFlags(flags);
}

void Frame_message_box(QMessageBox& box) {
  Without_maximise_button(&box);
  // The title bar holds the window icon, the title and its buttons; a box
  // sized for a short message alone leaves the title elided.
  QFont title_font = box.font();
  title_font.setBold(true);
  int needed = QFontMetrics(title_font).horizontalAdvance(box.windowTitle()) + 140;
  // A message box sizes itself from its layout: a spacer across the bottom
  // row is the way to give it a minimum width.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

}  // namespace zendrel
