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

const UINT kTestBitmap = 100;   // GdiTest.rc: 5 x 2 pixels, black, greys, white, red
const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

// A 32x32 screen-compatible bitmap selected into a memory DC, white at first.
class GdiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CClientDC screen(NULL);
        m_pDC.reset(new CDC);
        m_pBitmap.reset(new CBitmap);
        ASSERT_TRUE(m_pDC->CreateCompatibleDC(&screen) && m_pBitmap->CreateCompatibleBitmap(&screen, 32, 32));
        m_pOld = m_pDC->SelectObject(m_pBitmap.get());
        m_pDC->FillSolidRect(0, 0, 32, 32, kWhite);
    }
    void TearDown() override
    {
        m_pDC->SelectObject(m_pOld);
        m_pDC.reset();
    }
    // "x,y=RRGGBB ..." so that a failure shows every pixel.
    std::string Pixels(const std::vector<CPoint>& points)
    {
        std::string out;
        for (const CPoint& pt : points) {
            char text[32];
            COLORREF cr = m_pDC->GetPixel(pt);
            sprintf(text, "%s%ld,%ld=%02X%02X%02X", out.empty() ? "" : " ", pt.x, pt.y, GetRValue(cr),
                    GetGValue(cr), GetBValue(cr));
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
    // A red 4x4 source with a blue corner, and a mask with (1,1) set (rows of two bytes).
    CDC src;
    CBitmap bmp, mask;
    const BYTE bits[8] = {0, 0, 0x40, 0, 0, 0, 0, 0};
    ASSERT_TRUE(src.CreateCompatibleDC(m_pDC.get()) && bmp.CreateCompatibleBitmap(m_pDC.get(), 4, 4)
                && mask.CreateBitmap(4, 4, 1, 1, bits));
    CBitmap* pOld = src.SelectObject(&bmp);
    src.FillSolidRect(0, 0, 4, 4, kRed);
    src.SetPixel(0, 0, kBlue);
    struct Case { std::function<void(CDC&)> draw; std::vector<CPoint> at; const char* expected; };
    const std::vector<Case> cases = {
        {[](CDC& dc) { dc.FillSolidRect(CRect(2, 2, 6, 6), kRed); }, {{5, 5}, {6, 6}}, "5,5=FF0000 6,6=FFFFFF"},
        {[](CDC& dc) { dc.Draw3dRect(2, 2, 10, 10, kRed, kBlue); }, {{2, 2}, {10, 2}, {11, 2}, {2, 11}, {5, 5}},
         "2,2=FF0000 10,2=FF0000 11,2=0000FF 2,11=0000FF 5,5=FFFFFF"},
        {[&](CDC& dc) { dc.FrameRect(CRect(1, 1, 9, 9), &red); }, {{8, 8}, {4, 4}}, "8,8=FF0000 4,4=FFFFFF"},
        {[](CDC& dc) { dc.InvertRect(CRect(0, 0, 2, 2)); }, {{1, 1}, {2, 2}}, "1,1=000000 2,2=FFFFFF"},
        {[&](CDC& dc) { dc.SelectObject(&bluePen); dc.SelectObject(&red); dc.Rectangle(2, 2, 10, 10); },
         {{9, 9}, {5, 5}, {10, 10}}, "9,9=0000FF 5,5=FF0000 10,10=FFFFFF"},
        {[&](CDC& dc) { dc.SelectObject(&bluePen); dc.MoveTo(0, 3); dc.LineTo(8, 3); }, {{7, 3}, {8, 3}},
         "7,3=0000FF 8,3=FFFFFF"},
        {[&](CDC& dc) { dc.SelectObject(&red); dc.Pie(0, 0, 20, 20, 20, 10, 10, 0); }, {{14, 6}, {5, 14}},
         "14,6=FF0000 5,14=FFFFFF"},
        {[](CDC& dc) { dc.ExcludeClipRect(0, 0, 4, 4); dc.FillSolidRect(0, 0, 8, 8, kRed); }, {{3, 3}, {4, 4}},
         "3,3=FFFFFF 4,4=FF0000"},
        {[](CDC& dc) { dc.SetMapMode(MM_ANISOTROPIC); dc.SetWindowExt(1, 1); dc.SetViewportExt(2, 2);
                       dc.SetViewportOrg(4, 4); dc.FillSolidRect(0, 0, 3, 3, kRed); },
         {{4, 4}, {9, 9}, {10, 10}}, "4,4=FF0000 9,9=FF0000 10,10=FFFFFF"},
        {[&](CDC& dc) { dc.SelectObject(&red); dc.BeginPath(); dc.MoveTo(0, 0); dc.LineTo(8, 0); dc.LineTo(0, 8);
                        dc.CloseFigure(); dc.EndPath(); dc.FillPath(); }, {{1, 1}, {6, 6}}, "1,1=FF0000 6,6=FFFFFF"},
        {[&](CDC& dc) { dc.BitBlt(1, 1, 4, 4, &src, 0, 0, SRCCOPY); }, {{1, 1}, {2, 2}, {5, 5}}, "1,1=0000FF 2,2=FF0000 5,5=FFFFFF"},
        {[&](CDC& dc) { dc.StretchBlt(10, 10, 8, 8, &src, 0, 0, 4, 4, SRCCOPY); }, {{11, 11}, {12, 12}, {18, 18}},
         "11,11=0000FF 12,12=FF0000 18,18=FFFFFF"},
        // Where the mask is set the source, elsewhere the destination stays.
        {[&](CDC& dc) { dc.MaskBlt(20, 20, 4, 4, &src, 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029)); },
         {{20, 20}, {21, 21}}, "20,20=FFFFFF 21,21=FF0000"},
    };
    for (const Case& c : cases) {
        m_pDC->FillSolidRect(0, 0, 32, 32, kWhite);
        int nSaved = m_pDC->SaveDC();
        c.draw(*m_pDC);
        m_pDC->RestoreDC(nSaved);
        EXPECT_EQ(c.expected, Pixels(c.at));
    }
    src.SelectObject(pOld);
}

