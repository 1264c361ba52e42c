// The main window: the mode rows, the catalogue type display, the drive
// lists, and runs started, stopped and ended from the window.
#include "app/frm_archive.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dir_list.h"
#include "app/drive_list.h"
#include "app/file_list.h"
#include "app/frm_copy.h"
#include "app/message_box.h"
#include "app/skipped_list.h"
#include "page/page_tail.h"
#include "platform/drive_table.h"
#include "support/temp_dir.h"

using zendrel::Answer;
using zendrel::Buttons;
using zendrel::FrmArchive;
using zendrel::testing::Root_drives;
using zendrel::testing::TempDir;

namespace {

// A 16 by 12 pixel colour JPEG (baseline, 4:2:0).
const unsigned char kSmallJpeg[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x0d, 0x09, 0x0a, 0x0b, 0x0a, 0x08, 0x0d,
    0x0b, 0x0a, 0x0b, 0x0e, 0x0e, 0x0d, 0x0f, 0x13, 0x20, 0x15, 0x13, 0x12, 0x12, 0x13, 0x27, 0x1c,
    0x1e, 0x17, 0x20, 0x2e, 0x29, 0x31, 0x30, 0x2e, 0x29, 0x2d, 0x2c, 0x33, 0x3a, 0x4a, 0x3e, 0x33,
    0x36, 0x46, 0x37, 0x2c, 0x2d, 0x40, 0x57, 0x41, 0x46, 0x4c, 0x4e, 0x52, 0x53, 0x52, 0x32, 0x3e,
    0x5a, 0x61, 0x5a, 0x50, 0x60, 0x4a, 0x51, 0x52, 0x4f, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x0e, 0x0e,
    0x0e, 0x13, 0x11, 0x13, 0x26, 0x15, 0x15, 0x26, 0x4f, 0x35, 0x2d, 0x35, 0x4f, 0x4f, 0x4f, 0x4f,
    0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f,
    0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f,
    0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0x4f, 0xff, 0xc0,
    0x00, 0x11, 0x08, 0x00, 0x0c, 0x00, 0x10, 0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xc4, 0x00, 0x1f, 0x00, 0x00, 0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
    0x0a, 0x0b, 0xff, 0xc4, 0x00, 0xb5, 0x10, 0x00, 0x02, 0x01, 0x03, 0x03, 0x02, 0x04, 0x03, 0x05,
    0x05, 0x04, 0x04, 0x00, 0x00, 0x01, 0x7d, 0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21,
    0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23,
    0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17,
    0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a,
    0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a,
    0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7,
    0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5,
    0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1,
    0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xff, 0xc4, 0x00, 0x1f, 0x01, 0x00, 0x03,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
    0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0xff, 0xc4, 0x00, 0xb5, 0x11, 0x00,
    0x02, 0x01, 0x02, 0x04, 0x04, 0x03, 0x04, 0x07, 0x05, 0x04, 0x04, 0x00, 0x01, 0x02, 0x77, 0x00,
    0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13,
    0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15,
    0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27,
    0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49,
    0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69,
    0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88,
    0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6,
    0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4,
    0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2,
    0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9,
    0xfa, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0xad,
    0x0d, 0xa7, 0xb5, 0x5f, 0x86, 0xd3, 0xda, 0xac, 0xc3, 0x1a, 0xfa, 0x55, 0xf8, 0x63, 0x5f, 0x4a,
    0xdb, 0x19, 0x5d, 0x98, 0xe5, 0xd8, 0x97, 0xa1, 0xff, 0xd9,
};

std::string Small_jpeg() {
  return std::string(reinterpret_cast<const char*>(kSmallJpeg), sizeof kSmallJpeg);
}

// Logs each event-loop turn of a run, and runs a test's action at the first.
class RecordingWindow : public FrmArchive {
 public:
  explicit RecordingWindow(const zendrel::DriveTable& drives) : FrmArchive(drives) {}
  std::vector<std::string> log;
  std::function<void(RecordingWindow&)> at_first_turn;

