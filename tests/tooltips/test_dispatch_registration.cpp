// The late-bound side of the object and the server's registration.
#include "client.h"

#include "registry/registry.h"

#include <gtest/gtest.h>

#include <QFileInfo>

using namespace Pellwick;
using namespace tooltiptest;

namespace {

DISPID idOf(IDispatch *d, const char16_t *name)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << QString::fromUtf16(name).toStdString();
    return id;
}

VARIANT call(IDispatch *d, DISPID id, WORD flags, std::vector<VARIANT> args, HRESULT expected = S_OK)
{
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(com::invoke(d, id, flags, args.data(), static_cast<UINT>(args.size()), &result), expected);
    for (VARIANT &v : args)
        VariantClear(&v);
    return result;
}

VARIANT missing()
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

} // namespace

TEST(cToolTipsDispatch, NamesMapToTheirDispatchIds)
{
    Client c;
    ASSERT_EQ(c.created, S_OK);
    IDispatch *d = c.tips.get();
    EXPECT_EQ(idOf(d, u"Enabled"), 0x68030000);
    EXPECT_EQ(idOf(d, u"DelayTime"), 0x68030007);
    EXPECT_EQ(idOf(d, u"AddTTRectCB"), 0x60030014);
    EXPECT_EQ(idOf(d, u"init"), 0x6003001A); // names compare without case
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(u"Nichts")};
    DISPID id = 0;
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
}

// The same sequence once through the interface and once by dispatch id must
// leave two tooltips with the same tools, texts and settings.
TEST(cToolTipsDispatch, InvokeGivesTheSameResultsAsTheInterface)
{
    OwnerWindow owner;
    Client early, late;
    ASSERT_EQ(late.created, S_OK);
    IDispatch *d = late.tips.get();

    // Early bound.
    early.tips->Init(Pellwick::TTS_BALLOON);
    com::Bstr title(QStringLiteral("Spielhilfe"));
    TT_TITELICON icon = Pellwick::TTI_INFOICON;
    VARIANT_BOOL titled = VARIANT_FALSE;
    early.tips->SetTitle(title.ref(), &icon, &titled);
    LONG h = owner.hwnd, l = 0, t = 0, r = 40, b = 30;
    com::Bstr text(QStringLiteral("Schuss"));
    VARIANT_BOOL added = VARIANT_FALSE;
    early.tips->AddTTRect(&h, &l, &t, &r, &b, text.ref(), DefaultToolFlags, DefaultToolId, &added);
    early.tips->put_FontColor(0x0000FF);
    LONG count = 0, colour = 0;
    early.tips->get_Count(&count);
    early.tips->get_FontColor(&colour);

    // Late bound, optional parameters left out or passed as missing.
    call(d, dispid::Init, DISPATCH_METHOD, {com::variantLong(Pellwick::TTS_BALLOON)});
    com::Bstr lateTitle(QStringLiteral("Spielhilfe"));
    LONG lateIcon = Pellwick::TTI_INFOICON;
    VARIANT r1 = call(d, dispid::SetTitle, DISPATCH_METHOD, {com::variantRef(lateTitle.ref()), com::variantRef(&lateIcon)});
    VARIANT r2 = call(d, dispid::AddTTRect, DISPATCH_METHOD,
                      {com::variantLong(owner.hwnd), com::variantLong(0), com::variantLong(0), com::variantLong(40),
                       com::variantLong(30), com::variantString("Schuss"), missing()});
    call(d, dispid::FontColor, DISPATCH_PROPERTYPUT, {com::variantLong(0x0000FF)});
    VARIANT lateCount = call(d, dispid::Count, DISPATCH_PROPERTYGET, {});
    VARIANT lateColour = call(d, dispid::FontColor, DISPATCH_PROPERTYGET, {});
    VARIANT lateText = call(d, dispid::Text, DISPATCH_PROPERTYGET, {com::variantLong(0), com::variantLong(owner.hwnd)});

    EXPECT_EQ(r1.vt, VT_BOOL);
    EXPECT_EQ(r1.boolVal, titled);
    EXPECT_EQ(r2.vt, VT_BOOL);
    EXPECT_EQ(r2.boolVal, added);
    EXPECT_EQ(added, VARIANT_TRUE);
    EXPECT_EQ(lateCount.lVal, count);
    EXPECT_EQ(lateColour.lVal, colour);
    ASSERT_EQ(lateText.vt, VT_BSTR);
    EXPECT_EQ(com::fromBstr(lateText.bstrVal), "Schuss");
    VariantClear(&lateText);

    // Text put with its value as the named argument, then the by-reference
    // outputs of GetMargin reach the caller's variables.
    call(d, dispid::Text, DISPATCH_PROPERTYPUT,
         {com::variantLong(0), com::variantLong(owner.hwnd), com::variantString("Treffer!")});
    VARIANT putText = call(d, dispid::Text, DISPATCH_PROPERTYGET, {com::variantLong(0), com::variantLong(owner.hwnd)});
    ASSERT_EQ(putText.vt, VT_BSTR);
    EXPECT_EQ(com::fromBstr(putText.bstrVal), "Treffer!");
    VariantClear(&putText);
    LONG top = 5, left = 6, bottom = 7, right = 8;
    call(d, dispid::SetMargin, DISPATCH_METHOD,
         {com::variantRef(&top), com::variantRef(&left), com::variantRef(&bottom), com::variantRef(&right)});
    top = left = bottom = right = 0;
    VARIANT margin = call(d, dispid::GetMargin, DISPATCH_METHOD,
                          {com::variantRef(&top), com::variantRef(&left), com::variantRef(&bottom), com::variantRef(&right)});
    EXPECT_EQ(margin.vt, VT_EMPTY);
    EXPECT_EQ((std::vector<LONG>{top, left, bottom, right}), (std::vector<LONG>{5, 6, 7, 8}));

    // The record rect travels by reference.
    static com::RecordType rectType(GUID_rect, sizeof(rect));
    rect box{10, 10, 20, 20};
    VARIANT adjusted = call(d, dispid::AdjustRect, DISPATCH_METHOD,
                            {com::variantBool(true), com::variantRecordRef(&box, &rectType)});
    EXPECT_EQ(adjusted.vt, VT_BOOL);
    EXPECT_LT(box.Left, 10); // a larger rectangle, around the text one

    // Wrong calls fail as the protocol says, without touching anything.
    call(d, dispid::Count, DISPATCH_PROPERTYPUT, {com::variantLong(3)}, DISP_E_MEMBERNOTFOUND);
    call(d, dispid::DeleteTT, DISPATCH_METHOD, {}, DISP_E_BADPARAMCOUNT);
    call(d, dispid::DeleteTT, DISPATCH_METHOD, {com::variantString("x")}, DISP_E_TYPEMISMATCH);
    call(d, 0x60030099, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND);
}

