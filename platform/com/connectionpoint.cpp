#include "com/connectionpoint.h"

#include "com/object.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace com {

namespace {

// A snapshot enumerator over counted references, for both enumerator
// interfaces of this file.
template <class Interface, class Item>
class SnapshotEnum final : public Object<Interface> {
public:
    using Copy = void (*)(const Item &from, Item *to);
    using Drop = void (*)(Item &item);
    SnapshotEnum(const IID &iid, std::vector<Item> items, Copy copy, Drop drop)
        : m_iid(iid), m_items(std::move(items)), m_copy(copy), m_drop(drop) {}

    HRESULT Next(ULONG wanted, Item *out, ULONG *fetched) override
    {
        if (!out || (wanted > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        for (; n < wanted && m_pos < m_items.size(); ++n, ++m_pos)
            m_copy(m_items[m_pos], &out[n]);
        if (fetched)
            *fetched = n;
        return n == wanted ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override
    {
        m_pos = std::min(m_items.size(), m_pos + count);
        return m_pos < m_items.size() ? S_OK : S_FALSE;
    }
    HRESULT Reset() override
    {
        m_pos = 0;
        return S_OK;
    }
    HRESULT Clone(Interface **ppEnum) override
    {
        if (!ppEnum)
            return E_POINTER;
        std::vector<Item> copies(m_items.size());
        for (std::size_t i = 0; i < m_items.size(); ++i)
            m_copy(m_items[i], &copies[i]);
        auto *clone = new SnapshotEnum(m_iid, std::move(copies), m_copy, m_drop);
        clone->m_pos = m_pos;
        *ppEnum = clone;
        return S_OK;
    }

private:
    bool offers(REFIID riid) const override { return riid == m_iid; }
    ~SnapshotEnum() override
    {
        for (Item &item : m_items)
            m_drop(item);
    }
    IID m_iid;
    std::vector<Item> m_items;
    Copy m_copy;
    Drop m_drop;
    std::size_t m_pos = 0;
};

void copyConnection(const CONNECTDATA &from, CONNECTDATA *to)
{
    *to = from;
    if (to->pUnk)
        to->pUnk->AddRef();
}
void dropConnection(CONNECTDATA &item)
{
    if (item.pUnk)
        item.pUnk->Release();
}
void copyPoint(IConnectionPoint *const &from, IConnectionPoint **to)
{
    *to = from;
    from->AddRef();
}
void dropPoint(IConnectionPoint *&item) { item->Release(); }

} // namespace

ConnectionPoint::ConnectionPoint(IConnectionPointContainer *container, const IID &eventIid)
    : m_container(container), m_iid(eventIid)
{
}

ConnectionPoint::~ConnectionPoint() = default;

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// The connection point lives inside its source: the source's count keeps both.
ULONG ConnectionPoint::AddRef() { return m_container->AddRef(); }
ULONG ConnectionPoint::Release() { return m_container->Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID *pIID)
{
    if (!pIID)
        return E_POINTER;
    *pIID = m_iid;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer **ppCPC)
{
    if (!ppCPC)
        return E_POINTER;
    *ppCPC = m_container;
    m_container->AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown *pUnkSink, DWORD *pdwCookie)
{
    if (!pUnkSink || !pdwCookie)
        return E_POINTER;
    *pdwCookie = 0;
    ComPtr<IDispatch> dispatch;
    if (FAILED(pUnkSink->QueryInterface(m_iid, dispatch.putVoid())) || !dispatch)
        return CONNECT_E_CANNOTCONNECT;
    const DWORD cookie = m_nextCookie++;
    m_sinks.push_back({cookie, std::move(dispatch)});
    *pdwCookie = cookie;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD dwCookie)
{
    auto it = std::find_if(m_sinks.begin(), m_sinks.end(), [&](const Sink &s) { return s.cookie == dwCookie; });
    if (it == m_sinks.end())
        return CONNECT_E_NOCONNECTION;
    ComPtr<IDispatch> leaving = std::move(it->dispatch); // released after the list is consistent
    m_sinks.erase(it);
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections **ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    std::vector<CONNECTDATA> items;
    for (const Sink &s : m_sinks) {
        CONNECTDATA d{s.dispatch.get(), s.cookie};
        d.pUnk->AddRef();
        items.push_back(d);
    }
    *ppEnum = new SnapshotEnum<IEnumConnections, CONNECTDATA>(IID_IEnumConnections, std::move(items),
                                                              copyConnection, dropConnection);
    return S_OK;
}

HRESULT ConnectionPoint::fire(DISPID id, VARIANT *argsInCallOrder, UINT count)
{
    // A handler may advise or unadvise while we fire: work on a snapshot,
    // and skip sinks that left meanwhile.
    const std::vector<Sink> snapshot = m_sinks;
    HRESULT first = S_OK;
    for (const Sink &s : snapshot) {
        const bool stillThere = std::any_of(m_sinks.begin(), m_sinks.end(),
                                            [&](const Sink &now) { return now.cookie == s.cookie; });
        if (!stillThere)
            continue;
        HRESULT hr = DISP_E_EXCEPTION;
        try {
            hr = invoke(s.dispatch.get(), id, DISPATCH_METHOD, argsInCallOrder, count);
        } catch (...) {
            // A foreign sink broke the rules; the source and the other sinks go on.
            std::fprintf(stderr, "com: an event sink failed with an exception\n");
        }
        if (FAILED(hr) && SUCCEEDED(first))
            first = hr;
    }
    return first;
}

void ConnectionPoint::disconnectAll()
{
    std::vector<Sink> leaving;
    leaving.swap(m_sinks);
}

HRESULT findConnectionPoint(ConnectionPoint *const *points, std::size_t count, REFIID riid, IConnectionPoint **ppCP)
{
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        if (points[i]->eventIid() == riid) {
            *ppCP = points[i];
            points[i]->AddRef();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT enumConnectionPoints(ConnectionPoint *const *points, std::size_t count, IEnumConnectionPoints **ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    std::vector<IConnectionPoint *> items;
    for (std::size_t i = 0; i < count; ++i) {
        points[i]->AddRef();
        items.push_back(points[i]);
    }
    *ppEnum = new SnapshotEnum<IEnumConnectionPoints, IConnectionPoint *>(IID_IEnumConnectionPoints,
                                                                          std::move(items), copyPoint, dropPoint);
    return S_OK;
}

ComPtr<EventSink> EventSink::create(const IID &eventIid, Handler handler)
{
    return ComPtr<EventSink>::adopt(new EventSink(eventIid, std::move(handler)));
}

EventSink::EventSink(const IID &eventIid, Handler handler) : m_iid(eventIid), m_handler(std::move(handler)) {}

bool EventSink::offers(REFIID riid) const { return riid == IID_IDispatch || riid == m_iid; }

HRESULT EventSink::GetTypeInfoCount(UINT *pctinfo) { return noTypeInfoCount(pctinfo); }

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo **ppTInfo) { return noTypeInfo(ppTInfo); }

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR *, UINT cNames, LCID, DISPID *rgDispId)
{
    for (UINT i = 0; rgDispId && i < cNames; ++i)
        rgDispId[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT EventSink::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS *pDispParams, VARIANT *pVarResult,
                          EXCEPINFO *, UINT *)
{
    if (!m_handler)
        return S_OK;
    // The handler may drop the client's last reference to us.
    ComPtr<EventSink> keepAlive(this);
    // An exception must not unwind through the source's code.
    try {
        return m_handler(dispIdMember, pDispParams, pVarResult);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "com: an event handler failed: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "com: an event handler failed with an exception\n");
    }
    return DISP_E_EXCEPTION;
}

namespace {

// The source's connection point for one event interface.
HRESULT findConnectionPoint(IUnknown *source, const IID &eventIid, ComPtr<IConnectionPoint> &point)
{
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.putVoid());
    if (FAILED(hr))
        return hr;
    return container->FindConnectionPoint(eventIid, point.put());
}

} // namespace

HRESULT advise(IUnknown *source, const IID &eventIid, IUnknown *sink, DWORD *cookie)
{
    if (!source || !sink || !cookie)
        return E_POINTER;
    ComPtr<IConnectionPoint> point;
    const HRESULT hr = findConnectionPoint(source, eventIid, point);
    return FAILED(hr) ? hr : point->Advise(sink, cookie);
}

HRESULT unadvise(IUnknown *source, const IID &eventIid, DWORD cookie)
{
    if (!source)
        return E_POINTER;
    ComPtr<IConnectionPoint> point;
    const HRESULT hr = findConnectionPoint(source, eventIid, point);
    return FAILED(hr) ? hr : point->Unadvise(cookie);
}

} // namespace com
