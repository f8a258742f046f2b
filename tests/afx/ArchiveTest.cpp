// Tests of CArchive: the byte layout of values, counts, strings and object records,
// round trips through disk and memory files, object graphs with shared pointers,
// schema and class errors, direct buffering over a CMemFile, and the end of the file.
#include <afx.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"

using wivotest::Narrow;
using wivotest::ReadFileBytes;
using wivotest::TempDir;

/////////////////////////////////////////////////////////////////////////////
// Serializable test classes

class CArcNode : public CObject
{
    DECLARE_SERIAL(CArcNode)
public:
    CArcNode() : m_nValue(0), m_pLeft(NULL), m_pRight(NULL) { ++s_nLive; }
    CArcNode(int nValue, LPCTSTR lpszName) : m_nValue(nValue), m_strName(lpszName), m_pLeft(NULL), m_pRight(NULL) { ++s_nLive; }
    ~CArcNode() override { --s_nLive; }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar << m_nValue << m_strName;
            ar << m_pLeft << m_pRight;
        } else {
            ar >> m_nValue >> m_strName;
            ar >> m_pLeft >> m_pRight;
        }
    }

    int m_nValue;
    CString m_strName;
    CArcNode* m_pLeft;
    CArcNode* m_pRight;
    static int s_nLive;
};
int CArcNode::s_nLive = 0;
IMPLEMENT_SERIAL(CArcNode, CObject, 1)

class CArcFixed : public CObject
{
    DECLARE_SERIAL(CArcFixed)
public:
    CArcFixed() : m_dw(0) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_dw;
        else
            ar >> m_dw;
    }
    DWORD m_dw;
};
IMPLEMENT_SERIAL(CArcFixed, CObject, 3)

class CArcVersioned : public CObject
{
    DECLARE_SERIAL(CArcVersioned)
public:
    CArcVersioned() : m_a(0), m_b(0), m_nSchema(0), m_nSecondCall(0) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_a << m_b;
            return;
        }
        m_nSchema = ar.GetObjectSchema();
        m_nSecondCall = ar.GetObjectSchema();
        ar >> m_a;
        if (m_nSchema >= 2)
            ar >> m_b;
        else
            m_b = -1;
    }
    LONG m_a, m_b;
    UINT m_nSchema, m_nSecondCall;
};
IMPLEMENT_SERIAL(CArcVersioned, CObject, VERSIONABLE_SCHEMA | 2)

// Reads more than it wrote: its loading always runs into the end of the file.
class CArcGreedy : public CObject
{
    DECLARE_SERIAL(CArcGreedy)
public:
    CArcGreedy() { ++s_nLive; }
    ~CArcGreedy() override { --s_nLive; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << (WORD)1;
        } else {
            DWORD dw;
            ar >> dw;
        }
    }
    static int s_nLive;
};
int CArcGreedy::s_nLive = 0;
IMPLEMENT_SERIAL(CArcGreedy, CObject, 1)

class CArcDynOnly : public CObject
{
    DECLARE_DYNAMIC(CArcDynOnly)
};
IMPLEMENT_DYNAMIC(CArcDynOnly, CObject)

namespace {

// Exposes the archive's buffer pointers.
class ProbeArchive : public CArchive
{
public:
    ProbeArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL)
        : CArchive(pFile, nMode, nBufSize, lpBuf)
    {
    }
    BYTE* BufStart() const { return m_lpBufStart; }
    BYTE* BufCur() const { return m_lpBufCur; }
    BYTE* BufMax() const { return m_lpBufMax; }
    int BufSize() const { return m_nBufSize; }
};

class ProbeMemFile : public CMemFile
{
public:
    BYTE* Buffer() const { return m_lpBuffer; }
    DWORD BufferSize() const { return m_nBufferSize; }
};

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Bytes(std::initializer_list<int> list)
{
    std::string out;
    for (int b : list)
        out += (char)b;
    return out;
}

std::string MemFileBytes(CMemFile& file)
{
    std::string out(file.GetLength(), '\0');
    file.SeekToBegin();
    if (!out.empty())
        file.Read(&out[0], (UINT)out.size());
    return out;
}

// Stores with f into a memory file and returns the bytes.
std::string Store(const std::function<void(CArchive&)>& f, int nBufSize = 4096)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, nBufSize);
        f(ar);
        ar.Close();
    }
    return MemFileBytes(file);
}

// Loads bytes with f from a memory file.
void Load(const std::string& bytes, const std::function<void(CArchive&)>& f, int nBufSize = 4096)
{
    std::vector<BYTE> copy(bytes.begin(), bytes.end());
    copy.push_back(0xBD);   // never part of the file
    CMemFile file(copy.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load, nBufSize);
    f(ar);
    ar.Close();
}

