// Tests of the library's resources and module registration, seen from the host
// application: texts through the framework's resource chain (and the host's own
// text for an id it defines itself, see ResourcesTest.rc), the dialog templates
// parsed and actually created, the icons, and the module state recorded at load.
// The version record is read back in VersionInfoTest (LibraryResource).
#include <gtest/gtest.h>

#include <Wivo.h>
#include <afxres.h>

#include <commctrl.h>

#include "TestSupport.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using wivotest::Narrow;

namespace {

HMODULE LibraryModule()
{
    return GetModuleHandleW(L"Wivo10u.dll");
}

/////////////////////////////////////////////////////////////////////////////
// Strings

struct StringCase
{
    UINT id;
    const wchar_t* text;
};

const StringCase kStrings[] = {
    {28015, L"Weitere Dateien..."},
    {28106, L"Verbleibende Zeit: "},
    {28107, L"%u Tag(e) %u Stunde(n) %u Min %u Sek"},
    {28108, L"%u Stunde(n) %u Min %u Sek"},
    {28109, L"%u Min %u Sek"},
    {28110, L"%u Sekunden"},
    {53248, L"(Unbekannt)"},
    {53249, L"Standard"},
    {53250, L"Ja"},
    {53251, L"Nein"},
    {53252, L"(Undefiniert)"},
    {53264, L" mit "},
    {53280, L"%1 - Fehler: %2"},
    {53288, L"Alle %s Dokumente"},
    {53296, L"Die Datei \"%2\" liegt in einem ung\u00fcltigen Format vor."},
    {53297, L"Der Name des Streams \"%1\" der Datei \"%2\" ist zu lang.\r\n"
            L"Dieser darf maximal 255 Zeichen lang sein."},
    {53298, L"Der Stream mit dem Namem \"%1\" wurde in der Datei \"%2\" nicht gefunden."},
    {53299, L"Kein aktueller Stream in der Datei \"%2\"."},
    {53504, L"DAO Fehler"},
    {53520, L"Lese Datens\u00e4tze..."},
    {53760, L"Der angegebene Pfad verweist nicht auf eine Datei."},
    {53761, L"Der angegebene Pfad verweist nicht auf ein Verzeichnis."},
    {53824, L"Die Ausnahme %s ist aufgetreten."},
    {53840, L"Parameter: "},
    {53841, L"Ein ung\u00fcltiges Argument wurde angegeben."},
};

// The library holds each text; the host loads it through the framework's chain, except
// for the one id it defines itself (ResourcesTest.rc). The ids around that one share its
// block of sixteen in the host module, which has no text for them, so the search must go
// on to the library.
TEST(LibraryStrings, LibraryHoldsThemAndHostLoadsThemThroughTheFramework)
{
    const UINT kHostId = 53250;
    ASSERT_NE(LibraryModule(), nullptr);
    for (const StringCase& c : kStrings) {
        SCOPED_TRACE("string " + std::to_string(c.id));
        // The library's own table is read in the inventory below. Wide strings compare unit
        // by unit and print escaped, so a lost blank or a mis-encoded umlaut shows.
        CString s;
        EXPECT_TRUE(s.LoadString(c.id));
        EXPECT_EQ(std::wstring(c.id == kHostId ? L"Yes (host)" : c.text), std::wstring(s, s.GetLength()));
        EXPECT_EQ(AfxFindStringResourceHandle(c.id),
                  c.id == kHostId ? GetModuleHandleW(NULL) : LibraryModule());
    }
    for (UINT id : {28111u, 53253u, 53263u, 53842u}) {
        CString s(L"sentinel");
        EXPECT_FALSE(s.LoadString(id)) << id;
        EXPECT_TRUE(s.IsEmpty()) << id << ": \"" << Narrow(s) << "\"";
    }
}

/////////////////////////////////////////////////////////////////////////////
// Inventory: exactly the documented resources, all in German (Austria)

// Resource types and names as numbers; a name given as text (valid only
// during the enumeration) is recorded as 0, which no expected list holds.
ULONG_PTR IdOf(LPCWSTR name)
{
    return IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0;
}

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR p)
{
    reinterpret_cast<std::vector<ULONG_PTR>*>(p)->push_back(IdOf(type));
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR p)
{
    reinterpret_cast<std::vector<ULONG_PTR>*>(p)->push_back(IdOf(name));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR p)
{
    reinterpret_cast<std::vector<WORD>*>(p)->push_back(lang);
    return TRUE;
}

