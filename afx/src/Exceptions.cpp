// Exceptions.cpp - CException and the framework's exception classes, AfxThrow...
#include "afx.h"
#include "afxres.h"

#include <errno.h>

namespace {

// The innermost TRY block of this thread (AFX_EXCEPTION_LINK).
thread_local AFX_EXCEPTION_LINK* t_pLinkTop = NULL;

// Guards the lazy loading of a CSimpleException's text: the preallocated exceptions
// are shared by all threads.
SRWLOCK s_lockSimpleText = SRWLOCK_INIT;

// The name message boxes carry: the application's name, else the module's file title.
CString MessageBoxTitle()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState != NULL && pState->m_lpszCurrentAppName != NULL &&
        pState->m_lpszCurrentAppName[0] != 0)
        return CString(pState->m_lpszCurrentAppName);

    HINSTANCE hModule = pState != NULL ? pState->m_hCurrentInstanceHandle : NULL;
    TCHAR szPath[MAX_PATH];
    DWORD nLen = ::GetModuleFileNameW(hModule, szPath, _countof(szPath));
    if (nLen == 0 || nLen >= _countof(szPath))
        return CString();
    szPath[nLen] = 0;
    LPTSTR lpszName = szPath;
    for (LPTSTR p = szPath; *p != 0; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            lpszName = p + 1;
    }
    LPTSTR lpszDot = wcsrchr(lpszName, '.');
    if (lpszDot != NULL && lpszDot != lpszName)
        *lpszDot = 0;
    return CString(lpszName);
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CException

IMPLEMENT_DYNAMIC(CException, CObject)

CException::CException(BOOL bAutoDelete)
    : m_bAutoDelete(bAutoDelete)
{
}

CException::~CException()
{
}

void CException::Delete()
{
    // A CATCH handler that deletes its exception itself: END_CATCH must not again.
    for (AFX_EXCEPTION_LINK* pLink = t_pLinkTop; pLink != NULL; pLink = pLink->m_pLinkPrev) {
        if (pLink->m_pException == this)
            pLink->m_pException = NULL;
    }
    if (m_bAutoDelete > 0)
        delete this;
}

/////////////////////////////////////////////////////////////////////////////
// AFX_EXCEPTION_LINK

AFX_EXCEPTION_LINK::AFX_EXCEPTION_LINK()
    : m_pLinkPrev(t_pLinkTop), m_pException(NULL)
{
    t_pLinkTop = this;
}

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK()
{
    t_pLinkTop = m_pLinkPrev;
    if (m_pException != NULL) {
        CException* pException = m_pException;
        m_pException = NULL;
        pException->Delete();
    }
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError != NULL && nMaxError != 0)
        *lpszError = 0;
    return FALSE;
}

BOOL CException::GetErrorMessage(CString& strError, PUINT pnHelpContext) const
{
    // The buffer form cannot tell how long the message is; grow until it fits.
    CException* pThis = const_cast<CException*>(this);
    for (UINT nSize = 512;; nSize *= 2) {
        LPTSTR lpsz = strError.GetBuffer((int)nSize);
        BOOL bResult = pThis->GetErrorMessage(lpsz, nSize, pnHelpContext);
        lpsz[nSize - 1] = 0;
        strError.ReleaseBuffer();
        if (!bResult) {
            strError.Empty();
            return FALSE;
        }
        if ((UINT)strError.GetLength() < nSize - 1 || nSize >= 0x10000) {
            strError.FreeExtra();
            return TRUE;
        }
    }
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    CString strMessage;
    UINT nHelpContext = 0;
    if (!GetErrorMessage(strMessage, &nHelpContext) || strMessage.IsEmpty()) {
        if (nMessageID == 0 || !strMessage.LoadString(nMessageID))
            strMessage.LoadString(AFX_IDP_NO_ERROR_AVAILABLE);
    }
    CString strTitle = MessageBoxTitle();
    return ::MessageBoxW(::GetActiveWindow(), strMessage, strTitle, nType);
}

