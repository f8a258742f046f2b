// ModuleFileNameInternal.h - the file name of a loaded module, for the two version
// readers that accept a module handle. Not part of the SDK.
#pragma once

#include <afx.h>

namespace wivo {

// Empty when the module is unknown or its name does not fit MAX_PATH (a cut-off name
// would name the wrong file); GetLastError then tells why.
CString ModuleFileName(HINSTANCE hModule);

} // namespace wivo
