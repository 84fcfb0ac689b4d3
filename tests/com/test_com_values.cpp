// GUID text, COM strings, variants, dispatch arguments and the platform's
// Dictionary class.
#include "com/com.h"

#include <gtest/gtest.h>

namespace {

struct ComApartment {
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
};

} // namespace

TEST(Guid, ParsesAndPrintsTheBracedForm)
{
    GUID g;
    ASSERT_TRUE(com::parseGuid("{445dcc46-6673-4077-be1a-92b5254908b7}", &g));
    EXPECT_EQ(g.Data1, 0x445DCC46u);
    EXPECT_EQ(g.Data2, 0x6673);
    EXPECT_EQ(g.Data3, 0x4077);
    EXPECT_EQ(g.Data4[0], 0xBE);
    EXPECT_EQ(g.Data4[7], 0xB7);
    EXPECT_EQ(com::guidToString(g), "{445DCC46-6673-4077-BE1A-92B5254908B7}");
    GUID bare;
    ASSERT_TRUE(com::parseGuid("445DCC46-6673-4077-BE1A-92B5254908B7", &bare));
    EXPECT_EQ(bare, g);
    EXPECT_EQ(com::guidToString(IID_IDispatch), "{00020400-0000-0000-C000-000000000046}");
    EXPECT_EQ(com::guidFromString("{EE09B103-97E0-11CF-978F-00A02463E06F}"), CLSID_Dictionary);
}

TEST(Guid, RejectsMalformedTextAndLeavesTheTargetAlone)
{
    GUID g = IID_IUnknown;
    for (const char *bad : {"", "{445DCC46-6673-4077-BE1A-92B5254908B}", "{445DCC46-6673-4077-BE1A-92B5254908B7",
                            "445DCC46+6673-4077-BE1A-92B5254908B7", "{445DCC4G-6673-4077-BE1A-92B5254908B7}",
                            "{445DCC46-6673-4077-BE1A-92B5254908B7}x"})
        EXPECT_FALSE(com::parseGuid(QString::fromLatin1(bad), &g)) << bad;
    EXPECT_EQ(g, IID_IUnknown);
    EXPECT_EQ(com::guidFromString("nonsense"), GUID_NULL);
}

