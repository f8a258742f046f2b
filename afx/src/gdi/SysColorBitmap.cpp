// SysColorBitmap.cpp - bitmap resources drawn in the current button colours.
#include "afxwin.h"
#include "afxpriv.h"

#include <string.h>

namespace {

struct ColorMapEntry
{
    DWORD rgbqFrom;     // as an RGBQUAD reads: blue in the low byte
    int nSysColor;
};

// The standard colours of button and toolbar images.
const ColorMapEntry kSysColorMap[] = {
    { 0x000000, COLOR_BTNTEXT },
    { 0x808080, COLOR_BTNSHADOW },
    { 0xC0C0C0, COLOR_BTNFACE },
    { 0xFFFFFF, COLOR_BTNHIGHLIGHT },
};

DWORD ToRGBQuad(COLORREF cr)
{
    return ((DWORD)GetRValue(cr) << 16) | ((DWORD)GetGValue(cr) << 8) | GetBValue(cr);
}

} // namespace

HBITMAP AFXAPI AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono)
{
    HGLOBAL hResource = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = (const BYTE*)::LockResource(hResource);
    DWORD nSize = ::SizeofResource(hInst, hRsrc);
    if (pData == NULL || nSize < sizeof(BITMAPINFOHEADER))
        return NULL;
    const BITMAPINFOHEADER& bmihRes = *(const BITMAPINFOHEADER*)pData;
    if (bmihRes.biSize < sizeof(BITMAPINFOHEADER) || bmihRes.biCompression != BI_RGB
        || bmihRes.biBitCount > 8
        || bmihRes.biBitCount == 0 || bmihRes.biWidth <= 0 || bmihRes.biHeight == 0)
        return NULL;
    DWORD nColors = bmihRes.biClrUsed != 0 ? bmihRes.biClrUsed : 1u << bmihRes.biBitCount;
    if (nColors > 256)
        return NULL;
    int nWidth = bmihRes.biWidth;
    int nHeight = abs(bmihRes.biHeight);
    DWORD nStride = ((DWORD)nWidth * bmihRes.biBitCount + 31) / 32 * 4;
    ULONGLONG nOffBits = (ULONGLONG)bmihRes.biSize + nColors * sizeof(RGBQUAD);
    if (nOffBits + (ULONGLONG)nStride * nHeight > nSize)
        return NULL;

    // The colour table is changed in a copy; resources are read-only.
    struct
    {
        BITMAPINFOHEADER bmiHeader;
        RGBQUAD bmiColors[256];
    } bmi;
    memcpy(&bmi.bmiHeader, &bmihRes, sizeof(BITMAPINFOHEADER));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    memcpy(bmi.bmiColors, pData + bmihRes.biSize, nColors * sizeof(RGBQUAD));
    for (DWORD i = 0; i < nColors; i++) {
        DWORD* pColor = (DWORD*)&bmi.bmiColors[i];
        DWORD rgbq = *pColor & 0x00FFFFFF;
        for (const ColorMapEntry& entry : kSysColorMap) {
            if (rgbq != entry.rgbqFrom)
                continue;
            // A monochrome image keeps its text colour black and lets the
            // rest turn white.
            if (bMono)
                *pColor = entry.nSysColor == COLOR_BTNTEXT ? 0x000000 : 0xFFFFFF;
            else
                *pColor = ToRGBQuad(::GetSysColor(entry.nSysColor));
            break;
        }
    }

    HDC hScreen = ::GetDC(NULL);
    if (hScreen == NULL)
        return NULL;
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, nWidth, nHeight);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    BOOL bDone = FALSE;
    if (hBitmap != NULL && hMem != NULL) {
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        bDone = ::StretchDIBits(hMem, 0, 0, nWidth, nHeight, 0, 0, nWidth, nHeight,
            pData + nOffBits, (const BITMAPINFO*)&bmi, DIB_RGB_COLORS, SRCCOPY) != 0;
        ::SelectObject(hMem, hOld);
    }
    if (bMono && bDone) {
        // How a colour table turns monochrome differs between drivers; a blit from
        // colour to monochrome has one rule: white where the source's background
        // colour (white) is, black everywhere else.
        HBITMAP hMono = ::CreateBitmap(nWidth, nHeight, 1, 1, NULL);
        HDC hMonoDC = ::CreateCompatibleDC(hScreen);
        bDone = FALSE;
        if (hMono != NULL && hMonoDC != NULL) {
            HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
            HGDIOBJ hOldMono = ::SelectObject(hMonoDC, hMono);
            ::SetBkColor(hMem, RGB(255, 255, 255));
            bDone = ::BitBlt(hMonoDC, 0, 0, nWidth, nHeight, hMem, 0, 0, SRCCOPY);
            ::SelectObject(hMonoDC, hOldMono);
            ::SelectObject(hMem, hOld);
        }
        if (hMonoDC != NULL)
            ::DeleteDC(hMonoDC);
        ::DeleteObject(hBitmap);
        hBitmap = hMono;
    }
    if (hMem != NULL)
        ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
    if (!bDone && hBitmap != NULL) {
        ::DeleteObject(hBitmap);
        hBitmap = NULL;
    }
    return hBitmap;
}