TEST_F(GdiTest, SelectionGivesBackFrameworkObjectsAndTheTemporariesGoAtIdle)
{
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kBlue);
    HGDIOBJ hStockPen = ::GetCurrentObject(*m_pDC, OBJ_PEN);
    // The stock pen had no object: a temporary one wraps it; a permanent one comes back as itself.
    CPen* pOldPen = m_pDC->SelectObject(&pen);
    ASSERT_NE(nullptr, pOldPen);
    EXPECT_EQ(Join({hStockPen, pOldPen, &pen}), Join({pOldPen->m_hObject, afxMapHGDIOBJ()->LookupTemporary(hStockPen),
                                                      m_pDC->GetCurrentPen()}));
    EXPECT_EQ(&pen, m_pDC->SelectStockObject(BLACK_PEN));
    EXPECT_EQ(pOldPen, m_pDC->SelectObject(&pen));
    EXPECT_EQ(m_pBitmap.get(), m_pDC->GetCurrentBitmap());

    // RestoreDC brings back the objects and settings of the saved level.
    m_pDC->SelectObject(&brush);
    m_pDC->SetTextColor(kBlue);
    int nSaved = m_pDC->SaveDC();
    m_pDC->SelectStockObject(NULL_PEN);
    m_pDC->SelectStockObject(WHITE_BRUSH);
    m_pDC->SetTextColor(kRed);
    EXPECT_TRUE(m_pDC->RestoreDC(nSaved));
    EXPECT_EQ(Join({&pen, &brush, (long long)kBlue}),
              Join({m_pDC->GetCurrentPen(), m_pDC->GetCurrentBrush(), (long long)m_pDC->GetTextColor()}));

    // A region selection answers its kind and clips.
    CRgn rgn;
    CRect rcClip;
    ASSERT_TRUE(rgn.CreateRectRgn(2, 3, 12, 13));
    EXPECT_EQ(SIMPLEREGION, m_pDC->SelectObject(&rgn));
    EXPECT_EQ(SIMPLEREGION, m_pDC->GetClipBox(&rcClip));
    EXPECT_EQ(CRect(2, 3, 12, 13), rcClip);

    m_pDC->SelectStockObject(BLACK_PEN);
    m_pDC->SelectStockObject(WHITE_BRUSH);
    AfxLockTempMaps();                              // what idle time does
    EXPECT_TRUE(AfxUnlockTempMaps());
    EXPECT_EQ(Join({(void*)NULL, &pen}), Join({afxMapHGDIOBJ()->LookupTemporary(hStockPen),
                                               afxMapHGDIOBJ()->LookupPermanent(pen.m_hObject)}));
}

