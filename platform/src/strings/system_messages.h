// The system's message texts: what FormatMessageW says for an error code or
// an HRESULT.
#pragma once

#include <windows.h>

namespace platform::strings {

// The English text for a message id, without the line break that ends every
// system message; null when the system has no text for it. HRESULTs of the
// Win32 facility (0x8007xxxx) share the texts of their error codes.
const wchar_t *SystemMessageText(DWORD messageId);

}  // namespace platform::strings
