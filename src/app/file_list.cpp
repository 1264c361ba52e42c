#include "app/file_list.h"

#include <QFocusEvent>
#include <algorithm>
#include <vector>

#include "app/focus_frame.h"
#include "app/folder_watch.h"
#include "app/qt_text.h"
#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {
constexpr int kNameRole = Qt::UserRole;
}

FileList::FileList(const DriveTable& drives, QWidget* parent)
    : QListWidget(parent), drives_(drives), watch_(new FolderWatch(drives, this)) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (!selectedItems().isEmpty()) emit File_chosen();
  });
  // A click on the file already selected shows its type again.
  connect(this, &QListWidget::itemClicked, this, [this] { emit File_chosen(); });
  connect(watch_, &FolderWatch::Changed, this, &FileList::Refresh);
}

void FileList::Set_path(const std::string& directory) {
  path_ = directory;
  watch_->Watch(directory);
  std::vector<std::string> names;
  List_directory(drives_, Add_backslash(directory), "*", ListFilter::kPlainFiles, &names);
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return Fold_case(a) < Fold_case(b); });
  QSignalBlocker quiet(this);
  clear();
  for (const std::string& name : names) {
    auto* item = new QListWidgetItem(To_qt(name), this);
    item->setData(kNameRole, QByteArray::fromStdString(name));
  }
  setCurrentRow(-1);
}

void FileList::Refresh() {
  std::string selected = File_name();
  Set_path(path_);
  QSignalBlocker quiet(this);
  if (!selected.empty()) Select(selected);
}

std::string FileList::File_name() const {
  QList<QListWidgetItem*> selected = selectedItems();
  if (selected.isEmpty()) return {};
  return selected.first()->data(kNameRole).toByteArray().toStdString();
}

bool FileList::Select(const std::string& name) {
  for (int row = 0; row < count(); ++row) {
    if (item(row)->data(kNameRole).toByteArray().toStdString() == name) {
      setCurrentRow(row);
      return true;
    }
  }
  return false;
}

void FileList::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  Paint_focus_frame(this, viewport());
}

void FileList::scrollContentsBy(int dx, int dy) {
  QListWidget::scrollContentsBy(dx, dy);
  if (hasFocus()) viewport()->update();
}

void FileList::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  viewport()->update();
}

void FileList::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  viewport()->update();
  // Another window coming to the front (a message, the copy question) is
  // not the user moving on to another control.
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
    emit Lost_focus();
}

}  // namespace zendrel
