#pragma once
// The interface of the small COM server the tests build, register with
// regsvr and activate: a counter that greets and rings its clients.
#include "com/com.h"

// {6E0F5A9C-2B7D-4C1E-9A3F-5D8B7C6E4A21}
constexpr CLSID CLSID_TestCounter = {0x6E0F5A9C, 0x2B7D, 0x4C1E, {0x9A, 0x3F, 0x5D, 0x8B, 0x7C, 0x6E, 0x4A, 0x21}};
// Registered to the server, which does not serve it.
constexpr CLSID CLSID_TestUnserved = {0x6E0F5A9C, 0x2B7D, 0x4C1E, {0x9A, 0x3F, 0x5D, 0x8B, 0x7C, 0x6E, 0x4A, 0x22}};
constexpr IID IID_ITestCounter = {0x6E0F5A9C, 0x2B7D, 0x4C1E, {0x9A, 0x3F, 0x5D, 0x8B, 0x7C, 0x6E, 0x4A, 0x23}};
constexpr IID DIID_ITestCounterEvents = {0x6E0F5A9C, 0x2B7D, 0x4C1E, {0x9A, 0x3F, 0x5D, 0x8B, 0x7C, 0x6E, 0x4A, 0x24}};
constexpr GUID LIBID_TestServer = {0x6E0F5A9C, 0x2B7D, 0x4C1E, {0x9A, 0x3F, 0x5D, 0x8B, 0x7C, 0x6E, 0x4A, 0x25}};
constexpr GUID RECORDID_TestRect = {0x6E0F5A9C, 0x2B7D, 0x4C1E, {0x9A, 0x3F, 0x5D, 0x8B, 0x7C, 0x6E, 0x4A, 0x26}};

constexpr const char *kTestCounterProgId = "MurvelTest.Counter";

// Dispatch ids of the interface and of its event.
constexpr DISPID DISPID_TestAdd = 1;
constexpr DISPID DISPID_TestTotal = 2;
constexpr DISPID DISPID_TestRing = 3;
constexpr DISPID DISPID_TestEventRang = 1;

struct ITestCounter : IDispatch {
    // Adds by to the total and returns the new total.
    virtual HRESULT Add(LONG by, LONG *total) = 0;
    virtual HRESULT get_Total(LONG *total) = 0;
    virtual HRESULT put_Total(LONG total) = 0;
    // "Hallo, <name>!"
    virtual HRESULT Greet(BSTR name, BSTR *greeting) = 0;
    // Raises Rang(id, text by ref = "", code by ref = 0, area by ref = *area)
    // on every connected client and hands back what the handlers left.
    virtual HRESULT Ring(LONG id, BSTR *text, LONG *code, RECT *area) = 0;

protected:
    ~ITestCounter() = default;
};
