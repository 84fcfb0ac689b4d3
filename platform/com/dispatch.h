#pragma once
// IDispatch: calls by dispatch id with their arguments in a DISPPARAMS,
// the road events travel from a source to its clients' sinks.
#include "com/variant.h"

struct ITypeInfo; // type information is not offered: GetTypeInfo yields E_NOTIMPL

// Arguments stand in rgvarg in reverse order: the last argument first.
struct DISPPARAMS {
    VARIANTARG *rgvarg;
    DISPID *rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void *pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO *);
    SCODE scode;
};

constexpr WORD DISPATCH_METHOD = 1;
constexpr WORD DISPATCH_PROPERTYGET = 2;
constexpr WORD DISPATCH_PROPERTYPUT = 4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 8;

constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID DISPID_NEWENUM = -4;

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

struct IDispatch : IUnknown {
    virtual HRESULT GetTypeInfoCount(UINT *pctinfo) = 0;
    virtual HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) = 0;
    virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid, DISPID *rgDispId) = 0;
    virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams,
                           VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) = 0;

protected:
    ~IDispatch() = default;
};

namespace com {

// Reads the arguments of an Invoke in call order (0 = first argument), with
// the coercions a caller may rely on: an integer from any integer, Boolean
// or by-reference integer; a Boolean from an integer; a string from a
// string or a by-reference string. A wrong type yields DISP_E_TYPEMISMATCH
// and, through argError(), the argument's position for puArgErr.
class DispArgs {
public:
    explicit DispArgs(const DISPPARAMS *params) : m_params(params) {}

    UINT count() const { return m_params ? m_params->cArgs : 0; }
    // DISP_E_BADPARAMCOUNT unless between min and max arguments, none named.
    HRESULT expect(UINT min, UINT max) const;

    HRESULT getLong(UINT pos, LONG *out) const;
    HRESULT getBool(UINT pos, bool *out) const;
    HRESULT getString(UINT pos, QString *out) const;
    // By-reference parameters: the address of the caller's variable.
    HRESULT refLong(UINT pos, LONG **out) const;
    HRESULT refString(UINT pos, BSTR **out) const;
    // A record by reference whose type id matches recordId.
    HRESULT refRecord(UINT pos, const GUID &recordId, void **out) const;

    // The variant of argument pos, by-reference chains followed.
    const VARIANT *at(UINT pos) const;
    // puArgErr's value for argument pos (the index into rgvarg).
    UINT argError(UINT pos) const { return count() - 1 - pos; }

private:
    const DISPPARAMS *m_params;
};

// The answers of an object that offers no type information.
HRESULT noTypeInfoCount(UINT *pctinfo);
HRESULT noTypeInfo(ITypeInfo **ppTInfo);

// Calls one method or property through IDispatch with arguments given in
// call order (reversed into DISPPARAMS here). A property put names its
// argument DISPID_PROPERTYPUT, as the protocol requires.
HRESULT invoke(IDispatch *target, DISPID id, WORD flags, VARIANT *argsInCallOrder, UINT count,
               VARIANT *result = nullptr);

} // namespace com
