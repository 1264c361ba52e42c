#include "app/frm_copy.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/window_frame.h"

namespace zendrel {

FrmCopy::FrmCopy(QWidget* parent) : QDialog(parent) {
  setObjectName("frmCopy");
  setWindowTitle("Copy Originals");
  setModal(true);
  Without_maximise_button(this);

  auto* frame = new QGroupBox(this);
  frame->setObjectName("Frame1");
  auto* label = new QLabel("Copy original image files to destination directory?", frame);
  label->setObjectName("Label1");
  // The group has no caption: the question names the choice it holds.
  frame->setAccessibleName(label->text());
  option0_ = new QRadioButton("No", frame);
  option0_->setObjectName("Option0");
  option1_ = new QRadioButton("Yes, Retain original file names", frame);
  option1_->setObjectName("Option1");
  option2_ = new QRadioButton("Yes, Rename files to unique 8.3 names", frame);
  option2_->setObjectName("Option2");
  option2_->setChecked(true);
  // The focus starts on the option that is on, so Space does not change it.
  option2_->setFocus();

  auto* inside = new QVBoxLayout(frame);
  inside->addWidget(label);
  inside->addSpacing(4);
  for (QRadioButton* option : {option0_, option1_, option2_}) {
    inside->addWidget(option);
  }

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OK");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Cancel");
  connect(ok, &QPushButton::clicked, this, &FrmCopy::OK_Click);
  connect(cancel, &QPushButton::clicked, this, &FrmCopy::Cancel_Click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmCopy::OK_Click() {
  if (option2_->isChecked())
    copy_mode_ = CopyMode::kUniqueNames;
  else if (option1_->isChecked())
    copy_mode_ = CopyMode::kKeepNames;
  else
    copy_mode_ = CopyMode::kNoCopy;
  accept();
}

void FrmCopy::Cancel_Click() {
  copy_mode_ = CopyMode::kCancelled;
  reject();
}

}  // namespace zendrel