/////////////////////////////////////////////////////////////////////////////
// CSimpleException and the exceptions built on it

IMPLEMENT_DYNAMIC(CSimpleException, CException)

CSimpleException::CSimpleException(BOOL bAutoDelete)
    : CException(bAutoDelete), m_nResourceID(0), m_bInitialized(FALSE), m_bLoaded(FALSE)
{
    m_szMessage[0] = 0;
}

CSimpleException::CSimpleException(BOOL bAutoDelete, UINT nResourceID)
    : CException(bAutoDelete), m_nResourceID(nResourceID), m_bInitialized(FALSE),
      m_bLoaded(FALSE)
{
    m_szMessage[0] = 0;
}

CSimpleException::~CSimpleException()
{
}

void CSimpleException::InitString()
{
    ::AcquireSRWLockExclusive(&s_lockSimpleText);
    if (!m_bInitialized) {
        // AfxLoadString needs no heap memory, so the memory exception can describe itself.
        m_bLoaded = m_nResourceID != 0 &&
                    AfxLoadString(m_nResourceID, m_szMessage, _countof(m_szMessage)) > 0;
        m_bInitialized = TRUE;
    }
    ::ReleaseSRWLockExclusive(&s_lockSimpleText);
}

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    InitString();
    if (!m_bLoaded) {
        *lpszError = 0;
        return FALSE;
    }
    lstrcpynW(lpszError, m_szMessage, (int)nMaxError);
    return TRUE;
}

IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)

CMemoryException::CMemoryException()
    : CSimpleException(TRUE, AFX_IDS_MEMORY_EXCEPTION)
{
}

CMemoryException::CMemoryException(BOOL bAutoDelete, UINT nResourceID)
    : CSimpleException(bAutoDelete, nResourceID)
{
}

CMemoryException::~CMemoryException()
{
}

IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)

CNotSupportedException::CNotSupportedException()
    : CSimpleException(TRUE, AFX_IDS_NOT_SUPPORTED_EXCEPTION)
{
}

CNotSupportedException::CNotSupportedException(BOOL bAutoDelete, UINT nResourceID)
    : CSimpleException(bAutoDelete, nResourceID)
{
}

CNotSupportedException::~CNotSupportedException()
{
}

IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

CResourceException::CResourceException()
    : CSimpleException(TRUE, AFX_IDS_RESOURCE_EXCEPTION)
{
}

CResourceException::CResourceException(BOOL bAutoDelete, UINT nResourceID)
    : CSimpleException(bAutoDelete, nResourceID)
{
}

CResourceException::~CResourceException()
{
}

IMPLEMENT_DYNAMIC(CUserException, CSimpleException)

CUserException::CUserException()
    : CSimpleException(TRUE, AFX_IDS_USER_EXCEPTION)
{
}

CUserException::CUserException(BOOL bAutoDelete, UINT nResourceID)
    : CSimpleException(bAutoDelete, nResourceID)
{
}

CUserException::~CUserException()
{
}

/////////////////////////////////////////////////////////////////////////////
// CFileException

IMPLEMENT_DYNAMIC(CFileException, CException)

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError)
{
    if (lpszArchiveName != NULL)
        m_strFileName = lpszArchiveName;
}

