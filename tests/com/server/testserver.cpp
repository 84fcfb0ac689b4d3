// A tiny in-process COM server: one creatable class with a dual interface
// and an event source, the four standard exports, and self-registration
// through the platform's helpers.
#include "testserver.h"

#include <atomic>

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

com::RecordType g_rectType(RECORDID_TestRect, sizeof(RECT));

class Counter final : public ITestCounter, public IConnectionPointContainer {
public:
    Counter() : m_events(this, DIID_ITestCounterEvents) { ++g_objects; }

    HRESULT QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ITestCounter)
            *ppv = static_cast<ITestCounter *>(this);
        else if (riid == IID_IConnectionPointContainer)
            *ppv = static_cast<IConnectionPointContainer *>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT Add(LONG by, LONG *total) override
    {
        m_total += by;
        if (total)
            *total = m_total;
        return S_OK;
    }
    HRESULT get_Total(LONG *total) override
    {
        if (!total)
            return E_POINTER;
        *total = m_total;
        return S_OK;
    }
    HRESULT put_Total(LONG total) override
    {
        m_total = total;
        return S_OK;
    }
    HRESULT Greet(BSTR name, BSTR *greeting) override
    {
        if (!greeting)
            return E_POINTER;
        *greeting = com::toBstr(QStringLiteral("Hallo, %1!").arg(com::fromBstr(name)));
        return S_OK;
    }
    HRESULT Ring(LONG id, BSTR *text, LONG *code, RECT *area) override
    {
        if (!text || !code || !area)
            return E_POINTER;
        *text = nullptr;
        *code = 0;
        VARIANT args[] = {com::variantLong(id), com::variantRef(text), com::variantRef(code),
                          com::variantRecordRef(area, &g_rectType)};
        return m_events.fire(DISPID_TestEventRang, args, 4);
    }

    // Late binding reaches Add, Total and Ring.
    HRESULT GetTypeInfoCount(UINT *pctinfo) override { return com::noTypeInfoCount(pctinfo); }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo **ppTInfo) override { return com::noTypeInfo(ppTInfo); }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                   UINT *argErr) override
    {
        const com::DispArgs args(params);
        HRESULT hr = DISP_E_MEMBERNOTFOUND;
        LONG n = 0;
        switch (id) {
        case DISPID_TestAdd:
            if (FAILED(hr = args.expect(1, 1)))
                return hr;
            if (FAILED(hr = args.getLong(0, &n))) {
                if (argErr)
                    *argErr = args.argError(0);
                return hr;
            }
            hr = Add(n, &n);
            break;
        case DISPID_TestTotal:
            if (flags & DISPATCH_PROPERTYPUT) {
                if (FAILED(hr = args.expect(1, 1)) || FAILED(hr = args.getLong(0, &n)))
                    return hr;
                return put_Total(n);
            }
            if (FAILED(hr = args.expect(0, 0)))
                return hr;
            hr = get_Total(&n);
            break;
        default:
            return hr;
        }
        if (SUCCEEDED(hr) && result)
            *result = com::variantLong(n);
        return hr;
    }

    HRESULT EnumConnectionPoints(IEnumConnectionPoints **ppEnum) override
    {
        com::ConnectionPoint *points[] = {&m_events};
        return com::enumConnectionPoints(points, 1, ppEnum);
    }
    HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) override
    {
        com::ConnectionPoint *points[] = {&m_events};
        return com::findConnectionPoint(points, 1, riid, ppCP);
    }

private:
    ~Counter()
    {
        m_events.disconnectAll();
        --g_objects;
    }

    com::ConnectionPoint m_events;
    std::atomic<ULONG> m_refs{1};
    LONG m_total = 0;
};

class Factory final : public com::Object<IClassFactory> {
public:
    HRESULT CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto *counter = new Counter;
        const HRESULT hr = counter->QueryInterface(riid, ppv);
        counter->Release();
        return hr;
    }
    HRESULT LockServer(BOOL lock) override
    {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }

    Factory() { ++g_objects; }

private:
    ~Factory() override { --g_objects; }
    bool offers(REFIID riid) const override { return riid == IID_IClassFactory; }
};

} // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_TestCounter)
        return CLASS_E_CLASSNOTAVAILABLE;
    auto *factory = new Factory;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer()
{
    const QString path = com::modulePathOf(reinterpret_cast<const void *>(&DllRegisterServer));
    com::ClassRegistration counter;
    counter.clsid = CLSID_TestCounter;
    counter.description = QStringLiteral("Murvel test counter");
    counter.libraryPath = path;
    counter.progId = QString::fromLatin1(kTestCounterProgId);
    counter.typeLib = LIBID_TestServer;
    counter.typeLibVersion = QStringLiteral("1.0");
    com::ClassRegistration unserved;
    unserved.clsid = CLSID_TestUnserved;
    unserved.description = QStringLiteral("Murvel test, not served");
    unserved.libraryPath = path;
    HRESULT hr = com::registerClass(counter);
    if (SUCCEEDED(hr))
        hr = com::registerClass(unserved);
    if (SUCCEEDED(hr))
        hr = com::registerInterface(IID_ITestCounter, QStringLiteral("ITestCounter"), LIBID_TestServer, "1.0");
    if (SUCCEEDED(hr))
        hr = com::registerTypeLib(LIBID_TestServer, "1.0", QStringLiteral("Murvel test server"), path);
    return hr;
}

STDAPI DllUnregisterServer()
{
    HRESULT hr = com::unregisterClass(CLSID_TestCounter, QString::fromLatin1(kTestCounterProgId));
    const HRESULT more[] = {com::unregisterClass(CLSID_TestUnserved), com::unregisterInterface(IID_ITestCounter),
                            com::unregisterTypeLib(LIBID_TestServer, "1.0")};
    for (const HRESULT h : more)
        if (SUCCEEDED(hr) && FAILED(h))
            hr = h;
    return hr;
}
