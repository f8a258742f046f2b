// Tests of the collections: array growth and element moves, list iteration with
// POSITIONs, maps with their hash tables, the templates with an element type that
// counts its lives, and serialization through CArchive.
#include <afx.h>
#include <afxcoll.h>
#include <afxtempl.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <type_traits>

#include "AfxTestSupport.h"

using wivotest::Hex;
using wivotest::Join;
using wivotest::Narrow;

namespace {

// Exposes the capacity of an array.
template<class BASE>
class Probe : public BASE
{
public:
    int MaxSize() const { return this->m_nMaxSize; }
    int GrowBy() const { return this->m_nGrowBy; }
};

template<class F>
bool ThrowsNotSupported(F f)
{
    return wivotest::Throws<CNotSupportedException>(f);
}

template<class T>
std::string Item(const T& v)
{
    if constexpr (std::is_pointer<T>::value)
        return std::to_string((INT_PTR)v);
    else if constexpr (std::is_arithmetic<T>::value)
        return std::to_string(v);
    else
        return Narrow(v);
}

// The elements, comma-separated, so that one comparison shows them all.
template<class ARRAY>
std::string ArrayText(const ARRAY& a)
{
    std::string text;
    for (int i = 0; i < a.GetSize(); i++)
        text += (i ? "," : "") + Item(a[i]);
    return text;
}

template<class LIST>
std::string ListText(LIST& list)
{
    std::string text;
    bool bFirst = true;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL; bFirst = false)
        text += (bFirst ? "" : ",") + Item(list.GetNext(pos));
    return text;
}

// Appends the values in order.
template<class ARRAY, class... T>
void AddAll(ARRAY& a, T... values)
{
    (a.Add(values), ...);
}

