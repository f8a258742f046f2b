// Clipboard.h - the system clipboard, held open for the lifetime of an object.
//
//   CClipboard   moves text, device-independent bitmaps, device-dependent bitmaps
//                with their palette, raw bytes under any format and serialised
//                objects to and from the clipboard; lists, names, registers and
//                tests clipboard formats
//
// Construct one on the stack for one exchange: while it exists no other window can
// open the clipboard. Failures are FALSE (or 0, or an empty string); nothing throws
// from the clipboard side. When another window holds the clipboard open at
// construction, every Copy and Paste of the object returns FALSE.
#pragma once

#include <afxwin.h>

class CDIBitmap;

class AFX_EXT_CLASS CClipboard
{
public:
// Construction
    // Opens the clipboard without an owner window; it stays open until destruction.
    CClipboard();
    // Closes the clipboard if this object opened it.
    ~CClipboard();
    // A copy or assignment takes over the open state as it is (both objects then
    // close the clipboard at their end; the second close is refused harmlessly).
    CClipboard(const CClipboard& other);
    CClipboard& operator=(const CClipboard& other);

// Attributes
    // The allocated size of the format's data (it may exceed the data itself); 0 when
    // the clipboard is not open here or holds nothing of the format.
    UINT GetDataLength(UINT nFormat) const;

    // The formats on the clipboard. GetFirstFormat and GetNextFormat enumerate them
    // (0 after the last) and need the clipboard open on this thread.
    static UINT GetFormatCount();
    static UINT GetFirstFormat();
    static UINT GetNextFormat(UINT nFormat);
    static BOOL IsFormatAvailable(UINT nFormat);
    // A format number for the name, the same in every program that registers it.
    static UINT RegisterFormatName(const CString& strName);
    // The name of a registered format; empty for the predefined formats.
    static CString GetFormatName(UINT nFormat);

// Operations
    // Empties the clipboard and makes this program its owner.
    BOOL Empty();

    // To the clipboard. The clipboard takes copies; the arguments stay the caller's.
    // FALSE for an empty text or bitmap and for no data.
    BOOL Copy(const CString& strText);                        // CF_UNICODETEXT
    BOOL Copy(CDIBitmap* pDIBitmap);                          // CF_DIB
    // CF_BITMAP and CF_PALETTE; the stock default palette when pPalette is NULL or
    // empty. If only the palette cannot be set, the bitmap stays on the clipboard.
    BOOL Copy(CBitmap* pBitmap, CPalette* pPalette);
    BOOL Copy(const void* pData, UINT nSize, UINT nFormat);
    // The object's Serialize output. Its exceptions reach the caller.
    BOOL Copy(const CObject& object, UINT nFormat);

    // From the clipboard; FALSE when the format is not there.
    BOOL Paste(CString& strText);
    // pDIBitmap releases what it held and takes the clipboard's bitmap.
    BOOL Paste(CDIBitmap* pDIBitmap);
    // pBitmap must hold no bitmap. pPalette may be NULL; otherwise it releases its
    // palette and takes the clipboard's, or the stock default palette if there is none.
    BOOL Paste(CBitmap* pBitmap, CPalette* pPalette);
    // Exactly nSize bytes; FALSE if the data is shorter (ask GetDataLength first).
    BOOL Paste(void* pBuffer, UINT nSize, UINT nFormat);
    // Restores the object with its Serialize from the format's data. Its exceptions
    // reach the caller.
    BOOL Paste(CObject& object, UINT nFormat);

protected:
    BOOL m_bOpen;
};
