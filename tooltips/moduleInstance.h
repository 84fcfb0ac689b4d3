#pragma once
// The library's own module instance handle: the address it was loaded at.
#include "user32/user32.h"

namespace Pellwick {

HINSTANCE moduleInstance();

} // namespace Pellwick
