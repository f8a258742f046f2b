// GraphicsTest.cpp - device-independent bitmaps, memory DCs, simple fonts and the
// bitmap and palette helpers, on the real GDI.
#include <Wivo.h>
#include <gtest/gtest.h>

#include "AfxTestSupport.h"
#include "DibTestSupport.h"

#include <algorithm>
#include <memory>

using namespace wivotest;

namespace {

const UINT IDB_SYSCOLORS = 100;     // GraphicsTest.rc: black, greys, white, red
const HINSTANCE hExe = ::GetModuleHandleW(NULL);

// GDI objects of this process. Wine answers 0 from GetGuiResources; there the
// process's GDI handle table (from the PEB) is walked and each used entry
// confirmed by GetObjectType on the handle it stands for.
long GdiObjectCount()
{
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return (long)n;
    typedef const BYTE*(WINAPI * GetPeb)();
    GetPeb getPeb = (GetPeb)(void (*)())::GetProcAddress(::GetModuleHandleW(L"ntdll"),
                                                         "RtlGetCurrentPeb");
    const BYTE* table = *(const BYTE* const*)(getPeb() + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    MEMORY_BASIC_INFORMATION mbi;
    if (table == NULL || !::VirtualQuery(table, &mbi, sizeof(mbi)))
        return -1;
    size_t n = ((const BYTE*)mbi.BaseAddress + mbi.RegionSize - table) / 24;
    long count = 0;
    // 24-byte entries: object, owner, unique (the handle's high word), type
    for (size_t i = 0; i < std::min<size_t>(n, 65536); i++) {
        const BYTE* e = table + i * 24;
        ULONG_PTR unique = *(const USHORT*)(e + 12);
        count += e[14] && ::GetObjectType((HGDIOBJ)(i | unique << 16));
    }
    return count;
}

// The first pixel where two DCs differ, as text; empty when none does.
std::string ComparePixels(CDC& a, CDC& b, int cx, int cy)
{
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            if (a.GetPixel(x, y) != b.GetPixel(x, y))
                return Join({ x, y, (long long)a.GetPixel(x, y), (long long)b.GetPixel(x, y) });
    return "";
}

struct DibProbe : CDIBitmap
{
    HDRAWDIB DrawDibHandle() const { return m_hDrawDib; }
};

} // namespace

// Every depth, at widths with and without row padding, through file and packed
// block and back; what this library writes and reads is compared byte for byte.
TEST(DIBitmapTest, RoundTripsThroughFileAndPackedBlock)
{
    TempDir dir;
    CString path = dir.File(L"round.bmp");
    for (int bpp : { 1, 4, 8, 16, 24, 32 })
        for (int width : { 3, 17 }) {
            SCOPED_TRACE(testing::Message() << bpp << " bpp, " << width << " pixels wide");
            Dib src(bpp, width, 5);
            CDIBitmap dib, fromBlock, fromFile;
            ASSERT_TRUE(dib.CreateFromData(src.Info(), src.bits.data()));
            EXPECT_EQ(Join({ bpp, width, 5, (long long)src.bits.size() }),
                      Join({ dib.GetBitsPerPixel(), dib.GetSize().cx, dib.GetSize().cy,
                             dib.GetSizeInBytes() }));
            EXPECT_EQ(src.Bits(), BitsOf(dib));
            EXPECT_EQ(bpp <= 8 ? src.Table() : "", ColoursOf(dib));

            ASSERT_TRUE(dib.Save(path));
            DWORD masks[3], head[3] = { 0, 0, 54 };
            std::string table = dib.GetColorMask(masks) ? std::string((char*)masks, 12)
                                                        : src.Table();
            head[2] += (DWORD)table.size();
            head[0] = head[2] + (DWORD)src.bits.size();
            std::string expected = "BM" + std::string((char*)head, 12) +
                std::string((const char*)&dib.GetBitmapInfoHeader(), 40) + table + src.Bits();
            EXPECT_EQ(expected, ReadFileBytes(path));

            HGLOBAL hBlock = dib.GetAsHGLOBAL();
            ASSERT_TRUE(hBlock != NULL);
            EXPECT_EQ(expected.substr(14),
                      std::string((char*)::GlobalLock(hBlock), ::GlobalSize(hBlock)));
            ::GlobalUnlock(hBlock);
            EXPECT_TRUE(fromBlock.CreateFromHGLOBAL(hBlock));
            ::GlobalFree(hBlock);
            EXPECT_EQ(src.Bits(), BitsOf(fromBlock));
            EXPECT_EQ(ColoursOf(dib), ColoursOf(fromBlock));

            // The platform's loader (Wine's clears the padding and makes 5-6-5 pixels
            // 5-5-5) gives a section of the same format.
            EXPECT_TRUE(fromFile.Load(path));
            EXPECT_EQ(Join({ bpp, width, 5, ColoursOf(dib) }),
                      Join({ fromFile.GetBitsPerPixel(), fromFile.GetSize().cx,
                             fromFile.GetSize().cy, ColoursOf(fromFile) }));
        }
}

// Damaged files empty the object; damaged packed blocks leave the bitmap it held.
TEST(DIBitmapTest, DamagedInputFailsAsDocumented)
{
    TempDir dir;
    Dib src(8, 6, 4);
    CDIBitmap good;
    ASSERT_TRUE(good.CreateFromData(src.Info(), src.bits.data()) && good.Save(dir.File(L"a.bmp")));
    const std::string file = ReadFileBytes(dir.File(L"a.bmp"));
    struct Damage { const char* what; bool block; size_t keep, at; std::string bytes; };
    const Damage damages[] = {
        { "empty file", false, 0, 0, "" },
        { "file header only", false, 14, 0, "" },
        { "cut in the info header", false, 26, 0, "" },
        { "not BM", false, SIZE_MAX, 0, "XY" },
        { "header size 0", false, SIZE_MAX, 14, std::string(4, '\0') },
        { "7 bits per pixel", false, SIZE_MAX, 28, std::string("\7\0", 2) },
        { "block shorter than a header", true, 34, 0, "" },
        { "block shorter than its pixels", true, file.size() - 1, 0, "" },
        { "7 bits per pixel", true, SIZE_MAX, 28, std::string("\7\0", 2) },
        { "more than the format holds", true, file.size() + 4096, 34, std::string("\xFF\xF\0", 3) },
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(std::string(d.what) + (d.block ? " (block)" : " (file)"));
        std::string bytes = file;
        if (d.keep != SIZE_MAX)
            bytes.resize(d.keep);
        bytes.replace(d.at, d.bytes.size(), d.bytes);
        CDIBitmap dib;
        ASSERT_TRUE(dib.CreateFromData(src.Info(), src.bits.data()));
        HGDIOBJ hBefore = dib.m_hObject;
        if (d.block) {
            HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() - 14);
            memcpy(::GlobalLock(hBlock), &bytes[14], bytes.size() - 14);
            ::GlobalUnlock(hBlock);
            EXPECT_FALSE(dib.CreateFromHGLOBAL(hBlock));
            ::GlobalFree(hBlock);
            EXPECT_TRUE(hBefore == dib.m_hObject && src.Bits() == BitsOf(dib) &&
                        src.Table() == ColoursOf(dib));
        } else {
            ASSERT_TRUE(WriteFileBytes(dir.File(L"b.bmp"), bytes));
            EXPECT_FALSE(dib.Load(dir.File(L"b.bmp")));
            EXPECT_EQ(0u, ::GetObjectType(hBefore)) << "the bitmap held before is released";
            EXPECT_TRUE(!dib.IsValid() && dib.GetSize() == CSize(0, 0) && dib.GetBits() == NULL &&
                        dib.GetPalette()->m_hObject == NULL);
        }
    }
}

