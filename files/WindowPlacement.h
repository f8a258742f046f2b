// WindowPlacement.h - a window's placement to be saved and restored.
//
//   CWindowPlacement   the platform's WINDOWPLACEMENT record plus the show command to
//                      restore with; read from a window, applied to a window only when
//                      its normal rectangle fits the screen (or the parent) of today,
//                      kept as the text "left,top,right,bottom,flags,showCmd" or as the
//                      44-byte record in an archive
//
// A value class: copy and assign it freely.
#pragma once

#include <afxwin.h>

class CStringTokenizer;

class AFX_EXT_CLASS CWindowPlacement : public WINDOWPLACEMENT
{
public:
// Construction
    // An empty placement (all fields 0, length set); nDefaultShowCmd is the show
    // command SetPlacement uses instead of the stored one (see there).
    CWindowPlacement();
    explicit CWindowPlacement(int nDefaultShowCmd);
    CWindowPlacement(const CWindowPlacement& other);
    CWindowPlacement& operator=(const CWindowPlacement& other);

// Attributes
    operator WINDOWPLACEMENT*() { return this; }
    int GetDefaultShowCommand() const;
    void SetDefaultShowCommand(int nDefaultShowCmd);
    // The separator of the text form.
    static wchar_t GetFieldSeparator();

    static const wchar_t s_chFieldSeparator;

// Operations
    // The window's placement now; FALSE for no window.
    BOOL GetPlacement(CWnd* pWnd);
    // Applies the placement to the window when its normal rectangle is not empty, not
    // larger than the available area (the parent's client area for a child window, the
    // work area otherwise) and meets that area. A default show command other than
    // SW_SHOWNORMAL and SW_SHOWDEFAULT replaces the stored one first. FALSE, and the
    // window unchanged, when the placement does not fit or the window is gone.
    BOOL SetPlacement(CWnd* pWnd);

    // "left,top,right,bottom,flags,showCmd" in decimal.
    CString ToString() const;
    // Reads that form; numbers may be written in any C base ("0x10"). Missing or empty
    // fields are 0, except showCmd, which is SW_SHOWNORMAL; more fields are ignored.
    void FromString(const CString& strText);

protected:
    static long GetNextValueAsLong(CStringTokenizer& tokenizer, long lDefault);
    static UINT GetNextValueAsUInt(CStringTokenizer& tokenizer, UINT nDefault);

    int m_nDefaultShowCmd;
};

// The 44-byte WINDOWPLACEMENT record as it lies in memory. Loading always gives a
// length of 44 and zero minimised and maximised positions.
AFX_EXT_API CArchive& AFXAPI operator<<(CArchive& ar, const CWindowPlacement& placement);
AFX_EXT_API CArchive& AFXAPI operator>>(CArchive& ar, CWindowPlacement& placement);
