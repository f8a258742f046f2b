// Concurrency of all of CSystem's caches together: many threads asking at once for the
// processors, the OS and GUI records and both port lists find each out once and see the
// same answers. A program of its own, so that nothing has filled the caches before.
#include <gtest/gtest.h>

#include <Wivo.h>

#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

using wivotest::Narrow;

namespace {

const int kThreads = 24;
const int kQuestions = 5;

struct Answer
{
    UINT nProcessors = 0;
    std::string firstProcessor; // name and clock, filled once the records are complete
    const COSInfo* pOS = nullptr;
    const CGUIInfo* pGUI = nullptr;
    std::string serial;
    std::string parallel;
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
        answer.firstProcessor = Narrow(CSystem::GetProcessorInfo().GetName()) + " " +
                                std::to_string(CSystem::GetProcessorInfo().GetFrequency());
        break;
    case 1:
        answer.pOS = &CSystem::GetOSInfo();
        break;
    case 2:
        // The GUI record takes the OS lock inside its own.
        answer.pGUI = &CSystem::GetGUIInfo();
        break;
    case 3:
        CSystem::GetSerialPorts(ports);
        answer.serial = Joined(ports);
        break;
    default:
        CSystem::GetParallelPorts(ports);
        answer.parallel = Joined(ports);
        break;
    }
}

// Each thread starts with another of the questions, so that every lock is contended
// while the OS lock is taken from inside the others.
bool AskEverything(int index, void* context)
{
    Answer* answers = static_cast<Answer*>(context);
    for (int i = 0; i < kQuestions; i++)
        AskFor((index + i) % kQuestions, answers[index]);
    return true;
}

// The values of one key, replaced for the test and put back afterwards.
class ReplacedValues
{
public:
    ReplacedValues(LPCWSTR pszPath, std::vector<std::pair<std::wstring, std::wstring>> values)
    {
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, pszPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &m_hKey,
                          NULL);
        for (;;) {
            WCHAR szName[256];
            DWORD cchName = 256, dwType = 0, cbData = 0;
            BYTE data[512] = {};
            cbData = sizeof(data) - sizeof(WCHAR);
            if (::RegEnumValueW(m_hKey, 0, szName, &cchName, NULL, &dwType, data, &cbData) !=
                ERROR_SUCCESS)
                break;
            m_saved.push_back({szName, dwType, std::string((const char*)data, cbData)});
            ::RegDeleteValueW(m_hKey, szName);
        }
        for (const auto& value : values) {
            m_written.push_back(value.first);
            ::RegSetValueExW(m_hKey, value.first.c_str(), 0, REG_SZ,
                             (const BYTE*)value.second.c_str(),
                             (DWORD)(value.second.size() + 1) * sizeof(WCHAR));
        }
    }

    ReplacedValues(LPCWSTR pszPath, LPCWSTR pszName, DWORD dwValue)
    {
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, pszPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &m_hKey,
                          NULL);
        BYTE data[512] = {};
        DWORD dwType = 0, cbData = sizeof(data);
        if (::RegQueryValueExW(m_hKey, pszName, NULL, &dwType, data, &cbData) == ERROR_SUCCESS)
            m_saved.push_back({pszName, dwType, std::string((const char*)data, cbData)});
        m_written.push_back(pszName);
        ::RegSetValueExW(m_hKey, pszName, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof(dwValue));
    }

    ~ReplacedValues()
    {
        for (const auto& name : m_written)
            ::RegDeleteValueW(m_hKey, name.c_str());
        for (const auto& value : m_saved)
            ::RegSetValueExW(m_hKey, value.name.c_str(), 0, value.type,
                             (const BYTE*)value.data.data(), (DWORD)value.data.size());
        ::RegCloseKey(m_hKey);
    }

private:
    struct Saved
    {
        std::wstring name;
        DWORD type;
        std::string data;
    };
    HKEY m_hKey = NULL;
    std::vector<Saved> m_saved;
    std::vector<std::wstring> m_written;
};

TEST(SystemConcurrency, ManyThreadsFillEveryCacheOnce)
{
    ASSERT_EQ(0, CSystem::GetOSInfoDetectionCount()) << "something asked before the test";
    ASSERT_EQ(0, CSystem::GetProcessorDetectionCount());
    ASSERT_EQ(0, CSystem::GetPortSearchCount());

    Answer answers[kThreads];
    {
        // Ports of both kinds, so that each list is searched exactly once, and a
        // service-pack number only this test uses, which shows that the OS record came
        // from the registry as it stood when the threads asked.
        ReplacedValues serial(L"HARDWARE\\DEVICEMAP\\SERIALCOMM",
                              {{L"\\Device\\Serial0", L"COM2"}, {L"\\Device\\Serial1", L"COM1"}});
        ReplacedValues parallel(L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS",
                                {{L"\\Device\\Parallel0", L"\\DosDevices\\LPT1"}});
        ReplacedValues servicePack(L"SYSTEM\\CurrentControlSet\\Control\\Windows",
                                   L"CSDVersion", 0x0700);
        EXPECT_EQ("", wivotest::RunAtOnce(kThreads, AskEverything, answers));
    }

    EXPECT_EQ(1, CSystem::GetProcessorDetectionCount());
    EXPECT_EQ(1, CSystem::GetOSInfoDetectionCount());
    EXPECT_EQ(2, CSystem::GetPortSearchCount());

    const UINT nProcessors = CSystem::GetProcessorCount();
    EXPECT_GE(nProcessors, 1u);
    EXPECT_EQ((int)nProcessors, CSystem::GetProcessorsInfos().GetSize());
    const std::string firstProcessor = Narrow(CSystem::GetProcessorInfo().GetName()) + " " +
                                       std::to_string(CSystem::GetProcessorInfo().GetFrequency());
    const COSInfo& os = CSystem::GetOSInfo();
    const CGUIInfo& gui = CSystem::GetGUIInfo();
    for (int i = 0; i < kThreads; i++) {
        const Answer& answer = answers[i];
        EXPECT_EQ(nProcessors, answer.nProcessors) << "thread " << i;
        EXPECT_EQ(firstProcessor, answer.firstProcessor) << "thread " << i;
        EXPECT_EQ(&os, answer.pOS) << "thread " << i;
        EXPECT_EQ(&gui, answer.pGUI) << "thread " << i;
        EXPECT_EQ("COM1,COM2", answer.serial) << "thread " << i;
        EXPECT_EQ("LPT1", answer.parallel) << "thread " << i;
    }
    EXPECT_NE(COSInfo::osUnknown, os.GetOS());
    EXPECT_EQ(7, os.GetVersion().GetRevision()) << Narrow(os.GetVersion().ToString());
    EXPECT_EQ(CGUIInfo::guiWindows, gui.GetGUI());
    EXPECT_EQ(os.GetVersion().GetVersion(), gui.GetVersion().GetVersion());

    // Served from the caches now, although the registry is back as it was.
    CStringArray ports;
    CSystem::GetParallelPorts(ports);
    EXPECT_EQ("LPT1", Joined(ports));
    EXPECT_EQ(7, CSystem::GetOSInfo().GetVersion().GetRevision());
    EXPECT_EQ(&CSystem::GetProcessorInfo(), CSystem::GetProcessorsInfos().GetData());
    EXPECT_EQ(1, CSystem::GetProcessorDetectionCount());
    EXPECT_EQ(1, CSystem::GetOSInfoDetectionCount());
    EXPECT_EQ(2, CSystem::GetPortSearchCount());
}

} // namespace
