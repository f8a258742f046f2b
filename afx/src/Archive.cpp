// Archive.cpp - CArchive, the archive form of CString and of CRuntimeClass.
#include "afx.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Tags of the object stream. A WORD tag is an object index, a class index with
// wClassTag set, wNewClassTag before a class record, or wBigObjectTag before a DWORD
// index (a class index with dwBigClassTag set) for indexes past 0x7FFE.
const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD nMaxMapCount = 0x3FFFFFFE;

// The buffer must hold the largest value read at once.
const int nMinBufSize = 16;

} // namespace

// The maps of an archive: stored pointers and their indexes, or loaded objects and
// classes by index, and the schemas of versionable classes read from the archive.
struct CArchiveObjectMaps
{
    struct LoadEntry
    {
        void* pEntry;
        bool bClass;
    };

    bool bInitialized = false;
    std::unordered_map<const void*, DWORD> storeMap;
    std::vector<LoadEntry> loadArray;
    std::unordered_map<const CRuntimeClass*, UINT> schemaMap;
};

/////////////////////////////////////////////////////////////////////////////
// Construction

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(NULL), m_bForceFlat(TRUE), m_bDirectBuffer(FALSE),
      m_nObjectSchema((UINT)-1), m_nMode((BOOL)nMode), m_bUserBuf(TRUE), m_nBufSize(nBufSize),
      m_pFile(pFile), m_lpBufCur(NULL), m_lpBufMax(NULL), m_lpBufStart(NULL), m_nMapCount(0),
      m_pMaps(NULL), m_nGrowSize(1024), m_nHashSize(2053)
{
    if (m_nBufSize < nMinBufSize) {
        // Too small to be of use: the archive takes a buffer of its own.
        m_nBufSize = nMinBufSize;
        lpBuf = NULL;
    }
    // Without a file every operation throws CArchiveException::generic.
    if (m_pFile == NULL)
        return;
    m_strFileName = m_pFile->GetFilePath();

    if (lpBuf != NULL) {
        m_lpBufStart = (BYTE*)lpBuf;
    } else if (m_pFile->GetBufferPtr(CFile::bufferCheck) & CFile::bufferDirect) {
        m_bDirectBuffer = TRUE;
    } else {
        m_lpBufStart = (BYTE*)malloc((size_t)m_nBufSize);
        if (m_lpBufStart == NULL)
            AfxThrowMemoryException();
        m_bUserBuf = FALSE;
    }

    if (IsLoading()) {
        m_lpBufCur = m_lpBufMax = m_lpBufStart;     // empty until the first read
    } else if (m_bDirectBuffer) {
        m_pFile->GetBufferPtr(CFile::bufferWrite, (UINT)m_nBufSize, (void**)&m_lpBufStart,
                              (void**)&m_lpBufMax);
        m_lpBufCur = m_lpBufStart;
    } else {
        m_lpBufCur = m_lpBufStart;
        m_lpBufMax = m_lpBufStart + m_nBufSize;
    }
}

CArchive::~CArchive()
{
    if (m_pFile != NULL && !(m_nMode & bNoFlushOnDelete)) {
        // Errors of this last flush are lost: call Close to see them.
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
    }
    Abort();
}

/////////////////////////////////////////////////////////////////////////////
// Attributes

BOOL CArchive::IsLoading() const
{
    return (m_nMode & load) != 0;
}

BOOL CArchive::IsStoring() const
{
    return (m_nMode & load) == 0;
}

BOOL CArchive::IsByteSwapping() const
{
    // The archive format is little-endian, as this platform.
    return FALSE;
}

BOOL CArchive::IsBufferEmpty() const
{
    return m_lpBufCur == m_lpBufMax;
}

CFile* CArchive::GetFile() const
{
    return m_pFile;
}

UINT CArchive::GetObjectSchema()
{
    // Valid once per Serialize: a second call is a mistake and answers -1.
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = (UINT)-1;
    return nResult;
}

