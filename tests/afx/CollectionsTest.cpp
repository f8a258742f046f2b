// Tests of the collections: array growth and element moves, list iteration with
// POSITIONs, maps with their hash tables, the templates with an element type that
// counts its lives, and serialization through CArchive.
#include <afx.h>
#include <afxcoll.h>
#include <afxtempl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"

using wivotest::Narrow;

namespace {

std::string N(const CString& s)
{
    return Narrow(s);
}

// Exposes the capacity of an array.
template<class BASE>
class Probe : public BASE
{
public:
    int MaxSize() const { return this->m_nMaxSize; }
    int GrowBy() const { return this->m_nGrowBy; }
};

// Runs f and tells whether it threw a CNotSupportedException (deleted here).
template<class F>
bool ThrowsNotSupported(F f)
{
    try {
        f();
    }
    catch (CNotSupportedException* e) {
        e->Delete();
        return true;
    }
    return false;
}

std::string Item(const void* p)
{
    return std::to_string((INT_PTR)p);
}

std::string Item(const CString& s)
{
    return N(s);
}

// The elements of a list, comma-separated.
template<class LIST>
std::string ListText(LIST& list)
{
    std::string text;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        if (!text.empty())
            text += ",";
        text += Item(list.GetNext(pos));
    }
    return text;
}

