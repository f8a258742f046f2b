// ImageList.cpp - CImageList: image lists of the common controls, the calling
// thread's image-list map, and their storage in an archive.
#include "afxwin.h"

#include <objidl.h>
#include <stddef.h>

CHandleMap* PASCAL afxMapHIMAGELIST(BOOL bCreate)
{
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    if (pState->m_pmapHIMAGELIST == NULL && bCreate) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
        pState->m_pmapHIMAGELIST =
            new CHandleMap(RUNTIME_CLASS(CImageList), offsetof(CImageList, m_hImageList));
#pragma GCC diagnostic pop
    }
    return pState->m_pmapHIMAGELIST;
}

IMPLEMENT_DYNCREATE(CImageList, CObject)

CImageList::CImageList()
    : m_hImageList(NULL)
{
}

CImageList::~CImageList()
{
    DeleteImageList();
}

HIMAGELIST CImageList::GetSafeHandle() const
{
    const CImageList* p = this;
    __asm__("" : "+r"(p));      // NULL objects are asked on purpose
    return p == NULL ? NULL : p->m_hImageList;
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList)
{
    if (hImageList == NULL)
        return NULL;
    return static_cast<CImageList*>(afxMapHIMAGELIST(TRUE)->FromHandle(hImageList));
}

CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST hImageList)
{
    CHandleMap* pMap = afxMapHIMAGELIST();
    return pMap != NULL ? static_cast<CImageList*>(pMap->LookupPermanent(hImageList)) : NULL;
}

void PASCAL CImageList::DeleteTempMap()
{
    CHandleMap* pMap = afxMapHIMAGELIST();
    if (pMap != NULL)
        pMap->DeleteTemp();
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (hImageList == NULL || m_hImageList != NULL)
        return FALSE;
    afxMapHIMAGELIST(TRUE)->SetPermanent(m_hImageList = hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST hImageList = m_hImageList;
    if (hImageList != NULL) {
        CHandleMap* pMap = afxMapHIMAGELIST();
        if (pMap != NULL && pMap->LookupPermanent(hImageList) == this)
            pMap->RemoveHandle(hImageList);
        m_hImageList = NULL;
    }
    return hImageList;
}

BOOL CImageList::DeleteImageList()
{
    if (m_hImageList == NULL)
        return FALSE;
    return ::ImageList_Destroy(Detach());
}

/////////////////////////////////////////////////////////////////////////////
// Creation

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    return Attach(::ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    return Create(MAKEINTRESOURCEW(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszBitmapID, RT_BITMAP);
    return Attach(::ImageList_LoadImageW(hInst, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, 0));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2,
    int dx, int dy)
{
    return Attach(::ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList,
        nImage2, dx, dy));
}

/////////////////////////////////////////////////////////////////////////////
// Attributes and images

int CImageList::GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }
COLORREF CImageList::SetBkColor(COLORREF cr) { return ::ImageList_SetBkColor(m_hImageList, cr); }
COLORREF CImageList::GetBkColor() const { return ::ImageList_GetBkColor(m_hImageList); }

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
{
    return ::ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ::ImageList_Add(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(),
        (HBITMAP)pbmMask->GetSafeHandle());
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ::ImageList_AddMasked(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), crMask);
}

int CImageList::Add(HICON hIcon)
{
    return ::ImageList_ReplaceIcon(m_hImageList, -1, hIcon);
}

BOOL CImageList::Remove(int nImage)
{
    return ::ImageList_Remove(m_hImageList, nImage);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ::ImageList_Replace(m_hImageList, nImage, (HBITMAP)pbmImage->GetSafeHandle(),
        (HBITMAP)pbmMask->GetSafeHandle());
}

int CImageList::Replace(int nImage, HICON hIcon)
{
    return ::ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}

HICON CImageList::ExtractIcon(int nImage)
{
    return ::ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ::ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
}

BOOL CImageList::SetOverlayImage(int nImage, int nOverlay)
{
    return ::ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
}

/////////////////////////////////////////////////////////////////////////////
// Dragging

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot)
{
    return ::ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}

void PASCAL CImageList::EndDrag() { ::ImageList_EndDrag(); }
BOOL PASCAL CImageList::DragMove(CPoint pt) { return ::ImageList_DragMove(pt.x, pt.y); }
BOOL PASCAL CImageList::DragShowNolock(BOOL bShow) { return ::ImageList_DragShowNolock(bShow); }

BOOL CImageList::SetDragCursorImage(int nDrag, CPoint ptHotSpot)
{
    return ::ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
}

CImageList* PASCAL CImageList::GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot)
{
    return FromHandle(::ImageList_GetDragImage(lpPoint, lpPointHotSpot));
}

BOOL PASCAL CImageList::DragEnter(CWnd* pWndLock, CPoint point)
{
    return ::ImageList_DragEnter(pWndLock->GetSafeHwnd(), point.x, point.y);
}

BOOL PASCAL CImageList::DragLeave(CWnd* pWndLock)
{
    return ::ImageList_DragLeave(pWndLock->GetSafeHwnd());
}

/////////////////////////////////////////////////////////////////////////////
// Storage: the common controls read and write a stream; this one passes the bytes
// through the archive, so they land in its buffer like any other data.

namespace {

class CArchiveStream : public IStream
{
public:
    explicit CArchiveStream(CArchive* pArchive) : m_pArchive(pArchive), m_nPosition(0) {}
    virtual ~CArchiveStream() {}

    // Lives on the caller's stack: the counts only satisfy the interface.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == NULL)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream)
            || IsEqualIID(riid, IID_IStream)) {
            *ppv = static_cast<IStream*>(this);
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // A failing file must not unwind through the common controls' frames: its
    // exception becomes an error result here.
    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override
    {
        ULONG nRead = 0;
        HRESULT hr = S_OK;
        try {
            nRead = m_pArchive->Read(pv, cb);
            if (nRead < cb)
                hr = S_FALSE;
        } catch (CException* e) {
            e->Delete();
            hr = STG_E_READFAULT;
        }
        m_nPosition += nRead;
        if (pcbRead != NULL)
            *pcbRead = nRead;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override
    {
        HRESULT hr = S_OK;
        try {
            m_pArchive->Write(pv, cb);
        } catch (CException* e) {
            e->Delete();
            hr = STG_E_WRITEFAULT;
            cb = 0;
        }
        m_nPosition += cb;
        if (pcbWritten != NULL)
            *pcbWritten = cb;
        return hr;
    }
    // Only where the stream stands can be asked: an archive moves forward.
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD dwOrigin, ULARGE_INTEGER* pNew) override
    {
        if (dwOrigin != STREAM_SEEK_CUR || move.QuadPart != 0)
            return STG_E_INVALIDFUNCTION;
        if (pNew != NULL)
            pNew->QuadPart = m_nPosition;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    CArchive* m_pArchive;
    ULONGLONG m_nPosition;
};

} // namespace

BOOL CImageList::Read(CArchive* pArchive)
{
    if (m_hImageList != NULL || pArchive == NULL || !pArchive->IsLoading())
        return FALSE;
    CArchiveStream stream(pArchive);
    return Attach(::ImageList_Read(&stream));
}

BOOL CImageList::Write(CArchive* pArchive)
{
    if (m_hImageList == NULL || pArchive == NULL || !pArchive->IsStoring())
        return FALSE;
    CArchiveStream stream(pArchive);
    return ::ImageList_Write(m_hImageList, &stream);
}
