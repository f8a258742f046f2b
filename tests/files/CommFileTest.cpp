// Tests of CCommFile: name checking and the disabled CFile operations without a device,
// then a real serial line made of a socat pseudo-terminal pair that the test fixture
// links into the Wine prefix as two COM ports (one below 10, one of 10 or above).
#include <gtest/gtest.h>

#include <Wivo.h>

#include "AfxTestSupport.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <stdlib.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

using wivotest::Join;
using wivotest::Narrow;
using wivotest::Throws;

namespace {

// Cause, OS error and file name of the CFileException that f throws; "none" without one.
std::string FileFailure(const std::function<void()>& f)
{
    return wivotest::CaughtAs<CFileException>(
        f, [](CFileException* e) { return Join({e->m_cause, e->m_lOsError, e->m_strFileName}); },
        std::string("none"));
}

// Speed, parity, data and stop bits of a control block, as one text for comparing.
std::string Mode(const DCB& dcb)
{
    return Join({(long long)dcb.BaudRate, dcb.Parity, dcb.ByteSize, dcb.StopBits});
}

std::string Mode(DWORD baud, BYTE parity, BYTE size, BYTE stop)
{
    return Join({(long long)baud, parity, size, stop});
}

bool IsZero(const void* p, size_t n, size_t from = 0)
{
    const BYTE* b = static_cast<const BYTE*>(p);
    return std::all_of(b + from, b + n, [](BYTE x) { return x == 0; });
}

} // namespace

// A closed port file: an empty control block, nothing a port does not have, and the
// port calls throw.
TEST(CommFileTest, ClosedFile)
{
    CCommFile file;
    EXPECT_EQ(28u, file.m_dcb.DCBlength);
    EXPECT_TRUE(IsZero(&file.m_dcb, sizeof(DCB), sizeof(DWORD)));
    EXPECT_TRUE(IsZero(&file.m_timeouts, sizeof(COMMTIMEOUTS)));
    EXPECT_EQ(CFile::hFileNull, file.m_hFile);

    for (LONG off : {0, 1, -1, 0x7fffffff}) {
        for (UINT from : {CFile::begin, CFile::current, CFile::end})
            EXPECT_EQ(0, file.Seek(off, from)) << off << " from " << from;
    }
    const std::function<void()> unsupported[] = {
        [&] { file.GetLength(); }, [&] { file.SetLength(10); },
        [&] { file.LockRange(0, 1); }, [&] { file.UnlockRange(0, 1); }};
    for (const auto& call : unsupported)
        EXPECT_TRUE(Throws<CNotSupportedException>(call)) << &call - unsupported;
    DWORD dw = 0;
    const std::function<void()> portCalls[] = {
        [&] { file.UpdateDCB(TRUE); },      [&] { file.UpdateTimeouts(FALSE); },
        [&] { file.GetEventMask(); },       [&] { file.GetModemStatus(); },
        [&] { file.ClearError(dw); },       [&] { file.Purge(PURGE_RXCLEAR); },
        [&] { file.SetBufferSizes(16, 16); }};
    for (const auto& call : portCalls)
        EXPECT_TRUE(Throws<CFileException>(call)) << &call - portCalls;

    // Mode texts build the control block without a port.
    file.BuildDCB(_T("baud=4800 parity=E data=7 stop=2"));
    EXPECT_EQ(Mode(4800, EVENPARITY, 7, TWOSTOPBITS), Mode(file.m_dcb));
    file.BuildDCBAndTimeouts(_T("baud=1200 parity=N data=8 stop=1 to=on"));
    EXPECT_EQ(1200u, file.m_dcb.BaudRate);
    EXPECT_EQ(60000u, file.m_timeouts.WriteTotalTimeoutConstant);
    // A bad text throws with the platform's error (0: nothing thrown).
    EXPECT_NE(0, wivotest::CaughtAs<CFileException>(
                     [&] { file.BuildDCB(_T("baud=xyz")); },
                     [](CFileException* e) { return e->m_lOsError; }, 0L));
}

