// The four exports of the in-process server: the class factory, the unload
// question and self-registration of the class, its interfaces and its type
// library.
#include "cToolTips.h"

#include "com/registration.h"

#include <QString>

#include <atomic>
#include <new>

using namespace Pellwick;

namespace {

std::atomic<LONG> g_serverLocks{0};

class ClassFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory)
            return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory *>(this);
        return S_OK;
    }
    // The factory is static: it lives as long as the library.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pUnkOuter)
            return CLASS_E_NOAGGREGATION;
        auto *object = new (std::nothrow) cToolTips;
        if (!object)
            return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release(); // the creation reference; *ppv holds the object now
        return hr;
    }

    HRESULT LockServer(BOOL fLock) override
    {
        if (fLock)
            ++g_serverLocks;
        else
            --g_serverLocks;
        return S_OK;
    }
};

ClassFactory g_factory;

const QString ProgId = QStringLiteral("Pellwick.cToolTips");

QString version()
{
    return QStringLiteral("%1.%2").arg(LibraryMajorVersion).arg(LibraryMinorVersion);
}

} // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_cToolTips)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow()
{
    return cToolTips::liveObjects() == 0 && g_serverLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer()
{
    const QString path = com::modulePathOf(reinterpret_cast<const void *>(&DllRegisterServer));
    if (path.isEmpty())
        return SELFREG_E_CLASS;
    com::ClassRegistration entry;
    entry.clsid = CLSID_cToolTips;
    entry.description = QStringLiteral("cToolTips");
    entry.libraryPath = path;
    entry.threadingModel = QStringLiteral("Apartment");
    entry.progId = ProgId;
    entry.typeLib = LIBID_Pellwick;
    entry.typeLibVersion = version();
    HRESULT hr = com::registerClass(entry);
    if (SUCCEEDED(hr))
        hr = com::registerInterface(IID__cToolTips, QStringLiteral("_cToolTips"), LIBID_Pellwick, version());
    if (SUCCEEDED(hr))
        hr = com::registerInterface(DIID___cToolTips, QStringLiteral("__cToolTips"), LIBID_Pellwick, version());
    if (SUCCEEDED(hr))
        hr = com::registerTypeLib(LIBID_Pellwick, version(), QStringLiteral("Pellwick Tooltips"), path);
    return hr;
}

// Takes out exactly what DllRegisterServer wrote; the first failure is the
// result, but every part is tried.
STDAPI DllUnregisterServer()
{
    const HRESULT results[] = {
        com::unregisterTypeLib(LIBID_Pellwick, version()),
        com::unregisterInterface(DIID___cToolTips),
        com::unregisterInterface(IID__cToolTips),
        com::unregisterClass(CLSID_cToolTips, ProgId),
    };
    for (HRESULT hr : results)
        if (FAILED(hr))
            return hr;
    return S_OK;
}
