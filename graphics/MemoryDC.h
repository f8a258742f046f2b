// MemoryDC.h - off-screen drawing.
//
//   CMemoryDC   a memory DC that creates, selects and releases its own bitmap,
//               and selects the DC's first bitmap back before the DC goes
#pragma once

#include <afxwin.h>

class AFX_EXT_CLASS CMemoryDC : public CDC
{
    DECLARE_DYNAMIC(CMemoryDC)

public:
// Construction: each form throws CResourceException when the DC or its
// bitmap cannot be created.
    // Compatible with pDC (the screen when NULL), without a bitmap of its own.
    explicit CMemoryDC(CDC* pDC = NULL);
    // With a bitmap of the given size compatible with pDC.
    CMemoryDC(CDC* pDC, CSize size);
    // With a screen-compatible bitmap of the window's client area (or, with
    // bClientArea FALSE, of the whole window).
    CMemoryDC(CWnd* pWnd, BOOL bClientArea);
    virtual ~CMemoryDC();

// Operations
    // Selects a new bitmap compatible with pDC (the screen when NULL), owned by
    // this DC. FALSE, and nothing changed, when it cannot be created.
    BOOL ReplaceBitmap(CDC* pDC, CSize size);
    // Selects pBitmap; with bOwned the DC deletes it (a heap object) when it is
    // replaced or the DC goes. An owned bitmap selected before is deleted now.
    void ReplaceBitmap(CBitmap* pBitmap, BOOL bOwned);

// Attributes
    CBitmap* GetBitmap() const;     // NULL before a bitmap was selected

protected:
    CBitmap* m_pFirstBitmap;
    CBitmap* m_pBitmap;
    BOOL m_bOwnBitmap;

private:
    CMemoryDC(const CMemoryDC&);
    void operator=(const CMemoryDC&);
};
