// The four exports of the in-process server: the class factory, the unload
// question and self-registration of the class, its interfaces and its type
// library.
#include "cToolTips.h"

#include "com/classfactory.h"
#include "com/registration.h"

#include <QString>

using namespace Pellwick;

namespace {

com::ClassFactory<cToolTips> g_factory;

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
    return cToolTips::liveObjects() == 0 && !g_factory.locked() ? S_OK : S_FALSE;
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
