// afx.h - the non-window core of the framework: objects and run-time class
// information, strings, exceptions, files, archives, time, and module state.
#pragma once

#include "afxver_.h"

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

class CObject;
class CRuntimeClass;
class CArchive;
class CDumpContext;
class CFile;
class CString;
class CException;
class CFileException;

#include "afxobj_.h"   // CObject, CRuntimeClass, the DECLARE_/IMPLEMENT_ macros, CDumpContext
#include "afxstr_.h"   // CString
#include "afxexc_.h"   // CException and the framework's exception classes, AfxThrow...
#include "afxfile_.h"  // CFile, CStdioFile, CMemFile, CSharedFile, CFileStatus
#include "afxarc_.h"   // CArchive
#include "afxtime_.h"  // CTimeSpan, CTime
#include "afxstat_.h"  // module and thread state, AFX_MANAGE_STATE
#include "afxdll_.h"   // extension modules and the resource chain
