#include "app/drive_list.h"

#include <vector>

#include "app/focus_frame.h"
#include "app/message_box.h"
#include "app/qt_text.h"
#include "platform/drive_table.h"
#include "platform/file_system.h"

namespace zendrel {
namespace {

bool Drive_readable(const DriveTable& drives, char letter) {
  std::string root = std::string(1, letter) + ":\\";
  std::vector<std::string> names;
  return Directory_exists(drives, root) &&
         List_directory(drives, root, "*", ListFilter::kDirectories, &names).ok();
}

}  // namespace

DriveList::DriveList(const DriveTable& drives, QWidget* parent)
    : QComboBox(parent), drives_(drives) {
  for (const zendrel::Drive& drive : drives_.Drives()) {
    addItem(Drive_text(drive.letter, drive.label), QChar(drive.letter));
  }
  chosen_ = currentIndex();
  connect(this, &QComboBox::currentIndexChanged, this, &DriveList::On_index_changed);
}

QString DriveList::Drive_text(char letter, const std::string& label) {
  QString text = QString(QChar(letter).toLower()) + ":";
  if (!label.empty()) text += " [" + To_qt(label) + "]";
  return text;
}

char DriveList::Drive() const {
  QVariant data = currentData();
  return data.isValid() ? char(data.toChar().toLatin1()) : 'C';
}

void DriveList::Set_drive(char letter) {
  int index = findData(QChar(letter).toUpper());
  if (index < 0) return;
  QSignalBlocker quiet(this);
  setCurrentIndex(index);
  chosen_ = index;
}

void DriveList::paintEvent(QPaintEvent* event) {
  QComboBox::paintEvent(event);
  Paint_focus_frame(this, this);
}

void DriveList::On_index_changed(int index) {
  if (index < 0 || index == chosen_) return;
  char letter = Drive();
  if (!Drive_readable(drives_, letter)) {
    std::string shown = From_qt(itemText(index)).substr(2);
    std::string text = std::string("Drive ") + letter + ":" + shown + " cannot be read.";
    {
      QSignalBlocker quiet(this);
      setCurrentIndex(chosen_);
    }
    Show_message_box(window(), text, Buttons::kOk);
    return;
  }
  chosen_ = index;
  emit Drive_changed(letter);
}

}  // namespace zendrel
