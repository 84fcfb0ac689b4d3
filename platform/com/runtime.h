#pragma once
// The COM runtime: per-thread initialisation and creation of objects by
// class id. A class is found in the registry under
// HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, whose default value is the
// server library's path; the library is loaded once, asked for its class
// factory with DllGetClassObject, and unloaded by CoFreeUnusedLibraries once
// its DllCanUnloadNow allows. Classes of the platform itself (the scripting
// runtime's Dictionary) need no registration.
#include "com/unknown.h"

#include <QString>

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER;

constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
constexpr DWORD COINIT_MULTITHREADED = 0x0;

// The exports of an in-process server library.
using LPFNGETCLASSOBJECT = HRESULT (*)(REFCLSID rclsid, REFIID riid, void **ppv);
using LPFNCANUNLOADNOW = HRESULT (*)();
using LPFNREGISTERSERVER = HRESULT (*)();

// S_OK the first time on a thread, S_FALSE when it already was; each call
// needs its CoUninitialize.
HRESULT CoInitialize(void *pvReserved);
HRESULT CoInitializeEx(void *pvReserved, DWORD dwCoInit);
// The last one on a thread frees the libraries that allow it.
void CoUninitialize();

// Before CoInitialize on the calling thread: CO_E_NOTINITIALIZED. A class
// not registered: REGDB_E_CLASSNOTREG. A library that cannot be loaded:
// CO_E_DLLNOTFOUND; one without DllGetClassObject: CO_E_ERRORINDLL (both
// with the reason on stderr). Otherwise whatever the server answers.
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void *pvReserved, REFIID riid, void **ppv);
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown *pUnkOuter, DWORD dwClsContext, REFIID riid, void **ppv);

// Unloads every loaded server library whose DllCanUnloadNow says S_OK.
void CoFreeUnusedLibraries();

namespace com {

// How many server libraries are loaded now (for tests and diagnostics).
int loadedLibraryCount();
// Whether the library at this path is loaded now.
bool isLibraryLoaded(const QString &path);

} // namespace com