// The archive exception f throws (-1: none).
int ArchiveCauseOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (CArchiveException* e) {
        int nCause = e->m_cause;
        e->Delete();
        return nCause;
    }
    return -1;
}

template<class E>
bool Throws(const std::function<void()>& f)
{
    try {
        f();
    } catch (E* e) {
        e->Delete();
        return true;
    }
    return false;
}

void StoreValues(CArchive& ar)
{
    ar << (BYTE)0x12 << (WORD)0x3456 << (LONG)-2 << (DWORD)0x89ABCDEF << (int)-3 << (short)-4
       << 'A' << (unsigned)0xFEDCBA98 << 1.5f << -2.25 << L'\x20AC';
}

void CheckValues(CArchive& ar)
{
    BYTE by;
    WORD w;
    LONG l;
    DWORD dw;
    int i;
    short s;
    char ch;
    unsigned u;
    float f;
    double d;
    wchar_t wch;
    ar >> by >> w >> l >> dw >> i >> s >> ch >> u >> f >> d >> wch;
    EXPECT_EQ(0x12, by);
    EXPECT_EQ(0x3456, w);
    EXPECT_EQ(-2, l);
    EXPECT_EQ(0x89ABCDEFu, dw);
    EXPECT_EQ(-3, i);
    EXPECT_EQ(-4, s);
    EXPECT_EQ('A', ch);
    EXPECT_EQ(0xFEDCBA98u, u);
    EXPECT_EQ(1.5f, f);
    EXPECT_EQ(-2.25, d);
    EXPECT_EQ(L'\x20AC', wch);
}

const std::string kValueBytes = Bytes({0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB,
                                       0x89, 0xFD, 0xFF, 0xFF, 0xFF, 0xFC, 0xFF, 0x41, 0x98, 0xBA,
                                       0xDC, 0xFE, 0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0x02,
                                       0xC0, 0xAC, 0x20});

CString Pattern(int nLength)
{
    CString str;
    LPTSTR p = str.GetBuffer(nLength);
    for (int i = 0; i < nLength; ++i)
        p[i] = (TCHAR)(0x41 + i % 26 + (i % 7 == 0 ? 0x400 : 0));
    str.ReleaseBuffer(nLength);
    return str;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Values

TEST(ArchiveValues, LayoutIsLittleEndianInNaturalSizes)
{
    std::string bytes = Store(StoreValues);
    EXPECT_EQ(Hex(kValueBytes), Hex(bytes));
    Load(bytes, CheckValues);
}

TEST(ArchiveValues, ExtremesRoundTrip)
{
    std::string bytes = Store([](CArchive& ar) {
        ar << (LONG)LONG_MIN << (LONG)LONG_MAX << (DWORD)0xFFFFFFFF << (int)INT_MIN
           << (short)SHRT_MIN << (WORD)0xFFFF << (BYTE)0xFF << (char)-128 << 1e300 << -0.0f;
    });
    EXPECT_EQ(4u + 4 + 4 + 4 + 2 + 2 + 1 + 1 + 8 + 4, bytes.size());
    Load(bytes, [](CArchive& ar) {
        LONG l1, l2;
        DWORD dw;
        int i;
        short s;
        WORD w;
        BYTE by;
        char ch;
        double d;
        float f;
        ar >> l1 >> l2 >> dw >> i >> s >> w >> by >> ch >> d >> f;
        EXPECT_EQ(LONG_MIN, l1);
        EXPECT_EQ(LONG_MAX, l2);
        EXPECT_EQ(0xFFFFFFFFu, dw);
        EXPECT_EQ(INT_MIN, i);
        EXPECT_EQ(SHRT_MIN, s);
        EXPECT_EQ(0xFFFF, w);
        EXPECT_EQ(0xFF, by);
        EXPECT_EQ(-128, ch);
        EXPECT_EQ(1e300, d);
        EXPECT_TRUE(f == 0.0f && std::signbit(f));
    });
}

TEST(ArchiveValues, CountsUseAWordUntil0xFFFF)
{
    struct
    {
        DWORD dwCount;
        std::string bytes;
    } const cases[] = {
        {0, Bytes({0, 0})},
        {5, Bytes({5, 0})},
        {0xFFFE, Bytes({0xFE, 0xFF})},
        {0xFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
        {0x12345678, Bytes({0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12})},
    };
    for (const auto& c : cases) {
        std::string bytes = Store([&](CArchive& ar) { ar.WriteCount(c.dwCount); });
        EXPECT_EQ(Hex(c.bytes), Hex(bytes)) << "count " << c.dwCount;
        Load(bytes, [&](CArchive& ar) { EXPECT_EQ(c.dwCount, ar.ReadCount()); });
    }
}

TEST(ArchiveValues, ReadingPastTheEndIsEndOfFile)
{
    std::string bytes = Bytes({1, 2, 3});
    Load(bytes, [](CArchive& ar) {
        WORD w;
        ar >> w;
        DWORD dw;
        EXPECT_EQ(CArchiveException::endOfFile, ArchiveCauseOf([&] { ar >> dw; }));
        // Read reports a short count instead.
        BYTE buf[8];
        EXPECT_EQ(1u, ar.Read(buf, 8));
        EXPECT_EQ(3, buf[0]);
        EXPECT_EQ(0u, ar.Read(buf, 8));
    });
}

TEST(ArchiveValues, WrongDirectionThrows)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        BYTE by;
        EXPECT_EQ(CArchiveException::writeOnly, ArchiveCauseOf([&] { ar >> by; }));
        EXPECT_EQ(CArchiveException::writeOnly, ArchiveCauseOf([&] { ar.Read(&by, 1); }));
        ar << (BYTE)1;
    }
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCauseOf([&] { ar << (BYTE)1; }));
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCauseOf([&] { ar.Write("x", 1); }));
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCauseOf([&] { ar.WriteObject(NULL); }));

    CArchive none(NULL, CArchive::load);
    EXPECT_EQ(CArchiveException::generic, ArchiveCauseOf([&] {
        BYTE by;
        none >> by;
    }));
}