  void Do_events() override {
    log.push_back("turn " + Go_caption() + "|" + Status_caption());
    if (log.size() == 1 && at_first_turn) at_first_turn(*this);
    FrmArchive::Do_events();
    log.push_back("after " + Go_caption());
  }
};

QColor On_colour() { return QApplication::palette().color(QPalette::Active, QPalette::Base); }
QColor Off_colour() { return QApplication::palette().color(QPalette::Active, QPalette::Button); }

// Stands in for the desktop's web browser.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls << url; }
};

// Answers the next "New Folder" question with `name`.
void Name_new_folder_later(const QString& name) {
  QTimer::singleShot(0, [name] {
    auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (!ask) return;
    ask->setTextValue(name);
    ask->accept();
  });
}

// Names a new folder that is refused: the question comes back with the
// name as typed, which is put in `asked_again`, and is then cancelled.
void Name_refused_folder_later(const QString& name, QString* asked_again) {
  QTimer::singleShot(0, [name, asked_again] {
    auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (!ask) return;
    ask->setTextValue(name);
    ask->accept();
    QTimer::singleShot(0, [asked_again] {
      auto* again = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      if (!again) return;
      *asked_again = again->textValue();
      again->reject();
    });
  });
}

// Clicks a control later, from the event loop, as the user would.
void Click_later(QAbstractButton* button) {
  QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

}  // namespace

class FrmArchiveTest : public QObject {
  Q_OBJECT

  std::vector<std::pair<std::string, Buttons>> messages_;
  TempDir drive_r_;
  zendrel::DriveTable drives_ = Root_drives();  // the windows' table

 private slots:
  void initTestCase() {
    drives_.Set('Q', "/nonexistent-zendrel-drive");
    drive_r_.Write("catalogue.txt", "");
    drives_.Set('R', drive_r_.native(), "PHOTOS99");
  }

  void init() {
    messages_.clear();
    zendrel::Message_box_hook() = [this](const std::string& text, Buttons buttons) {
      messages_.emplace_back(text, buttons);
      return buttons == Buttons::kOk ? Answer::kOk : Answer::kCancel;
    };
  }

  void modeRowsSetCaptionsAndLists() {
    FrmArchive window(drives_);
    auto frame1 = window.findChild<QGroupBox*>("Frame1");
    auto frame3 = window.findChild<QGroupBox*>("Frame3");
    using Names = std::vector<const char*>;
    const Names cat = {"CatDrive", "CatDir", "CatFile"};
    const Names src = {"SrcDrive", "SrcDir"};
    const Names dest = {"DestDrive", "DestDir"};
    auto check = [&](int mode, const char* f1, const char* f3, bool c, bool s, bool d) {
      auto lists_are = [&](const Names& names, bool on) {
        for (const char* name : names) {
          QWidget* list = window.findChild<QWidget*>(name);
          QVERIFY2(list->isEnabled() == on, name);
          QColor want = on ? On_colour() : Off_colour();
          QCOMPARE(list->palette().color(QPalette::Disabled, QPalette::Base), want);
          QCOMPARE(list->palette().color(QPalette::Active, QPalette::Base), want);
        }
      };
      QCOMPARE(int(window.Mode()), mode);
      QCOMPARE(frame1->title(), QString(f1));
      QCOMPARE(frame3->title(), QString(f3));
      lists_are(cat, c);
      lists_are(src, s);
      lists_are(dest, d);
    };
    auto click = [&](int mode) {
      QTest::mouseClick(window.findChild<QRadioButton*>(QString("Option%1").arg(mode)),
                        Qt::LeftButton);
    };

    // At start: the first row, the source lists grey already.
    check(1, "Catalog File", "Destination Directory", true, false, true);
    QVERIFY(On_colour() != Off_colour());
    click(2);
    check(2, "Catalog File", "Destination Directory", true, true, true);
    click(3);
    check(3, "Catalog File", "Destination Directory", false, true, true);
    click(4);
    check(4, "Catalog File", "Destination Directory for Master", false, false, true);
    click(5);
    check(5, "Archive File", "Destination Directory", true, false, false);
    click(4);
    click(1);
    check(1, "Catalog File", "Destination Directory", true, false, true);
    QCOMPARE(window.findChild<QRadioButton*>("Option3")->text(),
             QString("Make archive from source directory image files"));
  }

