// A directory list in the manner of the classic one: the drive root, each
// directory of the path below it with an open folder, and the subdirectories
// of the path itself. Paths are in their Windows view ("C:\Photos\1999").
// Clicking an entry, or Enter on the entry the keyboard has moved to, makes
// it the path. The path's own entry, the folder a run will use, is shown
// bold with an open folder, apart from the keyboard's highlight; when the
// list loses the focus the highlight goes back to it. A list may offer to
// make a new folder under its path (context menu, F7, Ctrl+Shift+N).
#pragma once

#include <QTreeWidget>
#include <string>

#include "platform/drive_table.h"

namespace zendrel {

class FolderWatch;

class DirList : public QTreeWidget {
  Q_OBJECT
 public:
  // `drives` outlives the list.
  explicit DirList(const DriveTable& drives, QWidget* parent = nullptr);

  // No trailing "\" unless a root ("C:\").
  const std::string& Path() const { return path_; }
  // The entry of the path: the chosen folder.
  QTreeWidgetItem* Chosen_item() const { return chosen_; }
  // Shows `path` without announcing it. A directory that cannot be listed
  // shows its path alone.
  void Set_path(const std::string& path);

  // Adds "New Folder…" to the list's context menu and keys.
  void Offer_new_folder();
  // Asks for a name and makes that folder under the path, which then
  // becomes the path; a name that cannot be made is refused with a message.
  void New_folder();

 signals:
  // The user made another directory the path.
  void Path_changed();

 protected:
  // The whole path is always open: no expand and collapse marks.
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Scrolling moves the pixels already drawn, the focus frame with them.
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void On_item_chosen(QTreeWidgetItem* item);
  void Rebuild();
  void Show_path_with_parents();

  const DriveTable& drives_;
  std::string path_;
  FolderWatch* watch_;                 // the folder shown, for what others make there
  QTreeWidgetItem* chosen_ = nullptr;  // owned by the list
};

}  // namespace zendrel
