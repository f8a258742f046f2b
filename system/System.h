// System.h - the system facade.
//
//   CSystem   static functions that ask the platform about the machine, the process
//             and its environment; it has no objects and keeps no per-object data
#pragma once

#include <afx.h>

class AFX_EXT_CLASS CSystem
{
// Error texts
public:
    // The system's text for a Win32 error code without its final line break; when the
    // system has none, "<no message available> - Fehler: <code in decimal>". Further
    // arguments are accepted for compatibility and ignored. Never throws.
    static CString AFX_CDECL GetErrorMessage(DWORD dwErrorCode, ...);
};
