#include "app/frm_archive.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "app/dir_list.h"
#include "app/drive_list.h"
#include "app/enter_key.h"
#include "app/file_list.h"
#include "app/frm_copy.h"
#include "app/frm_edit_html.h"
#include "app/message_box.h"
#include "app/qt_text.h"
#include "app/skipped_list.h"
#include "app/window_roles.h"
#include "build/catalogue_types.h"
#include "build/make_archive.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

struct ModeRow {
  const char* caption;
  const char* frame1;
  const char* frame3;
  bool catalogue, source, destination;
};

constexpr ModeRow kModes[5] = {
    {"Make archive using catalog file, original image paths", "Catalog File",
     "Destination Directory", true, false, true},
    {"Make archive using catalog file, select source directory", "Catalog File",
     "Destination Directory", true, true, true},
    {"Make archive from source directory image files", "Catalog File", "Destination Directory",
     false, true, true},
    {"Make master archive from subdirectory archives", "Catalog File",
     "Destination Directory for Master", false, false, true},
    {"Edit existing archive file", "Archive File", "Destination Directory", true, false, false},
};

// On: enabled, on the normal window background; off: disabled, on the
// button face.
void Set_list_state(QWidget* list, bool on) {
  QPalette base = QApplication::palette();
  QColor colour = on ? base.color(QPalette::Active, QPalette::Base)
                     : base.color(QPalette::Active, QPalette::Button);
  QPalette palette = list->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, colour);
    // A drop-down list paints its face with the button colour.
    if (qobject_cast<DriveList*>(list)) palette.setColor(group, QPalette::Button, colour);
  }
  list->setPalette(palette);
  list->setEnabled(on);
}

void Point_lists_at(DriveList* drive, DirList* dir, const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') drive->Set_drive(path[0]);
  dir->Set_path(path);
}

}  // namespace

std::string Catalogue_type_caption(const std::string& file_name) {
  const CatalogueType* type = Shown_catalogue_type(file_name);
  return type ? type->caption : " Catalog file type not supported";
}

FrmArchive::FrmArchive(DriveTable drives, QWidget* parent)
    : QWidget(parent), drives_(std::move(drives)) {
  setObjectName("frmArchive");
  setWindowTitle("Zendrel");
  Give_windows_their_roles();
  Build_controls();
  // The layout may need more than the window's usual size; it is centred at
  // the size it will have.
  resize(QSize(720, 624).expandedTo(minimumSizeHint()));
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  Start_in_current_directory();
  Apply_mode(1);
  Enter_presses_focused_button(this);
}

QLayout* FrmArchive::Build_status_row() {
  status_ = new QLabel(this);
  status_->setObjectName("Status");
  status_->setAccessibleName("Status");
  status_->setTextFormat(Qt::PlainText);
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setMinimumHeight(status_->fontMetrics().height() + 8);
  status_->installEventFilter(this);

  progress_ = new QLabel(this);
  progress_->setObjectName("Progress");
  progress_->setAccessibleName("Progress");
  progress_->setTextFormat(Qt::PlainText);
  progress_bar_ = new QProgressBar(this);
  progress_bar_->setObjectName("ProgressBar");
  progress_bar_->setAccessibleName("Progress");
  progress_bar_->setTextVisible(false);  // the label beside it says "128 of 500"
  progress_bar_->setMaximumWidth(160);
  progress_bar_->hide();
  skipped_button_ = new QPushButton("Skipped Files...", this);
  skipped_button_->setObjectName("SkippedFiles");
  skipped_button_->setToolTip("List the files the last run skipped, with the reasons");
  skipped_button_->hide();
  connect(skipped_button_, &QPushButton::clicked, this, &FrmArchive::Show_skipped_list);

  auto* row = new QHBoxLayout;
  row->addWidget(status_, 1);
  row->addWidget(progress_);
  row->addWidget(progress_bar_);
  row->addWidget(skipped_button_);
  return row;
}

