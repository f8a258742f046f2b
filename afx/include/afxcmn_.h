// afxcmn_.h - image lists of the common controls.
//
//   CImageList   an HIMAGELIST: creation (from sizes, a bitmap resource or by
//                merging two lists), images from bitmaps and icons, drawing,
//                overlays, dragging, and storage in an archive
//
// Like the GDI objects, an image list has a permanent object when the framework
// made or attached it, and FromHandle makes a temporary one otherwise, deleted at
// the thread's next idle time. Included by afxwin.h after the GDI classes.
#pragma once

class CHandleMap;

class AFX_CORE_CLASS CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)

public:
// Construction
    CImageList();
    // nFlags: ILC_MASK and an ILC_COLORxx depth, as ImageList_Create takes them.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // Images cx wide cut from a bitmap resource; crMask marks the transparent colour
    // (CLR_NONE for none).
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    // One image: nImage2 of the second list drawn over nImage1 of the first, moved
    // by (dx, dy).
    BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2,
        int dx, int dy);

// Attributes
    HIMAGELIST m_hImageList;

    operator HIMAGELIST() const { return GetSafeHandle(); }
    HIMAGELIST GetSafeHandle() const;

    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
    static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();

    int GetImageCount() const;
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;

// Operations
    BOOL DeleteImageList();

    // The index of the (first) new image, -1 on failure.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    // nImage -1 removes every image.
    BOOL Remove(int nImage);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    // nImage -1 appends; the index of the image, -1 on failure.
    int Replace(int nImage, HICON hIcon);
    // A new icon the caller destroys.
    HICON ExtractIcon(int nImage);
    // nStyle: ILD_NORMAL, ILD_TRANSPARENT, ILD_MASK, ILD_BLEND*, INDEXTOOVERLAYMASK(n).
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    // Makes image nImage overlay number nOverlay (1 to 4).
    BOOL SetOverlayImage(int nImage, int nOverlay);

    // The list as the common controls store it, through the archive's buffer. Read
    // needs an empty object; FALSE when the data is no image list.
    BOOL Read(CArchive* pArchive);
    BOOL Write(CArchive* pArchive);

// Dragging: one drag image per process, shown over the locked window.
    BOOL BeginDrag(int nImage, CPoint ptHotSpot);
    static void PASCAL EndDrag();
    static BOOL PASCAL DragMove(CPoint pt);
    BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot);
    static BOOL PASCAL DragShowNolock(BOOL bShow);
    // The temporary image list being dragged, NULL when none.
    static CImageList* PASCAL GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot);
    static BOOL PASCAL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL PASCAL DragLeave(CWnd* pWndLock);

// Implementation
    // Destroys the image list it holds.
    virtual ~CImageList();

private:
    CImageList(const CImageList&);
    void operator=(const CImageList&);
};

AFX_CORE_API CHandleMap* PASCAL afxMapHIMAGELIST(BOOL bCreate = FALSE);