template<class LIST, class... T>
void AddTails(LIST& list, T... values)
{
    (list.AddTail(values), ...);
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
// Arrays

TEST(ArrayGrowth, AutomaticGrowthIsAnEighthBetween4And1024)
{
    // The first allocation is exact, then at least 4 more; asking for more than one
    // step takes exactly that; then 100 / 8 = 12 more; never more than 1024.
    Probe<CDWordArray> a;
    a.Add(1);
    int nFirst = a.MaxSize();
    a.Add(2);
    int nSecond = a.MaxSize();
    a.SetSize(100);
    int nAsked = a.MaxSize();
    a.Add(3);
    int nEighth = a.MaxSize();
    a.SetSize(20000);
    a.Add(4);
    EXPECT_EQ("1|5|100|112|21024", Join({nFirst, nSecond, nAsked, nEighth, a.MaxSize()}));
}

TEST(ArrayGrowth, GrowByKeepsDataInPlaceUntilTheStepIsUsed)
{
    Probe<CPtrArray> a;
    a.SetSize(0, 10);
    AddAll(a, (void*)1, (void*)2);
    EXPECT_EQ(11, a.MaxSize());
    void** pGrown = a.GetData();
    for (INT_PTR i = 3; i <= 11; i++) {
        a.Add((void*)i);
        EXPECT_EQ(pGrown, a.GetData()) << "add #" << i << " moved the data";
    }
    a.Add((void*)12);
    EXPECT_EQ(21, a.MaxSize());
    EXPECT_EQ("1,2,3,4,5,6,7,8,9,10,11,12", ArrayText(a));

    // nGrowBy -1 keeps the step; 0 restores the automatic one.
    Probe<CByteArray> b;
    b.SetSize(1, 50);
    b.SetSize(2);
    EXPECT_EQ("50|51", Join({b.GrowBy(), b.MaxSize()}));
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
    a.SetSize(6);
    EXPECT_EQ(8, a.MaxSize());
    EXPECT_EQ(p, a.GetData());
    EXPECT_EQ("100,101,0,0,0,0", ArrayText(a)) << "regrown elements kept old values";
    a.FreeExtra();
    EXPECT_EQ(6, a.MaxSize());
    a.RemoveAll();
    EXPECT_EQ(Join({(void*)NULL, -1}), Join({a.GetData(), a.GetUpperBound()}));
}

TEST(ArrayEdit, InsertAndRemoveAtEveryPlace)
{
    CUIntArray a;
    AddAll(a, 0u, 1u, 2u, 3u);
    a.InsertAt(2, 77, 3);
    a.InsertAt(7, 8);           // at the end
    a.InsertAt(10, 9, 2);       // past the end: the gap is zero
    a.InsertAt(0, 5, 0);        // nothing to insert
    EXPECT_EQ("0,1,77,77,77,2,3,8,0,0,9,9", ArrayText(a));
    a.RemoveAt(0);
    a.RemoveAt(a.GetUpperBound());
    a.RemoveAt(2, 3);
    a.RemoveAt(a.GetSize(), 0); // an empty range at the end is fine
    EXPECT_EQ("1,77,3,8,0,0,9", ArrayText(a));
    a.RemoveAt(0, 7);
    EXPECT_EQ(0, a.GetSize());
}

TEST(CollectionErrors, BadIndexesAndPositionsThrowInsteadOfTouchingMemory)
{
    CDWordArray a;
    AddAll(a, 1u, 2u);
    const CDWordArray& c = a;
    CPtrList list;
    const CPtrList& cl = list;
    CMapWordToPtr map;
    map[1] = NULL;
    POSITION pos = NULL;
    WORD key;
    void* value;
    const std::function<void()> bad[] = {
        [&] { c.GetAt(2); },                [&] { c[-1]; },
        [&] { a.ElementAt(2) = 0; },        [&] { a.SetAt(5, 0); },
        [&] { a.RemoveAt(1, 2); },          [&] { a.RemoveAt(-1); },
        [&] { a.InsertAt(-1, (DWORD)0); },  [&] { a.SetSize(-1); },
        [&] { a.SetAtGrow(-1, 0); },        [&] { a.InsertAt(0, (CDWordArray*)NULL); },
        // An empty list and NULL positions.
        [&] { list.RemoveHead(); },         [&] { list.RemoveTail(); },
        [&] { cl.GetHead(); },              [&] { list.GetTail() = NULL; },
        [&] { list.RemoveAt(NULL); },       [&] { list.GetNext(pos); },
        [&] { list.AddTail((CPtrList*)NULL); }, [&] { map.GetNextAssoc(pos, key, value); },
    };
    for (const auto& f : bad)
        EXPECT_TRUE(ThrowsNotSupported(f)) << "case #" << &f - bad;
    EXPECT_EQ("1,2|0|1", Join({ArrayText(a), list.GetCount(), map.GetCount()}));
}

TEST(ArrayEdit, SetAtGrowAppendCopyAndInsertArrayIncludingItself)
{
    CObArray a;
    a.SetAtGrow(3, (CObject*)(INT_PTR)0x10);
    a[0] = (CObject*)(INT_PTR)0x20;
    EXPECT_EQ(4, a.Append(a));
    EXPECT_EQ("32,0,0,16,32,0,0,16", ArrayText(a));
    CObArray b;
    b.Copy(a);
    b.Copy(b);
    EXPECT_EQ(ArrayText(a), ArrayText(b));
    b.SetSize(2);
    b.InsertAt(1, &b);
    EXPECT_EQ("32,32,0,0", ArrayText(b));
}

TEST(StringArray, ElementsAreSharedAndArgumentsIntoTheArraySurviveItsGrowth)
{
    CStringArray a;
    CString text(L"shared");
    a.Add(text);
    EXPECT_EQ((LPCTSTR)text, (LPCTSTR)a[0]) << "Add(const CString&) shares the buffer";
    a.Add(L"two");
    a.SetSize(5);
    a.InsertAt(1, L"ins", 2);
    EXPECT_EQ("shared,ins,ins,two,,,", ArrayText(a));
    a.RemoveAt(1, 2);
    EXPECT_EQ("shared,two,,,", ArrayText(a));

    a.SetSize(1, 0);
    for (int i = 0; i < 40; i++)
        a.Add(a[0]);            // each Add may move the array the argument lives in
    a.InsertAt(0, a[40], 3);
    a.InsertAt(0, (LPCTSTR)a[1]);
    a.SetAtGrow(100, a[2]);
    ASSERT_EQ(101, a.GetSize());
    for (int i = 0; i < 45; i++)
        ASSERT_EQ("shared", Narrow(a[i])) << "index " << i;
    EXPECT_EQ("shared", Narrow(a[100]));
    EXPECT_TRUE(a[99].IsEmpty());
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
        back += Item(list.GetPrev(pos));
    EXPECT_EQ("9876543210", back);
    EXPECT_EQ("0|9|10", Join({list.GetHead(), list.GetTail(), list.GetCount()}));
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        POSITION cur = pos;
        if ((INT_PTR)list.GetNext(pos) % 3 == 0)
            list.RemoveAt(cur);
    }
    EXPECT_EQ("1,2,4,5,7,8", ListText(list));
    for (POSITION pos = list.GetTailPosition(); pos != NULL;) {
        POSITION cur = pos;
        list.GetPrev(pos);
        list.RemoveAt(cur);
    }
    EXPECT_EQ("1|0|0", Join({list.IsEmpty(), list.GetHeadPosition(), list.GetTailPosition()}));
    list.AddTail((void*)42);    // the list works again after going empty
    EXPECT_EQ("42", ListText(list));
}

