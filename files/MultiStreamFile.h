// MultiStreamFile.h - a container file that keeps any number of named streams.
//
//   CMultiStreamFileException   a damaged container, a stream name that is too long or
//                               unknown, or a stream operation without a current stream
//   CMultiStreamFile            a CFile whose disk file holds named streams; once a stream
//                               is opened, the CFile operations act on that stream
//
// Layout of the disk file (little-endian, offsets from the start of the file; every
// part opens with the magic "PR{\0"):
//
//   header      magic, offset of the directory
//   blocks      magic, length n, n bytes of content            (one per stored stream)
//   directory   magic, entry count, entries                    (always last)
//   entry       name length L (1 byte), L UTF-16LE units, offset of the block (0: none)
//
// A file of length 0 is an empty container. Streams are loaded into memory when they
// are first opened; changes reach the disk on Flush, Close or Abort, rewritten from the
// first changed stream on, so the blocks before it are neither read nor moved.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxtempl.h>

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFileException

class AFX_EXT_CLASS CMultiStreamFileException : public CException
{
    DECLARE_DYNAMIC(CMultiStreamFileException)

public:
    // The error codes; the message is the library string IDS_MSF_INVALID_FORMAT + code.
    enum
    {
        invalidFormat = 0,      // a magic is wrong or the directory lies beyond the end
        nameTooLong = 1,        // a stream name of more than 255 units
        streamNotFound = 2,     // no stream of that name
        noCurrentStream = 3     // a stream operation while no stream is current
    };

// Construction
public:
    // The message names the stream (%1) and the container file (%2).
    CMultiStreamFileException(int nErrorCode, const CString& strStreamName,
                              const CString& strFileName);
    virtual ~CMultiStreamFileException();

// Attributes
public:
    int GetErrorCode() const;
    CString GetErrorMessage() const;

// Operations
public:
    using CException::GetErrorMessage;
    // Copies the message (truncated and terminated as lstrcpyn does); always TRUE.
    // The help context is not touched.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

// Implementation
protected:
    int m_nErrorCode;
    CString m_strMessage;
};

/////////////////////////////////////////////////////////////////////////////
// CMultiStreamFile

class AFX_EXT_CLASS CMultiStreamFile : public CFile
{
    DECLARE_DYNAMIC(CMultiStreamFile)

public:
    // The content of a loaded stream. Closing or aborting it (as a CFile handed out by
    // OpenStream) leaves the content in place: the container alone disposes of it.
    class AFX_EXT_CLASS CStreamFile : public CMemFile
    {
    public:
        CStreamFile();
        virtual ~CStreamFile();

        virtual void Write(const void* lpBuf, UINT nCount);
        virtual UINT GetBufferPtr(UINT nCommand, UINT nCount = 0, void** ppBufStart = NULL,
                                  void** ppBufMax = NULL);
        virtual void Abort();
        virtual void Close();

        // TRUE once the content differs from what was loaded or last written.
        BOOL m_bModified;

    protected:
        // The first size is taken as asked (a stream being loaded knows its length);
        // after that the memory grows by half of what it has, so that a stream
        // written in small pieces is not reallocated once per piece. Small streams
        // live on the heap; larger ones in address space reserved ahead, where they
        // grow in place.
        virtual void GrowFile(DWORD dwNewLen);
        virtual void Free(BYTE* lpMem);

    private:
        void MoveToRegion(DWORD dwNewLen, ULONGLONG nWant);

        // Address space reserved at m_lpBuffer; 0 while the memory is a heap block.
        SIZE_T m_nReserved;

        CStreamFile(const CStreamFile&);
        void operator=(const CStreamFile&);
    };

    // One entry of the directory and, once loaded, its content.
    class AFX_EXT_CLASS CStream
    {
    public:
        CStream();
        ~CStream();

        CString m_strName;          // 0 to 255 units; compared exactly
        CStreamFile* m_pFile;       // the content, NULL while not loaded; owned
        DWORD m_dwOffset;           // offset of the block in the file, 0 while none

    private:
        CStream(const CStream&);
        void operator=(const CStream&);
    };

// Construction
public:
    CMultiStreamFile();
    // Wraps an open handle, which is not closed on delete; no directory is read.
    CMultiStreamFile(int hFile);
    // Opens the container; throws CFileException when that fails.
    CMultiStreamFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    // Closes a container it opened itself; an exception of that close is thrown again
    // after the streams are freed, so this destructor may throw. Close or Abort a
    // container before an exception unwinds past it: a second exception in flight
    // ends the process.
    virtual ~CMultiStreamFile() noexcept(false);

// Container operations
public:
    // Opens the disk file (modeWrite becomes modeReadWrite) and reads the directory. An
    // empty file opened for writing is a new container. FALSE when the file cannot be
    // opened or read; a damaged container throws CMultiStreamFileException.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    // Write the changed streams, then close the disk file (Abort ignores errors).
    virtual void Close();
    virtual void Abort();
    virtual void Flush();

    // Position and size of the disk file itself.
    virtual DWORD GetFilePosition() const;
    virtual DWORD GetFileLength() const;

// Stream operations
public:
    // Opens (with bCreate: creates, if needed) the stream and makes it current. The
    // container keeps the returned file until it frees its streams.
    CFile* OpenStream(const CString& strName, BOOL bCreate);
    void SetCurrentStream(const CString& strName);
    void DeleteStream(const CString& strName);
    BOOL DoesStreamExist(const CString& strName) const;
    // TRUE when there is NO current stream, whatever the name suggests.
    BOOL HaveCurrentStream() const;
    CString GetCurrentStreamName() const;
    CFile* GetCurrentStreamFile() const;

    // These act on the current stream (CMultiStreamFileException without one).
    virtual DWORD GetPosition() const;
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual void SetLength(DWORD dwNewLen);
    virtual DWORD GetLength() const;
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);
    virtual CFile* Duplicate() const;

// Implementation
protected:
    virtual UINT GetBufferPtr(UINT nCommand, UINT nCount = 0, void** ppBufStart = NULL,
                              void** ppBufMax = NULL);

    CStream* LookupStream(const CString& strName) const;
    void CheckForCurrentStream() const;

    void AllocStreams();
    void ReadStream(CStream* pStream);
    void WriteStream(CStream* pStream);
    void FlushStreams();
    void FreeStreams();

    CTypedPtrList<CPtrList, CStream*> m_streams;    // in directory order; owned
    CStream* m_pCurrentStream;

private:
    // Set when the last stream of the list was deleted: the next flush must write a
    // directory without it although no stream follows that could carry the change.
    BOOL m_bDirectoryChanged;

    [[noreturn]] void ThrowException(int nErrorCode, const CString& strStreamName) const;
    void SeekDisk(DWORD dwPosition);
    DWORD DiskLength() const;
    DWORD ReadDiskDword();
    DWORD EndOfBlock(const CStream* pStream);

    CMultiStreamFile(const CMultiStreamFile&);
    void operator=(const CMultiStreamFile&);
};
