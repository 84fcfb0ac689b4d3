#pragma once
// The program itself: where it lies, its name and version, and its end.
#include <QString>

namespace App {

// The folder that holds the executable, without a separator at its end
// unless it is the root folder.
QString Path();
// The executable's file name without its folder and extension.
QString EXEName();
// The program's three version numbers, taken from the application
// version ("major.minor.revision") that the program sets at its start.
int Major();
int Minor();
int Revision();

} // namespace App

// End: the program ends at once with exit status 0. The files opened with
// Open are closed (what was written stays written); no window is unloaded
// and none of its unload steps run.
[[noreturn]] void End();
