// Pictures of the windows for the documentation. When ZENDREL_SCREENSHOT_DIR
// names a directory, the desktop program saves gui-splash.png,
// gui-main-mode1.png, gui-main-mode4.png and gui-copy.png there and ends.
// ZENDREL_SCREENSHOT_CATALOG (a native file path) picks the catalogue file
// shown selected in the main window.
#pragma once

#include <QString>

namespace zendrel {

class FrmSplash;

// Plans the pictures on the event loop; false when the variable is unset.
bool Plan_screenshots(FrmSplash& splash);

}  // namespace zendrel
