// afxver_.h - build configuration of the framework stand-in: platform headers,
// export macros, calling conventions and the diagnostic macros.
#pragma once

#ifndef UNICODE
#error The framework is built for Unicode only: define UNICODE and _UNICODE.
#endif

// The C++ standard headers do not survive the min/max macros of <windows.h>.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif

#include <windows.h>
#include <tchar.h>
#include <stdarg.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <limits.h>
#include <new>

#define _MFC_VER 0x0420

// Calling conventions as the framework spells them.
#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#define AFX_CDECL __cdecl
#define AFX_STDCALL __stdcall
#define AFX_INLINE inline
#define AFX_STATIC static
#define AFX_STATIC_DATA static
#define AFX_NOVTABLE
#define AFX_DATADEF

// Export and import of the framework DLL itself (built with _AFX_CORE_IMPL).
#define AFX_CLASS_EXPORT __declspec(dllexport)
#define AFX_CLASS_IMPORT __declspec(dllimport)
#define AFX_API_EXPORT __declspec(dllexport)
#define AFX_API_IMPORT __declspec(dllimport)
#define AFX_DATA_EXPORT __declspec(dllexport)
#define AFX_DATA_IMPORT __declspec(dllimport)

#ifdef _AFX_CORE_IMPL
#define AFX_CORE_CLASS AFX_CLASS_EXPORT
#define AFX_CORE_API   AFX_API_EXPORT
#define AFX_CORE_DATA  AFX_DATA_EXPORT
#else
#define AFX_CORE_CLASS AFX_CLASS_IMPORT
#define AFX_CORE_API   AFX_API_IMPORT
#define AFX_CORE_DATA  AFX_DATA_IMPORT
#endif

// Extension DLLs (built with _AFXEXT) export their classes with AFX_EXT_CLASS;
// their clients import them.
#ifdef _AFXEXT
#define AFX_EXT_CLASS AFX_CLASS_EXPORT
#define AFX_EXT_API   AFX_API_EXPORT
#define AFX_EXT_DATA  AFX_DATA_EXPORT
#else
#define AFX_EXT_CLASS AFX_CLASS_IMPORT
#define AFX_EXT_API   AFX_API_IMPORT
#define AFX_EXT_DATA  AFX_DATA_IMPORT
#endif

// Diagnostics: active only in debug builds, as in the framework.
#ifdef _DEBUG
AFX_CORE_API BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
AFX_CORE_API void AFX_CDECL AfxTrace(LPCTSTR lpszFormat, ...);
#define ASSERT(f) \
  do { if (!(f) && AfxAssertFailedLine(__FILE__, __LINE__)) DebugBreak(); } while (0)
#define VERIFY(f) ASSERT(f)
#define TRACE ::AfxTrace
#define DEBUG_ONLY(f) (f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#endif
#define TRACE0(sz) TRACE(_T("%s"), _T(sz))
#define TRACE1(sz, p1) TRACE(_T(sz), p1)
#define TRACE2(sz, p1, p2) TRACE(_T(sz), p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(_T(sz), p1, p2, p3)
#define ASSERT_VALID(pOb) ((void)0)
#define ASSERT_POINTER(p, type) ASSERT(((p) != NULL))
#define ASSERT_NULL_OR_POINTER(p, type) ((void)0)
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))
#define DEBUG_NEW new
#define THIS_FILE __FILE__

#ifndef _countof
#define _countof(array) (sizeof(array) / sizeof((array)[0]))
#endif
