// Edit.cpp - CEdit: the edit control.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

CEdit::CEdit() {}
CEdit::~CEdit() {}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"EDIT", NULL, dwStyle, rect, pParentWnd, nID);
}

namespace {

inline LRESULT Send(HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageW(hWnd, nMsg, wParam, lParam);
}

// One half of a packed selection: 0xFFFF is the -1 that the packed form cannot
// carry otherwise.
inline int Unpack(WORD w)
{
    return w == 0xFFFF ? -1 : (int)w;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Attributes

BOOL CEdit::CanUndo() const { return (BOOL)Send(m_hWnd, EM_CANUNDO); }
int CEdit::GetLineCount() const { return (int)Send(m_hWnd, EM_GETLINECOUNT); }
BOOL CEdit::GetModify() const { return (BOOL)Send(m_hWnd, EM_GETMODIFY); }
void CEdit::SetModify(BOOL bModified) { Send(m_hWnd, EM_SETMODIFY, bModified); }
void CEdit::GetRect(LPRECT lpRect) const { Send(m_hWnd, EM_GETRECT, 0, (LPARAM)lpRect); }
DWORD CEdit::GetSel() const { return (DWORD)Send(m_hWnd, EM_GETSEL); }

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD dwStart = 0, dwEnd = 0;
    Send(m_hWnd, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    nStartChar = (int)dwStart;
    nEndChar = (int)dwEnd;
}

HLOCAL CEdit::GetHandle() const { return (HLOCAL)Send(m_hWnd, EM_GETHANDLE); }
void CEdit::SetHandle(HLOCAL hBuffer) { Send(m_hWnd, EM_SETHANDLE, (WPARAM)hBuffer); }

void CEdit::SetMargins(UINT nLeft, UINT nRight)
{
    Send(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight));
}

DWORD CEdit::GetMargins() const { return (DWORD)Send(m_hWnd, EM_GETMARGINS); }
void CEdit::SetLimitText(UINT nMax) { Send(m_hWnd, EM_SETLIMITTEXT, nMax); }
UINT CEdit::GetLimitText() const { return (UINT)Send(m_hWnd, EM_GETLIMITTEXT); }

CPoint CEdit::PosFromChar(UINT nChar) const
{
    return CPoint((DWORD)Send(m_hWnd, EM_POSFROMCHAR, nChar));
}

int CEdit::CharFromPos(CPoint pt) const
{
    return (int)Send(m_hWnd, EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y));
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer) const
{
    // The caller has put the buffer's size into its first WORD.
    if (lpszBuffer == NULL)
        return 0;
    return (int)Send(m_hWnd, EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    // The size goes into the buffer's first character: a buffer needs room for one.
    if (lpszBuffer == NULL || nMaxLength < 1)
        return 0;
    *(LPWORD)lpszBuffer = (WORD)(nMaxLength > 0xFFFF ? 0xFFFF : nMaxLength);
    return (int)Send(m_hWnd, EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
}

/////////////////////////////////////////////////////////////////////////////
// Operations

void CEdit::EmptyUndoBuffer() { Send(m_hWnd, EM_EMPTYUNDOBUFFER); }
BOOL CEdit::FmtLines(BOOL bAddEOL) { return (BOOL)Send(m_hWnd, EM_FMTLINES, bAddEOL); }
void CEdit::LimitText(int nChars) { Send(m_hWnd, EM_LIMITTEXT, nChars); }
int CEdit::LineFromChar(int nIndex) const { return (int)Send(m_hWnd, EM_LINEFROMCHAR, nIndex); }
int CEdit::LineIndex(int nLine) const { return (int)Send(m_hWnd, EM_LINEINDEX, nLine); }
int CEdit::LineLength(int nLine) const { return (int)Send(m_hWnd, EM_LINELENGTH, nLine); }
void CEdit::LineScroll(int nLines, int nChars) { Send(m_hWnd, EM_LINESCROLL, nChars, nLines); }

void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo)
{
    Send(m_hWnd, EM_REPLACESEL, bCanUndo, (LPARAM)(lpszNewText != NULL ? lpszNewText : L""));
}

void CEdit::SetPasswordChar(TCHAR ch) { Send(m_hWnd, EM_SETPASSWORDCHAR, ch); }
void CEdit::SetRect(LPCRECT lpRect) { Send(m_hWnd, EM_SETRECT, 0, (LPARAM)lpRect); }
void CEdit::SetRectNP(LPCRECT lpRect) { Send(m_hWnd, EM_SETRECTNP, 0, (LPARAM)lpRect); }

void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll)
{
    SetSel(Unpack(LOWORD(dwSelection)), Unpack(HIWORD(dwSelection)), bNoScroll);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    Send(m_hWnd, EM_SETSEL, nStartChar, nEndChar);
    if (!bNoScroll)
        Send(m_hWnd, EM_SCROLLCARET);
}

BOOL CEdit::SetTabStops(int nTabStops, LPINT rgTabStops)
{
    if (nTabStops < 0 || (nTabStops > 0 && rgTabStops == NULL))
        return FALSE;
    return (BOOL)Send(m_hWnd, EM_SETTABSTOPS, nTabStops, (LPARAM)rgTabStops);
}

void CEdit::SetTabStops() { SetTabStops(0, NULL); }
BOOL CEdit::SetTabStops(const int& cxEachStop) { return SetTabStops(1, (LPINT)&cxEachStop); }

BOOL CEdit::Undo() { return (BOOL)Send(m_hWnd, EM_UNDO); }
void CEdit::Clear() { Send(m_hWnd, WM_CLEAR); }
void CEdit::Copy() { Send(m_hWnd, WM_COPY); }
void CEdit::Cut() { Send(m_hWnd, WM_CUT); }
void CEdit::Paste() { Send(m_hWnd, WM_PASTE); }

BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return (BOOL)Send(m_hWnd, EM_SETREADONLY, bReadOnly); }
int CEdit::GetFirstVisibleLine() const { return (int)Send(m_hWnd, EM_GETFIRSTVISIBLELINE); }
TCHAR CEdit::GetPasswordChar() const { return (TCHAR)Send(m_hWnd, EM_GETPASSWORDCHAR); }