/////////////////////////////////////////////////////////////////////////////
// Strings

TEST(ArchiveStrings, LengthPrefixesAndUnicodeMarker)
{
    struct
    {
        int nLength;
        std::string prefix;
    } const cases[] = {
        {0, Bytes({0xFF, 0xFE, 0xFF, 0x00})},
        {3, Bytes({0xFF, 0xFE, 0xFF, 0x03})},
        {254, Bytes({0xFF, 0xFE, 0xFF, 0xFE})},
        {255, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        {300, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01})},
        {0xFFFD, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const auto& c : cases) {
        CString str = Pattern(c.nLength);
        std::string bytes = Store([&](CArchive& ar) { ar << str; });
        ASSERT_EQ(c.prefix.size() + 2 * (size_t)c.nLength, bytes.size()) << "length " << c.nLength;
        EXPECT_EQ(Hex(c.prefix), Hex(bytes.substr(0, c.prefix.size()))) << "length " << c.nLength;
        EXPECT_EQ(0, memcmp(bytes.data() + c.prefix.size(), (LPCTSTR)str, 2 * (size_t)c.nLength));
        CString back(L"old contents");
        Load(bytes, [&](CArchive& ar) { ar >> back; });
        EXPECT_EQ(c.nLength, back.GetLength());
        EXPECT_TRUE(back == str) << "length " << c.nLength;
    }
}

TEST(ArchiveStrings, AnsiStringsOfNonUnicodeProgramsLoad)
{
    CString str;
    Load(Bytes({5, 'h', 'e', 'l', 'l', 'o'}), [&](CArchive& ar) { ar >> str; });
    EXPECT_STREQ(L"hello", str);

    std::string longAnsi = Bytes({0xFF, 0x2C, 0x01}) + std::string(300, 'x');
    Load(longAnsi, [&](CArchive& ar) { ar >> str; });
    EXPECT_STREQ(CString(L'x', 300), str);

    Load(Bytes({0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 'a', 'b', 'c'}), [&](CArchive& ar) { ar >> str; });
    EXPECT_STREQ(L"abc", str);

    // Characters beyond ASCII come through the ANSI code page.
    char szAnsi[] = "\xE4\xF6";
    WCHAR szExpected[4] = {};
    MultiByteToWideChar(CP_ACP, 0, szAnsi, 2, szExpected, 4);
    Load(Bytes({2, 0xE4, 0xF6}), [&](CArchive& ar) { ar >> str; });
    EXPECT_STREQ(szExpected, str);

    Load(Bytes({0}), [&](CArchive& ar) { ar >> str; });
    EXPECT_TRUE(str.IsEmpty());
}

