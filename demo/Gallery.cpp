// Gallery.cpp - WivoGallery: a window with one picture per bitmap depth (1, 4, 8,
// 16, 24 and 32 bits per pixel), each a CDIBitmap drawn by the library, labelled
// with its depth. A click or the arrow keys select a picture; Ctrl+C copies it to
// the clipboard, Ctrl+V puts the clipboard's picture in its place. The window
// comes back where it was left (the placement is kept in the application's profile).
//
//   WivoGallery                  shows the window
//   WivoGallery /render FOLDER   shows it, writes its pictures (depth-N.bmp) and
//                                itself (gallery.bmp) into FOLDER, then passes the
//                                8-bit picture through the clipboard onto the first
//                                (pasted.bmp, gallery-pasted.bmp) and ends
//
// Exit codes: 0 done, 1 the window or a file could not be made, 2 wrong usage (a
// German usage text on standard error).
#include <Clipboard.h>
#include <DIBitmap.h>
#include <MemoryDC.h>
#include <SimpleFont.h>
#include <WindowPlacement.h>

#include "GalleryIds.h"
#include "GalleryPictures.h"
#include "ReportWriter.h"

#include <algorithm>
#include <memory>

namespace {

const wchar_t kUsage[] = L"Aufruf: WivoGallery [/render ORDNER]\n";

// Where the window placement is kept: HKCU\Software\Wivo10u\WivoGallery\Fenster.
const wchar_t kRegistryKey[] = L"Wivo10u";
const wchar_t kProfileSection[] = L"Fenster";
const wchar_t kProfileEntry[] = L"Platzierung";

// Posted once the window is up in render mode.
const UINT WM_GALLERY_RENDER = WM_APP + 1;

// The grid: three columns of two rows. A cell holds its picture above a label of
// two lines; at the window's first size every picture is shown 1:1.
const int kColumns = 3;
const int kRows = (kGalleryPictureCount + kColumns - 1) / kColumns;
const int kGap = 14;
const int kPadding = 12;
const int kLabelHeight = 42;

const COLORREF kBackgroundTop = RGB(38, 42, 52);
const COLORREF kBackgroundBottom = RGB(20, 22, 28);
const COLORREF kPanel = RGB(50, 55, 68);
const COLORREF kPanelSelected = RGB(64, 72, 94);
const COLORREF kAccent = RGB(255, 184, 76);
const COLORREF kTitleText = RGB(242, 242, 247);
const COLORREF kDetailText = RGB(172, 178, 194);

void WriteError(const CString& strMessage)
{
    CStdStream(STD_ERROR_HANDLE).Write(L"WivoGallery: " + strMessage + L"\n");
}

CString JoinPath(const CString& strFolder, const wchar_t* pszName)
{
    CString strPath = strFolder;
    if (!strPath.IsEmpty() && strPath.Right(1) != L"\\" && strPath.Right(1) != L"/")
        strPath += L'\\';
    return strPath + pszName;
}

// "/render FOLDER"; anything else is wrong usage.
class CGalleryCommandLine : public CCommandLineInfo
{
public:
    BOOL m_bRender = FALSE;
    CString m_strFolder;
    CString m_strError;

    void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) override
    {
        if (!m_strError.IsEmpty())
            return;
        if (m_bRender && m_strFolder.IsEmpty() && !bFlag)
            m_strFolder = pszParam;
        else if (bFlag && !m_bRender && ::lstrcmpiW(pszParam, L"render") == 0)
            m_bRender = TRUE;
        else
            m_strError.Format(L"Unbekanntes Argument „%s%s“.", bFlag ? L"/" : L"", pszParam);
        if (bLast && m_strError.IsEmpty() && m_bRender && m_strFolder.IsEmpty())
            m_strError = L"/render braucht einen Ordner.";
    }
};

} // namespace

/////////////////////////////////////////////////////////////////////////////
// The view: the grid of pictures, one of them selected

class CGalleryView : public CView
{
    DECLARE_DYNCREATE(CGalleryView)

public:
    // The client size at which every picture is shown 1:1.
    static CSize GetNaturalSize();

    int GetCount() const { return kGalleryPictureCount; }
    CDIBitmap* GetPicture(int nIndex) { return m_items[nIndex].pDib.get(); }
    void Select(int nIndex);

