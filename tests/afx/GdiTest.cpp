// Tests of the GDI side: drawing through CDC into memory bitmaps, selection and
// the temporary objects, fonts, mapped bitmaps, regions and CImageList.
#include <afxwin.h>
#include <afxpriv.h>

#include <AfxTestSupport.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using wivotest::Join;

namespace {

const UINT kTestBitmap = 100;   // GdiTest.rc
const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

// A 32x32 screen-compatible bitmap selected into a memory DC, white at first.
class GdiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CClientDC screen(NULL);
        m_pDC.reset(new CDC);
        ASSERT_TRUE(m_pDC->CreateCompatibleDC(&screen));
        m_pBitmap.reset(new CBitmap);
        ASSERT_TRUE(m_pBitmap->CreateCompatibleBitmap(&screen, 32, 32));
        m_pOld = m_pDC->SelectObject(m_pBitmap.get());
        m_pDC->FillSolidRect(0, 0, 32, 32, kWhite);
    }
    void TearDown() override
    {
        m_pDC->SelectObject(m_pOld);
        m_pDC.reset();
        m_pBitmap.reset();
    }
    // "x,y=RRGGBB" for each point, so that a failure shows every pixel.
    std::string Pixels(std::initializer_list<CPoint> points, CDC* pDC = NULL)
    {
        std::string out;
        for (const CPoint& pt : points) {
            char text[32];
            COLORREF cr = (pDC ? pDC : m_pDC.get())->GetPixel(pt);
            sprintf(text, "%s%ld,%ld=%02X%02X%02X", out.empty() ? "" : " ", pt.x, pt.y,
                    GetRValue(cr), GetGValue(cr), GetBValue(cr));
            out += text;
        }
        return out;
    }

    std::unique_ptr<CDC> m_pDC;
    std::unique_ptr<CBitmap> m_pBitmap;
    CBitmap* m_pOld = NULL;
};

