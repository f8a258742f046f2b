// Tests of CArchive: the byte layout of values, counts, strings and object records,
// round trips through disk and memory files, object graphs with shared pointers,
// schema and class errors, direct buffering over a CMemFile, and the end of the file.
#include <afx.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include "AfxTestSupport.h"

using wivotest::Bytes;
using wivotest::Hex;
using wivotest::Join;
using wivotest::LoadBytes;
using wivotest::MemFileBytes;
using wivotest::Narrow;
using wivotest::ReadFileBytes;
using wivotest::StoreBytes;
using wivotest::TempDir;

/////////////////////////////////////////////////////////////////////////////
// Serializable test classes

class CArcNode : public CObject
{
    DECLARE_SERIAL(CArcNode)
public:
    CArcNode(int nValue = 0, LPCTSTR lpszName = L"")
        : m_nValue(nValue), m_strName(lpszName), m_pLeft(NULL), m_pRight(NULL)
    {
        ++s_nLive;
    }
    ~CArcNode() override { --s_nLive; }

    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
            ar << m_nValue << m_strName << m_pLeft << m_pRight;
        else
            ar >> m_nValue >> m_strName >> m_pLeft >> m_pRight;
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
        m_b = -1;
        if (m_nSchema >= 2)
            ar >> m_b;
    }
    LONG m_a, m_b;
    UINT m_nSchema, m_nSecondCall;
};
IMPLEMENT_SERIAL(CArcVersioned, CObject, VERSIONABLE_SCHEMA | 2)

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
    using CArchive::CArchive;
    BYTE* BufCur() const { return m_lpBufCur; }
    int BufSize() const { return m_nBufSize; }
};

class ProbeMemFile : public CMemFile
{
public:
    BYTE* Buffer() const { return m_lpBuffer; }
};

// The archive exception f throws (-1: none).
int ArchiveCauseOf(const std::function<void()>& f)
{
    return wivotest::CauseOf<CArchiveException>(f);
}

// "cause name" of the E* f throws, "none" when it throws nothing.
template<class E>
std::string CauseAndName(const std::function<void()>& f)
{
    return wivotest::CaughtAs<E>(
        f, [](E* e) { return std::to_string(e->m_cause) + " " + Narrow(e->m_strFileName); },
        std::string("none"));
}

// One value of each type the archive has operators for.
using Values =
    std::tuple<BYTE, WORD, LONG, DWORD, int, short, char, unsigned, float, double, wchar_t>;

std::string StoreValues(const Values& v)
{
    return StoreBytes(
        [&](CArchive& ar) { std::apply([&](const auto&... x) { (ar << ... << x); }, v); });
}

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

TEST(ArchiveValues, LayoutIsLittleEndianInNaturalSizesAndLoadsBack)
{
    const Values values[] = {
        {0x12, 0x3456, -2, 0x89ABCDEF, -3, -4, 'A', 0xFEDCBA98, 1.5f, -2.25, L'\x20AC'},
        {0xFF, 0xFFFF, LONG_MIN, 0xFFFFFFFF, INT_MIN, SHRT_MIN, -128, 0, -0.0f, 1e300, 0xFFFF},
    };
    EXPECT_EQ("12 56 34 FE FF FF FF EF CD AB 89 FD FF FF FF FC FF 41 98 BA DC FE 00 00 C0 3F "
              "00 00 00 00 00 00 02 C0 AC 20",
              Hex(StoreValues(values[0])));
    // What loads must store again to the same bytes.
    for (const Values& v : values) {
        std::string bytes = StoreValues(v);
        Values back = {};
        LoadBytes(bytes,
                  [&](CArchive& ar) { std::apply([&](auto&... x) { (ar >> ... >> x); }, back); });
        EXPECT_EQ(Hex(bytes), Hex(StoreValues(back)));
    }
}

