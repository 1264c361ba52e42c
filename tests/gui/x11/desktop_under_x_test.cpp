// The windows on a real X server with a window manager, driven through the
// server as a user would: mouse clicks and keys sent by xdotool, focus
// changes as a desktop makes them, the decorations the window manager
// offers. Run by gui/run_under_x.sh.
#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>

#include "app/dir_list.h"
#include "app/drive_list.h"
#include "app/file_list.h"
#include "app/frm_archive.h"
#include "app/frm_copy.h"
#include "app/frm_edit_html.h"
#include "app/message_box.h"
#include "app/skipped_list.h"
#include "page/archive_page_reader.h"
#include "support/archive_page.h"
#include "support/jpeg_fixture.h"
#include "support/temp_dir.h"

using namespace zendrel;

namespace {

// How long to wait at most for the server and the window manager: generous,
// as the machine may be busy; a passing test waits only as long as needed.
constexpr int kWait = 30000;

bool Xdotool(const QStringList& args) { return QProcess::execute("xdotool", args) == 0; }

// A click of the left mouse button on the middle of `widget`, through the
// X server.
bool Click(QWidget* widget) {
  QPoint at = widget->mapToGlobal(widget->rect().center());
  return Xdotool(
      {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

// A property of `window`'s X window, as xprop prints it.
QString Window_property(QWidget* window, const char* name) {
  QProcess xprop;
  xprop.start("xprop", {"-id", QString::number(window->winId()), name});
  xprop.waitForFinished();
  return QString::fromLatin1(xprop.readAllStandardOutput());
}

// The actions the window manager offers for `window`.
QString Allowed_actions(QWidget* window) {
  return Window_property(window, "_NET_WM_ALLOWED_ACTIONS");
}

bool Shown_and_active(QWidget* window) {
  window->show();
  window->activateWindow();
  return QTest::qWaitForWindowExposed(window, kWait) && QTest::qWaitForWindowActive(window, kWait);
}

}  // namespace

class DesktopUnderXTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void editorStepButtonsClickWithTheMouse();
  void editorLabelsAreNotCutOff();
  void enterOnTheFocusedGoStartsARun();
  void aClickOnAnotherDestinationDuringARunChangesNothing();
  void listsShowWhereTheFocusIs();
  void directoryListsShowTheParentsOfThePath();
  void messageBoxesAndDialogsCannotBeMaximised();
  void skippedListOpensByKeyboardAndFitsTheScreen();
  void mainWindowOpensCentredAndStaysAfterTheEditor();

 private:
  FrmEditHtml* Open_editor(QWidget* main, const testing::TempDir& dir);
};

void DesktopUnderXTest::initTestCase() {
  QVERIFY2(QGuiApplication::platformName() == "xcb", "run through gui/run_under_x.sh");
  QVERIFY2(QProcess::execute("xdotool", {"version"}) == 0, "xdotool is missing");
}

FrmEditHtml* DesktopUnderXTest::Open_editor(QWidget* main, const testing::TempDir& dir) {
  testing::Write_archive_page(dir.Win() + "\\", testing::Sample_records(5));
  RecordTable records;
  if (!Read_archive_page(testing::Root_drives(), dir.Win() + "\\", records).ok()) return nullptr;
  Show_record_editor(main, testing::Root_drives(), std::move(records));
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == "frmEdit_Html" && window->isVisible())
      return qobject_cast<FrmEditHtml*>(window);
  }
  return nullptr;
}