TEST_F(GdiTest, PrimitivesLeaveTheExpectedPixels)
{
    CBrush red(kRed);
    CPen bluePen(PS_SOLID, 1, kBlue);
    struct Case { const char* name; std::function<void(CDC&)> draw; std::vector<CPoint> at; const char* expected; };
    const std::vector<Case> cases = {
        {"FillSolidRect", [](CDC& dc) { dc.FillSolidRect(CRect(2, 2, 6, 6), kRed); },
         {{2, 2}, {5, 5}, {6, 6}}, "2,2=FF0000 5,5=FF0000 6,6=FFFFFF"},
        {"Draw3dRect", [](CDC& dc) { dc.Draw3dRect(2, 2, 10, 10, kRed, kBlue); },
         {{2, 2}, {10, 2}, {11, 2}, {2, 11}, {11, 11}, {5, 5}}, "2,2=FF0000 10,2=FF0000 11,2=0000FF 2,11=0000FF 11,11=0000FF 5,5=FFFFFF"},
        {"FillRect", [&](CDC& dc) { dc.FillRect(CRect(0, 0, 3, 3), &red); }, {{2, 2}, {3, 3}}, "2,2=FF0000 3,3=FFFFFF"},
        {"FrameRect", [&](CDC& dc) { dc.FrameRect(CRect(1, 1, 9, 9), &red); },
         {{1, 1}, {8, 8}, {4, 4}}, "1,1=FF0000 8,8=FF0000 4,4=FFFFFF"},
        {"InvertRect", [](CDC& dc) { dc.InvertRect(CRect(0, 0, 2, 2)); }, {{1, 1}, {2, 2}}, "1,1=000000 2,2=FFFFFF"},
        {"PatBlt", [](CDC& dc) { dc.PatBlt(4, 4, 2, 2, BLACKNESS); }, {{5, 5}, {6, 6}}, "5,5=000000 6,6=FFFFFF"},
        {"Rectangle", [&](CDC& dc) { dc.SelectObject(&bluePen); dc.SelectObject(&red); dc.Rectangle(2, 2, 10, 10); },
         {{2, 2}, {9, 9}, {5, 5}, {10, 10}}, "2,2=0000FF 9,9=0000FF 5,5=FF0000 10,10=FFFFFF"},
        {"LineTo", [&](CDC& dc) { dc.SelectObject(&bluePen); dc.MoveTo(0, 3); dc.LineTo(8, 3); },
         {{0, 3}, {7, 3}, {8, 3}, {0, 4}}, "0,3=0000FF 7,3=0000FF 8,3=FFFFFF 0,4=FFFFFF"},
        {"SetPixel", [](CDC& dc) { dc.SetPixel(CPoint(7, 9), kRed); }, {{7, 9}, {8, 9}}, "7,9=FF0000 8,9=FFFFFF"},
        {"Ellipse", [&](CDC& dc) { dc.SelectObject(&red); dc.Ellipse(0, 0, 20, 20); },
         {{10, 10}, {0, 0}, {19, 19}}, "10,10=FF0000 0,0=FFFFFF 19,19=FFFFFF"},
        {"Pie", [&](CDC& dc) { dc.SelectObject(&red); dc.Pie(0, 0, 20, 20, 20, 10, 10, 0); },
         {{14, 6}, {5, 14}}, "14,6=FF0000 5,14=FFFFFF"},
        {"ExtTextOut opaque", [](CDC& dc) { dc.SetBkColor(kBlue); CRect rc(3, 3, 7, 7); dc.ExtTextOut(3, 3, ETO_OPAQUE, rc, L"", 0, NULL); },
         {{3, 3}, {6, 6}, {7, 7}}, "3,3=0000FF 6,6=0000FF 7,7=FFFFFF"},
        {"clipped", [](CDC& dc) { dc.IntersectClipRect(0, 0, 4, 4); dc.FillSolidRect(0, 0, 8, 8, kRed); },
         {{3, 3}, {4, 4}}, "3,3=FF0000 4,4=FFFFFF"},
        {"excluded", [](CDC& dc) { dc.ExcludeClipRect(0, 0, 4, 4); dc.FillSolidRect(0, 0, 8, 8, kRed); },
         {{3, 3}, {4, 4}}, "3,3=FFFFFF 4,4=FF0000"},
        {"scaled", [](CDC& dc) { dc.SetMapMode(MM_ANISOTROPIC); dc.SetWindowExt(1, 1); dc.SetViewportExt(2, 2); dc.SetViewportOrg(4, 4); dc.FillSolidRect(0, 0, 3, 3, kRed); },
         {{4, 4}, {9, 9}, {10, 10}, {3, 3}}, "4,4=FF0000 9,9=FF0000 10,10=FFFFFF 3,3=FFFFFF"},
    };
    for (const Case& c : cases) {
        m_pDC->FillSolidRect(0, 0, 32, 32, kWhite);
        int nSaved = m_pDC->SaveDC();
        c.draw(*m_pDC);
        m_pDC->RestoreDC(nSaved);
        std::string expected = c.expected;
        std::string actual;
        for (const CPoint& pt : c.at)
            actual += (actual.empty() ? "" : " ") + Pixels({pt});
        EXPECT_EQ(expected, actual) << c.name;
    }
}

