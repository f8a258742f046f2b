// CSystem::GetSerialPorts and GetParallelPorts against the prefix's real registry.
//
// The lists are cached per process, and which registry places are read depends on the
// system the process is told it runs on. So the first test here sees the prepared
// registry on the system Wine reports by default; the other systems each run in a
// child process of this program (a death test) that Wine is told (by AppDefaults) to
// present as that system. Every registry change is undone when its test ends.
#include <gtest/gtest.h>

#include <Wivo.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "SystemTestSupport.h"

using wivotest::Narrow;
using wivotest::SavedRegistryValues;

namespace {

const WCHAR kSerialMap[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
const WCHAR kParallelMap[] = L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS";
const WCHAR kNTEnum[] = L"SYSTEM\\CurrentControlSet\\Enum";
const WCHAR kPortsGuid[] = L"{4D36E978-E325-11CE-BFC1-08002BE10318}";

// A subtree of device keys below HKLM, removed when the object goes, together with its
// parent if that was missing before (HKLM\Enum of the older systems).
class DeviceTree
{
public:
    DeviceTree(LPCWSTR pszParent, LPCWSTR pszName)
        : m_strParent(pszParent), m_strRoot(CString(pszParent) + L"\\" + pszName)
    {
        HKEY hKey = NULL;
        m_bParentExisted =
            ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, pszParent, 0, KEY_READ, &hKey) == ERROR_SUCCESS;
        if (m_bParentExisted)
            ::RegCloseKey(hKey);
    }
    ~DeviceTree()
    {
        for (const CString& strPath : m_locked)
            SetDacl(strPath, NULL);
        const CString& strTop = m_bParentExisted ? m_strRoot : m_strParent;
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, strTop);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, strTop);
    }

    // Values of a device key; null texts are left out. The port name under "Device
    // Parameters" goes to that subkey.
    void Device(LPCWSTR pszPath, LPCWSTR pszClass, LPCWSTR pszClassGuid, LPCWSTR pszPortName,
                LPCWSTR pszParameterPortName = NULL)
    {
        SetValue(pszPath, L"Class", pszClass);
        SetValue(pszPath, L"ClassGUID", pszClassGuid);
        SetValue(pszPath, L"PortName", pszPortName);
        SetValue(CString(pszPath) + L"\\Device Parameters", L"PortName", pszParameterPortName);
    }
    void Key(LPCWSTR pszPath) { SetValue(pszPath, NULL, NULL); }

    // A key nobody may read or open.
    void Lock(LPCWSTR pszPath)
    {
        Key(pszPath);
        ACL acl;
        ::InitializeAcl(&acl, sizeof(acl), ACL_REVISION);
        m_locked.push_back(m_strRoot + L"\\" + pszPath);
        SetDacl(m_locked.back(), &acl);
        HKEY hKey = NULL;
        ASSERT_EQ(ERROR_ACCESS_DENIED,
                  ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_locked.back(), 0, KEY_READ, &hKey))
            << "the platform does not keep readers out of the key";
    }

private:
    // A null name makes the key alone (with an empty default value); a null text sets nothing.
    void SetValue(const CString& strPath, LPCWSTR pszName, LPCWSTR pszText)
    {
        const LPCWSTR pszData = pszName == NULL ? L"" : pszText;
        if (pszData != NULL) {
            ASSERT_EQ(ERROR_SUCCESS,
                      ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, m_strRoot + L"\\" + strPath, pszName,
                                        REG_SZ, pszData, (DWORD)(wcslen(pszData) + 1) * 2));
        }
    }

    // A null ACL lets everybody in again.
    static void SetDacl(const CString& strPath, PACL pAcl)
    {
        HKEY hKey = NULL;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, strPath, 0, WRITE_DAC, &hKey) != ERROR_SUCCESS)
            return;
        SECURITY_DESCRIPTOR sd;
        ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&sd, TRUE, pAcl, FALSE);
        ::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, &sd);
        ::RegCloseKey(hKey);
    }

    CString m_strParent, m_strRoot;
    bool m_bParentExisted;
    std::vector<CString> m_locked;
};