    // The selected picture onto the clipboard, and the clipboard's picture in its
    // place. FALSE when the clipboard cannot be had or holds no picture.
    BOOL CopySelection();
    BOOL PasteIntoSelection();

protected:
    CGalleryView();

    void OnDraw(CDC* pDC) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    CRect GetCellRect(int nIndex, const CRect& rcClient) const;
    void Paint(CDC* pDC, const CRect& rcClient);
    void PaintCell(CDC* pDC, int nIndex, const CRect& rcCell);
    void BlitPicture(CDC* pDC, CDIBitmap* pDib, const CRect& rcDest);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    struct Item
    {
        std::unique_ptr<CDIBitmap> pDib;
        CString strTitle;
    };
    Item m_items[kGalleryPictureCount];
    int m_nSelected;
    // NULL when the face cannot be had: the stock GUI font stands in.
    std::unique_ptr<CSimpleFont> m_pTitleFont;
    std::unique_ptr<CSimpleFont> m_pDetailFont;
};

IMPLEMENT_DYNCREATE(CGalleryView, CView)

BEGIN_MESSAGE_MAP(CGalleryView, CView)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
END_MESSAGE_MAP()

CGalleryView::CGalleryView() : m_nSelected(0)
{
}

CSize CGalleryView::GetNaturalSize()
{
    int cxCell = kPictureWidth + 2 * kPadding;
    int cyCell = kPadding + kPictureHeight + kLabelHeight;
    return CSize(kColumns * cxCell + (kColumns + 1) * kGap, kRows * cyCell + (kRows + 1) * kGap);
}

BOOL CGalleryView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CView::PreCreateWindow(cs))
        return FALSE;
    // The pictures sit on their own background: no sunken edge around them.
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

int CGalleryView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    for (int i = 0; i < kGalleryPictureCount; ++i) {
        m_items[i].pDib.reset(new CDIBitmap);
        m_items[i].strTitle = GalleryPictureTitle(kGalleryDepths[i]);
        if (!MakeGalleryPicture(kGalleryDepths[i], *m_items[i].pDib))
            return -1;
    }
    try {
        m_pTitleFont.reset(new CSimpleFont(L"Tahoma", 10, CSimpleFont::styleBold));
        m_pDetailFont.reset(new CSimpleFont(L"Tahoma", 9, 0));
    } catch (CException* e) {
        e->Delete();
    }
    return 0;
}

void CGalleryView::Select(int nIndex)
{
    if (nIndex < 0 || nIndex >= kGalleryPictureCount || nIndex == m_nSelected)
        return;
    m_nSelected = nIndex;
    Invalidate(FALSE);
}

BOOL CGalleryView::CopySelection()
{
    CClipboard clipboard;
    return clipboard.Empty() && clipboard.Copy(m_items[m_nSelected].pDib.get());
}

BOOL CGalleryView::PasteIntoSelection()
{
    std::unique_ptr<CDIBitmap> pDib(new CDIBitmap);
    {
        CClipboard clipboard;
        if (!clipboard.Paste(pDib.get()))
            return FALSE;
    }
    m_items[m_nSelected].pDib = std::move(pDib);
    m_items[m_nSelected].strTitle = L"Eingefügt";
    Invalidate(FALSE);
    return TRUE;
}

void CGalleryView::OnEditCopy()
{
    if (!CopySelection())
        AfxMessageBox(L"Das Bild konnte nicht in die Zwischenablage kopiert werden.", MB_ICONEXCLAMATION);
}

void CGalleryView::OnEditPaste()
{
    if (!PasteIntoSelection())
        AfxMessageBox(L"Die Zwischenablage enthält kein Bild, das eingefügt werden könnte.",
                      MB_ICONEXCLAMATION);
}

void CGalleryView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CClipboard::IsFormatAvailable(CF_DIB));
}

CRect CGalleryView::GetCellRect(int nIndex, const CRect& rcClient) const
{
    int cxCell = std::max(0, (rcClient.Width() - (kColumns + 1) * kGap) / kColumns);
    int cyCell = std::max(0, (rcClient.Height() - (kRows + 1) * kGap) / kRows);
    int nColumn = nIndex % kColumns, nRow = nIndex / kColumns;
    int x = rcClient.left + kGap + nColumn * (cxCell + kGap);
    int y = rcClient.top + kGap + nRow * (cyCell + kGap);
    return CRect(x, y, x + cxCell, y + cyCell);
}

