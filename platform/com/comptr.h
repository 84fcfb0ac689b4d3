#pragma once
// A smart pointer holding one counted reference to a COM interface.
#include "com/unknown.h"

#include <utility>

namespace com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference of its own (AddRef).
    explicit ComPtr(T *p) : m_p(p) { if (m_p) m_p->AddRef(); }
    ComPtr(const ComPtr &other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr &&other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr &operator=(ComPtr other) noexcept { std::swap(m_p, other.m_p); return *this; }

    // Adopts a reference the caller already holds (no AddRef).
    static ComPtr adopt(T *p) { ComPtr c; c.m_p = p; return c; }

    void reset() { if (T *p = std::exchange(m_p, nullptr)) p->Release(); }
    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For out-parameters: releases what is held and hands out the slot.
    T **put() { reset(); return &m_p; }
    void **putVoid() { return reinterpret_cast<void **>(put()); }
    // Hands the reference over to the caller.
    T *detach() { return std::exchange(m_p, nullptr); }

    // QueryInterface into another smart pointer.
    template <class U>
    HRESULT as(REFIID iid, ComPtr<U> *out) const
    {
        if (!m_p)
            return E_POINTER;
        return m_p->QueryInterface(iid, out->putVoid());
    }

private:
    T *m_p = nullptr;
};

} // namespace com