TEST(CommFileTest, MalformedPortNamesFailWithoutTouchingThePlatform)
{
    // Run in an empty folder and ask for creation: a name that reached CreateFile would
    // leave a file behind.
    wivotest::TempDir dir;
    WCHAR szOld[MAX_PATH];
    ASSERT_NE(0u, ::GetCurrentDirectoryW(MAX_PATH, szOld));
    ASSERT_TRUE(::SetCurrentDirectoryW(dir.Path()));

    // The name the failure carries; NULL: the whole text.
    const struct { LPCTSTR port; LPCTSTR named; } cases[] = {
        {_T(""), NULL},     {_T("CO"), NULL},     {_T("COM"), NULL},     {_T("COM0"), NULL},
        {_T("COM257"), NULL}, {_T("com1"), NULL}, {_T("Com1"), NULL},    {_T("XYZ1"), NULL},
        {_T("LPT0"), NULL}, {_T("COMX"), NULL},   {_T("COM1234"), NULL},
        {_T("COM1234:9600,n,8,1"), NULL},
        {_T("COM0:9600"), _T("COM0")}, {_T("XYZ9:"), _T("XYZ9")}, {_T("LPT999:"), _T("LPT999")},
    };
    const UINT nFlags = CFile::modeReadWrite | CFile::modeCreate;
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.port));
        const std::string expected =
            Join({CFileException::badPath, 20, c.named != NULL ? c.named : c.port});
        CCommFile file;
        CFileException e;
        EXPECT_FALSE(file.Open(c.port, nFlags, &e));
        EXPECT_EQ(expected, Join({e.m_cause, e.m_lOsError, e.m_strFileName}));
        EXPECT_EQ(CFile::hFileNull, file.m_hFile);
        // Without an exception object the failure is the result alone.
        EXPECT_FALSE(file.Open(c.port, nFlags, NULL));
        // The naming constructor throws the same failure.
        EXPECT_EQ(expected, FileFailure([&] { CCommFile named(c.port, nFlags); }));
    }
    ::SetCurrentDirectoryW(szOld);
    // Only an empty folder can be removed.
    EXPECT_TRUE(::RemoveDirectoryW(dir.Path())) << "a file was created";

    // COM200 is not linked in any prefix; the error comes from the platform, named by
    // the device.
    CCommFile file;
    CFileException e;
    EXPECT_FALSE(file.Open(_T("COM200:9600"), CFile::modeReadWrite, &e));
    EXPECT_NE(0, e.m_lOsError);
    EXPECT_NE(20, e.m_lOsError);
    EXPECT_EQ("COM200", Narrow(e.m_strFileName));
}

/////////////////////////////////////////////////////////////////////////////
// A real serial line

namespace {

class SerialLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* state = getenv("WIVO_SERIAL_STATE");
        if (state == NULL || *state == 0)
            GTEST_SKIP() << "WIVO_SERIAL_STATE not set: the serial port fixture did not run";
        std::string path = std::string(state) + "/ports";
        std::string text = wivotest::ReadFileBytes(CString(path.c_str()));
        if (text.empty())
            GTEST_SKIP() << "no port list at " << path;
        if (text.compare(0, 5, "skip:") == 0)
            GTEST_SKIP() << text;
        char low[16] = "", high[16] = "", lpt[16] = "";
        ASSERT_EQ(3, sscanf(text.c_str(), "%15s %15s %15s", low, high, lpt)) << text;
        m_low = low;
        m_high = high;
        m_lpt = lpt;
    }

    // Read time-outs so that a lost byte fails the test instead of hanging it.
    static void LimitReads(CCommFile& file)
    {
        file.m_timeouts.ReadIntervalTimeout = 0;
        file.m_timeouts.ReadTotalTimeoutMultiplier = 0;
        file.m_timeouts.ReadTotalTimeoutConstant = 3000;
        file.UpdateTimeouts(FALSE);
    }

    static std::string ReadAll(CCommFile& file, size_t n)
    {
        std::string got;
        char buf[256];
        while (got.size() < n) {
            UINT want = (UINT)std::min(sizeof(buf), n - got.size());
            UINT read = file.Read(buf, want);
            if (read == 0)
                break;
            got.append(buf, read);
        }
        return got;
    }

    CString m_low;
    CString m_high;
    CString m_lpt;
};

} // namespace