TEST(ArchiveStrings, TruncatedStringIsEndOfFile)
{
    CString str(L"keep");
    Load(Bytes({0xFF, 0xFE, 0xFF, 5, 'a', 0, 'b'}), [&](CArchive& ar) {
        EXPECT_EQ(CArchiveException::endOfFile, ArchiveCauseOf([&] { ar >> str; }));
    });
    // A corrupt huge length runs into the end of the file, not out of memory...
    Load(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x3F, 'a', 0}), [&](CArchive& ar) {
        EXPECT_EQ(CArchiveException::endOfFile, ArchiveCauseOf([&] { ar >> str; }));
    });
    // ... and one no string can have is a corrupt archive.
    Load(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 'a', 0}), [&](CArchive& ar) {
        EXPECT_EQ(CArchiveException::badIndex, ArchiveCauseOf([&] { ar >> str; }));
    });
    EXPECT_TRUE(str.IsEmpty());
}

TEST(ArchiveStrings, TextLines)
{
    std::string bytes = Store([](CArchive& ar) {
        ar.WriteString(L"one\r\ntwo\nthree\rfour\r\n\r\nlast");
        ar.WriteString(NULL);
    });
    EXPECT_EQ(2u * 27, bytes.size());
    Load(bytes, [](CArchive& ar) {
        CString str;
        const wchar_t* expected[] = {L"one", L"two", L"three", L"four", L""};
        for (const wchar_t* psz : expected) {
            ASSERT_TRUE(ar.ReadString(str));
            EXPECT_STREQ(psz, str);
        }
        TCHAR sz[8];
        wmemset(sz, 0xBDBD, 8);
        ASSERT_NE(nullptr, ar.ReadString(sz, 3));
        EXPECT_STREQ(L"las", sz);
        EXPECT_EQ(0xBDBD, sz[4]);
        ASSERT_NE(nullptr, ar.ReadString(sz, 7));
        EXPECT_STREQ(L"t", sz);
        EXPECT_EQ(nullptr, ar.ReadString(sz, 7));
        EXPECT_FALSE(ar.ReadString(str));
        EXPECT_TRUE(str.IsEmpty());
    });
}

/////////////////////////////////////////////////////////////////////////////
// Objects

TEST(ArchiveObjects, RecordLayoutOfClassesAndReferences)
{
    CArcNode a(7, L"n");
    CArcNode b(8, L"");
    std::string bytes = Store([&](CArchive& ar) {
        ar << &a << &a << &b << (CObject*)NULL;
    });
    // A new class: the tag, the schema, the name's length and the name.
    std::string expected = Bytes({0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00}) + "CArcNode";
    // The object: value, name, two NULL pointers.
    expected += Bytes({7, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1, 'n', 0, 0, 0, 0, 0});
    expected += Bytes({2, 0});                                   // a again: object index 2
    expected += Bytes({0x01, 0x80});                             // class index 1
    expected += Bytes({8, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0, 0, 0, 0, 0});
    expected += Bytes({0, 0});                                   // NULL
    EXPECT_EQ(Hex(expected), Hex(bytes));
}

TEST(ArchiveObjects, SharedPointersLoadAsOneObject)
{
    CArcNode shared(3, L"shared");
    CArcNode left(1, L"left");
    CArcNode right(2, L"right");
    CArcNode root(0, L"root");
    root.m_pLeft = &left;
    root.m_pRight = &right;
    left.m_pLeft = &shared;
    right.m_pRight = &shared;
    shared.m_pLeft = &root;     // a cycle back to the root

    TempDir dir;
    CString strPath = dir.File(L"graph.arc");
    {
        CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 16);    // a small buffer: many flushes
        ar << &root;
        ar.Close();
    }
    int nLiveBefore = CArcNode::s_nLive;
    CArcNode* pRoot = NULL;
    {
        CFile file(strPath, CFile::modeRead);
        CArchive ar(&file, CArchive::load, 16);
        ar >> pRoot;
    }
    ASSERT_NE(nullptr, pRoot);
    EXPECT_EQ(4, CArcNode::s_nLive - nLiveBefore);
    EXPECT_STREQ(L"root", pRoot->m_strName);
    ASSERT_NE(nullptr, pRoot->m_pLeft);
    ASSERT_NE(nullptr, pRoot->m_pRight);
    EXPECT_STREQ(L"left", pRoot->m_pLeft->m_strName);
    EXPECT_STREQ(L"right", pRoot->m_pRight->m_strName);
    CArcNode* pShared = pRoot->m_pLeft->m_pLeft;
    ASSERT_NE(nullptr, pShared);
    EXPECT_EQ(pShared, pRoot->m_pRight->m_pRight) << "the shared node loaded twice";
    EXPECT_EQ(3, pShared->m_nValue);
    EXPECT_EQ(pRoot, pShared->m_pLeft) << "the cycle";
    EXPECT_EQ(nullptr, pShared->m_pRight);
    EXPECT_EQ(nullptr, pRoot->m_pLeft->m_pRight);
    EXPECT_TRUE(pRoot->IsKindOf(RUNTIME_CLASS(CArcNode)));

    delete pShared;
    delete pRoot->m_pLeft;
    delete pRoot->m_pRight;
    delete pRoot;
    EXPECT_EQ(nLiveBefore, CArcNode::s_nLive);
}

