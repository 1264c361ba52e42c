// A directory list in the manner of the classic one: the drive root, each
// directory of the path below it with an open folder, and the subdirectories
// of the path itself. Paths are in their Windows view ("C:\Photos\1999").
// Clicking an entry makes it the path.
#pragma once

#include <QTreeWidget>
#include <string>

namespace zendrel {

class DirList : public QTreeWidget {
  Q_OBJECT
 public:
  explicit DirList(QWidget* parent = nullptr);

  // No trailing "\" unless a root ("C:\").
  const std::string& Path() const { return path_; }
  // Shows `path` without announcing it. A directory that cannot be listed
  // shows its path alone.
  void Set_path(const std::string& path);

 signals:
  // The user made another directory the path.
  void Path_changed();

 protected:
  // The whole path is always open: no expand and collapse marks.
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

 private:
  void On_item_chosen(QTreeWidgetItem* item);
  void Rebuild();

  std::string path_;
};

}  // namespace zendrel