// The mode text reaches the port. A port below 10 opens by its plain DOS name, which the
// platform spells out as a device; one of 10 or above goes through the device path.
TEST_F(SerialLineTest, ModeTextReachesThePort)
{
    CCommFile file;
    CFileException e;
    ASSERT_TRUE(file.Open(m_low + _T(":9600,n,8,1"), CFile::modeReadWrite, &e))
        << Narrow(m_low) << " os error " << e.m_lOsError << " cause " << e.m_cause;
    WCHAR szFull[MAX_PATH] = L"";
    ::GetFullPathNameW(m_low, MAX_PATH, szFull, NULL);
    EXPECT_EQ(Narrow(szFull), Narrow(file.GetFilePath()));
    EXPECT_EQ(Mode(9600, NOPARITY, 8, ONESTOPBIT), Mode(file.m_dcb));
    EXPECT_EQ("2048|512|17|19", Join({file.m_dcb.XonLim, file.m_dcb.XoffLim, file.m_dcb.XonChar,
                                      file.m_dcb.XoffChar}));
    // What the platform holds now, read from the port itself.
    DCB dcb;
    memset(&dcb, 0xBD, sizeof(dcb));
    dcb.DCBlength = sizeof(dcb);
    ASSERT_TRUE(::GetCommState((HANDLE)file.m_hFile, &dcb)) << ::GetLastError();
    EXPECT_EQ(Mode(9600, NOPARITY, 8, ONESTOPBIT), Mode(dcb));

    CCommFile high;
    ASSERT_TRUE(high.Open(m_high + _T(":19200,e,7,2"), CFile::modeReadWrite, &e))
        << Narrow(m_high) << " os error " << e.m_lOsError << " cause " << e.m_cause;
    EXPECT_EQ("\\\\.\\" + Narrow(m_high), Narrow(high.GetFilePath()));
    // The block that was written carries the whole mode; a Linux pty keeps only speed
    // and stop bits of it (it forces 8 data bits without parity).
    EXPECT_EQ(Mode(19200, EVENPARITY, 7, TWOSTOPBITS), Mode(high.m_dcb));
    ASSERT_TRUE(::GetCommState((HANDLE)high.m_hFile, &dcb)) << ::GetLastError();
    EXPECT_EQ(19200u, dcb.BaudRate);
    EXPECT_EQ(TWOSTOPBITS, dcb.StopBits);

    // Settings edited in the member and applied reach the port as well.
    high.BuildDCB(_T("baud=38400 parity=N data=8 stop=1"));
    high.UpdateDCB(FALSE);
    memset(&high.m_dcb, 0, sizeof(DCB));
    high.UpdateDCB(TRUE);
    EXPECT_EQ(Mode(38400, NOPARITY, 8, ONESTOPBIT), Mode(high.m_dcb));
}

TEST_F(SerialLineTest, BytesCrossTheLineBothWays)
{
    CCommFile low(m_low + _T(":9600,n,8,1"), CFile::modeReadWrite);
    CCommFile high(m_high + _T(":9600,n,8,1"), CFile::modeReadWrite);
    LimitReads(low);
    LimitReads(high);
    high.Purge(PURGE_RXCLEAR | PURGE_TXCLEAR);
    low.Purge(PURGE_RXCLEAR | PURGE_TXCLEAR);

    const char raw[] = "Gr\xfc\xdf" "e \x00\x01\xff serial";
    std::string message(raw, sizeof(raw) - 1);
    low.Write(message.data(), (UINT)message.size());
    EXPECT_EQ(message, ReadAll(high, message.size()));

    std::string reply(300, '\0');
    for (size_t i = 0; i < reply.size(); ++i)
        reply[i] = (char)(i * 7 + 3);
    high.Write(reply.data(), (UINT)reply.size());
    EXPECT_EQ(reply, ReadAll(low, reply.size()));

    // Nothing more is waiting: a read times out empty.
    low.m_timeouts.ReadTotalTimeoutConstant = 200;
    low.UpdateTimeouts(FALSE);
    char extra = 0;
    EXPECT_EQ(0u, low.Read(&extra, 1));

    // Seeking a port is harmless.
    EXPECT_EQ(0, low.Seek(100, CFile::begin));
}

TEST_F(SerialLineTest, OpenWithoutModeReadsTheCurrentSettings)
{
    // Opened and closed at once: the port keeps the mode.
    CCommFile(m_low + _T(":4800,n,8,2"), CFile::modeReadWrite);
    CCommFile file;
    CFileException e;
    ASSERT_TRUE(file.Open(m_low + _T(":"), CFile::modeReadWrite, &e)) << e.m_lOsError;
    // Length, speed and stop bits of the block read from the port.
    EXPECT_EQ(Join({28, 4800, TWOSTOPBITS}),
              Join({file.m_dcb.DCBlength, file.m_dcb.BaudRate, file.m_dcb.StopBits}));
    file.Close();

    // Again with another speed, to be sure the first reading was not a leftover.
    CCommFile(m_low + _T(":2400,n,8,1"), CFile::modeReadWrite);
    ASSERT_TRUE(file.Open(m_low, CFile::modeReadWrite, &e)) << e.m_lOsError;
    EXPECT_EQ(2400u, file.m_dcb.BaudRate);
    EXPECT_EQ(ONESTOPBIT, file.m_dcb.StopBits);

    // The handle constructor reads the same state from an open port.
    CCommFile wrapped((int)(INT_PTR)file.m_hFile);
    EXPECT_EQ(2400u, wrapped.m_dcb.BaudRate);
    EXPECT_EQ(file.m_timeouts.ReadTotalTimeoutConstant,
              wrapped.m_timeouts.ReadTotalTimeoutConstant);
}