TEST(ArchiveObjects, NullAndGenericPointers)
{
    CArcFixed fixed;
    fixed.m_dw = 0xCAFE;
    std::string bytes = Store([&](CArchive& ar) {
        ar << (CObject*)NULL;
        ar << &fixed;
        ar.WriteObject(&fixed);
    });
    Load(bytes, [](CArchive& ar) {
        CObject* pNull = (CObject*)1;
        ar >> pNull;
        EXPECT_EQ(nullptr, pNull);
        const CObject* pOb = NULL;
        ar >> pOb;
        ASSERT_NE(nullptr, pOb);
        EXPECT_TRUE(pOb->IsKindOf(RUNTIME_CLASS(CArcFixed)));
        EXPECT_EQ(0xCAFEu, static_cast<const CArcFixed*>(pOb)->m_dw);
        EXPECT_EQ(pOb, ar.ReadObject(NULL));
        delete pOb;
    });
}

TEST(ArchiveObjects, VersionableClassReadsOlderSchema)
{
    CArcVersioned v;
    v.m_a = 10;
    v.m_b = 20;
    std::string bytes = Store([&](CArchive& ar) { ar << &v << &v; });
    // As written: the current schema.
    Load(bytes, [](CArchive& ar) {
        CArcVersioned* p = NULL;
        ar >> p;
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(2u, p->m_nSchema);
        EXPECT_EQ((UINT)-1, p->m_nSecondCall) << "the schema is given out once";
        EXPECT_EQ(20, p->m_b);
        delete p;
    });
    // As an older program wrote it.
    size_t nName = bytes.find("CArcVersioned");
    ASSERT_NE(std::string::npos, nName);
    bytes[nName - 4] = 1;
    Load(bytes, [](CArchive& ar) {
        CArcVersioned* p = NULL;
        ar >> p;
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(1u, p->m_nSchema);
        EXPECT_EQ(10, p->m_a);
        EXPECT_EQ(-1, p->m_b);
        delete p;
    });
}

TEST(ArchiveObjects, CorruptClassRecordsAreRefused)
{
    CArcFixed fixed;
    const std::string bytes = Store([&](CArchive& ar) { ar << &fixed; });
    const size_t nName = bytes.find("CArcFixed");
    ASSERT_NE(std::string::npos, nName);
    ASSERT_EQ(3, bytes[nName - 4]) << "schema WORD before the name length";
    struct
    {
        const char* pszWhat;
        std::function<std::string(std::string)> corrupt;
        bool bAsNode;   // loaded as a CArcNode*, else as a CArcFixed*
        int nCause;
    } const cases[] = {
        {"another schema", [&](std::string b) { b[nName - 4] = 4; return b; }, false,
         CArchiveException::badSchema},
        {"an unknown class", [&](std::string b) { b[nName + 8] = 'X'; return b; }, false,
         CArchiveException::badClass},
        {"another class than expected", [](std::string b) { return b; }, true,
         CArchiveException::badClass},
        {"a class name cut short", [&](std::string b) { return b.substr(0, nName + 3); }, false,
         CArchiveException::endOfFile},
    };
    for (const auto& c : cases) {
        Load(c.corrupt(bytes), [&](CArchive& ar) {
            CArcNode* pNode = NULL;
            CArcFixed* pFixed = NULL;
            EXPECT_EQ(c.nCause, ArchiveCauseOf([&] {
                if (c.bAsNode)
                    ar >> pNode;
                else
                    ar >> pFixed;
            })) << c.pszWhat;
            EXPECT_TRUE(pNode == NULL && pFixed == NULL) << c.pszWhat;
        });
    }
}

