#include "app/screenshots.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <iostream>

#include "app/dir_list.h"
#include "app/file_list.h"
#include "app/frm_archive.h"
#include "app/frm_copy.h"
#include "app/frm_edit_html.h"
#include "app/frm_splash.h"
#include "app/message_box.h"
#include "page/archive_page_reader.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

void Save(QWidget* window, const QString& dir, const char* name) {
  QCoreApplication::processEvents();
  QString path = QDir(dir).filePath(name);
  if (!window->grab().save(path))
    std::cerr << "zendrel: cannot write " << path.toStdString() << "\n";
}

// The screen around `area`, so that the window manager's frame and any
// popup over the window show too.
void Save_screen(QRect area, const QString& dir, const char* name) {
  QCoreApplication::processEvents();
  QScreen* screen = QGuiApplication::primaryScreen();
  area = area.adjusted(-8, -8, 8, 8).intersected(screen->geometry());
  QString path = QDir(dir).filePath(name);
  if (!screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(path))
    std::cerr << "zendrel: cannot write " << path.toStdString() << "\n";
}

// Runs `take` on the window that opens next (a popup or a modal box),
// which is then closed.
void When_open(QWidget* main, std::function<void(QWidget*)> take) {
  QTimer::singleShot(500, main, [take] {
    QWidget* open = QApplication::activePopupWidget();
    if (!open) open = QApplication::activeModalWidget();
    if (!open) return;
    take(open);
    open->close();
  });
}

// The destination list's context menu, a message box and the record
// editor, with their frames.
void Show_menu_message_and_editor(FrmArchive* main, const QString& dir) {
  auto* dest = main->findChild<DirList*>("DestDir");
  dest->setFocus();
  QPoint at = dest->viewport()->rect().center();
  When_open(main, [main, dir](QWidget* menu) {
    Save_screen(main->frameGeometry().united(menu->geometry()), dir, "gui-main-new-folder.png");
  });
  QContextMenuEvent menu_event(QContextMenuEvent::Keyboard, at, dest->viewport()->mapToGlobal(at));
  QApplication::sendEvent(dest, &menu_event);

  When_open(main,
            [dir](QWidget* box) { Save_screen(box->frameGeometry(), dir, "gui-message.png"); });
  Show_message_box(main, "Please reload the web page.", Buttons::kOk);

  QByteArray archive = qgetenv("ZENDREL_SCREENSHOT_ARCHIVE");
  if (archive.isEmpty()) return;
  std::string page_dir = Add_backslash(Windows_path(main->Drives(), archive.toStdString()));
  RecordTable records;
  if (!Read_archive_page(main->Drives(), page_dir, records).ok()) return;
  Show_record_editor(main, main->Drives(), std::move(records));
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() != "frmEdit_Html" || !window->isVisible()) continue;
    window->findChild<QLineEdit*>("RecordNum")->setText("2");
    QTimer::singleShot(500, window, [window, dir] {
      Save_screen(window->frameGeometry(), dir, "gui-editor.png");
      window->close();
    });
  }
}

void Show_main_window(FrmArchive* main, const QString& dir) {
  QByteArray catalogue = qgetenv("ZENDREL_SCREENSHOT_CATALOG");
  if (!catalogue.isEmpty()) {
    std::string path = Windows_path(main->Drives(), catalogue.toStdString());
    main->Set_cat_dir(Directory_part(path));
    main->Set_src_dir(Directory_part(path));
    main->Set_dest_dir(Directory_part(path));
    auto* file_list = main->findChild<FileList*>("CatFile");
    file_list->setFocus();
    file_list->Select(File_part(path));
  }
  Save(main, dir, "gui-main-mode1.png");
  main->findChild<QRadioButton*>("Option4")->click();
  Save(main, dir, "gui-main-mode4.png");
  main->findChild<QRadioButton*>("Option1")->click();

  FrmCopy copy(main);
  copy.show();
  Save(&copy, dir, "gui-copy.png");
  copy.close();
  Show_menu_message_and_editor(main, dir);
  QTimer::singleShot(1500, [] { QCoreApplication::exit(0); });
}

}  // namespace

QString Screenshot_dir() {
  QString dir = qEnvironmentVariable("ZENDREL_SCREENSHOT_DIR");
  return dir.isEmpty() ? dir : QDir(dir).absolutePath();
}

void Plan_screenshots(FrmSplash& splash, const QString& dir) {
  QDir().mkpath(dir);
  QObject::connect(&splash, &FrmSplash::Main_window_shown, &splash, [dir](FrmArchive* main) {
    QTimer::singleShot(400, main, [main, dir] { Show_main_window(main, dir); });
  });
  QTimer::singleShot(400, &splash, [&splash, dir] {
    Save(&splash, dir, "gui-splash.png");
    splash.Hand_over();
  });
}

}  // namespace zendrel
