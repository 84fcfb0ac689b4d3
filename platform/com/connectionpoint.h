#pragma once
// Connection points: how a source object hands events to its clients. A
// client finds the source's connection point for an event interface and
// advises it of a sink; the source fires each event to every sink.
#include "com/comptr.h"
#include "com/dispatch.h"
#include "com/object.h"

#include <functional>
#include <vector>

struct IConnectionPointContainer;

struct CONNECTDATA {
    IUnknown *pUnk;
    DWORD dwCookie;
};

struct IEnumConnections : IUnknown {
    virtual HRESULT Next(ULONG cConnections, CONNECTDATA *rgcd, ULONG *pcFetched) = 0;
    virtual HRESULT Skip(ULONG cConnections) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumConnections **ppEnum) = 0;

protected:
    ~IEnumConnections() = default;
};

struct IConnectionPoint : IUnknown {
    virtual HRESULT GetConnectionInterface(IID *pIID) = 0;
    virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer **ppCPC) = 0;
    virtual HRESULT Advise(IUnknown *pUnkSink, DWORD *pdwCookie) = 0;
    virtual HRESULT Unadvise(DWORD dwCookie) = 0;
    virtual HRESULT EnumConnections(IEnumConnections **ppEnum) = 0;

protected:
    ~IConnectionPoint() = default;
};

struct IEnumConnectionPoints : IUnknown {
    virtual HRESULT Next(ULONG cConnections, IConnectionPoint **ppCP, ULONG *pcFetched) = 0;
    virtual HRESULT Skip(ULONG cConnections) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumConnectionPoints **ppEnum) = 0;

protected:
    ~IEnumConnectionPoints() = default;
};

struct IConnectionPointContainer : IUnknown {
    virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints **ppEnum) = 0;
    virtual HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) = 0;

protected:
    ~IConnectionPointContainer() = default;
};

namespace com {

// The source side: one connection point for one event interface, living
// inside its source object and sharing the object's reference count. Each
// advised sink is asked for the event interface (an IDispatch); fire()
// calls every sink advised at that moment, in the order of advising, also
// when a handler unadvises itself or another sink meanwhile.
class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer *container, const IID &eventIid);
    ~ConnectionPoint();
    ConnectionPoint(const ConnectionPoint &) = delete;
    ConnectionPoint &operator=(const ConnectionPoint &) = delete;

    HRESULT QueryInterface(REFIID riid, void **ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetConnectionInterface(IID *pIID) override;
    HRESULT GetConnectionPointContainer(IConnectionPointContainer **ppCPC) override;
    HRESULT Advise(IUnknown *pUnkSink, DWORD *pdwCookie) override;
    HRESULT Unadvise(DWORD dwCookie) override;
    HRESULT EnumConnections(IEnumConnections **ppEnum) override;

    const IID &eventIid() const { return m_iid; }
    std::size_t sinkCount() const { return m_sinks.size(); }

    // Calls event id on every sink with arguments in call order. A failing
    // sink does not stop the others; the result is the first failure, or S_OK.
    HRESULT fire(DISPID id, VARIANT *argsInCallOrder = nullptr, UINT count = 0);
    // Drops every sink (the source is going away).
    void disconnectAll();

private:
    struct Sink {
        DWORD cookie;
        ComPtr<IDispatch> dispatch;
    };
    IConnectionPointContainer *m_container;
    IID m_iid;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
};

// FindConnectionPoint over a source object's connection points.
HRESULT findConnectionPoint(ConnectionPoint *const *points, std::size_t count, REFIID riid, IConnectionPoint **ppCP);
// EnumConnectionPoints over them (a snapshot).
HRESULT enumConnectionPoints(ConnectionPoint *const *points, std::size_t count, IEnumConnectionPoints **ppEnum);

// The client side: a sink for one event interface that hands each call to
// a function. Created with one reference held by the caller. An exception
// from the function stops at the sink (DISP_E_EXCEPTION, and a line on
// stderr), never unwinding through the source.
class EventSink final : public Object<IDispatch> {
public:
    using Handler = std::function<HRESULT(DISPID id, DISPPARAMS *params, VARIANT *result)>;
    static ComPtr<EventSink> create(const IID &eventIid, Handler handler);

    HRESULT GetTypeInfoCount(UINT *pctinfo) override;
    HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override;
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid, DISPID *rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams,
                   VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) override;

private:
    EventSink(const IID &eventIid, Handler handler);
    bool offers(REFIID riid) const override;
    IID m_iid;
    Handler m_handler;
};

// Connects sink to source's connection point for eventIid. On success
// *cookie names the connection for unadvise().
HRESULT advise(IUnknown *source, const IID &eventIid, IUnknown *sink, DWORD *cookie);
HRESULT unadvise(IUnknown *source, const IID &eventIid, DWORD cookie);

} // namespace com
