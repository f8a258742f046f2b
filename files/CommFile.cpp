// CommFile.cpp - CCommFile.
#include "CommFile.h"

#include <afxwin.h>

#include <string.h>

IMPLEMENT_DYNAMIC(CCommFile, CFile)

namespace {

const LONG kBadName = ERROR_BAD_UNIT;   // 20: what a malformed port name reports

void ZeroDCB(DCB& dcb)
{
    memset(&dcb, 0, sizeof(dcb));
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Construction

CCommFile::CCommFile()
{
    ZeroDCB(m_dcb);
    m_dcb.DCBlength = sizeof(DCB);
    memset(&m_timeouts, 0, sizeof(m_timeouts));
}

CCommFile::CCommFile(int hFile)
    : CFile(hFile)
{
    memset(&m_timeouts, 0, sizeof(m_timeouts));
    ZeroDCB(m_dcb);
    m_dcb.DCBlength = sizeof(DCB);
    if (!::GetCommState(PortHandle(), &m_dcb))
        ZeroDCB(m_dcb);
    UpdateTimeouts(TRUE);
}

CCommFile::CCommFile(LPCTSTR lpszPort, UINT nOpenFlags)
{
    ZeroDCB(m_dcb);
    m_dcb.DCBlength = sizeof(DCB);
    memset(&m_timeouts, 0, sizeof(m_timeouts));
    CFileException e;
    if (!Open(lpszPort, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CCommFile::~CCommFile()
{
}

/////////////////////////////////////////////////////////////////////////////
// Opening

BOOL CCommFile::Open(LPCTSTR lpszPort, UINT nOpenFlags, CFileException* pError)
{
    try {
        CString strPort(lpszPort != NULL ? lpszPort : _T(""));
        if (strPort.GetLength() < 4)
            AfxThrowFileException(CFileException::badPath, kBadName, strPort);

        CString strDevice = strPort;
        CString strMode;
        int nColon = strPort.Find(_T(':'));
        if (nColon >= 0) {
            strDevice = strPort.Left(nColon);
            strMode = strPort.Mid(nColon + 1);
        }
        if (strDevice.GetLength() > 6)
            AfxThrowFileException(CFileException::badPath, kBadName, strPort);

        CString strKind = strDevice.Left(3);
        BOOL bCom = strKind == _T("COM");
        BOOL bLpt = strKind == _T("LPT");
        long nNumber = 0;
        if (strDevice.GetLength() > 3)
            nNumber = wcstol((LPCTSTR)strDevice + 3, NULL, 10);
        if ((!bCom && !bLpt) || nNumber <= 0 || nNumber > 256)
            AfxThrowFileException(CFileException::badPath, kBadName, strDevice);

        // Only the first nine ports have reserved DOS names; the others need the
        // device namespace.
        CString strPath = strDevice;
        if (nNumber >= 10)
            strPath = _T("\\\\.\\") + strDevice;
        CFileException eOpen;
        if (!CFile::Open(strPath, nOpenFlags, &eOpen))
            AfxThrowFileException(eOpen.m_cause, eOpen.m_lOsError, strDevice);

        if (bCom && !::SetupComm(PortHandle(), 1024, 4096))
            CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);

        if (!strMode.IsEmpty()) {
            m_dcb.DCBlength = sizeof(DCB);
            BOOL bOk = ::GetCommState(PortHandle(), &m_dcb);
            if (bOk) {
                // Flow-control defaults that the mode text may override.
                m_dcb.XonLim = 2048;
                m_dcb.XoffLim = 512;
                m_dcb.XonChar = 17;
                m_dcb.XoffChar = 19;
                bOk = ::BuildCommDCBW(strMode, &m_dcb) && ::SetCommState(PortHandle(), &m_dcb)
                      && ::GetCommTimeouts(PortHandle(), &m_timeouts);
            }
            if (!bOk) {
                LONG lError = (LONG)::GetLastError();
                AfxThrowFileException(CFileException::OsErrorToException(lError), lError,
                                      strDevice);
            }
            return TRUE;
        }

        if (bCom) {
            UpdateDCB(TRUE);
        } else {
            ZeroDCB(m_dcb);
        }
        UpdateTimeouts(TRUE);
        return TRUE;
    } catch (CFileException* e) {
        if (pError != NULL) {
            pError->m_cause = e->m_cause;
            pError->m_lOsError = e->m_lOsError;
            pError->m_strFileName = e->m_strFileName;
        }
        e->Delete();
        return FALSE;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Settings

void CCommFile::ThrowLastError() const
{
    LONG lError = (LONG)::GetLastError();
    // A failed call that left no error code still has to fail.
    CFileException::ThrowOsError(lError != 0 ? lError : ERROR_GEN_FAILURE, m_strFileName);
}

void CCommFile::UpdateDCB(BOOL bGet)
{
    BOOL bOk;
    if (bGet) {
        m_dcb.DCBlength = sizeof(DCB);
        bOk = ::GetCommState(PortHandle(), &m_dcb);
    } else {
        bOk = ::SetCommState(PortHandle(), &m_dcb);
    }
    if (!bOk)
        ThrowLastError();
}

void CCommFile::UpdateTimeouts(BOOL bGet)
{
    BOOL bOk = bGet ? ::GetCommTimeouts(PortHandle(), &m_timeouts)
                    : ::SetCommTimeouts(PortHandle(), &m_timeouts);
    if (!bOk)
        ThrowLastError();
}

void CCommFile::BuildDCB(LPCTSTR lpszMode)
{
    if (!::BuildCommDCBW(lpszMode, &m_dcb))
        ThrowLastError();
}

void CCommFile::BuildDCBAndTimeouts(LPCTSTR lpszMode)
{
    if (!::BuildCommDCBAndTimeoutsW(lpszMode, &m_dcb, &m_timeouts))
        ThrowLastError();
}

void CCommFile::SetBufferSizes(DWORD dwInput, DWORD dwOutput)
{
    if (!::SetupComm(PortHandle(), dwInput, dwOutput))
        ThrowLastError();
}

void CCommFile::GetConfig(COMMCONFIG* pConfig, DWORD& dwSize) const
{
    if (!::GetCommConfig(PortHandle(), pConfig, &dwSize))
        ThrowLastError();
}

void CCommFile::SetConfig(COMMCONFIG* pConfig, DWORD dwSize)
{
    if (!::SetCommConfig(PortHandle(), pConfig, dwSize))
        ThrowLastError();
}

/////////////////////////////////////////////////////////////////////////////
// Port control

DWORD CCommFile::GetEventMask() const
{
    DWORD dwMask = 0;
    if (!::GetCommMask(PortHandle(), &dwMask))
        ThrowLastError();
    return dwMask;
}

void CCommFile::SetEventMask(DWORD dwMask)
{
    if (!::SetCommMask(PortHandle(), dwMask))
        ThrowLastError();
}

void CCommFile::WaitEvent(DWORD& dwEvent)
{
    if (!::WaitCommEvent(PortHandle(), &dwEvent, NULL))
        ThrowLastError();
}

DWORD CCommFile::GetModemStatus() const
{
    DWORD dwStatus = 0;
    if (!::GetCommModemStatus(PortHandle(), &dwStatus))
        ThrowLastError();
    return dwStatus;
}

void CCommFile::GetProperties(COMMPROP* pProperties) const
{
    if (!::GetCommProperties(PortHandle(), pProperties))
        ThrowLastError();
}

void CCommFile::ClearError(DWORD& dwErrors)
{
    if (!::ClearCommError(PortHandle(), &dwErrors, NULL))
        ThrowLastError();
}

void CCommFile::ClearError(DWORD& dwErrors, COMSTAT& status)
{
    if (!::ClearCommError(PortHandle(), &dwErrors, &status))
        ThrowLastError();
}

void CCommFile::EscapeFunction(DWORD dwFunction)
{
    if (!::EscapeCommFunction(PortHandle(), dwFunction))
        ThrowLastError();
}

void CCommFile::Purge(DWORD dwFlags)
{
    if (!::PurgeComm(PortHandle(), dwFlags))
        ThrowLastError();
}

void CCommFile::TransmitChar(char ch)
{
    if (!::TransmitCommChar(PortHandle(), ch))
        ThrowLastError();
}

void CCommFile::SetBreak(BOOL bSet)
{
    if (!(bSet ? ::SetCommBreak(PortHandle()) : ::ClearCommBreak(PortHandle())))
        ThrowLastError();
}

/////////////////////////////////////////////////////////////////////////////
// Operations a port does not have

LONG CCommFile::Seek(LONG, UINT)
{
    return 0;
}

void CCommFile::SetLength(DWORD)
{
    AfxThrowNotSupportedException();
}

DWORD CCommFile::GetLength() const
{
    AfxThrowNotSupportedException();
}

void CCommFile::LockRange(DWORD, DWORD)
{
    AfxThrowNotSupportedException();
}

void CCommFile::UnlockRange(DWORD, DWORD)
{
    AfxThrowNotSupportedException();
}

/////////////////////////////////////////////////////////////////////////////
// The configuration dialog

BOOL CCommFile::ShowConfigDialog(LPCTSTR lpszPort, COMMCONFIG* pConfig, CWnd* pParent)
{
    // Looked up at run time: platforms without the dialog simply answer FALSE.
    typedef BOOL(WINAPI * ConfigDialogFn)(LPCWSTR, HWND, LPCOMMCONFIG);
    HMODULE hKernel = ::GetModuleHandleW(L"Kernel32.dll");
    ConfigDialogFn pfnDialog = hKernel == NULL ? NULL
        : reinterpret_cast<ConfigDialogFn>(reinterpret_cast<void (*)()>(
              ::GetProcAddress(hKernel, "CommConfigDialogW")));
    if (pfnDialog == NULL)
        return FALSE;

    // A modal dialog: the application's other windows wait for it.
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(FALSE);
    if (pParent == NULL)
        pParent = AfxGetMainWnd();
    HWND hWndTop = NULL;
    HWND hWndOwner = CWnd::GetSafeOwner_(pParent->GetSafeHwnd(), &hWndTop);

    BOOL bResult = (*pfnDialog)(lpszPort, hWndOwner, pConfig);
    DWORD dwError = ::GetLastError();

    if (hWndTop != NULL && ::IsWindow(hWndTop))
        ::EnableWindow(hWndTop, TRUE);
    if (pApp != NULL)
        pApp->EnableModeless(TRUE);
    // Re-enabling may have touched the last error; the caller wants the dialog's.
    ::SetLastError(dwError);
    return bResult;
}
