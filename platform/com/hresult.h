#pragma once
// Result codes: bit 31 set means failure. The values are the published ones,
// so a code printed by one part of the system can be looked up anywhere.
#include "com/comtypes.h"

constexpr HRESULT hresultOf(std::uint32_t code) { return static_cast<HRESULT>(code); }

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

constexpr HRESULT E_NOTIMPL = hresultOf(0x80004001);
constexpr HRESULT E_NOINTERFACE = hresultOf(0x80004002);
constexpr HRESULT E_POINTER = hresultOf(0x80004003);
constexpr HRESULT E_ABORT = hresultOf(0x80004004);
constexpr HRESULT E_FAIL = hresultOf(0x80004005);
constexpr HRESULT E_UNEXPECTED = hresultOf(0x8000FFFF);
constexpr HRESULT E_ACCESSDENIED = hresultOf(0x80070005);
constexpr HRESULT E_OUTOFMEMORY = hresultOf(0x8007000E);
constexpr HRESULT E_INVALIDARG = hresultOf(0x80070057);

constexpr HRESULT CLASS_E_NOAGGREGATION = hresultOf(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hresultOf(0x80040111);
constexpr HRESULT REGDB_E_READREGDB = hresultOf(0x80040150);
constexpr HRESULT REGDB_E_WRITEREGDB = hresultOf(0x80040151);
constexpr HRESULT REGDB_E_CLASSNOTREG = hresultOf(0x80040154);
constexpr HRESULT CO_E_NOTINITIALIZED = hresultOf(0x800401F0);
constexpr HRESULT CO_E_DLLNOTFOUND = hresultOf(0x800401F8);
constexpr HRESULT CO_E_ERRORINDLL = hresultOf(0x800401F9);

constexpr HRESULT SELFREG_E_TYPELIB = hresultOf(0x80040200);
constexpr HRESULT SELFREG_E_CLASS = hresultOf(0x80040201);

constexpr HRESULT CONNECT_E_NOCONNECTION = hresultOf(0x80040200);
constexpr HRESULT CONNECT_E_ADVISELIMIT = hresultOf(0x80040201);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = hresultOf(0x80040202);
constexpr HRESULT CONNECT_E_OVERRIDDEN = hresultOf(0x80040203);

constexpr HRESULT DISP_E_UNKNOWNINTERFACE = hresultOf(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = hresultOf(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = hresultOf(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = hresultOf(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = hresultOf(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = hresultOf(0x80020007);
constexpr HRESULT DISP_E_BADVARTYPE = hresultOf(0x80020008);
constexpr HRESULT DISP_E_EXCEPTION = hresultOf(0x80020009);
constexpr HRESULT DISP_E_BADINDEX = hresultOf(0x8002000B);
constexpr HRESULT DISP_E_BADPARAMCOUNT = hresultOf(0x8002000E);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = hresultOf(0x8002000F);

// Run-time errors of the scripting runtime's classes, as their HRESULTs.
constexpr HRESULT CTL_E_KEYALREADYEXISTS = hresultOf(0x800A01C9); // 457
constexpr HRESULT CTL_E_ELEMENTNOTFOUND = hresultOf(0x800A802B);  // 32811
