#include "app/desktop.h"

#include <QApplication>
#include <QMessageBox>

namespace zendrel {

// Placeholder until the windows land.
int Run_desktop(int argc, char** argv) {
  QApplication app(argc, argv);
  QMessageBox::information(nullptr, "Zendrel", "The windows are not built yet.");
  return 0;
}

}  // namespace zendrel