TEST_F(GdiTest, BitBlocksCopyStretchAndMask)
{
    CDC src;
    CBitmap bmp;
    ASSERT_TRUE(src.CreateCompatibleDC(m_pDC.get()));
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(m_pDC.get(), 4, 4));
    CBitmap* pOld = src.SelectObject(&bmp);
    src.FillSolidRect(0, 0, 4, 4, kRed);
    src.SetPixel(0, 0, kBlue);
    ASSERT_TRUE(m_pDC->BitBlt(1, 1, 4, 4, &src, 0, 0, SRCCOPY));
    ASSERT_TRUE(m_pDC->StretchBlt(10, 10, 8, 8, &src, 0, 0, 4, 4, SRCCOPY));
    // A mask of one set pixel at (1,1): there the source, elsewhere the destination.
    CBitmap mask;
    const BYTE bits[8] = {0, 0, 0x40, 0, 0, 0, 0, 0};     // rows of two bytes
    ASSERT_TRUE(mask.CreateBitmap(4, 4, 1, 1, bits));
    ASSERT_TRUE(m_pDC->MaskBlt(20, 20, 4, 4, &src, 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029)));
    EXPECT_EQ("1,1=0000FF 2,2=FF0000 5,5=FFFFFF 11,11=0000FF 12,12=FF0000 17,17=FF0000 18,18=FFFFFF "
              "20,20=FFFFFF 21,21=FF0000 22,22=FFFFFF",
              Pixels({{1, 1}, {2, 2}, {5, 5}, {11, 11}, {12, 12}, {17, 17}, {18, 18}, {20, 20}, {21, 21}, {22, 22}}));
    src.SelectObject(pOld);
}

TEST_F(GdiTest, SelectionGivesBackFrameworkObjectsAndTheTemporariesGoAtIdle)
{
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kBlue);
    HGDIOBJ hStockPen = ::GetCurrentObject(*m_pDC, OBJ_PEN);
    CPen* pOldPen = m_pDC->SelectObject(&pen);
    // The stock pen had no object: a temporary one wraps it, and is found again.
    ASSERT_NE(nullptr, pOldPen);
    EXPECT_EQ(hStockPen, pOldPen->m_hObject);
    EXPECT_EQ((CGdiObject*)pOldPen, CGdiObject::FromHandle(hStockPen));
    EXPECT_EQ((CGdiObject*)pOldPen, afxMapHGDIOBJ()->LookupTemporary(hStockPen));
    EXPECT_EQ(&pen, m_pDC->GetCurrentPen());
    EXPECT_EQ(&pen, m_pDC->SelectStockObject(BLACK_PEN));          // permanent comes back as itself
    EXPECT_EQ(pOldPen, m_pDC->SelectObject(&pen));
    EXPECT_EQ(m_pBitmap.get(), m_pDC->GetCurrentBitmap());

    // SaveDC/RestoreDC bring back the objects and settings of the saved level.
    m_pDC->SelectObject(&brush);
    m_pDC->SetTextColor(kBlue);
    int nSaved = m_pDC->SaveDC();
    ASSERT_GT(nSaved, 0);
    m_pDC->SelectStockObject(NULL_PEN);
    m_pDC->SelectStockObject(WHITE_BRUSH);
    m_pDC->SetTextColor(kRed);
    EXPECT_TRUE(m_pDC->RestoreDC(nSaved));
    EXPECT_EQ(Join({(const void*)&pen, (const void*)&brush, (long long)kBlue}),
              Join({(const void*)m_pDC->GetCurrentPen(), (const void*)m_pDC->GetCurrentBrush(),
                    (long long)m_pDC->GetTextColor()}));

    // A region selection answers its kind and clips both DCs.
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateRectRgn(2, 3, 12, 13));
    EXPECT_EQ(SIMPLEREGION, m_pDC->SelectObject(&rgn));
    CRect rcClip;
    EXPECT_EQ(SIMPLEREGION, m_pDC->GetClipBox(&rcClip));
    EXPECT_EQ(CRect(2, 3, 12, 13), rcClip);

    m_pDC->SelectStockObject(BLACK_PEN);
    m_pDC->SelectStockObject(WHITE_BRUSH);
    AfxLockTempMaps();
    EXPECT_TRUE(AfxUnlockTempMaps());
    EXPECT_EQ(nullptr, afxMapHGDIOBJ()->LookupTemporary(hStockPen));
    EXPECT_EQ((CObject*)&pen, afxMapHGDIOBJ()->LookupPermanent(pen.m_hObject));
}

