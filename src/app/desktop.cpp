#include "app/desktop.h"

#include <QApplication>

#include "app/frm_splash.h"
#include "app/screenshots.h"

namespace zendrel {

int Run_desktop(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Zendrel");
  FrmSplash splash;
  splash.show();
  splash.activateWindow();
  splash.setFocus();
  Plan_screenshots(splash);
  return app.exec();
}

}  // namespace zendrel
