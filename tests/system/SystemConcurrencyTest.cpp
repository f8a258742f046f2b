// Concurrency of all of CSystem's caches together: many threads asking at once for the
// processors, the system and both port lists find each out once and see the same
// answers. A program of its own, so that nothing has filled the caches before.
#include <gtest/gtest.h>

#include <Wivo.h>

#include <process.h>

#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

using wivotest::Narrow;

namespace {

const int kThreads = 16;

struct Answer
{
    UINT nProcessors = 0;
    const COSInfo* pOS = nullptr;
    std::string serial;
    std::string parallel;
};

struct Shared
{
    HANDLE hStart;
    Answer answers[kThreads];
};

struct Arg
{
    Shared* shared;
    int index;
};

std::string Joined(const CStringArray& ports)
{
    std::string text;
    for (int i = 0; i < ports.GetSize(); i++)
        text += (i ? "," : "") + Narrow(ports[i]);
    return text;
}

void AskFor(int nWhat, Answer& answer)
{
    CStringArray ports;
    switch (nWhat) {
    case 0:
        answer.nProcessors = CSystem::GetProcessorCount();
        break;
    case 1:
        answer.pOS = &CSystem::GetOSInfo();
        break;
    case 2:
        CSystem::GetSerialPorts(ports);
        answer.serial = Joined(ports);
        break;
    default:
        CSystem::GetParallelPorts(ports);
        answer.parallel = Joined(ports);
        break;
    }
}

unsigned __stdcall AskAtOnce(void* p)
{
    Arg* arg = static_cast<Arg*>(p);
    if (::WaitForSingleObject(arg->shared->hStart, 10000) != WAIT_OBJECT_0)
        return 1;
    // Each thread starts with another of the four, so that every lock is contended
    // while the OS lock is taken from inside the others.
    for (int i = 0; i < 4; i++)
        AskFor((arg->index + i) % 4, arg->shared->answers[arg->index]);
    return 0;
}

// The device-map values of one key, replaced for the test and put back afterwards.
class ReplacedValues
{
public:
    ReplacedValues(LPCWSTR pszPath, std::vector<std::pair<std::wstring, std::wstring>> values)
    {
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, pszPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &m_hKey,
                          NULL);
        WCHAR szName[256];
        WCHAR szData[256];
        for (;;) {
            DWORD cchName = 256, cbData = sizeof(szData) - sizeof(WCHAR), dwType = 0;
            if (::RegEnumValueW(m_hKey, 0, szName, &cchName, NULL, &dwType, (BYTE*)szData,
                                &cbData) != ERROR_SUCCESS)
                break;
            szData[cbData / sizeof(WCHAR)] = 0;
            m_saved.push_back({szName, szData});
            ::RegDeleteValueW(m_hKey, szName);
        }
        Write(values);
        m_written = std::move(values);
    }

    ~ReplacedValues()
    {
        for (const auto& value : m_written)
            ::RegDeleteValueW(m_hKey, value.first.c_str());
        Write(m_saved);
        ::RegCloseKey(m_hKey);
    }

private:
    void Write(const std::vector<std::pair<std::wstring, std::wstring>>& values)
    {
        for (const auto& value : values)
            ::RegSetValueExW(m_hKey, value.first.c_str(), 0, REG_SZ,
                             (const BYTE*)value.second.c_str(),
                             (DWORD)(value.second.size() + 1) * sizeof(WCHAR));
    }

    HKEY m_hKey = NULL;
    std::vector<std::pair<std::wstring, std::wstring>> m_saved;
    std::vector<std::pair<std::wstring, std::wstring>> m_written;
};

TEST(SystemConcurrency, ManyThreadsFillEveryCacheOnce)
{
    ASSERT_EQ(0, CSystem::GetOSInfoDetectionCount()) << "something asked before the test";
    ASSERT_EQ(0, CSystem::GetProcessorDetectionCount());
    ASSERT_EQ(0, CSystem::GetPortSearchCount());

    Shared shared = {};
    {
        // Ports of both kinds, so that each list is searched exactly once.
        ReplacedValues serial(L"HARDWARE\\DEVICEMAP\\SERIALCOMM",
                              {{L"\\Device\\Serial0", L"COM2"}, {L"\\Device\\Serial1", L"COM1"}});
        ReplacedValues parallel(L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS",
                                {{L"\\Device\\Parallel0", L"\\DosDevices\\LPT1"}});

        shared.hStart = ::CreateEventW(NULL, TRUE, FALSE, NULL);
        ASSERT_NE(nullptr, shared.hStart);
        Arg args[kThreads];
        HANDLE threads[kThreads];
        int nStarted = 0;
        for (; nStarted < kThreads; nStarted++) {
            args[nStarted] = {&shared, nStarted};
            threads[nStarted] =
                (HANDLE)_beginthreadex(NULL, 0, AskAtOnce, &args[nStarted], 0, NULL);
            if (threads[nStarted] == NULL)
                break;
        }
        // The threads started must end before their arguments go.
        ::SetEvent(shared.hStart);
        if (nStarted > 0) {
            EXPECT_EQ(WAIT_OBJECT_0, ::WaitForMultipleObjects(nStarted, threads, TRUE, 60000));
        }
        ASSERT_EQ(kThreads, nStarted);
        for (int i = 0; i < kThreads; i++) {
            DWORD code = 99;
            ::GetExitCodeThread(threads[i], &code);
            EXPECT_EQ(0u, code) << "thread " << i;
            ::CloseHandle(threads[i]);
        }
        ::CloseHandle(shared.hStart);
    }

    EXPECT_EQ(1, CSystem::GetProcessorDetectionCount());
    EXPECT_EQ(1, CSystem::GetOSInfoDetectionCount());
    EXPECT_EQ(2, CSystem::GetPortSearchCount());

    const UINT nProcessors = CSystem::GetProcessorCount();
    EXPECT_GE(nProcessors, 1u);
    EXPECT_EQ((int)nProcessors, CSystem::GetProcessorsInfos().GetSize());
    const COSInfo& os = CSystem::GetOSInfo();
    for (int i = 0; i < kThreads; i++) {
        const Answer& answer = shared.answers[i];
        EXPECT_EQ(nProcessors, answer.nProcessors) << "thread " << i;
        EXPECT_EQ(&os, answer.pOS) << "thread " << i;
        EXPECT_EQ("COM1,COM2", answer.serial) << "thread " << i;
        EXPECT_EQ("LPT1", answer.parallel) << "thread " << i;
    }

    // Served from the caches now, although the registry is back as it was.
    CStringArray ports;
    CSystem::GetParallelPorts(ports);
    EXPECT_EQ("LPT1", Joined(ports));
    EXPECT_EQ(1, CSystem::GetProcessorDetectionCount());
    EXPECT_EQ(1, CSystem::GetOSInfoDetectionCount());
    EXPECT_EQ(2, CSystem::GetPortSearchCount());
}

} // namespace
