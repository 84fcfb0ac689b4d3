#pragma once
// The library's own module instance handle: the address it was loaded at.
#include "user32/user32.h"

#include <QString>

namespace Pellwick {

HINSTANCE moduleInstance();

// The absolute path of the loaded library file.
QString modulePath();

} // namespace Pellwick