TEST(ArchiveObjects, BadReferencesAreBadIndex)
{
    // An object reference to nothing read yet, a class reference to nothing.
    for (const std::string& bytes : {Bytes({5, 0}), Bytes({0x05, 0x80}),
                                     Bytes({0xFF, 0x7F, 9, 0, 0, 0})}) {
        Load(bytes, [&](CArchive& ar) {
            CObject* p = NULL;
            EXPECT_EQ(CArchiveException::badIndex, ArchiveCauseOf([&] { ar >> p; })) << Hex(bytes);
        });
    }
    // An object reference where a class must be.
    CArcFixed fixed;
    std::string bytes = Store([&](CArchive& ar) { ar << &fixed; });
    bytes += Bytes({0x02, 0x80});   // entry 2 is the object, not a class
    Load(bytes, [](CArchive& ar) {
        CObject* p = NULL;
        ar >> p;
        CObject* q = NULL;
        EXPECT_EQ(CArchiveException::badIndex, ArchiveCauseOf([&] { ar >> q; }));
        delete p;
    });
}

TEST(ArchiveObjects, ClassesWithoutSerializationAreRefused)
{
    CArcDynOnly dyn;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_TRUE(Throws<CNotSupportedException>([&] { ar << &dyn; }));
}

TEST(ArchiveObjects, HalfLoadedObjectIsFreed)
{
    CArcGreedy greedy;
    std::string bytes = Store([&](CArchive& ar) { ar << &greedy; });
    int nLive = CArcGreedy::s_nLive;
    Load(bytes, [](CArchive& ar) {
        CArcGreedy* p = NULL;
        EXPECT_EQ(CArchiveException::endOfFile, ArchiveCauseOf([&] { ar >> p; }));
    });
    EXPECT_EQ(nLive, CArcGreedy::s_nLive);
}

TEST(ArchiveObjects, MapObjectResolvesBackReferences)
{
    CArcNode doc(1, L"doc");
    CArcNode child(2, L"child");
    child.m_pLeft = &doc;
    std::string bytes = Store([&](CArchive& ar) {
        ar << doc.m_nValue;
        ar.MapObject(&doc);
        ar << &child;
    });
    Load(bytes, [](CArchive& ar) {
        CArcNode loadedDoc;
        ar >> loadedDoc.m_nValue;
        ar.MapObject(&loadedDoc);
        CArcNode* pChild = NULL;
        ar >> pChild;
        ASSERT_NE(nullptr, pChild);
        EXPECT_EQ(&loadedDoc, pChild->m_pLeft);
        EXPECT_EQ(1, loadedDoc.m_nValue);
        delete pChild;
    });
}

TEST(ArchiveObjects, ClassRecordsAlone)
{
    std::string bytes = Store([](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CArcFixed));
        ar.SerializeClass(RUNTIME_CLASS(CArcFixed));
    });
    EXPECT_EQ(Hex(Bytes({0xFF, 0xFF, 3, 0, 9, 0}) + "CArcFixed" + Bytes({0x01, 0x80})), Hex(bytes));
    Load(bytes, [](CArchive& ar) {
        UINT nSchema = 0;
        EXPECT_EQ(RUNTIME_CLASS(CArcFixed), ar.ReadClass(NULL, &nSchema));
        EXPECT_EQ(3u, nSchema);
        ar.SerializeClass(RUNTIME_CLASS(CArcFixed));
        EXPECT_EQ(3u, ar.GetObjectSchema());
    });
    Load(bytes, [](CArchive& ar) {
        EXPECT_EQ(CArchiveException::badClass,
                  ArchiveCauseOf([&] { ar.ReadClass(RUNTIME_CLASS(CArcNode)); }));
    });
}

TEST(ArchiveObjects, IndexesBeyondAWordUseTheBigForms)
{
    const int nCount = 0x8100;
    std::vector<CArcFixed> objects(nCount);
    for (int i = 0; i < nCount; ++i)
        objects[i].m_dw = (DWORD)i;
    CArcNode late(5, L"late");
    std::string bytes = Store([&](CArchive& ar) {
        for (CArcFixed& ob : objects)
            ar << &ob;
        ar << &objects[0x8050];    // object index 0x8052: beyond a WORD tag
        ar << &late;               // a new class at index 0x8102
        ar << &late;
        CArcNode other(6, L"other");
        ar << &other;              // its class by a big class index
    });
    EXPECT_NE(std::string::npos, bytes.find(Bytes({0xFF, 0x7F, 0x52, 0x80, 0, 0})));
    EXPECT_NE(std::string::npos, bytes.find(Bytes({0xFF, 0x7F, 0x02, 0x81, 0, 0x80})));
    Load(bytes, [&](CArchive& ar) {
        std::vector<CObject*> loaded(nCount);
        for (int i = 0; i < nCount; ++i)
            ar >> loaded[i];
        EXPECT_EQ(0x8050u, static_cast<CArcFixed*>(loaded[0x8050])->m_dw);
        CObject* pRef = NULL;
        ar >> pRef;
        EXPECT_EQ(loaded[0x8050], pRef);
        CArcNode* pLate = NULL;
        CArcNode* pLateAgain = NULL;
        CArcNode* pOther = NULL;
        ar >> pLate >> pLateAgain >> pOther;
        ASSERT_NE(nullptr, pLate);
        ASSERT_NE(nullptr, pOther);
        EXPECT_EQ(pLate, pLateAgain);
        EXPECT_STREQ(L"other", pOther->m_strName);
        delete pLate;
        delete pOther;
        for (CObject* p : loaded)
            delete p;
    });
}

