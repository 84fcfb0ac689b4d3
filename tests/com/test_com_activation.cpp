// Activation of a real server library through the registry: registered
// with the regsvr tool, created by class id, called, its events received
// through a connection point, released and unloaded; and every way
// activation can fail.
#include "testserver.h"

#include "registry/registry.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using com::ComPtr;
using registry::Key;

namespace {

QString serverPath() { return testenv::buildDir() + "/tests/libcomtestserver.so"; }
QString noExportsPath() { return testenv::buildDir() + "/tests/libcomtestnoexports.so"; }

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun regsvr(const QStringList &args)
{
    QProcess p;
    p.start(testenv::buildDir() + "/regsvr", args);
    if (!p.waitForFinished(30000))
        return {-1, {}, "regsvr did not finish"};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

Key classKey(const CLSID &clsid) { return Key::classesRoot("CLSID\\" + com::guidToString(clsid)); }

// Each test works in a registry of its own, inside a COM apartment.
class Activation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        CoInitialize(nullptr);
    }
    void TearDown() override
    {
        CoUninitialize();
        qputenv("XDG_CONFIG_HOME", m_saved);
    }
    void registerServer()
    {
        const ToolRun r = regsvr({serverPath()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    static ComPtr<ITestCounter> create(HRESULT *hr = nullptr)
    {
        ComPtr<ITestCounter> counter;
        const HRESULT result =
            CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCounter, counter.putVoid());
        if (hr)
            *hr = result;
        return counter;
    }
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

} // namespace

TEST_F(Activation, RegsvrWritesAndRemovesTheServersKeys)
{
    const ToolRun reg = regsvr({serverPath()});
    ASSERT_EQ(reg.exitCode, 0) << reg.err.toStdString();
    EXPECT_TRUE(reg.out.contains("DllRegisterServer")) << reg.out.toStdString();
    EXPECT_TRUE(reg.out.contains(serverPath())) << reg.out.toStdString();

    const Key inproc = classKey(CLSID_TestCounter).subKey("InprocServer32");
    EXPECT_EQ(inproc.value(), QFileInfo(serverPath()).absoluteFilePath());
    EXPECT_EQ(inproc.value("ThreadingModel"), "Apartment");
    EXPECT_EQ(classKey(CLSID_TestCounter).value(), "Murvel test counter");
    EXPECT_EQ(classKey(CLSID_TestCounter).subKey("ProgID").value(), kTestCounterProgId);
    EXPECT_EQ(classKey(CLSID_TestCounter).subKey("TypeLib").value(), com::guidToString(LIBID_TestServer));
    EXPECT_EQ(Key::classesRoot(kTestCounterProgId).subKey("CLSID").value(), com::guidToString(CLSID_TestCounter));
    EXPECT_EQ(Key::classesRoot("Interface\\" + com::guidToString(IID_ITestCounter)).value(), "ITestCounter");
    const Key typeLib = Key::classesRoot("TypeLib\\" + com::guidToString(LIBID_TestServer) + "\\1.0");
    EXPECT_EQ(typeLib.value(), "Murvel test server");
    EXPECT_EQ(typeLib.subKey("0\\win64").value(), inproc.value());

    // Registering again changes nothing; unregistering takes everything out.
    ASSERT_EQ(regsvr({serverPath()}).exitCode, 0);
    const ToolRun unreg = regsvr({"-u", serverPath()});
    ASSERT_EQ(unreg.exitCode, 0) << unreg.err.toStdString();
    EXPECT_TRUE(unreg.out.contains("DllUnregisterServer")) << unreg.out.toStdString();
    EXPECT_FALSE(classKey(CLSID_TestCounter).exists());
    EXPECT_FALSE(classKey(CLSID_TestUnserved).exists());
    EXPECT_FALSE(Key::classesRoot(kTestCounterProgId).exists());
    EXPECT_FALSE(Key::classesRoot("Interface\\" + com::guidToString(IID_ITestCounter)).exists());
    EXPECT_FALSE(Key::classesRoot("TypeLib\\" + com::guidToString(LIBID_TestServer)).exists());
    EXPECT_TRUE(Key::classesRoot().exists());
}

TEST_F(Activation, RegsvrFailsLoudlyOnWhatItCannotRegister)
{
    EXPECT_EQ(regsvr({}).exitCode, 2);
    EXPECT_EQ(regsvr({"-x", serverPath()}).exitCode, 2);
    EXPECT_EQ(regsvr({serverPath(), serverPath()}).exitCode, 2);

    const ToolRun missing = regsvr({m_dir.path() + "/nowhere.so"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("cannot load")) << missing.err.toStdString();

    const ToolRun noServer = regsvr({noExportsPath()});
    EXPECT_EQ(noServer.exitCode, 1);
    EXPECT_TRUE(noServer.err.contains("DllRegisterServer")) << noServer.err.toStdString();
    EXPECT_EQ(regsvr({"-u", noExportsPath()}).exitCode, 1);
    EXPECT_TRUE(Key::classesRoot().subKeyNames().isEmpty());
}

TEST_F(Activation, CreatesCallsReleasesAndUnloads)
{
    registerServer();
    const int loadedBefore = com::loadedLibraryCount();
    HRESULT hr = E_FAIL;
    ComPtr<ITestCounter> counter = create(&hr);
    ASSERT_EQ(hr, S_OK);
    ASSERT_TRUE(counter);
    EXPECT_TRUE(com::isLibraryLoaded(serverPath()));

    LONG total = 0;
    EXPECT_EQ(counter->Add(5, &total), S_OK);
    EXPECT_EQ(counter->Add(-2, &total), S_OK);
    EXPECT_EQ(total, 3);
    BSTR name = com::toBstr("Käpt'n");
    BSTR greeting = nullptr;
    EXPECT_EQ(counter->Greet(name, &greeting), S_OK);
    EXPECT_EQ(com::fromBstr(greeting), "Hallo, Käpt'n!");
    SysFreeString(name);
    SysFreeString(greeting);

    // Late bound through IDispatch, with a property put and get.
    ComPtr<IDispatch> late;
    ASSERT_EQ(counter.as(IID_IDispatch, &late), S_OK);
    VARIANT arg = com::variantLong(40);
    VARIANT result = com::variantEmpty();
    EXPECT_EQ(com::invoke(late.get(), DISPID_TestTotal, DISPATCH_PROPERTYPUT, &arg, 1), S_OK);
    EXPECT_EQ(com::invoke(late.get(), DISPID_TestTotal, DISPATCH_PROPERTYGET, nullptr, 0, &result), S_OK);
    EXPECT_EQ(result.lVal, 40);
    arg = com::variantString("zwei");
    EXPECT_EQ(com::invoke(late.get(), DISPID_TestAdd, DISPATCH_METHOD, &arg, 1, &result), DISP_E_TYPEMISMATCH);
    VariantClear(&arg);
    EXPECT_EQ(com::invoke(late.get(), 99, DISPATCH_METHOD, nullptr, 0, &result), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(com::invoke(late.get(), DISPID_TestAdd, DISPATCH_METHOD, nullptr, 0, &result), DISP_E_BADPARAMCOUNT);

    ComPtr<IClassFactory> notThat;
    EXPECT_EQ(counter.as(IID_IClassFactory, &notThat), E_NOINTERFACE);

    // A second object comes from the library already loaded.
    ComPtr<ITestCounter> second = create();
    ASSERT_TRUE(second);
    EXPECT_EQ(com::loadedLibraryCount(), loadedBefore + 1);
    second->get_Total(&total);
    EXPECT_EQ(total, 0);

    // The library stays while any object lives...
    counter.reset();
    late.reset();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(com::isLibraryLoaded(serverPath()));
    // ...and goes with the last one.
    second.reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(com::isLibraryLoaded(serverPath()));
    EXPECT_EQ(com::loadedLibraryCount(), loadedBefore);

    // It comes back when it is wanted again.
    ComPtr<ITestCounter> again = create();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Add(1, &total), S_OK);
    EXPECT_EQ(total, 1);
}

TEST_F(Activation, ALockedServerStaysLoaded)
{
    registerServer();
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.putVoid()),
              S_OK);
    ComPtr<IUnknown> aggregated;
    ComPtr<IUnknown> outer(factory.get());
    EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, aggregated.putVoid()), CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(aggregated);
    outer.reset();

