// regsvr LIBRARY       calls the library's DllRegisterServer
// regsvr -u LIBRARY    calls its DllUnregisterServer
// Prints what it did; exits 0 on success, 1 when the library fails or
// cannot be used, 2 on a wrong command line.
#include "com/runtime.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: regsvr [-u] LIBRARY\n"
                         "  registers the COM server LIBRARY (with -u: removes its registration)\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    bool unregister = false;
    const char *library = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-u") == 0 && !unregister)
            unregister = true;
        else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0)
            return usage();
        else if (!library && argv[i][0] != '-')
            library = argv[i];
        else
            return usage();
    }
    if (!library)
        return usage();

    // The server writes its own path into the registry: load it by its
    // absolute path so that the path stays valid from anywhere.
    const QString path = QFileInfo(QFile::decodeName(library)).absoluteFilePath();
    const QByteArray native = QFile::encodeName(path);
    const char *entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";

    void *handle = ::dlopen(native.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *why = ::dlerror();
        std::fprintf(stderr, "regsvr: cannot load %s: %s\n", native.constData(), why ? why : "unknown reason");
        return 1;
    }
    auto call = reinterpret_cast<LPFNREGISTERSERVER>(::dlsym(handle, entry));
    if (!call) {
        std::fprintf(stderr, "regsvr: %s has no %s; it is not a self-registering COM server\n", native.constData(),
                     entry);
        ::dlclose(handle);
        return 1;
    }

    CoInitialize(nullptr);
    HRESULT hr = E_UNEXPECTED;
    try {
        hr = call();
    } catch (...) {
        std::fprintf(stderr, "regsvr: %s of %s ended with an exception\n", entry, native.constData());
    }
    CoUninitialize();
    ::dlclose(handle);

    if (FAILED(hr)) {
        std::fprintf(stderr, "regsvr: %s of %s failed (0x%08X)\n", entry, native.constData(),
                     static_cast<unsigned>(hr));
        return 1;
    }
    std::printf("%s in %s succeeded.\n", entry, native.constData());
    return 0;
}
