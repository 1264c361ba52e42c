// What a screen reader is told of the program's own top-level windows: Qt
// reports a plain QWidget window as a "filler" with no name; these are
// frames named by their title. User-interface thread only.
#pragma once

namespace zendrel {

// Registers the roles once; later calls do nothing.
void Give_windows_their_roles();

}  // namespace zendrel
