// PaletteMsgHook.h - one logical palette kept realised for a window.
//
//   CPaletteMsgHook   realises its palette in the foreground when the hooked
//                     window gets the focus or may take the system palette, and
//                     in the background when another window changed it
#pragma once

#include "MsgHook.h"

class AFX_EXT_CLASS CPaletteMsgHook : public CMsgHook
{
    DECLARE_DYNAMIC(CPaletteMsgHook)

public:
// Construction
    CPaletteMsgHook();
    virtual ~CPaletteMsgHook();

// Operations
    // Hooks pWnd with pPalette (not owned; may be NULL).
    BOOL Install(CWnd* pWnd, CPalette* pPalette);

// Attributes
    CPalette* GetPalette() const;
    // Takes another palette and realises it in the foreground at once.
    void SetPalette(CPalette* pPalette);

// Overridables
    // Realises the palette in the hooked window's DC and repaints the window
    // when colours changed. The number of changed entries; 0 when nothing could
    // be done (not hooked, no palette, window gone).
    virtual int DoRealizePalette(BOOL bForeground);
    // WM_QUERYNEWPALETTE: TRUE when the palette (or that of the frame's active
    // view) changed the system palette.
    virtual BOOL OnQueryNewPalette();
    // WM_PALETTECHANGED caused by pFocusWnd: realises in the background; a
    // top-level window that changed nothing passes the news to its descendants.
    virtual void OnPaletteChanged(CWnd* pFocusWnd);
    // WM_SETFOCUS: the window comes to the foreground with its palette, then
    // gets the message.
    virtual void OnSetFocus(CWnd* pOldWnd);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    CPalette* m_pPalette;
};