/////////////////////////////////////////////////////////////////////////////
// Buffering

TEST(ArchiveBuffering, LoadingReadsTheMemFileInPlace)
{
    BYTE buf[64];
    for (int i = 0; i < 64; ++i)
        buf[i] = (BYTE)i;
    CMemFile file(buf, sizeof(buf));
    ProbeArchive ar(&file, CArchive::load, 16);
    EXPECT_TRUE(ar.m_bDirectBuffer);
    BYTE by;
    ar >> by;
    EXPECT_EQ(0, by);
    EXPECT_GE(ar.BufStart(), buf);
    EXPECT_LT(ar.BufCur(), buf + sizeof(buf));
    EXPECT_EQ(buf + 1, ar.BufCur()) << "the archive reads the file's own memory";
    // A value across the end of the window.
    BYTE skip[13];
    EXPECT_EQ(13u, ar.Read(skip, 13));
    DWORD dw;
    ar >> dw;
    EXPECT_EQ(0x11100F0Eu, dw);
    EXPECT_GE(ar.BufCur(), buf);
    EXPECT_LE(ar.BufCur(), buf + sizeof(buf));
    // Close gives back what was not read.
    ar.Close();
    EXPECT_EQ(18u, file.GetPosition());
}

TEST(ArchiveBuffering, StoringWritesTheMemFileInPlace)
{
    ProbeMemFile file;
    {
        ProbeArchive ar(&file, CArchive::store, 64);
        EXPECT_TRUE(ar.m_bDirectBuffer);
        ar << (DWORD)0x01020304;
        ASSERT_NE(nullptr, file.Buffer());
        EXPECT_EQ(file.Buffer() + 4, ar.BufCur()) << "the archive writes the file's own memory";
        EXPECT_EQ(0u, file.GetLength()) << "committed only by a flush";
        ar.Flush();
        EXPECT_EQ(4u, file.GetLength());
        for (int i = 0; i < 100; ++i)
            ar << (WORD)i;
        ar.Close();
    }
    EXPECT_EQ(204u, file.GetLength());
    std::string bytes = MemFileBytes(file);
    EXPECT_EQ(Hex(Bytes({4, 3, 2, 1, 0, 0, 1, 0})), Hex(bytes.substr(0, 8)));
}

TEST(ArchiveBuffering, FullFixedMemFileThrowsMemoryException)
{
    BYTE buf[9];
    buf[8] = 0xBD;
    CMemFile file(buf, 8);
    CArchive ar(&file, CArchive::store);
    ar << (DWORD)0x11111111 << (DWORD)0x22222222;
    EXPECT_TRUE(Throws<CMemoryException>([&] { ar << (DWORD)0x33333333; }));
    EXPECT_EQ(0xBD, buf[8]) << "wrote past the memory";
    ar.Close();
    EXPECT_EQ(8u, file.GetPosition());
    EXPECT_EQ(0x22, buf[7]);
}

TEST(ArchiveBuffering, UserBufferIsUsed)
{
    BYTE userBuf[256];
    TempDir dir;
    CFile file(dir.File(L"user.bin"), CFile::modeCreate | CFile::modeWrite);
    ProbeArchive ar(&file, CArchive::store, sizeof(userBuf), userBuf);
    EXPECT_FALSE(ar.m_bDirectBuffer);
    ar << (DWORD)7;
    EXPECT_EQ(userBuf + 4, ar.BufCur());
    ar.Close();
    EXPECT_EQ(4u, file.GetLength());

    // Too small a buffer is replaced by one of the archive's own.
    BYTE tiny[4];
    CMemFile mem;
    ProbeArchive small(&mem, CArchive::store, sizeof(tiny), tiny);
    EXPECT_GE(small.BufSize(), 16);
    small << (double)1.0;
    small.Close();
    EXPECT_EQ(8u, mem.GetLength());
}