TEST(DIBitmapTest, EdgeCasesAndPalettes)
{
    TempDir dir;
    CDIBitmap empty, dib, res[2];
    EXPECT_FALSE(empty.Save(dir.File(L"empty.bmp")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(dir.File(L"empty.bmp")));
    EXPECT_TRUE(empty.GetAsHGLOBAL() == NULL && !empty.Draw(NULL, FALSE));

    Dib src(4, 4, 4), deep(16, 4, 4);
    EXPECT_FALSE(dib.CreateFromData(NULL, src.bits.data()) || dib.CreateFromData(src.Info(), NULL));
    ((BITMAPINFOHEADER*)src.info.data())->biSizeImage = 0;     // so no byte is copied
    ASSERT_TRUE(dib.CreateFromData(src.Info(), src.bits.data()));
    EXPECT_EQ(std::string(8, '\0'), std::string((const char*)dib.GetBits(), 8));
    EXPECT_FALSE(dib.Save(dir.Path())) << "a folder cannot be written as a file";
    PALETTEENTRY pe[256];
    ASSERT_EQ(16u, dib.GetPalette()->GetPaletteEntries(0, 256, pe));
    EXPECT_EQ(src.Table().substr(60, 3), std::string({ (char)pe[15].peBlue, (char)pe[15].peGreen,
                                                       (char)pe[15].peRed }));
    DWORD masks[3] = { 1, 2, 3 };
    EXPECT_FALSE(dib.GetColorMask(masks) || dib.GetColorMask(NULL));
    EXPECT_EQ(3u, masks[2]) << "left alone";

    ASSERT_TRUE(dib.CreateFromData(deep.Info(), deep.bits.data()) && dib.GetColorMask(masks));
    EXPECT_EQ(deep.Table(), std::string((const char*)masks, 12));
    CPalette halftone;
    CWindowDC screen(NULL);
    ASSERT_TRUE(halftone.CreateHalftonePalette(&screen));
    EXPECT_EQ(halftone.GetEntryCount(), dib.GetPalette()->GetEntryCount());

    // Attach takes sections only, and none while one is held; Detach hands it back.
    CBitmap ddb;
    ASSERT_TRUE(ddb.CreateBitmap(4, 4, 1, 32, NULL));
    EXPECT_FALSE(empty.Attach(ddb.m_hObject) || empty.IsValid() || dib.Attach(dib.m_hObject));
    EXPECT_EQ((DWORD)OBJ_BITMAP, ::GetObjectType(ddb.m_hObject));
    HGDIOBJ hSection = dib.Detach();
    EXPECT_TRUE(!dib.IsValid() && dib.GetPalette()->m_hObject == NULL);
    ASSERT_TRUE(empty.Attach(hSection));
    EXPECT_EQ(deep.Bits(), BitsOf(empty));

    // The test program's resource, by instance and through the current resource handle.
    ASSERT_TRUE(res[0].Load(hExe, IDB_SYSCOLORS) && res[1].Load(IDB_SYSCOLORS));
    for (CDIBitmap& r : res)
        EXPECT_EQ("4|5|1|16711680", Join({ r.GetBitsPerPixel(), r.GetSize().cx, r.GetSize().cy,
                                           *(DWORD*)&ColoursOf(r)[16] }));
    EXPECT_FALSE(res[0].Load(hExe, IDB_SYSCOLORS + 1) || res[0].IsValid());
}

// Drawn pixels match what GDI draws from the same bits: same size, at a point and
// stretched; palette bitmaps through a memory DC, deeper ones through DrawDib.
TEST(DIBitmapTest, DrawsLikeGdi)
{
    for (int bpp : { 1, 4, 8, 16, 24, 32 }) {
        SCOPED_TRACE(testing::Message() << bpp << " bpp");
        Dib src(bpp, 7, 5);
        DibProbe dib;
        ASSERT_TRUE(dib.CreateFromData(src.Info(), src.bits.data()));
        CMemoryDC drawn(NULL, CSize(24, 16)), ref(NULL, CSize(24, 16));
        BOOL bDrawn = dib.Draw(&drawn, TRUE);
        EXPECT_EQ(bpp > 8, dib.DrawDibHandle() != NULL);
        if (bpp == 16 && !bDrawn) {
            printf("Wine's DrawDib does not draw 16-bit DIBs\n");
            continue;
        }
        EXPECT_TRUE(bDrawn && dib.Draw(&drawn, CPoint(8, 0), FALSE) &&
                    dib.Draw(&drawn, CRect(1, 1, 4, 3), CRect(0, 6, 12, 14), FALSE));
        ref.SetStretchBltMode(COLORONCOLOR);
        // StretchDIBits counts source rows from the bottom: 1 from the top is 2 from it.
        const int blits[][8] = { { 0, 0, 7, 5, 0, 0, 7, 5 }, { 8, 0, 7, 5, 0, 0, 7, 5 },
                                 { 0, 6, 12, 8, 1, 2, 3, 2 } };
        for (const int* b : blits)
            ::StretchDIBits(ref, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], src.bits.data(),
                            src.Info(), DIB_RGB_COLORS, SRCCOPY);
        EXPECT_EQ("", ComparePixels(drawn, ref, 24, 16));
    }
    EXPECT_TRUE(::GetModuleHandleW(L"msvfw32.dll") != NULL);

    // A device-dependent bitmap, still selected into its DC, converted and drawn back.
    Dib src(24, 9, 6);
    CDIBitmap deep, fromDDB;
    CMemoryDC screenBits(NULL, CSize(9, 6)), back(NULL, CSize(9, 6));
    ASSERT_TRUE(deep.CreateFromData(src.Info(), src.bits.data()) && deep.Draw(&screenBits, TRUE));
    ASSERT_TRUE(fromDDB.CreateFromDDB(screenBits.GetBitmap(), NULL) && fromDDB.Draw(&back, TRUE));
    EXPECT_EQ(CSize(9, 6), fromDDB.GetSize());
    EXPECT_EQ("", ComparePixels(screenBits, back, 9, 6));
    EXPECT_FALSE(fromDDB.CreateFromDDB(NULL, NULL));
    EXPECT_TRUE(fromDDB.IsValid()) << "a failed conversion keeps the bitmap";
}

