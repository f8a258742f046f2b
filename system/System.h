// System.h - the system facade.
//
//   CSystem   static functions that ask the platform about the machine, the process
//             and its environment; it has no objects and keeps no per-object data
//
// The plain queries ask the platform anew on every call and take no lock. The
// operating-system and GUI records are identified once and cached; each cache has a
// critical section of its own, taken only when the cache is still empty. The GUI lock
// may be held while the OS lock is taken, never the other way round.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxmt.h>
#include <afxtempl.h>
#include <afxwin.h>

#include "DiskInfo.h"
#include "GUIInfo.h"
#include "WivoLocale.h"
#include "OSInfo.h"
#include "ProcessorInfo.h"

class AFX_EXT_CLASS CSystem
{
public:
    // Folders whose paths the system keeps in the registry (and three it reports
    // through functions of its own).
    enum SpecialFolder
    {
        folderAppData,
        folderCommonAppData,
        folderCommonDesktop,
        folderCommonFavorites,
        folderCommonFiles,
        folderCommonPrograms,
        folderCommonStartMenu,
        folderCommonStartup,
        folderCookies,
        folderDesktop,
        folderFavorites,
        folderFonts,
        folderHistory,
        folderInternetCache,
        folderLocalAppData,
        folderPersonal,
        folderProgramFiles,
        folderPrograms,
        folderRecent,
        folderSendTo,
        folderStartMenu,
        folderStartup,
        folderSystem,
        folderTemplates,
        folderTemporary,
        folderWindows,
    };

// Error texts
public:
    // The system's text for a Win32 error code without its final line break; when the
    // system has none, "<no message available> - Fehler: <code in decimal>". Further
    // arguments are accepted for compatibility and ignored. Never throws.
    static CString AFX_CDECL GetErrorMessage(DWORD dwErrorCode, ...);

// Folders, environment and process
public:
    // The path as the registry stores it (REG_EXPAND_SZ references stay unexpanded);
    // empty when it is missing or the value is no SpecialFolder.
    static CString GetFolderPath(SpecialFolder folder);

    // FALSE, leaving strValue alone, when the variable is missing or empty.
    static BOOL GetEnvironmentVariable(const CString& strName, CString& strValue);
    static CString GetEnvironmentVariable(const CString& strName);
    // Replaces the map's contents with every NAME=value of the environment; entries
    // without a name (the per-drive directories "=C:=...") are left out.
    static void GetEnvironmentVariables(CMapStringToString& map);
    // Empty when the expansion fails.
    static CString ExpandEnvironmentVariables(const CString& strText);

    static CString GetCommandLine();
    // The program's arguments as the run-time library split them, the program first.
    static void GetCommandLineArgs(CStringArray& args);
    static CString GetCurrentDirectory();
    static BOOL SetCurrentDirectory(const CString& strPath);

    // Ends the process with the exit code.
    static __declspec(noreturn) void Exit(DWORD dwExitCode);

// Screen, mouse, user and time
public:
    static CSize GetScreenResolution();
    static BYTE GetScreenColorDepth();
    static BOOL HasMouse();
    static BYTE GetMouseButtonCount();
    static CString GetComputerName();
    static CString GetUserName();
    static CLocale GetSystemLocale();
    static CTime GetUTCDateTime();
    static CTime GetLocalDateTime();
    static void GetMemoryStatus(MEMORYSTATUS& status);

// Operating system, GUI and disks
public:
    // Identified on first use and cached; a system that was not recognised (code 0)
    // is identified again on the next call.
    static const COSInfo& GetOSInfo();
    static const CGUIInfo& GetGUIInfo();
    // Fills the groups of info chosen by the CDiskInfo::info... flags; FALSE when the
    // volume or free-space query fails (groups filled before stay filled).
    static BOOL GetDiskInfo(const CString& strRootPath, UINT nFlags, CDiskInfo& info);
    // "A:", "C:", ... for every drive present, in letter order.
    static void GetLogicalDrives(CStringArray& drives);

    // How often the operating system was identified in this process; one per
    // process once it was recognised. For diagnostics and tests.
    static LONG GetOSInfoDetectionCount();

// Processors
public:
    // Detected on the first call of any of the three, one record per processor in
    // processor-index order, and served from the cache afterwards.
    static UINT GetProcessorCount();
    static const CProcessorInfo& GetProcessorInfo();
    static const CArray<CProcessorInfo, CProcessorInfo&>& GetProcessorsInfos();

    // How often the processors were detected in this process. For diagnostics and
    // tests.
    static LONG GetProcessorDetectionCount();

// Ports
public:
    // "COM1", "COM2", "COM10", ... sorted by port number. Searched on the first call
    // that finds none cached; a machine without such ports is searched again at
    // every call.
    static void GetSerialPorts(CStringArray& ports);
    // "LPT1", ... in the same way.
    static void GetParallelPorts(CStringArray& ports);

    // How often the registry was searched for ports of either kind. For
    // diagnostics and tests.
    static LONG GetPortSearchCount();

// Implementation
private:
    static void UpdateProcessorInfo();

protected:
    static CArray<CProcessorInfo, CProcessorInfo&> s_processors;
    static CCriticalSection s_csUpdateProcessorInfo;
    static COSInfo s_osInfo;
    static CGUIInfo s_guiInfo;
    static CCriticalSection s_csGetOSInfo;
    static CCriticalSection s_csGetGUIInfo;
    static CStringArray s_strSerialPorts;
    static CStringArray s_strParallelPorts;
    static CCriticalSection s_csGetSerialPorts;
    static CCriticalSection s_csGetParallelPorts;
};
