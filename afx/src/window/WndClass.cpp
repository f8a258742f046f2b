// WndClass.cpp - window classes of the framework: generated classes with given
// attributes, and the standard classes registered on first use.
#include "afxwin.h"
#include "afxres.h"

#include <stdio.h>

BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass)
{
    WNDCLASSW wndcls;
    // Registered already (by this module, or by an earlier call): fine.
    if (::GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &wndcls))
        return TRUE;
    return ::RegisterClassW(lpWndClass) != 0;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground,
    HICON hIcon)
{
    // The name says everything that makes the class: the same attributes give
    // the same class, so each combination is registered once.
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    LPTSTR lpszName = pThreadState->m_szTempClassName;
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL) {
        swprintf(lpszName, _countof(pThreadState->m_szTempClassName), L"Afx:%p:%x",
            (void*)hInst, nClassStyle);
    } else {
        swprintf(lpszName, _countof(pThreadState->m_szTempClassName), L"Afx:%p:%x:%p:%p:%p",
            (void*)hInst, nClassStyle, (void*)hCursor, (void*)hbrBackground, (void*)hIcon);
    }

    WNDCLASSW wndcls;
    if (::GetClassInfoW(hInst, lpszName, &wndcls))
        return lpszName;

    memset(&wndcls, 0, sizeof(wndcls));
    wndcls.style = nClassStyle;
    wndcls.lpfnWndProc = ::DefWindowProcW;   // the creation hook puts AfxWndProc in
    wndcls.hInstance = hInst;
    wndcls.hIcon = hIcon;
    wndcls.hCursor = hCursor;
    wndcls.hbrBackground = hbrBackground;
    wndcls.lpszClassName = lpszName;
    if (!AfxRegisterClass(&wndcls))
        AfxThrowResourceException();
    return lpszName;
}

namespace {

BOOL RegisterStandard(LPCTSTR lpszName, UINT nStyle, HBRUSH hbr, HICON hIcon)
{
    WNDCLASSW wndcls;
    memset(&wndcls, 0, sizeof(wndcls));
    wndcls.style = nStyle;
    wndcls.lpfnWndProc = ::DefWindowProcW;
    wndcls.hInstance = AfxGetInstanceHandle();
    wndcls.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
    wndcls.hbrBackground = hbr;
    wndcls.hIcon = hIcon;
    wndcls.lpszClassName = lpszName;
    return AfxRegisterClass(&wndcls);
}

// Frames show the application's icon when it has one (AFX_IDI_STD_FRAME and the
// main frame's resource id are the application's business), else the system's.
HICON FrameIcon()
{
    HICON hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(AFX_IDI_STD_FRAME));
    return hIcon != NULL ? hIcon : ::LoadIconW(NULL, IDI_APPLICATION);
}

} // namespace

BOOL AFXAPI AfxDeferRegisterClass(LONG fToRegister)
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    LONG fToDo = fToRegister & ~(LONG)pModuleState->m_fRegisteredClasses;
    if (fToDo == 0)
        return TRUE;

    LONG fDone = 0;
    const UINT nStd = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    if ((fToDo & AFX_WND_REG) && RegisterStandard(AFX_WND, nStd, NULL, NULL))
        fDone |= AFX_WND_REG;
    if ((fToDo & AFX_WNDFRAMEORVIEW_REG) &&
        RegisterStandard(AFX_WNDFRAMEORVIEW, nStd, (HBRUSH)(COLOR_WINDOW + 1), FrameIcon()))
        fDone |= AFX_WNDFRAMEORVIEW_REG;
    if ((fToDo & AFX_WNDMDIFRAME_REG) &&
        RegisterStandard(AFX_WNDMDIFRAME, CS_DBLCLKS, NULL, FrameIcon()))
        fDone |= AFX_WNDMDIFRAME_REG;
    if ((fToDo & AFX_WNDCONTROLBAR_REG) &&
        RegisterStandard(AFX_WNDCONTROLBAR, CS_DBLCLKS, (HBRUSH)(COLOR_BTNFACE + 1), NULL))
        fDone |= AFX_WNDCONTROLBAR_REG;
    if (fToDo & (AFX_WNDCOMMCTLS_REG | AFX_WNDCOMMCTL_UPDOWN_REG)) {
        INITCOMMONCONTROLSEX init;
        init.dwSize = sizeof(init);
        init.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
            ICC_COOL_CLASSES | ICC_INTERNET_CLASSES;
        if (::InitCommonControlsEx(&init))
            fDone |= fToDo & (AFX_WNDCOMMCTLS_REG | AFX_WNDCOMMCTL_UPDOWN_REG);
    }

    pModuleState->m_fRegisteredClasses |= (DWORD)fDone;
    return (fDone & fToDo) == fToDo;
}