// The focus goes back to the number box when the button is let go; the
// click must still count.
void DesktopUnderXTest::editorStepButtonsClickWithTheMouse() {
  testing::TempDir dir;
  QWidget main;
  QPointer<FrmEditHtml> editor = Open_editor(&main, dir);
  QVERIFY(editor);
  QVERIFY(QTest::qWaitForWindowExposed(editor, kWait));
  editor->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(editor, kWait));
  auto* number = editor->findChild<QLineEdit*>("RecordNum");
  auto* title = editor->findChild<QLineEdit*>("Title");
  number->setText("3");
  QVERIFY(Click(editor->findChild<QPushButton*>("Up")));
  QTRY_COMPARE_WITH_TIMEOUT(number->text(), QString("4"), kWait);
  QCOMPARE(title->text(), QString("Title 4"));
  QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), number, kWait);
  QVERIFY(Click(editor->findChild<QPushButton*>("Down")));
  QTRY_COMPARE_WITH_TIMEOUT(number->text(), QString("3"), kWait);
  QCOMPARE(title->text(), QString("Title 3"));
  QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), number, kWait);
  QVERIFY(Xdotool({"type", "--delay", "20", "5"}));  // typing goes on in the number box
  QTRY_COMPARE_WITH_TIMEOUT(number->text(), QString("35"), kWait);
  editor->close();
}

void DesktopUnderXTest::editorLabelsAreNotCutOff() {
  testing::TempDir dir;
  QWidget main;
  QPointer<FrmEditHtml> editor = Open_editor(&main, dir);
  QVERIFY(editor);
  QVERIFY(QTest::qWaitForWindowExposed(editor, kWait));
  for (int i = 1; i <= 10; ++i) {
    auto* label = editor->findChild<QLabel*>(QString("Label%1").arg(i));
    QVERIFY(label);
    QSize needed = label->sizeHint();
    QVERIFY2(label->width() >= needed.width() && label->height() >= needed.height(),
             qPrintable(label->text()));
    QVERIFY2(editor->rect().contains(label->geometry()), qPrintable(label->text()));
    // Nothing of its row covers it.
    for (QWidget* other : editor->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (other != label && other->isVisible())
        QVERIFY2(!other->geometry().intersects(label->geometry()), qPrintable(label->text()));
    }
  }
  QCOMPARE(editor->height(), 331 + 20);  // only the width grows

  // It opens with the focus on Update, marked as keyboard focus.
  QTRY_VERIFY_WITH_TIMEOUT(editor->isActiveWindow(), kWait);
  QCOMPARE(QApplication::focusWidget(), editor->findChild<QPushButton*>("Update"));
  QVERIFY(editor->testAttribute(Qt::WA_KeyboardFocusChange));
  editor->close();
}

void DesktopUnderXTest::enterOnTheFocusedGoStartsARun() {
  testing::TempDir dir;
  dir.Write("src/a.jpg", testing::Small_jpeg());
  FrmArchive window(testing::Root_drives());
  QVERIFY(Shown_and_active(&window));
  window.findChild<QRadioButton*>("Option3")->click();
  window.Set_src_dir(dir.Win("src"));
  window.Set_dest_dir(dir.Win("src"));
  auto* go = window.findChild<QPushButton*>("Go");
  auto* exit = window.findChild<QPushButton*>("Exit");
  QPoint go_at = go->mapToGlobal(QPoint()), exit_at = exit->mapToGlobal(QPoint());
  go->setFocus();
  QVERIFY(Xdotool({"key", "Return"}));
  QTRY_VERIFY_WITH_TIMEOUT(window.Status_caption().find(" Done!") != std::string::npos, kWait);
  QVERIFY(dir.Exists("src/archive.htm"));
  QVERIFY(window.findChild<QPushButton*>("OpenArchive")->isVisible());
  // Open Archive appears beside them without moving Go and Exit.
  QCOMPARE(go->mapToGlobal(QPoint()), go_at);
  QCOMPARE(exit->mapToGlobal(QPoint()), exit_at);
  // The count of the run stays readable beside the status line.
  auto* progress = window.findChild<QLabel*>("Progress");
  QVERIFY(progress->isVisible());
  QCOMPARE(progress->text(), QString("1 of 1"));
}

