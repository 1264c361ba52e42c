// The main window: the five modes, the catalogue, source and destination
// pickers, Go/Stop, Exit and the status line. Go takes the window's choices
// as one request; the run, on the user-interface thread with one event-loop
// turn per picture, reports back as the window's observer and never reads
// the controls, so the window stays live but a click cannot move a run.
// It owns what outlives a run: its drive table (shown by its drive lists and
// handed to each run), the last copy answer and the label-to-drive table.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "build/make_archive.h"
#include "catalog/label_drive_table.h"
#include "platform/drive_table.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace zendrel {

class DirList;
class DriveList;
class FileList;
class SkippedList;

// The Status caption for a catalogue file name (case-sensitive tests, the
// first that matches wins).
std::string Catalogue_type_caption(const std::string& file_name);

class FrmArchive : public QWidget, public RunObserver {
  Q_OBJECT
 public:
  // The lists start on the current directory; `drives` is the window's
  // table for as long as it is open.
  explicit FrmArchive(DriveTable drives, QWidget* parent = nullptr);

  const DriveTable& Drives() const { return drives_; }

  // What the controls show now.
  RunMode Mode() const;
  std::string Cat_dir() const;
  std::string Cat_file() const;
  std::string Src_dir() const;
  std::string Dest_dir() const;
  bool Take_metadata() const;
  std::string Go_caption() const;
  std::string Status_caption() const;
  void Set_status_caption(const std::string& caption);
  // The copy question's last answer.
  CopyMode Copy_mode() const { return copy_mode_; }
  void Set_copy_mode(CopyMode mode) { copy_mode_ = mode; }
  // The run that Go would start now.
  RunRequest Request();

  // RunObserver
  void Status(const std::string& text) override { Set_status_caption(text); }
  void Running(bool running) override;
  CopyMode Ask_copy_originals() override;
  Answer Message_box(const std::string& text, Buttons buttons) override;
  void Do_events() override;
  void Edit_records(RecordTable&& records) override;
  void Picture_skipped(const std::string& file, SkipReason reason,
                       const std::string& detail) override {
    skipped_.Add(file, reason, detail);
  }
  void Metadata_damaged(int32_t pictures) override { metadata_damaged_ = pictures; }
  void Progress(int32_t done, int32_t total) override;

  // Points a pair of lists at a directory (Windows view), as the user would.
  void Set_cat_dir(const std::string& path);
  void Set_src_dir(const std::string& path);
  void Set_dest_dir(const std::string& path);

  bool Running() const { return in_run_; }
  // archive.htm of the last completed run, native path; empty before one.
  const QString& Finished_archive() const { return finished_archive_; }

 signals:
  // Exit pressed while idle: the program is to end now.
  void Ended();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A click on the status line lists the files the last run skipped.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build_controls();
  QLayout* Build_status_row();
  void Name_lists(bool archive_file);
  QWidget* Build_catalogue_frame();
  QWidget* Build_source_frame();
  QWidget* Build_destination_frame();
  QWidget* Build_mode_frame();
  void Start_in_current_directory();

  void Option_Click(int mode);
  void Apply_mode(int mode);
  void CatDrive_Change(char letter);
  void CatDir_Change();
  void CatFile_Click();
  void CatFile_LostFocus();
  void Go_Click();
  void Exit_Click();
  void OpenArchive_Click();
  void Request_stop();
  void Offer_finished_archive(const std::string& dest_dir, bool completed);
  void End_program();
  void Tell_skipped();
  void Tell_stopped(bool stopped);
  void Show_skipped_list();

  const DriveTable drives_;
  QLabel* status_;
  QLabel* progress_;             // "128 of 500" during a run, and whether it was stopped
  QProgressBar* progress_bar_;   // once the number of pictures is known
  QPushButton* skipped_button_;  // lists the files the last run skipped
  QGroupBox* frame1_;
  DriveList* cat_drive_;
  DirList* cat_dir_;
  FileList* cat_file_;
  QGroupBox* frame2_;
  DriveList* src_drive_;
  DirList* src_dir_;
  QCheckBox* metadata_;  // "Take descriptions from the pictures", mode 3
  QGroupBox* frame3_;
  DriveList* dest_drive_;
  DirList* dest_dir_;
  QRadioButton* options_[5];
  QPushButton* go_;
  QPushButton* exit_;
  QPushButton* open_archive_;
  QPointer<SkippedList> skipped_list_;  // open until closed

  CopyMode copy_mode_ = CopyMode::kNoCopy;
  SkippedFiles skipped_;          // of the last run
  int32_t metadata_damaged_ = 0;  // pictures of the last run archived with part of their metadata
  LabelDriveTable label_drives_;
  bool in_run_ = false;
  StopRequest* stop_ = nullptr;  // the run's, while one is under way
  bool close_pending_ = false;   // closed through the frame during a run
  bool ending_ = false;
  QString finished_archive_;
};

}  // namespace zendrel