TEST(ArchiveValues, CountsUseAWordUntil0xFFFF)
{
    struct
    {
        DWORD dwCount;
        std::string bytes;
    } const cases[] = {
        {0, Bytes({0, 0})},
        {0xFFFE, Bytes({0xFE, 0xFF})},
        {0xFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
        {0x12345678, Bytes({0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12})},
    };
    for (const auto& c : cases) {
        std::string bytes = StoreBytes([&](CArchive& ar) { ar.WriteCount(c.dwCount); });
        EXPECT_EQ(Hex(c.bytes), Hex(bytes)) << "count " << c.dwCount;
        LoadBytes(bytes, [&](CArchive& ar) { EXPECT_EQ(c.dwCount, ar.ReadCount()); });
    }
}

TEST(ArchiveValues, WrongDirectionNoFileAndReadingPastTheEndThrow)
{
    CMemFile file;
    BYTE buf[8] = {1, 2, 3};
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_EQ(CArchiveException::writeOnly, ArchiveCauseOf([&] { ar >> buf[0]; }));
        EXPECT_EQ(CArchiveException::writeOnly, ArchiveCauseOf([&] { ar.Read(buf, 1); }));
        ar.Write(buf, 3);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCauseOf([&] { ar << buf[0]; }));
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCauseOf([&] { ar.Write("x", 1); }));
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCauseOf([&] { ar.WriteObject(NULL); }));
    WORD w;
    DWORD dw;
    ar >> w;
    EXPECT_EQ(CArchiveException::endOfFile, ArchiveCauseOf([&] { ar >> dw; }));
    // Read reports a short count instead.
    EXPECT_EQ("1|3|0", Join({ar.Read(buf, 8), buf[0], ar.Read(buf, 8)}));
    CArchive none(NULL, CArchive::load);
    EXPECT_EQ(CArchiveException::generic, ArchiveCauseOf([&] { none >> buf[0]; }));
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
        {254, Bytes({0xFF, 0xFE, 0xFF, 0xFE})},
        {255, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
        {0xFFFD, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nLength);
        CString str = Pattern(c.nLength);
        std::string bytes = StoreBytes([&](CArchive& ar) { ar << str; });
        ASSERT_EQ(c.prefix.size() + 2 * (size_t)c.nLength, bytes.size());
        EXPECT_EQ(Hex(c.prefix), Hex(bytes.substr(0, c.prefix.size())));
        EXPECT_EQ(0, memcmp(bytes.data() + c.prefix.size(), (LPCTSTR)str, 2 * (size_t)c.nLength));
        CString back(L"old contents");
        LoadBytes(bytes, [&](CArchive& ar) { ar >> back; });
        EXPECT_TRUE(back == str);
    }
}

TEST(ArchiveStrings, AnsiStringsOfNonUnicodeProgramsLoadAndBadOnesThrow)
{
    // Characters beyond ASCII come through the ANSI code page.
    WCHAR szUmlauts[4] = {};
    MultiByteToWideChar(CP_ACP, 0, "\xE4\xF6", 2, szUmlauts, 4);
    const std::string strEndOfFile = Join({CArchiveException::endOfFile, L""});
    // The bytes, then the cause loading them throws (-1: none) and the string.
    const std::pair<std::string, std::string> cases[] = {
        {Bytes({5, 'h', 'e', 'l', 'l', 'o'}), "-1|hello"},
        {Bytes({0xFF, 0x2C, 0x01}) + std::string(300, 'x'), "-1|" + std::string(300, 'x')},
        {Bytes({0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 'a', 'b', 'c'}), "-1|abc"},
        {Bytes({2, 0xE4, 0xF6}), "-1|" + Narrow(szUmlauts)},
        {Bytes({0}), "-1|"},
        // Cut short; a corrupt huge length that runs into the end of the file rather
        // than out of memory; a length no string can have.
        {Bytes({0xFF, 0xFE, 0xFF, 5, 'a', 0, 'b'}), strEndOfFile},
        {Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x3F, 'a', 0}), strEndOfFile},
        {Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 'a', 0}),
         Join({CArchiveException::badIndex, L""})},
    };
    for (const auto& c : cases) {
        CString str(L"old");
        LoadBytes(c.first, [&](CArchive& ar) {
            EXPECT_EQ(c.second, Join({ArchiveCauseOf([&] { ar >> str; }), str}))
                << Hex(c.first.substr(0, 12));
        });
    }
}

