// ClipboardTest.cpp - the clipboard class against the system clipboard, read back as
// another program would read it.
#include <Wivo.h>
#include <gtest/gtest.h>

#include "AfxTestSupport.h"
#include "DibTestSupport.h"

#include <psapi.h>
#include <set>
#include <future>
#include <thread>

using namespace wivotest;

namespace {

// One format's bytes as another program sees them: open, read, close.
std::string ClipboardBytes(UINT nFormat)
{
    std::string bytes;
    HANDLE hData = ::OpenClipboard(NULL) ? ::GetClipboardData(nFormat) : NULL;
    if (const char* p = hData ? (const char*)::GlobalLock(hData) : NULL)
        bytes.assign(p, ::GlobalSize(hData)), ::GlobalUnlock(hData);
    ::CloseClipboard();
    return bytes;
}

std::string EntriesOf(HGDIOBJ hPalette)
{
    PALETTEENTRY e[256];
    return std::string((const char*)e, ::GetPaletteEntries((HPALETTE)hPalette, 0, 256, e) * 4);
}

struct Record : CObject
{
    explicit Record(DWORD n = 0, LPCWSTR t = L"") : number(n), text(t) {}
    DWORD number;
    CString text;
    void Serialize(CArchive& ar) override
    {
        ar.IsStoring() ? ar << number << text : ar >> number >> text;
    }
};

} // namespace

// Every depth, at widths with and without row padding, copied by one object and
// pasted by the next byte for byte.
TEST(ClipboardTest, DibsOfEveryDepthRoundTrip)
{
    for (int bpp : { 1, 4, 8, 16, 24, 32 })
        for (int width : { 3, 17 }) {
            SCOPED_TRACE(testing::Message() << bpp << " bpp, " << width << " pixels wide");
            Dib src(bpp, width, 5);
            CDIBitmap dib, pasted;
            ASSERT_TRUE(dib.CreateFromData(src.Info(), src.bits.data()));
            {
                CClipboard clip;
                ASSERT_TRUE(clip.Empty() && clip.Copy(&dib));
            }
            CClipboard clip;
            EXPECT_EQ(40 + (bpp > 8 ? 12 : 4u << bpp) + src.bits.size(),
                      clip.GetDataLength(CF_DIB));
            ASSERT_TRUE(clip.Paste(&pasted));
            EXPECT_EQ(0, memcmp(&dib.GetBitmapInfoHeader(), &pasted.GetBitmapInfoHeader(), 40));
            EXPECT_TRUE(src.Bits() == BitsOf(pasted) && ColoursOf(dib) == ColoursOf(pasted));
        }
    CClipboard clip;
    CDIBitmap empty;
    EXPECT_FALSE(clip.Copy((CDIBitmap*)NULL) || clip.Copy(&empty) || clip.Paste((CDIBitmap*)NULL));
}

// While a window of another thread holds the clipboard open, an object can do
// nothing, and its end does not take the clipboard from that window.
TEST(ClipboardTest, HeldByAnotherWindow)
{
    {
        CClipboard clip;
        ASSERT_TRUE(clip.Empty() && clip.Copy(CString(L"before")));
    }
    std::promise<HWND> opened;
    std::promise<void> release;
    std::thread other([&] {
        HWND hWnd = ::CreateWindowW(L"STATIC", L"holder", 0, 0, 0, 9, 9, NULL, NULL, NULL, NULL);
        opened.set_value(::OpenClipboard(hWnd) ? hWnd : NULL);
        release.get_future().wait();
        ::CloseClipboard();
        ::DestroyWindow(hWnd);
    });
    const HWND hOwner = opened.get_future().get();
    EXPECT_TRUE(hOwner && ::GetOpenClipboardWindow() == hOwner) << "the last object closed it";
    {
        CClipboard clip;
        Dib src(8, 3, 2);
        CDIBitmap dib;
        CBitmap bitmap;
        Record r;
        ASSERT_TRUE(dib.CreateFromData(src.Info(), src.bits.data()));
        EXPECT_EQ("0|0|0|0|0|0|0|0|0|0|0", Join({ clip.Copy(CString(L"x")), clip.Copy(&dib),
            clip.Copy(&dib, NULL), clip.Copy(&r.number, 4, CF_TEXT), clip.Copy(r, CF_TEXT),
            clip.Paste(r.text), clip.Paste(&dib), clip.Paste(&bitmap, NULL),
            clip.Paste(&r.number, 4, CF_TEXT), clip.Paste(r, CF_TEXT),
            (long long)clip.GetDataLength(CF_UNICODETEXT) }));
    }
    EXPECT_TRUE(::GetOpenClipboardWindow() == hOwner) << "still open by the other window";
    release.set_value();
    other.join();
    EXPECT_EQ("before", Narrow((LPCWSTR)ClipboardBytes(CF_UNICODETEXT).c_str()));
}

