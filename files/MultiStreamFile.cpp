// MultiStreamFile.cpp - CMultiStreamFile and CMultiStreamFileException.
#include "MultiStreamFile.h"

#include <exception>
#include <memory>

#include "resource.h"

namespace {

// "PR{\0" read as a little-endian number; it opens the header, every block and the
// directory.
const DWORD kMagic = 0x007B5250;
// Header and block header: magic and one 32-bit number.
const DWORD kHeaderSize = 8;
// Longest stream name, in UTF-16 units (the directory stores the length in one byte).
const int kMaxNameLength = 255;
// Stream content moves between disk and memory through a buffer of at most this
// size. Handing the system a small buffer that stays in the cache is much faster,
// under Wine at least, than handing it the stream's own pages, which it has not
// touched yet.
const UINT kCopyBufferSize = 102400;
// The smallest directory entry: length byte and block offset.
const DWORD kMinEntrySize = 5;
// CFile seeks with a LONG: a container cannot grow beyond what it can reach.
const DWORD kMaxContainerSize = 0x7FFFFFFF;

// A stream's memory comes from the heap while it is smaller than this. A larger one
// gets address space reserved ahead and commits pages as it grows, so that growing
// neither copies it nor gives it fresh pages a second time.
const ULONGLONG kRegionFrom = 64 * 1024;
// Address space reserved ahead: a multiple of what the stream needs, at least 1 MB.
// A 32-bit process has little of it to spare.
const ULONGLONG kRegionMin = 1024 * 1024;
const ULONGLONG kRegionFactor = sizeof(void*) == 8 ? 4 : 2;
const ULONGLONG kRegionGranularity = 64 * 1024;
const ULONGLONG kPageSize = 4096;
// CMemFile counts its memory in a DWORD.
const ULONGLONG kMaxBuffer = 0xFFFFFFFF;

UINT CopyBufferSize(DWORD dwMissing)
{
    return dwMissing < kCopyBufferSize ? (UINT)dwMissing : kCopyBufferSize;
}

ULONGLONG RoundUp(ULONGLONG n, ULONGLONG nStep)
{
    return (n + nStep - 1) / nStep * nStep;
}

BYTE* ReserveRegion(ULONGLONG nBytes)
{
    if (nBytes > (SIZE_T)-1)
        return NULL;
    return (BYTE*)::VirtualAlloc(NULL, (SIZE_T)nBytes, MEM_RESERVE, PAGE_NOACCESS);
}

// The directory arrives in many small fields; reading them through a buffer keeps
// a large directory from costing one system call per field.
class CDiskReader
{
public:
    CDiskReader(CFile* pFile, DWORD dwAvailable)
        : m_pFile(pFile), m_dwAvailable(dwAvailable), m_nPos(0), m_nEnd(0)
    {
    }

    // FALSE when the file ends first.
    BOOL Get(void* lpBuf, UINT nCount)
    {
        BYTE* lpDest = static_cast<BYTE*>(lpBuf);
        while (nCount > 0) {
            if (m_nPos == m_nEnd && !Refill())
                return FALSE;
            UINT nTake = m_nEnd - m_nPos < nCount ? m_nEnd - m_nPos : nCount;
            memcpy(lpDest, m_buffer + m_nPos, nTake);
            m_nPos += nTake;
            lpDest += nTake;
            nCount -= nTake;
        }
        return TRUE;
    }

private:
    BOOL Refill()
    {
        UINT nWant = m_dwAvailable < sizeof(m_buffer) ? (UINT)m_dwAvailable : (UINT)sizeof(m_buffer);
        if (nWant == 0)
            return FALSE;
        UINT nGot = m_pFile->CFile::Read(m_buffer, nWant);
        if (nGot == 0)
            return FALSE;
        m_dwAvailable -= nGot;
        m_nPos = 0;
        m_nEnd = nGot;
        return TRUE;
    }

