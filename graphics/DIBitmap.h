// DIBitmap.h - device-independent bitmaps.
//
//   CDIBitmap   a CBitmap whose handle is always a DIB section; keeps the
//               section's description and a palette of its colours, reads and
//               writes bitmap files and packed bitmaps in global memory (the
//               clipboard's CF_DIB form), and draws itself on any DC
#pragma once

#include <afxwin.h>
#include <vfw.h>

class AFX_EXT_CLASS CDIBitmap : public CBitmap
{
    DECLARE_DYNAMIC(CDIBitmap)

public:
// Construction
    CDIBitmap();
    virtual ~CDIBitmap();

    // A new section with the given format and colours, holding biSizeImage
    // bytes (of the given header) copied from pBits. On failure before the old
    // bitmap is released the object keeps what it held.
    BOOL CreateFromData(const BITMAPINFO* pbmi, const void* pBits);
    // The packed bitmap (header, colour table or masks, bits) in a global
    // block; the block stays the caller's.
    BOOL CreateFromHGLOBAL(HGLOBAL hGlobal);
    // A device-dependent bitmap converted with pPalette (the default palette
    // when NULL); pBitmap may be selected into a DC.
    BOOL CreateFromDDB(CBitmap* pBitmap, CPalette* pPalette);

    // Bitmap files and resources: the held bitmap is released first, so a
    // failed load leaves the object empty. nFlags are LoadImage's LR_ flags.
    BOOL Load(const CString& strPath, UINT nFlags = 0);
    BOOL Load(HINSTANCE hInstance, UINT nIDResource, UINT nFlags = 0);
    BOOL Load(UINT nIDResource, UINT nFlags = 0);     // current resource handle

    // Takes on a DIB section without releasing a held one (it fails then, and
    // for a handle that is not a section; the handle stays the caller's).
    BOOL Attach(HGDIOBJ hBitmap);
    // Gives the section back to the caller; the object is empty afterwards.
    HGDIOBJ Detach();
    BOOL DeleteObject();

// Attributes
    BOOL IsValid() const;
    CSize GetSize() const;              // a bottom-up height stays negative
    UINT GetSizeInBytes() const;
    BYTE GetPlanes() const;
    BYTE GetBitsPerPixel() const;
    const void* GetBits() const;
    const BITMAPINFOHEADER& GetBitmapInfoHeader() const;
    CPalette* GetPalette() const;
    // Up to nCount entries of the section's colour table; the number read.
    int GetColorTable(RGBQUAD* pColors, int nCount) const;
    // The red, green and blue masks of a bitmap above 8 bits per pixel.
    BOOL GetColorMask(DWORD* pdwMasks) const;
    // Header plus colours (or masks) in a GMEM_FIXED block the caller frees.
    void* GetBitmapInfo() const;
    // The packed bitmap in a new moveable, shareable block the caller owns.
    HGLOBAL GetAsHGLOBAL() const;

// Operations
    // Palette bitmaps are blitted (stretched only when the sizes differ),
    // deeper ones go through DrawDib.
    BOOL Draw(CDC* pDC, const CRect& rcSource, const CRect& rcDest, BOOL bForeground);
    BOOL Draw(CDC* pDC, BOOL bForeground);
    BOOL Draw(CDC* pDC, const CPoint& ptDest, BOOL bForeground);
    // A bitmap file; FALSE without a bitmap or when the file cannot be written.
    BOOL Save(const CString& strPath) const;

protected:
    BOOL CreatePalette();
    void Write(CFile* pFile, BOOL bFileHeader) const;
    static UINT PASCAL GetColorTableSize(const BITMAPINFOHEADER& bmih);

    DIBSECTION m_dibSection;
    CPalette m_palette;
    HDRAWDIB m_hDrawDib;

    // CreatePalette reads colour tables through this one table.
    static RGBQUAD s_rgbColorTable[256];

private:
    BOOL TakeOn(HGDIOBJ hBitmap);
};
