// Concurrency of CSystem's cached records: many threads asking at once identify the
// system once. A program of its own, so that nothing has filled the caches before.
#include <gtest/gtest.h>

#include <Wivo.h>

#include <process.h>

#include "TestSupport.h"

using wivotest::Narrow;

namespace {

const int kThreads = 24;

struct Shared
{
    HANDLE hStart;
    const COSInfo* os[kThreads];
    const CGUIInfo* gui[kThreads];
};

struct Arg
{
    Shared* shared;
    int index;
};

unsigned __stdcall AskAtOnce(void* p)
{
    Arg* arg = static_cast<Arg*>(p);
    if (::WaitForSingleObject(arg->shared->hStart, 10000) != WAIT_OBJECT_0)
        return 1;
    // Half start with the GUI record, which takes the OS lock inside its own.
    if (arg->index % 2) {
        arg->shared->gui[arg->index] = &CSystem::GetGUIInfo();
        arg->shared->os[arg->index] = &CSystem::GetOSInfo();
    } else {
        arg->shared->os[arg->index] = &CSystem::GetOSInfo();
        arg->shared->gui[arg->index] = &CSystem::GetGUIInfo();
    }
    return 0;
}

TEST(SystemCache, ManyThreadsIdentifyTheSystemOnce)
{
    ASSERT_EQ(0, CSystem::GetOSInfoDetectionCount()) << "something asked before the test";

    // A service-pack number only this test uses shows that the record came from the
    // registry as it stood when the threads asked.
    HKEY hKey = NULL;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Windows",
                                0, NULL, 0, KEY_ALL_ACCESS, NULL, &hKey, NULL));
    DWORD oldType = 0, old = 0, cb = sizeof(old);
    bool existed = ::RegQueryValueExW(hKey, L"CSDVersion", NULL, &oldType, (BYTE*)&old, &cb) ==
                   ERROR_SUCCESS;
    DWORD csd = 0x0700;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegSetValueExW(hKey, L"CSDVersion", 0, REG_DWORD, (const BYTE*)&csd, sizeof(csd)));

    Shared shared = {};
    shared.hStart = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    ASSERT_NE(nullptr, shared.hStart);
    Arg args[kThreads];
    HANDLE threads[kThreads];
    for (int i = 0; i < kThreads; i++) {
        args[i] = {&shared, i};
        threads[i] = (HANDLE)_beginthreadex(NULL, 0, AskAtOnce, &args[i], 0, NULL);
        ASSERT_NE(nullptr, threads[i]);
    }
    ::SetEvent(shared.hStart);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForMultipleObjects(kThreads, threads, TRUE, 30000));
    for (int i = 0; i < kThreads; i++) {
        DWORD code = 99;
        ::GetExitCodeThread(threads[i], &code);
        EXPECT_EQ(0u, code) << "thread " << i;
        ::CloseHandle(threads[i]);
    }
    ::CloseHandle(shared.hStart);

    if (existed)
        ::RegSetValueExW(hKey, L"CSDVersion", 0, oldType, (const BYTE*)&old, cb);
    else
        ::RegDeleteValueW(hKey, L"CSDVersion");
    ::RegCloseKey(hKey);

    EXPECT_EQ(1, CSystem::GetOSInfoDetectionCount());
    const COSInfo& os = CSystem::GetOSInfo();
    const CGUIInfo& gui = CSystem::GetGUIInfo();
    for (int i = 0; i < kThreads; i++) {
        EXPECT_EQ(&os, shared.os[i]) << "thread " << i;
        EXPECT_EQ(&gui, shared.gui[i]) << "thread " << i;
    }
    EXPECT_NE(COSInfo::osUnknown, os.GetOS());
    EXPECT_EQ(7, os.GetVersion().GetRevision()) << Narrow(os.GetVersion().ToString());
    EXPECT_EQ(CGUIInfo::guiWindows, gui.GetGUI());
    EXPECT_EQ(os.GetVersion().GetVersion(), gui.GetVersion().GetVersion());
    // Later calls are served from the cache even though the registry changed back.
    EXPECT_EQ(7, CSystem::GetOSInfo().GetVersion().GetRevision());
    EXPECT_EQ(1, CSystem::GetOSInfoDetectionCount());
}

} // namespace