// Tab reaches the list of skipped files; Enter opens it; it fits the screen
// however long it is, and Escape closes it.
void DesktopUnderXTest::skippedListOpensByKeyboardAndFitsTheScreen() {
  testing::TempDir dir;
  dir.Write("src/a.jpg", testing::Small_jpeg());
  for (int i = 0; i < 80; ++i) dir.Write("src/bad" + std::to_string(i) + ".jpg", "not a picture");
  FrmArchive window(testing::Root_drives());
  QVERIFY(Shown_and_active(&window));
  window.findChild<QRadioButton*>("Option3")->click();
  window.Set_src_dir(dir.Win("src"));
  window.Set_dest_dir(dir.Win("src"));
  window.findChild<QPushButton*>("Go")->click();
  auto* button = window.findChild<QPushButton*>("SkippedFiles");
  QVERIFY(button->isVisible());
  window.findChild<QPushButton*>("Exit")->setFocus();
  for (int i = 0; i < 40 && QApplication::focusWidget() != button; ++i) {
    QVERIFY(Xdotool({"key", "Tab"}));
    QTest::qWait(50);
  }
  QCOMPARE(QApplication::focusWidget(), button);
  QVERIFY(Xdotool({"key", "Return"}));
  QPointer<SkippedList> list;
  QTRY_VERIFY_WITH_TIMEOUT(list = window.findChild<SkippedList*>(), kWait);
  QTRY_VERIFY_WITH_TIMEOUT(list->isActiveWindow(), kWait);
  QRect screen = list->screen()->availableGeometry();
  QVERIFY(screen.contains(list->frameGeometry()));
  QVERIFY(screen.contains(list->findChild<QPushButton*>("Close")->mapToGlobal(QPoint())));
  auto* files = list->findChild<QTreeWidget*>("Files");
  QCOMPARE(files->topLevelItemCount(), 80);
  QCOMPARE(QApplication::focusWidget(), files);  // arrows walk the files at once
  QVERIFY(Xdotool({"key", "Escape"}));
  QTRY_VERIFY_WITH_TIMEOUT(!list || !list->isVisible(), kWait);
}

// Centred on the screen at first; where the user put it after the editor.
void DesktopUnderXTest::mainWindowOpensCentredAndStaysAfterTheEditor() {
  FrmArchive window(testing::Root_drives());
  QVERIFY(Shown_and_active(&window));
  // What the window asks of the window manager: a busy one has been seen to
  // place the frame elsewhere (-359 pixels) and leave it there.
  QString hints = Window_property(&window, "WM_NORMAL_HINTS");
  QRegularExpressionMatch at =
      QRegularExpression("user specified location: (-?\\d+), (-?\\d+)").match(hints);
  QRegularExpressionMatch size =
      QRegularExpression("user specified size: (\\d+) by (\\d+)").match(hints);
  QVERIFY2(at.hasMatch() && size.hasMatch(), qPrintable(hints));
  QRect asked(at.captured(1).toInt(), at.captured(2).toInt(), size.captured(1).toInt(),
              size.captured(2).toInt());
  QPoint off_centre = asked.center() - window.screen()->availableGeometry().center();
  QVERIFY2(off_centre.manhattanLength() < 4, qPrintable(hints));
  window.move(window.pos() + QPoint(-90, -70));
  QTRY_COMPARE_WITH_TIMEOUT(window.frameGeometry().topLeft(), window.pos(), kWait);
  QPoint placed = window.frameGeometry().topLeft();

  testing::TempDir dir;
  QPointer<FrmEditHtml> editor = Open_editor(&window, dir);
  QVERIFY(editor);
  QVERIFY(QTest::qWaitForWindowExposed(editor, kWait));
  QVERIFY(!window.isVisible());
  editor->findChild<QPushButton*>("Done")->click();
  QVERIFY(QTest::qWaitForWindowExposed(&window, kWait));
  QTest::qWait(800);  // the window manager has placed it by now
  QCOMPARE(window.frameGeometry().topLeft(), placed);
}