// Text, raw bytes and a serialised object as other programs read them, and back; an
// empty text changes nothing; the formats as listed and named.
TEST(ClipboardTest, TextDataObjectsAndFormats)
{
    const UINT nRaw = CClipboard::RegisterFormatName(L"Wivo10u ClipboardTest raw");
    const UINT nRecord = CClipboard::RegisterFormatName(L"Wivo10u ClipboardTest record");
    ASSERT_TRUE(nRaw >= 0xC000 && nRecord >= 0xC000 && nRaw != nRecord);
    EXPECT_EQ("||Wivo10u ClipboardTest raw",
              Join({ CClipboard::GetFormatName(CF_BITMAP),
                     CClipboard::GetFormatName(CF_UNICODETEXT), CClipboard::GetFormatName(nRaw) }));
    const CString text(L"Gr\u00FC\u00DFe\r\n\u20AC");
    const std::string raw = Bytes({ 0, 1, 2, 0xFF, 0 });
    Record record(0x01020304, L"Wivo"), fresh;
    {
        CClipboard clip;
        ASSERT_TRUE(clip.Empty() && clip.Copy(text) && clip.Copy(raw.data(), 5, nRaw) &&
                    clip.Copy(record, nRecord));
        EXPECT_FALSE(clip.Copy(CString()) || clip.Copy(NULL, 5, nRaw) || clip.Copy("x", 0, nRaw));
        EXPECT_EQ(5u, clip.GetDataLength(nRaw));
        std::set<UINT> listed;
        for (UINT n = clip.GetFirstFormat(); n && listed.size() < 99; n = clip.GetNextFormat(n))
            listed.insert(n);
        EXPECT_EQ(clip.GetFormatCount(), listed.size());
        EXPECT_TRUE(listed.count(CF_UNICODETEXT) && listed.count(nRaw) && listed.count(nRecord));
        EXPECT_TRUE(clip.IsFormatAvailable(nRaw) && !listed.count(CF_DIB) &&
                    !clip.IsFormatAvailable(CF_DIB));
    }
    EXPECT_EQ(std::string((const char*)(LPCWSTR)text, (text.GetLength() + 1) * 2),
              ClipboardBytes(CF_UNICODETEXT));
    EXPECT_EQ(Hex(raw), Hex(ClipboardBytes(nRaw)));
    // The number, then the text as the framework stores it: FF, FFFE, length, UTF-16.
    EXPECT_EQ(Hex(Bytes({ 4, 3, 2, 1, 0xFF, 0xFE, 0xFF, 4, 'W', 0, 'i', 0, 'v', 0, 'o', 0 })),
              Hex(ClipboardBytes(nRecord)));

    CClipboard clip;
    CString pasted;
    char buffer[6] = {};
    ASSERT_TRUE(clip.Paste(pasted) && clip.Paste(fresh, nRecord) && clip.Paste(buffer, 5, nRaw));
    EXPECT_EQ(Join({ text, 0x01020304, L"Wivo", Hex(raw) }),
              Join({ pasted, (long long)fresh.number, fresh.text, Hex(std::string(buffer, 5)) }));
    EXPECT_FALSE(clip.Paste(buffer, 6, nRaw) || clip.Paste(NULL, 5, nRaw) ||
                 clip.Paste(buffer, 0, nRaw) || clip.Paste(fresh, nRaw + 1000));
}