void FrmArchive::Build_controls() {
  QLayout* status_row = Build_status_row();
  go_ = new QPushButton("Go", this);
  go_->setObjectName("Go");
  exit_ = new QPushButton("Exit", this);
  exit_->setObjectName("Exit");
  // Appears once a run has completed a page: one click opens it.
  open_archive_ = new QPushButton("Open Archive", this);
  open_archive_->setObjectName("OpenArchive");
  open_archive_->setToolTip("Open the finished archive.htm in the web browser");
  // Go and Exit keep their places when it appears.
  QSizePolicy keep_place = open_archive_->sizePolicy();
  keep_place.setRetainSizeWhenHidden(true);
  open_archive_->setSizePolicy(keep_place);
  open_archive_->hide();
  for (QPushButton* button : {go_, exit_, open_archive_}) button->setMinimumSize(96, 32);
  connect(go_, &QPushButton::clicked, this, &FrmArchive::Go_Click);
  connect(exit_, &QPushButton::clicked, this, &FrmArchive::Exit_Click);
  connect(open_archive_, &QPushButton::clicked, this, &FrmArchive::OpenArchive_Click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(go_);
  buttons->addSpacing(12);
  buttons->addWidget(exit_);
  buttons->addSpacing(12);
  buttons->addWidget(open_archive_);
  buttons->addStretch();

  auto* grid = new QGridLayout(this);
  grid->addLayout(status_row, 0, 0, 1, 2);
  grid->addWidget(Build_catalogue_frame(), 1, 0, 2, 1);
  grid->addWidget(Build_source_frame(), 1, 1);
  grid->addWidget(Build_destination_frame(), 2, 1);
  grid->addLayout(buttons, 3, 0, Qt::AlignVCenter);
  grid->addWidget(Build_mode_frame(), 3, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);
  grid->setRowStretch(2, 1);
}

// Each list is named by what it chooses, not by the value it shows, so a
// screen reader says "Source drive" rather than "c:".
void FrmArchive::Name_lists(bool archive_file) {
  const char* what = archive_file ? "Archive" : "Catalogue";
  cat_drive_->setAccessibleName(QString("%1 drive").arg(what));
  cat_dir_->setAccessibleName(QString("%1 folder").arg(what));
  cat_file_->setAccessibleName(QString("%1 file").arg(what));
  src_drive_->setAccessibleName("Source drive");
  src_dir_->setAccessibleName("Source folder");
  dest_drive_->setAccessibleName("Destination drive");
  dest_dir_->setAccessibleName("Destination folder");
}

QWidget* FrmArchive::Build_catalogue_frame() {
  frame1_ = new QGroupBox("Catalog File", this);
  frame1_->setObjectName("Frame1");
  cat_drive_ = new DriveList(drives_, frame1_);
  cat_drive_->setObjectName("CatDrive");
  cat_dir_ = new DirList(drives_, frame1_);
  cat_dir_->setObjectName("CatDir");
  cat_file_ = new FileList(drives_, frame1_);
  cat_file_->setObjectName("CatFile");
  auto* layout = new QVBoxLayout(frame1_);
  layout->addWidget(cat_drive_);
  layout->addWidget(cat_dir_, 1);
  layout->addWidget(cat_file_, 1);

  connect(cat_drive_, &DriveList::Drive_changed, this, &FrmArchive::CatDrive_Change);
  connect(cat_dir_, &DirList::Path_changed, this, &FrmArchive::CatDir_Change);
  connect(cat_file_, &FileList::File_chosen, this, &FrmArchive::CatFile_Click);
  connect(cat_file_, &FileList::Lost_focus, this, &FrmArchive::CatFile_LostFocus);
  return frame1_;
}

QWidget* FrmArchive::Build_source_frame() {
  frame2_ = new QGroupBox("Source Directory", this);
  frame2_->setObjectName("Frame2");
  src_drive_ = new DriveList(drives_, frame2_);
  src_drive_->setObjectName("SrcDrive");
  src_dir_ = new DirList(drives_, frame2_);
  src_dir_->setObjectName("SrcDir");
  auto* layout = new QVBoxLayout(frame2_);
  layout->addWidget(src_drive_);
  layout->addWidget(src_dir_, 1);
  metadata_ = new QCheckBox("Take descriptions from the pictures", frame2_);
  metadata_->setObjectName("Metadata");
  layout->addWidget(metadata_);
  connect(src_drive_, &DriveList::Drive_changed, this,
          [this](char letter) { src_dir_->Set_path(std::string(1, letter) + ":\\"); });
  return frame2_;
}

QWidget* FrmArchive::Build_destination_frame() {
  frame3_ = new QGroupBox("Destination Directory", this);
  frame3_->setObjectName("Frame3");
  dest_drive_ = new DriveList(drives_, frame3_);
  dest_drive_->setObjectName("DestDrive");
  dest_dir_ = new DirList(drives_, frame3_);
  dest_dir_->setObjectName("DestDir");
  auto* layout = new QVBoxLayout(frame3_);
  layout->addWidget(dest_drive_);
  layout->addWidget(dest_dir_, 1);
  dest_dir_->Offer_new_folder();
  connect(dest_drive_, &DriveList::Drive_changed, this,
          [this](char letter) { dest_dir_->Set_path(std::string(1, letter) + ":\\"); });
  return frame3_;
}

QWidget* FrmArchive::Build_mode_frame() {
  auto* frame4 = new QGroupBox(this);
  frame4->setObjectName("Frame4");
  frame4->setAccessibleName("Mode");
  auto* layout = new QVBoxLayout(frame4);
  for (int i = 0; i < 5; ++i) {
    options_[i] = new QRadioButton(kModes[i].caption, frame4);
    options_[i]->setObjectName(QString("Option%1").arg(i + 1));
    layout->addWidget(options_[i]);
    connect(options_[i], &QRadioButton::clicked, this, [this, i] { Option_Click(i + 1); });
  }
  options_[0]->setChecked(true);
  return frame4;
}

void FrmArchive::Start_in_current_directory() {
  std::error_code ec;
  std::string here = Windows_path(drives_, std::filesystem::current_path(ec).string());
  if (ec) here = "C:\\";
  for (auto [drive, dir] : {std::pair{cat_drive_, cat_dir_}, std::pair{src_drive_, src_dir_},
                            std::pair{dest_drive_, dest_dir_}}) {
    Point_lists_at(drive, dir, here);
  }
  cat_file_->Set_path(cat_dir_->Path());
}

void FrmArchive::Set_cat_dir(const std::string& path) {
  Point_lists_at(cat_drive_, cat_dir_, path);
  CatDir_Change();
}
void FrmArchive::Set_src_dir(const std::string& path) {
  Point_lists_at(src_drive_, src_dir_, path);
}
void FrmArchive::Set_dest_dir(const std::string& path) {
  Point_lists_at(dest_drive_, dest_dir_, path);
}

// --- Event handlers -------------------------------------------------------

void FrmArchive::Option_Click(int mode) { Apply_mode(mode); }

void FrmArchive::Apply_mode(int mode) {
  const ModeRow& row = kModes[mode - 1];
  frame1_->setTitle(row.frame1);
  frame3_->setTitle(row.frame3);
  for (QWidget* list : {static_cast<QWidget*>(cat_drive_), static_cast<QWidget*>(cat_dir_),
                        static_cast<QWidget*>(cat_file_)}) {
    Set_list_state(list, row.catalogue);
  }
  Set_list_state(src_drive_, row.source);
  Set_list_state(src_dir_, row.source);
  Set_list_state(dest_drive_, row.destination);
  Set_list_state(dest_dir_, row.destination);
  metadata_->setEnabled(mode == 3);  // only the directory scan reads the pictures' metadata
  Name_lists(mode == 5);
}

void FrmArchive::CatDrive_Change(char letter) {
  cat_dir_->Set_path(std::string(1, letter) + ":\\");
  CatDir_Change();
}

void FrmArchive::CatDir_Change() { cat_file_->Set_path(cat_dir_->Path()); }

void FrmArchive::CatFile_Click() { Set_status_caption(Catalogue_type_caption(Cat_file())); }

void FrmArchive::CatFile_LostFocus() { Set_status_caption(""); }

void FrmArchive::Go_Click() {
  if (in_run_) {
    // Inside the run's event-loop turn: only a stop request is meaningful.
    if (Go_caption() != "Go") Request_stop();
    return;
  }
  in_run_ = true;
  Offer_finished_archive({}, false);
  skipped_.Clear();
  metadata_damaged_ = 0;
  status_->setToolTip({});
  skipped_button_->hide();
  if (skipped_list_) skipped_list_->close();  // it lists the run before
  progress_->clear();
  progress_bar_->hide();
  StopRequest stop;
  stop_ = &stop;
  RunRequest request = Request();
  RunOutcome outcome = Make_archive(request, *this, stop);
  stop_ = nullptr;
  in_run_ = false;
  Tell_stopped(outcome.end == RunEnd::kStopped);
  Tell_skipped();
  Offer_finished_archive(request.dest_dir,
                         outcome.end == RunEnd::kCompleted || outcome.end == RunEnd::kStopped);
  cat_file_->Refresh();  // the run may have written archive.txt where the catalogue lies
  if (close_pending_) {
    close_pending_ = false;
    ending_ = true;
    close();
  }
}

void FrmArchive::Request_stop() {
  if (stop_) stop_->Request();
  go_->setText("");
}

// The page of the run's own destination, whatever the lists show now.
void FrmArchive::Offer_finished_archive(const std::string& dest_dir, bool completed) {
  finished_archive_.clear();
  if (completed) {
    std::string page = Add_backslash(dest_dir) + "archive.htm";
    auto native = Native_path(drives_, page);
    if (native && Plain_file_exists(drives_, page))
      finished_archive_ = QString::fromStdString(*native);
  }
  open_archive_->setVisible(!finished_archive_.isEmpty());
}

void FrmArchive::OpenArchive_Click() {
  if (finished_archive_.isEmpty()) return;
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(finished_archive_))) {
    std::string shown = Windows_path(drives_, finished_archive_.toStdString());
    Message_box(shown + ": no web browser could be started to show it", Buttons::kOk);
  }
}