TEST_F(GdiTest, SeparateAttributeDCTakesQueriesAndSettings)
{
    CDC attrib;
    ASSERT_TRUE(attrib.CreateCompatibleDC(NULL));
    CDC both;
    both.SetOutputDC(*m_pDC);
    both.SetAttribDC(attrib);
    both.SetTextColor(kRed);                       // to both
    ::SetTextColor(attrib, kBlue);
    EXPECT_EQ(kBlue, both.GetTextColor());          // from the attribute DC
    EXPECT_EQ(kRed, ::GetTextColor(*m_pDC));
    EXPECT_EQ(-1, both.SaveDC());                   // two DCs: only -1 restores
    both.SetMapMode(MM_LOMETRIC);
    EXPECT_TRUE(both.RestoreDC(-1));
    EXPECT_EQ(Join({MM_TEXT, MM_TEXT}), Join({::GetMapMode(attrib), ::GetMapMode(*m_pDC)}));
    both.ReleaseAttribDC();
    both.ReleaseOutputDC();
    EXPECT_EQ(nullptr, both.m_hAttribDC);
}

TEST_F(GdiTest, PointFontsFollowTheLogicalInch)
{
    const int nLogPixelsY = m_pDC->GetDeviceCaps(LOGPIXELSY);
    struct Case { int nMapMode; int nTenths; int nHeight; };
    const Case cases[] = {
        {MM_TEXT, 80, -::MulDiv(nLogPixelsY, 80, 720)},
        {MM_TEXT, 120, -::MulDiv(nLogPixelsY, 120, 720)},
        {MM_TEXT, 240, -::MulDiv(nLogPixelsY, 240, 720)},
        {MM_TWIPS, 120, -240},                      // a twip is a twentieth of a point
        {MM_LOMETRIC, 720, -254},                   // an inch is 254 tenths of a millimetre
    };
    for (const Case& c : cases) {
        m_pDC->SetMapMode(c.nMapMode);
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.nTenths, L"Arial", m_pDC.get()));
        LOGFONT lf;
        ASSERT_EQ((int)sizeof(lf), font.GetLogFont(&lf));
        // Rounding through device pixels may cost a logical unit or two.
        EXPECT_NEAR(c.nHeight, lf.lfHeight, c.nMapMode == MM_TEXT ? 0 : 3) << c.nMapMode << " " << c.nTenths;
    }
    CFont screenFont;
    ASSERT_TRUE(screenFont.CreatePointFont(100, L"Arial"));
    LOGFONT lf;
    screenFont.GetLogFont(&lf);
    EXPECT_EQ(-::MulDiv(nLogPixelsY, 100, 720), lf.lfHeight);
    EXPECT_STREQ(L"Arial", lf.lfFaceName);
}

// The system's button colours set to odd values for the test, and put back.
class SysColorGuard
{
public:
    SysColorGuard()
    {
        for (int i = 0; i < 4; i++)
            m_old[i] = ::GetSysColor(kIndex[i]);
        ::SetSysColors(4, kIndex, kNew);
    }
    ~SysColorGuard() { ::SetSysColors(4, kIndex, m_old); }
    static constexpr int kIndex[4] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    static constexpr COLORREF kNew[4] = {RGB(1, 2, 3), RGB(40, 50, 60), RGB(70, 80, 90), RGB(200, 210, 220)};

private:
    COLORREF m_old[4];
};