BOOL CGalleryView::OnEraseBkgnd(CDC*)
{
    return TRUE;    // OnDraw covers every pixel
}

void CGalleryView::OnDraw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    // Drawn off screen first, so that nothing flickers while the cells are built up.
    try {
        CMemoryDC dcMemory(pDC, rcClient.Size());
        Paint(&dcMemory, rcClient);
        pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMemory, 0, 0, SRCCOPY);
    } catch (CException* e) {
        e->Delete();
        Paint(pDC, rcClient);
    }
}

void CGalleryView::Paint(CDC* pDC, const CRect& rcClient)
{
    // A vertical gradient in bands of two lines.
    int cy = rcClient.Height();
    for (int y = 0; y < cy; y += 2) {
        int nMix = cy > 1 ? y * 255 / (cy - 1) : 0;
        COLORREF cr = RGB(
            (GetRValue(kBackgroundTop) * (255 - nMix) + GetRValue(kBackgroundBottom) * nMix) / 255,
            (GetGValue(kBackgroundTop) * (255 - nMix) + GetGValue(kBackgroundBottom) * nMix) / 255,
            (GetBValue(kBackgroundTop) * (255 - nMix) + GetBValue(kBackgroundBottom) * nMix) / 255);
        pDC->FillSolidRect(rcClient.left, rcClient.top + y, rcClient.Width(), 2, cr);
    }
    for (int i = 0; i < kGalleryPictureCount; ++i)
        PaintCell(pDC, i, GetCellRect(i, rcClient));
}

void CGalleryView::PaintCell(CDC* pDC, int nIndex, const CRect& rcCell)
{
    if (rcCell.IsRectEmpty())
        return;
    BOOL bSelected = nIndex == m_nSelected;
    pDC->FillSolidRect(&rcCell, bSelected ? kPanelSelected : kPanel);
    if (bSelected) {
        CRect rcFrame = rcCell;
        for (int i = 0; i < 3; ++i) {
            pDC->Draw3dRect(&rcFrame, kAccent, kAccent);
            rcFrame.DeflateRect(1, 1);
        }
    }

    // The picture, as large as fits the cell without distortion.
    CDIBitmap* pDib = m_items[nIndex].pDib.get();
    CRect rcArea(rcCell.left + kPadding, rcCell.top + kPadding, rcCell.right - kPadding,
                 rcCell.bottom - kLabelHeight);
    int cxPicture = pDib->GetSize().cx;
    int cyPicture = abs(pDib->GetSize().cy);    // a top-down bitmap has a negative height
    if (rcArea.Width() > 0 && rcArea.Height() > 0 && cxPicture > 0 && cyPicture > 0) {
        int cx = rcArea.Width(), cy = rcArea.Height();
        if (cx * cyPicture > cy * cxPicture)
            cx = std::max(1, cy * cxPicture / cyPicture);
        else
            cy = std::max(1, cx * cyPicture / cxPicture);
        CRect rcDest(CPoint(rcArea.left + (rcArea.Width() - cx) / 2,
                            rcArea.top + (rcArea.Height() - cy) / 2), CSize(cx, cy));
        if (!pDib->Draw(pDC, CRect(0, 0, cxPicture, cyPicture), rcDest, TRUE))
            BlitPicture(pDC, pDib, rcDest);
    }

    // The label: the depth as the bitmap reports it, then what it shows.
    CString strTitle;
    strTitle.Format(L"%d Bit pro Pixel", pDib->GetBitsPerPixel());
    CString strDetail = m_items[nIndex].strTitle + L" · " + ColorCountText(*pDib);
    CRect rcLabel(rcCell.left + kPadding, rcCell.bottom - kLabelHeight + 4, rcCell.right - kPadding,
                  rcCell.bottom - 4);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pStockFont = CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
    CFont* pOldFont = pDC->SelectObject(m_pTitleFont ? m_pTitleFont.get() : pStockFont);
    COLORREF crOld = pDC->SetTextColor(kTitleText);
    pDC->DrawText(strTitle, &rcLabel, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    rcLabel.top += pDC->GetTextExtent(strTitle).cy + 2;
    pDC->SelectObject(m_pDetailFont ? m_pDetailFont.get() : pStockFont);
    pDC->SetTextColor(kDetailText);
    pDC->DrawText(strDetail, &rcLabel, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SetTextColor(crOld);
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
}

void CGalleryView::BlitPicture(CDC* pDC, CDIBitmap* pDib, const CRect& rcDest)
{
    // Not every DrawDib takes every depth (some refuse 16 bits per pixel): then GDI
    // copies the section itself, so that the picture still shows.
    CDC dcPicture;
    if (!dcPicture.CreateCompatibleDC(pDC)) {
        pDC->FillSolidRect(&rcDest, kBackgroundBottom);
        return;
    }
    CBitmap* pOldBitmap = dcPicture.SelectObject(pDib);
    int nOldMode = pDC->SetStretchBltMode(COLORONCOLOR);
    CSize size = pDib->GetSize();
    pDC->StretchBlt(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), &dcPicture, 0, 0,
                    size.cx, abs(size.cy), SRCCOPY);
    pDC->SetStretchBltMode(nOldMode);
    dcPicture.SelectObject(pOldBitmap);
}

void CGalleryView::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    for (int i = 0; i < kGalleryPictureCount; ++i) {
        if (GetCellRect(i, rcClient).PtInRect(point))
            Select(i);
    }
    CView::OnLButtonDown(nFlags, point);
}

