#pragma once
// What a self-registering in-process server writes into HKEY_CLASSES_ROOT,
// and takes out again, following the platform's layout:
//   CLSID\{clsid}                  = description
//     InprocServer32               = absolute library path, ThreadingModel
//     ProgID                       = prog id
//     TypeLib                      = {libid}
//     VERSION                      = type library version
//   <ProgID>                       = description
//     CLSID                        = {clsid}
//   Interface\{iid}                = interface name
//     TypeLib                      = {libid}, Version
//   TypeLib\{libid}\<version>      = help string
//     0\win64                      = library path
//     FLAGS                        = 0
//     HELPDIR                      = the library's folder
// Results: S_OK, or SELFREG_E_CLASS / SELFREG_E_TYPELIB when the registry
// cannot be written.
#include "com/guid.h"
#include "com/hresult.h"

#include <QString>

namespace com {

// The absolute path of the shared library (or program) that holds address,
// for a server to name itself in InprocServer32.
QString modulePathOf(const void *address);

struct ClassRegistration {
    CLSID clsid = GUID_NULL;
    QString description;
    QString libraryPath;
    QString threadingModel = QStringLiteral("Apartment");
    QString progId;               // none when empty
    GUID typeLib = GUID_NULL;     // none when GUID_NULL
    QString typeLibVersion;       // e.g. "1.0"
};

HRESULT registerClass(const ClassRegistration &entry);
// Removes CLSID\{clsid}, and the prog id when it still names this class.
HRESULT unregisterClass(const CLSID &clsid, const QString &progId = QString());

HRESULT registerInterface(const IID &iid, const QString &name, const GUID &typeLib, const QString &typeLibVersion);
HRESULT unregisterInterface(const IID &iid);

HRESULT registerTypeLib(const GUID &libid, const QString &version, const QString &helpString,
                        const QString &libraryPath);
// Removes this version, and the library's key once no version is left.
HRESULT unregisterTypeLib(const GUID &libid, const QString &version);

} // namespace com
