// CommFile.h - a serial or parallel port as an MFC file.
//
//   CCommFile   opens "COMn" or "LPTn" with an optional mode text ("COM2:9600,n,8,1"),
//               keeps the port's device control block and time-outs as members the
//               caller edits and applies, and wraps the communications functions
//
// Reading and writing are CFile's. Open reports failures through its result and the
// caller's CFileException; every other member throws a CFileException when its platform
// call fails. Seeking does nothing; lengths and range locks throw the not-supported
// exception, since a port has neither.
#pragma once

#include <afx.h>

class CWnd;

class AFX_EXT_CLASS CCommFile : public CFile
{
    DECLARE_DYNAMIC(CCommFile)

public:
// Construction
    // An unopened port.
    CCommFile();
    // Wraps an open port handle; reads its state and time-outs (throws when the
    // time-outs cannot be read).
    CCommFile(int hFile);
    // Opens the port; throws CFileException when that fails.
    CCommFile(LPCTSTR lpszPort, UINT nOpenFlags);
    virtual ~CCommFile();

// Attributes: the port's settings as last read or as edited, applied with
// UpdateDCB(FALSE) and UpdateTimeouts(FALSE).
    DCB m_dcb;
    COMMTIMEOUTS m_timeouts;

// Opening and settings
    // lpszPort is "device[:mode]"; see CCommFile.cpp for the steps.
    virtual BOOL Open(LPCTSTR lpszPort, UINT nOpenFlags, CFileException* pError = NULL);
    // TRUE reads the port's state into m_dcb, FALSE writes m_dcb to the port.
    void UpdateDCB(BOOL bGet);
    // TRUE reads the port's time-outs into m_timeouts, FALSE writes them.
    void UpdateTimeouts(BOOL bGet);
    // Apply a mode text to m_dcb (and m_timeouts) without touching the port.
    void BuildDCB(LPCTSTR lpszMode);
    void BuildDCBAndTimeouts(LPCTSTR lpszMode);
    void SetBufferSizes(DWORD dwInput, DWORD dwOutput);
    void GetConfig(COMMCONFIG* pConfig, DWORD& dwSize) const;
    void SetConfig(COMMCONFIG* pConfig, DWORD dwSize);
    // The platform's configuration dialog for the port, owned by the safe owner of
    // pParent (or of the thread's main window) while the application's modeless
    // windows are disabled. FALSE, with the platform's last error, when the dialog
    // fails or is cancelled, and when the platform has no such dialog.
    static BOOL ShowConfigDialog(LPCTSTR lpszPort, COMMCONFIG* pConfig, CWnd* pParent = NULL);

// Port control
    DWORD GetEventMask() const;
    void SetEventMask(DWORD dwMask);
    // Blocks until the port reports an event of the mask.
    void WaitEvent(DWORD& dwEvent);
    DWORD GetModemStatus() const;
    void GetProperties(COMMPROP* pProperties) const;
    void ClearError(DWORD& dwErrors);
    void ClearError(DWORD& dwErrors, COMSTAT& status);
    void EscapeFunction(DWORD dwFunction);
    void Purge(DWORD dwFlags);
    void TransmitChar(char ch);
    void SetBreak(BOOL bSet);

// CFile operations a port does not have
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual void SetLength(DWORD dwNewLen);
    virtual DWORD GetLength() const;
    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);

protected:
    HANDLE PortHandle() const { return (HANDLE)m_hFile; }
    // Throws the CFileException for the calling thread's last error.
    void ThrowLastError() const;
};
