// WindowImpl.h - what the window sources of the framework share; not part of
// the public headers.
#pragma once

#include "afxwin.h"

namespace afxwnd {

// The map a map derives from, or NULL for CCmdTarget's.
const AFX_MSGMAP* BaseMap(const AFX_MSGMAP* pMap);

// The entry of pMap's chain for a window message (not WM_COMMAND/WM_NOTIFY),
// looked up once per map and message and then remembered for the thread.
const AFX_MSGMAP_ENTRY* FindWindowMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg);

// The permanent object of hWnd in the calling thread's map, NULL if none.
CWnd* LookupPermanent(HWND hWnd);

} // namespace afxwnd