// Copies of bitmaps and palettes do not change with their sources.
TEST(GraphicsHelpersTest, CopiesAreIndependent)
{
    Dib src(8, 5, 3);
    CDIBitmap dib, copy, empty;
    ASSERT_TRUE(dib.CreateFromData(src.Info(), src.bits.data()) && WivoCopyBitmap(&copy, &dib));
    memset(const_cast<void*>(dib.GetBits()), 0x5A, dib.GetSizeInBytes());
    EXPECT_FALSE(WivoCopyBitmap(&copy, &empty)) << "no pixel bits to copy";
    EXPECT_TRUE(src.Bits() == BitsOf(copy) && src.Table() == ColoursOf(copy));

    const DWORD pixels[4] = { 0x112233, 0x445566, 0x778899, 0xAABBCC }, other[4] = {};
    DWORD read[4] = {};
    CBitmap ddb, ddbCopy;
    ASSERT_TRUE(ddb.CreateBitmap(2, 2, 1, 32, pixels) && WivoCopyBitmap(&ddbCopy, &ddb));
    EXPECT_FALSE(WivoCopyBitmap(&ddbCopy, &ddb)) << "the destination holds a bitmap";
    ddb.SetBitmapBits(sizeof(other), other);
    ddb.DeleteObject();
    EXPECT_EQ(sizeof(read), ddbCopy.GetBitmapBits(sizeof(read), read));
    EXPECT_EQ(0, memcmp(pixels, read, sizeof(read)));

    struct { WORD version, count; PALETTEENTRY e[3]; } lp = { 0x300, 3, { { 1, 2, 3, 0 },
                                                                           { 4, 5, 6, 0 } } };
    PALETTEENTRY changed = { 9, 9, 9, 0 }, got[3];
    CPalette pal, palCopy, noEntries;
    CWindowDC screen(NULL);
    ASSERT_TRUE(pal.CreatePalette((LOGPALETTE*)&lp) && palCopy.CreateHalftonePalette(&screen));
    ASSERT_TRUE(WivoCopyPalette(&palCopy, &pal));
    pal.SetPaletteEntries(1, 1, &changed);
    EXPECT_EQ(3, palCopy.GetEntryCount());
    EXPECT_EQ(3u, palCopy.GetPaletteEntries(0, 3, got));
    EXPECT_EQ(0, memcmp(lp.e, got, sizeof(got)));
    WivoCopyPalette(&palCopy, &noEntries);
    EXPECT_EQ(0, palCopy.GetEntryCount());

    // The resource with black, the greys and white in the button colours.
    EXPECT_TRUE(WivoLoadSysColorBitmap(hExe, IDB_SYSCOLORS + 1, FALSE) == NULL);
    std::unique_ptr<CBitmap> pMapped(WivoLoadSysColorBitmap(hExe, IDB_SYSCOLORS, FALSE));
    ASSERT_TRUE(pMapped != nullptr);
    CMemoryDC mem;
    mem.ReplaceBitmap(pMapped.get(), FALSE);
    const COLORREF mapped[5] = { ::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNSHADOW),
        ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 0, 0) };
    for (int x = 0; x < 5; x++)
        EXPECT_EQ(mapped[x], mem.GetPixel(x, 0)) << x;
}

