#pragma once
#include <QString>

namespace testenv {

// The fresh configuration folder this test process was given as
// XDG_CONFIG_HOME, so nothing a test stores reaches the user's own.
QString configHome();

// The top of the build folder, where the game, its library and its files lie.
QString buildDir();

} // namespace testenv
