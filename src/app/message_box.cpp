#include "app/message_box.h"

#include <QMessageBox>

#include "app/qt_text.h"
#include "app/window_frame.h"

namespace zendrel {

MessageBoxHook& Message_box_hook() {
  static MessageBoxHook hook;
  return hook;
}

Answer Show_message_box(QWidget* parent, const std::string& text, Buttons buttons,
                        const std::string& title) {
  if (Message_box_hook()) return Message_box_hook()(text, buttons);

  QMessageBox box(parent);
  box.setWindowTitle(To_qt(title));
  box.setIcon(QMessageBox::NoIcon);
  box.setTextFormat(Qt::PlainText);
  QString shown = To_qt(text);
  shown.replace("\r\n", "\n").replace('\r', '\n');
  box.setText(shown);
  switch (buttons) {
    case Buttons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Ok);
      break;
    case Buttons::kRetryCancel:
      box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Retry);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case Buttons::kYesNo:
      // The program's only yes-or-no question destroys a record: Enter
      // answers No, Yes takes a deliberate choice.
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      break;
  }
  Frame_message_box(box);
  box.exec();
  // Closing the box through its frame answers with the escape button.
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Retry:
      return Answer::kRetry;
    case QMessageBox::Cancel:
      return Answer::kCancel;
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    default:
      break;
  }
  if (buttons == Buttons::kRetryCancel) return Answer::kCancel;
  if (buttons == Buttons::kYesNo) return Answer::kNo;
  return Answer::kOk;
}

}  // namespace zendrel