TEST(ArchiveStrings, TextLines)
{
    std::string bytes = StoreBytes([](CArchive& ar) {
        ar.WriteString(L"one\r\ntwo\nthree\rfour\r\n\r\nlast");
        ar.WriteString(NULL);
    });
    EXPECT_EQ(2u * 27, bytes.size());
    LoadBytes(bytes, [](CArchive& ar) {
        CString str;
        for (const wchar_t* psz : {L"one", L"two", L"three", L"four", L""}) {
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
    std::string bytes = StoreBytes([&](CArchive& ar) { ar << &a << &a << &b << (CObject*)NULL; });
    // A new class: the tag, the schema, the name's length and the name.
    std::string expected = Bytes({0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00}) + "CArcNode";
    // The object: value, name, two NULL pointers.
    expected += Bytes({7, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1, 'n', 0, 0, 0, 0, 0});
    expected += Bytes({2, 0});                                   // a again: object index 2
    expected += Bytes({0x01, 0x80});                             // class index 1
    expected += Bytes({8, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0, 0, 0, 0, 0});
    expected += Bytes({0, 0});                                   // NULL
    EXPECT_EQ(Hex(expected), Hex(bytes));

    CArcDynOnly dyn;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_TRUE(wivotest::Throws<CNotSupportedException>([&] { ar << &dyn; }));
}

TEST(ArchiveObjects, SharedPointersAndCyclesLoadAsOneObject)
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
    // A small buffer: many flushes.
    std::string bytes = StoreBytes([&](CArchive& ar) { ar << &root; }, 16);
    int nLiveBefore = CArcNode::s_nLive;
    CArcNode* pRoot = NULL;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> pRoot; }, 16);
    EXPECT_EQ(4, CArcNode::s_nLive - nLiveBefore);
    ASSERT_TRUE(pRoot && pRoot->m_pLeft && pRoot->m_pRight && pRoot->m_pLeft->m_pLeft);
    EXPECT_EQ("root left right", Narrow(pRoot->m_strName + L" " + pRoot->m_pLeft->m_strName + L" " +
                                        pRoot->m_pRight->m_strName));
    CArcNode* pShared = pRoot->m_pLeft->m_pLeft;
    EXPECT_EQ(pShared, pRoot->m_pRight->m_pRight) << "the shared node loaded twice";
    EXPECT_EQ(3, pShared->m_nValue);
    EXPECT_EQ(pRoot, pShared->m_pLeft) << "the cycle";
    EXPECT_EQ(nullptr, pShared->m_pRight);
    delete pShared;
    delete pRoot->m_pLeft;
    delete pRoot->m_pRight;
    delete pRoot;
}

TEST(ArchiveObjects, VersionableClassReadsOlderSchema)
{
    CArcVersioned v;
    v.m_a = 10;
    v.m_b = 20;
    std::string bytes = StoreBytes([&](CArchive& ar) { ar << &v << &v; });
    size_t nName = bytes.find("CArcVersioned");
    ASSERT_NE(std::string::npos, nName);
    // As written, then as an older program wrote it.
    for (UINT nSchema : {2u, 1u}) {
        bytes[nName - 4] = (char)nSchema;
        LoadBytes(bytes, [&](CArchive& ar) {
            CArcVersioned* p = NULL;
            ar >> p;
            ASSERT_NE(nullptr, p);
            EXPECT_EQ(nSchema, p->m_nSchema);
            EXPECT_EQ((UINT)-1, p->m_nSecondCall) << "the schema is given out once";
            EXPECT_EQ(10, p->m_a);
            EXPECT_EQ(nSchema == 2 ? 20 : -1, p->m_b);
            delete p;
        });
    }
}

TEST(ArchiveObjects, CorruptRecordsAreRefused)
{
    CArcFixed fixed;
    CArcNode node(1, L"a name the file ends in");
    const std::string bytes = StoreBytes([&](CArchive& ar) { ar << &fixed; });
    const std::string nodeBytes = StoreBytes([&](CArchive& ar) { ar << &node; });
    const size_t nName = bytes.find("CArcFixed");
    ASSERT_NE(std::string::npos, nName);
    ASSERT_EQ(3, bytes[nName - 4]) << "schema WORD before the name length";
    std::string badSchema = bytes, unknownClass = bytes;
    badSchema[nName - 4] = 4;
    unknownClass[nName + 8] = 'X';
    CRuntimeClass* pFixed = RUNTIME_CLASS(CArcFixed);
    struct
    {
        std::string bytes;
        CRuntimeClass* pClass;  // what the loader asks for
        int nCause;
    } const cases[] = {
        {badSchema, pFixed, CArchiveException::badSchema},
        {unknownClass, pFixed, CArchiveException::badClass},
        {bytes, RUNTIME_CLASS(CArcNode), CArchiveException::badClass},
        {bytes.substr(0, nName + 3), pFixed, CArchiveException::endOfFile},
        // Cut inside an object's own data: the half-loaded object is freed.
        {nodeBytes.substr(0, nodeBytes.size() - 10), NULL, CArchiveException::endOfFile},
        // References to an object or a class not read yet, and (after a good object)
        // a class reference to that object.
        {Bytes({5, 0}), pFixed, CArchiveException::badIndex},
        {Bytes({0x05, 0x80}), pFixed, CArchiveException::badIndex},
        {Bytes({0xFF, 0x7F, 9, 0, 0, 0}), pFixed, CArchiveException::badIndex},
        {bytes + Bytes({0x02, 0x80}), pFixed, CArchiveException::badIndex},
    };
    const int nLive = CArcNode::s_nLive;
    for (const auto& c : cases) {
        LoadBytes(c.bytes, [&](CArchive& ar) {
            bool bGoodFirst = c.bytes.size() > bytes.size() && c.bytes.find(bytes) == 0;
            CObject* pGood = bGoodFirst ? ar.ReadObject(pFixed) : NULL;
            EXPECT_EQ(c.nCause, ArchiveCauseOf([&] { ar.ReadObject(c.pClass); })) << Hex(c.bytes);
            delete pGood;
        });
    }
    EXPECT_EQ(nLive, CArcNode::s_nLive) << "a half-loaded object was kept";
}