void CGalleryView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    int nColumn = m_nSelected % kColumns;
    switch (nChar) {
    case VK_LEFT:
        if (nColumn > 0)
            Select(m_nSelected - 1);
        break;
    case VK_RIGHT:
        if (nColumn + 1 < kColumns)
            Select(m_nSelected + 1);
        break;
    case VK_UP:
        Select(m_nSelected - kColumns);
        break;
    case VK_DOWN:
        Select(m_nSelected + kColumns);
        break;
    case VK_HOME:
        Select(0);
        break;
    case VK_END:
        Select(kGalleryPictureCount - 1);
        break;
    default:
        CView::OnKeyDown(nChar, nRepCnt, nFlags);
        break;
    }
}

/////////////////////////////////////////////////////////////////////////////
// The main window: keeps its placement, and renders itself on request

class CGalleryFrame : public CFrameWnd
{
public:
    // Where the window was left last time, else at its natural size in the middle
    // of the screen. Returns the show command the window got.
    int Place(int nCmdShow);
    // Writes the pictures and the window into the folder; an exit code.
    int Render(const CString& strFolder);

protected:
    CGalleryView* GetGalleryView() { return static_cast<CGalleryView*>(GetActiveView()); }
    BOOL SaveWindowPicture(const CString& strPath);

