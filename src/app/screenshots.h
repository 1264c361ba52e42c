// Pictures of the windows for the documentation. When ZENDREL_SCREENSHOT_DIR
// names a directory, the desktop program saves gui-splash.png,
// gui-main-mode1.png, gui-main-mode4.png and gui-copy.png there and ends.
// ZENDREL_SCREENSHOT_CATALOG (a native file path) picks the catalogue file
// shown selected in the main window.
#pragma once

#include <QString>

namespace zendrel {

class FrmSplash;

// ZENDREL_SCREENSHOT_DIR as an absolute path (taken before the splash
// changes the current directory); empty when unset.
QString Screenshot_dir();

// Plans the pictures into `dir` on the event loop.
void Plan_screenshots(FrmSplash& splash, const QString& dir);

}  // namespace zendrel