TEST_F(GdiTest, SeparateAttributeDCTakesQueriesAndSettings)
{
    CDC attrib, both;
    ASSERT_TRUE(attrib.CreateCompatibleDC(NULL));
    both.SetOutputDC(*m_pDC);
    both.SetAttribDC(attrib);
    both.SetTextColor(kRed);                        // to both
    ::SetTextColor(attrib, kBlue);
    EXPECT_EQ(Join({(long long)kBlue, (long long)kRed}), Join({(long long)both.GetTextColor(), (long long)::GetTextColor(*m_pDC)}));
    EXPECT_EQ(-1, both.SaveDC());                   // two DCs: only -1 restores
    both.SetMapMode(MM_LOMETRIC);
    EXPECT_TRUE(both.RestoreDC(-1));
    EXPECT_EQ(Join({MM_TEXT, MM_TEXT}), Join({::GetMapMode(attrib), ::GetMapMode(*m_pDC)}));
    both.ReleaseAttribDC();
    both.ReleaseOutputDC();
}

TEST_F(GdiTest, PointFontsFollowTheLogicalInch)
{
    const int nLogPixelsY = m_pDC->GetDeviceCaps(LOGPIXELSY);
    const struct { int nMapMode, nTenths, nHeight; } cases[] = {
        {MM_TEXT, 80, -::MulDiv(nLogPixelsY, 80, 720)},
        {MM_TEXT, 240, -::MulDiv(nLogPixelsY, 240, 720)},
        {MM_TWIPS, 120, -240},                      // a twip is a twentieth of a point
        {MM_LOMETRIC, 720, -254},                   // an inch is 254 tenths of a millimetre
        {0, 100, -::MulDiv(nLogPixelsY, 100, 720)},  // no DC: the screen's
    };
    for (const auto& c : cases) {
        m_pDC->SetMapMode(c.nMapMode ? c.nMapMode : MM_LOMETRIC);
        CFont font;
        LOGFONT lf;
        ASSERT_TRUE(font.CreatePointFont(c.nTenths, L"Arial", c.nMapMode ? m_pDC.get() : NULL) && font.GetLogFont(&lf));
        // Rounding through device pixels may cost a logical unit or two.
        EXPECT_NEAR(c.nHeight, lf.lfHeight, c.nMapMode == MM_TEXT || !c.nMapMode ? 0 : 3) << c.nMapMode << " " << c.nTenths;
    }
}

