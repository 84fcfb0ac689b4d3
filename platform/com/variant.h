#pragma once
// VARIANT: the tagged value that travels through IDispatch, for the types
// the system's interfaces and events carry: empty, 16/32-bit integers,
// Booleans, strings, objects, arrays of variants, and by-reference integers,
// Booleans, strings and records.
#include "com/bstr.h"
#include "com/unknown.h"

using VARTYPE = USHORT;
using VARIANT_BOOL = SHORT;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_RECORD = 36,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

struct IDispatch;
struct SAFEARRAY;

// What a record passed in a VARIANT is: its type-library id and size. The
// full interface is large; this runtime carries records by reference only,
// so identifying them is all it needs.
struct IRecordInfo : IUnknown {
    virtual HRESULT GetGuid(GUID *pguid) = 0;
    virtual HRESULT GetSize(ULONG *pcbSize) = 0;

protected:
    ~IRecordInfo() = default;
};

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown *punkVal;
        IDispatch *pdispVal;
        SAFEARRAY *parray;
        BYTE *pbVal;
        SHORT *piVal;
        LONG *plVal;
        VARIANT_BOOL *pboolVal;
        BSTR *pbstrVal;
        VARIANT *pvarVal;
        void *byref;
        struct {
            void *pvRecord;
            IRecordInfo *pRecInfo;
        } record;
    };
};
using VARIANTARG = VARIANT;

void VariantInit(VARIANT *pvarg);
// Frees what the variant owns (a string, an object reference, an array) and
// leaves it empty. By-reference variants own nothing.
HRESULT VariantClear(VARIANT *pvarg);
// A deep copy: strings and arrays are duplicated, objects AddRef'ed.
HRESULT VariantCopy(VARIANT *pvargDest, const VARIANT *pvargSrc);

// One-dimensional arrays of VARIANT, as collections hand out their contents.
struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    void *pvData;
    SAFEARRAYBOUND rgsabound[1];
};

// Only VT_VARIANT is supported; any other element type yields null.
SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
HRESULT SafeArrayDestroy(SAFEARRAY *psa);
UINT SafeArrayGetDim(SAFEARRAY *psa);
HRESULT SafeArrayGetLBound(SAFEARRAY *psa, UINT nDim, LONG *plLbound);
HRESULT SafeArrayGetUBound(SAFEARRAY *psa, UINT nDim, LONG *plUbound);
// Copies the element out (VariantCopy); the caller clears its copy.
HRESULT SafeArrayGetElement(SAFEARRAY *psa, LONG *rgIndices, void *pv);
// Copies the value in, replacing what the element held.
HRESULT SafeArrayPutElement(SAFEARRAY *psa, LONG *rgIndices, void *pv);

namespace com {

// Builders for the values the system's calls pass. A variant holding a
// string owns it: clear it with VariantClear when done.
VARIANT variantEmpty();
VARIANT variantLong(LONG value);
VARIANT variantBool(bool value);
VARIANT variantString(const QString &text);
VARIANT variantRef(LONG *value);
VARIANT variantRef(VARIANT_BOOL *value);
VARIANT variantRef(BSTR *value);
VARIANT variantRecordRef(void *record, IRecordInfo *info);

// A record type known by its id and size; one static instance per record
// type, so it is not reference counted.
class RecordType final : public IRecordInfo {
public:
    RecordType(const GUID &id, ULONG size) : m_id(id), m_size(size) {}
    HRESULT QueryInterface(REFIID riid, void **ppv) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT GetGuid(GUID *pguid) override;
    HRESULT GetSize(ULONG *pcbSize) override;
    const GUID &id() const { return m_id; }

private:
    GUID m_id;
    ULONG m_size;
};

} // namespace com