TEST(ArchiveBuffering, MixedDataThroughSmallBuffersAndBothFiles)
{
    std::string block(10000, '\0');
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = (char)(i * 13);
    CString str = Pattern(5000);
    auto store = [&](CArchive& ar) {
        for (int i = 0; i < 300; ++i)
            ar << (BYTE)i << (DWORD)(i * 3);
        ar.Write(block.data(), (UINT)block.size());
        ar << str;
        ar.Write(block.data(), 7);
        ar << (WORD)0xBEEF;
    };
    auto check = [&](CArchive& ar) {
        for (int i = 0; i < 300; ++i) {
            BYTE by;
            DWORD dw;
            ar >> by >> dw;
            ASSERT_EQ((BYTE)i, by);
            ASSERT_EQ((DWORD)(i * 3), dw);
        }
        std::string back(block.size(), '\0');
        EXPECT_EQ(block.size(), ar.Read(&back[0], (UINT)back.size()));
        EXPECT_TRUE(back == block);
        CString strBack;
        ar >> strBack;
        EXPECT_TRUE(strBack == str);
        char seven[7];
        EXPECT_EQ(7u, ar.Read(seven, 7));
        EXPECT_EQ(0, memcmp(seven, block.data(), 7));
        WORD w;
        ar >> w;
        EXPECT_EQ(0xBEEF, w);
        EXPECT_TRUE(ar.IsBufferEmpty());
    };

    TempDir dir;
    for (int nBufSize : {5, 16, 100, 4096}) {
        SCOPED_TRACE(nBufSize);
        std::string memBytes = Store(store, nBufSize);
        Load(memBytes, check, nBufSize);

        CString strPath = dir.File(L"mixed.bin");
        {
            CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store, nBufSize);
            EXPECT_FALSE(ar.m_bDirectBuffer);
            EXPECT_EQ(&file, ar.GetFile());
            store(ar);
        }   // the destructor flushes
        std::string diskBytes = ReadFileBytes(strPath);
        EXPECT_TRUE(diskBytes == memBytes) << "disk " << diskBytes.size() << " memory " << memBytes.size();
        CFile file(strPath, CFile::modeRead);
        CArchive ar(&file, CArchive::load, nBufSize);
        check(ar);
    }
}

TEST(ArchiveBuffering, CloseAbortAndNoFlushOnDelete)
{
    TempDir dir;
    CString strPath = dir.File(L"flush.bin");
    CFile file(strPath, CFile::modeCreate | CFile::modeReadWrite);
    {
        CArchive ar(&file, CArchive::store);
        ar << (DWORD)1;
        ar.Abort();
    }
    EXPECT_EQ(0u, file.GetLength()) << "Abort writes nothing";
    {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar << (DWORD)1;
    }
    EXPECT_EQ(0u, file.GetLength()) << "bNoFlushOnDelete";
    {
        CArchive ar(&file, CArchive::store);
        for (int i = 0; i < 25; ++i)
            ar << (DWORD)i;
    }
    EXPECT_EQ(100u, file.GetLength()) << "the destructor flushes";

    // Loading reads ahead; Close puts the file where the archive stopped.
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        DWORD dw;
        ar >> dw >> dw;
        EXPECT_EQ(1u, dw);
        ar.Close();
        EXPECT_EQ(nullptr, ar.GetFile());
    }
    EXPECT_EQ(8u, file.GetPosition());
    ASSERT_TRUE(file.GetFilePath() == strPath);
}

TEST(ArchiveBuffering, FileErrorsComeThroughWithTheFileName)
{
    TempDir dir;
    CString strPath = dir.File(L"ro.arc");
    {
        CFile create(strPath, CFile::modeCreate | CFile::modeWrite);
    }
    CFile file(strPath, CFile::modeRead | CFile::shareDenyNone);
    CArchive ar(&file, CArchive::store);
    ar << (DWORD)1;
    try {
        ar.Close();
        ADD_FAILURE() << "writing a read-only file succeeded";
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::accessDenied, e->m_cause) << "OS error " << e->m_lOsError;
        EXPECT_STREQ(strPath, e->m_strFileName);
        e->Delete();
    }

    CFile in(strPath, CFile::modeRead | CFile::shareDenyNone);
    CArchive arIn(&in, CArchive::load);
    EXPECT_STREQ(strPath, arIn.m_strFileName);
    try {
        BYTE by;
        arIn >> by;
        ADD_FAILURE() << "read from an empty file";
    } catch (CArchiveException* e) {
        EXPECT_EQ(CArchiveException::endOfFile, e->m_cause);
        EXPECT_STREQ(strPath, e->m_strFileName);
        e->Delete();
    }
}