void CArchive::SetObjectSchema(UINT nSchema)
{
    m_nObjectSchema = nSchema;
}

void CArchive::SetStoreParams(UINT nHashSize, UINT nBlockSize)
{
    m_nHashSize = nHashSize;
    m_nGrowSize = nBlockSize;
}

void CArchive::SetLoadParams(UINT nGrowBy)
{
    m_nGrowSize = nGrowBy;
}

/////////////////////////////////////////////////////////////////////////////
// Buffer management

void CArchive::CheckLoading()
{
    if (m_pFile == NULL)
        AfxThrowArchiveException(CArchiveException::generic, m_strFileName);
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
}

void CArchive::CheckStoring()
{
    if (m_pFile == NULL)
        AfxThrowArchiveException(CArchiveException::generic, m_strFileName);
    if (IsLoading())
        AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
}

void CArchive::CommitDirectBuffer(BOOL bGetNext)
{
    if (m_lpBufCur != m_lpBufStart)
        m_pFile->GetBufferPtr(CFile::bufferCommit, (UINT)(m_lpBufCur - m_lpBufStart));
    m_lpBufStart = m_lpBufCur = m_lpBufMax = NULL;
    if (bGetNext) {
        m_pFile->GetBufferPtr(CFile::bufferWrite, (UINT)m_nBufSize, (void**)&m_lpBufStart,
                              (void**)&m_lpBufMax);
        m_lpBufCur = m_lpBufStart;
    }
}

UINT CArchive::RefillBuffer(UINT nBytesWanted)
{
    UINT nUnused = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nUnused >= nBytesWanted)
        return nUnused;

    if (!m_bDirectBuffer) {
        // Keep what is left at the front and read behind it.
        if (m_lpBufCur != m_lpBufStart) {
            if (nUnused != 0)
                memmove(m_lpBufStart, m_lpBufCur, nUnused);
            m_lpBufCur = m_lpBufStart;
            m_lpBufMax = m_lpBufStart + nUnused;
        }
        while ((UINT)(m_lpBufMax - m_lpBufCur) < nBytesWanted) {
            UINT nRoom = (UINT)(m_lpBufStart + m_nBufSize - m_lpBufMax);
            if (nRoom == 0)
                break;
            UINT nRead = m_pFile->Read(m_lpBufMax, nRoom);
            if (nRead == 0)
                break;
            m_lpBufMax += nRead;
        }
    } else {
        // Give the rest back to the file and take a window that starts with it.
        if (nUnused != 0)
            m_pFile->Seek(-(LONG)nUnused, CFile::current);
        UINT nRequest = nBytesWanted > (UINT)m_nBufSize ? nBytesWanted : (UINT)m_nBufSize;
        m_lpBufStart = m_lpBufMax = NULL;
        m_pFile->GetBufferPtr(CFile::bufferRead, nRequest, (void**)&m_lpBufStart,
                              (void**)&m_lpBufMax);
        m_lpBufCur = m_lpBufStart;
    }
    return (UINT)(m_lpBufMax - m_lpBufCur);
}