// Clicks a folder of the destination list at the run's first event-loop
// turn, and lets the window take the click before the run goes on.
class ClickDuringRun : public FrmArchive {
 public:
  ClickDuringRun() : FrmArchive(testing::Root_drives()) {}
  std::string folder;  // Windows view
  bool clicked = false;

  void Do_events() override {
    if (!clicked) {
      clicked = true;
      auto* list = findChild<DirList*>("DestDir");
      for (QTreeWidgetItem* item : list->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive)) {
        if (item->text(0).toStdString() != folder.substr(folder.rfind('\\') + 1)) continue;
        QPoint at = list->viewport()->mapToGlobal(list->visualItemRect(item).center());
        Xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click",
                 "1"});
      }
      (void)QTest::qWaitFor([&] { return list->Path() == folder; }, kWait);
    }
    FrmArchive::Do_events();
  }
};

// The run takes its destination at Go: a folder clicked during the run is
// the next run's, and the pictures, the page and Open Archive stay with
// the first.
void DesktopUnderXTest::aClickOnAnotherDestinationDuringARunChangesNothing() {
  testing::TempDir dir;
  for (int i = 1; i <= 6; ++i)
    dir.Write("dest/p" + std::to_string(i) + ".jpg", testing::Small_jpeg());
  dir.Make_dir("dest/other");
  ClickDuringRun window;
  window.folder = dir.Win("dest\\other");
  QVERIFY(Shown_and_active(&window));
  window.findChild<QRadioButton*>("Option3")->click();
  window.Set_src_dir(dir.Win("dest"));
  window.Set_dest_dir(dir.Win("dest"));  // the source itself: no copy question
  window.findChild<QPushButton*>("Go")->click();

  QVERIFY(window.clicked);
  QCOMPARE(window.Dest_dir(), window.folder);  // the window stayed live
  QCOMPARE(window.Status_caption(), std::string("6 Done!"));
  QCOMPARE(window.Go_caption(), std::string("Go"));
  QVERIFY(std::filesystem::is_empty(dir.Native("dest/other")));
  int archive_files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Native("dest")))
    archive_files += entry.path().filename().string()[0] == '_';
  QCOMPARE(archive_files, 12);  // a display copy and a thumbnail of each
  QCOMPARE(testing::Record_lines_of(dir.Read("dest/archive.htm")).size(), size_t(5 * 6));
  QCOMPARE(window.Finished_archive(), QString::fromStdString(dir.Native("dest/archive.htm")));
}

// Each list looks different with the focus than without it.
void DesktopUnderXTest::listsShowWhereTheFocusIs() {
  testing::TempDir dir;
  dir.Make_dir("sub");
  dir.Write("photos.txt", "");
  FrmArchive window(testing::Root_drives());
  window.Set_cat_dir(dir.Win());
  QVERIFY(Shown_and_active(&window));
  auto* exit = window.findChild<QPushButton*>("Exit");
  for (const char* name : {"CatDrive", "CatDir", "CatFile"}) {
    auto* list = window.findChild<QWidget*>(name);
    exit->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(!list->hasFocus(), kWait);
    QImage without = list->grab().toImage();
    list->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(list->hasFocus(), kWait);
    QImage with = list->grab().toImage();
    QVERIFY2(with != without, name);
  }
}

