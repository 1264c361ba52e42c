#include "app/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <QTimer>
#include <iostream>

#include "app/file_list.h"
#include "app/frm_archive.h"
#include "app/frm_copy.h"
#include "app/frm_splash.h"
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

void Show_main_window(FrmArchive* main, const QString& dir) {
  QByteArray catalogue = qgetenv("ZENDREL_SCREENSHOT_CATALOG");
  if (!catalogue.isEmpty()) {
    std::string path = Windows_path(catalogue.toStdString());
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
  QCoreApplication::exit(0);
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