TEST_F(GdiTest, MappedBitmapsTakeTheButtonColoursOfNow)
{
    SysColorGuard colours;
    ASSERT_EQ(RGB(70, 80, 90), ::GetSysColor(COLOR_BTNFACE));
    HINSTANCE hInst = ::GetModuleHandleW(NULL);
    HRSRC hRsrc = ::FindResourceW(hInst, MAKEINTRESOURCEW(kTestBitmap), RT_BITMAP);
    ASSERT_NE(nullptr, hRsrc);
    CBitmap mapped, sysColor, mono;
    ASSERT_TRUE(mapped.LoadMappedBitmap(kTestBitmap));
    ASSERT_TRUE(sysColor.Attach(AfxLoadSysColorBitmap(hInst, hRsrc)));
    ASSERT_TRUE(mono.Attach(AfxLoadSysColorBitmap(hInst, hRsrc, TRUE)));
    BITMAP info;
    ASSERT_TRUE(mono.GetBitmap(&info));
    EXPECT_EQ(Join({5, 2, 1}), Join({info.bmWidth, info.bmHeight, info.bmBitsPixel}));
    const char* expected[] = {
        "0,0=010203 1,0=28323C 2,0=46505A 3,0=C8D2DC 4,0=FF0000 0,1=FF0000 4,1=010203",
        "0,0=010203 1,0=28323C 2,0=46505A 3,0=C8D2DC 4,0=FF0000 0,1=FF0000 4,1=010203",
        "0,0=000000 1,0=FFFFFF 2,0=FFFFFF 3,0=FFFFFF 4,1=000000",
    };
    CBitmap* bitmaps[] = {&mapped, &sysColor, &mono};
    for (int i = 0; i < 3; i++) {
        CBitmap* pOld = m_pDC->SelectObject(bitmaps[i]);
        EXPECT_EQ(expected[i], i < 2 ? Pixels({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {0, 1}, {4, 1}})
                                     : Pixels({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}})) << i;
        m_pDC->SelectObject(pOld);
    }
    // No bitmap resource: nothing to load.
    CBitmap none;
    EXPECT_FALSE(none.LoadMappedBitmap(kTestBitmap + 1));
    EXPECT_EQ(nullptr, AfxLoadSysColorBitmap(hInst, ::FindResourceW(hInst, MAKEINTRESOURCEW(1), RT_MANIFEST)));
}