    factory->LockServer(TRUE);
    factory.reset();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(com::isLibraryLoaded(serverPath()));

    ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.putVoid()),
              S_OK);
    factory->LockServer(FALSE);
    factory.reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(com::isLibraryLoaded(serverPath()));
}

TEST_F(Activation, EventsReachEveryConnectedSinkThroughTheConnectionPoint)
{
    registerServer();
    ComPtr<ITestCounter> counter = create();
    ASSERT_TRUE(counter);

    std::vector<QString> calls;
    DWORD firstCookie = 0;
    auto first = com::EventSink::create(DIID_ITestCounterEvents, [&](DISPID id, DISPPARAMS *params, VARIANT *) {
        const com::DispArgs args(params);
        LONG toolId = 0;
        BSTR *text = nullptr;
        LONG *code = nullptr;
        void *area = nullptr;
        EXPECT_EQ(id, DISPID_TestEventRang);
        EXPECT_EQ(args.expect(4, 4), S_OK);
        EXPECT_EQ(args.getLong(0, &toolId), S_OK);
        EXPECT_EQ(args.refString(1, &text), S_OK);
        EXPECT_EQ(args.refLong(2, &code), S_OK);
        EXPECT_EQ(args.refRecord(3, RECORDID_TestRect, &area), S_OK);
        if (!text || !code || !area)
            return E_POINTER;
        EXPECT_EQ(com::fromBstr(*text), QString());
        EXPECT_EQ(*code, 0);
        SysReAllocString(text, u"Antwort");
        *code = 1;
        static_cast<RECT *>(area)->right += 10;
        calls.push_back(QStringLiteral("first %1").arg(toolId));
        return S_OK;
    });
    auto second = com::EventSink::create(DIID_ITestCounterEvents, [&](DISPID, DISPPARAMS *params, VARIANT *) {
        LONG toolId = 0;
        LONG *code = nullptr;
        const com::DispArgs args(params);
        args.getLong(0, &toolId);
        args.refLong(2, &code);
        *code += 1; // sees what the first sink left
        calls.push_back(QStringLiteral("second %1").arg(toolId));
        return S_OK;
    });
    ASSERT_EQ(com::advise(counter.get(), DIID_ITestCounterEvents, first.get(), &firstCookie), S_OK);
    DWORD secondCookie = 0;
    ASSERT_EQ(com::advise(counter.get(), DIID_ITestCounterEvents, second.get(), &secondCookie), S_OK);
    EXPECT_NE(firstCookie, secondCookie);

    BSTR text = nullptr;
    LONG code = -5;
    RECT area{1, 2, 3, 4};
    ASSERT_EQ(counter->Ring(100, &text, &code, &area), S_OK);
    EXPECT_EQ(calls, (std::vector<QString>{"first 100", "second 100"}));
    EXPECT_EQ(com::fromBstr(text), "Antwort");
    EXPECT_EQ(code, 2);
    EXPECT_EQ(area.right, 13);
    SysFreeString(text);

    // The connection point can be enumerated and names its container.
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(counter.as(IID_IConnectionPointContainer, &container), S_OK);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID_ITestCounterEvents, point.put()), S_OK);
    ComPtr<IEnumConnections> connections;
    ASSERT_EQ(point->EnumConnections(connections.put()), S_OK);
    CONNECTDATA data[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(data[0].dwCookie, firstCookie);
    for (ULONG i = 0; i < fetched; ++i)
        data[i].pUnk->Release();
    ComPtr<IConnectionPointContainer> back;
    ASSERT_EQ(point->GetConnectionPointContainer(back.put()), S_OK);
    EXPECT_EQ(back.get(), container.get());
    IID iid = IID_NULL;
    point->GetConnectionInterface(&iid);
    EXPECT_EQ(iid, DIID_ITestCounterEvents);

    // After unadvising, a sink hears nothing more.
    EXPECT_EQ(com::unadvise(counter.get(), DIID_ITestCounterEvents, firstCookie), S_OK);
    EXPECT_EQ(com::unadvise(counter.get(), DIID_ITestCounterEvents, firstCookie), CONNECT_E_NOCONNECTION);
    calls.clear();
    text = nullptr;
    ASSERT_EQ(counter->Ring(7, &text, &code, &area), S_OK);
    EXPECT_EQ(calls, (std::vector<QString>{"second 7"}));
    EXPECT_EQ(code, 1);
    SysFreeString(text);
}