TEST(MemoryDCTest, BitmapsAndTheirOwners)
{
    std::unique_ptr<CWnd> pWnd(new CWnd);
    ASSERT_TRUE(pWnd->CreateEx(0, AfxRegisterWndClass(0), L"MemoryDCTest", WS_OVERLAPPEDWINDOW,
                               10, 10, 230, 170, NULL, NULL));
    CRect rc[2];
    pWnd->GetClientRect(&rc[0]);
    pWnd->GetWindowRect(&rc[1]);
    ASSERT_NE(rc[0].Size(), rc[1].Size());
    for (int i = 0; i < 2; i++) {
        CMemoryDC mem(pWnd.get(), i == 0);     // client area, then the whole window
        BITMAP bm = {};
        mem.GetBitmap()->GetBitmap(&bm);
        EXPECT_EQ(rc[i].Size(), CSize(bm.bmWidth, bm.bmHeight)) << i;
    }
    pWnd->DestroyWindow();
    EXPECT_TRUE(Throws<CResourceException>([&] { CMemoryDC mem(pWnd.get(), TRUE); }));

    CBitmap kept;
    {
        CMemoryDC mem(NULL, CSize(4, 4));
        HGDIOBJ hOwned = mem.GetBitmap()->m_hObject;
        ASSERT_TRUE(kept.CreateCompatibleBitmap(&mem, 3, 3));
        mem.ReplaceBitmap(&kept, FALSE);
        EXPECT_EQ(0u, ::GetObjectType(hOwned)) << "an owned bitmap goes when replaced";
        CDC noDC;
        EXPECT_FALSE(mem.ReplaceBitmap(&noDC, CSize(4, 4)));
        EXPECT_TRUE(&kept == mem.GetBitmap() && &kept == mem.GetCurrentBitmap());
    }
    // Once the DC is gone, a bitmap it did not own is free to be selected elsewhere.
    CMemoryDC other;
    EXPECT_TRUE(other.SelectObject(&kept) != NULL);
}

