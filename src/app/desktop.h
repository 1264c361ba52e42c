#pragma once

namespace zendrel {

// Starts the desktop program: the splash window, then the main window.
int Run_desktop(int argc, char** argv);

}  // namespace zendrel
