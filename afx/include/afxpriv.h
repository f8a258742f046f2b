// afxpriv.h - the framework's private messages and helpers that its users may
// rely on: module and thread state, the resource chain and string loading
// (afxstat_.h, afxdll_.h), and the messages the frame windows exchange.
#pragma once

#include "afx.h"
#include "afxstat_.h"
#include "afxdll_.h"

/////////////////////////////////////////////////////////////////////////////
// Private window messages (0x0360 .. 0x037F)

#define WM_QUERYAFXWNDPROC  0x0360  // lResult = 1 if processed by the framework's window procedure
#define WM_SIZEPARENT       0x0361  // lParam = AFX_SIZEPARENTPARAMS*
#define WM_SETMESSAGESTRING 0x0362  // wParam = string id (or 0), lParam = text (or NULL)
#define WM_IDLEUPDATECMDUI  0x0363  // wParam = bDisableIfNoHandler
#define WM_INITIALUPDATE    0x0364  // sent to the children of a new frame
#define WM_COMMANDHELP      0x0365  // lParam = help context; lResult = TRUE if handled
#define WM_HELPHITTEST      0x0366  // lParam = MAKELONG(x, y); lResult = help context
#define WM_EXITHELPMODE     0x0367
#define WM_RECALCPARENT     0x0368  // asks the frame to lay out again
#define WM_SIZECHILD        0x0369  // wParam = child id, lParam = new rectangle
#define WM_KICKIDLE         0x036A  // wakes idle processing
#define WM_QUERYCENTERWND   0x036B  // lResult = HWND to centre on
#define WM_DISABLEMODAL     0x036C  // lResult = 1 keeps the window enabled during a modal state
#define WM_FLOATSTATUS      0x036D  // wParam = FS_ flags below
#define WM_ACTIVATETOPLEVEL 0x036E  // wParam = activation state, lParam = HWND[2]
#define WM_QUERY3DCONTROLS  0x036F  // lResult != 0 if 3D controls are wanted
// 0x0370 .. 0x0372 are left out: some versions of Windows used them themselves.
#define WM_SOCKET_NOTIFY    0x0373
#define WM_SOCKET_DEAD      0x0374
#define WM_POPMESSAGESTRING 0x0375  // WM_SETMESSAGESTRING, except while tracking a menu
#define WM_HELPPROMPTADDR   0x0376  // lResult = address of the frame's prompt context
#define WM_IDLEACTIVATE     0x0378  // lParam = TRUE to activate

// Flags of WM_FLOATSTATUS.
#define FS_SHOW             0x01
#define FS_HIDE             0x02
#define FS_ACTIVATE         0x04
#define FS_DEACTIVATE       0x08
#define FS_ENABLE           0x10
#define FS_DISABLE          0x20
#define FS_SYNCACTIVE       0x40

/////////////////////////////////////////////////////////////////////////////
// Bitmaps in the system colours

// A bitmap resource of up to 8 bits per pixel as a screen-compatible bitmap
// (monochrome with bMono) whose black, dark grey, light grey and white are
// the button text, shadow, face and highlight colours now. NULL on failure.
AFX_CORE_API HBITMAP AFXAPI AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc,
    BOOL bMono = FALSE);
