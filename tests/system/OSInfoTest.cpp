// Tests of the OS and GUI records (through the same mapping the live identification
// uses), of the disk facts on the prefix's real drives and of the drive list.
#include <gtest/gtest.h>

#include <Wivo.h>

#include "SystemTestSupport.h"

using wivotest::Narrow;

namespace {

const DWORD k9x = VER_PLATFORM_WIN32_WINDOWS;
const DWORD kNT = VER_PLATFORM_WIN32_NT;

struct MappingCase
{
    DWORD platform, major, minor;
    COSInfo::OS expected;
};

const MappingCase kMappings[] = {
    {k9x, 4, 0, COSInfo::osWin95},          {k9x, 4, 10, COSInfo::osWin98},
    {k9x, 4, 90, COSInfo::osWinMe},         {k9x, 4, 3, COSInfo::osWin9xOther},
    {k9x, 5, 0, COSInfo::osWin9xOther},     {kNT, 3, 51, COSInfo::osWinNT},
    {kNT, 4, 0, COSInfo::osWinNT},          {kNT, 5, 0, COSInfo::osWin2000},
    {kNT, 5, 1, COSInfo::osWinXP},          {kNT, 5, 2, COSInfo::osWinServer2003},
    {kNT, 5, 3, COSInfo::osWinNTOther},     {kNT, 6, 0, COSInfo::osWinVista},
    {kNT, 6, 1, COSInfo::osWinNTOther},     {kNT, 10, 0, COSInfo::osWinNTOther},
    {kNT, 2, 0, COSInfo::osWinNTOther},     {0, 4, 0, COSInfo::osUnknown},
    {3, 5, 1, COSInfo::osUnknown},
};

TEST(OSInfo, VersionDataMapsToCodes)
{
    for (const MappingCase& c : kMappings) {
        COSInfo info = COSInfo::FromVersionData(c.platform, c.major, c.minor, 1234, 0x0300);
        EXPECT_EQ(c.expected, info.GetOS()) << "platform " << c.platform << " version " << c.major
                                            << "." << c.minor << " gave 0x" << std::hex
                                            << (unsigned)info.GetOS();
        EXPECT_EQ((unsigned)c.expected & 0xFF000000u, (unsigned)info.GetPlatform());
        EXPECT_EQ((unsigned)c.expected & 0xFFFF0000u, (unsigned)info.GetSubPlatform());
        EXPECT_EQ(CVersion((short)c.major, (short)c.minor, 1234, 3).GetVersion(),
                  info.GetVersion().GetVersion())
            << Narrow(info.GetVersion().ToString());
    }
    // 9x systems report extra bits above the build number; they are cut off.
    COSInfo info = COSInfo::FromVersionData(k9x, 4, 10, 0x040A08AE, 0x0100);
    EXPECT_EQ(0x08AE, info.GetVersion().GetBuild());
    EXPECT_EQ(1, info.GetVersion().GetRevision());
}

struct DescriptionCase
{
    DWORD platform, major, minor, build, csd;
    UINT flags;
    LPCWSTR expected;
    bool gui = false; // the GUI record's text, which follows the system's
};

const DescriptionCase kDescriptions[] = {
    {kNT, 5, 1, 2600, 0x0200, 0x04 | 0x20, L"Windows XP mit Service Pack 2"},
    {kNT, 5, 1, 2600, 0x0200, 0x04 | 0x10 | 0x40, L"Windows XP Build 2600"},
    {kNT, 4, 0, 1381, 0x0600, 0x04 | 0x10 | 0x40 | 0x20, L"Windows NT 4.0.1381 mit Service Pack 6"},
    {kNT, 6, 1, 7601, 0x0100, 0x04 | 0x10, L"Windows NT 6.1"},
    {kNT, 5, 1, 2600, 0x0200, 0x01 | 0x08 | 0x04, L"Windows Microsoft Windows XP"},
    {kNT, 5, 1, 2600, 0x0000, 0x04 | 0x20, L"Windows XP"},
    {kNT, 5, 1, 2600, 0x0000, 0x20 | 0x40, L"Build 2600"},
    {kNT, 5, 1, 2600, 0x0200, 0x10 | 0x20, L"5.1 Service Pack 2"},
    {kNT, 5, 0, 2195, 0x0400, 0x02 | 0x10 | 0x40, L"Windows NT 5.0.2195"},
    {k9x, 4, 10, 2222, 0x0000, 0x01 | 0x02 | 0x04, L"Windows Windows Windows 98"},
    {k9x, 4, 3, 950, 0x0000, 0x04 | 0x10, L"Windows 4.3"},
    {k9x, 4, 0, 950, 0x0000, 0x04 | 0x10, L"Windows 95"},
    {k9x, 4, 90, 3000, 0x0000, 0x04 | 0x08, L"Microsoft Windows Me"},
    {kNT, 6, 0, 6002, 0x0200, 0x04 | 0x20, L"Windows Vista mit Service Pack 2"},
    {kNT, 5, 2, 3790, 0x0100, 0x04, L"Windows Server 2003"},
    {0, 5, 1, 2600, 0x0000, 0x01 | 0x02 | 0x08, L"(Unbekannt) (Unbekannt) (Unbekannt)"},
    {0, 5, 1, 2600, 0x0000, 0x04, L"(Unbekannt)"},
    {kNT, 5, 1, 2600, 0x0200, 0, L""},
    {kNT, 5, 1, 2600, 0x0200, 0x02 | 0x04 | 0x08, L"Windows 5.1 mit Service Pack 2", true},
    {kNT, 5, 1, 2600, 0x0200, 0x04 | 0x08, L"5.1 Service Pack 2", true},
    {kNT, 5, 1, 2600, 0x0200, 0x01 | 0x02, L"Windows Windows", true},
    {kNT, 5, 1, 2600, 0x0000, 0x02 | 0x04 | 0x08, L"Windows 5.1", true},
    {k9x, 4, 10, 2222, 0x0000, 0x01 | 0x04, L"Windows 4.10", true},
};

TEST(OSInfo, DescriptionsOfTheSystemAndItsGUI)
{
    for (const DescriptionCase& c : kDescriptions) {
        COSInfo info = COSInfo::FromVersionData(c.platform, c.major, c.minor, c.build, c.csd);
        const CString text =
            c.gui ? CGUIInfo::FromOSInfo(info).ToString(c.flags) : info.ToString(c.flags);
        EXPECT_EQ(CString(c.expected), text) << c.major << "." << c.minor << " flags 0x" << std::hex
                                             << c.flags << (c.gui ? " GUI" : "") << ": \""
                                             << Narrow(text) << "\"";
    }
    COSInfo xp = COSInfo::FromVersionData(kNT, 5, 1, 2600, 0x0200);
    COSInfo unknown = COSInfo::FromVersionData(7, 5, 1, 2600, 0);
    EXPECT_EQ(CString(L"Microsoft Corporation"), xp.GetVendorName());
    EXPECT_EQ(CString(L"(Unbekannt)"), unknown.GetVendorName()) << Narrow(unknown.GetVendorName());
    // Copying is written by hand: every field must come along.
    COSInfo copy(xp);
    EXPECT_EQ(COSInfo::osWinXP, copy.GetOS());
    copy = unknown;
    EXPECT_EQ(COSInfo::osUnknown, copy.GetOS());
    EXPECT_EQ(unknown.GetVersion().GetVersion(), copy.GetVersion().GetVersion());

    for (const COSInfo* os : {&xp, &unknown}) {
        const CGUIInfo gui = CGUIInfo::FromOSInfo(*os);
        const bool known = os == &xp;
        EXPECT_EQ(known ? CGUIInfo::guiWindows : CGUIInfo::guiUnknown, gui.GetGUI());
        EXPECT_EQ(known ? CGUIInfo::guiTypeWindows : CGUIInfo::guiTypeUnknown, gui.GetGUIType());
        EXPECT_EQ(known ? xp.GetVersion().GetVersion() : CVersion::undefined.GetVersion(),
                  gui.GetVersion().GetVersion());
    }
}

TEST(OSInfo, LiveRecordIsTheMappingOfThePlatformsData)
{
    OSVERSIONINFOW vi = {};
    vi.dwOSVersionInfoSize = sizeof(vi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(::GetVersionExW(&vi));
#pragma GCC diagnostic pop
    CRegKey key(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Windows",
                KEY_QUERY_VALUE);
    COSInfo expected = COSInfo::FromVersionData(vi.dwPlatformId, vi.dwMajorVersion,
                                                vi.dwMinorVersion, vi.dwBuildNumber,
                                                key.GetDWordValue(L"CSDVersion", 0));
    const COSInfo& live = CSystem::GetOSInfo();
    EXPECT_NE(COSInfo::osUnknown, live.GetOS());
    EXPECT_EQ(expected.GetOS(), live.GetOS());
    EXPECT_EQ(expected.GetVersion().GetVersion(), live.GetVersion().GetVersion())
        << Narrow(live.GetVersion().ToString());
    // The cache and the GUI record that follows it are checked in SystemConcurrencyTest.
}

TEST(DiskInfo, DrivesAndTheFactsOfTheRealOnes)
{
    CStringArray drives;
    drives.Add(L"stale");
    CSystem::GetLogicalDrives(drives);
    std::string expected;
    for (int i = 0; i < 26; i++)
        if (::GetLogicalDrives() & (1u << i))
            expected += std::string(expected.empty() ? "" : ",") + (char)('A' + i) + ":";
    EXPECT_EQ(expected, wivotest::Joined(drives));

    for (LPCWSTR root : {L"C:\\", L"Z:\\"}) {
        SCOPED_TRACE(Narrow(root));
        CDiskInfo info;
        ASSERT_TRUE(CSystem::GetDiskInfo(root, CDiskInfo::infoAll, info));
        EXPECT_EQ(::GetDriveTypeW(root), info.m_nDriveType);
        wchar_t label[64] = {}, fs[64] = {};
        DWORD serial = 0, maxComp = 0, flags = 0;
        ASSERT_TRUE(::GetVolumeInformationW(root, label, 64, &serial, &maxComp, &flags, fs, 64));
        EXPECT_EQ(CString(label), info.m_strVolumeName) << Narrow(info.m_strVolumeName);
        EXPECT_EQ(CString(fs), info.m_strFileSystemName) << Narrow(info.m_strFileSystemName);
        EXPECT_EQ(serial, info.m_dwSerialNumber);
        EXPECT_EQ(maxComp, info.m_dwMaxComponentLength);
        EXPECT_EQ(flags, (DWORD)info.m_fileSystemFlags);
        EXPECT_GT(info.m_dwBytesPerSector * info.m_dwSectorsPerCluster, 0u);
        EXPECT_LE(info.m_dwFreeClusters, info.m_dwTotalClusters);
        EXPECT_GT(info.m_nTotalBytes, 0u);
        EXPECT_LE(info.m_nTotalFreeBytes, info.m_nTotalBytes);
        EXPECT_LE(info.m_nFreeBytesAvailable, info.m_nTotalBytes);
    }
}

TEST(DiskInfo, FlagsFillOnlyTheirFieldsAndMissingVolumesFail)
{
    CDiskInfo fresh;
    EXPECT_EQ(0u, fresh.m_nDriveType + (DWORD)fresh.m_fileSystemFlags +
                      fresh.m_nFreeBytesAvailable);
    CDiskInfo info;
    info.m_strVolumeName = L"sentinel";
    info.m_dwTotalClusters = 0xBDBDBDBD;
    info.m_nTotalBytes = 0xBDBDBDBDull;
    ASSERT_TRUE(CSystem::GetDiskInfo(L"C:", CDiskInfo::infoDriveType, info));
    EXPECT_EQ(::GetDriveTypeW(L"C:"), info.m_nDriveType);
    EXPECT_EQ(0xBDBDBDBDull, info.m_nTotalBytes);
    ASSERT_TRUE(CSystem::GetDiskInfo(L"C:\\", CDiskInfo::infoBytes, info));
    EXPECT_NE(0xBDBDBDBDull, info.m_nTotalBytes);
    EXPECT_EQ(0xBDBDBDBDu, info.m_dwTotalClusters);
    EXPECT_EQ(CString(L"sentinel"), info.m_strVolumeName);

    // Copying is written by hand: every field must come along.
    CDiskInfo copy(info), assigned;
    assigned = info;
    for (const CDiskInfo* p : {&copy, &assigned}) {
        EXPECT_EQ(info.m_nDriveType, p->m_nDriveType);
        EXPECT_EQ(info.m_strVolumeName, p->m_strVolumeName);
        EXPECT_EQ(info.m_dwTotalClusters, p->m_dwTotalClusters);
        EXPECT_EQ(info.m_nTotalBytes, p->m_nTotalBytes);
        EXPECT_EQ(info.m_nTotalFreeBytes, p->m_nTotalFreeBytes);
    }

    DWORD mask = ::GetLogicalDrives();
    int free = 25;
    while (free >= 3 && (mask & (1u << free)))
        free--;
    ASSERT_GE(free, 3) << "every drive letter is taken";
    CString root;
    root.Format(L"%c:\\", L'A' + free);
    ASSERT_TRUE(CSystem::GetDiskInfo(root, CDiskInfo::infoDriveType, info));
    EXPECT_EQ((UINT)DRIVE_NO_ROOT_DIR, info.m_nDriveType) << Narrow(root);
    for (UINT flags : {(UINT)(CDiskInfo::infoDriveType | CDiskInfo::infoVolume),
                       (UINT)CDiskInfo::infoClusters, (UINT)CDiskInfo::infoBytes})
        EXPECT_FALSE(CSystem::GetDiskInfo(root, flags, info)) << Narrow(root) << " flags " << flags;
    EXPECT_FALSE(CSystem::GetDiskInfo(L"\\\\wivo-no-host\\no-share", CDiskInfo::infoVolume, info));
}

} // namespace