void CArchive::FillBuffer(UINT nBytesNeeded)
{
    CheckLoading();
    ULONGLONG nTotal = (ULONGLONG)(m_lpBufMax - m_lpBufCur) + nBytesNeeded;
    if (nTotal > 0xFFFFFFFFULL || RefillBuffer((UINT)nTotal) < nTotal)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::Flush()
{
    if (m_pFile == NULL)
        return;
    if (IsLoading()) {
        // Give back what was read ahead, so the file is where the archive is.
        UINT nUnused = (UINT)(m_lpBufMax - m_lpBufCur);
        m_lpBufCur = m_lpBufMax;
        if (nUnused != 0)
            m_pFile->Seek(-(LONG)nUnused, CFile::current);
    } else if (m_bDirectBuffer) {
        CommitDirectBuffer(TRUE);
    } else {
        UINT nBytes = (UINT)(m_lpBufCur - m_lpBufStart);
        // Emptied first: a failed write is not repeated by the next flush.
        m_lpBufCur = m_lpBufStart;
        if (nBytes != 0)
            m_pFile->Write(m_lpBufStart, nBytes);
    }
}

void CArchive::Close()
{
    if (m_pFile == NULL)
        return;
    if (IsStoring() && m_bDirectBuffer)
        CommitDirectBuffer(FALSE);
    else
        Flush();
    m_pFile = NULL;
}

void CArchive::Abort()
{
    delete m_pMaps;
    m_pMaps = NULL;
    m_nMapCount = 0;
    if (!m_bUserBuf && !m_bDirectBuffer)
        free(m_lpBufStart);
    m_lpBufStart = m_lpBufCur = m_lpBufMax = NULL;
    m_bUserBuf = TRUE;
    m_pFile = NULL;
}

/////////////////////////////////////////////////////////////////////////////
// Bytes

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return 0;
    CheckLoading();
    if (lpBuf == NULL)
        AfxThrowArchiveException(CArchiveException::generic, m_strFileName);

    BYTE* lpDest = (BYTE*)lpBuf;
    UINT nLeft = nMax;
    for (;;) {
        UINT nAvail = (UINT)(m_lpBufMax - m_lpBufCur);
        UINT nCopy = nAvail < nLeft ? nAvail : nLeft;
        if (nCopy != 0) {
            memcpy(lpDest, m_lpBufCur, nCopy);
            m_lpBufCur += nCopy;
            lpDest += nCopy;
            nLeft -= nCopy;
        }
        if (nLeft == 0)
            break;

        // Whole buffers' worth go from the file straight to the caller.
        if (!m_bDirectBuffer && nLeft >= (UINT)m_nBufSize) {
            UINT nDirect = nLeft - nLeft % (UINT)m_nBufSize;
            UINT nGot = 0;
            while (nGot < nDirect) {
                UINT nRead = m_pFile->Read(lpDest + nGot, nDirect - nGot);
                if (nRead == 0)
                    break;
                nGot += nRead;
            }
            lpDest += nGot;
            nLeft -= nGot;
            if (nGot < nDirect || nLeft == 0)
                break;
        }
        if (RefillBuffer(1) == 0)
            break;
    }
    return nMax - nLeft;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return;
    CheckStoring();
    if (lpBuf == NULL)
        AfxThrowArchiveException(CArchiveException::generic, m_strFileName);

    const BYTE* lpSrc = (const BYTE*)lpBuf;
    UINT nLeft = nMax;
    for (;;) {
        UINT nRoom = (UINT)(m_lpBufMax - m_lpBufCur);
        UINT nCopy = nRoom < nLeft ? nRoom : nLeft;
        if (nCopy != 0) {
            memcpy(m_lpBufCur, lpSrc, nCopy);
            m_lpBufCur += nCopy;
            lpSrc += nCopy;
            nLeft -= nCopy;
        }
        if (nLeft == 0)
            break;

        Flush();
        nRoom = (UINT)(m_lpBufMax - m_lpBufCur);
        // Whole buffers' worth go straight to the file; so does everything when the
        // file offers no window (a fixed CMemFile that is full: its Write says why).
        if (nLeft >= (UINT)m_nBufSize || nRoom == 0) {
            UINT nDirect = nRoom == 0 ? nLeft : nLeft - nLeft % (UINT)m_nBufSize;
            m_pFile->Write(lpSrc, nDirect);
            lpSrc += nDirect;
            nLeft -= nDirect;
            if (m_bDirectBuffer) {
                // The window taken by Flush lies behind what was just written.
                m_lpBufCur = m_lpBufStart;
                CommitDirectBuffer(TRUE);
            }
            if (nLeft == 0)
                break;
        }
    }
}

void CArchive::PutBytes(const void* lpData, UINT nBytes)
{
    CheckStoring();
    if ((UINT)(m_lpBufMax - m_lpBufCur) >= nBytes) {
        memcpy(m_lpBufCur, lpData, nBytes);
        m_lpBufCur += nBytes;
    } else {
        Write(lpData, nBytes);
    }
}

