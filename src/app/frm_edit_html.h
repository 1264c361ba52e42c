// The record editor window, frmEdit_Html: walks through the records of an
// archive page, which it holds from its opening to its closing, one record
// at a time, and stores
// or deletes them through the editing core, which rewrites the page. While
// it is open the main window is hidden. One thread: the user interface's.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "edit/editor_session.h"
#include "platform/message_buttons.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zendrel {

// Opens the record editor, not modal, on record 1 of `records` (read from
// their page); it hides `main_window` while open and shows it again when
// closed.
void Show_record_editor(QWidget* main_window, const DriveTable& drives, RecordTable records);

class FrmEditHtml : public QWidget {
  Q_OBJECT

 public:
  // Tests answer the editor's message boxes through this hook (text and
  // title in the system's text); while it is empty, real boxes are shown.
  using MessageHook =
      std::function<Answer(const std::string& text, Buttons buttons, const std::string& title)>;
  static MessageHook message_hook_for_testing;

  // `drives`: the table the records' directory was read through.
  FrmEditHtml(QWidget* main_window, const DriveTable& drives, RecordTable records);

  // Event handlers, each the reaction to one control's event.
  void RecordNum_Change();
  void Up_Click();
  void Down_Click();
  void Undo_Click();
  void Done_Click();
  void Update_Click();
  void Delete_Click();

  bool BackupMade() const { return session_.backup_made; }

 protected:
  void closeEvent(QCloseEvent* event) override;  // Form_Unload
  // Up/Down mouse-up; the arrow and page keys in the number box.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void Form_Unload();
  void Build_controls();
  void Fit_labels();
  QLineEdit* Box(const char* name, const char* placeholder, int top, int width = 3855);
  void Label(int number, const char* text, QLineEdit* box);
  void Build_status_strip();
  void Show_count();
  QPushButton* Button(const char* name, const char* caption, int left, int top, int width,
                      int height);
  int Current_number() const;
  void Show_editable(int record);

  QPointer<QWidget> main_window_;
  QPoint main_window_place_;  // where the main window's frame comes back
  RecordTable records_;
  EditorSession session_;  // over records_
  QLineEdit* record_num_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* keyword_ = nullptr;
  QLineEdit* category_ = nullptr;
  QLineEdit* comment_ = nullptr;
  QLineEdit* author_ = nullptr;
  QLineEdit* pic_date_ = nullptr;
  QLineEdit* path_ = nullptr;
  QLineEdit* source_ = nullptr;
  QLineEdit* thumb_ = nullptr;
  QPushButton* up_ = nullptr;
  QPushButton* down_ = nullptr;
  QPushButton* update_ = nullptr;
  QPushButton* undo_ = nullptr;
  QPushButton* done_ = nullptr;
  QPushButton* delete_ = nullptr;
  QLabel* record_count_ = nullptr;  // "of 200"
  QLabel* edit_status_ = nullptr;   // what the last Update or Delete did
};

}  // namespace zendrel