TEST_F(GdiTest, MappedBitmapsTakeTheButtonColoursOfNow)
{
    // The button colours set to odd values for the test, and put back.
    const int index[4] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    const COLORREF odd[4] = {RGB(1, 2, 3), RGB(40, 50, 60), RGB(70, 80, 90), RGB(200, 210, 220)};
    COLORREF old[4];
    for (int i = 0; i < 4; i++)
        old[i] = ::GetSysColor(index[i]);
    ::SetSysColors(4, index, odd);
    std::shared_ptr<void> restore(nullptr, [&](void*) { ::SetSysColors(4, index, old); });

    HINSTANCE hInst = ::GetModuleHandleW(NULL);
    HRSRC hRsrc = ::FindResourceW(hInst, MAKEINTRESOURCEW(kTestBitmap), RT_BITMAP);
    CBitmap mapped, sysColor, mono, none;
    ASSERT_TRUE(mapped.LoadMappedBitmap(kTestBitmap) && sysColor.Attach(AfxLoadSysColorBitmap(hInst, hRsrc))
                && mono.Attach(AfxLoadSysColorBitmap(hInst, hRsrc, TRUE)));
    BITMAP info;
    ASSERT_TRUE(mono.GetBitmap(&info));
    EXPECT_EQ(Join({5, 2, 1}), Join({info.bmWidth, info.bmHeight, info.bmBitsPixel}));
    const char* colours = "0,0=010203 1,0=28323C 2,0=46505A 3,0=C8D2DC 4,0=FF0000 4,1=010203";
    const char* expected[] = {colours, colours, "0,0=000000 1,0=FFFFFF 2,0=FFFFFF 3,0=FFFFFF 4,0=000000 4,1=000000"};
    CBitmap* bitmaps[] = {&mapped, &sysColor, &mono};
    for (int i = 0; i < 3; i++) {
        CBitmap* pOld = m_pDC->SelectObject(bitmaps[i]);
        EXPECT_EQ(expected[i], Pixels({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}})) << i;
        m_pDC->SelectObject(pOld);
    }
    EXPECT_FALSE(none.LoadMappedBitmap(kTestBitmap + 1));
    EXPECT_EQ(nullptr, AfxLoadSysColorBitmap(hInst, ::FindResourceW(hInst, MAKEINTRESOURCEW(1), RT_MANIFEST)));
}

TEST_F(GdiTest, RegionsCombineAndCompare)
{
    CRgn a, b, copy, rebuilt;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10) && b.CreateRectRgn(5, 5, 15, 15) && copy.CreateRectRgn(0, 0, 0, 0));
    // Kind, box, and whether (2,2), (7,7) and (12,12) are in.
    const struct { int nMode; const char* expected; } cases[] = {
        {RGN_AND, "1|5|5|10|10|0|1|0"}, {RGN_OR, "3|0|0|15|15|1|1|1"},
        {RGN_XOR, "3|0|0|15|15|1|0|1"}, {RGN_DIFF, "3|0|0|10|10|1|0|0"},
    };
    for (const auto& c : cases) {
        CRect box;
        int nKind = copy.CombineRgn(&a, &b, c.nMode);
        copy.GetRgnBox(&box);
        EXPECT_EQ(c.expected, Join({nKind == COMPLEXREGION ? 3 : nKind == SIMPLEREGION ? 1 : 0, box.left, box.top,
                                    box.right, box.bottom, copy.PtInRegion(2, 2), copy.PtInRegion(CPoint(7, 7)),
                                    copy.PtInRegion(12, 12)})) << c.nMode;
    }
    EXPECT_EQ(SIMPLEREGION, copy.CopyRgn(&a));
    EXPECT_EQ(SIMPLEREGION, copy.OffsetRgn(CPoint(5, 5)));
    EXPECT_EQ("1|1|0", Join({copy.EqualRgn(&b), copy.RectInRegion(CRect(14, 14, 20, 20)),
                             copy.RectInRegion(CRect(15, 15, 20, 20))}));
    copy.SetRectRgn(CRect(0, 0, 10, 10));
    EXPECT_TRUE(copy.EqualRgn(&a));
    std::vector<BYTE> data(a.GetRegionData(NULL, 0));
    a.GetRegionData((LPRGNDATA)data.data(), (int)data.size());
    EXPECT_TRUE(rebuilt.CreateFromData(NULL, (int)data.size(), (const RGNDATA*)data.data()) && rebuilt.EqualRgn(&a));
}

