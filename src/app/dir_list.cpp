#include "app/dir_list.h"

#include <QAction>
#include <QFocusEvent>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "app/focus_frame.h"
#include "app/folder_watch.h"
#include "app/message_box.h"
#include "app/qt_text.h"
#include "app/window_frame.h"
#include "platform/file_system.h"
#include "platform/new_folder.h"
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

DirList::DirList(const DriveTable& drives, QWidget* parent)
    : QTreeWidget(parent), drives_(drives), watch_(new FolderWatch(drives, this)) {
  setHeaderHidden(true);
  setColumnCount(1);
  // Hidden, but a screen reader still reads the column's header: without a
  // label it would say "1".
  setHeaderLabel("Folder");
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setIndentation(12);
  setUniformRowHeights(true);
  header()->setStretchLastSection(true);
  connect(this, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { On_item_chosen(item); });
  connect(this, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { On_item_chosen(item); });
  connect(watch_, &FolderWatch::Changed, this, [this] { Rebuild(); });
}

void DirList::Set_path(const std::string& path) {
  path_ = Without_trailing_backslash(path);
  watch_->Watch(path_);
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
  chosen_ = current;
  QFont bold = current->font(0);
  bold.setBold(true);
  current->setFont(0, bold);
  current->setIcon(0, open);

  std::vector<std::string> names;
  List_directory(drives_, Add_backslash(path_), "*", ListFilter::kDirectories, &names);
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
  Show_path_with_parents();
}

// The directories above the path are what tells the user where it lies:
// they stay in view, and the path itself is scrolled in below them.
void DirList::Show_path_with_parents() {
  scrollToTop();
  if (QTreeWidgetItem* current = currentItem()) scrollToItem(current, EnsureVisible);
}

void DirList::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  Show_path_with_parents();
}

void DirList::paintEvent(QPaintEvent* event) {
  QTreeWidget::paintEvent(event);
  Paint_focus_frame(this, viewport());
}

void DirList::scrollContentsBy(int dx, int dy) {
  QTreeWidget::scrollContentsBy(dx, dy);
  if (hasFocus()) viewport()->update();
}

void DirList::focusInEvent(QFocusEvent* event) {
  QTreeWidget::focusInEvent(event);
  viewport()->update();
}

// Away from the list, what looks selected is what a run will use.
void DirList::focusOutEvent(QFocusEvent* event) {
  QTreeWidget::focusOutEvent(event);
  if (event->reason() != Qt::PopupFocusReason && chosen_ && currentItem() != chosen_)
    setCurrentItem(chosen_);
  viewport()->update();
}

void DirList::keyPressEvent(QKeyEvent* event) {
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    On_item_chosen(currentItem());
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void DirList::Offer_new_folder() {
  auto* action = new QAction(QString::fromUtf8("New Folder\u2026"), this);
  action->setObjectName("NewFolder");
  action->setShortcuts({QKeySequence(Qt::Key_F7), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)});
  action->setShortcutContext(Qt::WidgetShortcut);
  connect(action, &QAction::triggered, this, &DirList::New_folder);
  addAction(action);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

void DirList::New_folder() {
  QInputDialog ask(window());
  ask.setObjectName("NewFolderDialog");
  ask.setWindowTitle("New Folder");
  ask.setLabelText("Name of the new folder in " + To_qt(path_) + ":");
  ask.setInputMode(QInputDialog::TextInput);
  Without_maximise_button(&ask);
  // A fixed size: window managers offer to maximise any window that can grow.
  (void)ask.sizeHint();  // the dialog makes its layout when first measured
  if (QLayout* layout = ask.layout()) layout->setSizeConstraint(QLayout::SetFixedSize);
  // A refused name is asked for again, as typed, to be mended.
  for (;;) {
    if (ask.exec() != QDialog::Accepted) return;
    QString typed = ask.textValue();
    std::string name = From_qt(typed);
    std::string where = Add_backslash(path_) + name;
    // A character the system's text cannot hold would be made as another name.
    Status made =
        To_qt(name) != typed
            ? Status::Error(where + ": the name has characters that cannot be used in a path")
            : Make_folder(drives_, path_, name);
    if (made.ok()) {
      Set_path(where);
      emit Path_changed();
      return;
    }
    Show_message_box(window(), made.message(), Buttons::kOk);
  }
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