TEST(ArchiveObjects, NullGenericAndMappedPointers)
{
    CArcNode doc(1, L"doc");
    CArcNode child(2, L"child");
    child.m_pLeft = &doc;
    CArcFixed fixed;
    fixed.m_dw = 0xCAFE;
    std::string bytes = StoreBytes([&](CArchive& ar) {
        ar.MapObject(&doc);
        ar << &child << (CObject*)NULL << &fixed;
        ar.WriteObject(&fixed);
    });
    LoadBytes(bytes, [](CArchive& ar) {
        CArcNode loadedDoc;
        ar.MapObject(&loadedDoc);
        CArcNode* pChild = NULL;
        CObject* pNull = (CObject*)1;
        const CObject* pOb = NULL;
        ar >> pChild >> pNull >> pOb;
        ASSERT_TRUE(pChild != NULL && pOb != NULL && pOb->IsKindOf(RUNTIME_CLASS(CArcFixed)));
        EXPECT_EQ(&loadedDoc, pChild->m_pLeft) << "the mapped object";
        EXPECT_EQ(nullptr, pNull);
        EXPECT_EQ(0xCAFEu, static_cast<const CArcFixed*>(pOb)->m_dw);
        EXPECT_EQ(pOb, ar.ReadObject(NULL));
        delete pChild;
        delete pOb;
    });
}

TEST(ArchiveObjects, ClassRecordsAlone)
{
    std::string bytes = StoreBytes([](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CArcFixed));
        ar.SerializeClass(RUNTIME_CLASS(CArcFixed));
    });
    EXPECT_EQ(Hex(Bytes({0xFF, 0xFF, 3, 0, 9, 0}) + "CArcFixed" + Bytes({0x01, 0x80})), Hex(bytes));
    LoadBytes(bytes, [](CArchive& ar) {
        UINT nSchema = 0;
        EXPECT_EQ(RUNTIME_CLASS(CArcFixed), ar.ReadClass(NULL, &nSchema));
        EXPECT_EQ(3u, nSchema);
        ar.SerializeClass(RUNTIME_CLASS(CArcFixed));
        EXPECT_EQ(3u, ar.GetObjectSchema());
    });
    // A class record of another class than the one asked for is a row of the corrupt-record
    // table (ReadObject and ReadClass refuse it in the same place).
}

