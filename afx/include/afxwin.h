// afxwin.h - the window side of the framework.
//
// Sections, in the order later parts build on each other:
//   1. geometry: CSize, CPoint, CRect (afxgeom_.h)
//   2. GDI objects and device contexts            (to come)
//   3. CCmdTarget, message maps, CWnd             (to come)
//   4. threads and the application: CWinThread, CWinApp (to come)
//   5. frames, views, documents, dialogs          (to come)
#pragma once

#include "afx.h"

/////////////////////////////////////////////////////////////////////////////
// 1. Geometry

#include "afxgeom_.h"