void FrmArchive::Tell_skipped() {
  if (metadata_damaged_ > 0)
    Set_status_caption(Status_caption() + " " + std::to_string(metadata_damaged_) +
                       " with damaged metadata");
  if (skipped_.count() == 0) return;
  Set_status_caption(Status_caption() + " " + std::to_string(skipped_.count()) + " skipped");
  status_->setToolTip(To_qt(skipped_.Summary() + " - click for the list"));
  skipped_button_->show();
}

// The status line keeps its " Done!"; the progress beside it says whether
// the run went to the end.
void FrmArchive::Tell_stopped(bool stopped) {
  if (!stopped) return;
  progress_->setText(progress_->text().isEmpty() ? "Stopped" : "Stopped at " + progress_->text());
}

void FrmArchive::Progress(int32_t done, int32_t total) {
  progress_->setText(total >= 0 ? QString("%1 of %2").arg(done).arg(total) : QString::number(done));
  if (total > 0) {
    progress_bar_->setRange(0, total);
    progress_bar_->setValue(std::min(done, total));
  }
  progress_bar_->setVisible(total > 0);
}

void FrmArchive::Show_skipped_list() {
  if (skipped_list_) {
    skipped_list_->show();
    skipped_list_->raise();
    skipped_list_->activateWindow();
    return;
  }
  skipped_list_ = new SkippedList(skipped_, this);
  skipped_list_->show();
  skipped_list_->activateWindow();
}

