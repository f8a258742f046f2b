// SystemInfo.cpp - CSystem's operating-system, GUI and disk facts and the caches of
// the first two.
#include "System.h"

#include "RegKey.h"

namespace {

// Counts identifications so that the caching can be watched from outside.
volatile LONG s_nOSInfoDetections = 0;

typedef BOOL(WINAPI* PFN_GETDISKFREESPACEEX)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                             PULARGE_INTEGER);

// Looked up once; concurrent first calls store the same values.
PFN_GETDISKFREESPACEEX s_pfnGetDiskFreeSpaceEx = NULL;
volatile LONG s_bDiskFreeSpaceExLookedUp = FALSE;

} // namespace

const COSInfo& CSystem::GetOSInfo()
{
    if (s_osInfo.m_os != COSInfo::osUnknown)
        return s_osInfo;

    CSingleLock lock(&s_csGetOSInfo, TRUE);
    if (s_osInfo.m_os != COSInfo::osUnknown)
        return s_osInfo;

    ::InterlockedIncrement(&s_nOSInfoDetections);

    OSVERSIONINFOW vi;
    ZeroMemory(&vi, sizeof(vi));
    vi.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    BOOL bOk = ::GetVersionExW(&vi);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (!bOk)
        return s_osInfo;

    CRegKey key(HKEY_LOCAL_MACHINE, _T("SYSTEM\\CurrentControlSet\\Control\\Windows"),
                KEY_QUERY_VALUE);
    DWORD dwCSDVersion = key.GetDWordValue(_T("CSDVersion"), 0);

    COSInfo info = COSInfo::FromVersionData(vi.dwPlatformId, vi.dwMajorVersion,
                                            vi.dwMinorVersion, vi.dwBuildNumber, dwCSDVersion);
    // The version goes in before the code: a reader that sees the code without the
    // lock must find the whole record.
    s_osInfo.m_version = info.m_version;
    ::MemoryBarrier();
    s_osInfo.m_os = info.m_os;
    return s_osInfo;
}

const CGUIInfo& CSystem::GetGUIInfo()
{
    if (s_guiInfo.m_gui != CGUIInfo::guiUnknown)
        return s_guiInfo;

    CSingleLock lock(&s_csGetGUIInfo, TRUE);
    if (s_guiInfo.m_gui != CGUIInfo::guiUnknown)
        return s_guiInfo;

    CGUIInfo info = CGUIInfo::FromOSInfo(GetOSInfo());
    s_guiInfo.m_version = info.m_version;
    ::MemoryBarrier();
    s_guiInfo.m_gui = info.m_gui;
    return s_guiInfo;
}

LONG CSystem::GetOSInfoDetectionCount()
{
    return s_nOSInfoDetections;
}

BOOL CSystem::GetDiskInfo(const CString& strRootPath, UINT nFlags, CDiskInfo& info)
{
    if (!s_bDiskFreeSpaceExLookedUp) {
        HMODULE hKernel = ::GetModuleHandleW(L"KERNEL32");
        s_pfnGetDiskFreeSpaceEx =
            hKernel != NULL ? reinterpret_cast<PFN_GETDISKFREESPACEEX>(reinterpret_cast<void*>(
                                  ::GetProcAddress(hKernel, "GetDiskFreeSpaceExW")))
                            : NULL;
        ::InterlockedExchange(&s_bDiskFreeSpaceExLookedUp, TRUE);
    }

    CString strPath = strRootPath;
    // Shares are only understood with their final backslash.
    if (strPath.GetLength() >= 2 && strPath[0] == _T('\\') && strPath[1] == _T('\\') &&
        strPath[strPath.GetLength() - 1] != _T('\\'))
        strPath += _T('\\');

    if (nFlags & CDiskInfo::infoDriveType)
        info.m_nDriveType = ::GetDriveTypeW(strPath);

    if (nFlags & CDiskInfo::infoVolume) {
        WCHAR szVolume[32];
        WCHAR szFileSystem[10];
        DWORD dwSerial = 0;
        DWORD dwMaxComponent = 0;
        DWORD dwFlags = 0;
        if (!::GetVolumeInformationW(strPath, szVolume, 32, &dwSerial, &dwMaxComponent, &dwFlags,
                                     szFileSystem, 10))
            return FALSE;
        szVolume[31] = 0;
        szFileSystem[9] = 0;
        info.m_strVolumeName = szVolume;
        info.m_dwSerialNumber = dwSerial;
        info.m_dwMaxComponentLength = dwMaxComponent;
        info.m_fileSystemFlags = dwFlags;
        info.m_strFileSystemName = szFileSystem;
    }

    if (nFlags & CDiskInfo::infoClusters) {
        if (!::GetDiskFreeSpaceW(strPath, &info.m_dwSectorsPerCluster, &info.m_dwBytesPerSector,
                                 &info.m_dwFreeClusters, &info.m_dwTotalClusters))
            return FALSE;
    }

    if (nFlags & CDiskInfo::infoBytes) {
        if (s_pfnGetDiskFreeSpaceEx != NULL) {
            ULARGE_INTEGER available, total, totalFree;
            if (!s_pfnGetDiskFreeSpaceEx(strPath, &available, &total, &totalFree))
                return FALSE;
            info.m_nFreeBytesAvailable = available.QuadPart;
            info.m_nTotalBytes = total.QuadPart;
            info.m_nTotalFreeBytes = totalFree.QuadPart;
        } else {
            DWORD dwSectors = info.m_dwSectorsPerCluster;
            DWORD dwBytes = info.m_dwBytesPerSector;
            DWORD dwFree = info.m_dwFreeClusters;
            DWORD dwTotal = info.m_dwTotalClusters;
            if (!(nFlags & CDiskInfo::infoClusters) &&
                !::GetDiskFreeSpaceW(strPath, &dwSectors, &dwBytes, &dwFree, &dwTotal))
                return FALSE;
            const unsigned __int64 nCluster = (unsigned __int64)dwSectors * dwBytes;
            info.m_nTotalBytes = dwTotal * nCluster;
            info.m_nTotalFreeBytes = dwFree * nCluster;
            info.m_nFreeBytesAvailable = info.m_nTotalFreeBytes;
        }
    }
    return TRUE;
}

void CSystem::GetLogicalDrives(CStringArray& drives)
{
    drives.SetSize(26);
    DWORD dwMask = ::GetLogicalDrives();
    int nCount = 0;
    for (int i = 0; i < 26; i++) {
        if (dwMask & (1UL << i)) {
            CString strDrive;
            strDrive.Format(_T("%c:"), (TCHAR)(_T('A') + i));
            drives.SetAt(nCount++, strDrive);
        }
    }
    drives.SetSize(nCount);
}