TEST_F(GdiTest, ImageListsHoldDrawAndStoreImages)
{
    CImageList list, loaded, damaged, merged, fromResource;
    CBitmap red, blue;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2) && red.CreateCompatibleBitmap(m_pDC.get(), 8, 4)
                && blue.CreateCompatibleBitmap(m_pDC.get(), 4, 4));
    EXPECT_EQ(&list, CImageList::FromHandlePermanent(list));
    CBitmap* pOld = m_pDC->SelectObject(&red);
    m_pDC->FillSolidRect(0, 0, 8, 4, kRed);
    m_pDC->SetPixel(0, 0, kWhite);                  // transparent by the colour mask
    m_pDC->SelectObject(&blue);
    m_pDC->FillSolidRect(0, 0, 4, 4, kBlue);
    m_pDC->SelectObject(pOld);
    EXPECT_EQ("0|2|3", Join({list.Add(&red, kWhite), list.Add(&blue, (CBitmap*)NULL), list.GetImageCount()}));
    IMAGEINFO info;
    EXPECT_EQ(Join({(long long)CLR_NONE, (long long)RGB(0, 255, 0)}) + "|1|4|8|0",
              Join({(long long)list.SetBkColor(RGB(0, 255, 0)), (long long)list.GetBkColor(), list.GetImageInfo(1, &info),
                    info.rcImage.left, info.rcImage.right, list.GetImageInfo(3, &info)}));
    list.SetBkColor(CLR_NONE);

    // Replace, icons, overlays, removal: red (masked), blue, blue icon remain.
    EXPECT_TRUE(list.Replace(1, &blue, (CBitmap*)NULL));
    HICON hIcon = list.ExtractIcon(1);
    ASSERT_NE(nullptr, hIcon);
    EXPECT_EQ("3|1|1|1|0", Join({list.Add(hIcon), list.Replace(1, hIcon), list.SetOverlayImage(2, 1),
                                           list.Remove(1), list.Remove(7)}));
    ::DestroyIcon(hIcon);

    // The archive round trip draws the same pixels; only an empty object reads.
    CMemFile file;
    CArchive store(&file, CArchive::store);
    ASSERT_TRUE(list.Write(&store));
    store.Close();
    file.SeekToBegin();
    CArchive load(&file, CArchive::load);
    ASSERT_TRUE(loaded.Read(&load));
    EXPECT_FALSE(list.Read(&load));
    m_pDC->FillSolidRect(0, 0, 32, 32, RGB(0, 0, 0));
    for (int i = 0; i < 3; i++) {
        EXPECT_TRUE(list.Draw(m_pDC.get(), i, CPoint(0, 8 * i), ILD_TRANSPARENT));
        EXPECT_TRUE(loaded.Draw(m_pDC.get(), i, CPoint(8, 8 * i), ILD_TRANSPARENT));
    }
    EXPECT_FALSE(list.Draw(m_pDC.get(), 9, CPoint(16, 0), ILD_NORMAL));
    EXPECT_EQ("0,0=000000 1,1=FF0000 1,9=0000FF 1,17=0000FF 8,0=000000 9,1=FF0000 9,9=0000FF 9,17=0000FF",
              Pixels({{0, 0}, {1, 1}, {1, 9}, {1, 17}, {8, 0}, {9, 1}, {9, 9}, {9, 17}}));
    wivotest::LoadBytes(wivotest::Bytes({'I', 'L', 1, 1, 3, 0, 4, 0, 0xFF, 0xFF}),
                        [&](CArchive& ar) { EXPECT_FALSE(damaged.Read(&ar)); });
    EXPECT_EQ(nullptr, damaged.m_hImageList);

    // A merged image, a list from a bitmap resource, detach and the temporaries.
    ASSERT_TRUE(merged.Create(list, 0, loaded, 2, 1, 1) && fromResource.Create(kTestBitmap, 1, 0, CLR_NONE));
    EXPECT_EQ(Join({1, 5}), Join({merged.GetImageCount(), fromResource.GetImageCount()}));
    HIMAGELIST h = fromResource.Detach();
    CImageList* pTemp = CImageList::FromHandle(h);
    EXPECT_EQ(Join({(void*)NULL, pTemp, 5}), Join({CImageList::FromHandlePermanent(h),
                                                   afxMapHIMAGELIST()->LookupTemporary(h), pTemp->GetImageCount()}));
    CImageList::DeleteTempMap();
    EXPECT_EQ(nullptr, afxMapHIMAGELIST()->LookupTemporary(h));
    ASSERT_TRUE(fromResource.Attach(h));            // the temporary never owned it
    EXPECT_EQ("1|0", Join({fromResource.DeleteImageList(), fromResource.DeleteImageList()}));
}

} // namespace
