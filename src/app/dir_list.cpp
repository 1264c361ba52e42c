#include "app/dir_list.h"

#include <QHeaderView>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "app/qt_text.h"
#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

constexpr int kPathRole = Qt::UserRole;

// "C:\a\b" to "C:\", "a", "b".
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = path.find('\\');
  parts.push_back(path.substr(0, start == std::string::npos ? path.size() : start) + "\\");
  while (start != std::string::npos) {
    size_t end = path.find('\\', start + 1);
    std::string part = path.substr(start + 1, end == std::string::npos ? end : end - start - 1);
    if (!part.empty()) parts.push_back(part);
    start = end;
  }
  return parts;
}

std::string Without_trailing_backslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  if (path.size() == 2 && path[1] == ':') path += "\\";
  return path;
}

}  // namespace

DirList::DirList(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setIndentation(12);
  setUniformRowHeights(true);
  header()->setStretchLastSection(true);
  connect(this, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { On_item_chosen(item); });
  connect(this, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { On_item_chosen(item); });
}

void DirList::Set_path(const std::string& path) {
  path_ = Without_trailing_backslash(path);
  Rebuild();
}

void DirList::Rebuild() {
  QSignalBlocker quiet(this);
  clear();
  QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  QTreeWidgetItem* parent = nullptr;
  std::string so_far;
  for (const std::string& part : Components(path_)) {
    so_far = parent ? Add_backslash(so_far) + part : part;
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, To_qt(part));
    item->setIcon(0, parent ? open : style()->standardIcon(QStyle::SP_DriveHDIcon));
    item->setData(0, kPathRole, QByteArray::fromStdString(Without_trailing_backslash(so_far)));
    parent = item;
  }
  QTreeWidgetItem* current = parent;

  std::vector<std::string> names;
  List_directory(Add_backslash(path_), "*", ListFilter::kDirectories, &names);
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return Fold_case(a) < Fold_case(b); });
  for (const std::string& name : names) {
    auto* item = new QTreeWidgetItem(current);
    item->setText(0, To_qt(name));
    item->setIcon(0, closed);
    item->setData(0, kPathRole, QByteArray::fromStdString(Add_backslash(path_) + name));
  }
  expandAll();
  setCurrentItem(current);
  scrollToItem(current);
}

void DirList::On_item_chosen(QTreeWidgetItem* item) {
  if (!item) return;
  std::string chosen = item->data(0, kPathRole).toByteArray().toStdString();
  if (chosen == path_) return;
  // The list is rebuilt after the click has been handled: the item clicked
  // must outlive the event that carries it.
  QMetaObject::invokeMethod(
      this,
      [this, chosen] {
        Set_path(chosen);
        emit Path_changed();
      },
      Qt::QueuedConnection);
}

}  // namespace zendrel
