// The files the last run skipped, each with its reason, in a window of its
// own: reached from the status line by mouse or keyboard, scrollable and
// resizable, never taller than the screen however long the list, with a
// button that copies the list as text. Not modal, so the list can stay
// open beside the main window. User-interface thread only.
#pragma once

#include <QDialog>

#include "build/skipped_files.h"

namespace zendrel {

class SkippedList : public QDialog {
  Q_OBJECT
 public:
  SkippedList(const SkippedFiles& skipped, QWidget* parent);

  // The list as copied: the summary, then one line per file.
  const QString& Text() const { return text_; }

 private:
  void Copy_list();

  QString text_;
};

}  // namespace zendrel