// Bitmaps go with their palette, or with the stock default palette when there is none.
TEST(ClipboardTest, BitmapsWithPalettes)
{
    const DWORD pixels[6] = { 0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203 };
    struct { WORD version, count; PALETTEENTRY e[2]; } lp = { 0x300, 2, { { 1, 2, 3, 0 } } };
    CBitmap ddb, noBitmap;
    CPalette palette, noPalette;
    ASSERT_TRUE(ddb.CreateBitmap(3, 2, 1, 32, pixels) && palette.CreatePalette((LOGPALETTE*)&lp));
    const HGDIOBJ hStock = ::GetStockObject(DEFAULT_PALETTE);
    auto pixelsOf = [](CBitmap& bitmap) {
        std::string bytes(24, '\0');
        return bytes.substr(0, bitmap.GetBitmapBits(24, &bytes[0]));
    };
    const std::pair<CPalette*, HGDIOBJ> rows[] = { { &palette, palette.m_hObject },
                                                   { NULL, hStock }, { &noPalette, hStock } };
    for (const auto& row : rows) {
        SCOPED_TRACE(EntriesOf(row.second).size() / 4);
        {
            CClipboard clip;
            ASSERT_TRUE(clip.Empty() && clip.Copy(&ddb, row.first));
        }
        CClipboard clip;
        CBitmap pasted;
        CPalette pastedPalette;
        ASSERT_TRUE(pastedPalette.CreatePalette((LOGPALETTE*)&lp));
        HGDIOBJ hBefore = pastedPalette.m_hObject;
        ASSERT_TRUE(clip.Paste(&pasted, &pastedPalette));
        EXPECT_TRUE(pasted.m_hObject != ::GetClipboardData(CF_BITMAP) &&
                    pixelsOf(ddb) == pixelsOf(pasted));
        EXPECT_EQ(EntriesOf(row.second), EntriesOf(pastedPalette.m_hObject));
        EXPECT_EQ(EntriesOf(row.second), EntriesOf(::GetClipboardData(CF_PALETTE)));
        EXPECT_EQ(0u, ::GetObjectType(hBefore)) << "the palette held before is released";
    }
    // A bitmap without a palette, put there by another program.
    CClipboard clip;
    CBitmap copy, pasted, alone;
    ASSERT_TRUE(clip.Empty() && WivoCopyBitmap(&copy, &ddb));
    ASSERT_TRUE(::SetClipboardData(CF_BITMAP, copy.Detach()) != NULL);
    ASSERT_TRUE(clip.Paste(&pasted, &palette) && clip.Paste(&alone, NULL));
    EXPECT_TRUE(palette.Detach() == hStock && pixelsOf(ddb) == pixelsOf(alone));
    EXPECT_FALSE(clip.Paste(&pasted, NULL)) << "the destination holds a bitmap";
    EXPECT_FALSE(clip.Paste((CBitmap*)NULL, NULL) || clip.Copy((CBitmap*)NULL, NULL) ||
                 clip.Copy(&noBitmap, NULL));
}

// Memory that the clipboard refuses is freed: here the object believes it holds the
// clipboard, which was closed behind its back.
TEST(ClipboardTest, RefusedCopiesFreeTheirMemory)
{
    auto mebibytes = [] {
        PROCESS_MEMORY_COUNTERS pmc = {};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof(pmc));
        return (long long)(pmc.PagefileUsage >> 20);
    };
    long long before = mebibytes();
    {
        std::vector<char> probe(64 << 20, 1);
        EXPECT_GE(mebibytes() - before, 60) << "the count sees 64 MiB in use";
    }
    const CString big(L'x', 1 << 20);
    CClipboard clip;
    ASSERT_TRUE(::CloseClipboard());
    before = mebibytes();
    for (int i = 0; i < 16; i++)     // 4 MiB a round if kept
        EXPECT_FALSE(clip.Copy(big) || clip.Copy((LPCWSTR)big, 2 << 20, CF_TEXT));
    EXPECT_LT(mebibytes() - before, 16);
}
