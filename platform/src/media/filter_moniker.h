// The moniker of a registered filter, as the filter mapper's enumeration
// gives it: it names the filter's key,
//   HKEY_CLASSES_ROOT\CLSID\{category}\Instance\{instance}
// BindToObject creates the filter from the class the key names
// (CoCreateInstance: the calling thread must be in COM); BindToStorage gives
// an IPropertyBag over the key's values, FriendlyName among them. Its
// display name is "@device:sw:{category}\instance".
#pragma once

#include <objidl.h>

#include <string>

namespace platform::media {

// A new moniker with one reference.
IMoniker *CreateFilterMoniker(REFCLSID category, std::wstring instance);

}  // namespace platform::media
