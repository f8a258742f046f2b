// File.cpp - CFile: a Win32 file handle whose failures throw CFileException.
#include "afx.h"

#include <commdlg.h>

#include "FileImpl.h"

/////////////////////////////////////////////////////////////////////////////
// Helpers shared by the file classes

namespace afxfile {

void ThrowLastError(LPCTSTR lpszFileName)
{
    DWORD dwError = ::GetLastError();
    CFileException::ThrowOsError((LONG)dwError, lpszFileName);
    // The OS reported a failure without saying why.
    AfxThrowFileException(CFileException::generic, (LONG)dwError, lpszFileName);
}

// 100 ns intervals from 1601 to 1970, the start of the C run-time's time_t.
static const ULONGLONG s_nFileTimeEpoch = 116444736000000000ULL;

CTime FileTimeToTime(const FILETIME& ft)
{
    ULONGLONG nTime = ((ULONGLONG)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    if (nTime < s_nFileTimeEpoch)
        return CTime();     // not set, or before anything a CTime holds
    return CTime((time_t)((nTime - s_nFileTimeEpoch) / 10000000ULL));
}

FILETIME TimeToFileTime(const CTime& time)
{
    ULONGLONG nTime = (ULONGLONG)(LONGLONG)time.GetTime() * 10000000ULL + s_nFileTimeEpoch;
    FILETIME ft;
    ft.dwLowDateTime = (DWORD)nTime;
    ft.dwHighDateTime = (DWORD)(nTime >> 32);
    return ft;
}

} // namespace afxfile

using afxfile::ThrowLastError;
using afxfile::FileTimeToTime;
using afxfile::TimeToFileTime;

namespace {

// The full path of a file name; FALSE (with the last error set) when there is none.
BOOL FullPath(LPCTSTR lpszFileName, CString& strFullPath)
{
    DWORD nNeeded = ::GetFullPathNameW(lpszFileName, 0, NULL, NULL);
    if (nNeeded == 0)
        return FALSE;
    for (;;) {
        DWORD nLen = ::GetFullPathNameW(lpszFileName, nNeeded, strFullPath.GetBuffer((int)nNeeded),
                                        NULL);
        if (nLen == 0) {
            strFullPath.ReleaseBuffer(0);
            return FALSE;
        }
        if (nLen < nNeeded) {
            strFullPath.ReleaseBuffer((int)nLen);
            return TRUE;
        }
        strFullPath.ReleaseBuffer(0);
        nNeeded = nLen;
    }
}

// The name part of a path: what follows the last separator.
LPCTSTR NamePart(LPCTSTR lpszPath)
{
    LPCTSTR lpszName = lpszPath;
    for (LPCTSTR p = lpszPath; *p != 0; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            lpszName = p + 1;
    }
    return lpszName;
}

BYTE AttributeByte(DWORD dwAttributes)
{
    return (BYTE)(dwAttributes & ~(DWORD)FILE_ATTRIBUTE_NORMAL);
}

void FillTimes(CFileStatus& rStatus, const FILETIME& ftCreate, const FILETIME& ftAccess,
               const FILETIME& ftWrite)
{
    rStatus.m_ctime = FileTimeToTime(ftCreate);
    rStatus.m_atime = FileTimeToTime(ftAccess);
    rStatus.m_mtime = FileTimeToTime(ftWrite);
    // File systems that keep no creation or access time report the modification time.
    if (rStatus.m_ctime.GetTime() == 0)
        rStatus.m_ctime = rStatus.m_mtime;
    if (rStatus.m_atime.GetTime() == 0)
        rStatus.m_atime = rStatus.m_mtime;
}

void ClearStatus(CFileStatus& rStatus)
{
    rStatus.m_ctime = CTime();
    rStatus.m_mtime = CTime();
    rStatus.m_atime = CTime();
    rStatus.m_size = 0;
    rStatus.m_attribute = 0;
    rStatus.m_padding = 0;
    rStatus.m_szFullName[0] = 0;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CFile

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile()
    : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(int hFile)
    : m_hFile((UINT_PTR)(INT_PTR)hFile), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags)
    : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    // A destructor must not throw: errors of this last close are lost, as with Abort.
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        ::CloseHandle((HANDLE)m_hFile);
    m_hFile = hFileNull;
}

CFile::operator HFILE() const
{
    // Win32 handle values fit in 32 bits, also in 64-bit processes.
    return (HFILE)(INT_PTR)m_hFile;
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pException)
{
    // Reopening a CFile drops the file it had.
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        ::CloseHandle((HANDLE)m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (lpszFileName == NULL)
        lpszFileName = L"";

    DWORD dwError = NO_ERROR;
    DWORD dwAccess = 0;
    switch (nOpenFlags & 3) {
    case modeRead:
        dwAccess = GENERIC_READ;
        break;
    case modeWrite:
        dwAccess = GENERIC_WRITE;
        break;
    case modeReadWrite:
        dwAccess = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        dwError = ERROR_INVALID_PARAMETER;
        break;
    }

    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
        dwShare = 0;
        break;
    case shareDenyWrite:
        dwShare = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        dwShare = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        dwError = ERROR_INVALID_PARAMETER;
        break;
    }

    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    if (dwError == NO_ERROR) {
        CString strFullPath;
        if (FullPath(lpszFileName, strFullPath)) {
            m_strFileName = strFullPath;
            // Handles are inherited by child processes unless modeNoInherit says otherwise.
            SECURITY_ATTRIBUTES sa;
            sa.nLength = sizeof(sa);
            sa.lpSecurityDescriptor = NULL;
            sa.bInheritHandle = (nOpenFlags & modeNoInherit) == 0;
            HANDLE hFile = ::CreateFileW(lpszFileName, dwAccess, dwShare, &sa, dwCreate,
                                         FILE_ATTRIBUTE_NORMAL, NULL);
            if (hFile != INVALID_HANDLE_VALUE) {
                m_hFile = (UINT_PTR)hFile;
                m_bCloseOnDelete = TRUE;
                return TRUE;
            }
        }
        dwError = ::GetLastError();
        if (dwError == NO_ERROR)
            dwError = ERROR_INVALID_NAME;
    }

    if (pException != NULL) {
        pException->m_lOsError = (LONG)dwError;
        pException->m_cause = CFileException::OsErrorToException((LONG)dwError);
        pException->m_strFileName = lpszFileName;
    }
    return FALSE;
}

CString CFile::GetFileName() const
{
    return CString(NamePart(m_strFileName));
}

CString CFile::GetFileTitle() const
{
    CString strName = GetFileName();
    if (strName.IsEmpty())
        return strName;
    // The shell's form: whether the extension shows depends on the user's settings.
    CString strTitle;
    short nResult = ::GetFileTitleW(strName, strTitle.GetBuffer(MAX_PATH), MAX_PATH);
    if (nResult > 0) {
        strTitle.ReleaseBuffer(0);
        nResult = ::GetFileTitleW(strName, strTitle.GetBuffer(nResult), (WORD)nResult);
    }
    strTitle.ReleaseBuffer();
    return nResult == 0 && !strTitle.IsEmpty() ? strTitle : strName;
}

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

void CFile::SetFilePath(LPCTSTR lpszNewName)
{
    m_strFileName = lpszNewName != NULL ? lpszNewName : L"";
}

DWORD CFile::GetPosition() const
{
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    LARGE_INTEGER nMove, nPos;
    nMove.QuadPart = 0;
    if (!::SetFilePointerEx((HANDLE)m_hFile, nMove, &nPos, FILE_CURRENT))
        ThrowLastError(m_strFileName);
    return (DWORD)nPos.QuadPart;
}

LONG CFile::Seek(LONG lOff, UINT nFrom)
{
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    if (nFrom != begin && nFrom != current && nFrom != end)
        AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    LARGE_INTEGER nMove, nPos;
    nMove.QuadPart = lOff;
    if (!::SetFilePointerEx((HANDLE)m_hFile, nMove, &nPos, nFrom))
        ThrowLastError(m_strFileName);
    return (LONG)(DWORD)nPos.QuadPart;
}

DWORD CFile::SeekToEnd()
{
    return (DWORD)Seek(0, end);
}

void CFile::SeekToBegin()
{
    Seek(0, begin);
}

DWORD CFile::GetLength() const
{
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    LARGE_INTEGER nSize;
    if (!::GetFileSizeEx((HANDLE)m_hFile, &nSize))
        ThrowLastError(m_strFileName);
    return (DWORD)nSize.QuadPart;
}

void CFile::SetLength(DWORD dwNewLen)
{
    Seek((LONG)dwNewLen, begin);
    if (!::SetEndOfFile((HANDLE)m_hFile))
        ThrowLastError(m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    DWORD dwRead = 0;
    if (!::ReadFile((HANDLE)m_hFile, lpBuf, nCount, &dwRead, NULL))
        ThrowLastError(m_strFileName);
    return (UINT)dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    DWORD dwWritten = 0;
    if (!::WriteFile((HANDLE)m_hFile, lpBuf, nCount, &dwWritten, NULL))
        ThrowLastError(m_strFileName);
    // A short write without an error means the medium is full.
    if (dwWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

DWORD CFile::ReadHuge(void* lpBuffer, DWORD dwCount)
{
    return Read(lpBuffer, dwCount);
}

void CFile::WriteHuge(const void* lpBuffer, DWORD dwCount)
{
    Write(lpBuffer, dwCount);
}

CFile* CFile::Duplicate() const
{
    if (m_hFile == hFileNull)
        return NULL;
    HANDLE hDup = NULL;
    if (!::DuplicateHandle(::GetCurrentProcess(), (HANDLE)m_hFile, ::GetCurrentProcess(), &hDup,
                           0, FALSE, DUPLICATE_SAME_ACCESS))
        ThrowLastError(m_strFileName);
    CFile* pFile = new CFile;
    pFile->m_hFile = (UINT_PTR)hDup;
    pFile->m_bCloseOnDelete = m_bCloseOnDelete;
    pFile->m_strFileName = m_strFileName;
    return pFile;
}

void CFile::LockRange(DWORD dwPos, DWORD dwCount)
{
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    if (!::LockFile((HANDLE)m_hFile, dwPos, 0, dwCount, 0))
        ThrowLastError(m_strFileName);
}

void CFile::UnlockRange(DWORD dwPos, DWORD dwCount)
{
    if (m_hFile == hFileNull)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    if (!::UnlockFile((HANDLE)m_hFile, dwPos, 0, dwCount, 0))
        ThrowLastError(m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (!::FlushFileBuffers((HANDLE)m_hFile))
        ThrowLastError(m_strFileName);
}

void CFile::Close()
{
    BOOL bError = FALSE;
    DWORD dwError = NO_ERROR;
    if (m_hFile != hFileNull && m_bCloseOnDelete) {
        bError = !::CloseHandle((HANDLE)m_hFile);
        dwError = ::GetLastError();
    }
    CString strFileName = m_strFileName;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (bError) {
        ::SetLastError(dwError);
        ThrowLastError(strFileName);
    }
}

void CFile::Abort()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        ::CloseHandle((HANDLE)m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

UINT CFile::GetBufferPtr(UINT nCommand, UINT /*nCount*/, void** ppBufStart, void** ppBufMax)
{
    // A plain file has no buffer of its own: bufferCheck answers 0 (no direct buffering).
    if (nCommand != bufferCheck) {
        if (ppBufStart != NULL)
            *ppBufStart = NULL;
        if (ppBufMax != NULL)
            *ppBufMax = NULL;
    }
    return 0;
}

/////////////////////////////////////////////////////////////////////////////
// Status

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    ClearStatus(rStatus);
    lstrcpynW(rStatus.m_szFullName, m_strFileName, _countof(rStatus.m_szFullName));
    if (m_hFile == hFileNull)
        return TRUE;

    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle((HANDLE)m_hFile, &info))
        return FALSE;
    rStatus.m_attribute = AttributeByte(info.dwFileAttributes);
    rStatus.m_size = (LONG)info.nFileSizeLow;
    FillTimes(rStatus, info.ftCreationTime, info.ftLastAccessTime, info.ftLastWriteTime);
    return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    ClearStatus(rStatus);
    // A wildcard would name many files.
    if (lpszFileName == NULL || *lpszFileName == 0 || wcspbrk(lpszFileName, L"*?") != NULL)
        return FALSE;
    CString strFullPath;
    if (!FullPath(lpszFileName, strFullPath) ||
        strFullPath.GetLength() >= (int)_countof(rStatus.m_szFullName))
        return FALSE;
    lstrcpynW(rStatus.m_szFullName, strFullPath, _countof(rStatus.m_szFullName));

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    rStatus.m_attribute = AttributeByte(data.dwFileAttributes);
    rStatus.m_size = (LONG)data.nFileSizeLow;
    FillTimes(rStatus, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime);
    return TRUE;
}

void PASCAL CFile::SetStatus(LPCTSTR lpszFileName, const CFileStatus& status)
{
    if (lpszFileName == NULL)
        lpszFileName = L"";
    DWORD dwOldAttr = ::GetFileAttributesW(lpszFileName);
    if (dwOldAttr == INVALID_FILE_ATTRIBUTES)
        ThrowLastError(lpszFileName);

    // Only these attributes can be set; the others the file keeps.
    const DWORD dwSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    const DWORD dwKept = FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD dwNewAttr = (dwOldAttr & dwKept) | (status.m_attribute & dwSettable);
    BOOL bChangeAttr = (dwOldAttr & dwSettable) != (status.m_attribute & dwSettable);
    if (dwNewAttr == 0)
        dwNewAttr = FILE_ATTRIBUTE_NORMAL;

    // A read-only file loses that attribute before its times change...
    if (bChangeAttr && (dwOldAttr & FILE_ATTRIBUTE_READONLY)) {
        if (!::SetFileAttributesW(lpszFileName, dwNewAttr))
            ThrowLastError(lpszFileName);
        bChangeAttr = FALSE;
    }

    // The times change only with a modification time.
    if (status.m_mtime.GetTime() != 0) {
        FILETIME ftWrite = TimeToFileTime(status.m_mtime);
        FILETIME ftAccess, ftCreate;
        LPFILETIME pftAccess = NULL, pftCreate = NULL;
        if (status.m_atime.GetTime() != 0) {
            ftAccess = TimeToFileTime(status.m_atime);
            pftAccess = &ftAccess;
        }
        if (status.m_ctime.GetTime() != 0) {
            ftCreate = TimeToFileTime(status.m_ctime);
            pftCreate = &ftCreate;
        }
        HANDLE hFile = ::CreateFileW(lpszFileName, FILE_WRITE_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
        if (hFile == INVALID_HANDLE_VALUE)
            ThrowLastError(lpszFileName);
        BOOL bOK = ::SetFileTime(hFile, pftCreate, pftAccess, &ftWrite);
        DWORD dwError = ::GetLastError();
        ::CloseHandle(hFile);
        if (!bOK) {
            ::SetLastError(dwError);
            ThrowLastError(lpszFileName);
        }
    }

    // ... and becomes read-only only after they have changed.
    if (bChangeAttr) {
        if (!::SetFileAttributesW(lpszFileName, dwNewAttr))
            ThrowLastError(lpszFileName);
    }
}

/////////////////////////////////////////////////////////////////////////////
// Renaming and removing

void PASCAL CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (!::MoveFileW(lpszOldName != NULL ? lpszOldName : L"",
                     lpszNewName != NULL ? lpszNewName : L""))
        ThrowLastError(lpszOldName);
}

void PASCAL CFile::Remove(LPCTSTR lpszFileName)
{
    if (!::DeleteFileW(lpszFileName != NULL ? lpszFileName : L""))
        ThrowLastError(lpszFileName);
}