TEST(PtrList, InsertFindIndexAndAddingListsIncludingItself)
{
    CPtrList list(2);
    POSITION p2 = list.AddTail((void*)2);
    list.InsertBefore(p2, (void*)1);
    list.InsertAfter(p2, (void*)3);
    list.InsertBefore(NULL, (void*)0);
    list.InsertAfter(NULL, (void*)4);
    list.AddTail((void*)2);
    EXPECT_EQ("0,1,2,3,4,2", ListText(list));
    EXPECT_EQ(p2, list.Find((void*)2));
    POSITION second = list.Find((void*)2, p2);
    EXPECT_EQ(Join({list.GetTailPosition(), (void*)NULL, (void*)NULL}),
              Join({second, list.Find((void*)2, second), list.Find((void*)9)}));
    EXPECT_EQ(Join({list.GetHeadPosition(), (void*)3, (void*)NULL, (void*)NULL}),
              Join({list.FindIndex(0), list.GetAt(list.FindIndex(3)), list.FindIndex(6),
                    list.FindIndex(-1)}));
    list.SetAt(list.FindIndex(0), (void*)7);
    EXPECT_EQ("7|2|1,2,3,4", Join({list.RemoveHead(), list.RemoveTail(), ListText(list)}));

    CPtrList a, b;
    AddTails(a, (void*)1, (void*)2);
    AddTails(b, (void*)8, (void*)9);
    a.AddHead(&b);
    a.AddTail(&b);
    EXPECT_EQ("8,9,1,2,8,9", ListText(a));
    b.AddTail(&b);
    b.AddHead(&b);
    EXPECT_EQ("8,9,8,9,8,9,8,9", ListText(b));
}

TEST(StringList, ElementsFindAndNullText)
{
    CStringList list;
    list.AddTail(L"b");
    list.AddHead(CString(L"a"));
    list.AddTail((LPCTSTR)NULL);
    list.InsertAfter(list.GetHeadPosition(), L"a2");
    EXPECT_EQ("a,a2,b,", ListText(list));
    POSITION tail = list.GetTailPosition();
    EXPECT_EQ(Join({tail, tail, list.FindIndex(2), (void*)NULL}),
              Join({list.Find(NULL), list.Find(L""), list.Find(L"b"), list.Find(L"B")}))
        << "Find is case-sensitive";
    list.GetHead() += L"!";
    EXPECT_EQ("a!", Narrow(list.RemoveHead()));
}