// Calls f(key, value) for every association of map; the number visited.
template<class KEY, class VALUE, class MAP, class F>
int ForEachAssoc(MAP& map, F f)
{
    int n = 0;
    for (POSITION pos = map.GetStartPosition(); pos != NULL; n++) {
        KEY key;
        VALUE value;
        map.GetNextAssoc(pos, key, value);
        f(key, value);
    }
    return n;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Arrays: growth

TEST(ArrayGrowth, AutomaticGrowthIsAnEighthBetween4And1024)
{
    Probe<CDWordArray> a;
    a.Add(1);
    EXPECT_EQ(1, a.MaxSize()) << "the first allocation is exact";
    a.Add(2);
    EXPECT_EQ(5, a.MaxSize()) << "at least 4 more";
    a.SetSize(100);
    EXPECT_EQ(100, a.MaxSize()) << "asking for more than one step takes exactly that";
    a.Add(3);
    EXPECT_EQ(112, a.MaxSize()) << "100 / 8 = 12 more";
    a.SetSize(20000);
    a.Add(4);
    EXPECT_EQ(20000 + 1024, a.MaxSize()) << "no more than 1024 at a time";
}

TEST(ArrayGrowth, GrowByKeepsDataInPlaceUntilTheStepIsUsed)
{
    Probe<CPtrArray> a;
    a.SetSize(0, 10);
    a.Add((void*)1);
    void** pFirst = a.GetData();
    a.Add((void*)2);
    void** pGrown = a.GetData();
    EXPECT_EQ(11, a.MaxSize());
    for (INT_PTR i = 3; i <= 11; i++) {
        a.Add((void*)i);
        EXPECT_EQ(pGrown, a.GetData()) << "add #" << i << " moved the data";
    }
    a.Add((void*)12);
    EXPECT_EQ(21, a.MaxSize());
    EXPECT_NE(pFirst, (void**)NULL);
    for (INT_PTR i = 0; i < 12; i++)
        EXPECT_EQ((void*)(i + 1), a[(int)i]);

    // nGrowBy -1 keeps the step; 0 restores the automatic one.
    Probe<CByteArray> b;
    b.SetSize(1, 50);
    b.SetSize(2);               // the default nGrowBy, -1
    EXPECT_EQ(50, b.GrowBy());
    EXPECT_EQ(51, b.MaxSize());
    b.SetSize(0, 0);
    b.SetSize(1);
    b.SetSize(2);
    EXPECT_EQ(5, b.MaxSize());
}

TEST(ArrayGrowth, ShrinkKeepsStorageAndRegrowthZeroFills)
{
    Probe<CWordArray> a;
    a.SetSize(8);
    for (int i = 0; i < 8; i++)
        a[i] = (WORD)(100 + i);
    WORD* p = a.GetData();
    a.SetSize(2);
    EXPECT_EQ(8, a.MaxSize());
    EXPECT_EQ(p, a.GetData());
    a.SetSize(6);
    EXPECT_EQ(p, a.GetData());
    EXPECT_EQ(101, a[1]);
    for (int i = 2; i < 6; i++)
        EXPECT_EQ(0, a[i]) << "element " << i << " kept its old value";
    a.FreeExtra();
    EXPECT_EQ(6, a.MaxSize());
    a.RemoveAll();
    EXPECT_EQ(0, a.GetSize());
    EXPECT_EQ(nullptr, a.GetData());
    EXPECT_EQ(-1, a.GetUpperBound());
}

/////////////////////////////////////////////////////////////////////////////
// Arrays: moving elements

TEST(ArrayEdit, InsertAtMiddleEndAndPastTheEnd)
{
    CUIntArray a;
    for (UINT i = 0; i < 4; i++)
        a.Add(i);
    a.InsertAt(2, 77, 3);
    ASSERT_EQ(7, a.GetSize());
    UINT expect1[] = { 0, 1, 77, 77, 77, 2, 3 };
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(expect1[i], a[i]) << "index " << i;
    a.InsertAt(7, 8);           // at the end
    a.InsertAt(10, 9, 2);       // past the end: the gap is zero
    ASSERT_EQ(12, a.GetSize());
    EXPECT_EQ(8u, a[7]);
    EXPECT_EQ(0u, a[8]);
    EXPECT_EQ(0u, a[9]);
    EXPECT_EQ(9u, a[10]);
    EXPECT_EQ(9u, a[11]);
    a.InsertAt(0, 5, 0);        // nothing to insert
    EXPECT_EQ(12, a.GetSize());
}

TEST(ArrayEdit, RemoveAtBoundaries)
{
    CDWordArray a;
    for (DWORD i = 0; i < 10; i++)
        a.Add(i);
    a.RemoveAt(0);
    EXPECT_EQ(1u, a[0]);
    a.RemoveAt(a.GetUpperBound());
    EXPECT_EQ(8, a.GetSize());
    EXPECT_EQ(8u, a[7]);
    a.RemoveAt(2, 3);
    DWORD expect[] = { 1, 2, 6, 7, 8 };
    ASSERT_EQ(5, a.GetSize());
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(expect[i], a[i]) << "index " << i;
    a.RemoveAt(5, 0);           // an empty range at the end is fine
    a.RemoveAt(0, 5);
    EXPECT_EQ(0, a.GetSize());
}

TEST(ArrayEdit, BadIndexesThrowInsteadOfTouchingMemory)
{
    CDWordArray a;
    a.Add(1);
    a.Add(2);
    const CDWordArray& c = a;
    EXPECT_TRUE(ThrowsNotSupported([&] { c.GetAt(2); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { c[-1]; }));
    EXPECT_TRUE(ThrowsNotSupported([&] { a.ElementAt(2) = 0; }));
    EXPECT_TRUE(ThrowsNotSupported([&] { a.SetAt(5, 0); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { a.RemoveAt(1, 2); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { a.RemoveAt(-1); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { a.InsertAt(-1, (DWORD)0); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { a.SetSize(-1); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { a.SetAtGrow(-1, 0); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { a.InsertAt(0, (CDWordArray*)NULL); }));
    ASSERT_EQ(2, a.GetSize());
    EXPECT_EQ(2u, a[1]);
}

TEST(ArrayEdit, SetAtGrowAppendCopyAndInsertArrayIncludingItself)
{
    CObArray a;
    CObject* p1 = (CObject*)(INT_PTR)0x10;
    CObject* p2 = (CObject*)(INT_PTR)0x20;
    a.SetAtGrow(3, p1);
    ASSERT_EQ(4, a.GetSize());
    EXPECT_EQ(nullptr, a[0]);
    a[0] = p2;

    EXPECT_EQ(4, a.Append(a));
    ASSERT_EQ(8, a.GetSize());
    EXPECT_EQ(p2, a[4]);
    EXPECT_EQ(p1, a[7]);

    CObArray b;
    b.Copy(a);
    b.Copy(b);
    EXPECT_EQ(8, b.GetSize());
    b.SetSize(2);
    b.InsertAt(1, &b);          // b = p2, [p2, NULL], NULL
    ASSERT_EQ(4, b.GetSize());
    EXPECT_EQ(p2, b[0]);
    EXPECT_EQ(p2, b[1]);
    EXPECT_EQ(nullptr, b[2]);
    EXPECT_EQ(nullptr, b[3]);
}

TEST(StringArray, ElementsAreConstructedSharedAndReleased)
{
    CStringArray a;
    CString text(L"shared");
    a.Add(text);
    EXPECT_EQ((LPCTSTR)text, (LPCTSTR)a[0]) << "Add(const CString&) shares the buffer";
    a.Add(L"two");
    a.SetSize(5);
    EXPECT_TRUE(a[4].IsEmpty());
    a.InsertAt(1, L"ins", 2);
    ASSERT_EQ(7, a.GetSize());
    EXPECT_EQ("shared,ins,ins,two,,,", N(a[0] + L"," + a[1] + L"," + a[2] + L"," + a[3] + L","
                                          + a[4] + L"," + a[5] + L"," + a[6]));
    a.RemoveAt(1, 2);
    EXPECT_EQ("two", N(a[1]));
    a.SetSize(1);
    a.FreeExtra();
    EXPECT_EQ("shared", N(a.GetAt(0)));
}

TEST(StringArray, ArgumentsReferringIntoTheArraySurviveItsGrowth)
{
    CStringArray a;
    a.SetSize(1, 0);
    a[0] = L"first";
    for (int i = 0; i < 40; i++)
        a.Add(a[0]);            // each Add may move the array the argument lives in
    ASSERT_EQ(41, a.GetSize());
    for (int i = 0; i < 41; i++)
        ASSERT_EQ("first", N(a[i])) << "index " << i;
    a.InsertAt(0, a[40], 3);
    EXPECT_EQ("first", N(a[0]));
    a.InsertAt(0, (LPCTSTR)a[1]);
    EXPECT_EQ("first", N(a[0]));
    a.SetAtGrow(100, a[2]);
    EXPECT_EQ("first", N(a[100]));
    EXPECT_TRUE(a[99].IsEmpty());
}

TEST(StringArray, RuntimeClasses)
{
    CStringArray a;
    CPtrArray p;
    EXPECT_TRUE(a.IsKindOf(RUNTIME_CLASS(CStringArray)));
    EXPECT_TRUE(a.IsSerializable());
    EXPECT_FALSE(p.IsSerializable());
    EXPECT_FALSE(CUIntArray().IsSerializable());
    CObject* pMade = RUNTIME_CLASS(CMapStringToString)->CreateObject();
    ASSERT_NE(nullptr, pMade);
    EXPECT_TRUE(pMade->IsKindOf(RUNTIME_CLASS(CMapStringToString)));
    delete pMade;
}

/////////////////////////////////////////////////////////////////////////////
// Lists

TEST(PtrList, IterationBothWaysAndRemovalDuringIt)
{
    CPtrList list;
    for (INT_PTR i = 1; i < 10; i++)
        list.AddTail((void*)i);
    list.AddHead((void*)0);
    EXPECT_EQ("0,1,2,3,4,5,6,7,8,9", ListText(list));
    std::string back;
    for (POSITION pos = list.GetTailPosition(); pos != NULL;)
        back += std::to_string((INT_PTR)list.GetPrev(pos));
    EXPECT_EQ("9876543210", back);
    EXPECT_EQ((void*)0, list.GetHead());
    EXPECT_EQ((void*)9, list.GetTail());
    EXPECT_EQ(10, list.GetCount());

    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        POSITION cur = pos;
        INT_PTR v = (INT_PTR)list.GetNext(pos);
        if (v % 3 == 0)
            list.RemoveAt(cur);
    }
    EXPECT_EQ("1,2,4,5,7,8", ListText(list));
    for (POSITION pos = list.GetTailPosition(); pos != NULL;) {
        POSITION cur = pos;
        list.GetPrev(pos);
        list.RemoveAt(cur);
    }
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetTailPosition());
    list.AddTail((void*)42);    // the list works again after going empty
    EXPECT_EQ("42", ListText(list));
}

TEST(PtrList, InsertFindAndIndex)
{
    CPtrList list(2);
    POSITION p2 = list.AddTail((void*)2);
    list.InsertBefore(p2, (void*)1);
    list.InsertAfter(p2, (void*)3);
    list.InsertBefore(NULL, (void*)0);
    list.InsertAfter(NULL, (void*)4);
    EXPECT_EQ("0,1,2,3,4", ListText(list));
    list.AddTail((void*)2);
    POSITION first = list.Find((void*)2);
    EXPECT_EQ(p2, first);
    POSITION second = list.Find((void*)2, first);
    ASSERT_NE((POSITION)NULL, second);
    EXPECT_EQ(second, list.GetTailPosition());
    EXPECT_EQ(nullptr, list.Find((void*)2, second));
    EXPECT_EQ(nullptr, list.Find((void*)9));
    EXPECT_EQ(list.GetHeadPosition(), list.FindIndex(0));
    EXPECT_EQ((void*)3, list.GetAt(list.FindIndex(3)));
    EXPECT_EQ(nullptr, list.FindIndex(6));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    list.SetAt(list.FindIndex(0), (void*)7);
    EXPECT_EQ((void*)7, list.RemoveHead());
    EXPECT_EQ((void*)2, list.RemoveTail());
    EXPECT_EQ("1,2,3,4", ListText(list));
}

TEST(PtrList, AddingListsIncludingItself)
{
    CPtrList a, b;
    a.AddTail((void*)1);
    a.AddTail((void*)2);
    b.AddTail((void*)8);
    b.AddTail((void*)9);
    a.AddHead(&b);
    EXPECT_EQ("8,9,1,2", ListText(a));
    a.AddTail(&b);
    EXPECT_EQ("8,9,1,2,8,9", ListText(a));
    b.AddTail(&b);
    EXPECT_EQ("8,9,8,9", ListText(b));
    b.AddHead(&b);
    EXPECT_EQ("8,9,8,9,8,9,8,9", ListText(b));
}

TEST(PtrList, EmptyListsAndNullPositionsThrow)
{
    CPtrList list;
    const CPtrList& c = list;
    EXPECT_TRUE(ThrowsNotSupported([&] { list.RemoveHead(); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { list.RemoveTail(); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { c.GetHead(); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { list.GetTail() = NULL; }));
    EXPECT_TRUE(ThrowsNotSupported([&] { list.RemoveAt(NULL); }));
    POSITION pos = NULL;
    EXPECT_TRUE(ThrowsNotSupported([&] { list.GetNext(pos); }));
    EXPECT_TRUE(ThrowsNotSupported([&] { list.AddTail((CPtrList*)NULL); }));
    EXPECT_EQ(0, list.GetCount());
}

TEST(StringList, ElementsFindAndNullText)
{
    CStringList list;
    list.AddTail(L"b");
    list.AddHead(CString(L"a"));
    list.AddTail((LPCTSTR)NULL);
    list.InsertAfter(list.GetHeadPosition(), L"a2");
    EXPECT_EQ("a,a2,b,", ListText(list));
    EXPECT_EQ(list.GetTailPosition(), list.Find(NULL));
    EXPECT_EQ(list.GetTailPosition(), list.Find(L""));
    EXPECT_EQ(list.FindIndex(2), list.Find(L"b"));
    EXPECT_EQ(nullptr, list.Find(L"B")) << "Find is case-sensitive";
    list.GetHead() += L"!";
    EXPECT_EQ("a!", N(list.RemoveHead()));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(ObList, TypedPointerListOverObList)
{
    CTypedPtrList<CObList, CStringArray*> list;
    CStringArray a, b;
    a.Add(L"a");
    b.Add(L"b");
    list.AddTail(&a);
    list.AddHead(&b);
    POSITION pos = list.GetHeadPosition();
    CStringArray* pFirst = list.GetNext(pos);
    EXPECT_EQ(&b, pFirst);
    EXPECT_EQ("a", N(list.GetNext(pos)->GetAt(0)));
    EXPECT_EQ(nullptr, pos);
    EXPECT_EQ(&a, list.RemoveTail());
    EXPECT_EQ(&b, list.GetHead());
}

/////////////////////////////////////////////////////////////////////////////
// Maps

TEST(Maps, StringToStringBasics)
{
    CMapStringToString map;
    EXPECT_EQ(17u, map.GetHashTableSize());
    EXPECT_EQ(nullptr, map.GetStartPosition());
    map[L"one"] = L"1";
    map.SetAt(L"two", L"2");
    map.SetAt(L"one", L"uno");
    EXPECT_EQ(2, map.GetCount());
    CString value;
    ASSERT_TRUE(map.Lookup(L"one", value));
    EXPECT_EQ("uno", N(value));
    EXPECT_FALSE(map.Lookup(L"ONE", value));
    EXPECT_EQ("uno", N(value)) << "a failed lookup leaves the value alone";
    LPCTSTR key = NULL;
    ASSERT_TRUE(map.LookupKey(L"two", key));
    EXPECT_STREQ(L"two", key);
    EXPECT_TRUE(map[L"three"].IsEmpty());
    EXPECT_EQ(3, map.GetCount());
    EXPECT_TRUE(map.RemoveKey(L"three"));
    EXPECT_FALSE(map.RemoveKey(L"three"));
    map[NULL] = L"null";
    EXPECT_TRUE(map.Lookup(L"", value));
    EXPECT_EQ("null", N(value));
}

TEST(Maps, HashFunctionsAreTheFrameworks)
{
    CMapStringToString s;
    EXPECT_EQ((UINT)'a' * 33 + 'b', s.HashKey(L"ab"));
    EXPECT_EQ(0u, s.HashKey(L""));
    CMapPtrToPtr p;
    EXPECT_EQ(0x1234u, p.HashKey((void*)0x12345));
    CMapWordToPtr w;
    EXPECT_EQ(0x12u, w.HashKey(0x123));
    EXPECT_EQ(s.HashKey(L"key"), HashKey(L"key"));
    EXPECT_EQ(HashKey(L"key"), HashKey(CString(L"key")));
    EXPECT_EQ(HashKey(L"key"), HashKey("key"));
}

TEST(Maps, ManyKeysWithALargerTable)
{
    CMapStringToPtr map;
    map.InitHashTable(4099);
    EXPECT_EQ(4099u, map.GetHashTableSize());
    const int kCount = 20000;
    for (INT_PTR i = 0; i < kCount; i++) {
        CString key;
        key.Format(L"key%d", (int)i);
        map[key] = (void*)(i + 1);
    }
    ASSERT_EQ(kCount, map.GetCount());
    for (INT_PTR i = 0; i < kCount; i += 7) {
        CString key;
        key.Format(L"key%d", (int)i);
        void* v = NULL;
        ASSERT_TRUE(map.Lookup(key, v)) << N(key);
        ASSERT_EQ((void*)(i + 1), v);
    }
    std::set<INT_PTR> seen;
    EXPECT_EQ(kCount, (ForEachAssoc<CString, void*>(map, [&](const CString&, void* v) { seen.insert((INT_PTR)v); })));
    EXPECT_EQ((size_t)kCount, seen.size());
    map.RemoveAll();
    EXPECT_EQ(4099u, map.GetHashTableSize()) << "RemoveAll keeps the table size";
    EXPECT_TRUE(map.IsEmpty());
}

TEST(Maps, InitHashTableOnAFilledMapKeepsItsAssociations)
{
    CMapPtrToWord map;
    for (INT_PTR i = 0; i < 100; i++)
        map[(void*)(i * 16)] = (WORD)i;
    map.InitHashTable(31, FALSE);
    EXPECT_EQ(31u, map.GetHashTableSize());
    for (INT_PTR i = 0; i < 100; i++) {
        WORD w = 0xFFFF;
        ASSERT_TRUE(map.Lookup((void*)(i * 16), w)) << i;
        EXPECT_EQ((WORD)i, w);
    }
    map.InitHashTable(0);       // no buckets: ignored
    EXPECT_EQ(31u, map.GetHashTableSize());
}

TEST(Maps, RemovingTheCurrentKeyDuringIteration)
{
    CMapWordToPtr map;
    for (WORD w = 0; w < 200; w++)
        map[w] = (void*)(INT_PTR)(w + 1);
    EXPECT_EQ(200, (ForEachAssoc<WORD, void*>(map, [&](WORD key, void* value) {
        EXPECT_EQ((void*)(INT_PTR)(key + 1), value);
        EXPECT_TRUE(key % 2 != 0 || map.RemoveKey(key));
    })));
    EXPECT_EQ(100, map.GetCount());
    void* v;
    EXPECT_FALSE(map.Lookup(10, v));
    EXPECT_TRUE(map.Lookup(11, v));
    POSITION pos = NULL;
    WORD k;
    EXPECT_TRUE(ThrowsNotSupported([&] { map.GetNextAssoc(pos, k, v); }));
}

TEST(Maps, TypedPointerMap)
{
    CTypedPtrMap<CMapStringToOb, CString, CStringArray*> map;
    CStringArray a;
    map.SetAt(L"a", &a);
    CStringArray* p = NULL;
    ASSERT_TRUE(map.Lookup(L"a", p));
    EXPECT_EQ(&a, p);
    EXPECT_EQ(nullptr, map[L"missing"]);
    EXPECT_EQ(2, (ForEachAssoc<CString, CStringArray*>(map, [&](const CString& key, CStringArray* value) {
        EXPECT_EQ(key == L"a" ? &a : NULL, value) << N(key);
    })));
    EXPECT_TRUE(map.RemoveKey(L"missing"));
}

/////////////////////////////////////////////////////////////////////////////
// Templates with an element type that counts its constructions and destructions and
// checks that it is only ever used at the address it was constructed at.

namespace {

int g_nLive = 0;
int g_nConstructed = 0;
int g_nBadObjects = 0;

struct Counted
{
    int value;
    const Counted* self;

    Counted() : value(0), self(this) { g_nLive++; g_nConstructed++; }
    Counted(int v) : value(v), self(this) { g_nLive++; g_nConstructed++; }
    Counted(const Counted& other) : value(other.value), self(this)
        { other.Check(); g_nLive++; g_nConstructed++; }
    ~Counted() { Check(); self = NULL; g_nLive--; }
    Counted& operator=(const Counted& other) { Check(); other.Check(); value = other.value; return *this; }
    bool operator==(const Counted& other) const { return value == other.value; }
    void Check() const { if (self != this) g_nBadObjects++; }
};

class CountedTest : public ::testing::Test
{
protected:
    void SetUp() override { g_nLive = 0; g_nConstructed = 0; g_nBadObjects = 0; }
    void TearDown() override
    {
        EXPECT_EQ(0, g_nLive) << "constructions and destructions differ";
        EXPECT_EQ(0, g_nBadObjects) << "elements used away from where they were constructed";
    }
};

} // namespace

TEST_F(CountedTest, ArrayConstructsAndDestroysEveryElement)
{
    {
        CArray<Counted, const Counted&> a;
        for (int i = 0; i < 50; i++)
            a.Add(Counted(i));
        EXPECT_EQ(50, g_nLive);
        a.InsertAt(10, Counted(-1), 5);
        a.InsertAt(0, a[3]);            // an argument that refers into the array
        EXPECT_EQ(3, a[0].value);
        a.RemoveAt(1, 20);
        a.SetAtGrow(100, a[0]);
        EXPECT_EQ(101, a.GetSize());
        EXPECT_EQ(101, g_nLive) << "SetAtGrow default-constructs the gap";
        a.SetSize(30);
        EXPECT_EQ(30, g_nLive);
        a.FreeExtra();
        a.Append(a);
        EXPECT_EQ(60, g_nLive);
        CArray<Counted, const Counted&> b;
        b.Copy(a);
        b.InsertAt(5, &a);
        EXPECT_EQ(180, g_nLive);
        EXPECT_EQ(a[29].value, b[59 + 30].value);
        b.RemoveAll();
        EXPECT_EQ(60, g_nLive);
        b.SetSize(3);
        EXPECT_EQ(0, b[2].value);
    }
    EXPECT_GT(g_nConstructed, 200);
}

TEST_F(CountedTest, ListConstructsAndDestroysEveryElement)
{
    {
        CList<Counted, const Counted&> list(3);
        for (int i = 0; i < 20; i++)
            list.AddTail(Counted(i));
        EXPECT_EQ(20, g_nLive);
        POSITION p5 = list.Find(Counted(5));
        ASSERT_NE((POSITION)NULL, p5);
        list.InsertBefore(p5, Counted(100));
        list.RemoveAt(p5);
        EXPECT_EQ(100, list.GetAt(list.FindIndex(5)).value);
        EXPECT_EQ(0, list.RemoveHead().value);
        EXPECT_EQ(19, list.RemoveTail().value);
        list.AddHead(&list);
        EXPECT_EQ(36, list.GetCount());
        EXPECT_EQ(36, g_nLive);
        for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
            POSITION cur = pos;
            if (list.GetNext(pos).value % 2 == 0)
                list.RemoveAt(cur);
        }
        EXPECT_EQ(list.GetCount(), g_nLive);
    }
}

TEST_F(CountedTest, MapConstructsAndDestroysEveryKeyAndValue)
{
    {
        CMap<int, int, Counted, const Counted&> map(4);
        for (int i = 0; i < 300; i++)
            map.SetAt(i, Counted(i * 2));
        EXPECT_EQ(300, g_nLive);
        Counted c;
        ASSERT_TRUE(map.Lookup(150, c));
        EXPECT_EQ(300, c.value);
        for (int i = 0; i < 300; i += 3)
            EXPECT_TRUE(map.RemoveKey(i));
        EXPECT_EQ(201, g_nLive);
        map.InitHashTable(101);
        EXPECT_EQ(302, map[151].value);
        map[1000].value = 7;
        EXPECT_EQ(202, g_nLive);
    }
}

TEST(Templates, StringKeysAndElements)
{
    CMap<CString, LPCTSTR, int, int> byText;
    byText[L"alpha"] = 1;
    byText[CString(L"beta")] = 2;
    int v = 0;
    EXPECT_TRUE(byText.Lookup(L"beta", v));
    EXPECT_EQ(2, v);
    EXPECT_FALSE(byText.Lookup(L"gamma", v));

    CMap<CString, const CString&, CString, const CString&> byRef;
    byRef[L"k"] = L"v";
    CString s;
    EXPECT_TRUE(byRef.Lookup(CString(L"k"), s));
    EXPECT_EQ("v", N(s));

    CList<CString, const CString&> list;
    list.AddTail(CString(L"x"));
    list.AddTail(CString(L"y"));
    EXPECT_EQ(list.GetTailPosition(), list.Find(CString(L"y")));

    CArray<CString, LPCTSTR> arr;
    arr.Add(L"one");
    arr.InsertAt(0, L"zero");
    EXPECT_EQ("zero", N(arr[0]));
}

namespace {

struct Cell
{
    int row;
    int col;
    bool operator==(const Cell& o) const { return row == o.row && col == o.col; }
};

int g_nCellHashes = 0;

} // namespace

template<>
UINT AFXAPI HashKey<Cell>(Cell key)
{
    g_nCellHashes++;
    return (UINT)(key.row * 31 + key.col);
}

TEST(Templates, UserHashKeyIsUsed)
{
    CMap<Cell, Cell, int, int> map;
    g_nCellHashes = 0;
    Cell a = { 1, 2 }, b = { 2, 1 };
    map[a] = 12;
    map[b] = 21;
    int v = 0;
    EXPECT_TRUE(map.Lookup(a, v));
    EXPECT_EQ(12, v);
    EXPECT_EQ(3, g_nCellHashes);
}

TEST(Templates, TypedPointerArray)
{
    CTypedPtrArray<CPtrArray, int*> a;
    int x = 1, y = 2;
    a.Add(&x);
    a.InsertAt(0, &y);
    EXPECT_EQ(&y, a[0]);
    *a.GetAt(1) = 5;
    EXPECT_EQ(5, x);
    a.ElementAt(0) = &x;
    EXPECT_EQ(&x, a.GetAt(0));
}

/////////////////////////////////////////////////////////////////////////////
// Serialization through CArchive over a CMemFile

// A serializable element; outside the anonymous namespace so that its extraction
// operator is used by the archive rather than reported as unused.
class CItem : public CObject
{
    DECLARE_SERIAL(CItem)
public:
    CItem() : m_n(0) {}
    explicit CItem(int n) : m_n(n) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << (LONG)m_n;
        }
        else {
            LONG n;
            ar >> n;
            m_n = n;
        }
    }
    int m_n;
};

IMPLEMENT_SERIAL(CItem, CObject, 1)

namespace {

// Stores with one archive, then loads into the second object from the same bytes.
template<class T>
std::string RoundTrip(T& stored, T& loaded)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        stored.Serialize(ar);
        ar.Close();
    }
    DWORD nLength = file.GetLength();
    std::string bytes(nLength, '\0');
    file.SeekToBegin();
    file.Read(&bytes[0], nLength);
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
        ar.Close();
    }
    return bytes;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

} // namespace

TEST(Serialize, IntegerArraysAreCountThenRawElements)
{
    CWordArray w, w2;
    w.Add(1);
    w.Add(0x0302);
    EXPECT_EQ("020001000203", Hex(RoundTrip(w, w2)));
    ASSERT_EQ(2, w2.GetSize());
    EXPECT_EQ(0x0302, w2[1]);

    CDWordArray d, d2;
    d.Add(0x04030201);
    EXPECT_EQ("010001020304", Hex(RoundTrip(d, d2)));
    EXPECT_EQ(0x04030201u, d2[0]);

    CByteArray b, b2;
    b.SetSize(70000);
    for (int i = 0; i < 70000; i++)
        b[i] = (BYTE)(i * 7);
    std::string bytes = RoundTrip(b, b2);
    EXPECT_EQ("ffff70110100", Hex(bytes.substr(0, 6))) << "counts from 0xFFFF on take a DWORD";
    ASSERT_EQ(70000, b2.GetSize());
    EXPECT_EQ(0, memcmp(b.GetData(), b2.GetData(), 70000));
}

TEST(Serialize, TruncatedByteArrayThrowsEndOfFile)
{
    BYTE data[] = { 10, 0, 1, 2, 3 };   // claims 10 bytes, has 3
    CMemFile file(data, sizeof data);
    CArchive ar(&file, CArchive::load);
    CByteArray b;
    int cause = -1;
    try {
        b.Serialize(ar);
    }
    catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::endOfFile, cause);
    ar.Abort();
}

TEST(Serialize, StringCollectionsRoundTrip)
{
    CStringArray a, a2;
    a.Add(L"eins");
    a.Add(L"");
    a.Add(L"dr\x00ee");
    RoundTrip(a, a2);
    ASSERT_EQ(3, a2.GetSize());
    EXPECT_EQ(a[2], a2[2]);
    EXPECT_TRUE(a2[1].IsEmpty());

    CStringList l, l2;
    l.AddTail(L"x");
    l.AddTail(L"y");
    l2.AddTail(L"kept");
    RoundTrip(l, l2);
    EXPECT_EQ("kept,x,y", ListText(l2)) << "loading appends";

    CMapStringToString m, m2;
    for (int i = 0; i < 50; i++) {
        CString k, v;
        k.Format(L"k%d", i);
        v.Format(L"v%d", i * i);
        m[k] = v;
    }
    RoundTrip(m, m2);
    ASSERT_EQ(50, m2.GetCount());
    CString v;
    EXPECT_TRUE(m2.Lookup(L"k7", v));
    EXPECT_EQ("v49", N(v));
}

TEST(Serialize, ObjectCollectionsKeepSharedObjectsShared)
{
    CItem one(1), two(2);
    CObArray a, a2;
    a.Add(&one);
    a.Add(&two);
    a.Add(&one);
    a.Add(NULL);
    RoundTrip(a, a2);
    ASSERT_EQ(4, a2.GetSize());
    CItem* p0 = DYNAMIC_DOWNCAST(CItem, a2[0]);
    ASSERT_NE(nullptr, p0);
    EXPECT_EQ(1, p0->m_n);
    EXPECT_EQ(2, STATIC_DOWNCAST(CItem, a2[1])->m_n);
    EXPECT_EQ(a2[0], a2[2]) << "a shared object loads once";
    EXPECT_EQ(nullptr, a2[3]);
    delete a2[0];
    delete a2[1];

    CMapStringToOb m, m2;
    m[L"a"] = &one;
    m[L"b"] = &two;
    RoundTrip(m, m2);
    CObject* pa = NULL;
    ASSERT_TRUE(m2.Lookup(L"a", pa));
    EXPECT_EQ(1, ((CItem*)pa)->m_n);
    CObject* pb = NULL;
    ASSERT_TRUE(m2.Lookup(L"b", pb));
    delete pa;
    delete pb;

    CMapWordToOb w, w2;
    w[7] = &two;
    RoundTrip(w, w2);
    CObject* p7 = NULL;
    ASSERT_TRUE(w2.Lookup(7, p7));
    EXPECT_EQ(2, ((CItem*)p7)->m_n);
    delete p7;

    CObList ol, ol2;
    ol.AddTail(&two);
    ol.AddTail(&one);
    RoundTrip(ol, ol2);
    ASSERT_EQ(2, ol2.GetCount());
    EXPECT_EQ(1, ((CItem*)ol2.GetTail())->m_n);
    delete ol2.RemoveHead();
    delete ol2.RemoveHead();
}

TEST(Serialize, CollectionsAsObjectsThroughTheirExtractionOperators)
{
    CStringList list;
    list.AddTail(L"a");
    list.AddTail(L"b");
    CDWordArray arr;
    arr.Add(42);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << &list << &arr;
        ar.Close();
    }
    file.SeekToBegin();
    CStringList* pList = NULL;
    CDWordArray* pArr = NULL;
    {
        CArchive ar(&file, CArchive::load);
        ar >> pList >> pArr;
        ar.Close();
    }
    ASSERT_NE(nullptr, pList);
    ASSERT_NE(nullptr, pArr);
    EXPECT_EQ("a,b", ListText(*pList));
    ASSERT_EQ(1, pArr->GetSize());
    EXPECT_EQ(42u, pArr->GetAt(0));
    delete pList;
    delete pArr;
}

TEST(Serialize, TemplatesRoundTrip)
{
    CArray<int, int> a, a2;
    for (int i = 0; i < 5; i++)
        a.Add(i * 1000);
    std::string bytes = RoundTrip(a, a2);
    EXPECT_EQ(2u + 5 * sizeof(int), bytes.size());
    ASSERT_EQ(5, a2.GetSize());
    EXPECT_EQ(4000, a2[4]);

    CList<CString, const CString&> l, l2;
    l.AddTail(CString(L"first"));
    l.AddTail(CString(L"second"));
    RoundTrip(l, l2);
    ASSERT_EQ(2, l2.GetCount());
    EXPECT_EQ("second", N(l2.GetTail()));

    CMap<CString, LPCTSTR, CString, LPCTSTR> m, m2;
    m[L"key"] = L"value";
    m[L"k2"] = L"v2";
    RoundTrip(m, m2);
    CString v;
    EXPECT_TRUE(m2.Lookup(L"key", v));
    EXPECT_EQ("value", N(v));
    EXPECT_EQ(2, m2.GetCount());
}