    CFile* m_pFile;
    DWORD m_dwAvailable;    // bytes of the directory not yet read from disk
    UINT m_nPos;
    UINT m_nEnd;
    BYTE m_buffer[4096];
};

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFileException

IMPLEMENT_DYNAMIC(CMultiStreamFileException, CException)

CMultiStreamFileException::CMultiStreamFileException(int nErrorCode, const CString& strStreamName,
                                                     const CString& strFileName)
    : CException(TRUE), m_nErrorCode(nErrorCode)
{
    AfxFormatString2(m_strMessage, IDS_MSF_INVALID_FORMAT + nErrorCode, strStreamName,
                     strFileName);
}

CMultiStreamFileException::~CMultiStreamFileException()
{
}

int CMultiStreamFileException::GetErrorCode() const
{
    return m_nErrorCode;
}

CString CMultiStreamFileException::GetErrorMessage() const
{
    return m_strMessage;
}

BOOL CMultiStreamFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                                PUINT /*pnHelpContext*/)
{
    if (lpszError != NULL && nMaxError > 0)
        ::lstrcpynW(lpszError, m_strMessage, nMaxError > INT_MAX ? INT_MAX : (int)nMaxError);
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile::CStreamFile

CMultiStreamFile::CStreamFile::CStreamFile()
    : CMemFile(1024), m_bModified(FALSE), m_nReserved(0)
{
}

CMultiStreamFile::CStreamFile::~CStreamFile()
{
    // CMemFile's destructor would free through CMemFile::Free, which knows only
    // the heap.
    if (m_lpBuffer != NULL && m_bAutoDelete) {
        Free(m_lpBuffer);
        m_lpBuffer = NULL;
    }
}

void CMultiStreamFile::CStreamFile::Write(const void* lpBuf, UINT nCount)
{
    CMemFile::Write(lpBuf, nCount);
    m_bModified = TRUE;
}

UINT CMultiStreamFile::CStreamFile::GetBufferPtr(UINT nCommand, UINT nCount, void** ppBufStart,
                                                 void** ppBufMax)
{
    UINT nResult = CMemFile::GetBufferPtr(nCommand, nCount, ppBufStart, ppBufMax);
    // An archive hands back what it wrote straight into the buffer with bufferCommit.
    if (nCommand == bufferCommit)
        m_bModified = TRUE;
    return nResult;
}

void CMultiStreamFile::CStreamFile::GrowFile(DWORD dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    // Memory a caller attached, and a file that must not grow, follow CMemFile.
    if (!m_bAutoDelete || m_nGrowBytes == 0) {
        CMemFile::GrowFile(dwNewLen);
        return;
    }
    // Memory that Detach handed out is no longer the file's.
    if (m_lpBuffer == NULL)
        m_nReserved = 0;

    ULONGLONG nWant = dwNewLen;
    if (m_lpBuffer != NULL && nWant < (ULONGLONG)m_nBufferSize + m_nBufferSize / 2)
        nWant = (ULONGLONG)m_nBufferSize + m_nBufferSize / 2;

    if (m_nReserved == 0 && nWant < kRegionFrom) {
        nWant = RoundUp(nWant, m_nGrowBytes);
        BYTE* lpNew = m_lpBuffer == NULL ? Alloc((DWORD)nWant) : Realloc(m_lpBuffer, (DWORD)nWant);
        if (lpNew == NULL)
            AfxThrowMemoryException();
        m_lpBuffer = lpNew;
        m_nBufferSize = (DWORD)nWant;
    } else if (m_nReserved != 0 && dwNewLen <= m_nReserved) {
        // Whole pages, as far as the reservation reaches.
        nWant = RoundUp(nWant, kPageSize);
        if (nWant > m_nReserved)
            nWant = m_nReserved;
        if (nWant > kMaxBuffer)
            nWant = kMaxBuffer;
        if (::VirtualAlloc(m_lpBuffer + m_nBufferSize, (SIZE_T)(nWant - m_nBufferSize), MEM_COMMIT,
                           PAGE_READWRITE) == NULL)
            AfxThrowMemoryException();
        m_nBufferSize = (DWORD)nWant;
    } else {
        MoveToRegion(dwNewLen, nWant);
    }
}

void CMultiStreamFile::CStreamFile::MoveToRegion(DWORD dwNewLen, ULONGLONG nWant)
{
    nWant = RoundUp(nWant, kPageSize);
    if (nWant > kMaxBuffer)
        nWant = kMaxBuffer;
    ULONGLONG nReserve = nWant * kRegionFactor;
    if (nReserve < kRegionMin)
        nReserve = kRegionMin;
    nReserve = RoundUp(nReserve, kRegionGranularity);
    BYTE* lpNew = ReserveRegion(nReserve);
    if (lpNew == NULL) {
        // Short of address space: exactly what is needed now.
        nWant = dwNewLen;
        nReserve = RoundUp(nWant, kRegionGranularity);
        lpNew = ReserveRegion(nReserve);
    }
    if (lpNew == NULL)
        AfxThrowMemoryException();
    if (::VirtualAlloc(lpNew, (SIZE_T)nWant, MEM_COMMIT, PAGE_READWRITE) == NULL) {
        ::VirtualFree(lpNew, 0, MEM_RELEASE);
        AfxThrowMemoryException();
    }
    if (m_lpBuffer != NULL) {
        // Only the content counts: every operation that grows the file fills the
        // space between the old end and its new data itself.
        memcpy(lpNew, m_lpBuffer, m_nFileSize);
        Free(m_lpBuffer);
    }
    m_lpBuffer = lpNew;
    m_nReserved = (SIZE_T)nReserve;
    m_nBufferSize = (DWORD)nWant;
}

void CMultiStreamFile::CStreamFile::Free(BYTE* lpMem)
{
    if (m_nReserved != 0 && lpMem == m_lpBuffer) {
        ::VirtualFree(lpMem, 0, MEM_RELEASE);
        m_nReserved = 0;
    } else {
        CMemFile::Free(lpMem);
    }
}

void CMultiStreamFile::CStreamFile::Abort()
{
    // The content belongs to the container; callers may treat the stream as a file
    // of their own and close it.
}

void CMultiStreamFile::CStreamFile::Close()
{
}

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile::CStream

CMultiStreamFile::CStream::CStream()
    : m_pFile(NULL), m_dwOffset(0)
{
}

CMultiStreamFile::CStream::~CStream()
{
    delete m_pFile;
}

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile: construction

IMPLEMENT_DYNAMIC(CMultiStreamFile, CFile)

CMultiStreamFile::CMultiStreamFile()
    : m_streams(10), m_pCurrentStream(NULL), m_bDirectoryChanged(FALSE)
{
}

CMultiStreamFile::CMultiStreamFile(int hFile)
    : CFile(hFile), m_streams(10), m_pCurrentStream(NULL), m_bDirectoryChanged(FALSE)
{
}

CMultiStreamFile::CMultiStreamFile(LPCTSTR lpszFileName, UINT nOpenFlags)
    : m_streams(10), m_pCurrentStream(NULL), m_bDirectoryChanged(FALSE)
{
    CFileException error(CFileException::none, -1, NULL);
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CMultiStreamFile::~CMultiStreamFile() noexcept(false)
{
    std::exception_ptr closeError;
    if (m_hFile != hFileNull && m_bCloseOnDelete) {
        try {
            Close();
        } catch (CException*) {
            // Also the container's own failures: the streams must go in any case.
            closeError = std::current_exception();
        }
    }
    FreeStreams();
    // Thrown again as the type it had, so that a catch of CFileException* sees it.
    if (closeError)
        std::rethrow_exception(closeError);
}

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile: container operations

BOOL CMultiStreamFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    // The streams of a file opened before belong to that file.
    FreeStreams();

    // Rewriting needs to read what it keeps, so writing implies reading.
    if (nOpenFlags & modeWrite)
        nOpenFlags = (nOpenFlags & ~(UINT)modeWrite) | modeReadWrite;

    if (!CFile::Open(lpszFileName, nOpenFlags, pError))
        return FALSE;

    if ((nOpenFlags & modeReadWrite) && GetFileLength() == 0)
        return TRUE;

    try {
        AllocStreams();
    } catch (CFileException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CMultiStreamFile::Close()
{
    FlushStreams();
    POSITION pos = m_streams.GetHeadPosition();
    while (pos != NULL) {
        CStream* pStream = m_streams.GetNext(pos);
        if (pStream->m_pFile != NULL)
            pStream->m_pFile->CMemFile::Close();
    }
    CFile::Close();
    FreeStreams();
}

void CMultiStreamFile::Abort()
{
    // Save what can be saved; an abort must not fail.
    try {
        FlushStreams();
    } catch (CException* e) {
        e->Delete();
    }
    POSITION pos = m_streams.GetHeadPosition();
    while (pos != NULL) {
        CStream* pStream = m_streams.GetNext(pos);
        if (pStream->m_pFile != NULL)
            pStream->m_pFile->CMemFile::Abort();
    }
    CFile::Abort();
    FreeStreams();
}

void CMultiStreamFile::Flush()
{
    FlushStreams();
    CFile::Flush();
}

DWORD CMultiStreamFile::GetFilePosition() const
{
    return CFile::GetPosition();
}

DWORD CMultiStreamFile::GetFileLength() const
{
    BY_HANDLE_FILE_INFORMATION info;
    memset(&info, 0, sizeof(info));
    if (!::GetFileInformationByHandle((HANDLE)m_hFile, &info))
        return 0;
    return info.nFileSizeLow;
}

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile: stream operations

CFile* CMultiStreamFile::OpenStream(const CString& strName, BOOL bCreate)
{
    CStream* pStream = LookupStream(strName);
    if (pStream == NULL) {
        if (!bCreate)
            ThrowException(CMultiStreamFileException::streamNotFound, strName);
        std::unique_ptr<CStream> pNew(new CStream);
        pNew->m_strName = strName;
        m_streams.AddTail(pNew.get());
        pStream = pNew.release();
    }
    if (pStream->m_pFile == NULL)
        ReadStream(pStream);
    m_pCurrentStream = pStream;
    return pStream->m_pFile;
}

void CMultiStreamFile::SetCurrentStream(const CString& strName)
{
    CStream* pStream = LookupStream(strName);
    if (pStream == NULL)
        ThrowException(CMultiStreamFileException::streamNotFound, strName);
    if (pStream->m_pFile == NULL)
        ReadStream(pStream);
    m_pCurrentStream = pStream;
}

void CMultiStreamFile::DeleteStream(const CString& strName)
{
    if (strName.GetLength() > kMaxNameLength)
        ThrowException(CMultiStreamFileException::nameTooLong, strName);

    POSITION pos = m_streams.GetHeadPosition();
    POSITION posFound = NULL;
    while (pos != NULL) {
        POSITION posThis = pos;
        if (wcscmp(m_streams.GetNext(pos)->m_strName, strName) == 0) {
            posFound = posThis;
            break;
        }
    }
    if (posFound == NULL)
        ThrowException(CMultiStreamFileException::streamNotFound, strName);

    // The stream that follows carries the change to the next flush; it is loaded
    // from its old block before anything is removed, so a damaged block leaves the
    // container as it was.
    CStream* pNext = pos != NULL ? m_streams.GetAt(pos) : NULL;
    if (pNext != NULL && pNext->m_pFile == NULL)
        ReadStream(pNext);

    CStream* pStream = m_streams.GetAt(posFound);
    m_streams.RemoveAt(posFound);
    if (m_pCurrentStream == pStream)
        m_pCurrentStream = NULL;
    delete pStream;

    if (pNext != NULL)
        pNext->m_pFile->m_bModified = TRUE;
    else
        m_bDirectoryChanged = TRUE;
}

BOOL CMultiStreamFile::DoesStreamExist(const CString& strName) const
{
    return LookupStream(strName) != NULL;
}

BOOL CMultiStreamFile::HaveCurrentStream() const
{
    return m_pCurrentStream == NULL || m_pCurrentStream->m_pFile == NULL;
}

CString CMultiStreamFile::GetCurrentStreamName() const
{
    CheckForCurrentStream();
    return m_pCurrentStream->m_strName;
}

CFile* CMultiStreamFile::GetCurrentStreamFile() const
{
    CheckForCurrentStream();
    return m_pCurrentStream->m_pFile;
}

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile: the CFile operations, on the current stream

DWORD CMultiStreamFile::GetPosition() const
{
    CheckForCurrentStream();
    return m_pCurrentStream->m_pFile->GetPosition();
}

LONG CMultiStreamFile::Seek(LONG lOff, UINT nFrom)
{
    CheckForCurrentStream();
    return m_pCurrentStream->m_pFile->Seek(lOff, nFrom);
}

void CMultiStreamFile::SetLength(DWORD dwNewLen)
{
    CheckForCurrentStream();
    m_pCurrentStream->m_pFile->SetLength(dwNewLen);
}

DWORD CMultiStreamFile::GetLength() const
{
    CheckForCurrentStream();
    return m_pCurrentStream->m_pFile->GetLength();
}

UINT CMultiStreamFile::Read(void* lpBuf, UINT nCount)
{
    CheckForCurrentStream();
    return m_pCurrentStream->m_pFile->Read(lpBuf, nCount);
}

void CMultiStreamFile::Write(const void* lpBuf, UINT nCount)
{
    CheckForCurrentStream();
    m_pCurrentStream->m_pFile->Write(lpBuf, nCount);
}

void CMultiStreamFile::LockRange(DWORD dwPos, DWORD dwCount)
{
    CheckForCurrentStream();
    m_pCurrentStream->m_pFile->LockRange(dwPos, dwCount);
}

void CMultiStreamFile::UnlockRange(DWORD dwPos, DWORD dwCount)
{
    CheckForCurrentStream();
    m_pCurrentStream->m_pFile->UnlockRange(dwPos, dwCount);
}

CFile* CMultiStreamFile::Duplicate() const
{
    CheckForCurrentStream();
    return m_pCurrentStream->m_pFile->Duplicate();
}

UINT CMultiStreamFile::GetBufferPtr(UINT nCommand, UINT nCount, void** ppBufStart,
                                    void** ppBufMax)
{
    CheckForCurrentStream();
    return m_pCurrentStream->m_pFile->GetBufferPtr(nCommand, nCount, ppBufStart, ppBufMax);
}

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile: implementation

CMultiStreamFile::CStream* CMultiStreamFile::LookupStream(const CString& strName) const
{
    if (strName.GetLength() > kMaxNameLength)
        ThrowException(CMultiStreamFileException::nameTooLong, strName);
    POSITION pos = m_streams.GetHeadPosition();
    while (pos != NULL) {
        CStream* pStream = m_streams.GetNext(pos);
        if (wcscmp(pStream->m_strName, strName) == 0)
            return pStream;
    }
    return NULL;
}

void CMultiStreamFile::CheckForCurrentStream() const
{
    if (m_pCurrentStream == NULL || m_pCurrentStream->m_pFile == NULL)
        ThrowException(CMultiStreamFileException::noCurrentStream, CString());
}

void CMultiStreamFile::ThrowException(int nErrorCode, const CString& strStreamName) const
{
    throw new CMultiStreamFileException(nErrorCode, strStreamName, m_strFileName);
}

void CMultiStreamFile::SeekDisk(DWORD dwPosition)
{
    if (dwPosition > kMaxContainerSize)
        ThrowException(CMultiStreamFileException::invalidFormat, CString());
    CFile::Seek((LONG)dwPosition, begin);
}

DWORD CMultiStreamFile::DiskLength() const
{
    // GetFileLength asks for the whole file information, volume included, which
    // costs the platform much more than the size alone.
    return CFile::GetLength();
}

DWORD CMultiStreamFile::ReadDiskDword()
{
    DWORD dw = 0;
    if (CFile::Read(&dw, sizeof(dw)) != sizeof(dw))
        ThrowException(CMultiStreamFileException::invalidFormat, CString());
    return dw;
}

void CMultiStreamFile::AllocStreams()
{
    DWORD dwFileLength = GetFileLength();

    SeekDisk(0);
    if (ReadDiskDword() != kMagic)
        ThrowException(CMultiStreamFileException::invalidFormat, CString());
    DWORD dwDirectory = ReadDiskDword();
    if (dwDirectory >= dwFileLength)
        ThrowException(CMultiStreamFileException::invalidFormat, CString());

    SeekDisk(dwDirectory);
    if (ReadDiskDword() != kMagic)
        ThrowException(CMultiStreamFileException::invalidFormat, CString());
    DWORD dwCount = ReadDiskDword();
    // What lies behind the directory bounds the number of entries: a damaged count
    // must not make the reader allocate for billions of them.
    DWORD dwEntryBytes = dwFileLength - dwDirectory - kHeaderSize;
    if (dwCount > dwEntryBytes / kMinEntrySize)
        ThrowException(CMultiStreamFileException::invalidFormat, CString());

    CDiskReader reader(this, dwEntryBytes);
    try {
        for (DWORD i = 0; i < dwCount; ++i) {
            std::unique_ptr<CStream> pStream(new CStream);
            BYTE nLength = 0;
            WCHAR szName[kMaxNameLength + 1];
            DWORD dwOffset = 0;
            if (!reader.Get(&nLength, 1) || !reader.Get(szName, nLength * sizeof(WCHAR)) ||
                !reader.Get(&dwOffset, sizeof(dwOffset)))
                ThrowException(CMultiStreamFileException::invalidFormat, CString());
            szName[nLength] = 0;
            // Blocks are written before the directory; one that is not is damage.
            if (dwOffset != 0 &&
                (dwOffset < kHeaderSize || (ULONGLONG)dwOffset + kHeaderSize > dwDirectory))
                ThrowException(CMultiStreamFileException::invalidFormat, CString());
            pStream->m_strName = szName;
            pStream->m_dwOffset = dwOffset;
            m_streams.AddTail(pStream.get());
            pStream.release();
        }
    } catch (CException*) {
        FreeStreams();
        throw;
    }
}

void CMultiStreamFile::ReadStream(CStream* pStream)
{
    std::unique_ptr<CStreamFile> pFile(new CStreamFile);
    if (pStream->m_dwOffset != 0) {
        // The length is checked against the file before anything is allocated: a
        // damaged block must not claim gigabytes.
        DWORD dwFileLength = DiskLength();
        if (pStream->m_dwOffset > dwFileLength || dwFileLength - pStream->m_dwOffset < kHeaderSize)
            ThrowException(CMultiStreamFileException::invalidFormat, CString());
        SeekDisk(pStream->m_dwOffset);
        if (ReadDiskDword() != kMagic)
            ThrowException(CMultiStreamFileException::invalidFormat, CString());
        DWORD dwLength = ReadDiskDword();
        if (dwLength > dwFileLength - pStream->m_dwOffset - kHeaderSize)
            ThrowException(CMultiStreamFileException::invalidFormat, CString());

        // The memory for the whole content at once, filled from the copy buffer
        // without being cleared first.
        if (dwLength > 0) {
            void* lpStart = NULL;
            void* lpMax = NULL;
            if (pFile->GetBufferPtr(bufferWrite, dwLength, &lpStart, &lpMax) < dwLength)
                AfxThrowMemoryException();
            BYTE* lpContent = static_cast<BYTE*>(lpStart);
            std::unique_ptr<BYTE[]> pBuffer(new BYTE[CopyBufferSize(dwLength)]);
            DWORD dwDone = 0;
            while (dwDone < dwLength) {
                UINT nGot = CFile::Read(pBuffer.get(), CopyBufferSize(dwLength - dwDone));
                // The file was shorter than its length said a moment ago.
                if (nGot == 0)
                    ThrowException(CMultiStreamFileException::invalidFormat, CString());
                memcpy(lpContent + dwDone, pBuffer.get(), nGot);
                dwDone += nGot;
            }
        }
        pFile->GetBufferPtr(bufferCommit, dwLength);
        pFile->m_bModified = FALSE;
        pFile->Seek(0, begin);
    }
    pStream->m_pFile = pFile.release();
}

void CMultiStreamFile::WriteStream(CStream* pStream)
{
    CStreamFile* pFile = pStream->m_pFile;
    DWORD dwPosition = CFile::GetPosition();
    DWORD dwOldStreamPos = pFile->GetPosition();
    pFile->Seek(0, begin);
    DWORD dwLength = pFile->GetLength();

    DWORD header[2] = { kMagic, dwLength };
    CFile::Write(header, sizeof(header));

    if (dwLength > 0) {
        std::unique_ptr<BYTE[]> pBuffer(new BYTE[CopyBufferSize(dwLength)]);
        DWORD dwDone = 0;
        while (dwDone < dwLength) {
            UINT nGot = pFile->Read(pBuffer.get(), CopyBufferSize(dwLength - dwDone));
            if (nGot == 0)
                break;
            CFile::Write(pBuffer.get(), nGot);
            dwDone += nGot;
        }
    }

    pFile->Seek((LONG)dwOldStreamPos, begin);
    pFile->m_bModified = FALSE;
    pStream->m_dwOffset = dwPosition;
}

DWORD CMultiStreamFile::EndOfBlock(const CStream* pStream)
{
    SeekDisk(pStream->m_dwOffset + 4);
    ULONGLONG nEnd = (ULONGLONG)pStream->m_dwOffset + kHeaderSize + ReadDiskDword();
    if (nEnd > kMaxContainerSize)
        ThrowException(CMultiStreamFileException::invalidFormat, CString());
    return (DWORD)nEnd;
}

void CMultiStreamFile::FlushStreams()
{
    // The first changed stream; all before it stay where they are.
    POSITION posFirst = m_streams.GetHeadPosition();
    while (posFirst != NULL) {
        CStream* pStream = m_streams.GetAt(posFirst);
        if (pStream->m_pFile != NULL && pStream->m_pFile->m_bModified)
            break;
        m_streams.GetNext(posFirst);
    }
    if (posFirst == NULL && !m_bDirectoryChanged)
        return;

    // Everything that will be rewritten comes into memory before its old block can
    // be overwritten.
    for (POSITION pos = posFirst; pos != NULL;) {
        CStream* pStream = m_streams.GetNext(pos);
        if (pStream->m_pFile == NULL)
            ReadStream(pStream);
    }

    // The rewrite starts at the first changed stream's old block. It must not reach
    // into the blocks kept before it: a stream that never had a block, or a container
    // whose blocks are not in directory order, starts behind the last of those.
    DWORD dwStart = kHeaderSize;
    if (posFirst != m_streams.GetHeadPosition()) {
        if (posFirst != NULL && m_streams.GetAt(posFirst)->m_dwOffset > dwStart)
            dwStart = m_streams.GetAt(posFirst)->m_dwOffset;
        for (POSITION pos = m_streams.GetHeadPosition(); pos != posFirst;) {
            CStream* pStream = m_streams.GetNext(pos);
            if (pStream->m_dwOffset != 0) {
                DWORD dwEnd = EndOfBlock(pStream);
                if (dwEnd > dwStart)
                    dwStart = dwEnd;
            }
        }
    }
    // Nothing is written when the result could not be addressed.
    size_t nDirectorySize = kHeaderSize;
    for (POSITION pos = m_streams.GetHeadPosition(); pos != NULL;)
        nDirectorySize += kMinEntrySize + m_streams.GetNext(pos)->m_strName.GetLength() * sizeof(WCHAR);
    ULONGLONG nTotal = (ULONGLONG)dwStart + nDirectorySize;
    for (POSITION pos = posFirst; pos != NULL;)
        nTotal += kHeaderSize + m_streams.GetNext(pos)->m_pFile->GetLength();
    if (nTotal > kMaxContainerSize)
        AfxThrowFileException(CFileException::diskFull, ERROR_FILE_TOO_LARGE, m_strFileName);

    DWORD header[2] = { kMagic, 0 };
    SeekDisk(0);
    CFile::Write(header, sizeof(header));
    // Cut here. CFile::SetLength would position through the virtual Seek, which
    // belongs to the current stream.
    SeekDisk(dwStart);
    if (!::SetEndOfFile((HANDLE)m_hFile)) {
        LONG lError = (LONG)::GetLastError();
        CFileException::ThrowOsError(lError, m_strFileName);
        AfxThrowFileException(CFileException::generic, lError, m_strFileName);
    }

    for (POSITION pos = posFirst; pos != NULL;)
        WriteStream(m_streams.GetNext(pos));

    // The directory goes out in one piece.
    DWORD dwDirectory = CFile::GetPosition();
    std::unique_ptr<BYTE[]> pDirectory(new BYTE[nDirectorySize]);
    BYTE* lpOut = pDirectory.get();
    DWORD dirHeader[2] = { kMagic, (DWORD)m_streams.GetCount() };
    memcpy(lpOut, dirHeader, sizeof(dirHeader));
    lpOut += sizeof(dirHeader);
    for (POSITION pos = m_streams.GetHeadPosition(); pos != NULL;) {
        CStream* pStream = m_streams.GetNext(pos);
        int nLength = pStream->m_strName.GetLength();
        *lpOut++ = (BYTE)nLength;
        memcpy(lpOut, (LPCTSTR)pStream->m_strName, nLength * sizeof(WCHAR));
        lpOut += nLength * sizeof(WCHAR);
        memcpy(lpOut, &pStream->m_dwOffset, sizeof(DWORD));
        lpOut += sizeof(DWORD);
    }
    CFile::Write(pDirectory.get(), (UINT)nDirectorySize);

    SeekDisk(4);
    CFile::Write(&dwDirectory, sizeof(dwDirectory));
    m_bDirectoryChanged = FALSE;
}

void CMultiStreamFile::FreeStreams()
{
    POSITION pos = m_streams.GetHeadPosition();
    while (pos != NULL)
        delete m_streams.GetNext(pos);
    m_streams.RemoveAll();
    m_pCurrentStream = NULL;
    m_bDirectoryChanged = FALSE;
}