void CArchive::GetBytes(void* lpData, UINT nBytes)
{
    CheckLoading();
    UINT nAvail = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nAvail < nBytes)
        FillBuffer(nBytes - nAvail);
    memcpy(lpData, m_lpBufCur, nBytes);
    m_lpBufCur += nBytes;
}

/////////////////////////////////////////////////////////////////////////////
// Values

CArchive& CArchive::operator<<(BYTE by)
{
    PutBytes(&by, sizeof(by));
    return *this;
}

CArchive& CArchive::operator<<(WORD w)
{
    PutBytes(&w, sizeof(w));
    return *this;
}

CArchive& CArchive::operator<<(LONG l)
{
    INT32 n = (INT32)l;
    PutBytes(&n, sizeof(n));
    return *this;
}

CArchive& CArchive::operator<<(DWORD dw)
{
    UINT32 n = (UINT32)dw;
    PutBytes(&n, sizeof(n));
    return *this;
}

CArchive& CArchive::operator<<(float f)
{
    PutBytes(&f, sizeof(f));
    return *this;
}

CArchive& CArchive::operator<<(double d)
{
    PutBytes(&d, sizeof(d));
    return *this;
}

CArchive& CArchive::operator<<(int i)
{
    return *this << (LONG)i;
}

CArchive& CArchive::operator<<(short w)
{
    return *this << (WORD)w;
}

CArchive& CArchive::operator<<(char ch)
{
    return *this << (BYTE)ch;
}

CArchive& CArchive::operator<<(unsigned u)
{
    return *this << (LONG)u;
}

CArchive& CArchive::operator<<(wchar_t ch)
{
    return *this << (WORD)ch;
}

CArchive& CArchive::operator>>(BYTE& by)
{
    GetBytes(&by, sizeof(by));
    return *this;
}

CArchive& CArchive::operator>>(WORD& w)
{
    GetBytes(&w, sizeof(w));
    return *this;
}

CArchive& CArchive::operator>>(DWORD& dw)
{
    UINT32 n;
    GetBytes(&n, sizeof(n));
    dw = n;
    return *this;
}

CArchive& CArchive::operator>>(LONG& l)
{
    INT32 n;
    GetBytes(&n, sizeof(n));
    l = n;
    return *this;
}

CArchive& CArchive::operator>>(float& f)
{
    GetBytes(&f, sizeof(f));
    return *this;
}

CArchive& CArchive::operator>>(double& d)
{
    GetBytes(&d, sizeof(d));
    return *this;
}

CArchive& CArchive::operator>>(int& i)
{
    LONG l;
    *this >> l;
    i = (int)l;
    return *this;
}

CArchive& CArchive::operator>>(short& w)
{
    WORD n;
    *this >> n;
    w = (short)n;
    return *this;
}

CArchive& CArchive::operator>>(char& ch)
{
    BYTE by;
    *this >> by;
    ch = (char)by;
    return *this;
}

CArchive& CArchive::operator>>(unsigned& u)
{
    LONG l;
    *this >> l;
    u = (unsigned)l;
    return *this;
}

CArchive& CArchive::operator>>(wchar_t& ch)
{
    WORD w;
    *this >> w;
    ch = (wchar_t)w;
    return *this;
}

DWORD CArchive::ReadCount()
{
    WORD wCount;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount;
    *this >> dwCount;
    return dwCount;
}

