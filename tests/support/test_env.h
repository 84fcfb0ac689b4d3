#pragma once
#include <QString>

namespace testenv {

// The fresh configuration folder this test process was given as
// XDG_CONFIG_HOME, so nothing a test stores reaches the user's own.
QString configHome();

// The top of the build folder, where the game, its library and its files lie.
QString buildDir();

// For a child process (a death test's): when it runs as root, it goes on as
// the user "nobody", so that file permissions bind it as they bind a player.
// The folders it works in must be open to others. When the switch fails
// the child ends with code 3.
void withoutRootRights();

// Opens a folder (made 0700 by QTemporaryDir) to the user withoutRootRights()
// switches to.
void openToOthers(const QString &folder);

// Registers Pellwick (build/libpellwick.so) with build/regsvr in this
// process's own registry, once, as ./run.sh does for the player, and
// initialises COM on the calling thread; true when both succeeded. The
// main window cannot load without it.
bool registerPellwick();

} // namespace testenv
