#pragma once
// IUnknown for an object that offers one interface chain: a counted
// reference, QueryInterface answering IUnknown and the ids the object names,
// and deletion when the last reference goes. Objects start with one
// reference, held by whoever created them.
#include "com/unknown.h"

#include <atomic>

namespace com {

template <class Interface>
class Object : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || offers(riid)) {
            *ppv = static_cast<Interface *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    Object() = default;
    virtual ~Object() = default;
    // The interface ids besides IID_IUnknown that this object answers.
    virtual bool offers(REFIID riid) const = 0;

private:
    std::atomic<ULONG> m_refs{1};
};

} // namespace com
