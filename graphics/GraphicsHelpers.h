// GraphicsHelpers.h - copying bitmaps and palettes, system-coloured bitmaps.
//
//   WivoCopyBitmap           a device-dependent or a device-independent bitmap
//                            into an independent new one
//   WivoCopyPalette          a palette's entries into a new palette
//   WivoLoadSysColorBitmap   a bitmap resource in the current system colours
#pragma once

#include <afxwin.h>

class CDIBitmap;

// pDest must hold no bitmap; it gets one of the same size, format and pixels.
AFX_EXT_API BOOL WivoCopyBitmap(CBitmap* pDest, CBitmap* pSource);
// pDest releases what it held and takes a copy of pSource's section.
AFX_EXT_API BOOL WivoCopyBitmap(CDIBitmap* pDest, CDIBitmap* pSource);
// pDest releases its palette and takes one with pSource's entries.
AFX_EXT_API BOOL WivoCopyPalette(CPalette* pDest, CPalette* pSource);
// The bitmap resource with the standard button greys, black and white mapped
// to the system colours; a new CBitmap the caller deletes, or NULL.
AFX_EXT_API CBitmap* WivoLoadSysColorBitmap(HINSTANCE hInstance, UINT nIDResource,
    BOOL bMonochrome);
