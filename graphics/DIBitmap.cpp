// DIBitmap.cpp - device-independent bitmaps.
#include "DIBitmap.h"

#include "GraphicsHelpers.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CDIBitmap, CBitmap)

namespace {

// The screen's DC for one call; unlike CWindowDC it cannot throw, and no
// member of CDIBitmap may.
class ScreenDC
{
public:
    ScreenDC() : m_hDC(::GetWindowDC(NULL)) {}
    ~ScreenDC()
    {
        if (m_hDC != NULL)
            ::ReleaseDC(NULL, m_hDC);
    }
    operator HDC() const { return m_hDC; }

private:
    ScreenDC(const ScreenDC&);
    void operator=(const ScreenDC&);
    HDC m_hDC;
};

// DrawDib lives in MSVFW32, which most programs never need: it is loaded when
// the first deep bitmap is drawn and stays for the life of the process.
struct DrawDibApi
{
    HDRAWDIB(WINAPI* pfnOpen)();
    BOOL(WINAPI* pfnClose)(HDRAWDIB);
    BOOL(WINAPI* pfnDraw)(HDRAWDIB, HDC, int, int, int, int, LPBITMAPINFOHEADER, LPVOID, int,
        int, int, int, UINT);
};

template <class F>
void Resolve(HMODULE hModule, const char* pszName, F& pfn)
{
    pfn = reinterpret_cast<F>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)));
}

DrawDibApi LoadDrawDib()
{
    DrawDibApi api = { NULL, NULL, NULL };
    HMODULE hModule = ::LoadLibraryW(L"msvfw32.dll");
    if (hModule != NULL) {
        Resolve(hModule, "DrawDibOpen", api.pfnOpen);
        Resolve(hModule, "DrawDibClose", api.pfnClose);
        Resolve(hModule, "DrawDibDraw", api.pfnDraw);
    }
    return api;
}

const DrawDibApi& DrawDib()
{
    static const DrawDibApi api = LoadDrawDib();
    return api;
}

} // namespace

CDIBitmap::CDIBitmap()
    : m_hDrawDib(NULL)
{
    memset(&m_dibSection, 0, sizeof(m_dibSection));
}

