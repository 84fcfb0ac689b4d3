#include "com/runtime.h"

#include "com/dictionary.h"
#include "registry/registry.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

#include <cstdio>
#include <map>
#include <mutex>

namespace {

thread_local int t_initCount = 0;

struct Library {
    void *handle = nullptr;
    LPFNGETCLASSOBJECT getClassObject = nullptr;
    LPFNCANUNLOADNOW canUnloadNow = nullptr;
};

std::mutex g_mutex;
std::map<QString, Library> g_libraries; // by the path as registered, made absolute

void warn(const QString &text) { std::fprintf(stderr, "com: %s\n", qPrintable(text)); }

QString normalPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// Loads the library once; a failure leaves nothing loaded.
HRESULT libraryFor(const QString &path, const CLSID &clsid, Library *out)
{
    std::lock_guard lock(g_mutex);
    const QString key = normalPath(path);
    auto it = g_libraries.find(key);
    if (it != g_libraries.end()) {
        *out = it->second;
        return S_OK;
    }
    void *handle = ::dlopen(QFile::encodeName(key).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *why = ::dlerror();
        warn(QStringLiteral("cannot load %1 for class %2: %3")
                 .arg(path, com::guidToString(clsid), QString::fromLocal8Bit(why ? why : "unknown reason")));
        return CO_E_DLLNOTFOUND;
    }
    Library lib;
    lib.handle = handle;
    lib.getClassObject = reinterpret_cast<LPFNGETCLASSOBJECT>(::dlsym(handle, "DllGetClassObject"));
    lib.canUnloadNow = reinterpret_cast<LPFNCANUNLOADNOW>(::dlsym(handle, "DllCanUnloadNow"));
    if (!lib.getClassObject) {
        warn(QStringLiteral("%1 (registered for class %2) has no DllGetClassObject")
                 .arg(path, com::guidToString(clsid)));
        ::dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    g_libraries.emplace(key, lib);
    *out = lib;
    return S_OK;
}

} // namespace

HRESULT CoInitializeEx(void *, DWORD) { return t_initCount++ == 0 ? S_OK : S_FALSE; }

HRESULT CoInitialize(void *pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize()
{
    if (t_initCount == 0)
        return;
    if (--t_initCount == 0)
        CoFreeUnusedLibraries();
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void *, REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (t_initCount == 0)
        return CO_E_NOTINITIALIZED;
    if (!(dwClsContext & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;

    if (IClassFactory *builtin = com::builtinClassFactory(rclsid))
        return builtin->QueryInterface(riid, ppv);

    const registry::Key server = registry::Key::classesRoot(
        QStringLiteral("CLSID\\%1\\InprocServer32").arg(com::guidToString(rclsid)));
    const QString path = server.value().value_or(QString()).trimmed();
    if (path.isEmpty())
        return REGDB_E_CLASSNOTREG;

    Library lib;
    const HRESULT hr = libraryFor(path, rclsid, &lib);
    if (FAILED(hr))
        return hr;
    try {
        return lib.getClassObject(rclsid, riid, ppv);
    } catch (...) {
        // An exception must not travel through the library boundary into the caller.
        warn(QStringLiteral("DllGetClassObject of %1 failed with an exception").arg(path));
        *ppv = nullptr;
        return E_UNEXPECTED;
    }
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown *pUnkOuter, DWORD dwClsContext, REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    IClassFactory *factory = nullptr;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void **>(&factory));
    if (FAILED(hr))
        return hr;
    if (!factory)
        return E_UNEXPECTED;
    try {
        hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    } catch (...) {
        warn(QStringLiteral("creating an object of class %1 failed with an exception").arg(com::guidToString(rclsid)));
        *ppv = nullptr;
        hr = E_UNEXPECTED;
    }
    factory->Release();
    if (FAILED(hr))
        *ppv = nullptr;
    return hr;
}

void CoFreeUnusedLibraries()
{
    std::lock_guard lock(g_mutex);
    for (auto it = g_libraries.begin(); it != g_libraries.end();) {
        const Library &lib = it->second;
        if (lib.canUnloadNow && lib.canUnloadNow() == S_OK) {
            ::dlclose(lib.handle);
            it = g_libraries.erase(it);
        } else {
            ++it;
        }
    }
}

namespace com {

int loadedLibraryCount()
{
    std::lock_guard lock(g_mutex);
    return static_cast<int>(g_libraries.size());
}

bool isLibraryLoaded(const QString &path)
{
    std::lock_guard lock(g_mutex);
    return g_libraries.count(normalPath(path)) > 0;
}

} // namespace com
