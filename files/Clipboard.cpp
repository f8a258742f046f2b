// Clipboard.cpp - CClipboard: the system clipboard for the lifetime of an object.
#include "Clipboard.h"

#include "DIBitmap.h"
#include "GraphicsHelpers.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

// Memory for SetClipboardData: shareable, as the clipboard has always asked of
// what it is handed; GlobalLock works on it all the same.
const UINT nClipboardAlloc = GMEM_DDESHARE;

// A framework object over a handle that belongs to someone else (the clipboard, the
// stock objects), for the length of one call. The handle is not entered in the
// handle map and not deleted.
template <class T>
struct Borrowed : T
{
    explicit Borrowed(HGDIOBJ hObject) { this->m_hObject = hObject; }
    ~Borrowed() { this->m_hObject = NULL; }
};

// Hands a global block to the clipboard, or frees it when the clipboard refuses.
BOOL SetData(UINT nFormat, HGLOBAL hGlobal)
{
    if (hGlobal == NULL)
        return FALSE;
    if (::SetClipboardData(nFormat, hGlobal) != NULL)
        return TRUE;
    ::GlobalFree(hGlobal);
    return FALSE;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Construction

CClipboard::CClipboard()
    : m_bOpen(::OpenClipboard(NULL))
{
}

CClipboard::~CClipboard()
{
    if (m_bOpen)
        ::CloseClipboard();
}

CClipboard::CClipboard(const CClipboard& other)
    : m_bOpen(other.m_bOpen)
{
}

CClipboard& CClipboard::operator=(const CClipboard& other)
{
    m_bOpen = other.m_bOpen;
    return *this;
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

UINT CClipboard::GetDataLength(UINT nFormat) const
{
    if (!m_bOpen)
        return 0;
    HANDLE hData = ::GetClipboardData(nFormat);
    return hData == NULL ? 0 : (UINT)::GlobalSize(hData);
}

UINT CClipboard::GetFormatCount()
{
    return (UINT)::CountClipboardFormats();
}

UINT CClipboard::GetFirstFormat()
{
    return ::EnumClipboardFormats(0);
}

UINT CClipboard::GetNextFormat(UINT nFormat)
{
    return ::EnumClipboardFormats(nFormat);
}

BOOL CClipboard::IsFormatAvailable(UINT nFormat)
{
    return ::IsClipboardFormatAvailable(nFormat);
}

UINT CClipboard::RegisterFormatName(const CString& strName)
{
    return ::RegisterClipboardFormatW(strName);
}

CString CClipboard::GetFormatName(UINT nFormat)
{
    // Format names are atoms: at most 255 characters.
    WCHAR szName[256];
    int nLength = ::GetClipboardFormatNameW(nFormat, szName, 256);
    if (nLength <= 0)
        return CString();
    szName[255] = L'\0';
    return CString(szName);
}

/////////////////////////////////////////////////////////////////////////////
// Operations

BOOL CClipboard::Empty()
{
    return ::EmptyClipboard();
}

BOOL CClipboard::Copy(const CString& strText)
{
    if (!m_bOpen || strText.IsEmpty())
        return FALSE;
    // The text with its terminator, as raw data of the text format.
    UINT nBytes = (UINT)((strText.GetLength() + 1) * sizeof(WCHAR));
    return Copy((LPCWSTR)strText, nBytes, CF_UNICODETEXT);
}

BOOL CClipboard::Copy(CDIBitmap* pDIBitmap)
{
    if (!m_bOpen || pDIBitmap == NULL || !pDIBitmap->IsValid())
        return FALSE;
    return SetData(CF_DIB, pDIBitmap->GetAsHGLOBAL());
}

BOOL CClipboard::Copy(CBitmap* pBitmap, CPalette* pPalette)
{
    if (pBitmap == NULL || pBitmap->m_hObject == NULL)
        return FALSE;
    Borrowed<CPalette> stockPalette(::GetStockObject(DEFAULT_PALETTE));
    if (pPalette == NULL || pPalette->m_hObject == NULL)
        pPalette = &stockPalette;
    if (!m_bOpen)
        return FALSE;

    // The clipboard gets copies of its own: it deletes them when it is emptied.
    CBitmap bitmapCopy;
    if (!WivoCopyBitmap(&bitmapCopy, pBitmap)
        || ::SetClipboardData(CF_BITMAP, bitmapCopy.m_hObject) == NULL)
        return FALSE;
    bitmapCopy.Detach();

    CPalette paletteCopy;
    if (!WivoCopyPalette(&paletteCopy, pPalette)
        || ::SetClipboardData(CF_PALETTE, paletteCopy.m_hObject) == NULL)
        return FALSE;
    paletteCopy.Detach();
    return TRUE;
}

BOOL CClipboard::Copy(const void* pData, UINT nSize, UINT nFormat)
{
    if (!m_bOpen || pData == NULL || nSize == 0)
        return FALSE;
    HGLOBAL hGlobal = ::GlobalAlloc(nClipboardAlloc, nSize);
    if (hGlobal == NULL)
        return FALSE;
    void* pBlock = ::GlobalLock(hGlobal);
    if (pBlock == NULL) {
        ::GlobalFree(hGlobal);
        return FALSE;
    }
    memcpy(pBlock, pData, nSize);
    ::GlobalUnlock(hGlobal);
    return SetData(nFormat, hGlobal);
}

BOOL CClipboard::Copy(const CObject& object, UINT nFormat)
{
    if (!m_bOpen)
        return FALSE;
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        // Serialize is not const in the framework; storing does not change the object.
        const_cast<CObject&>(object).Serialize(ar);
        ar.Close();
    }
    UINT nSize = (UINT)file.GetLength();
    BYTE* pBytes = file.Detach();
    BOOL bResult = Copy(pBytes, nSize, nFormat);
    free(pBytes);
    return bResult;
}

BOOL CClipboard::Paste(CString& strText)
{
    if (!m_bOpen)
        return FALSE;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    if (hData == NULL)
        return FALSE;
    LPCWSTR pText = (LPCWSTR)::GlobalLock(hData);
    if (pText == NULL)
        return FALSE;
    // Text from other programs is not always terminated within its block.
    SIZE_T nMax = ::GlobalSize(hData) / sizeof(WCHAR);
    strText = CString(pText, (int)wcsnlen(pText, nMax));
    ::GlobalUnlock(hData);
    return TRUE;
}

BOOL CClipboard::Paste(CDIBitmap* pDIBitmap)
{
    if (!m_bOpen || pDIBitmap == NULL)
        return FALSE;
    HANDLE hData = ::GetClipboardData(CF_DIB);
    return hData != NULL && pDIBitmap->CreateFromHGLOBAL(hData);
}

BOOL CClipboard::Paste(CBitmap* pBitmap, CPalette* pPalette)
{
    if (!m_bOpen || pBitmap == NULL)
        return FALSE;
    HANDLE hBitmap = ::GetClipboardData(CF_BITMAP);
    if (hBitmap == NULL)
        return FALSE;
    Borrowed<CBitmap> clipBitmap(hBitmap);
    if (!WivoCopyBitmap(pBitmap, &clipBitmap))
        return FALSE;
    if (pPalette == NULL)
        return TRUE;

    if (pPalette->m_hObject != NULL && !pPalette->DeleteObject())
        return FALSE;
    if (!::IsClipboardFormatAvailable(CF_PALETTE))
        return pPalette->Attach(::GetStockObject(DEFAULT_PALETTE));
    HANDLE hPalette = ::GetClipboardData(CF_PALETTE);
    if (hPalette == NULL)
        return FALSE;
    Borrowed<CPalette> clipPalette(hPalette);
    return WivoCopyPalette(pPalette, &clipPalette);
}

BOOL CClipboard::Paste(void* pBuffer, UINT nSize, UINT nFormat)
{
    if (!m_bOpen || pBuffer == NULL || nSize == 0)
        return FALSE;
    HANDLE hData = ::GetClipboardData(nFormat);
    // Never read past the data, whatever the caller asks for.
    if (hData == NULL || ::GlobalSize(hData) < nSize)
        return FALSE;
    const void* pData = ::GlobalLock(hData);
    if (pData == NULL)
        return FALSE;
    memcpy(pBuffer, pData, nSize);
    ::GlobalUnlock(hData);
    return TRUE;
}

BOOL CClipboard::Paste(CObject& object, UINT nFormat)
{
    UINT nSize = GetDataLength(nFormat);
    if (nSize == 0)
        return FALSE;
    BYTE* pBytes = (BYTE*)malloc(nSize);
    if (pBytes == NULL || !Paste(pBytes, nSize, nFormat)) {
        free(pBytes);
        return FALSE;
    }
    try {
        CMemFile file(pBytes, nSize);
        CArchive ar(&file, CArchive::load, 4096);
        object.Serialize(ar);
        ar.Close();
    } catch (...) {
        free(pBytes);
        throw;
    }
    free(pBytes);
    return TRUE;
}