TEST_F(Activation, ASinkMayLeaveWhileAnEventIsFiring)
{
    registerServer();
    ComPtr<ITestCounter> counter = create();
    ASSERT_TRUE(counter);
    int heardByOthers = 0;
    DWORD leaverCookie = 0;
    DWORD otherCookie = 0;
    // The leaving sink drops the other sink and itself in the middle of the event.
    auto leaver = com::EventSink::create(DIID_ITestCounterEvents, [&](DISPID, DISPPARAMS *, VARIANT *) {
        com::unadvise(counter.get(), DIID_ITestCounterEvents, otherCookie);
        com::unadvise(counter.get(), DIID_ITestCounterEvents, leaverCookie);
        return S_OK;
    });
    auto other = com::EventSink::create(DIID_ITestCounterEvents, [&](DISPID, DISPPARAMS *, VARIANT *) {
        ++heardByOthers;
        return S_OK;
    });
    ASSERT_EQ(com::advise(counter.get(), DIID_ITestCounterEvents, leaver.get(), &leaverCookie), S_OK);
    ASSERT_EQ(com::advise(counter.get(), DIID_ITestCounterEvents, other.get(), &otherCookie), S_OK);
    leaver.reset(); // only the connection point holds it now
    BSTR text = nullptr;
    LONG code = 0;
    RECT area{};
    EXPECT_EQ(counter->Ring(1, &text, &code, &area), S_OK);
    EXPECT_EQ(heardByOthers, 0);
    EXPECT_EQ(counter->Ring(2, &text, &code, &area), S_OK);
    EXPECT_EQ(heardByOthers, 0);
}

