#include "com/registration.h"

#include "registry/registry.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace com {

namespace {

registry::Key classKey(const CLSID &clsid) { return registry::Key::classesRoot(QStringLiteral("CLSID\\") + guidToString(clsid)); }

} // namespace

QString modulePathOf(const void *address)
{
    Dl_info info{};
    if (!::dladdr(address, &info) || !info.dli_fname)
        return QString();
    return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
}

HRESULT registerClass(const ClassRegistration &e)
{
    const registry::Key key = classKey(e.clsid);
    bool ok = key.setValue(QString(), e.description);
    ok = ok && key.subKey(u"InprocServer32"_qs).setValue(QString(), e.libraryPath);
    ok = ok && key.subKey(u"InprocServer32"_qs).setValue(u"ThreadingModel"_qs, e.threadingModel);
    if (!e.progId.isEmpty()) {
        const registry::Key prog = registry::Key::classesRoot(e.progId);
        ok = ok && key.subKey(u"ProgID"_qs).setValue(QString(), e.progId);
        ok = ok && prog.setValue(QString(), e.description);
        ok = ok && prog.subKey(u"CLSID"_qs).setValue(QString(), guidToString(e.clsid));
    }
    if (e.typeLib != GUID_NULL) {
        ok = ok && key.subKey(u"TypeLib"_qs).setValue(QString(), guidToString(e.typeLib));
        if (!e.typeLibVersion.isEmpty())
            ok = ok && key.subKey(u"VERSION"_qs).setValue(QString(), e.typeLibVersion);
    }
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT unregisterClass(const CLSID &clsid, const QString &progId)
{
    bool ok = true;
    if (!progId.isEmpty()) {
        const registry::Key prog = registry::Key::classesRoot(progId);
        const QString named = prog.subKey(u"CLSID"_qs).value().value_or(QString());
        GUID id;
        if (parseGuid(named, &id) && id == clsid)
            ok = prog.remove();
    }
    const registry::Key key = classKey(clsid);
    if (key.exists())
        ok = key.remove() && ok;
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT registerInterface(const IID &iid, const QString &name, const GUID &typeLib, const QString &typeLibVersion)
{
    const registry::Key key = registry::Key::classesRoot(QStringLiteral("Interface\\") + guidToString(iid));
    bool ok = key.setValue(QString(), name);
    if (typeLib != GUID_NULL) {
        ok = ok && key.subKey(u"TypeLib"_qs).setValue(QString(), guidToString(typeLib));
        ok = ok && key.subKey(u"TypeLib"_qs).setValue(u"Version"_qs, typeLibVersion);
    }
    return ok ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT unregisterInterface(const IID &iid)
{
    const registry::Key key = registry::Key::classesRoot(QStringLiteral("Interface\\") + guidToString(iid));
    return !key.exists() || key.remove() ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT registerTypeLib(const GUID &libid, const QString &version, const QString &helpString,
                        const QString &libraryPath)
{
    const registry::Key key = registry::Key::classesRoot(QStringLiteral("TypeLib\\") + guidToString(libid)).subKey(version);
    bool ok = key.setValue(QString(), helpString);
    ok = ok && key.subKey(u"0\\win64"_qs).setValue(QString(), libraryPath);
    ok = ok && key.subKey(u"FLAGS"_qs).setValue(QString(), u"0"_qs);
    ok = ok && key.subKey(u"HELPDIR"_qs).setValue(QString(), QFileInfo(libraryPath).absolutePath());
    return ok ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT unregisterTypeLib(const GUID &libid, const QString &version)
{
    const registry::Key lib = registry::Key::classesRoot(QStringLiteral("TypeLib\\") + guidToString(libid));
    bool ok = true;
    if (lib.subKey(version).exists())
        ok = lib.subKey(version).remove();
    if (ok && lib.exists() && lib.subKeyNames().isEmpty())
        ok = lib.remove();
    return ok ? S_OK : SELFREG_E_TYPELIB;
}

} // namespace com
