#pragma once
// The class factory of an in-process server: one static object per class
// that lives as long as its library, so its references are not counted.
// It makes objects of class T, which start with one reference (com::Object
// does), and counts LockServer calls for DllCanUnloadNow.
#include "com/unknown.h"

#include <atomic>
#include <new>

namespace com {

template <class T>
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
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pUnkOuter)
            return CLASS_E_NOAGGREGATION;
        T *object = new (std::nothrow) T;
        if (!object)
            return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release(); // the creation reference; *ppv holds the object now
        return hr;
    }

    HRESULT LockServer(BOOL fLock) override
    {
        if (fLock)
            ++m_locks;
        else
            --m_locks;
        return S_OK;
    }

    // Whether a client keeps the server loaded with LockServer(TRUE).
    bool locked() const { return m_locks > 0; }

private:
    std::atomic<LONG> m_locks{0};
};

} // namespace com