TEST_F(SerialLineTest, ParallelPortKeepsAnEmptyControlBlock)
{
    // Give the device a state first, so an LPT open that read it would show it.
    CCommFile(m_low + _T(":9600,n,8,1"), CFile::modeReadWrite);
    CCommFile file;
    memset(&file.m_dcb, 0xBD, sizeof(DCB));
    CFileException e;
    ASSERT_TRUE(file.Open(m_lpt, CFile::modeReadWrite, &e))
        << Narrow(m_lpt) << " os error " << e.m_lOsError << " cause " << e.m_cause;
    EXPECT_TRUE(IsZero(&file.m_dcb, sizeof(DCB))) << "DCBlength " << file.m_dcb.DCBlength;

    // The same device opened as a serial port reads its state.
    CCommFile com;
    ASSERT_TRUE(com.Open(m_low, CFile::modeReadWrite, &e)) << e.m_lOsError;
    EXPECT_EQ(9600u, com.m_dcb.BaudRate);
}

// The platform's configuration dialog, driven from a second thread. The owner is the
// top-level window of the given one and stays disabled while the dialog shows; result
// and last error are the platform's, as the plain call shows.
TEST(CommFileTest, ConfigDialogIsOwnedAndAnswersAsThePlatform)
{
    typedef BOOL(WINAPI * DialogFn)(LPCWSTR, HWND, LPCOMMCONFIG);
    DialogFn pfnPlain = reinterpret_cast<DialogFn>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CommConfigDialogW")));
    COMMCONFIG config = {};
    config.dwSize = sizeof(config);
    config.wVersion = 1;
    config.dcb.DCBlength = sizeof(DCB);
    ASSERT_TRUE(::BuildCommDCBW(L"9600,n,8,1", &config.dcb));
    if (pfnPlain == NULL) {
        EXPECT_FALSE(CCommFile::ShowConfigDialog(L"COM5", &config, NULL));
        GTEST_SKIP() << "the platform has no CommConfigDialogW";
    }
    // A popup owned by the top window: the dialog is owned by the popup, and the
    // top window is disabled meanwhile by the call itself.
    // Window objects destroy their windows as they go.
    std::unique_ptr<CWnd> pTop(new CWnd), pOwned(new CWnd);
    ASSERT_TRUE(pTop->CreateEx(0, AfxRegisterWndClass(0), L"Port", WS_POPUP | WS_VISIBLE, 0, 0,
                               200, 100, NULL, NULL));
    ASSERT_TRUE(pOwned->CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                 20, 20, pTop->m_hWnd, NULL));
    for (int nPress : {IDOK, IDCANCEL}) {
        std::string results[2];
        for (int k = 0; k < 2; ++k) {
            std::string seen;
            wivotest::ModalDriver driver([&](wivotest::ModalDriver& d) {
                HWND hDlg = d.WaitForDialog();
                seen = wivotest::Join({::GetWindow(hDlg, GW_OWNER) == pOwned->m_hWnd,
                                       pTop->IsWindowEnabled(), pOwned->IsWindowEnabled()});
                d.Press(hDlg, nPress);
            });
            COMMCONFIG copy = config;
            ::SetLastError(12345);
            BOOL bResult = k == 0 ? (*pfnPlain)(L"COM5", pOwned->m_hWnd, &copy)
                                  : CCommFile::ShowConfigDialog(L"COM5", &copy, pOwned.get());
            results[k] = wivotest::Join({bResult, (long long)::GetLastError(), (long long)copy.dcb.BaudRate});
            driver.Join();
            if (k == 1) {
                EXPECT_EQ("1|0|0", seen) << "button " << nPress;
            }
        }
        EXPECT_EQ(results[0], results[1]) << "button " << nPress;
        EXPECT_TRUE(pTop->IsWindowEnabled() && pOwned->IsWindowEnabled());
    }
}