CDIBitmap::~CDIBitmap()
{
    DeleteObject();
    if (m_hDrawDib != NULL && DrawDib().pfnClose != NULL)
        DrawDib().pfnClose(m_hDrawDib);
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

BOOL CDIBitmap::IsValid() const
{
    return m_hObject != NULL;
}

CSize CDIBitmap::GetSize() const
{
    return CSize(m_dibSection.dsBmih.biWidth, m_dibSection.dsBmih.biHeight);
}

UINT CDIBitmap::GetSizeInBytes() const
{
    return m_dibSection.dsBmih.biSizeImage;
}

BYTE CDIBitmap::GetPlanes() const
{
    return LOBYTE(m_dibSection.dsBmih.biPlanes);
}

BYTE CDIBitmap::GetBitsPerPixel() const
{
    return LOBYTE(m_dibSection.dsBmih.biBitCount);
}

const void* CDIBitmap::GetBits() const
{
    return m_dibSection.dsBm.bmBits;
}

const BITMAPINFOHEADER& CDIBitmap::GetBitmapInfoHeader() const
{
    return m_dibSection.dsBmih;
}

CPalette* CDIBitmap::GetPalette() const
{
    return const_cast<CPalette*>(&m_palette);
}

int CDIBitmap::GetColorTable(RGBQUAD* pColors, int nCount) const
{
    if (m_hObject == NULL || pColors == NULL || nCount <= 0)
        return 0;
    HDC hDC = ::CreateCompatibleDC(NULL);
    if (hDC == NULL)
        return 0;
    UINT nRead = 0;
    // Fails while the section is selected into another DC.
    HGDIOBJ hOld = ::SelectObject(hDC, m_hObject);
    if (hOld != NULL) {
        nRead = ::GetDIBColorTable(hDC, 0, (UINT)nCount, pColors);
        ::SelectObject(hDC, hOld);
    }
    ::DeleteDC(hDC);
    return (int)nRead;
}

BOOL CDIBitmap::GetColorMask(DWORD* pdwMasks) const
{
    if (pdwMasks == NULL || m_dibSection.dsBmih.biBitCount <= 8)
        return FALSE;
    memcpy(pdwMasks, m_dibSection.dsBitfields, sizeof(m_dibSection.dsBitfields));
    return TRUE;
}

UINT PASCAL CDIBitmap::GetColorTableSize(const BITMAPINFOHEADER& bmih)
{
    // Deep bitmaps always reserve the three masks; palette bitmaps the whole
    // table their depth allows, however many colours they use.
    if (bmih.biBitCount > 8)
        return 3 * sizeof(DWORD);
    return (UINT)sizeof(RGBQUAD) << bmih.biBitCount;
}

void* CDIBitmap::GetBitmapInfo() const
{
    const BITMAPINFOHEADER& bmih = m_dibSection.dsBmih;
    RGBQUAD colors[256];
    const void* pTail = m_dibSection.dsBitfields;
    UINT nTail = sizeof(m_dibSection.dsBitfields);
    if (bmih.biBitCount <= 8) {
        pTail = colors;
        nTail = (UINT)GetColorTable(colors, 256) * sizeof(RGBQUAD);
    }
    BYTE* pInfo = (BYTE*)::GlobalAlloc(GMEM_FIXED, sizeof(BITMAPINFOHEADER) + nTail);
    if (pInfo == NULL)
        return NULL;
    memcpy(pInfo, &bmih, sizeof(BITMAPINFOHEADER));
    memcpy(pInfo + sizeof(BITMAPINFOHEADER), pTail, nTail);
    return pInfo;
}

/////////////////////////////////////////////////////////////////////////////
// Taking on and giving up sections

BOOL CDIBitmap::TakeOn(HGDIOBJ hBitmap)
{
    if (!CGdiObject::Attach(hBitmap))
        return FALSE;
    memset(&m_dibSection, 0, sizeof(m_dibSection));
    // Only a section describes itself in full; a plain bitmap gives back its
    // BITMAP part alone.
    if (::GetObjectW(hBitmap, sizeof(m_dibSection), &m_dibSection) == sizeof(m_dibSection)
        && CreatePalette())
        return TRUE;
    memset(&m_dibSection, 0, sizeof(m_dibSection));
    m_palette.DeleteObject();
    CGdiObject::Detach();
    return FALSE;
}

BOOL CDIBitmap::Attach(HGDIOBJ hBitmap)
{
    return TakeOn(hBitmap);
}

HGDIOBJ CDIBitmap::Detach()
{
    memset(&m_dibSection, 0, sizeof(m_dibSection));
    m_palette.DeleteObject();
    return CGdiObject::Detach();
}

BOOL CDIBitmap::DeleteObject()
{
    m_palette.DeleteObject();
    memset(&m_dibSection, 0, sizeof(m_dibSection));
    return CGdiObject::DeleteObject();
}

BOOL CDIBitmap::CreatePalette()
{
    m_palette.DeleteObject();
    int nColors = GetColorTable(s_rgbColorTable, 256);
    if (nColors > 0) {
        struct
        {
            WORD palVersion;
            WORD palNumEntries;
            PALETTEENTRY palPalEntry[256];
        } logPalette;
        logPalette.palVersion = 0x300;
        logPalette.palNumEntries = (WORD)nColors;
        for (int i = 0; i < nColors; i++) {
            logPalette.palPalEntry[i].peRed = s_rgbColorTable[i].rgbRed;
            logPalette.palPalEntry[i].peGreen = s_rgbColorTable[i].rgbGreen;
            logPalette.palPalEntry[i].peBlue = s_rgbColorTable[i].rgbBlue;
            logPalette.palPalEntry[i].peFlags = 0;
        }
        return m_palette.Attach(::CreatePalette((LOGPALETTE*)&logPalette));
    }
    // Deep bitmaps draw best on palette devices through the halftone palette.
    ScreenDC dc;
    return m_palette.Attach(::CreateHalftonePalette(dc));
}

/////////////////////////////////////////////////////////////////////////////
// Creation

BOOL CDIBitmap::CreateFromData(const BITMAPINFO* pbmi, const void* pBits)
{
    if (pbmi == NULL || pBits == NULL)
        return FALSE;
    void* pSectionBits = NULL;
    HBITMAP hSection;
    {
        ScreenDC dc;
        hSection = ::CreateDIBSection(dc, pbmi, DIB_RGB_COLORS, &pSectionBits, NULL, 0);
    }
    if (hSection == NULL)
        return FALSE;

    // A header that claims more bytes than its format holds would overrun the
    // section.
    DWORD nBytes = pbmi->bmiHeader.biSizeImage;
    BITMAP bm;
    if (::GetObjectW(hSection, sizeof(bm), &bm) != (int)sizeof(bm)
        || (ULONGLONG)nBytes > (ULONGLONG)bm.bmWidthBytes * (ULONGLONG)abs(bm.bmHeight)) {
        ::DeleteObject(hSection);
        return FALSE;
    }
    ::GdiFlush();
    memcpy(pSectionBits, pBits, nBytes);

    if ((m_hObject != NULL && !DeleteObject()) || !TakeOn(hSection)) {
        ::DeleteObject(hSection);
        return FALSE;
    }
    return TRUE;
}

BOOL CDIBitmap::CreateFromHGLOBAL(HGLOBAL hGlobal)
{
    if (hGlobal == NULL)
        return FALSE;
    const BYTE* pData = (const BYTE*)::GlobalLock(hGlobal);
    if (pData == NULL)
        return FALSE;
    // The header, the table and the bits must all lie inside the block.
    BOOL bResult = FALSE;
    SIZE_T nBlock = ::GlobalSize(hGlobal);
    if (nBlock >= sizeof(BITMAPINFOHEADER)) {
        const BITMAPINFOHEADER& bmih = *(const BITMAPINFOHEADER*)pData;
        ULONGLONG nOffBits = sizeof(BITMAPINFOHEADER) + GetColorTableSize(bmih);
        if (bmih.biSize <= nBlock && nOffBits + bmih.biSizeImage <= nBlock)
            bResult = CreateFromData((const BITMAPINFO*)pData, pData + nOffBits);
    }
    ::GlobalUnlock(hGlobal);
    return bResult;
}

BOOL CDIBitmap::CreateFromDDB(CBitmap* pBitmap, CPalette* pPalette)
{
    if (pBitmap == NULL || pBitmap->m_hObject == NULL)
        return FALSE;
    // GetDIBits refuses a bitmap selected into a DC; the copy never is.
    CBitmap copy;
    if (!WivoCopyBitmap(&copy, pBitmap))
        return FALSE;
    BITMAP bm;
    if (copy.GetObject(sizeof(bm), &bm) != (int)sizeof(bm))
        return FALSE;

    ScreenDC dc;
    HPALETTE hPalette = pPalette != NULL ? (HPALETTE)pPalette->m_hObject : NULL;
    if (hPalette == NULL)
        hPalette = (HPALETTE)::GetStockObject(DEFAULT_PALETTE);
    HPALETTE hOldPalette = ::SelectPalette(dc, hPalette, FALSE);
    ::RealizePalette(dc);

    BITMAPINFOHEADER bmih;
    memset(&bmih, 0, sizeof(bmih));
    bmih.biSize = sizeof(BITMAPINFOHEADER);
    bmih.biWidth = bm.bmWidth;
    bmih.biHeight = bm.bmHeight;
    bmih.biPlanes = 1;
    bmih.biBitCount = (WORD)(bm.bmPlanes * bm.bmBitsPixel);
    bmih.biCompression = BI_RGB;
    ULONGLONG nImage = ((ULONGLONG)bmih.biBitCount * (ULONGLONG)bm.bmWidth + 31) / 32 * 4
        * (ULONGLONG)bm.bmHeight;
    bmih.biSizeImage = (DWORD)nImage;
    UINT nTable = bmih.biBitCount <= 8 ? (UINT)sizeof(RGBQUAD) << bmih.biBitCount : 0;

    BYTE* pBlock = NULL;
    if (nImage == bmih.biSizeImage)
        pBlock = (BYTE*)::GlobalAlloc(GMEM_FIXED, sizeof(bmih) + nTable + bmih.biSizeImage);
    if (pBlock == NULL) {
        ::SelectPalette(dc, hOldPalette, FALSE);
        return FALSE;
    }
    memcpy(pBlock, &bmih, sizeof(bmih));
    BYTE* pBits = pBlock + sizeof(bmih) + nTable;
    int nLines = ::GetDIBits(dc, (HBITMAP)copy.m_hObject, 0, (UINT)bm.bmHeight, pBits,
        (BITMAPINFO*)pBlock, DIB_RGB_COLORS);
    ::SelectPalette(dc, hOldPalette, FALSE);

    BOOL bResult = nLines != 0 && CreateFromData((const BITMAPINFO*)pBlock, pBits);
    ::GlobalFree(pBlock);
    return bResult;
}

BOOL CDIBitmap::Load(const CString& strPath, UINT nFlags)
{
    DeleteObject();
    HANDLE hImage = ::LoadImageW(NULL, strPath, IMAGE_BITMAP, 0, 0,
        nFlags | LR_CREATEDIBSECTION | LR_DEFAULTSIZE | LR_LOADFROMFILE);
    if (TakeOn(hImage))
        return TRUE;
    if (hImage != NULL)
        ::DeleteObject(hImage);
    return FALSE;
}

BOOL CDIBitmap::Load(HINSTANCE hInstance, UINT nIDResource, UINT nFlags)
{
    DeleteObject();
    HANDLE hImage = ::LoadImageW(hInstance, MAKEINTRESOURCEW(nIDResource), IMAGE_BITMAP, 0, 0,
        nFlags | LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
    if (TakeOn(hImage))
        return TRUE;
    if (hImage != NULL)
        ::DeleteObject(hImage);
    return FALSE;
}

BOOL CDIBitmap::Load(UINT nIDResource, UINT nFlags)
{
    return Load(AfxGetModuleState()->m_hCurrentResourceHandle, nIDResource, nFlags);
}

/////////////////////////////////////////////////////////////////////////////
// Drawing

BOOL CDIBitmap::Draw(CDC* pDC, const CRect& rcSource, const CRect& rcDest, BOOL bForeground)
{
    if (m_hObject == NULL || pDC == NULL || pDC->m_hDC == NULL)
        return FALSE;
    CPalette* pOldPalette = pDC->SelectPalette(&m_palette, !bForeground);
    pDC->RealizePalette();

    BOOL bResult = FALSE;
    if (m_dibSection.dsBmih.biBitCount <= 8) {
        CDC dcMem;
        if (dcMem.CreateCompatibleDC(pDC)) {
            CBitmap* pOldBitmap = dcMem.SelectObject(this);
            if (pOldBitmap != NULL) {
                if (rcSource.Size() == rcDest.Size()) {
                    bResult = pDC->BitBlt(rcDest.left, rcDest.top, rcDest.Width(),
                        rcDest.Height(), &dcMem, rcSource.left, rcSource.top, SRCCOPY);
                } else {
                    int nSaved = pDC->SaveDC();
                    pDC->SetStretchBltMode(COLORONCOLOR);
                    bResult = pDC->StretchBlt(rcDest.left, rcDest.top, rcDest.Width(),
                        rcDest.Height(), &dcMem, rcSource.left, rcSource.top, rcSource.Width(),
                        rcSource.Height(), SRCCOPY);
                    pDC->RestoreDC(nSaved);
                }
                dcMem.SelectObject(pOldBitmap);
            }
        }
    } else {
        const DrawDibApi& api = DrawDib();
        if (m_hDrawDib == NULL && api.pfnOpen != NULL)
            m_hDrawDib = api.pfnOpen();
        if (m_hDrawDib != NULL && api.pfnDraw != NULL) {
            ::GdiFlush();
            bResult = api.pfnDraw(m_hDrawDib, pDC->m_hDC, rcDest.left, rcDest.top,
                rcDest.Width(), rcDest.Height(), &m_dibSection.dsBmih, m_dibSection.dsBm.bmBits,
                rcSource.left, rcSource.top, rcSource.Width(), rcSource.Height(),
                bForeground ? 0 : DDF_BACKGROUNDPAL);
        }
    }

    if (pOldPalette != NULL)
        pDC->SelectPalette(pOldPalette, TRUE);
    return bResult;
}

BOOL CDIBitmap::Draw(CDC* pDC, BOOL bForeground)
{
    // The BITMAP part has the height without its direction.
    CRect rc(0, 0, m_dibSection.dsBm.bmWidth, m_dibSection.dsBm.bmHeight);
    return Draw(pDC, rc, rc, bForeground);
}

BOOL CDIBitmap::Draw(CDC* pDC, const CPoint& ptDest, BOOL bForeground)
{
    CRect rcSource(0, 0, m_dibSection.dsBm.bmWidth, m_dibSection.dsBm.bmHeight);
    CRect rcDest(ptDest, rcSource.Size());
    return Draw(pDC, rcSource, rcDest, bForeground);
}

/////////////////////////////////////////////////////////////////////////////
// Writing

void CDIBitmap::Write(CFile* pFile, BOOL bFileHeader) const
{
    const BITMAPINFOHEADER& bmih = m_dibSection.dsBmih;
    UINT nTable = GetColorTableSize(bmih);
    if (bFileHeader) {
        static_assert(sizeof(BITMAPFILEHEADER) == 14, "the file header is packed");
        BITMAPFILEHEADER bfh;
        bfh.bfType = 0x4D42;
        bfh.bfSize = 14 + bmih.biSize + nTable + bmih.biSizeImage;
        bfh.bfReserved1 = 0;
        bfh.bfReserved2 = 0;
        bfh.bfOffBits = 14 + bmih.biSize + nTable;
        pFile->Write(&bfh, sizeof(bfh));
    }
    pFile->Write(&bmih, bmih.biSize);
    if (bmih.biBitCount <= 8) {
        // Entries the bitmap does not have are written as zero.
        RGBQUAD colors[256];
        memset(colors, 0, sizeof(colors));
        GetColorTable(colors, 256);
        pFile->Write(colors, nTable);
    } else {
        pFile->Write(m_dibSection.dsBitfields, nTable);
    }
    ::GdiFlush();
    pFile->Write(m_dibSection.dsBm.bmBits, bmih.biSizeImage);
}

HGLOBAL CDIBitmap::GetAsHGLOBAL() const
{
    if (m_hObject == NULL)
        return NULL;
    const BITMAPINFOHEADER& bmih = m_dibSection.dsBmih;
    try {
        CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE, 4096);
        file.SetLength(bmih.biSizeImage + bmih.biSize + GetColorTableSize(bmih));
        Write(&file, FALSE);
        return file.Detach();
    } catch (CException* e) {
        e->Delete();
    }
    return NULL;
}

BOOL CDIBitmap::Save(const CString& strPath) const
{
    if (m_hObject == NULL)
        return FALSE;
    try {
        CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
        Write(&file, TRUE);
        file.Close();
        return TRUE;
    } catch (CException* e) {
        e->Delete();
    }
    return FALSE;
}