TEST_F(GdiTest, RegionsCombineAndCompare)
{
    CRgn a, b;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 15, 15));
    struct Case { int nMode; int nType; CRect box; BOOL in1, in2, in3; };   // (2,2) (7,7) (12,12)
    const Case cases[] = {
        {RGN_AND, SIMPLEREGION, CRect(5, 5, 10, 10), FALSE, TRUE, FALSE},
        {RGN_OR, COMPLEXREGION, CRect(0, 0, 15, 15), TRUE, TRUE, TRUE},
        {RGN_XOR, COMPLEXREGION, CRect(0, 0, 15, 15), TRUE, FALSE, TRUE},
        {RGN_DIFF, COMPLEXREGION, CRect(0, 0, 10, 10), TRUE, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        CRgn r;
        ASSERT_TRUE(r.CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(c.nType, r.CombineRgn(&a, &b, c.nMode)) << c.nMode;
        CRect box;
        r.GetRgnBox(&box);
        EXPECT_EQ(c.box, box) << c.nMode;
        EXPECT_EQ(Join({c.in1, c.in2, c.in3}), Join({r.PtInRegion(2, 2), r.PtInRegion(CPoint(7, 7)), r.PtInRegion(12, 12)}))
            << c.nMode;
    }
    CRgn copy;
    ASSERT_TRUE(copy.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(SIMPLEREGION, copy.CopyRgn(&a));
    EXPECT_TRUE(copy.EqualRgn(&a));
    EXPECT_EQ(SIMPLEREGION, copy.OffsetRgn(CPoint(5, 5)));
    EXPECT_TRUE(copy.EqualRgn(&b));
    EXPECT_TRUE(copy.RectInRegion(CRect(14, 14, 20, 20)));
    EXPECT_FALSE(copy.RectInRegion(CRect(15, 15, 20, 20)));
    copy.SetRectRgn(CRect(0, 0, 10, 10));
    EXPECT_TRUE(copy.EqualRgn(&a));
    // Its data builds an equal region.
    std::vector<BYTE> data(a.GetRegionData(NULL, 0));
    ASSERT_EQ((int)data.size(), a.GetRegionData((LPRGNDATA)data.data(), (int)data.size()));
    CRgn rebuilt;
    ASSERT_TRUE(rebuilt.CreateFromData(NULL, (int)data.size(), (const RGNDATA*)data.data()));
    EXPECT_TRUE(rebuilt.EqualRgn(&a));
}

TEST_F(GdiTest, ImageListsHoldDrawAndStoreImages)
{
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2));
    EXPECT_EQ(&list, CImageList::FromHandlePermanent(list));
    CBitmap red, blue;
    ASSERT_TRUE(red.CreateCompatibleBitmap(m_pDC.get(), 8, 4));     // two images
    ASSERT_TRUE(blue.CreateCompatibleBitmap(m_pDC.get(), 4, 4));
    {
        CDC dc;
        dc.CreateCompatibleDC(m_pDC.get());
        CBitmap* pOld = dc.SelectObject(&red);
        dc.FillSolidRect(0, 0, 8, 4, kRed);
        dc.SetPixel(0, 0, kWhite);                 // transparent by the colour mask
        dc.SelectObject(&blue);
        dc.FillSolidRect(0, 0, 4, 4, kBlue);
        dc.SelectObject(pOld);
    }
    EXPECT_EQ(0, list.Add(&red, kWhite));
    EXPECT_EQ(2, list.Add(&blue, (CBitmap*)NULL));
    EXPECT_EQ(3, list.GetImageCount());
    EXPECT_EQ(CLR_NONE, list.SetBkColor(RGB(0, 255, 0)));
    EXPECT_EQ(RGB(0, 255, 0), list.GetBkColor());
    list.SetBkColor(CLR_NONE);
    IMAGEINFO info;
    ASSERT_TRUE(list.GetImageInfo(1, &info));
    EXPECT_EQ(CRect(4, 0, 8, 4), CRect(info.rcImage));
    EXPECT_FALSE(list.GetImageInfo(3, &info));

    m_pDC->FillSolidRect(0, 0, 32, 32, RGB(0, 0, 0));
    EXPECT_TRUE(list.Draw(m_pDC.get(), 0, CPoint(0, 0), ILD_TRANSPARENT));
    EXPECT_TRUE(list.Draw(m_pDC.get(), 2, CPoint(8, 0), ILD_NORMAL));
    EXPECT_FALSE(list.Draw(m_pDC.get(), 9, CPoint(16, 0), ILD_NORMAL));
    EXPECT_EQ("0,0=000000 1,1=FF0000 9,1=0000FF 17,1=000000", Pixels({{0, 0}, {1, 1}, {9, 1}, {17, 1}}));

    // Replace, icons, overlays, removal: red (masked), blue, blue icon remain.
    EXPECT_TRUE(list.Replace(1, &blue, (CBitmap*)NULL));
    HICON hIcon = list.ExtractIcon(1);
    ASSERT_NE(nullptr, hIcon);
    EXPECT_EQ(3, list.Add(hIcon));
    EXPECT_EQ(1, list.Replace(1, hIcon));
    ::DestroyIcon(hIcon);
    EXPECT_TRUE(list.SetOverlayImage(2, 1));
    EXPECT_TRUE(list.Remove(1));
    EXPECT_FALSE(list.Remove(7));
    EXPECT_EQ(3, list.GetImageCount());

    // The archive round trip draws the same pixels.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ASSERT_TRUE(list.Write(&ar));
        ar.Close();
    }
    EXPECT_GT(file.GetLength(), 32u);
    file.SeekToBegin();
    CImageList loaded;
    {
        CArchive ar(&file, CArchive::load);
        ASSERT_TRUE(loaded.Read(&ar));
        EXPECT_FALSE(list.Read(&ar));               // only into an empty object
    }
    EXPECT_EQ(3, loaded.GetImageCount());
    m_pDC->FillSolidRect(0, 0, 32, 32, RGB(0, 0, 0));
    for (int i = 0; i < 3; i++) {
        list.Draw(m_pDC.get(), i, CPoint(0, 8 * i), ILD_TRANSPARENT);
        loaded.Draw(m_pDC.get(), i, CPoint(8, 8 * i), ILD_TRANSPARENT);
    }
    EXPECT_EQ("0,0=000000 1,1=FF0000 1,9=0000FF 1,17=0000FF 8,0=000000 9,1=FF0000 9,9=0000FF 9,17=0000FF",
              Pixels({{0, 0}, {1, 1}, {1, 9}, {1, 17}, {8, 0}, {9, 1}, {9, 9}, {9, 17}}));

    // Damaged data is refused and leaves the object empty.
    const std::string garbage = wivotest::Bytes({'I', 'L', 1, 1, 3, 0, 4, 0, 0xFF, 0xFF});
    CImageList damaged;
    wivotest::LoadBytes(garbage, [&](CArchive& ar) { EXPECT_FALSE(damaged.Read(&ar)); });
    EXPECT_EQ(nullptr, damaged.m_hImageList);

    // A merged image, a list from a bitmap resource, attach and detach, temporaries.
    CImageList merged, fromResource;
    ASSERT_TRUE(merged.Create(list, 0, loaded, 2, 1, 1));
    EXPECT_EQ(1, merged.GetImageCount());
    ASSERT_TRUE(fromResource.Create(kTestBitmap, 1, 0, CLR_NONE));
    EXPECT_EQ(5, fromResource.GetImageCount());
    HIMAGELIST h = fromResource.Detach();
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(h));
    CImageList* pTemp = CImageList::FromHandle(h);
    EXPECT_EQ(5, pTemp->GetImageCount());
    EXPECT_EQ((CObject*)pTemp, afxMapHIMAGELIST()->LookupTemporary(h));
    CImageList::DeleteTempMap();
    EXPECT_EQ(nullptr, afxMapHIMAGELIST()->LookupTemporary(h));
    EXPECT_TRUE(::ImageList_GetImageCount(h) == 5);   // the temporary never owned it
    ASSERT_TRUE(fromResource.Attach(h));
    EXPECT_TRUE(fromResource.DeleteImageList());
    EXPECT_FALSE(fromResource.DeleteImageList());
}