bool FrmArchive::eventFilter(QObject* watched, QEvent* event) {
  if (watched == status_ && event->type() == QEvent::MouseButtonRelease && !in_run_ &&
      skipped_.count() > 0) {
    Show_skipped_list();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void FrmArchive::Exit_Click() {
  if (in_run_ && Go_caption() == "Go") return;  // a question of the run is open
  if (in_run_)
    Request_stop();
  else
    End_program();
}

void FrmArchive::End_program() {
  ending_ = true;
  close();
  emit Ended();
}

void FrmArchive::closeEvent(QCloseEvent* event) {
  if (ending_ || !in_run_) {
    event->accept();
    return;
  }
  // Closed through the frame during a run: stop it, and close once the run
  // has been completed.
  close_pending_ = true;
  Request_stop();
  event->ignore();
}

// --- Host -----------------------------------------------------------------

RunMode FrmArchive::Mode() const {
  for (int i = 0; i < 5; ++i) {
    if (options_[i]->isChecked()) return RunMode(i + 1);
  }
  return RunMode::kCatalogue;
}

std::string FrmArchive::Cat_dir() const { return cat_dir_->Path(); }
std::string FrmArchive::Cat_file() const { return cat_file_->File_name(); }
std::string FrmArchive::Src_dir() const { return src_dir_->Path(); }
std::string FrmArchive::Dest_dir() const { return dest_dir_->Path(); }
bool FrmArchive::Take_metadata() const {
  return Mode() == RunMode::kSourceDirectory && metadata_->isChecked();
}

RunRequest FrmArchive::Request() {
  RunRequest request;
  request.mode = Mode();
  request.cat_dir = Cat_dir();
  request.cat_file = Cat_file();
  request.src_dir = Src_dir();
  request.dest_dir = Dest_dir();
  request.copy_mode = copy_mode_;
  request.take_metadata = Take_metadata();
  request.label_drives = &label_drives_;
  request.drives = drives_;
  return request;
}

std::string FrmArchive::Go_caption() const { return From_qt(go_->text()); }

// A stop asked for before the pictures started (a close through the frame
// during the copy question) shows at once.
void FrmArchive::Running(bool running) {
  go_->setText(!running ? "Go" : stop_ && stop_->Requested() ? "" : "Stop");
}

std::string FrmArchive::Status_caption() const { return From_qt(status_->text()); }
void FrmArchive::Set_status_caption(const std::string& caption) {
  status_->setText(To_qt(caption));
}

CopyMode FrmArchive::Ask_copy_originals() {
  FrmCopy dialog(this);
  dialog.exec();
  copy_mode_ = dialog.Copy_mode();
  return copy_mode_;
}

Answer FrmArchive::Message_box(const std::string& text, Buttons buttons) {
  return Show_message_box(this, text, buttons);
}

void FrmArchive::Do_events() { QCoreApplication::processEvents(); }

void FrmArchive::Edit_records(RecordTable&& records) {
  Show_record_editor(this, drives_, std::move(records));
}

}  // namespace zendrel
