#include "moduleInstance.h"

#include <dlfcn.h>

namespace Pellwick {

HINSTANCE moduleInstance()
{
    static const HINSTANCE base = [] {
        Dl_info info{};
        return dladdr(reinterpret_cast<void *>(&moduleInstance), &info) ? info.dli_fbase : nullptr;
    }();
    return base;
}

} // namespace Pellwick