CFileException::~CFileException()
{
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void PASCAL CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName)
{
    if (nErrno != 0)
        AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

int PASCAL CFileException::OsErrorToException(LONG lOsError)
{
    switch ((DWORD)lOsError) {
    case NO_ERROR:                      return none;
    case ERROR_FILE_NOT_FOUND:          return fileNotFound;
    case ERROR_PATH_NOT_FOUND:          return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:     return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:           return accessDenied;
    case ERROR_INVALID_HANDLE:          return fileNotFound;
    case ERROR_BAD_FORMAT:              return invalidFile;
    case ERROR_INVALID_ACCESS:          return accessDenied;
    case ERROR_INVALID_DRIVE:           return badPath;
    case ERROR_CURRENT_DIRECTORY:       return removeCurrentDir;
    case ERROR_NOT_SAME_DEVICE:         return badPath;
    case ERROR_NO_MORE_FILES:           return fileNotFound;
    case ERROR_WRITE_PROTECT:           return accessDenied;
    case ERROR_BAD_UNIT:                return hardIO;
    case ERROR_NOT_READY:               return hardIO;
    case ERROR_BAD_COMMAND:             return hardIO;
    case ERROR_CRC:                     return hardIO;
    case ERROR_BAD_LENGTH:              return badSeek;
    case ERROR_SEEK:                    return badSeek;
    case ERROR_NOT_DOS_DISK:            return invalidFile;
    case ERROR_SECTOR_NOT_FOUND:        return badSeek;
    case ERROR_WRITE_FAULT:             return accessDenied;
    case ERROR_READ_FAULT:              return badSeek;
    case ERROR_SHARING_VIOLATION:       return sharingViolation;
    case ERROR_LOCK_VIOLATION:          return lockViolation;
    case ERROR_WRONG_DISK:              return badPath;
    case ERROR_SHARING_BUFFER_EXCEEDED: return tooManyOpenFiles;
    case ERROR_HANDLE_EOF:              return endOfFile;
    case ERROR_HANDLE_DISK_FULL:        return diskFull;
    case ERROR_DUP_NAME:                return badPath;
    case ERROR_BAD_NETPATH:             return badPath;
    case ERROR_NETWORK_BUSY:            return accessDenied;
    case ERROR_DEV_NOT_EXIST:           return badPath;
    case ERROR_ADAP_HDW_ERR:            return hardIO;
    case ERROR_BAD_NET_RESP:            return accessDenied;
    case ERROR_UNEXP_NET_ERR:           return hardIO;
    case ERROR_BAD_REM_ADAP:            return invalidFile;
    case ERROR_NO_SPOOL_SPACE:          return directoryFull;
    case ERROR_NETNAME_DELETED:         return accessDenied;
    case ERROR_NETWORK_ACCESS_DENIED:   return accessDenied;
    case ERROR_BAD_DEV_TYPE:            return invalidFile;
    case ERROR_BAD_NET_NAME:            return badPath;
    case ERROR_TOO_MANY_NAMES:          return tooManyOpenFiles;
    case ERROR_SHARING_PAUSED:          return badPath;
    case ERROR_REQ_NOT_ACCEP:           return accessDenied;
    case ERROR_FILE_EXISTS:             return accessDenied;
    case ERROR_CANNOT_MAKE:             return accessDenied;
    case ERROR_ALREADY_ASSIGNED:        return badPath;
    case ERROR_INVALID_PASSWORD:        return accessDenied;
    case ERROR_NET_WRITE_FAULT:         return hardIO;
    case ERROR_DISK_CHANGE:             return fileNotFound;
    case ERROR_DRIVE_LOCKED:            return lockViolation;
    case ERROR_BUFFER_OVERFLOW:         return badPath;
    case ERROR_DISK_FULL:               return diskFull;
    case ERROR_NO_MORE_SEARCH_HANDLES:  return tooManyOpenFiles;
    case ERROR_INVALID_TARGET_HANDLE:   return invalidFile;
    case ERROR_INVALID_CATEGORY:        return hardIO;
    case ERROR_INVALID_NAME:            return badPath;
    case ERROR_INVALID_LEVEL:           return badPath;
    case ERROR_NO_VOLUME_LABEL:         return badPath;
    case ERROR_NEGATIVE_SEEK:           return badSeek;
    case ERROR_SEEK_ON_DEVICE:          return badSeek;
    case ERROR_DIR_NOT_ROOT:            return badPath;
    case ERROR_DIR_NOT_EMPTY:           return removeCurrentDir;
    case ERROR_LABEL_TOO_LONG:          return badPath;
    case ERROR_BAD_PATHNAME:            return badPath;
    case ERROR_LOCK_FAILED:             return lockViolation;
    case ERROR_BUSY:                    return accessDenied;
    case ERROR_INVALID_ORDINAL:         return invalidFile;
    case ERROR_ALREADY_EXISTS:          return accessDenied;
    case ERROR_INVALID_EXE_SIGNATURE:   return invalidFile;
    case ERROR_BAD_EXE_FORMAT:          return invalidFile;
    case ERROR_FILENAME_EXCED_RANGE:    return badPath;
    case ERROR_META_EXPANSION_TOO_LONG: return badPath;
    case ERROR_DIRECTORY:               return badPath;
    case ERROR_OPERATION_ABORTED:       return hardIO;
    case ERROR_IO_INCOMPLETE:           return hardIO;
    case ERROR_IO_PENDING:              return hardIO;
    case ERROR_SWAPERROR:               return accessDenied;
    default:                            return generic;
    }
}

int PASCAL CFileException::ErrnoToException(int nErrno)
{
    switch (nErrno) {
    case EPERM:
    case EACCES:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EDEADLOCK:
        return sharingViolation;
    case EMFILE:
        return tooManyOpenFiles;
    case ENOENT:
    case ENFILE:
        return fileNotFound;
    case ENOSPC:
        return diskFull;
    case EINVAL:
    case EIO:
        return hardIO;
    default:
        return generic;
    }
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    *lpszError = 0;

    int nCause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : (int)generic;
    CString strFileName = m_strFileName;
    if (strFileName.IsEmpty())
        strFileName.LoadString(AFX_IDS_UNNAMED_FILE);
    CString strMessage;
    AfxFormatString1(strMessage, AFX_IDP_FILE_NONE + (UINT)nCause, strFileName);
    if (strMessage.IsEmpty())
        return FALSE;
    lstrcpynW(lpszError, strMessage, (int)nMaxError);
    if (pnHelpContext != NULL)
        *pnHelpContext = AFX_IDP_FILE_NONE + (UINT)nCause;
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CArchiveException

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause)
{
    if (lpszArchiveName != NULL)
        m_strFileName = lpszArchiveName;
}

CArchiveException::~CArchiveException()
{
}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    *lpszError = 0;

    int nCause = (m_cause >= none && m_cause <= badSchema) ? m_cause : (int)generic;
    CString strFileName = m_strFileName;
    if (strFileName.IsEmpty())
        strFileName.LoadString(AFX_IDS_UNNAMED_FILE);
    CString strMessage;
    AfxFormatString1(strMessage, AFX_IDP_ARCH_NONE + (UINT)nCause, strFileName);
    if (strMessage.IsEmpty())
        return FALSE;
    lstrcpynW(lpszError, strMessage, (int)nMaxError);
    if (pnHelpContext != NULL)
        *pnHelpContext = AFX_IDP_ARCH_NONE + (UINT)nCause;
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// Throwing

namespace {

// Preallocated: throwing them must work when nothing else does.
CMemoryException s_simpleMemoryException(FALSE, AFX_IDS_MEMORY_EXCEPTION);
CNotSupportedException s_simpleNotSupportedException(FALSE, AFX_IDS_NOT_SUPPORTED_EXCEPTION);
CResourceException s_simpleResourceException(FALSE, AFX_IDS_RESOURCE_EXCEPTION);
CUserException s_simpleUserException(FALSE, AFX_IDS_USER_EXCEPTION);

} // namespace

void AFXAPI AfxThrowMemoryException()
{
    throw &s_simpleMemoryException;
}

void AFXAPI AfxThrowNotSupportedException()
{
    throw &s_simpleNotSupportedException;
}

void AFXAPI AfxThrowResourceException()
{
    throw &s_simpleResourceException;
}

void AFXAPI AfxThrowUserException()
{
    throw &s_simpleUserException;
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

void AFXAPI AfxAbort()
{
    TRACE(_T("AfxAbort called.\n"));
    abort();
}