// The caller's array is replaced, not appended to.
std::string Ports(void (*get)(CStringArray&))
{
    CStringArray ports;
    ports.Add(L"stale");
    get(ports);
    return wivotest::Joined(ports);
}
std::string SerialPorts() { return Ports(CSystem::GetSerialPorts); }
std::string ParallelPorts() { return Ports(CSystem::GetParallelPorts); }

TEST(PortSearch, FirstFindIsKeptAndAKindWithoutPortsIsSearchedAgain)
{
    ASSERT_EQ(0, CSystem::GetPortSearchCount()) << "something searched before the test";
    // Wine reports a version the library does not name, which reads the device map only.
    const COSInfo& os = CSystem::GetOSInfo();
    ASSERT_EQ(COSInfo::osWinNTOther, os.GetOS()) << Narrow(os.ToString());

    SavedRegistryValues serial(HKEY_LOCAL_MACHINE, kSerialMap);
    SavedRegistryValues parallel(HKEY_LOCAL_MACHINE, kParallelMap);
    serial.Set(L"\\Device\\Serial0", L"COM1");
    serial.Set(L"\\Device\\Serial1", L"COM10");
    serial.Set(L"\\Device\\Serial2", L"COM2");
    serial.Set(L"\\Device\\Serial3", L"COM1");
    serial.Set(L"Blank", L"");
    serial.SetDWord(L"Number", 3);
    DeviceTree tree(kNTEnum, L"WIVOPORTS");
    tree.Device(L"ACPI\\PNP0501\\0", L"Ports", kPortsGuid, L"COM7");
    tree.Device(L"ACPI\\PNP0400\\0", L"Ports", kPortsGuid, L"LPT7");

    EXPECT_EQ("COM1,COM2,COM10", SerialPorts());
    EXPECT_EQ(1, CSystem::GetPortSearchCount());
    EXPECT_EQ("", ParallelPorts());
    EXPECT_EQ(2, CSystem::GetPortSearchCount());
    // A value name too long to be listed spoils the whole map, but quietly.
    const std::wstring tooLong(300, L'x');
    parallel.Set(tooLong.c_str(), L"\\DosDevices\\LPT3");
    parallel.Set(L"\\Device\\Parallel1", L"\\DosDevices\\LPT2");
    EXPECT_EQ("", ParallelPorts());
    EXPECT_EQ(3, CSystem::GetPortSearchCount());
    parallel.Delete(tooLong.c_str());
    parallel.Set(L"\\Device\\Parallel0", L"LPT1");
    EXPECT_EQ("LPT1,LPT2", ParallelPorts());
    EXPECT_EQ(4, CSystem::GetPortSearchCount());

    // Ports that appear later are not seen.
    serial.Set(L"\\Device\\Serial4", L"COM3");
    parallel.Set(L"\\Device\\Parallel3", L"LPT3");
    EXPECT_EQ("COM1,COM2,COM10", SerialPorts());
    EXPECT_EQ("LPT1,LPT2", ParallelPorts());
    EXPECT_EQ(4, CSystem::GetPortSearchCount());
}

// The same registry seen from the systems that read it differently: the device map
// alone (up to NT 4), map and device tree (2000 and later), the 9x device tree alone.
struct OtherSystem
{
    const WCHAR* version; // Wine's name for the system
    COSInfo::OS os;
    const char* serial;
    const char* parallel;
};

const OtherSystem kOtherSystems[] = {
    {L"nt40", COSInfo::osWinNT, "COM1,COM2,COM3,COM10,COM15,COM21", "LPT1"},
    {L"win2k", COSInfo::osWin2000, "COM1,COM2,COM3,COM4,COM5,COM10,COM12,COM15,COM21", "LPT1,LPT2"},
    {L"win98", COSInfo::osWin98, "COM2", "LPT3"},
};

// What a system finds, in one line for the parent to compare.
std::string Findings(int os, const std::string& serial, const std::string& parallel, int searches)
{
    return "system " + std::to_string(os) + ", serial <" + serial + ">, parallel <" + parallel +
           ">, searches " + std::to_string(searches);
}

