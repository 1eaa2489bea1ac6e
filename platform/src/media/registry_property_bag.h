// IPropertyBag over the values of a key below HKEY_CLASSES_ROOT: what a
// registered filter's moniker gives for BindToStorage (its FriendlyName,
// CLSID, ...). Strings read as VT_BSTR and REG_DWORD values as VT_I4; other
// kinds of value cannot be read through it (E_NOTIMPL). Write stores
// VT_BSTR as REG_SZ and VT_I4, VT_UI4 as REG_DWORD.
#pragma once

#include <oaidl.h>

#include <string>

namespace platform::media {

// A new bag with one reference.
IPropertyBag *CreateRegistryPropertyBag(std::wstring keyPath);

}  // namespace platform::media
