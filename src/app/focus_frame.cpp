#include "app/focus_frame.h"

#include <QPainter>
#include <QPen>
#include <QWidget>

namespace zendrel {

void Paint_focus_frame(const QWidget* list, QWidget* surface) {
  if (!list->hasFocus()) return;
  QPainter painter(surface);
  painter.setPen(QPen(list->palette().color(QPalette::Active, QPalette::Highlight), 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(surface->rect()).adjusted(1, 1, -1, -1));
}

}  // namespace zendrel
