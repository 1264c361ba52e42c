// The copy-originals question, asked before a build: are the original image
// files to be copied into the archive too, and under which names. Made anew
// for each question, so it always opens with the rename option on.
#pragma once

#include <QDialog>
#include <cstdint>

class QRadioButton;

namespace zendrel {

class FrmCopy : public QDialog {
  Q_OBJECT
 public:
  explicit FrmCopy(QWidget* parent = nullptr);

  // The answer: 2 rename to unique names, 1 keep names, 0 no copy, -1
  // cancelled (also when the dialog is closed through its frame).
  int16_t Copy_mode() const { return copy_mode_; }

 private:
  void OK_Click();
  void Cancel_Click();

  QRadioButton* option0_;
  QRadioButton* option1_;
  QRadioButton* option2_;
  int16_t copy_mode_ = -1;
};

}  // namespace zendrel
