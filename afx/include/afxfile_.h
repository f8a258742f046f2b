// afxfile_.h - files.
//
//   CFileStatus   times, size, attributes and full path of a file
//   CFile         an unbuffered Win32 file handle; failures throw CFileException
//   CStdioFile    a buffered C run-time stream with text lines
//   CMemFile      a file in memory that grows as it is written
//   CSharedFile   a CMemFile in global (GlobalAlloc) memory, for the clipboard and DDE
//
// Included by afx.h after afxexc_.h.
#pragma once

#include "afxexc_.h"
// CFileStatus holds CTime values.
#include "afxtime_.h"

#include <stdio.h>

/////////////////////////////////////////////////////////////////////////////
// CFileStatus

struct CFileStatus
{
    CTime m_ctime;          // creation time
    CTime m_mtime;          // last modification time
    CTime m_atime;          // last access time
    LONG m_size;            // logical size in bytes
    BYTE m_attribute;       // CFile::Attribute bits
    BYTE m_padding;
    TCHAR m_szFullName[_MAX_PATH];
};

/////////////////////////////////////////////////////////////////////////////
// CFile

class AFX_CORE_CLASS CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)

public:
// Flag values
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,       // treated as shareExclusive
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,          // CStdioFile only
        typeBinary = (int)0x8000    // CStdioFile only
    };

    enum Attribute
    {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };

    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    // The m_hFile of a CFile without an open file.
    enum : UINT_PTR { hFileNull = (UINT_PTR)(INT_PTR)-1 };

// Constructors
    CFile();
    // Wraps an open handle, which the CFile does not close when it is destroyed.
    CFile(int hFile);
    // Opens the file; throws CFileException when that fails.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);

// Attributes
    UINT_PTR m_hFile;       // the Win32 file handle, hFileNull when none
    operator HFILE() const;

    virtual DWORD GetPosition() const;
    BOOL GetStatus(CFileStatus& rStatus) const;
    virtual CString GetFileName() const;    // "name.ext"
    virtual CString GetFileTitle() const;   // as the shell shows it
    virtual CString GetFilePath() const;    // the full path
    virtual void SetFilePath(LPCTSTR lpszNewName);

// Operations
    // FALSE (with the reason in *pError) when the file cannot be opened.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);

    static void PASCAL Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    static void PASCAL Remove(LPCTSTR lpszFileName);
    static BOOL PASCAL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
    static void PASCAL SetStatus(LPCTSTR lpszFileName, const CFileStatus& status);

    DWORD SeekToEnd();
    void SeekToBegin();

    // The same as Read and Write (they once served the segmented 16-bit platform).
    DWORD ReadHuge(void* lpBuffer, DWORD dwCount);
    void WriteHuge(const void* lpBuffer, DWORD dwCount);

// Overridables
    // A second CFile on a duplicate of the handle (NULL without an open file).
    virtual CFile* Duplicate() const;

    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual void SetLength(DWORD dwNewLen);
    virtual DWORD GetLength() const;

    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);

    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);

    // Closes without throwing.
    virtual void Abort();
    virtual void Flush();
    virtual void Close();

    // Direct access to a file's own buffer (CMemFile); CArchive uses it when the
    // file answers bufferCheck with bufferDirect.
    enum BufferCommand { bufferRead, bufferWrite, bufferCommit, bufferCheck };
    enum BufferFlags { bufferDirect = 0x01, bufferBlocking = 0x02 };
    virtual UINT GetBufferPtr(UINT nCommand, UINT nCount = 0, void** ppBufStart = NULL,
                              void** ppBufMax = NULL);

// Implementation
public:
    virtual ~CFile();

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

/////////////////////////////////////////////////////////////////////////////
// CStdioFile: a C run-time stream over the file handle. Text mode (the default)
// stores a line end as "\r\n" and reads it back as "\n".

class AFX_CORE_CLASS CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)

public:
// Constructors
    CStdioFile();
    // Wraps an open stream, which the CStdioFile does not close when it is destroyed.
    CStdioFile(FILE* pOpenStream);
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);

// Attributes
    FILE* m_pStream;

// Operations
    // Writes the text as it is; a '\n' in it ends a line.
    virtual void WriteString(LPCTSTR lpsz);
    // Reads a line of at most nMax - 1 characters, keeping its '\n'; NULL at the end.
    virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    // Reads a line without its '\n'; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);

// Implementation
public:
    virtual ~CStdioFile();
    virtual DWORD GetPosition() const;
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual void Abort();
    virtual void Flush();
    virtual void Close();
    virtual DWORD GetLength() const;

    // Not supported on a stream: throw CNotSupportedException.
    virtual CFile* Duplicate() const;
    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);

private:
    WCHAR m_chPending;      // second half of a surrogate pair read from ANSI text
    BOOL m_bBinary;         // typeBinary: characters are UTF-16 units as they are
    int ReadChar(WCHAR& ch);
};

/////////////////////////////////////////////////////////////////////////////
// CMemFile

class AFX_CORE_CLASS CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)

public:
// Constructors
    // An empty file whose memory grows in steps of nGrowBytes.
    CMemFile(UINT nGrowBytes = 1024);
    // A file over the caller's buffer, which it does not free. With nGrowBytes 0 the
    // file has the buffer's size and cannot grow; otherwise it starts empty and the
    // buffer (from malloc) is reallocated as the file grows.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);

// Operations
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the memory to the caller and leaves the file empty.
    BYTE* Detach();

// Advanced Overridables
protected:
    virtual BYTE* Alloc(DWORD nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, DWORD nBytes);
    virtual BYTE* Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, UINT nBytes);
    virtual void Free(BYTE* lpMem);
    virtual void GrowFile(DWORD dwNewLen);

// Implementation
protected:
    UINT m_nGrowBytes;
    DWORD m_nPosition;
    DWORD m_nBufferSize;
    DWORD m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;     // the memory is the file's own and is freed by Close

public:
    virtual ~CMemFile();
    virtual DWORD GetPosition() const;
    BOOL GetStatus(CFileStatus& rStatus) const;
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual void SetLength(DWORD dwNewLen);
    virtual DWORD GetLength() const;
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Abort();
    virtual void Flush();
    virtual void Close();
    virtual UINT GetBufferPtr(UINT nCommand, UINT nCount = 0, void** ppBufStart = NULL,
                              void** ppBufMax = NULL);

    // Not supported on memory: throw CNotSupportedException.
    virtual CFile* Duplicate() const;
    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);
};

/////////////////////////////////////////////////////////////////////////////
// CSharedFile

class AFX_CORE_CLASS CSharedFile : public CMemFile
{
    DECLARE_DYNAMIC(CSharedFile)

public:
// Constructors
    CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);

// Attributes
    // Hands the global memory (unlocked, sized to the file's contents) to the caller
    // and leaves the file empty; NULL when the file has no memory.
    HGLOBAL Detach();
    // Makes the file work on hGlobalMemory (its whole size is the file's contents);
    // the file owns it from now on. Without bAllowGrow the file cannot grow.
    void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

// Implementation
protected:
    virtual BYTE* Alloc(DWORD nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, DWORD nBytes);
    virtual void Free(BYTE* lpMem);

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory;
    BOOL m_bAllowGrow;

public:
    virtual ~CSharedFile();
};
