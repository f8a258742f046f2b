// Concurrency of all of CSystem's caches together: many threads asking at once for the
// processors, the OS and GUI records and both port lists find each out once and see the
// same answers. A program of its own, so that nothing has filled the caches before.
#include <gtest/gtest.h>

#include <Wivo.h>

#include <string>

#include "SystemTestSupport.h"

using wivotest::Joined;
using wivotest::Narrow;
using wivotest::SavedRegistryValues;

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

std::string FirstProcessor()
{
    const CProcessorInfo& info = CSystem::GetProcessorInfo();
    return Narrow(info.GetName()) + " " + std::to_string(info.GetFrequency());
}

void AskFor(int nWhat, Answer& answer)
{
    CStringArray ports;
    switch (nWhat) {
    case 0:
        answer.nProcessors = CSystem::GetProcessorCount();
        answer.firstProcessor = FirstProcessor();
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
        SavedRegistryValues serial(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM");
        serial.Set(L"\\Device\\Serial0", L"COM2");
        serial.Set(L"\\Device\\Serial1", L"COM1");
        SavedRegistryValues parallel(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS");
        parallel.Set(L"\\Device\\Parallel0", L"\\DosDevices\\LPT1");
        const wchar_t kWindows[] = L"SYSTEM\\CurrentControlSet\\Control\\Windows";
        SavedRegistryValues servicePack(HKEY_LOCAL_MACHINE, kWindows, L"CSDVersion");
        servicePack.SetDWord(L"CSDVersion", 0x0700);
        EXPECT_EQ("", wivotest::RunAtOnce(kThreads, AskEverything, answers));
    }

    const UINT nProcessors = CSystem::GetProcessorCount();
    EXPECT_GE(nProcessors, 1u);
    EXPECT_EQ((int)nProcessors, CSystem::GetProcessorsInfos().GetSize());
    const std::string firstProcessor = FirstProcessor();
    const COSInfo& os = CSystem::GetOSInfo();
    const CGUIInfo& gui = CSystem::GetGUIInfo();
    for (const Answer& answer : answers) {
        SCOPED_TRACE("thread " + std::to_string(&answer - answers));
        EXPECT_EQ(nProcessors, answer.nProcessors);
        EXPECT_EQ(firstProcessor, answer.firstProcessor);
        EXPECT_EQ(&os, answer.pOS);
        EXPECT_EQ(&gui, answer.pGUI);
        EXPECT_EQ("COM1,COM2", answer.serial);
        EXPECT_EQ("LPT1", answer.parallel);
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
    EXPECT_EQ(1, CSystem::GetProcessorDetectionCount());
    EXPECT_EQ(1, CSystem::GetOSInfoDetectionCount());
    EXPECT_EQ(2, CSystem::GetPortSearchCount());
}

} // namespace