    afx_msg void OnDestroy();
    afx_msg void OnAppExit();
    afx_msg LRESULT OnRender(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CGalleryApp : public CWinApp
{
public:
    CGalleryApp() : CWinApp(L"WivoGallery"), m_nExitCode(exitOK) {}

    BOOL InitInstance() override;
    int ExitInstance() override;

    CString m_strRenderFolder;  // empty when a person looks at the window
    int m_nExitCode;
};

CGalleryApp theApp;

BEGIN_MESSAGE_MAP(CGalleryFrame, CFrameWnd)
    ON_WM_DESTROY()
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_MESSAGE(WM_GALLERY_RENDER, OnRender)
END_MESSAGE_MAP()

int CGalleryFrame::Place(int nCmdShow)
{
    CWindowPlacement placement(nCmdShow);
    CString strPlacement = theApp.GetProfileString(kProfileSection, kProfileEntry);
    if (!strPlacement.IsEmpty()) {
        placement.FromString(strPlacement);
        // A window that comes back as an icon looks as if it never started.
        if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE ||
            placement.showCmd == SW_SHOWMINNOACTIVE)
            placement.showCmd = (placement.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED
                                                                           : SW_SHOWNORMAL;
        // A rectangle that no longer fits the screen is not applied.
        if (placement.SetPlacement(this))
            return placement.showCmd;
    }
    CSize size = CGalleryView::GetNaturalSize();
    CRect rcWindow(CPoint(0, 0), size);
    ::AdjustWindowRectEx(&rcWindow, GetStyle(), TRUE, GetExStyle());
    SetWindowPos(NULL, 0, 0, rcWindow.Width(), rcWindow.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps takes more room than the estimate.
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.Size() != size) {
        rcWindow.right += size.cx - rcClient.Width();
        rcWindow.bottom += size.cy - rcClient.Height();
        SetWindowPos(NULL, 0, 0, rcWindow.Width(), rcWindow.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CenterWindow();
    return nCmdShow;
}

void CGalleryFrame::OnDestroy()
{
    // Every way out keeps the placement, closing by hand as well as the end of a render.
    CWindowPlacement placement;
    if (placement.GetPlacement(this))
        theApp.WriteProfileString(kProfileSection, kProfileEntry, placement.ToString());
    CFrameWnd::OnDestroy();
}

void CGalleryFrame::OnAppExit()
{
    SendMessage(WM_CLOSE);
}

LRESULT CGalleryFrame::OnRender(WPARAM, LPARAM)
{
    theApp.m_nExitCode = Render(theApp.m_strRenderFolder);
    DestroyWindow();
    return 0;
}

int CGalleryFrame::Render(const CString& strFolder)
{
    CGalleryView* pView = GetGalleryView();
    if (pView == NULL)
        return exitFailed;
    for (int i = 0; i < pView->GetCount(); ++i) {
        CString strName;
        strName.Format(L"depth-%d.bmp", kGalleryDepths[i]);
        CString strPath = JoinPath(strFolder, strName);
        if (!pView->GetPicture(i)->Save(strPath)) {
            WriteError(L"„" + strPath + L"“ konnte nicht geschrieben werden.");
            return exitFailed;
        }
    }
    CString strPath = JoinPath(strFolder, L"gallery.bmp");
    if (!SaveWindowPicture(strPath)) {
        WriteError(L"Das Fenster konnte nicht als „" + strPath + L"“ gespeichert werden.");
        return exitFailed;
    }

    // A round trip through the clipboard: the 8-bit picture copied, then pasted over
    // the first one.
    const int nCopied = 2;
    pView->Select(nCopied);
    BOOL bCopied = pView->CopySelection();
    pView->Select(0);
    if (!bCopied || !pView->PasteIntoSelection()) {
        WriteError(L"Das Bild ging nicht durch die Zwischenablage.");
        return exitFailed;
    }
    strPath = JoinPath(strFolder, L"pasted.bmp");
    if (!pView->GetPicture(0)->Save(strPath)) {
        WriteError(L"„" + strPath + L"“ konnte nicht geschrieben werden.");
        return exitFailed;
    }
    strPath = JoinPath(strFolder, L"gallery-pasted.bmp");
    if (!SaveWindowPicture(strPath)) {
        WriteError(L"Das Fenster konnte nicht als „" + strPath + L"“ gespeichert werden.");
        return exitFailed;
    }
    return exitOK;
}

BOOL CGalleryFrame::SaveWindowPicture(const CString& strPath)
{
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CDIBitmap dib;
    try {
        // The whole window, frame and menu included, as it is on the screen.
        CWindowDC dcWindow(this);
        CMemoryDC dcMemory(&dcWindow, rcWindow.Size());
        if (!dcMemory.BitBlt(0, 0, rcWindow.Width(), rcWindow.Height(), &dcWindow, 0, 0, SRCCOPY) ||
            !dib.CreateFromDDB(dcMemory.GetBitmap(), NULL))
            return FALSE;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return dib.Save(strPath);
}

/////////////////////////////////////////////////////////////////////////////
// The application

BOOL CGalleryApp::InitInstance()
{
    CGalleryCommandLine commandLine;
    ParseCommandLine(commandLine);
    if (!commandLine.m_strError.IsEmpty()) {
        WriteError(commandLine.m_strError + L"\n" + kUsage);
        m_nExitCode = exitUsage;
        return FALSE;
    }
    m_strRenderFolder = commandLine.m_strFolder;
    SetRegistryKey(kRegistryKey);

    CGalleryFrame* pFrame = new CGalleryFrame;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CGalleryView);
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, NULL, &context)) {
        // The frame object is gone with its window.
        WriteError(L"Das Fenster konnte nicht erstellt werden.");
        m_nExitCode = exitFailed;
        return FALSE;
    }
    m_pMainWnd = pFrame;
    m_nCmdShow = pFrame->Place(m_nCmdShow);
    pFrame->InitialUpdateFrame(NULL, TRUE);
    pFrame->UpdateWindow();
    if (!m_strRenderFolder.IsEmpty())
        pFrame->PostMessage(WM_GALLERY_RENDER);
    return TRUE;
}

int CGalleryApp::ExitInstance()
{
    CWinApp::ExitInstance();
    return m_nExitCode;
}

extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine,
                               int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