TEST(TypedPointers, ListMapAndArrayOverTheUntypedOnes)
{
    CStringArray a, b;
    a.Add(L"a");
    CTypedPtrList<CObList, CStringArray*> list;
    list.AddTail(&a);
    list.AddHead(&b);
    POSITION pos = list.GetHeadPosition();
    EXPECT_EQ(&b, list.GetNext(pos));
    EXPECT_EQ("a", Narrow(list.GetNext(pos)->GetAt(0)));
    EXPECT_EQ(&a, list.RemoveTail());

    CTypedPtrMap<CMapStringToOb, CString, CStringArray*> map;
    map.SetAt(L"a", &a);
    CStringArray* p = NULL;
    EXPECT_EQ(Join({1, &a, (void*)NULL}), Join({map.Lookup(L"a", p), p, map[L"missing"]}));

    CTypedPtrArray<CPtrArray, int*> arr;
    int x = 1, y = 2;
    arr.Add(&x);
    arr.InsertAt(0, &y);
    *arr.GetAt(1) = 5;
    EXPECT_EQ(Join({5, &y}), Join({x, arr[0]}));
}

/////////////////////////////////////////////////////////////////////////////
// Maps

TEST(Maps, StringToStringBasicsAndHashFunctions)
{
    CMapStringToString map;
    EXPECT_EQ(Join({17, (void*)NULL}), Join({map.GetHashTableSize(), map.GetStartPosition()}));
    map[L"one"] = L"1";
    map.SetAt(L"two", L"2");
    map.SetAt(L"one", L"uno");
    EXPECT_EQ(2, map.GetCount());
    // A failed lookup leaves the value alone.
    CString value;
    LPCTSTR key = NULL;
    EXPECT_EQ("1|uno|0|uno|1|two", Join({map.Lookup(L"one", value), value,
                                        map.Lookup(L"ONE", value), value,
                                        map.LookupKey(L"two", key), key}));
    EXPECT_TRUE(map[L"three"].IsEmpty());
    EXPECT_EQ("3|1|0", Join({map.GetCount(), map.RemoveKey(L"three"), map.RemoveKey(L"three")}));
    map[NULL] = L"null";
    EXPECT_EQ("1|null", Join({map.Lookup(L"", value), value}));

    // Strings hash as key * 33 + character, pointers and words drop four bits; the
    // templates' HashKey agrees for every form of a string.
    EXPECT_EQ(Join({'a' * 33 + 'b', 0LL, 0x1234, 0x12}),
              Join({map.HashKey(L"ab"), map.HashKey(L""), CMapPtrToPtr().HashKey((void*)0x12345),
                    CMapWordToPtr().HashKey(0x123)}));
    const UINT nKey = map.HashKey(L"key");
    EXPECT_EQ(Join({nKey, nKey, nKey}),
              Join({HashKey(L"key"), HashKey(CString(L"key")), HashKey("key")}));
}

TEST(Maps, ManyKeysWithALargerTable)
{
    CMapStringToPtr map;
    map.InitHashTable(4099);
    EXPECT_EQ(4099u, map.GetHashTableSize());
    const int kCount = 20000;
    CString key;
    for (INT_PTR i = 0; i < kCount; i++) {
        key.Format(L"key%d", (int)i);
        map[key] = (void*)(i + 1);
    }
    ASSERT_EQ(kCount, map.GetCount());
    for (INT_PTR i = 0; i < kCount; i += 7) {
        key.Format(L"key%d", (int)i);
        void* v = NULL;
        ASSERT_TRUE(map.Lookup(key, v)) << Narrow(key);
        ASSERT_EQ((void*)(i + 1), v);
    }
    std::set<INT_PTR> seen;
    EXPECT_EQ(kCount, (ForEachAssoc<CString, void*>(
                          map, [&](const CString&, void* v) { seen.insert((INT_PTR)v); })));
    EXPECT_EQ((size_t)kCount, seen.size());
    map.RemoveAll();
    EXPECT_EQ(4099u, map.GetHashTableSize()) << "RemoveAll keeps the table size";
    EXPECT_TRUE(map.IsEmpty());

    // A new table for a filled map keeps its associations; no buckets is ignored.
    CMapPtrToWord byPtr;
    for (INT_PTR i = 0; i < 100; i++)
        byPtr[(void*)(i * 16)] = (WORD)i;
    byPtr.InitHashTable(31, FALSE);
    byPtr.InitHashTable(0);
    EXPECT_EQ(31u, byPtr.GetHashTableSize());
    for (INT_PTR i = 0; i < 100; i++) {
        WORD w = 0xFFFF;
        EXPECT_TRUE(byPtr.Lookup((void*)(i * 16), w) && w == i) << i;
    }
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
    void* v;
    EXPECT_EQ("100|0|1", Join({map.GetCount(), map.Lookup(10, v), map.Lookup(11, v)}));
}

