#include "app/desktop.h"

#include <QApplication>

#include "app/frm_splash.h"
#include "app/screenshots.h"

namespace zendrel {

int Run_desktop(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Zendrel");
  QString screenshots = Screenshot_dir();
  FrmSplash splash;
  splash.show();
  splash.activateWindow();
  splash.setFocus();
  if (!screenshots.isEmpty()) Plan_screenshots(splash, screenshots);
  return app.exec();
}

}  // namespace zendrel
