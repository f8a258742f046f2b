// StdioFile.cpp - CStdioFile: a C run-time stream over a file handle.
//
// Text mode (the default) keeps the file in the ANSI code page with "\r\n" line ends,
// as the run-time's text streams of a Unicode program do; typeBinary keeps the
// characters as UTF-16 units and line ends as a single '\n'.
#include "afx.h"

#include <errno.h>
#include <fcntl.h>
#include <io.h>

#include <string>

namespace {

// How many bytes the ANSI character that starts with lead byte b has.
int AnsiCharLength(BYTE b)
{
    if (b < 0x80)
        return 1;
    if (::GetACP() == CP_UTF8) {
        if ((b & 0xE0) == 0xC0)
            return 2;
        if ((b & 0xF0) == 0xE0)
            return 3;
        if ((b & 0xF8) == 0xF0)
            return 4;
        return 1;
    }
    return ::IsDBCSLeadByte(b) ? 2 : 1;
}

int LastErrno()
{
    return errno != 0 ? errno : EIO;
}

} // namespace

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile()
    : m_pStream(NULL), m_chPending(0), m_bBinary(FALSE)
{
}

CStdioFile::CStdioFile(FILE* pOpenStream)
    : m_pStream(pOpenStream), m_chPending(0), m_bBinary(FALSE)
{
    if (pOpenStream == NULL)
        return;
    int fd = _fileno(pOpenStream);
    m_hFile = (UINT_PTR)_get_osfhandle(fd);
    // The stream's mode: setting one returns the one it had.
    int nMode = _setmode(fd, _O_BINARY);
    if (nMode != -1)
        _setmode(fd, nMode);
    m_bBinary = nMode == _O_BINARY;
    m_bCloseOnDelete = FALSE;
}

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags)
    : m_pStream(NULL), m_chPending(0), m_bBinary(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    // The stream owns the handle: closing it closes both, so CFile's destructor
    // finds nothing left to close.
    if (m_pStream != NULL && m_bCloseOnDelete)
        fclose(m_pStream);
    if (m_pStream != NULL || m_bCloseOnDelete)
        m_hFile = hFileNull;
    m_pStream = NULL;
    m_bCloseOnDelete = FALSE;
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pException)
{
    if (m_pStream != NULL) {
        if (m_bCloseOnDelete)
            fclose(m_pStream);
        m_pStream = NULL;
        m_hFile = hFileNull;
        m_bCloseOnDelete = FALSE;
    }
    m_chPending = 0;
    m_bBinary = (nOpenFlags & typeBinary) != 0;

    if (!CFile::Open(lpszFileName, nOpenFlags & ~(UINT)(typeText | typeBinary), pException))
        return FALSE;

    int nFlags;
    const char* pszMode;
    switch (nOpenFlags & 3) {
    case modeWrite:
        nFlags = _O_WRONLY;
        pszMode = m_bBinary ? "wb" : "wt";     // attaching truncates nothing
        break;
    case modeReadWrite:
        nFlags = _O_RDWR;
        pszMode = m_bBinary ? "r+b" : "r+t";
        break;
    default:
        nFlags = _O_RDONLY;
        pszMode = m_bBinary ? "rb" : "rt";
        break;
    }
    nFlags |= m_bBinary ? _O_BINARY : _O_TEXT;

    int fd = _open_osfhandle((intptr_t)m_hFile, nFlags);
    if (fd != -1) {
        m_pStream = _fdopen(fd, pszMode);
        if (m_pStream == NULL) {
            // The descriptor owns the handle now: closing it closes both.
            _close(fd);
            m_hFile = hFileNull;
            m_bCloseOnDelete = FALSE;
        }
    }
    if (m_pStream == NULL) {
        int nErrno = LastErrno();
        if (pException != NULL) {
            pException->m_lOsError = nErrno;
            pException->m_cause = CFileException::ErrnoToException(nErrno);
            pException->m_strFileName = lpszFileName;
        }
        CFile::Abort();
        return FALSE;
    }
    return TRUE;
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    if (lpsz == NULL || *lpsz == 0)
        return;
    if (m_pStream == NULL)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    int nLen = lstrlenW(lpsz);
    if (m_bBinary) {
        if (fwrite(lpsz, sizeof(WCHAR), (size_t)nLen, m_pStream) != (size_t)nLen)
            CFileException::ThrowErrno(LastErrno(), m_strFileName);
        return;
    }
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, lpsz, nLen, NULL, 0, NULL, NULL);
    if (nBytes <= 0)
        return;
    std::string bytes((size_t)nBytes, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, lpsz, nLen, &bytes[0], nBytes, NULL, NULL);
    if (fwrite(bytes.data(), 1, bytes.size(), m_pStream) != bytes.size())
        CFileException::ThrowErrno(LastErrno(), m_strFileName);
}

