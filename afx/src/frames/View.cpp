// View.cpp - CView: a pane of a frame that paints through OnDraw and becomes
// the frame's active view when the user clicks it.
#include "afxwin.h"
#include "afxpriv.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
    ON_WM_DESTROY()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE_VOID(WM_INITIALUPDATE, OnInitialUpdate)
END_MESSAGE_MAP()

CView::CView()
{
}

CView::~CView()
{
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        if (!AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG))
            return FALSE;
        cs.lpszClass = AFX_WNDFRAMEORVIEW;
    }
    // The border of a view is drawn as a sunken edge.
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
    }
    return TRUE;
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnDestroy()
{
    // A frame must not route commands to a view that is going.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(NULL);
    CWnd::OnDestroy();
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The view's own map; a view has no document to ask after it.
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnPrepareDC(CDC*, CPrintInfo*)
{
    // Views that scroll or scale set up the DC's mapping here.
}

void CView::OnInitialUpdate()
{
    OnUpdate(NULL, 0, NULL);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView*, CView*)
{
    if (!bActivate)
        return;
    // Only a view of the window the user works in takes the focus.
    CWnd* pTop = GetTopLevelParent();
    if (pTop != NULL && ::GetForegroundWindow() == ::GetLastActivePopup(pTop->m_hWnd))
        SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*)
{
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;

    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL) {
        // A click in the active view that lost the focus gives it back; a click
        // in another view makes that one active.
        HWND hWndFocus = ::GetFocus();
        if (pFrame->GetActiveView() == this && m_hWnd != hWndFocus &&
            !::IsChild(m_hWnd, hWndFocus))
            OnActivateView(TRUE, this, this);
        else
            pFrame->SetActiveView(this);
    }
    return nResult;
}