TEST_F(Activation, AFailingHandlerDoesNotSilenceTheOthers)
{
    registerServer();
    ComPtr<ITestCounter> counter = create();
    ASSERT_TRUE(counter);
    int heard = 0;
    auto thrower = com::EventSink::create(DIID_ITestCounterEvents, [&](DISPID, DISPPARAMS *, VARIANT *) -> HRESULT {
        throw std::runtime_error("handler broke");
    });
    auto listener = com::EventSink::create(DIID_ITestCounterEvents, [&](DISPID, DISPPARAMS *, VARIANT *) {
        ++heard;
        return S_OK;
    });
    DWORD c1 = 0, c2 = 0;
    ASSERT_EQ(com::advise(counter.get(), DIID_ITestCounterEvents, thrower.get(), &c1), S_OK);
    ASSERT_EQ(com::advise(counter.get(), DIID_ITestCounterEvents, listener.get(), &c2), S_OK);
    BSTR text = nullptr;
    LONG code = 0;
    RECT area{};
    EXPECT_EQ(counter->Ring(1, &text, &code, &area), DISP_E_EXCEPTION);
    EXPECT_EQ(heard, 1);
    SysFreeString(text);
}

TEST_F(Activation, ConnectionsRefuseWhatTheyCannotServe)
{
    registerServer();
    ComPtr<ITestCounter> counter = create();
    ASSERT_TRUE(counter);
    DWORD cookie = 123;
    auto wrongKind = com::EventSink::create(IID_ITestCounter, {});
    EXPECT_EQ(com::advise(counter.get(), DIID_ITestCounterEvents, wrongKind.get(), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    auto sink = com::EventSink::create(DIID_ITestCounterEvents, {});
    EXPECT_EQ(com::advise(counter.get(), IID_ITestCounter, sink.get(), &cookie), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(com::unadvise(counter.get(), DIID_ITestCounterEvents, 999), CONNECT_E_NOCONNECTION);
    // An object without connection points says so.
    ComPtr<IDictionary> dict;
    ASSERT_EQ(CoCreateInstance(CLSID_Dictionary, nullptr, CLSCTX_INPROC_SERVER, IID_IDictionary, dict.putVoid()), S_OK);
    EXPECT_EQ(com::advise(dict.get(), DIID_ITestCounterEvents, sink.get(), &cookie), E_NOINTERFACE);
}

TEST_F(Activation, EveryFailureIsAResultNeverACrash)
{
    auto createFor = [](const CLSID &clsid, DWORD context = CLSCTX_INPROC_SERVER) {
        IUnknown *object = reinterpret_cast<IUnknown *>(0x1);
        const HRESULT hr = CoCreateInstance(clsid, nullptr, context, IID_IUnknown, reinterpret_cast<void **>(&object));
        EXPECT_EQ(object, nullptr);
        return hr;
    };
    // Nothing registered.
    EXPECT_EQ(createFor(CLSID_TestCounter), REGDB_E_CLASSNOTREG);

    registerServer();
    EXPECT_EQ(createFor(CLSID_TestCounter, CLSCTX_LOCAL_SERVER), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(createFor(CLSID_TestUnserved), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr), E_POINTER);

    // A class whose library has gone, is no library, or is no server.
    const Key inproc = classKey(CLSID_TestCounter).subKey("InprocServer32");
    ASSERT_TRUE(inproc.setValue(QString(), m_dir.path() + "/gone.so"));
    EXPECT_EQ(createFor(CLSID_TestCounter), CO_E_DLLNOTFOUND);
    QFile text(m_dir.path() + "/text.so");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a shared library\n");
    text.close();
    ASSERT_TRUE(inproc.setValue(QString(), text.fileName()));
    EXPECT_EQ(createFor(CLSID_TestCounter), CO_E_DLLNOTFOUND);
    ASSERT_TRUE(inproc.setValue(QString(), noExportsPath()));
    EXPECT_EQ(createFor(CLSID_TestCounter), CO_E_ERRORINDLL);
    EXPECT_FALSE(com::isLibraryLoaded(noExportsPath()));
    ASSERT_TRUE(inproc.setValue(QString(), QString()));
    EXPECT_EQ(createFor(CLSID_TestCounter), REGDB_E_CLASSNOTREG);

    // Without an apartment nothing is created, not even the platform's own classes.
    CoUninitialize();
    EXPECT_EQ(createFor(CLSID_Dictionary), CO_E_NOTINITIALIZED);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
}