// Run in the child process started as that system.
std::string FindOnOtherSystem()
{
    const int os = CSystem::GetOSInfo().GetOS();
    SavedRegistryValues serial(HKEY_LOCAL_MACHINE, kSerialMap);
    for (LPCWSTR pszPort : {L"COM1", L"COM10", L"COM2", L"COM3", L"COM21", L"COM15"})
        serial.Set(CString(L"\\Device\\Serial") + pszPort, pszPort);
    SavedRegistryValues parallel(HKEY_LOCAL_MACHINE, kParallelMap);
    parallel.Set(L"\\Device\\Parallel0", L"\\DosDevices\\LPT1");

    DeviceTree nt(kNTEnum, L"WIVOPORTS");
    // Also in the map: listed once.
    nt.Device(L"ACPI\\PNP0501\\0", L"Ports", NULL, L"COM3");
    nt.Device(L"ACPI\\PNP0501\\1", NULL, kPortsGuid, NULL, L"COM12");
    nt.Device(L"ACPI\\PNP0501\\2", L"Ports", NULL, L"COM4", L"COM7");
    nt.Device(L"ACPI\\PNP0400\\0", L"Ports", kPortsGuid, L"LPT2");
    // The walk gives up on a key whose subkeys cannot be listed (a name longer than
    // 255 characters) and on one it cannot open, and goes on beside them.
    nt.Device(L"BROKEN\\0", L"Ports", NULL, L"COM13");
    nt.Key((L"BROKEN\\" + std::wstring(256, L'z')).c_str());
    nt.Device(L"CASE\\0", L"ports", NULL, L"COM8");
    nt.Device(L"CASE\\1", NULL, L"{4d36e978-e325-11ce-bfc1-08002be10318}", L"COM11");
    nt.Device(L"CASE\\2", L"Ports", NULL, L"com6");
    nt.Lock(L"LOCKED");
    // Below a device of another class nothing is looked at.
    nt.Device(L"MODEM\\0", L"Modem", L"{4D36E96D-E325-11CE-BFC1-08002BE10318}", NULL);
    nt.Device(L"MODEM\\0\\Child", L"Ports", NULL, L"COM9");
    nt.Device(L"USB\\VID_0001\\0", L"Ports", NULL, L"COM5");

    DeviceTree win9x(L"Enum", L"WIVOPORTS");
    win9x.Device(L"BIOS\\*PNP0500\\0", L"Ports", NULL, L"COM2");
    win9x.Device(L"BIOS\\*PNP0400\\0", L"Ports", NULL, L"LPT3");
    if (::testing::Test::HasFatalFailure())
        return "the registry could not be prepared";
    const std::string serialPorts = SerialPorts(), parallelPorts = ParallelPorts();
    return Findings(os, serialPorts, parallelPorts, CSystem::GetPortSearchCount());
}

TEST(PortSearch, OtherSystemsEachInAProcessOfItsOwn)
{
    WCHAR szProgram[MAX_PATH];
    ASSERT_NE(0u, ::GetModuleFileNameW(NULL, szProgram, MAX_PATH));
    // Wine's settings for this program alone, read when a process of it starts.
    const CString strKey =
        L"Software\\Wine\\AppDefaults\\" + CString(wcsrchr(szProgram, L'\\') + 1);
    SavedRegistryValues appDefaults(HKEY_CURRENT_USER, strKey, L"Version");
    for (const OtherSystem& system : kOtherSystems) {
        SCOPED_TRACE(Narrow(system.version));
        ASSERT_EQ(ERROR_SUCCESS, appDefaults.Set(L"Version", system.version));
        // The child tells on stderr what it found; that it got there shows too.
        EXPECT_EXIT(
            {
                fprintf(stderr, "found: %s;\n", FindOnOtherSystem().c_str());
                ::ExitProcess(0);
            },
            ::testing::ExitedWithCode(0),
            "found: " + Findings(system.os, system.serial, system.parallel, 2) + ";");
    }
}

} // namespace
