// AssertTrace.cpp - the diagnostics behind ASSERT and TRACE of debug builds. The
// framework itself is built without _DEBUG, but debug builds of applications and
// extension DLLs call these, so they are always exported.
#include "StateImpl.h"

#include <stdio.h>

#ifndef _DEBUG
AFX_CORE_API BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
AFX_CORE_API void AFX_CDECL AfxTrace(LPCTSTR lpszFormat, ...);
#endif

BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine)
{
    char szMessage[MAX_PATH + 64];
    _snprintf(szMessage, sizeof(szMessage) - 1, "Assertion failed: %s(%d)\n",
              lpszFileName != NULL ? lpszFileName : "?", nLine);
    szMessage[sizeof(szMessage) - 1] = 0;
    ::OutputDebugStringA(szMessage);
    // Break only where someone can look at it; otherwise carry on as a release
    // build would.
    return ::IsDebuggerPresent();
}

void AFX_CDECL AfxTrace(LPCTSTR lpszFormat, ...)
{
    if (lpszFormat == NULL)
        return;
    WCHAR szBuffer[512];
    va_list args;
    va_start(args, lpszFormat);
    // The platform's own formatter: %s is a wide string, as the framework's
    // callers expect of TRACE.
    int n = _vsnwprintf(szBuffer, _countof(szBuffer) - 1, lpszFormat, args);
    va_end(args);
    if (n < 0)
        n = _countof(szBuffer) - 1;   // truncated: show what fitted
    szBuffer[n] = 0;
    ::OutputDebugStringW(szBuffer);
}