TEST(SimpleFontTest, StyleBitsMakeTheDescription)
{
    // face, points, style -> style, plain, bold, italic, underline, strike-out, weight
    struct Row { LPCWSTR face; UINT points; int style; const char* expected; };
    const Row rows[] = { { L"Arial", 10, 0, "0|1|0|0|0|0|400" },
                         { L"Arial", 10, 3, "3|0|1|1|0|0|700" },
                         { L"Tahoma", 12, 12, "12|0|0|0|1|1|400" },
                         { L"Tahoma", 7, 31, "15|0|1|1|1|1|700" },
                         { L"A face name of more than thirty-one characters", 9, 2,
                           "2|0|0|1|0|0|400" } };
    CWindowDC screen(NULL);
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.points << " pt, style " << r.style);
        CSimpleFont font(r.face, r.points, r.style);
        const LOGFONTW& lf = font.GetLogFont();
        EXPECT_EQ(r.expected, Join({ font.GetStyle(), font.HasPlainStyle(), font.HasBoldStyle(),
                                     font.HasItalicStyle(), font.HasUnderlineStyle(),
                                     font.HasStrikeOutStyle(), lf.lfWeight }));
        EXPECT_EQ(Join({ CString(r.face).Left(31), (long long)r.points, r.points * 10ll, 1 }),
                  Join({ font.GetFaceName(), font.GetPointSize(), lf.lfHeight, lf.lfCharSet }));
        LOGFONTW made;
        ASSERT_TRUE(font.CFont::GetLogFont(&made));
        EXPECT_EQ(-::MulDiv(screen.GetDeviceCaps(LOGPIXELSY), r.points * 10, 720), made.lfHeight);
        EXPECT_EQ(0, memcmp(&lf.lfWeight, &made.lfWeight, 7)) << "weight to strike-out";
    }
}

