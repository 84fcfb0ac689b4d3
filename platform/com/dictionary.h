#pragma once
// The scripting runtime's Dictionary: keys with items, kept in the order
// they were added. Created by its class id like any COM class; it is part
// of the platform, so it needs no registration. Keys compare as the
// runtime's binary mode does: strings by their exact text, numbers by value.
#include "com/dispatch.h"

constexpr CLSID CLSID_Dictionary = {0xEE09B103, 0x97E0, 0x11CF, {0x97, 0x8F, 0x00, 0xA0, 0x24, 0x63, 0xE0, 0x6F}};
constexpr IID IID_IDictionary = {0x42C642C1, 0x97E1, 0x11CF, {0x97, 0x8F, 0x00, 0xA0, 0x24, 0x63, 0xE0, 0x6F}};

struct IDictionary : IDispatch {
    // Sets the item of a key, adding the key when it is new.
    virtual HRESULT put_Item(VARIANT *Key, VARIANT *pRetItem) = 0;
    // The item of a key; a key not present is added with an empty item.
    virtual HRESULT get_Item(VARIANT *Key, VARIANT *pRetItem) = 0;
    // CTL_E_KEYALREADYEXISTS when the key is present.
    virtual HRESULT Add(VARIANT *Key, VARIANT *Item) = 0;
    virtual HRESULT get_Count(LONG *pCount) = 0;
    virtual HRESULT Exists(VARIANT *Key, VARIANT_BOOL *pExists) = 0;
    // A VT_ARRAY | VT_VARIANT array, from 0, of the items or the keys in order.
    virtual HRESULT Items(VARIANT *pItemsArray) = 0;
    virtual HRESULT Keys(VARIANT *pKeysArray) = 0;
    // CTL_E_ELEMENTNOTFOUND when the key is not present.
    virtual HRESULT Remove(VARIANT *Key) = 0;
    virtual HRESULT RemoveAll() = 0;

protected:
    ~IDictionary() = default;
};

namespace com {

// The platform's own classes; null for any other class id.
IClassFactory *builtinClassFactory(const CLSID &clsid);

} // namespace com