TEST(ArchiveObjects, IndexesBeyondAWordUseTheBigForms)
{
    const int nCount = 0x8100;
    std::vector<CArcFixed> objects(nCount);
    for (int i = 0; i < nCount; ++i)
        objects[i].m_dw = (DWORD)i;
    CArcNode late(5, L"late");
    CArcNode other(6, L"other");
    std::string bytes = StoreBytes([&](CArchive& ar) {
        for (CArcFixed& ob : objects)
            ar << &ob;
        ar << &objects[0x8050];    // object index 0x8052: beyond a WORD tag
        ar << &late << &late;      // a new class at index 0x8102
        ar << &other;              // its class by a big class index
    });
    EXPECT_NE(std::string::npos, bytes.find(Bytes({0xFF, 0x7F, 0x52, 0x80, 0, 0})));
    EXPECT_NE(std::string::npos, bytes.find(Bytes({0xFF, 0x7F, 0x02, 0x81, 0, 0x80})));
    LoadBytes(bytes, [&](CArchive& ar) {
        std::vector<CObject*> loaded(nCount);
        for (int i = 0; i < nCount; ++i)
            ar >> loaded[i];
        EXPECT_EQ(0x8050u, static_cast<CArcFixed*>(loaded[0x8050])->m_dw);
        CObject* pRef = NULL;
        CArcNode* pLate = NULL;
        CArcNode* pLateAgain = NULL;
        CArcNode* pOther = NULL;
        ar >> pRef >> pLate >> pLateAgain >> pOther;
        EXPECT_EQ(loaded[0x8050], pRef);
        ASSERT_TRUE(pLate != NULL && pOther != NULL);
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
    EXPECT_EQ(buf + 1, ar.BufCur()) << "the archive reads the file's own memory";
    // A value across the end of the window.
    BYTE skip[13];
    EXPECT_EQ(13u, ar.Read(skip, 13));
    DWORD dw;
    ar >> dw;
    EXPECT_EQ(0x11100F0Eu, dw);
    EXPECT_EQ(buf + 18, ar.BufCur());
    // Close gives back what was not read.
    ar.Close();
    EXPECT_EQ(18u, file.GetPosition());
}

TEST(ArchiveBuffering, StoringWritesTheMemFileInPlace)
{
    ProbeMemFile file;
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
    EXPECT_EQ(204u, file.GetLength());
    EXPECT_EQ(Hex(Bytes({4, 3, 2, 1, 0, 0, 1, 0})), Hex(MemFileBytes(file).substr(0, 8)));

    // A full memory file of fixed size throws, writing nothing past its end.
    BYTE fixed[9];
    fixed[8] = 0xBD;
    CMemFile small(fixed, 8);
    CArchive arSmall(&small, CArchive::store);
    arSmall << (DWORD)0x11111111 << (DWORD)0x22222222;
    EXPECT_TRUE(wivotest::Throws<CMemoryException>([&] { arSmall << (DWORD)0x33333333; }));
    EXPECT_EQ(0xBD, fixed[8]) << "wrote past the memory";
    arSmall.Close();
    EXPECT_EQ(8u, small.GetPosition());
    EXPECT_EQ(0x22, fixed[7]);
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
        std::string back(block.size() + 7, '\0');
        EXPECT_EQ(block.size(), ar.Read(&back[0], (UINT)block.size()));
        CString strBack;
        ar >> strBack;
        EXPECT_EQ(7u, ar.Read(&back[block.size()], 7));
        EXPECT_TRUE(back == block + block.substr(0, 7));
        EXPECT_TRUE(strBack == str);
        WORD w;
        ar >> w;
        EXPECT_EQ(0xBEEF, w);
        EXPECT_TRUE(ar.IsBufferEmpty());
    };

    TempDir dir;
    CString strPath = dir.File(L"mixed.bin");
    for (int nBufSize : {5, 16, 100, 4096}) {
        SCOPED_TRACE(nBufSize);
        std::string memBytes = StoreBytes(store, nBufSize);
        LoadBytes(memBytes, check, nBufSize);
        {
            CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store, nBufSize);
            EXPECT_FALSE(ar.m_bDirectBuffer);
            EXPECT_EQ(&file, ar.GetFile());
            store(ar);
        }   // the destructor flushes
        EXPECT_TRUE(ReadFileBytes(strPath) == memBytes);
        CFile file(strPath, CFile::modeRead);
        CArchive ar(&file, CArchive::load, nBufSize);
        check(ar);
    }
}

TEST(ArchiveBuffering, CloseAbortAndNoFlushOnDelete)
{
    TempDir dir;
    CFile file(dir.File(L"flush.bin"), CFile::modeCreate | CFile::modeReadWrite);
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
        for (DWORD i = 0; i < 25; ++i)
            ar << i;
    }
    EXPECT_EQ(100u, file.GetLength()) << "the destructor flushes";

    // Loading reads ahead; Close puts the file where the archive stopped.
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    DWORD dw;
    ar >> dw >> dw;
    EXPECT_EQ(1u, dw);
    ar.Close();
    EXPECT_EQ(nullptr, ar.GetFile());
    EXPECT_EQ(8u, file.GetPosition());
}

TEST(ArchiveBuffering, FileErrorsComeThroughWithTheFileName)
{
    TempDir dir;
    CString strPath = dir.File(L"ro.arc");
    CFile(strPath, CFile::modeCreate | CFile::modeWrite).Close();
    CFile file(strPath, CFile::modeRead | CFile::shareDenyNone);
    CArchive ar(&file, CArchive::store);
    ar << (DWORD)1;
    EXPECT_EQ(std::to_string(CFileException::accessDenied) + " " + Narrow(strPath),
              CauseAndName<CFileException>([&] { ar.Close(); }));

    CArchive arIn(&file, CArchive::load);
    EXPECT_STREQ(strPath, arIn.m_strFileName);
    BYTE by;
    EXPECT_EQ(std::to_string(CArchiveException::endOfFile) + " " + Narrow(strPath),
              CauseAndName<CArchiveException>([&] { arIn >> by; }));
}