/////////////////////////////////////////////////////////////////////////////
// Templates with an element type that counts its constructions and destructions and
// checks that it is only ever used at the address it was constructed at.

namespace {

int g_nLive = 0;
int g_nBadObjects = 0;

struct Counted
{
    int value;
    const Counted* self;

    Counted(int v = 0) : value(v), self(this) { g_nLive++; }
    Counted(const Counted& other) : value(other.value), self(this) { other.Check(); g_nLive++; }
    ~Counted() { Check(); self = NULL; g_nLive--; }
    Counted& operator=(const Counted& other)
    {
        Check();
        other.Check();
        value = other.value;
        return *this;
    }
    bool operator==(const Counted& other) const { return value == other.value; }
    void Check() const { if (self != this) g_nBadObjects++; }
};

class CountedTest : public ::testing::Test
{
protected:
    void SetUp() override { g_nLive = 0; g_nBadObjects = 0; }
    void TearDown() override
    {
        EXPECT_EQ(0, g_nLive) << "constructions and destructions differ";
        EXPECT_EQ(0, g_nBadObjects) << "elements used away from where they were constructed";
    }
};

} // namespace

TEST_F(CountedTest, ArrayConstructsAndDestroysEveryElement)
{
    CArray<Counted, const Counted&> a;
    for (int i = 0; i < 50; i++)
        a.Add(Counted(i));
    a.InsertAt(10, Counted(-1), 5);
    a.InsertAt(0, a[3]);            // an argument that refers into the array
    EXPECT_EQ(3, a[0].value);
    a.RemoveAt(1, 20);
    ASSERT_EQ(36, a.GetSize());
    EXPECT_EQ(15, a[1].value);
    EXPECT_EQ(49, a[35].value) << "every element after the gap moves down";
    a.SetAtGrow(100, a[0]);
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
    b.SetSize(3);
    EXPECT_EQ(63, g_nLive);
    EXPECT_EQ(0, b[2].value);
}

TEST_F(CountedTest, ListConstructsAndDestroysEveryElement)
{
    CList<Counted, const Counted&> list(3);
    for (int i = 0; i < 20; i++)
        list.AddTail(Counted(i));
    POSITION p5 = list.Find(Counted(5));
    ASSERT_NE((POSITION)NULL, p5);
    list.InsertBefore(p5, Counted(100));
    list.RemoveAt(p5);
    EXPECT_EQ("100|0|19", Join({list.GetAt(list.FindIndex(5)).value, list.RemoveHead().value,
                                list.RemoveTail().value}));
    list.AddHead(&list);
    EXPECT_EQ("36|36", Join({list.GetCount(), g_nLive}));
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        POSITION cur = pos;
        if (list.GetNext(pos).value % 2 == 0)
            list.RemoveAt(cur);
    }
    EXPECT_EQ(list.GetCount(), g_nLive);
}

