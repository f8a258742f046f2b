// MemFile.cpp - CMemFile: a file in memory.
#include "afx.h"

namespace {

// Positions and sizes are 32-bit; a file that would pass 4 GB cannot get the memory.
DWORD CheckedEnd(DWORD dwStart, UINT nCount)
{
    ULONGLONG nEnd = (ULONGLONG)dwStart + nCount;
    if (nEnd > 0xFFFFFFFFULL)
        AfxThrowMemoryException();
    return (DWORD)nEnd;
}

} // namespace

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0),
      m_lpBuffer(NULL), m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL),
      m_bAutoDelete(FALSE)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    if (m_lpBuffer != NULL)
        Close();
    m_nGrowBytes = 0;
    m_nPosition = 0;
    m_nBufferSize = 0;
    m_nFileSize = 0;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    // The memory the file had goes first, as with Close.
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
    if (lpBuffer == NULL)
        nBufferSize = 0;
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = nBufferSize;
    // A buffer that may grow holds no data yet; a fixed one is all data.
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    return lpBuffer;
}

BYTE* CMemFile::Alloc(DWORD nBytes)
{
    return (BYTE*)malloc(nBytes);
}

BYTE* CMemFile::Realloc(BYTE* lpMem, DWORD nBytes)
{
    return (BYTE*)realloc(lpMem, nBytes);
}

BYTE* CMemFile::Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, UINT nBytes)
{
    return (BYTE*)memcpy(lpMemTarget, lpMemSource, nBytes);
}

void CMemFile::Free(BYTE* lpMem)
{
    free(lpMem);
}

void CMemFile::GrowFile(DWORD dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    // Without grow bytes the file is fixed to the memory it was given.
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();

    // The buffer grows in whole steps of m_nGrowBytes.
    ULONGLONG nSteps = ((ULONGLONG)(dwNewLen - m_nBufferSize) + m_nGrowBytes - 1) / m_nGrowBytes;
    ULONGLONG nNewBufferSize = m_nBufferSize + nSteps * m_nGrowBytes;
    if (nNewBufferSize > 0xFFFFFFFFULL)
        nNewBufferSize = dwNewLen;

    BYTE* lpNew = m_lpBuffer == NULL ? Alloc((DWORD)nNewBufferSize)
                                     : Realloc(m_lpBuffer, (DWORD)nNewBufferSize);
    if (lpNew == NULL)
        AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = (DWORD)nNewBufferSize;
}

DWORD CMemFile::GetPosition() const
{
    return m_nPosition;
}

DWORD CMemFile::GetLength() const
{
    return m_nFileSize;
}

BOOL CMemFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus.m_ctime = CTime();
    rStatus.m_mtime = CTime();
    rStatus.m_atime = CTime();
    rStatus.m_size = (LONG)m_nFileSize;
    rStatus.m_attribute = normal;
    rStatus.m_padding = 0;
    lstrcpynW(rStatus.m_szFullName, m_strFileName, _countof(rStatus.m_szFullName));
    return TRUE;
}

LONG CMemFile::Seek(LONG lOff, UINT nFrom)
{
    LONGLONG lNewPos;
    switch (nFrom) {
    case begin:
        lNewPos = lOff;
        break;
    case current:
        lNewPos = (LONGLONG)m_nPosition + lOff;
        break;
    case end:
        lNewPos = (LONGLONG)m_nFileSize + lOff;
        break;
    default:
        AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    }
    // Before the start is an error; past the end is allowed (a write fills the gap).
    if (lNewPos < 0 || lNewPos > 0xFFFFFFFFLL)
        AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
    m_nPosition = (DWORD)lNewPos;
    return (LONG)m_nPosition;
}

