// MemoryDC.cpp - off-screen drawing.
#include "MemoryDC.h"

IMPLEMENT_DYNAMIC(CMemoryDC, CDC)

CMemoryDC::CMemoryDC(CDC* pDC)
    : m_pFirstBitmap(NULL), m_pBitmap(NULL), m_bOwnBitmap(FALSE)
{
    if (!CreateCompatibleDC(pDC))
        AfxThrowResourceException();
}

CMemoryDC::CMemoryDC(CDC* pDC, CSize size)
    : m_pFirstBitmap(NULL), m_pBitmap(NULL), m_bOwnBitmap(FALSE)
{
    if (!CreateCompatibleDC(pDC) || !ReplaceBitmap(pDC, size))
        AfxThrowResourceException();
}

CMemoryDC::CMemoryDC(CWnd* pWnd, BOOL bClientArea)
    : m_pFirstBitmap(NULL), m_pBitmap(NULL), m_bOwnBitmap(FALSE)
{
    CWindowDC dcScreen(NULL);
    if (!CreateCompatibleDC(&dcScreen))
        AfxThrowResourceException();
    HWND hWnd = pWnd->GetSafeHwnd();
    CRect rc;
    BOOL bRect = bClientArea ? ::GetClientRect(hWnd, &rc) : ::GetWindowRect(hWnd, &rc);
    if (!bRect || !ReplaceBitmap(&dcScreen, rc.Size()))
        AfxThrowResourceException();
}

CMemoryDC::~CMemoryDC()
{
    if (m_pFirstBitmap != NULL) {
        // The DC must hold its own bitmap again before it and ours are deleted.
        ::SelectObject(m_hDC, m_pFirstBitmap->m_hObject);
        m_pFirstBitmap->Detach();
        delete m_pFirstBitmap;
        if (m_bOwnBitmap)
            delete m_pBitmap;
    }
}

BOOL CMemoryDC::ReplaceBitmap(CDC* pDC, CSize size)
{
    HDC hDC = pDC != NULL ? pDC->m_hDC : ::GetDC(NULL);
    HBITMAP hBitmap = hDC != NULL ? ::CreateCompatibleBitmap(hDC, size.cx, size.cy) : NULL;
    if (pDC == NULL && hDC != NULL)
        ::ReleaseDC(NULL, hDC);
    if (hBitmap == NULL)
        return FALSE;
    CBitmap* pBitmap = new CBitmap;
    pBitmap->Attach(hBitmap);
    ReplaceBitmap(pBitmap, TRUE);
    return TRUE;
}

void CMemoryDC::ReplaceBitmap(CBitmap* pBitmap, BOOL bOwned)
{
    if (pBitmap == NULL)
        return;
    if (m_pFirstBitmap == NULL) {
        m_pFirstBitmap = new CBitmap;
        CGdiObject* pFirst = SelectGdiObject(m_hDC, pBitmap->m_hObject);
        if (pFirst != NULL)
            m_pFirstBitmap->Attach(pFirst->m_hObject);
    } else {
        SelectGdiObject(m_hDC, pBitmap->m_hObject);
    }
    if (m_bOwnBitmap && m_pBitmap != NULL && m_pBitmap != pBitmap)
        delete m_pBitmap;
    m_pBitmap = pBitmap;
    m_bOwnBitmap = bOwned;
}

CBitmap* CMemoryDC::GetBitmap() const
{
    return m_pBitmap;
}
