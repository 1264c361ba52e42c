#include "app/skipped_list.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt_text.h"

namespace zendrel {

SkippedList::SkippedList(const SkippedFiles& skipped, QWidget* parent) : QDialog(parent) {
  setObjectName("SkippedList");
  setWindowTitle("Skipped Files");
  setAttribute(Qt::WA_DeleteOnClose);

  auto* summary = new QLabel(To_qt(skipped.Summary()), this);
  summary->setObjectName("Summary");
  summary->setTextFormat(Qt::PlainText);
  summary->setWordWrap(true);

  auto* files = new QTreeWidget(this);
  files->setObjectName("Files");
  files->setAccessibleName("Skipped files");
  files->setColumnCount(2);
  files->setHeaderLabels({"File", "Reason"});
  files->setRootIsDecorated(false);
  files->setUniformRowHeights(true);
  files->setSelectionMode(QAbstractItemView::ExtendedSelection);
  text_ = To_qt(skipped.Summary());
  for (const SkippedFiles::Entry& entry : skipped.entries()) {
    // File names are shown as text, whatever characters they hold.
    auto* row = new QTreeWidgetItem(files, {To_qt(entry.file), Skip_reason_text(entry.reason)});
    row->setToolTip(0, row->text(0));
  }
  for (const std::string& line : skipped.Lines()) text_ += "\n" + To_qt(line);
  files->header()->setSectionResizeMode(0, QHeaderView::Interactive);
  files->resizeColumnToContents(0);
  if (files->topLevelItemCount() > 0) files->setCurrentItem(files->topLevelItem(0));

  auto* copy = new QPushButton("&Copy List", this);
  copy->setObjectName("CopyList");
  copy->setAutoDefault(false);
  auto* close = new QPushButton("Close", this);
  close->setObjectName("Close");
  close->setDefault(true);
  connect(copy, &QPushButton::clicked, this, &SkippedList::Copy_list);
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copy);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary);
  layout->addWidget(files, 1);
  layout->addLayout(buttons);

  // As large as the list wants, but never beyond the screen it opens on.
  QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  int rows = files->topLevelItemCount() + 2;
  int wanted_height = sizeHint().height() + rows * files->sizeHintForRow(0);
  int wanted_width = files->columnWidth(0) + files->header()->sectionSizeHint(1) + 200;
  resize(std::clamp(wanted_width, 420, room.width() * 4 / 5),
         std::clamp(wanted_height, 240, room.height() * 4 / 5));
  files->setFocus();
}

void SkippedList::Copy_list() { QApplication::clipboard()->setText(text_); }

}  // namespace zendrel
