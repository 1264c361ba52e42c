// A file list: every plain file of one directory (hidden ones left out),
// sorted without regard to case. Its selected file name, in system text, is
// what a run uses; it tells when the user picks a file and when it loses the
// input focus to another control.
#pragma once

#include <QListWidget>
#include <string>

#include "platform/drive_table.h"

namespace zendrel {

class FolderWatch;

class FileList : public QListWidget {
  Q_OBJECT
 public:
  // `drives` outlives the list.
  explicit FileList(const DriveTable& drives, QWidget* parent = nullptr);

  // Shows the files of `directory` (Windows view); nothing is selected.
  void Set_path(const std::string& directory);
  const std::string& Path() const { return path_; }
  // The selected file name; empty when none is selected.
  std::string File_name() const;
  // Lists the directory again, keeping the selection when the file is
  // still there, without announcing it.
  void Refresh();
  // Selects `name` as a click would; false when it is not listed.
  bool Select(const std::string& name);

 signals:
  void File_chosen();
  void Lost_focus();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Scrolling moves the pixels already drawn, the focus frame with them.
  void scrollContentsBy(int dx, int dy) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  const DriveTable& drives_;
  std::string path_;
  FolderWatch* watch_;  // the folder shown, for what others make there
};

}  // namespace zendrel