TEST_F(CountedTest, MapConstructsAndDestroysEveryKeyAndValue)
{
    CMap<int, int, Counted, const Counted&> map(4);
    for (int i = 0; i < 300; i++)
        map.SetAt(i, Counted(i * 2));
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

TEST(Templates, StringKeysAndTheUsersHashKey)
{
    CMap<CString, LPCTSTR, int, int> byText;
    byText[L"alpha"] = 1;
    byText[CString(L"beta")] = 2;
    int v = 0;
    CMap<CString, const CString&, CString, const CString&> byRef;
    byRef[L"k"] = L"v";
    CString s;
    EXPECT_EQ("1|2|0|1|v", Join({byText.Lookup(L"beta", v), v, byText.Lookup(L"gamma", v),
                                 byRef.Lookup(CString(L"k"), s), s}));
    CList<CString, const CString&> list;
    AddTails(list, CString(L"x"), CString(L"y"));
    EXPECT_EQ(list.GetTailPosition(), list.Find(CString(L"y")));
    CArray<CString, LPCTSTR> arr;
    arr.Add(L"one");
    arr.InsertAt(0, L"zero");
    EXPECT_EQ("zero,one", ArrayText(arr));

    CMap<Cell, Cell, int, int> cells;
    g_nCellHashes = 0;
    cells[Cell{1, 2}] = 12;
    cells[Cell{2, 1}] = 21;
    EXPECT_EQ("1|12|3", Join({cells.Lookup(Cell{1, 2}, v), v, g_nCellHashes}));
}

/////////////////////////////////////////////////////////////////////////////
// Serialization through CArchive over a CMemFile

// A serializable element; outside the anonymous namespace so that its extraction
// operator is used by the archive rather than reported as unused.
class CItem : public CObject
{
    DECLARE_SERIAL(CItem)
public:
    explicit CItem(int n = 0) : m_n(n) {}
    void Serialize(CArchive& ar) override
    {
        LONG n = m_n;
        if (ar.IsStoring())
            ar << n;
        else
            ar >> n;
        m_n = n;
    }
    int m_n;
};

IMPLEMENT_SERIAL(CItem, CObject, 1)

namespace {

// Stores with one archive, then loads into the second object from the same bytes.
template<class T>
std::string RoundTrip(T& stored, T& loaded)
{
    std::string bytes = wivotest::StoreBytes([&](CArchive& ar) { stored.Serialize(ar); });
    wivotest::LoadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    return bytes;
}

// The value of a loaded CItem (deleted here), -1 for anything else.
int TakeItem(CObject* p)
{
    CItem* pItem = DYNAMIC_DOWNCAST(CItem, p);
    int n = pItem != NULL ? pItem->m_n : -1;
    delete p;
    return n;
}

} // namespace

TEST(Serialize, IntegerArraysAreCountThenRawElements)
{
    CWordArray w, w2;
    AddAll(w, 1, 0x0302);
    EXPECT_EQ("02 00 01 00 02 03", Hex(RoundTrip(w, w2)));
    EXPECT_EQ(ArrayText(w), ArrayText(w2));

    CDWordArray d, d2;
    d.Add(0x04030201);
    EXPECT_EQ("01 00 01 02 03 04", Hex(RoundTrip(d, d2)));
    EXPECT_EQ(ArrayText(d), ArrayText(d2));

    CByteArray b, b2;
    b.SetSize(70000);
    for (int i = 0; i < 70000; i++)
        b[i] = (BYTE)(i * 7);
    // Counts from 0xFFFF on take a DWORD.
    EXPECT_EQ("FF FF 70 11 01 00", Hex(RoundTrip(b, b2).substr(0, 6)));
    ASSERT_EQ(70000, b2.GetSize());
    EXPECT_EQ(0, memcmp(b.GetData(), b2.GetData(), 70000));

    BYTE data[] = { 10, 0, 1, 2, 3 };   // claims 10 bytes, has 3
    CMemFile file(data, sizeof data);
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(CArchiveException::endOfFile,
              wivotest::CauseOf<CArchiveException>([&] { b.Serialize(ar); }));
    ar.Abort();
}

TEST(Serialize, StringCollectionsRoundTrip)
{
    CStringArray a, a2;
    AddAll(a, L"eins", L"", L"dr\x00ee");
    RoundTrip(a, a2);
    EXPECT_EQ(ArrayText(a), ArrayText(a2));

    CStringList l, l2;
    AddTails(l, L"x", L"y");
    l2.AddTail(L"kept");
    RoundTrip(l, l2);
    EXPECT_EQ("kept,x,y", ListText(l2)) << "loading appends";

    CMapStringToString m, m2;
    CString k, v;
    for (int i = 0; i < 50; i++) {
        k.Format(L"k%d", i);
        v.Format(L"v%d", i * i);
        m[k] = v;
    }
    RoundTrip(m, m2);
    EXPECT_EQ("50|1|v49", Join({m2.GetCount(), m2.Lookup(L"k7", v), v}));
}

TEST(Serialize, ObjectCollectionsKeepSharedObjectsShared)
{
    CItem one(1), two(2);
    CObArray a, a2;
    AddAll(a, &one, &two, &one, (CItem*)NULL);
    RoundTrip(a, a2);
    ASSERT_EQ(4, a2.GetSize());
    EXPECT_EQ(a2[0], a2[2]) << "a shared object loads once";
    EXPECT_EQ("-1|1|2", Join({TakeItem(a2[3]), TakeItem(a2[0]), TakeItem(a2[1])}));

    CMapStringToOb m, m2;
    m[L"a"] = &one;
    m[L"b"] = &two;
    RoundTrip(m, m2);
    EXPECT_EQ(2, (ForEachAssoc<CString, CObject*>(m2, [](const CString& key, CObject* p) {
        EXPECT_EQ(key == L"a" ? 1 : 2, TakeItem(p)) << Narrow(key);
    })));

    CMapWordToOb w, w2;
    w[7] = &two;
    RoundTrip(w, w2);
    CObject* p7 = NULL;
    EXPECT_TRUE(w2.Lookup(7, p7));
    EXPECT_EQ(2, TakeItem(p7));

    CObList ol, ol2;
    AddTails(ol, &two, &one);
    RoundTrip(ol, ol2);
    ASSERT_EQ(2, ol2.GetCount());
    EXPECT_EQ("2|1", Join({TakeItem(ol2.RemoveHead()), TakeItem(ol2.RemoveHead())}));
}

TEST(Serialize, CollectionsAsObjectsAndTemplates)
{
    CStringList list;
    AddTails(list, L"a", L"b");
    CDWordArray arr;
    arr.Add(42);
    EXPECT_EQ("1|0|0", Join({arr.IsSerializable(), CPtrArray().IsSerializable(),
                             CUIntArray().IsSerializable()}));
    CStringList* pList = NULL;
    CDWordArray* pArr = NULL;
    wivotest::LoadBytes(wivotest::StoreBytes([&](CArchive& ar) { ar << &list << &arr; }),
                        [&](CArchive& ar) { ar >> pList >> pArr; });
    ASSERT_TRUE(pList != NULL && pArr != NULL);
    EXPECT_EQ("a,b|42", ListText(*pList) + "|" + ArrayText(*pArr));
    delete pList;
    delete pArr;
    CObject* pMade = RUNTIME_CLASS(CMapStringToString)->CreateObject();
    EXPECT_TRUE(pMade != NULL && pMade->IsKindOf(RUNTIME_CLASS(CMapStringToString)));
    delete pMade;

    CArray<int, int> ints, ints2;
    AddAll(ints, 0, 1000, 2000);
    EXPECT_EQ(2u + 3 * sizeof(int), RoundTrip(ints, ints2).size());
    EXPECT_EQ("0,1000,2000", ArrayText(ints2));
    CList<CString, const CString&> l, l2;
    AddTails(l, CString(L"first"), CString(L"second"));
    RoundTrip(l, l2);
    EXPECT_EQ("first,second", ListText(l2));
    CMap<CString, LPCTSTR, CString, LPCTSTR> m, m2;
    m[L"key"] = L"value";
    m[L"k2"] = L"v2";
    RoundTrip(m, m2);
    CString v;
    EXPECT_EQ("2|1|value", Join({m2.GetCount(), m2.Lookup(L"key", v), v}));
}
