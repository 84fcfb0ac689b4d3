#pragma once
// Arrays indexed from 1 in every dimension, as the game's formulas count
// columns, rows, layers, boats and cells. An index outside the bounds is
// the runtime's error 9 ("Subscript out of range"), never a stray access.
#include "runtime/error.h"

#include <cstddef>
#include <vector>

namespace felder {

[[noreturn]] inline void subscriptOutOfRange()
{
    throw RuntimeError(errSubscriptOutOfRange, QStringLiteral("Subscript out of range"));
}

inline std::size_t index(int i, int upper)
{
    if (i < 1 || i > upper)
        subscriptOutOfRange();
    return static_cast<std::size_t>(i - 1);
}

} // namespace felder

// (1 To n)
template <typename T>
class Feld1 {
public:
    void ReDim(int n) { m_n = n; m_v.assign(static_cast<std::size_t>(n), T{}); }
    int UBound() const { return m_n; }
    T &operator()(int i) { return m_v[felder::index(i, m_n)]; }
    const T &operator()(int i) const { return m_v[felder::index(i, m_n)]; }

private:
    int m_n = 0;
    std::vector<T> m_v;
};

// (1 To n1, 1 To n2); ReDimPreserve changes the last bound and keeps the entries.
template <typename T>
class Feld2 {
public:
    void ReDim(int n1, int n2) { m_n1 = n1; m_n2 = n2; m_v.assign(static_cast<std::size_t>(n1) * n2, T{}); }
    void ReDimPreserve(int n2)
    {
        // Stored with the last index outermost, so growing or cutting it keeps the entries.
        m_n2 = n2;
        m_v.resize(static_cast<std::size_t>(m_n1) * n2, T{});
    }
    int UBound(int dimension) const { return dimension == 1 ? m_n1 : m_n2; }
    T &operator()(int i, int j) { return m_v[at(i, j)]; }
    const T &operator()(int i, int j) const { return m_v[at(i, j)]; }

private:
    std::size_t at(int i, int j) const { return felder::index(j, m_n2) * m_n1 + felder::index(i, m_n1); }
    int m_n1 = 0, m_n2 = 0;
    std::vector<T> m_v;
};

// (1 To n1, 1 To n2, 1 To n3)
template <typename T>
class Feld3 {
public:
    void ReDim(int n1, int n2, int n3)
    {
        m_n1 = n1; m_n2 = n2; m_n3 = n3;
        m_v.assign(static_cast<std::size_t>(n1) * n2 * n3, T{});
    }
    int UBound(int dimension) const { return dimension == 1 ? m_n1 : dimension == 2 ? m_n2 : m_n3; }
    T &operator()(int i, int j, int k) { return m_v[at(i, j, k)]; }
    const T &operator()(int i, int j, int k) const { return m_v[at(i, j, k)]; }

private:
    std::size_t at(int i, int j, int k) const
    {
        return (felder::index(k, m_n3) * m_n2 + felder::index(j, m_n2)) * m_n1 + felder::index(i, m_n1);
    }
    int m_n1 = 0, m_n2 = 0, m_n3 = 0;
    std::vector<T> m_v;
};
