// Pictures of the windows for the documentation. When ZENDREL_SCREENSHOT_DIR
// names a directory, the desktop program saves gui-splash.png,
// gui-main-mode1.png, gui-main-mode4.png, gui-copy.png,
// gui-main-new-folder.png (the destination list's context menu) and
// gui-message.png there, and gui-editor.png when
// ZENDREL_SCREENSHOT_ARCHIVE (a native directory) holds an archive page;
// then it ends. ZENDREL_SCREENSHOT_CATALOG (a native file path) picks the
// catalogue file shown selected in the main window.
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