  // The check box is for the directory scan alone: greyed in every other
  // mode, and a tick left from mode 3 asks nothing of another mode's run.
  void metadataBoxOnlyInSourceDirectoryMode() {
    FrmArchive window(drives_);
    auto* box = window.findChild<QCheckBox*>("Metadata");
    QVERIFY(box);
    QCOMPARE(box->text(), QString("Take descriptions from the pictures"));
    QVERIFY(!box->isChecked());
    for (int mode = 1; mode <= 5; ++mode) {
      QTest::mouseClick(window.findChild<QRadioButton*>(QString("Option%1").arg(mode)),
                        Qt::LeftButton);
      QCOMPARE(box->isEnabled(), mode == 3);
    }
    QTest::mouseClick(window.findChild<QRadioButton*>("Option3"), Qt::LeftButton);
    QVERIFY(!window.Take_metadata());
    box->click();
    QVERIFY(window.Take_metadata());
    QTest::mouseClick(window.findChild<QRadioButton*>("Option2"), Qt::LeftButton);
    QVERIFY(box->isChecked());
    QVERIFY(!window.Take_metadata());
  }

  void typeDisplayFirstMatchWins() {
    TempDir dir;
    const std::pair<const char*, const char*> table[] = {
        {"photos.txt", " Tab Delimited Text File"},
        {"list.txt.mdb", " Tab Delimited Text File"},
        {"photos.TXT", " Catalog file type not supported"},
        {"lib.plb", " Photo Organizer Library File"},
        {"album.GAL", " EasyPhoto or Adobe Gallery File"},
        {"album.gal", " Catalog file type not supported"},
        {"thumbs.tDB", " ThumbsPlus V3 Database"},
        {"thumbs.TDB", " Catalog file type not supported"},
        {"export.csv", " ThumbsPlus V4 Export File"},
        {"archive.htm", " HTML File"},
        {"recall.mdb", " PhotoRecall Database"},
        {"notes.doc", " Catalog file type not supported"},
    };
    for (const auto& [name, caption] : table) dir.Write(name, "x");

    FrmArchive window(drives_);
    window.Set_cat_dir(dir.Win());
    auto* list = window.findChild<zendrel::FileList*>("CatFile");
    QCOMPARE(list->count(), int(std::size(table)));
    for (const auto& [name, caption] : table) {
      auto items = list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
      QCOMPARE(items.size(), 1);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualItemRect(items[0]).center());
      QCOMPARE(window.Cat_file(), std::string(name));
      QCOMPARE(window.Status_caption(), std::string(caption));
    }
  }

  void losingTheFocusClearsTheStatus() {
    TempDir dir;
    dir.Write("a.plb", "x");
    FrmArchive window(drives_);
    window.Set_cat_dir(dir.Win());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* list = window.findChild<zendrel::FileList*>("CatFile");
    list->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(window.Status_caption(), std::string(" Photo Organizer Library File"));
    window.findChild<QWidget*>("CatDir")->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(window.Status_caption(), std::string());
  }

  void goWithNothingSelected() {
    FrmArchive window(drives_);
    auto* go = window.findChild<QPushButton*>("Go");
    window.Set_status_caption(" HTML File");
    QTest::mouseClick(go, Qt::LeftButton);
    QCOMPARE(messages_.size(), size_t(1));
    QCOMPARE(messages_[0].first, std::string("Select Catalog File"));
    QCOMPARE(messages_[0].second, Buttons::kOk);
    QCOMPARE(window.Status_caption(), std::string());
    QCOMPARE(go->text(), QString("Go"));

    QTest::mouseClick(window.findChild<QRadioButton*>("Option5"), Qt::LeftButton);
    QTest::mouseClick(go, Qt::LeftButton);
    QCOMPARE(messages_.size(), size_t(2));
    QCOMPARE(messages_[1].first, std::string("Select Archive File"));
  }

  void drivesShowLabelsAndUnreadableDriveGoesBack() {
    FrmArchive window(drives_);
    auto* drives = window.findChild<zendrel::DriveList*>("CatDrive");
    auto* dirs = window.findChild<zendrel::DirList*>("CatDir");
    int r = drives->findData(QChar('R'));
    QVERIFY(r >= 0);
    QCOMPARE(drives->itemText(r), QString("r: [PHOTOS99]"));

    char before = drives->Drive();
    std::string path_before = dirs->Path();
    drives->setCurrentIndex(drives->findData(QChar('Q')));
    QCOMPARE(messages_.size(), size_t(1));
    QCOMPARE(messages_[0].first, std::string("Drive Q: cannot be read."));
    QCOMPARE(drives->Drive(), before);
    QCOMPARE(dirs->Path(), path_before);

    drives->setCurrentIndex(r);
    QCOMPARE(messages_.size(), size_t(1));
    QCOMPARE(window.Cat_dir(), std::string("R:\\"));
    auto* files = window.findChild<zendrel::FileList*>("CatFile");
    QCOMPARE(files->count(), 1);
    QCOMPARE(files->item(0)->text(), QString("catalogue.txt"));
  }

  void dirListClickOpensTheDirectory() {
    TempDir dir;
    dir.Make_dir("1999");
    dir.Write("1999/old.txt", "x");
    FrmArchive window(drives_);
    window.Set_cat_dir(dir.Win());
    window.show();
    auto* dirs = window.findChild<zendrel::DirList*>("CatDir");
    auto found = dirs->findItems("1999", Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {},
                      dirs->visualItemRect(found[0]).center());
    QTRY_COMPARE(window.Cat_dir(), dir.Win("1999"));
    auto* files = window.findChild<zendrel::FileList*>("CatFile");
    QCOMPARE(files->count(), 1);
    QCOMPARE(files->item(0)->text(), QString("old.txt"));
  }

  // The keyboard's highlight is not the chosen folder until Enter chooses
  // it; the chosen one is bold, and away from the list it is the one that
  // looks selected.
  void keyboardHighlightIsChosenOnlyByEnter() {
    TempDir dir;
    dir.Make_dir("dest/a");
    dir.Make_dir("dest/b");
    FrmArchive window(drives_);
    window.Set_dest_dir(dir.Win("dest"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* dest = window.findChild<zendrel::DirList*>("DestDir");
    dest->setFocus();
    QVERIFY(dest->Chosen_item()->font(0).bold());
    QCOMPARE(dest->currentItem(), dest->Chosen_item());

    QTest::keyClick(dest, Qt::Key_Down);  // onto "a"
    QCOMPARE(dest->currentItem()->text(0), QString("a"));
    QVERIFY(!dest->currentItem()->font(0).bold());
    QCOMPARE(window.Dest_dir(), dir.Win("dest"));  // only highlighted
    QVERIFY(dest->Chosen_item()->font(0).bold());

    window.findChild<QPushButton*>("Exit")->setFocus();
    QCOMPARE(dest->currentItem(), dest->Chosen_item());  // what looks selected is chosen

    dest->setFocus();
    QTest::keyClick(dest, Qt::Key_Down);
    QTest::keyClick(dest, Qt::Key_Down);  // onto "b"
    QTest::keyClick(dest, Qt::Key_Return);
    QTRY_COMPARE(window.Dest_dir(), dir.Win("dest/b"));
    QCOMPARE(dest->Chosen_item()->text(0), QString("b"));
    QVERIFY(dest->Chosen_item()->font(0).bold());
    QCOMPARE(dest->Chosen_item()->parent()->font(0).bold(), false);
  }

  // Mode 3 from the window: the copy question answered "No", a Stop after
  // the first picture of three: that picture is in the archive, the others
  // are not.
  void wholeRunStoppedAfterFirstPicture() {
    TempDir dir;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
      dir.Write(std::string("src/") + name, Small_jpeg());
    dir.Make_dir("dest");
    RecordingWindow window(drives_);
    window.Set_copy_mode(zendrel::CopyMode::kUniqueNames);
    window.show();
    QTest::mouseClick(window.findChild<QRadioButton*>("Option3"), Qt::LeftButton);
    window.Set_src_dir(dir.Win("src"));
    window.Set_dest_dir(dir.Win("dest"));
    auto* go = window.findChild<QPushButton*>("Go");
    window.at_first_turn = [go](RecordingWindow&) { Click_later(go); };
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
      auto* dialog = qobject_cast<zendrel::FrmCopy*>(QApplication::activeModalWidget());
      if (!dialog) return;
      asked = true;
      dialog->findChild<QRadioButton*>("Option0")->click();
      dialog->findChild<QPushButton*>("OK")->click();
    });

    QTest::mouseClick(go, Qt::LeftButton);

    QVERIFY(asked);
    QVERIFY(window.Copy_mode() == zendrel::CopyMode::kNoCopy);
    QVERIFY(messages_.empty());
    int pictures = 0;  // the first one's thumbnail and display copy
    for (const auto& entry : std::filesystem::directory_iterator(dir.Native("dest")))
      pictures += entry.path().filename().string()[0] == '_';
    QCOMPARE(pictures, 2);
    std::vector<std::string> expected = {"turn Stop|1", "after "};
    QCOMPARE(window.log, expected);
    QCOMPARE(go->text(), QString("Go"));
    QCOMPARE(window.Status_caption(), std::string("1 Done!"));
    // The status line keeps its " Done!"; beside it the run says it stopped.
    QCOMPARE(window.findChild<QLabel*>("Progress")->text(), QString("Stopped at 1 of 3"));
    QVERIFY(dir.Exists("dest/archive.htm"));
    QVERIFY(dir.Exists("dest/archive.txt"));
    std::string tail;  // a stopped run still completes the page
    for (const std::string& line : zendrel::Page_tail_lines()) tail += line + "\r\n";
    std::string page = dir.Read("dest/archive.htm");
    QVERIFY(page.size() >= tail.size() &&
            page.compare(page.size() - tail.size(), tail.size(), tail) == 0);
    QVERIFY(!dir.Exists("dest/a.jpg"));  // "No" copies no original
  }

  void exitDuringRunStopsItAndAfterItEnds() {
    TempDir dir;
    for (const char* name : {"a.jpg", "b.jpg"}) dir.Write(std::string("src/") + name, Small_jpeg());
    RecordingWindow window(drives_);
    window.show();
    QTest::mouseClick(window.findChild<QRadioButton*>("Option3"), Qt::LeftButton);
    window.Set_src_dir(dir.Win("src"));
    window.Set_dest_dir(dir.Win("src"));  // same directory: no copy question
    auto* exit = window.findChild<QPushButton*>("Exit");
    window.at_first_turn = [exit](RecordingWindow&) { Click_later(exit); };
    QSignalSpy ended(&window, &FrmArchive::Ended);

    QTest::mouseClick(window.findChild<QPushButton*>("Go"), Qt::LeftButton);

    QCOMPARE(window.log.size(), size_t(2));
    QCOMPARE(window.log[1], std::string("after "));
    QVERIFY(window.isVisible());
    QCOMPARE(ended.count(), 0);
    QCOMPARE(window.Go_caption(), std::string("Go"));

    QTest::mouseClick(exit, Qt::LeftButton);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!window.isVisible());
  }

  void closingTheFrameDuringRunClosesAfterIt() {
    TempDir dir;
    for (const char* name : {"a.jpg", "b.jpg"}) dir.Write(std::string("src/") + name, Small_jpeg());
    RecordingWindow window(drives_);
    window.show();
    QTest::mouseClick(window.findChild<QRadioButton*>("Option3"), Qt::LeftButton);
    window.Set_src_dir(dir.Win("src"));
    window.Set_dest_dir(dir.Win("src"));
    window.at_first_turn = [](RecordingWindow& w) {
      QMetaObject::invokeMethod(&w, &QWidget::close, Qt::QueuedConnection);
    };

    QTest::mouseClick(window.findChild<QPushButton*>("Go"), Qt::LeftButton);

    QCOMPARE(window.log.size(), size_t(2));
    QCOMPARE(window.log[1], std::string("after "));  // the close asked for a stop
    QVERIFY(window.Status_caption().find(" Done!") != std::string::npos);
    QVERIFY(!window.isVisible());
    QVERIFY(dir.Exists("src/archive.htm"));
  }

  // A run into the catalogue's own directory: its new files are listed
  // afterwards, the selection and the status line are kept.
  void fileListShowsWhatTheRunWrote() {
    TempDir dir;
    dir.Write("photos.txt", "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate\r\n");
    FrmArchive window(drives_);
    window.Set_cat_dir(dir.Win());
    window.Set_dest_dir(dir.Win());
    auto* files = window.findChild<zendrel::FileList*>("CatFile");
    QVERIFY(files->Select("photos.txt"));
    QTimer::singleShot(0, [] {
      if (auto* dialog = qobject_cast<zendrel::FrmCopy*>(QApplication::activeModalWidget()))
        dialog->findChild<QPushButton*>("OK")->click();
    });
    QTest::mouseClick(window.findChild<QPushButton*>("Go"), Qt::LeftButton);
    QCOMPARE(window.Status_caption(), std::string(" Done!"));
    QVERIFY(!files->findItems("archive.htm", Qt::MatchExactly).isEmpty());
    QCOMPARE(window.Cat_file(), std::string("photos.txt"));
  }

  // Enter presses the focused Go as Space does; once the page is complete
  // it is one click away, and it is hidden again while the next run works.
  void enterOnGoRunsAndTheFinishedArchiveOpens() {
    TempDir dir;
    dir.Write("src/a.jpg", Small_jpeg());
    RecordingWindow window(drives_);
    window.show();
    window.activateWindow();
    QTest::mouseClick(window.findChild<QRadioButton*>("Option3"), Qt::LeftButton);
    window.Set_src_dir(dir.Win("src"));
    window.Set_dest_dir(dir.Win("src"));
    auto* open = window.findChild<QPushButton*>("OpenArchive");
    QVERIFY(open->isHidden());
    auto* go = window.findChild<QPushButton*>("Go");
    go->setFocus();
    QTest::keyClick(go, Qt::Key_Return);
    QVERIFY(window.Status_caption().find(" Done!") != std::string::npos);
    QVERIFY(!open->isHidden());
    QCOMPARE(open->text(), QString("Open Archive"));

    UrlRecorder browser;
    QDesktopServices::setUrlHandler("file", &browser, "Open");
    QTest::mouseClick(open, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(
        browser.urls,
        QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(dir.Native("src/archive.htm")))});

    bool hidden_while_running = false;
    window.log.clear();
    window.at_first_turn = [&](RecordingWindow&) { hidden_while_running = open->isHidden(); };
    QTest::keyClick(go, Qt::Key_Enter);  // the keypad's Enter too
    QVERIFY(hidden_while_running);
    QVERIFY(!open->isHidden());
    size_t turns = window.log.size();
    QTest::keyClick(go, Qt::Key_Return, Qt::ControlModifier);  // not a plain Enter
    QCOMPARE(window.log.size(), turns);
  }

  // The destination list makes new folders through its context menu and
  // keys, under the chosen directory, and refuses names that cannot be.
  void newFolderUnderTheDestination() {
    TempDir dir;
    dir.Make_dir("dest");
    FrmArchive window(drives_);
    window.Set_dest_dir(dir.Win("dest"));
    window.show();
    auto* dest = window.findChild<zendrel::DirList*>("DestDir");
    // The keys reach the list while it has the focus in the active window.
    auto focus_dest = [&window, dest] {
      window.activateWindow();
      dest->setFocus();
      return QTest::qWaitForWindowActive(&window) && dest->hasFocus();
    };
    auto* action = dest->findChild<QAction*>("NewFolder");
    QVERIFY(action);
    QCOMPARE(action->text(), QString::fromUtf8("New Folder\u2026"));
    QCOMPARE(dest->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(dest->actions().contains(action));
    QVERIFY(!window.findChild<zendrel::DirList*>("SrcDir")->findChild<QAction*>("NewFolder"));

    QVERIFY(focus_dest());
    Name_new_folder_later("Trip 1999");
    QTest::keyClick(dest, Qt::Key_F7);
    QVERIFY(dir.Exists("dest/Trip 1999"));
    QCOMPARE(window.Dest_dir(), dir.Win("dest/Trip 1999"));

    QVERIFY(focus_dest());
    Name_new_folder_later("Day 1");
    QTest::keyClick(dest, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(dir.Exists("dest/Trip 1999/Day 1"));

    window.Set_dest_dir(dir.Win("dest"));
    for (const char* bad : {"a/b", "..", "Trip 1999"}) {
      messages_.clear();
      QVERIFY(focus_dest());
      QString asked_again;
      Name_refused_folder_later(bad, &asked_again);
      QTest::keyClick(dest, Qt::Key_F7);
      QCOMPARE(asked_again, QString(bad));
      QCOMPARE(messages_.size(), size_t(1));
      QVERIFY(messages_[0].first.find(dir.Win("dest") + "\\" + bad + ": ") == 0);
      QCOMPARE(window.Dest_dir(), dir.Win("dest"));
    }
    messages_.clear();
    QVERIFY(focus_dest());
    Name_new_folder_later(QString::fromUtf8("\u65E5\u672C"));  // outside Windows-1252
    QTest::keyClick(dest, Qt::Key_F7);
    QVERIFY(messages_.empty());
    QVERIFY(dir.Exists("dest/\u65E5\u672C"));
  }

  void skippedFilesAreCountedAfterDoneAndListed() {
    TempDir dir;
    dir.Write("a.jpg", Small_jpeg());
    dir.Write("notes.jpg", "not a picture");
    FrmArchive window(drives_);
    window.show();
    QTest::mouseClick(window.findChild<QRadioButton*>("Option3"), Qt::LeftButton);
    window.Set_src_dir(dir.Win());
    window.Set_dest_dir(dir.Win());  // the source itself: no copy question
    auto* list_button = window.findChild<QPushButton*>("SkippedFiles");
    QVERIFY(!list_button->isVisible());
    QTest::mouseClick(window.findChild<QPushButton*>("Go"), Qt::LeftButton);
    QCOMPARE(window.Status_caption(), std::string("1 Done! 1 skipped"));
    QVERIFY(messages_.empty());
    // Both files were handled, one of them skipped.
    QCOMPARE(window.findChild<QLabel*>("Progress")->text(), QString("2 of 2"));
    QVERIFY(list_button->isVisible());
    QVERIFY(list_button->focusPolicy() & Qt::TabFocus);

    // A click on the status line or the button opens the one list.
    QTest::mouseClick(window.findChild<QLabel*>("Status"), Qt::LeftButton);
    list_button->click();
    QList<zendrel::SkippedList*> lists = window.findChildren<zendrel::SkippedList*>();
    QCOMPARE(lists.size(), 1);
    zendrel::SkippedList* list = lists.first();
    QVERIFY(list->isVisible());
    auto* files = list->findChild<QTreeWidget*>("Files");
    QCOMPARE(files->topLevelItemCount(), 1);
    QCOMPARE(files->topLevelItem(0)->text(0), QString::fromStdString(dir.Win() + "\\notes.jpg"));
    QCOMPARE(files->topLevelItem(0)->text(1), QString("not a picture"));
    list->findChild<QPushButton*>("CopyList")->click();
    QCOMPARE(QApplication::clipboard()->text(),
             QString::fromStdString("1 file skipped: 1 not a picture\n" + dir.Win() +
                                    "\\notes.jpg: not a picture"));
    // The next run starts without the last one's list.
    QTest::mouseClick(window.findChild<QPushButton*>("Go"), Qt::LeftButton);
    QTRY_VERIFY(window.findChildren<zendrel::SkippedList*>().isEmpty());
  }

  // Folders and files made by other programs appear without going away and
  // back; the file chosen stays chosen.
  void listsFollowWhatOthersMakeOnDisk() {
    TempDir dir;
    dir.Write("cat/photos.txt", "");
    dir.Make_dir("dest");
    FrmArchive window(drives_);
    window.Set_cat_dir(dir.Win("cat"));
    window.Set_dest_dir(dir.Win("dest"));
    auto* files = window.findChild<zendrel::FileList*>("CatFile");
    QVERIFY(files->Select("photos.txt"));
    auto* dest = window.findChild<zendrel::DirList*>("DestDir");
    auto listed = [](QAbstractItemView* list, const QString& name) {
      QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                   name, 1, Qt::MatchExactly | Qt::MatchRecursive);
      return !found.isEmpty();
    };
    QVERIFY(!listed(dest, "Made elsewhere"));
    dir.Make_dir("dest/Made elsewhere");
    dir.Write("cat/later.txt", "");
    QTRY_VERIFY(listed(dest, "Made elsewhere"));
    QTRY_VERIFY(listed(files, "later.txt"));
    QCOMPARE(window.Cat_file(), std::string("photos.txt"));
    QCOMPARE(window.Dest_dir(), dir.Win("dest"));
  }

  // The count of a run with its total once that is known, and a bar.
  void progressShowsTheTotalOnceKnown() {
    FrmArchive window(drives_);
    window.show();
    auto* progress = window.findChild<QLabel*>("Progress");
    auto* bar = window.findChild<QProgressBar*>("ProgressBar");
    struct Step {
      int done, total;
      const char* shown;
      bool bar;
    } steps[] = {{1, -1, "1", false},
                 {128, 500, "128 of 500", true},
                 {500, 500, "500 of 500", true},
                 {3, 0, "3 of 0", false}};
    for (const Step& step : steps) {
      window.Progress(step.done, step.total);
      QCOMPARE(progress->text(), QString(step.shown));
      QCOMPARE(bar->isVisible(), step.bar);
      if (step.bar) QCOMPARE(bar->value(), step.done);
    }
  }

  // However many files were skipped, the list fits the screen and scrolls.
  void aLongSkippedListFitsTheScreen() {
    zendrel::SkippedFiles skipped;
    for (int i = 0; i < 500; ++i)
      skipped.Add("C:\\Photos\\" + std::to_string(i) + ".gif", zendrel::SkipReason::kNotPicture);
    QWidget parent;
    auto* list = new zendrel::SkippedList(skipped, &parent);
    list->show();
    QRect screen = list->screen()->availableGeometry();
    QVERIFY(list->height() <= screen.height() && list->width() <= screen.width());
    QVERIFY(list->minimumHeight() < screen.height());
    auto* files = list->findChild<QTreeWidget*>("Files");
    QCOMPARE(files->topLevelItemCount(), 500);
    QVERIFY(files->verticalScrollBar()->maximum() > 0);
    QCOMPARE(list->Text().count('\n'), 500);
    list->close();
  }
};

QTEST_MAIN(FrmArchiveTest)
#include "frm_archive_test.moc"