void CArchive::WriteCount(DWORD dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << (WORD)dwCount;
    } else {
        *this << (WORD)0xFFFF;
        *this << dwCount;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Text lines

void CArchive::WriteString(LPCTSTR lpsz)
{
    CheckStoring();
    if (lpsz != NULL)
        Write(lpsz, (UINT)lstrlenW(lpsz) * sizeof(TCHAR));
}

int CArchive::ReadChar(TCHAR& ch)
{
    if ((UINT)(m_lpBufMax - m_lpBufCur) < sizeof(TCHAR) && RefillBuffer(sizeof(TCHAR)) < sizeof(TCHAR))
        return 0;
    memcpy(&ch, m_lpBufCur, sizeof(TCHAR));
    m_lpBufCur += sizeof(TCHAR);
    return 1;
}

LPTSTR CArchive::ReadString(LPTSTR lpsz, UINT nMax)
{
    CheckLoading();
    if (lpsz == NULL)
        return NULL;
    // A negative nMax (from ReadString(CString&) of old) keeps the line end.
    BOOL bKeepNewline = (int)nMax < 0;
    UINT nStop = bKeepNewline ? (UINT)(-(int)nMax) : nMax;

    UINT nRead = 0;
    BOOL bAny = FALSE;
    while (nRead < nStop) {
        TCHAR ch;
        if (!ReadChar(ch))
            break;
        bAny = TRUE;
        if (ch == '\n' || ch == '\r') {
            TCHAR chNext;
            // "\r\n" is one line end; a lone '\r' ends the line too.
            if (ch == '\r' && ReadChar(chNext) && chNext != '\n')
                m_lpBufCur -= sizeof(TCHAR);
            if (bKeepNewline)
                lpsz[nRead++] = '\n';
            break;
        }
        lpsz[nRead++] = ch;
    }
    lpsz[nRead] = 0;
    return bAny ? lpsz : NULL;
}

BOOL CArchive::ReadString(CString& rString)
{
    rString.Empty();
    CheckLoading();
    std::wstring strLine;
    BOOL bAny = FALSE;
    for (;;) {
        TCHAR ch;
        if (!ReadChar(ch))
            break;
        bAny = TRUE;
        if (ch == '\n')
            break;
        if (ch == '\r') {
            TCHAR chNext;
            if (ReadChar(chNext) && chNext != '\n')
                m_lpBufCur -= sizeof(TCHAR);
            break;
        }
        strLine.push_back(ch);
    }
    if (!strLine.empty())
        rString = CString(strLine.data(), (int)strLine.size());
    return bAny;
}

/////////////////////////////////////////////////////////////////////////////
// Objects

void CArchive::CheckCount()
{
    if (m_nMapCount >= nMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
}

void CArchive::MapObject(const CObject* pOb)
{
    if (m_pMaps == NULL)
        m_pMaps = new CArchiveObjectMaps;
    if (!m_pMaps->bInitialized) {
        // Index 0 stands for NULL in both directions.
        if (IsStoring()) {
            m_pMaps->storeMap.reserve(m_nHashSize);
            m_pMaps->storeMap[NULL] = wNullTag;
        } else {
            m_pMaps->loadArray.reserve(m_nGrowSize);
            m_pMaps->loadArray.push_back({NULL, false});
        }
        m_nMapCount = 1;
        m_pMaps->bInitialized = true;
    }
    if (pOb == NULL)
        return;
    CheckCount();
    if (IsStoring())
        m_pMaps->storeMap[pOb] = m_nMapCount++;
    else {
        m_pMaps->loadArray.push_back({(void*)pOb, false});
        m_nMapCount++;
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (pClassRef == NULL)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    // Only classes with IMPLEMENT_SERIAL have an archive form.
    if (pClassRef->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();
    MapObject(NULL);

    auto it = m_pMaps->storeMap.find(pClassRef);
    if (it != m_pMaps->storeMap.end() && it->second != 0) {
        DWORD nClassIndex = it->second;
        if (nClassIndex < wBigObjectTag) {
            *this << (WORD)(wClassTag | nClassIndex);
        } else {
            *this << wBigObjectTag;
            *this << (DWORD)(dwBigClassTag | nClassIndex);
        }
        return;
    }

    *this << wNewClassTag;
    pClassRef->Store(*this);
    CheckCount();
    m_pMaps->storeMap[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    MapObject(NULL);
    if (pOb == NULL) {
        *this << wNullTag;
        return;
    }

    auto it = m_pMaps->storeMap.find(pOb);
    if (it != m_pMaps->storeMap.end() && it->second != 0) {
        // Stored before: a reference to it.
        DWORD nObIndex = it->second;
        if (nObIndex < wBigObjectTag) {
            *this << (WORD)nObIndex;
        } else {
            *this << wBigObjectTag;
            *this << nObIndex;
        }
        return;
    }

    WriteClass(pOb->GetRuntimeClass());
    // Entered before it serializes itself, so that its members may point back at it.
    CheckCount();
    m_pMaps->storeMap[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema,
                                   DWORD* pObTag)
{
    CheckLoading();
    if (pClassRefRequested != NULL && pClassRefRequested->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();
    MapObject(NULL);

    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = ((DWORD)(wTag & wClassTag) << 16) | (DWORD)(wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag)) {
        // A reference to an object: only ReadObject expects one.
        if (pObTag == NULL)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        *pObTag = obTag;
        return NULL;
    }

    std::vector<CArchiveObjectMaps::LoadEntry>& loadArray = m_pMaps->loadArray;
    CRuntimeClass* pClassRef;
    UINT nSchema;
    if (wTag == wNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (pClassRef == NULL || pClassRef->m_wSchema == 0xFFFF)
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema) {
            // Another version of the class: only a versionable class reads it.
            if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
                AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
            m_pMaps->schemaMap[pClassRef] = nSchema;
        }
        CheckCount();
        loadArray.push_back({pClassRef, true});
        m_nMapCount++;
    } else {
        DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= loadArray.size() || !loadArray[nClassIndex].bClass)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        pClassRef = (CRuntimeClass*)loadArray[nClassIndex].pEntry;
        auto it = m_pMaps->schemaMap.find(pClassRef);
        nSchema = it != m_pMaps->schemaMap.end() ? it->second
                                                 : (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
    }

    if (pClassRefRequested != NULL && !pClassRef->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);

    if (pSchema != NULL)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag != NULL)
        *pObTag = obTag;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

    std::vector<CArchiveObjectMaps::LoadEntry>& loadArray = m_pMaps->loadArray;
    if (pClassRef == NULL) {
        // A reference to an object read before (index 0: NULL).
        if (obTag >= loadArray.size() || loadArray[obTag].bClass)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        CObject* pOb = (CObject*)loadArray[obTag].pEntry;
        if (pOb != NULL && pClassRefRequested != NULL && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        return pOb;
    }

    if (pClassRef->m_pfnCreateObject == NULL)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    CObject* pOb = pClassRef->CreateObject();
    if (pOb == NULL)
        AfxThrowMemoryException();

    // Entered before it loads itself, so that members pointing back at it resolve.
    size_t nIndex = loadArray.size();
    UINT nSchemaSave = m_nObjectSchema;
    try {
        CheckCount();
        loadArray.push_back({pOb, false});
        m_nMapCount++;
        m_nObjectSchema = nSchema;
        pOb->Serialize(*this);
    } catch (...) {
        // The half-loaded object goes; nothing outside holds it yet.
        m_nObjectSchema = nSchemaSave;
        if (nIndex < loadArray.size())
            loadArray[nIndex].pEntry = NULL;
        delete pOb;
        throw;
    }
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

AFX_CORE_API CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

AFX_CORE_API CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}

AFX_CORE_API CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}

/////////////////////////////////////////////////////////////////////////////
// CRuntimeClass: the class record is the schema, the name's length and the name in
// ASCII; the class is found again by name among the registered classes.

void CRuntimeClass::Store(CArchive& ar) const
{
    size_t nLen = m_lpszClassName != NULL ? strlen(m_lpszClassName) : 0;
    if (nLen > 0xFFFF)
        AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
    ar << (WORD)m_wSchema << (WORD)nLen;
    ar.Write(m_lpszClassName, (UINT)nLen);
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema, nLen;
    ar >> wSchema >> nLen;
    if (pwSchemaNum != NULL)
        *pwSchemaNum = wSchema;
    std::string strName(nLen, '\0');
    if (nLen != 0 && ar.Read(&strName[0], nLen) != nLen)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    if (strName.empty() || strName.find('\0') != std::string::npos)
        return NULL;
    return AfxFindRuntimeClass(strName.c_str());
}

/////////////////////////////////////////////////////////////////////////////
// CString: a length prefix (a BYTE below 0xFF, else 0xFF and a WORD below 0xFFFE,
// else 0xFF 0xFFFF and a DWORD) and the characters. Unicode strings have the marker
// 0xFF 0xFFFE in front; strings without it are ANSI.

namespace {

UINT ReadStringLength(CArchive& ar, int& nCharSize)
{
    nCharSize = sizeof(char);
    BYTE bLength;
    ar >> bLength;
    if (bLength < 0xFF)
        return bLength;
    WORD wLength;
    ar >> wLength;
    if (wLength == 0xFFFE) {
        nCharSize = sizeof(WCHAR);
        ar >> bLength;
        if (bLength < 0xFF)
            return bLength;
        ar >> wLength;
    }
    if (wLength < 0xFFFF)
        return wLength;
    DWORD dwLength;
    ar >> dwLength;
    return dwLength;
}

// Chunks in which the characters are read: a corrupt length runs into the end of the
// file before it can claim much memory.
const UINT nStringChunk = 0x10000;

} // namespace

AFX_CORE_API CArchive& AFXAPI operator<<(CArchive& ar, const CString& string)
{
    UINT nLength = (UINT)string.GetLength();
    ar << (BYTE)0xFF;
    ar << (WORD)0xFFFE;
    if (nLength < 0xFF) {
        ar << (BYTE)nLength;
    } else if (nLength < 0xFFFE) {
        ar << (BYTE)0xFF;
        ar << (WORD)nLength;
    } else {
        ar << (BYTE)0xFF;
        ar << (WORD)0xFFFF;
        ar << (DWORD)nLength;
    }
    ar.Write((LPCTSTR)string, nLength * sizeof(TCHAR));
    return ar;
}

AFX_CORE_API CArchive& AFXAPI operator>>(CArchive& ar, CString& string)
{
    int nCharSize;
    UINT nLength = ReadStringLength(ar, nCharSize);
    string.Empty();
    if (nLength == 0)
        return ar;
    // More than a CString can hold: the archive is corrupt.
    if (nLength > (UINT)INT_MAX / sizeof(TCHAR))
        AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);

    if (nCharSize == sizeof(WCHAR)) {
        UINT nDone = 0;
        UINT nAlloc = 0;
        while (nDone < nLength) {
            UINT nChunk = nLength - nDone < nStringChunk ? nLength - nDone : nStringChunk;
            if (nDone + nChunk > nAlloc) {
                nAlloc = nDone + nChunk > 2 * nAlloc ? nDone + nChunk : 2 * nAlloc;
                if (nAlloc > nLength)
                    nAlloc = nLength;
            }
            LPTSTR lpsz = string.GetBuffer((int)nAlloc);
            UINT nGot = ar.Read(lpsz + nDone, nChunk * sizeof(WCHAR));
            if (nGot != nChunk * sizeof(WCHAR)) {
                string.ReleaseBuffer(0);
                AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
            }
            nDone += nChunk;
            string.ReleaseBuffer((int)nDone);
        }
        return ar;
    }

    // ANSI text (from a non-Unicode program) in the ANSI code page.
    std::string bytes;
    UINT nDone = 0;
    while (nDone < nLength) {
        UINT nChunk = nLength - nDone < nStringChunk ? nLength - nDone : nStringChunk;
        bytes.resize(nDone + nChunk);
        if (ar.Read(&bytes[nDone], nChunk) != nChunk)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        nDone += nChunk;
    }
    int nWide = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)nLength, NULL, 0);
    if (nWide > 0) {
        LPTSTR lpsz = string.GetBuffer(nWide);
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), (int)nLength, lpsz, nWide);
        string.ReleaseBuffer(nWide);
    }
    return ar;
}