void CMemFile::SetLength(DWORD dwNewLen)
{
    if (dwNewLen > m_nBufferSize)
        GrowFile(dwNewLen);
    if (dwNewLen > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
    if (dwNewLen < m_nPosition)
        m_nPosition = dwNewLen;
    m_nFileSize = dwNewLen;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    if (lpBuf == NULL)
        AfxThrowFileException(CFileException::generic, ERROR_INVALID_USER_BUFFER, m_strFileName);
    UINT nRead = nCount;
    if (nRead > m_nFileSize - m_nPosition)
        nRead = (UINT)(m_nFileSize - m_nPosition);
    Memcpy((BYTE*)lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (lpBuf == NULL)
        AfxThrowFileException(CFileException::generic, ERROR_INVALID_USER_BUFFER, m_strFileName);
    DWORD dwEnd = CheckedEnd(m_nPosition, nCount);
    if (dwEnd > m_nBufferSize)
        GrowFile(dwEnd);
    // A write after a seek past the end leaves zeros in between, not old memory.
    if (m_nPosition > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    Memcpy(m_lpBuffer + m_nPosition, (const BYTE*)lpBuf, nCount);
    m_nPosition = dwEnd;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

void CMemFile::Abort()
{
    Close();
}

void CMemFile::Flush()
{
    // Nothing is buffered on the way to memory.
}

void CMemFile::Close()
{
    m_nGrowBytes = 0;
    m_nPosition = 0;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = NULL;
}

UINT CMemFile::GetBufferPtr(UINT nCommand, UINT nCount, void** ppBufStart, void** ppBufMax)
{
    switch (nCommand) {
    case bufferCheck:
        return bufferDirect;

    case bufferCommit:
        // The caller has written nCount bytes at the position into the write buffer,
        // which never reaches past the memory.
        if (nCount != 0) {
            m_nPosition = CheckedEnd(m_nPosition, nCount);
            if (m_nPosition > m_nBufferSize)
                m_nPosition = m_nBufferSize;
            if (m_nPosition > m_nFileSize)
                m_nFileSize = m_nPosition;
        }
        return 0;

    case bufferWrite:
    case bufferRead:
        break;

    default:
        return 0;
    }

    if (ppBufStart == NULL || ppBufMax == NULL)
        return 0;

    DWORD dwEnd;
    if (nCommand == bufferWrite) {
        // Grow so that the request fits; a file that cannot grow offers what it has
        // left (a Write past that reports the failure).
        ULONGLONG nEnd = (ULONGLONG)m_nPosition + nCount;
        dwEnd = nEnd > 0xFFFFFFFFULL ? 0xFFFFFFFF : (DWORD)nEnd;
        if (dwEnd > m_nBufferSize && m_nGrowBytes != 0) {
            try {
                GrowFile(dwEnd);
            } catch (CMemoryException* e) {
                e->Delete();
            }
        }
        if (dwEnd > m_nBufferSize)
            dwEnd = m_nBufferSize;
        if (dwEnd < m_nPosition)
            dwEnd = m_nPosition;
        // Bytes between the end of the data and the position read as zeros later.
        DWORD dwGapEnd = m_nPosition < m_nBufferSize ? m_nPosition : m_nBufferSize;
        if (dwGapEnd > m_nFileSize && m_lpBuffer != NULL)
            memset(m_lpBuffer + m_nFileSize, 0, dwGapEnd - m_nFileSize);
    } else {
        // Reading hands out the data and moves past it at once.
        ULONGLONG nEnd = (ULONGLONG)m_nPosition + nCount;
        dwEnd = nEnd > m_nFileSize ? m_nFileSize : (DWORD)nEnd;
        if (dwEnd < m_nPosition)
            dwEnd = m_nPosition;
    }

    if (m_lpBuffer == NULL || m_nPosition > m_nBufferSize) {
        // Nothing to offer: no memory, or a position past a buffer that cannot grow.
        *ppBufStart = NULL;
        *ppBufMax = NULL;
        return 0;
    }
    *ppBufStart = m_lpBuffer + m_nPosition;
    *ppBufMax = m_lpBuffer + dwEnd;
    UINT nResult = (UINT)(dwEnd - m_nPosition);
    if (nCommand == bufferRead)
        m_nPosition = dwEnd;
    return nResult;
}

CFile* CMemFile::Duplicate() const
{
    AfxThrowNotSupportedException();
}

void CMemFile::LockRange(DWORD /*dwPos*/, DWORD /*dwCount*/)
{
    AfxThrowNotSupportedException();
}

void CMemFile::UnlockRange(DWORD /*dwPos*/, DWORD /*dwCount*/)
{
    AfxThrowNotSupportedException();
}

/////////////////////////////////////////////////////////////////////////////
// CSharedFile

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_hGlobalMemory(NULL), m_bAllowGrow(TRUE)
{
}

CSharedFile::~CSharedFile()
{
    // Free through this class while it still is one (CMemFile's destructor would
    // reach only CMemFile::Free).
    if (m_lpBuffer != NULL || m_hGlobalMemory != NULL) {
        if (m_bAutoDelete)
            Free(m_lpBuffer);
        m_lpBuffer = NULL;
    }
}

BYTE* CSharedFile::Alloc(DWORD nBytes)
{
    if (!m_bAllowGrow)
        return NULL;
    // An empty block given to SetHandle holds nothing worth keeping.
    if (m_hGlobalMemory != NULL) {
        ::GlobalFree(m_hGlobalMemory);
        m_hGlobalMemory = NULL;
    }
    HGLOBAL hMem = ::GlobalAlloc(m_nAllocFlags, nBytes);
    if (hMem == NULL)
        return NULL;
    BYTE* lpMem = (BYTE*)::GlobalLock(hMem);
    if (lpMem == NULL) {
        ::GlobalFree(hMem);
        return NULL;
    }
    m_hGlobalMemory = hMem;
    return lpMem;
}

BYTE* CSharedFile::Realloc(BYTE* /*lpMem*/, DWORD nBytes)
{
    if (!m_bAllowGrow || m_hGlobalMemory == NULL)
        return NULL;
    ::GlobalUnlock(m_hGlobalMemory);
    // Moving is allowed even for fixed blocks: the file hands out the new address.
    HGLOBAL hNew = ::GlobalReAlloc(m_hGlobalMemory, nBytes,
                                   GMEM_MOVEABLE | (m_nAllocFlags & GMEM_ZEROINIT));
    if (hNew == NULL) {
        // The old block stays the file's memory.
        m_lpBuffer = (BYTE*)::GlobalLock(m_hGlobalMemory);
        return NULL;
    }
    m_hGlobalMemory = hNew;
    return (BYTE*)::GlobalLock(hNew);
}

void CSharedFile::Free(BYTE* /*lpMem*/)
{
    if (m_hGlobalMemory != NULL) {
        ::GlobalUnlock(m_hGlobalMemory);
        ::GlobalFree(m_hGlobalMemory);
        m_hGlobalMemory = NULL;
    }
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL hMem = m_hGlobalMemory;
    if (hMem != NULL) {
        if (m_lpBuffer != NULL)
            ::GlobalUnlock(hMem);
        // The receiver learns the length of the contents from GlobalSize.
        if (m_nFileSize != 0 && m_nFileSize < m_nBufferSize) {
            HGLOBAL hTrimmed = ::GlobalReAlloc(hMem, m_nFileSize, GMEM_MOVEABLE);
            if (hTrimmed != NULL)
                hMem = hTrimmed;
        }
    }
    m_hGlobalMemory = NULL;
    m_lpBuffer = NULL;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAllowGrow = TRUE;
    m_bAutoDelete = TRUE;
    return hMem;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow)
{
    // The memory the file had goes first.
    if (m_bAutoDelete && (m_lpBuffer != NULL || m_hGlobalMemory != NULL))
        Free(m_lpBuffer);
    m_hGlobalMemory = hGlobalMemory;
    m_lpBuffer = hGlobalMemory != NULL ? (BYTE*)::GlobalLock(hGlobalMemory) : NULL;
    m_nBufferSize = m_lpBuffer != NULL ? (DWORD)::GlobalSize(hGlobalMemory) : 0;
    m_nFileSize = m_nBufferSize;
    m_nPosition = 0;
    m_bAllowGrow = bAllowGrow;
    m_bAutoDelete = TRUE;
}
