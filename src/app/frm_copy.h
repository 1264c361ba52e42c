// The copy-originals question, asked before a build: are the original image
// files to be copied into the archive too, and under which names. Made anew
// for each question, so it always opens with the rename option on.
#pragma once

#include <QDialog>

#include "build/run_modes.h"

class QRadioButton;

namespace zendrel {

class FrmCopy : public QDialog {
  Q_OBJECT
 public:
  explicit FrmCopy(QWidget* parent = nullptr);

  // The answer; cancelled also when the dialog is closed through its frame.
  CopyMode Copy_mode() const { return copy_mode_; }

 private:
  void OK_Click();
  void Cancel_Click();

  QRadioButton* option0_;
  QRadioButton* option1_;
  QRadioButton* option2_;
  CopyMode copy_mode_ = CopyMode::kCancelled;
};

}  // namespace zendrel
