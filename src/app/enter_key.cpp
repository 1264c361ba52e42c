#include "app/enter_key.h"

#include <QKeyEvent>
#include <QPushButton>

namespace zendrel {
namespace {

class EnterClicks : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    Qt::KeyboardModifiers other = key->modifiers() & ~Qt::KeypadModifier;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!enter || other != Qt::NoModifier || !button || !button->isEnabled()) return false;
    button->click();
    return true;
  }
};

}  // namespace

void Enter_presses_focused_button(QWidget* window) {
  auto* filter = new EnterClicks(window);
  for (QPushButton* button : window->findChildren<QPushButton*>())
    button->installEventFilter(filter);
}

}  // namespace zendrel
