// A drive list: the drives of the window's drive table, each shown with its volume
// label ("d: [PHOTOS99]"). Choosing a drive that cannot be read shows a
// message naming it and goes back to the drive chosen before.
#pragma once

#include <QComboBox>

#include "platform/drive_table.h"

namespace zendrel {

class DriveList : public QComboBox {
  Q_OBJECT
 public:
  // `drives` outlives the list.
  explicit DriveList(const DriveTable& drives, QWidget* parent = nullptr);

  char Drive() const;  // upper-case letter
  // Selects `letter` without announcing it.
  void Set_drive(char letter);

  // The text a drive is shown with.
  static QString Drive_text(char letter, const std::string& label);

 signals:
  // The user chose a readable drive.
  void Drive_changed(char letter);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void On_index_changed(int index);

  const DriveTable& drives_;
  int chosen_ = -1;  // the drive in force, where an unreadable choice returns to
};

}  // namespace zendrel
