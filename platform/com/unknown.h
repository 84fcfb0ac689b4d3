#pragma once
// The root interface of every COM object and the class factory a server
// library hands out. The slot order is the published one.
#include "com/guid.h"
#include "com/hresult.h"

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void **ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default; // objects end through Release, never delete
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown *pUnkOuter, REFIID riid, void **ppvObject) = 0;
    virtual HRESULT LockServer(BOOL fLock) = 0;

protected:
    ~IClassFactory() = default;
};
