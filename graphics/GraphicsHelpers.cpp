// GraphicsHelpers.cpp - copying bitmaps and palettes, system-coloured bitmaps.
#include "GraphicsHelpers.h"

#include "DIBitmap.h"

#include <afxpriv.h>

BOOL WivoCopyBitmap(CBitmap* pDest, CBitmap* pSource)
{
    if (pDest == NULL || pSource == NULL || pSource->m_hObject == NULL
        || pDest->m_hObject != NULL)
        return FALSE;
    BITMAP bm;
    if (pSource->GetObject(sizeof(bm), &bm) != (int)sizeof(bm))
        return FALSE;
    DWORD nBytes = (DWORD)bm.bmWidthBytes * (DWORD)bm.bmHeight;
    void* pBits = ::GlobalAlloc(GMEM_FIXED, nBytes);
    if (pBits == NULL)
        return FALSE;
    BOOL bResult = FALSE;
    if (pSource->GetBitmapBits(nBytes, pBits) == nBytes) {
        bm.bmBits = pBits;
        bResult = pDest->CreateBitmapIndirect(&bm);
    }
    ::GlobalFree(pBits);
    return bResult;
}

BOOL WivoCopyBitmap(CDIBitmap* pDest, CDIBitmap* pSource)
{
    if (pDest == NULL || pSource == NULL)
        return FALSE;
    void* pInfo = pSource->GetBitmapInfo();
    if (pInfo == NULL)
        return FALSE;
    BOOL bResult = pDest->CreateFromData((const BITMAPINFO*)pInfo, pSource->GetBits());
    ::GlobalFree(pInfo);
    return bResult;
}

BOOL WivoCopyPalette(CPalette* pDest, CPalette* pSource)
{
    if (pDest == NULL || pSource == NULL)
        return FALSE;
    WORD nEntries = 0;
    ::GetObjectW(pSource->m_hObject, sizeof(nEntries), &nEntries);
    struct
    {
        WORD palVersion;
        WORD palNumEntries;
        PALETTEENTRY palPalEntry[256];
    } logPalette;
    // A palette may hold more than 256 entries.
    LOGPALETTE* pLogPalette = (LOGPALETTE*)&logPalette;
    if (nEntries > 256) {
        pLogPalette = (LOGPALETTE*)::GlobalAlloc(GMEM_FIXED,
            sizeof(LOGPALETTE) + nEntries * sizeof(PALETTEENTRY));
        if (pLogPalette == NULL)
            return FALSE;
    }
    pLogPalette->palVersion = 0x300;
    pLogPalette->palNumEntries = nEntries;
    pSource->GetPaletteEntries(0, nEntries, pLogPalette->palPalEntry);
    pDest->DeleteObject();
    BOOL bResult = pDest->Attach(::CreatePalette(pLogPalette));
    if (pLogPalette != (LOGPALETTE*)&logPalette)
        ::GlobalFree(pLogPalette);
    return bResult;
}

CBitmap* WivoLoadSysColorBitmap(HINSTANCE hInstance, UINT nIDResource, BOOL bMonochrome)
{
    HRSRC hResource = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nIDResource), RT_BITMAP);
    if (hResource == NULL)
        return NULL;
    HBITMAP hBitmap = AfxLoadSysColorBitmap(hInstance, hResource, bMonochrome);
    if (hBitmap == NULL)
        return NULL;
    CBitmap* pBitmap = new CBitmap;
    if (!pBitmap->Attach(hBitmap)) {
        ::DeleteObject(hBitmap);
        delete pBitmap;
        return NULL;
    }
    return pBitmap;
}