void DesktopUnderXTest::directoryListsShowTheParentsOfThePath() {
  testing::TempDir dir;
  std::string deep = "a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p";
  dir.Make_dir(deep + "/child");
  FrmArchive window(testing::Root_drives());
  window.resize(640, 480);
  window.Set_cat_dir(dir.Win(deep));
  window.Set_src_dir(dir.Win(deep));
  window.Set_dest_dir(dir.Win(deep));
  QVERIFY(Shown_and_active(&window));
  // Rows are compared by height only: a deep path may be scrolled sideways.
  auto in_view = [](DirList* list, QTreeWidgetItem* item) {
    QRect row = list->visualItemRect(item);
    return row.top() >= 0 && row.bottom() < list->viewport()->height();
  };
  for (const char* name : {"CatDir", "SrcDir", "DestDir"}) {
    auto* list = window.findChild<DirList*>(name);
    QTreeWidgetItem* chosen = list->currentItem();
    QVERIFY2(in_view(list, chosen), name);
    // The rows above the chosen folder are its parents: as many as fit show,
    // so the chosen folder is either in the lower half or the root is shown.
    QVERIFY2(chosen->parent() && in_view(list, chosen->parent()), name);
    QVERIFY2(list->visualItemRect(chosen).top() >= list->viewport()->height() / 2 ||
                 in_view(list, list->topLevelItem(0)),
             name);
  }
}

void DesktopUnderXTest::messageBoxesAndDialogsCannotBeMaximised() {
  QWidget parent;
  QVERIFY(Shown_and_active(&parent));
  QString actions;
  int box_width = 0, title_width = 0;
  // Looks for the box until it is open, then answers it.
  QTimer answer;
  answer.setInterval(100);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    answer.stop();
    (void)QTest::qWaitForWindowExposed(box, kWait);
    // The window manager sets the property once it has framed the box.
    (void)QTest::qWaitFor(
        [&] {
          actions = Allowed_actions(box);
          return actions.contains("_NET_WM_ACTION_CLOSE");
        },
        kWait);
    box_width = box->width();
    QFont bold = box->font();
    bold.setBold(true);
    title_width = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
    box->accept();
  });
  answer.start();
  Show_message_box(&parent, "OK", Buttons::kOk);
  QVERIFY2(actions.contains("_NET_WM_ACTION_CLOSE"), qPrintable(actions));
  QVERIFY2(!actions.contains("MAXIMIZE"), qPrintable(actions));
  // Room for the title and the title bar's icon and buttons.
  QVERIFY(box_width >= title_width + 100);

  // The New Folder question, asked from the destination list.
  {
    FrmArchive window(testing::Root_drives());
    QVERIFY(Shown_and_active(&window));
    QString folder_actions;
    QTimer::singleShot(100, [&] {
      auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      if (!ask) return;
      (void)QTest::qWaitForWindowExposed(ask, kWait);
      (void)QTest::qWaitFor(
          [&] {
            folder_actions = Allowed_actions(ask);
            return folder_actions.contains("_NET_WM_ACTION_CLOSE");
          },
          kWait);
      ask->reject();
    });
    window.findChild<DirList*>("DestDir")->New_folder();
    QVERIFY2(folder_actions.contains("_NET_WM_ACTION_CLOSE"), qPrintable(folder_actions));
    QVERIFY2(!folder_actions.contains("MAXIMIZE"), qPrintable(folder_actions));
  }

  FrmCopy copy(&parent);
  copy.show();
  QVERIFY(QTest::qWaitForWindowExposed(&copy, kWait));
  QTRY_VERIFY_WITH_TIMEOUT(Allowed_actions(&copy).contains("_NET_WM_ACTION_CLOSE"), kWait);
  QVERIFY2(!Allowed_actions(&copy).contains("MAXIMIZE"), qPrintable(Allowed_actions(&copy)));
  copy.close();

  testing::TempDir dir;
  QWidget main;
  QPointer<FrmEditHtml> editor = Open_editor(&main, dir);
  QVERIFY(editor);
  QVERIFY(QTest::qWaitForWindowExposed(editor, kWait));
  QTRY_VERIFY_WITH_TIMEOUT(Allowed_actions(editor).contains("_NET_WM_ACTION_CLOSE"), kWait);
  QVERIFY2(!Allowed_actions(editor).contains("MAXIMIZE"), qPrintable(Allowed_actions(editor)));
  editor->close();
}

QTEST_MAIN(DesktopUnderXTest)
#include "desktop_under_x_test.moc"
