// Static.cpp - CStatic: the static control.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

CStatic::CStatic() {}
CStatic::~CStatic() {}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

HICON CStatic::SetIcon(HICON hIcon)
{
    return (HICON)::SendMessageW(m_hWnd, STM_SETICON, (WPARAM)hIcon, 0);
}

HICON CStatic::GetIcon() const { return (HICON)::SendMessageW(m_hWnd, STM_GETICON, 0, 0); }

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap)
{
    return (HBITMAP)::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
}

HBITMAP CStatic::GetBitmap() const
{
    return (HBITMAP)::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0);
}

HCURSOR CStatic::SetCursor(HCURSOR hCursor)
{
    return (HCURSOR)::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_CURSOR, (LPARAM)hCursor);
}

HCURSOR CStatic::GetCursor()
{
    return (HCURSOR)::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_CURSOR, 0);
}

HENHMETAFILE CStatic::SetEnhMetaFile(HENHMETAFILE hMetaFile)
{
    return (HENHMETAFILE)::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_ENHMETAFILE, (LPARAM)hMetaFile);
}

HENHMETAFILE CStatic::GetEnhMetaFile() const
{
    return (HENHMETAFILE)::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_ENHMETAFILE, 0);
}
