// afxdlg_.h - dialog data exchange.
//
//   CDataExchange   the state of one UpdateData pass (CWnd::UpdateData)
//   CScrollBar      a scroll-bar control
//
// Included by afxwin.h after the application classes.
#pragma once

/////////////////////////////////////////////////////////////////////////////
// Dialog data exchange

class AFX_CORE_CLASS CDataExchange
{
public:
// Attributes
    // First field, and the one that other code depends on: TRUE while values go
    // from the controls to the members (and are checked).
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

// Operations
    // The control with that id, made the one a failed check returns to.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit control (its text is selected when a check fails).
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus back on the last prepared control and throws CUserException;
    // UpdateData catches it and returns FALSE.
    [[noreturn]] void Fail();

// Implementation
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    HWND m_hWndLastControl;
    BOOL m_bEditLastControl;
};

/////////////////////////////////////////////////////////////////////////////
// CScrollBar: a scroll-bar control

class AFX_CORE_CLASS CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)

public:
    CScrollBar();
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetScrollPos() const;
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void ShowScrollBar(BOOL bShow = TRUE);
    BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH);
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int GetScrollLimit();

    virtual ~CScrollBar();
};