TEST(PellwickRegistration, RegistersAndUnregistersExactlyItsOwnKeys)
{
    const QString clsid = com::guidToString(CLSID_cToolTips);
    const QString libid = com::guidToString(LIBID_Pellwick);
    registry::Key::classesRoot("CLSID\\{00000000-1111-2222-3333-444444444444}").setValue({}, "fremd");

    ASSERT_EQ(runRegsvr({libraryPath()}), 0);
    const registry::Key server = registry::Key::classesRoot("CLSID\\" + clsid + "\\InprocServer32");
    EXPECT_EQ(server.value(), QFileInfo(libraryPath()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(*server.value()).isAbsolute());
    EXPECT_EQ(server.value("ThreadingModel"), "Apartment");
    EXPECT_EQ(registry::Key::classesRoot("TypeLib\\" + libid + "\\1.0").value(), "Pellwick Tooltips");
    EXPECT_TRUE(registry::Key::classesRoot("Interface\\" + com::guidToString(IID__cToolTips)).exists());
    EXPECT_TRUE(registry::Key::classesRoot("Interface\\" + com::guidToString(DIID___cToolTips)).exists());

    ASSERT_EQ(runRegsvr({"-u", libraryPath()}), 0);
    EXPECT_FALSE(registry::Key::classesRoot("CLSID\\" + clsid).exists());
    EXPECT_FALSE(registry::Key::classesRoot("TypeLib\\" + libid).exists());
    EXPECT_FALSE(registry::Key::classesRoot("Interface\\" + com::guidToString(IID__cToolTips)).exists());
    EXPECT_FALSE(registry::Key::classesRoot("Interface\\" + com::guidToString(DIID___cToolTips)).exists());
    EXPECT_FALSE(registry::Key::classesRoot("Pellwick.cToolTips").exists());
    EXPECT_EQ(registry::Key::classesRoot("CLSID\\{00000000-1111-2222-3333-444444444444}").value(), "fremd");

    CoInitialize(nullptr);
    com::ComPtr<_cToolTips> tips;
    EXPECT_EQ(CoCreateInstance(CLSID_cToolTips, nullptr, CLSCTX_INPROC_SERVER, IID__cToolTips, tips.putVoid()),
              REGDB_E_CLASSNOTREG);
    CoUninitialize();
    ASSERT_EQ(runRegsvr({libraryPath()}), 0); // for the tests that follow in this process
}

TEST(PellwickRegistration, TheLibraryUnloadsOnceNoObjectIsLeft)
{
    auto c = std::make_unique<Client>();
    ASSERT_EQ(c->created, S_OK);
    CoInitialize(nullptr); // keep the apartment beyond the client
    const QString path = QFileInfo(libraryPath()).absoluteFilePath();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(com::isLibraryLoaded(path));
    c.reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(com::isLibraryLoaded(path));
    CoUninitialize();
}