std::vector<ULONG_PTR> Names(LPCWSTR type)
{
    std::vector<ULONG_PTR> names;
    EnumResourceNamesW(LibraryModule(), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LibraryInventory, DocumentedResourcesOnlyAllGermanAustria)
{
    std::vector<ULONG_PTR> types;
    EnumResourceTypesW(LibraryModule(), CollectType, reinterpret_cast<LONG_PTR>(&types));
    std::sort(types.begin(), types.end());
    const std::vector<ULONG_PTR> expected = {3 /*RT_ICON*/, 5 /*RT_DIALOG*/, 6 /*RT_STRING*/,
                                             14 /*RT_GROUP_ICON*/, 16 /*RT_VERSION*/};
    EXPECT_EQ(types, expected);
    EXPECT_EQ(Names(RT_DIALOG), (std::vector<ULONG_PTR>{28005, 28010, 28100, 28120, 28121}));
    EXPECT_EQ(Names(RT_GROUP_ICON), (std::vector<ULONG_PTR>{28000, 28001}));

    for (LPCWSTR type : {RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION}) {
        for (ULONG_PTR name : Names(type)) {
            std::vector<WORD> langs;
            EnumResourceLanguagesW(LibraryModule(), type, reinterpret_cast<LPCWSTR>(name),
                                   CollectLanguage, reinterpret_cast<LONG_PTR>(&langs));
            EXPECT_EQ(langs, std::vector<WORD>{0x0C07})
                << "type " << reinterpret_cast<ULONG_PTR>(type) << ", name " << name;
        }
    }

    // The string table holds exactly the texts above, no more, each as long as its entry
    // says (not up to a terminator).
    std::map<UINT, std::wstring> found, documented;
    for (ULONG_PTR block : Names(RT_STRING)) {
        ASSERT_NE(block, 0u);
        HRSRC hRsrc = FindResourceW(LibraryModule(), MAKEINTRESOURCEW(block), RT_STRING);
        ASSERT_NE(hRsrc, nullptr);
        const WORD* p = static_cast<const WORD*>(LockResource(LoadResource(LibraryModule(), hRsrc)));
        const WORD* pEnd = p + SizeofResource(LibraryModule(), hRsrc) / sizeof(WORD);
        for (UINT i = 0; i < 16; p += 1 + *p, ++i) {
            ASSERT_TRUE(p < pEnd && p + 1 + *p <= pEnd) << "block " << block << " ends early";
            if (*p != 0)
                found[(block - 1) * 16 + i] = std::wstring(reinterpret_cast<const wchar_t*>(p + 1), *p);
        }
    }
    for (const StringCase& c : kStrings)
        documented[c.id] = c.text;
    EXPECT_EQ(found, documented);
}

/////////////////////////////////////////////////////////////////////////////
// Dialog templates

// Reads a DLGTEMPLATEEX, the form of all the library's templates, field by field and
// never past the resource's end.
class TemplateCursor
{
public:
    TemplateCursor(const void* p, DWORD cb)
        : m_begin(static_cast<const BYTE*>(p)), m_p(m_begin), m_end(m_begin + cb) {}

    bool Ok() const { return m_ok; }

    template <class T> T Get()
    {
        T v = T();
        if (static_cast<size_t>(m_end - m_p) >= sizeof(T))
            memcpy(&v, m_p, sizeof v);
        Skip(sizeof v);
        return v;
    }

    void Skip(size_t cb)
    {
        if (static_cast<size_t>(m_end - m_p) < cb)
            m_ok = false;
        else
            m_p += cb;
    }

    void Align() { Skip((4 - static_cast<size_t>(m_p - m_begin) % 4) % 4); }

    // The rectangle, or only its size where the position is free.
    std::vector<short> Rect(bool bPosition = true)
    {
        std::vector<short> rect(4);
        for (short& v : rect)
            v = Get<short>();
        return Box(rect.data(), bPosition);
    }
    static std::vector<short> Box(const short* rect, bool bPosition = true)
    {
        return std::vector<short>(rect + (bPosition ? 0 : 2), rect + 4);
    }

    // sz_Or_Ord: a terminated text (empty for a lone 0), or 0xFFFF and an ordinal, given
    // as "#n" (a predefined window class by its name).
    std::wstring Text(bool bClass = false)
    {
        std::wstring s;
        WORD first = Get<WORD>();
        if (first == 0xFFFF) {
            WORD ordinal = Get<WORD>();
            const wchar_t* const predefined[] = {L"Button", L"Edit", L"Static",
                                                 L"ListBox", L"ScrollBar", L"ComboBox"};
            if (bClass && ordinal >= 0x80 && ordinal <= 0x85)
                return predefined[ordinal - 0x80];
            return L"#" + std::to_wstring(ordinal);
        }
        for (WORD c = first; c != 0 && m_ok; c = Get<WORD>())
            s += static_cast<wchar_t>(c);
        return s;
    }

private:
    const BYTE* m_begin;
    const BYTE* m_p;
    const BYTE* m_end;
    bool m_ok = true;
};

struct ExpectedControl
{
    int id;
    const wchar_t* className;
    short rect[4];
    DWORD style;            // without WS_CHILD | WS_VISIBLE, which every control has
    const wchar_t* text;    // "#n": the ordinal of an icon
};

const DWORD kLeftNoWrap = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
const DWORD kListBox = WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;

const std::vector<ExpectedControl> kNewDocumentControls = {
    {28006, L"Static", {7, 7, 21, 20}, SS_ICON, L"#28000"},
    {-1, L"Static", {34, 8, 113, 16}, WS_GROUP | SS_LEFT,
     L"W\u00e4hlen Sie das Dokument aus, das Sie erstellen m\u00f6chten."},
    {-1, L"Static", {7, 35, 77, 8}, WS_GROUP | SS_LEFT, L"Verf\u00fcgbare Dokumente:"},
    {28007, L"ListBox", {7, 44, 140, 82}, kListBox, L""},
    {IDOK, L"Button", {157, 7, 50, 14}, WS_TABSTOP | BS_DEFPUSHBUTTON, L"OK"},
    {IDCANCEL, L"Button", {157, 24, 50, 14}, WS_TABSTOP | BS_PUSHBUTTON, L"Abbrechen"},
};

const std::vector<ExpectedControl> kWelcomeControls = {
    {-1, L"Button", {7, 7, 202, 157}, BS_GROUPBOX, L"Was m\u00f6chten Sie tun?"},
    {28006, L"Static", {14, 20, 20, 20}, SS_ICON, L""},
    {28011, L"Static", {14, 90, 20, 20}, SS_ICON, L""},
    {28012, L"Button", {40, 26, 110, 8}, WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON,
     L"Ein neues Dokument erstellen:"},
    {28013, L"Button", {40, 96, 126, 8}, BS_AUTORADIOBUTTON, L"Ein bestehendes Dokument \u00f6ffnen:"},
    {28007, L"ListBox", {52, 35, 150, 52}, kListBox | WS_GROUP, L""},
    {28014, L"ListBox", {52, 105, 150, 52}, kListBox, L""},
    {IDOK, L"Button", {102, 171, 50, 14}, WS_TABSTOP | BS_DEFPUSHBUTTON, L"OK"},
    {IDCANCEL, L"Button", {159, 171, 50, 14}, WS_TABSTOP | BS_PUSHBUTTON, L"Abbrechen"},
};

const std::vector<ExpectedControl> kProgressControls = {
    {IDCANCEL, L"Button", {201, 59, 50, 14}, WS_TABSTOP | BS_DEFPUSHBUTTON, L"Abbrechen"},
    {28101, L"SysAnimate32", {7, 0, 236, 25}, ACS_TRANSPARENT | ACS_AUTOPLAY, L""},
    {28102, L"Static", {7, 38, 236, 10}, kLeftNoWrap, L""},
    {28103, L"Static", {7, 48, 236, 10}, kLeftNoWrap, L""},
    {28104, L"msctls_progress32", {7, 63, 190, 8}, 0, L""},
    {28105, L"Static", {7, 74, 192, 10}, kLeftNoWrap, L""},
};

// The list dialog and the check list dialog differ only in their list's style.
const std::vector<ExpectedControl> kListControls = {
    {28122, L"Static", {7, 7, 140, 24}, WS_GROUP | SS_LEFT, L""},
    {28123, L"Static", {7, 36, 140, 8}, WS_GROUP | SS_LEFT, L""},
    {28124, L"ListBox", {7, 45, 140, 82}, kListBox | LBS_SORT, L""},
    {IDOK, L"Button", {157, 7, 50, 14}, WS_TABSTOP | BS_DEFPUSHBUTTON, L"OK"},
    {IDCANCEL, L"Button", {157, 24, 50, 14}, WS_TABSTOP | BS_PUSHBUTTON, L"Abbrechen"},
};

const short kAny = SHRT_MIN;   // a position the system chooses
const DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

struct DialogCase
{
    UINT id;
    const wchar_t* caption;
    DWORD style;
    short rect[4];
    const std::vector<ExpectedControl>& controls;
    DWORD listBoxExtra;     // added to the style of every list box
};

const DialogCase kDialogs[] = {
    {28005, L"Neu", kModal, {kAny, kAny, 214, 127}, kNewDocumentControls, 0},
    {28010, L"Willkommen", kModal, {kAny, kAny, 216, 191}, kWelcomeControls, 0},
    {28100, L"", kModal | DS_SETFOREGROUND | DS_NOIDLEMSG, {20, 20, 257, 84}, kProgressControls, 0},
    {28120, L"", kModal | WS_VISIBLE, {kAny, kAny, 214, 128}, kListControls, 0},
    {28121, L"", kModal | WS_VISIBLE, {kAny, kAny, 214, 128}, kListControls,
     LBS_OWNERDRAWFIXED | LBS_HASSTRINGS},
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

// Each template as the framework finds it for the host, then as the platform's dialog
// manager builds it: every class registered, the icon loaded from the library.
TEST(LibraryDialogs, TemplatesHaveTheDocumentedLayoutAndCreate)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    for (const DialogCase& d : kDialogs) {
        SCOPED_TRACE("template " + std::to_string(d.id));
        LPCWSTR name = MAKEINTRESOURCEW(d.id);
        HINSTANCE hInst = AfxFindResourceHandle(name, RT_DIALOG);
        ASSERT_EQ(hInst, LibraryModule());
        HRSRC hRsrc = FindResourceW(hInst, name, RT_DIALOG);
        ASSERT_NE(hRsrc, nullptr);
        const void* p = LockResource(LoadResource(hInst, hRsrc));
        TemplateCursor in(p, SizeofResource(hInst, hRsrc));
        ASSERT_EQ(in.Get<DWORD>(), 0xFFFF0001u) << "not an extended template";
        in.Skip(4);    // help id
        EXPECT_EQ(in.Get<DWORD>(), 0u) << "extended style";
        DWORD style = in.Get<DWORD>();
        EXPECT_EQ(style, d.style) << std::hex << "style 0x" << style << ", expected 0x" << d.style;
        WORD nItems = in.Get<WORD>();
        const bool bPosition = d.rect[0] != kAny;
        EXPECT_EQ(in.Rect(bPosition), TemplateCursor::Box(d.rect, bPosition));
        EXPECT_EQ(in.Text(), L"") << "menu";
        EXPECT_EQ(in.Text(), L"") << "window class";
        EXPECT_EQ(in.Text(), d.caption);
        EXPECT_EQ(in.Get<WORD>(), 8) << "point size";
        in.Skip(4);    // weight, italic, character set
        EXPECT_EQ(in.Text(), L"MS Shell Dlg");

        ASSERT_EQ(nItems, d.controls.size());
        for (size_t i = 0; i < d.controls.size() && in.Ok(); ++i) {
            const ExpectedControl& e = d.controls[i];
            SCOPED_TRACE("control #" + std::to_string(i) + " (id " + std::to_string(e.id) + ")");
            in.Align();
            in.Skip(4);    // help id
            EXPECT_EQ(in.Get<DWORD>(), 0u) << "extended style";
            DWORD expected = e.style | WS_CHILD | WS_VISIBLE;
            if (wcscmp(e.className, L"ListBox") == 0)
                expected |= d.listBoxExtra;
            style = in.Get<DWORD>();
            EXPECT_EQ(style, expected) << std::hex << "style 0x" << style << ", expected 0x" << expected;
            EXPECT_EQ(in.Rect(), TemplateCursor::Box(e.rect));
            EXPECT_EQ(in.Get<DWORD>() & 0xFFFF, static_cast<DWORD>(e.id) & 0xFFFF);
            std::wstring cls = in.Text(true);    // as windres stores it: upper case
            EXPECT_EQ(_wcsicmp(cls.c_str(), e.className), 0) << Narrow(cls.c_str());
            EXPECT_EQ(in.Text(), e.text);
            in.Skip(in.Get<WORD>());    // creation data
        }
        ASSERT_TRUE(in.Ok()) << "truncated";

        HWND hDlg = CreateDialogIndirectParamW(hInst, static_cast<LPCDLGTEMPLATEW>(p), NULL,
                                               PlainDialogProc, 0);
        ASSERT_NE(hDlg, nullptr) << "CreateDialogIndirectParamW failed, error " << GetLastError()
                                 << " (is the display running?)";
        size_t n = 0;
        for (HWND hCtl = GetWindow(hDlg, GW_CHILD); hCtl != NULL; hCtl = GetWindow(hCtl, GW_HWNDNEXT), ++n) {
            // Icon controls named by ordinal get the icon from the library; the others are
            // set at run time.
            if (n < d.controls.size() && (d.controls[n].style & SS_TYPEMASK) == SS_ICON &&
                wcscmp(d.controls[n].className, L"Static") == 0) {
                HICON hIcon = reinterpret_cast<HICON>(SendMessageW(hCtl, STM_GETICON, 0, 0));
                EXPECT_EQ(hIcon != NULL, d.controls[n].text[0] == L'#') << "icon control #" << n;
            }
        }
        EXPECT_EQ(n, d.controls.size()) << "number of child windows";
        DestroyWindow(hDlg);
    }
}

/////////////////////////////////////////////////////////////////////////////
// Icons

#pragma pack(push, 2)
struct GroupIconEntry
{
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

// Draws the icon over a background it does not use and counts what it covers.
int CoveredPixels(HICON hIcon, int size)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = size;
    bmi.bmiHeader.biHeight = -size;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HDC hdc = CreateCompatibleDC(NULL);
    HBITMAP hbm = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    int covered = -1;
    if (hbm != NULL && pBits != NULL) {
        const DWORD kBackground = 0x00123456;
        DWORD* px = static_cast<DWORD*>(pBits);
        std::fill(px, px + size * size, kBackground);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        BOOL bDrawn = DrawIconEx(hdc, 0, 0, hIcon, size, size, 0, NULL, DI_NORMAL);
        GdiFlush();
        if (bDrawn)
            covered = static_cast<int>(std::count_if(px, px + size * size,
                                                     [&](DWORD v) { return (v & 0xFFFFFF) != kBackground; }));
        SelectObject(hdc, hOld);
        DeleteObject(hbm);
    }
    DeleteDC(hdc);
    return covered;
}

// Each group holds the documented sixteen-colour images, and each draws a picture at its
// size. (Loading at a size always gives that size: the platform scales.)
TEST(LibraryIcons, GroupsHoldSixteenColourImagesThatLoadAndDraw)
{
    const struct { UINT id; std::vector<int> sizes; } cases[] = {{28000, {32}}, {28001, {32, 16}}};
    for (const auto& c : cases) {
        SCOPED_TRACE("group icon " + std::to_string(c.id));
        LPCWSTR name = MAKEINTRESOURCEW(c.id);
        HINSTANCE hInst = AfxFindResourceHandle(name, RT_GROUP_ICON);
        ASSERT_EQ(hInst, LibraryModule());
        HRSRC hRsrc = FindResourceW(hInst, name, RT_GROUP_ICON);
        ASSERT_NE(hRsrc, nullptr);
        const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(hInst, hRsrc)));
        DWORD cb = SizeofResource(hInst, hRsrc);
        ASSERT_GE(cb, 6u);
        WORD header[3];
        memcpy(header, p, sizeof header);
        EXPECT_EQ(header[1], 1) << "resource type (1 = icon)";
        ASSERT_EQ(header[2], c.sizes.size());
        ASSERT_GE(cb, 6 + header[2] * sizeof(GroupIconEntry));
        for (size_t i = 0; i < c.sizes.size(); ++i) {
            const int size = c.sizes[i];
            SCOPED_TRACE("at " + std::to_string(size));
            GroupIconEntry e;
            memcpy(&e, p + 6 + i * sizeof e, sizeof e);
            EXPECT_EQ(std::vector<int>({e.width, e.height, e.colourCount, e.bitCount}),
                      std::vector<int>({size, size, 16, 4}));
            EXPECT_NE(FindResourceW(hInst, MAKEINTRESOURCEW(e.id), RT_ICON), nullptr) << "image " << e.id;

            HICON hIcon = static_cast<HICON>(LoadImageW(hInst, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ASSERT_NE(hIcon, nullptr) << "LoadImageW failed, error " << GetLastError();
            // A picture, not an empty or a solid square.
            int covered = CoveredPixels(hIcon, size);
            EXPECT_GT(covered, size * size / 4);
            EXPECT_LT(covered, size * size);
            DestroyIcon(hIcon);
        }
    }
}

/////////////////////////////////////////////////////////////////////////////
// Module registration

// The library saved the host's state at load (not a DLL's) and is registered once, as
// an ordinary extension module.
TEST(LibraryModuleState, RecordsTheHostsStateAndRegistersOnce)
{
    AFX_MODULE_STATE* pState = GetWIVOModuleState();
    ASSERT_NE(pState, nullptr);
    EXPECT_EQ(pState, AfxGetModuleState());
    EXPECT_FALSE(pState->m_bDLL);
    EXPECT_EQ(pState->m_hCurrentResourceHandle, GetModuleHandleW(NULL));

    int nEntries = 0;
    AcquireSRWLockShared(&pState->m_lockLibraryList);
    for (CDynLinkLibrary* pDLL = pState->m_libraryList; pDLL != NULL; pDLL = pDLL->m_pNextDLL) {
        if (pDLL->m_hModule == LibraryModule()) {
            ++nEntries;
            EXPECT_FALSE(pDLL->m_bSystem);
            EXPECT_EQ(pDLL->m_hResource, LibraryModule());
        }
    }
    ReleaseSRWLockShared(&pState->m_lockLibraryList);
    EXPECT_EQ(nEntries, 1);
}

} // namespace