// A thousand rounds of every class, and of bitmaps through the clipboard, leave the
// process with the GDI objects it had.
TEST(GraphicsReliabilityTest, AThousandCyclesLeakNoGdiObject)
{
    long before = GdiObjectCount();
    {
        CBrush one(RGB(1, 2, 3));
        ASSERT_EQ(before + 1, GdiObjectCount()) << "the count sees one new object";
    }
    Dib palette(8, 13, 7), deep(24, 13, 7);
    auto cycle = [&] {
        CDIBitmap dib, deepDib, copy, fromBlock, fromDDB;
        CMemoryDC mem(NULL, CSize(30, 20));
        CSimpleFont font(L"Arial", 11, 3, &mem);
        CFont* pOldFont = mem.SelectObject(&font);
        mem.TextOut(0, 0, CString(L"Wivo"));
        mem.SelectObject(pOldFont);
        HGLOBAL hBlock = NULL;
        CPalette palCopy;
        CBitmap pastedBitmap;
        CDIBitmap pastedDib;
        std::unique_ptr<CBitmap> pMapped(WivoLoadSysColorBitmap(hExe, IDB_SYSCOLORS, TRUE));
        ASSERT_TRUE(dib.CreateFromData(palette.Info(), palette.bits.data()) &&
                    deepDib.CreateFromData(deep.Info(), deep.bits.data()) &&
                    dib.Draw(&mem, CRect(0, 0, 13, 7), CRect(0, 0, 26, 14), FALSE) &&
                    deepDib.Draw(&mem, CPoint(3, 3), TRUE) && WivoCopyBitmap(&copy, &dib) &&
                    (hBlock = deepDib.GetAsHGLOBAL()) != NULL &&
                    fromBlock.CreateFromHGLOBAL(hBlock) &&
                    fromDDB.CreateFromDDB(mem.GetBitmap(), dib.GetPalette()) &&
                    WivoCopyPalette(&palCopy, dib.GetPalette()) && pMapped != nullptr);
        ::GlobalFree(hBlock);
        // Through the clipboard, which frees what it held when it is emptied; the
        // palette pasted replaces the copy made above.
        CClipboard clip;
        ASSERT_TRUE(clip.Empty() && clip.Copy(mem.GetBitmap(), dib.GetPalette()) &&
                    clip.Copy(&deepDib) && clip.Paste(&pastedBitmap, &palCopy) &&
                    clip.Paste(&pastedDib));
    };
    cycle();    // the first round loads DrawDib and makes the stock objects of DCs
    before = GdiObjectCount();
    for (int i = 0; i < 1000 && !HasFatalFailure(); i++)
        cycle();
    EXPECT_EQ(before, GdiObjectCount());
}
