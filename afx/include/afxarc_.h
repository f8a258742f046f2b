// afxarc_.h - CArchive: binary serialization of values, strings and object graphs
// through a CFile.
//
// Values are stored little-endian in their natural size (int and unsigned as 32 bits);
// objects are stored with a record of their run-time class the first time the class
// appears and as back-references after that, so a graph with shared pointers loads
// with the same sharing.
// Included by afx.h after afxfile_.h.
#pragma once

#include "afxfile_.h"

class CDocument;
struct CArchiveObjectMaps;

class AFX_CORE_CLASS CArchive
{
public:
// Flag values
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // nBufSize: size of the archive's buffer; lpBuf: a buffer of the caller to use
    // instead of its own. A file with its own memory (CMemFile) is read and written
    // in place when no lpBuf is given.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    ~CArchive();

// Attributes
    BOOL IsLoading() const;
    BOOL IsStoring() const;
    BOOL IsByteSwapping() const;
    BOOL IsBufferEmpty() const;

    CFile* GetFile() const;
    // The schema of the object being loaded; -1 after the first call in one Serialize.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema);

    // The document being serialized, for the objects that need it.
    CDocument* m_pDocument;

// Operations
    // Reads up to nMax bytes; fewer only at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Writes the buffer to the file (storing), or gives back what was read ahead (loading).
    void Flush();
    // Flushes and detaches from the file, which stays open.
    void Close();
    // Detaches from the file without flushing and without throwing.
    void Abort();

    // Text lines: WriteString writes the characters as they are (no line end added);
    // ReadString reads up to a line end ("\n", "\r\n") and drops it.
    void WriteString(LPCTSTR lpsz);
    LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    BOOL ReadString(CString& rString);

public:
// Object I/O is pointer based to avoid added construction overhead.
    friend AFX_CORE_API CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb);
    friend AFX_CORE_API CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb);
    friend AFX_CORE_API CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb);

    // insertion operations
    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(LONG l);
    CArchive& operator<<(DWORD dw);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(int i);        // as a LONG
    CArchive& operator<<(short w);      // as a WORD
    CArchive& operator<<(char ch);      // as a BYTE
    CArchive& operator<<(unsigned u);   // as a LONG
    CArchive& operator<<(wchar_t ch);   // as a WORD (the framework's TCHAR)

    // extraction operations
    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(DWORD& dw);
    CArchive& operator>>(LONG& l);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(int& i);
    CArchive& operator>>(short& w);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(unsigned& u);
    CArchive& operator>>(wchar_t& ch);

    // object read/write
    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteObject(const CObject* pOb);
    // Enters an object that is stored or loaded by other means into the map, so that
    // pointers to it can be written and read as references.
    void MapObject(const CObject* pOb);

    // advanced object mapping (used for forced references)
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL,
                             UINT* pSchema = NULL, DWORD* pObTag = NULL);
    void SerializeClass(const CRuntimeClass* pClassRef);

    // Size hints for the maps of stored and loaded objects; call before the first object.
    void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128);
    void SetLoadParams(UINT nGrowBy = 1024);

// Implementation
public:
    BOOL m_bForceFlat;      // for compound documents; kept for compatibility
    BOOL m_bDirectBuffer;   // TRUE when the buffer is the file's own memory
    // Makes nBytesNeeded more bytes (beyond those left) available in the buffer;
    // throws CArchiveException::endOfFile when the file has fewer.
    void FillBuffer(UINT nBytesNeeded);
    // Throws CArchiveException::badIndex when the object map is full.
    void CheckCount();

    // Counts as a WORD, or 0xFFFF and a DWORD from 0xFFFF on.
    DWORD ReadCount();
    void WriteCount(DWORD dwCount);

    // public for advanced use
    UINT m_nObjectSchema;
    CString m_strFileName;

protected:
    // archive objects cannot be copied or assigned
    CArchive(const CArchive& arSrc);
    void operator=(const CArchive& arSrc);

    BOOL m_nMode;
    BOOL m_bUserBuf;
    int m_nBufSize;
    CFile* m_pFile;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    BYTE* m_lpBufStart;

    // the map of stored objects and classes (storing) or the array of loaded ones
    UINT m_nMapCount;
    CArchiveObjectMaps* m_pMaps;
    UINT m_nGrowSize;
    UINT m_nHashSize;

private:
    void CheckLoading();
    void CheckStoring();
    void PutBytes(const void* lpData, UINT nBytes);
    void GetBytes(void* lpData, UINT nBytes);
    void CommitDirectBuffer(BOOL bGetNext);
    UINT RefillBuffer(UINT nBytesWanted);
    int ReadChar(TCHAR& ch);
};