TEST(Bstr, IsLengthPrefixedAndZeroTerminated)
{
    BSTR s = com::toBstr(QStringLiteral("Größe"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 5u);
    EXPECT_EQ(SysStringByteLen(s), 10u);
    EXPECT_EQ(reinterpret_cast<const std::uint32_t *>(s)[-1], 10u);
    EXPECT_EQ(s[5], u'\0');
    EXPECT_EQ(com::fromBstr(s), QStringLiteral("Größe"));
    SysFreeString(s);

    const OLECHAR withZero[] = {u'a', u'\0', u'b'};
    BSTR z = SysAllocStringLen(withZero, 3);
    EXPECT_EQ(SysStringLen(z), 3u);
    EXPECT_EQ(com::fromBstr(z).size(), 3);
    EXPECT_TRUE(SysReAllocString(&z, u"neu"));
    EXPECT_EQ(com::fromBstr(z), "neu");
    SysFreeString(z);

    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(com::fromBstr(nullptr), QString());
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    SysFreeString(nullptr);
}

TEST(Variant, CopyDuplicatesStringsAndClearEmpties)
{
    VARIANT a = com::variantString(QStringLiteral("Spielhilfe"));
    VARIANT b = com::variantLong(7);
    ASSERT_EQ(VariantCopy(&b, &a), S_OK);
    EXPECT_EQ(b.vt, VT_BSTR);
    EXPECT_NE(b.bstrVal, a.bstrVal);
    EXPECT_EQ(com::fromBstr(b.bstrVal), "Spielhilfe");
    VariantClear(&a);
    EXPECT_EQ(a.vt, VT_EMPTY);
    EXPECT_EQ(com::fromBstr(b.bstrVal), "Spielhilfe");
    VariantClear(&b);

    EXPECT_EQ(com::variantBool(true).boolVal, VARIANT_TRUE);
    EXPECT_EQ(com::variantBool(false).boolVal, VARIANT_FALSE);
}

TEST(DispArgs, ReadsInCallOrderWithCoercionsAndReportsMismatches)
{
    LONG code = 5;
    BSTR text = com::toBstr("x");
    RECT r{1, 2, 3, 4};
    static com::RecordType rectType(com::guidFromString("{5F3A2733-D61A-4FFD-8338-B75B241063B4}"), sizeof(RECT));
    // rgvarg holds the last argument first.
    VARIANT reversed[] = {com::variantRecordRef(&r, &rectType), com::variantRef(&text), com::variantRef(&code),
                          com::variantBool(true), com::variantLong(42)};
    DISPPARAMS params{reversed, nullptr, 5, 0};
    const com::DispArgs args(&params);
    EXPECT_EQ(args.expect(5, 5), S_OK);
    EXPECT_EQ(args.expect(6, 8), DISP_E_BADPARAMCOUNT);

    LONG n = 0;
    EXPECT_EQ(args.getLong(0, &n), S_OK);
    EXPECT_EQ(n, 42);
    bool flag = false;
    EXPECT_EQ(args.getBool(1, &flag), S_OK);
    EXPECT_TRUE(flag);
    EXPECT_EQ(args.getLong(1, &n), S_OK);
    EXPECT_EQ(n, -1);
    LONG *codeRef = nullptr;
    ASSERT_EQ(args.refLong(2, &codeRef), S_OK);
    *codeRef = 9;
    EXPECT_EQ(code, 9);
    BSTR *textRef = nullptr;
    ASSERT_EQ(args.refString(3, &textRef), S_OK);
    EXPECT_EQ(textRef, &text);
    void *record = nullptr;
    ASSERT_EQ(args.refRecord(4, rectType.id(), &record), S_OK);
    EXPECT_EQ(static_cast<RECT *>(record)->bottom, 4);

    QString s;
    EXPECT_EQ(args.getString(0, &s), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(args.refLong(0, &codeRef), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(args.refRecord(4, IID_IDispatch, &record), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(args.getLong(5, &n), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(args.argError(0), 4u);
    SysFreeString(text);
}

TEST(Dictionary, IsCreatableByClassIdWithoutRegistration)
{
    IUnknown *none = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Dictionary, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void **>(&none)),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(none, nullptr);

    ComApartment apartment;
    com::ComPtr<IDictionary> dict;
    ASSERT_EQ(CoCreateInstance(CLSID_Dictionary, nullptr, CLSCTX_INPROC_SERVER, IID_IDictionary, dict.putVoid()), S_OK);
    com::ComPtr<IDispatch> asDispatch;
    EXPECT_EQ(dict.as(IID_IDispatch, &asDispatch), S_OK);
    com::ComPtr<IClassFactory> notOne;
    EXPECT_EQ(dict.as(IID_IClassFactory, &notOne), E_NOINTERFACE);

    // The set of windows: key = handle as decimal text, item = the handle.
    for (LONG hwnd : {1003, 17, 250}) {
        VARIANT key = com::variantString(QString::number(hwnd));
        VARIANT item = com::variantLong(hwnd);
        EXPECT_EQ(dict->Add(&key, &item), S_OK);
        EXPECT_EQ(dict->Add(&key, &item), CTL_E_KEYALREADYEXISTS);
        VariantClear(&key);
    }
    LONG count = 0;
    dict->get_Count(&count);
    EXPECT_EQ(count, 3);

    VARIANT probe = com::variantString("17");
    VARIANT_BOOL exists = VARIANT_FALSE;
    dict->Exists(&probe, &exists);
    EXPECT_EQ(exists, VARIANT_TRUE);
    VARIANT number = com::variantLong(17); // a number is not the same key as its text
    dict->Exists(&number, &exists);
    EXPECT_EQ(exists, VARIANT_FALSE);

    VARIANT items;
    ASSERT_EQ(dict->Items(&items), S_OK);
    ASSERT_EQ(items.vt, VT_ARRAY | VT_VARIANT);
    LONG lo = -1, hi = -1;
    SafeArrayGetLBound(items.parray, 1, &lo);
    SafeArrayGetUBound(items.parray, 1, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 2);
    std::vector<LONG> inOrder;
    for (LONG i = lo; i <= hi; ++i) {
        VARIANT v;
        SafeArrayGetElement(items.parray, &i, &v);
        inOrder.push_back(v.lVal);
        VariantClear(&v);
    }
    EXPECT_EQ(inOrder, (std::vector<LONG>{1003, 17, 250}));
    VariantClear(&items);

    EXPECT_EQ(dict->Remove(&probe), S_OK);
    EXPECT_EQ(dict->Remove(&probe), CTL_E_ELEMENTNOTFOUND);
    VariantClear(&probe);

    // Late bound, by name, as a script would.
    OLECHAR name[] = u"Count";
    LPOLESTR names[] = {name};
    DISPID id = 99;
    ASSERT_EQ(asDispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    VARIANT result = com::variantEmpty();
    EXPECT_EQ(com::invoke(asDispatch.get(), id, DISPATCH_PROPERTYGET, nullptr, 0, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 2);
    EXPECT_EQ(com::invoke(asDispatch.get(), id, DISPATCH_PROPERTYGET, &result, 1, nullptr), DISP_E_BADPARAMCOUNT);
    OLECHAR bogus[] = u"Frobnicate";
    names[0] = bogus;
    EXPECT_EQ(asDispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);

    EXPECT_EQ(dict->RemoveAll(), S_OK);
    dict->get_Count(&count);
    EXPECT_EQ(count, 0);
}