TEST_F(GdiTest, DraggingShowsTheDragImage)
{
    std::unique_ptr<CWnd> pWnd(new CWnd);
    ASSERT_TRUE(pWnd->CreateEx(0, AfxRegisterWndClass(0), L"Drag", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL, NULL));
    CImageList list;
    ASSERT_TRUE(list.Create(kTestBitmap, 1, 0, CLR_NONE));
    EXPECT_EQ(nullptr, CImageList::GetDragImage(NULL, NULL));
    ASSERT_TRUE(list.BeginDrag(2, CPoint(1, 1)));
    EXPECT_TRUE(CImageList::DragEnter(pWnd.get(), CPoint(10, 10)));
    EXPECT_TRUE(CImageList::DragMove(CPoint(20, 30)));
    EXPECT_TRUE(CImageList::DragShowNolock(FALSE));
    CPoint pt, ptHot;
    CImageList* pDrag = CImageList::GetDragImage(&pt, &ptHot);
    ASSERT_NE(nullptr, pDrag);
    EXPECT_EQ(1, pDrag->GetImageCount());
    EXPECT_EQ(Join({20, 30, 1, 1}), Join({pt.x, pt.y, ptHot.x, ptHot.y}));
    EXPECT_TRUE(CImageList::DragLeave(pWnd.get()));
    CImageList::EndDrag();
    EXPECT_EQ(nullptr, CImageList::GetDragImage(NULL, NULL));
    pWnd->DestroyWindow();
}

} // namespace