int CStdioFile::ReadChar(WCHAR& ch)
{
    if (m_chPending != 0) {
        ch = m_chPending;
        m_chPending = 0;
        return 1;
    }
    if (m_bBinary) {
        if (fread(&ch, sizeof(WCHAR), 1, m_pStream) == 1)
            return 1;
    } else {
        int c = fgetc(m_pStream);
        if (c != EOF) {
            char bytes[4];
            bytes[0] = (char)c;
            int nBytes = 1;
            int nLength = AnsiCharLength((BYTE)c);
            while (nBytes < nLength) {
                int next = fgetc(m_pStream);
                if (next == EOF)
                    break;
                bytes[nBytes++] = (char)next;
            }
            WCHAR chars[2];
            int nChars = ::MultiByteToWideChar(CP_ACP, 0, bytes, nBytes, chars, 2);
            if (nChars <= 0) {
                chars[0] = (WCHAR)(BYTE)c;
                nChars = 1;
            }
            ch = chars[0];
            if (nChars == 2)
                m_chPending = chars[1];
            return 1;
        }
    }
    if (ferror(m_pStream)) {
        clearerr(m_pStream);
        CFileException::ThrowErrno(LastErrno(), m_strFileName);
    }
    return 0;
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax)
{
    if (lpsz == NULL || nMax == 0)
        return NULL;
    if (m_pStream == NULL)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    UINT nRead = 0;
    while (nRead + 1 < nMax) {
        WCHAR ch;
        if (!ReadChar(ch))
            break;
        lpsz[nRead++] = ch;
        if (ch == '\n')
            break;
    }
    lpsz[nRead] = 0;
    return nRead != 0 ? lpsz : NULL;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    if (m_pStream == NULL)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    std::wstring strLine;
    BOOL bAny = FALSE;
    WCHAR ch;
    while (ReadChar(ch)) {
        bAny = TRUE;
        if (ch == '\n')
            break;
        strLine.push_back(ch);
    }
    if (!strLine.empty())
        rString = CString(strLine.data(), (int)strLine.size());
    return bAny;
}

DWORD CStdioFile::GetPosition() const
{
    if (m_pStream == NULL)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    long lPos = ftell(m_pStream);
    if (lPos == -1L)
        CFileException::ThrowErrno(LastErrno(), m_strFileName);
    return (DWORD)lPos;
}

DWORD CStdioFile::GetLength() const
{
    if (m_pStream == NULL)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    long lPos = ftell(m_pStream);
    if (lPos == -1L || fseek(m_pStream, 0, SEEK_END) != 0)
        CFileException::ThrowErrno(LastErrno(), m_strFileName);
    long lLength = ftell(m_pStream);
    if (fseek(m_pStream, lPos, SEEK_SET) != 0 || lLength == -1L)
        CFileException::ThrowErrno(LastErrno(), m_strFileName);
    return (DWORD)lLength;
}

LONG CStdioFile::Seek(LONG lOff, UINT nFrom)
{
    if (m_pStream == NULL)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    if (nFrom > end || fseek(m_pStream, lOff, (int)nFrom) != 0)
        AfxThrowFileException(CFileException::badSeek, LastErrno(), m_strFileName);
    m_chPending = 0;
    return (LONG)ftell(m_pStream);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    if (m_pStream == NULL)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    m_chPending = 0;
    size_t nRead = fread(lpBuf, 1, nCount, m_pStream);
    if (nRead == 0 && ferror(m_pStream)) {
        clearerr(m_pStream);
        CFileException::ThrowErrno(LastErrno(), m_strFileName);
    }
    return (UINT)nRead;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (m_pStream == NULL)
        CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
    if (fwrite(lpBuf, 1, nCount, m_pStream) != nCount)
        CFileException::ThrowErrno(LastErrno(), m_strFileName);
}

void CStdioFile::Flush()
{
    if (m_pStream != NULL && fflush(m_pStream) != 0)
        CFileException::ThrowErrno(LastErrno(), m_strFileName);
}

void CStdioFile::Close()
{
    int nResult = 0;
    if (m_pStream != NULL)
        nResult = fclose(m_pStream);
    int nErrno = LastErrno();
    CString strFileName = m_strFileName;
    m_pStream = NULL;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_chPending = 0;
    m_strFileName.Empty();
    if (nResult != 0)
        CFileException::ThrowErrno(nErrno, strFileName);
}

void CStdioFile::Abort()
{
    if (m_pStream != NULL && m_bCloseOnDelete)
        fclose(m_pStream);
    m_pStream = NULL;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_chPending = 0;
    m_strFileName.Empty();
}

CFile* CStdioFile::Duplicate() const
{
    AfxThrowNotSupportedException();
}

void CStdioFile::LockRange(DWORD /*dwPos*/, DWORD /*dwCount*/)
{
    AfxThrowNotSupportedException();
}

void CStdioFile::UnlockRange(DWORD /*dwPos*/, DWORD /*dwCount*/)
{
    AfxThrowNotSupportedException();
}
