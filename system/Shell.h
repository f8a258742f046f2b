// Shell.h - static helpers over the Windows shell.
//
//   CShell   special folders as item lists and paths, item list <-> path conversion,
//            the shell's allocator and desktop folder, the explorer instance, starting
//            documents and programs through the shell
//
// Nothing here throws. Most members return a pointer or a text only, so the shell's
// result code of the last call is kept in s_hResult and read with GetLastError. It is one
// process-wide value without a lock: with several threads, it is the last call of any.
#pragma once

#include <afx.h>

#include <shellapi.h>
#include <shlobj.h>

class AFX_EXT_CLASS CShell
{
public:
    // The shell folders, in the alphabetical order of their CSIDL names.
    enum SpecialFolder
    {
        shellAltStartup,
        shellAppData,
        shellBitBucket,
        shellCommonAltStartup,
        shellCommonDesktopDirectory,
        shellCommonFavorites,
        shellCommonPrograms,
        shellCommonStartMenu,
        shellCommonStartup,
        shellControls,
        shellCookies,
        shellDesktop,
        shellDesktopDirectory,
        shellDrives,
        shellFavorites,
        shellFonts,
        shellHistory,
        shellInternet,
        shellInternetCache,
        shellNetHood,
        shellNetwork,
        shellPersonal,
        shellPrinters,
        shellPrintHood,
        shellPrograms,
        shellRecent,
        shellSendTo,
        shellStartMenu,
        shellStartup,
        shellTemplates
    };

// Attributes
    // The HRESULT of the last shell call made by a CShell member.
    static LONG GetLastError();

// Folders and item lists
    // The folder's item list, or NULL; the caller frees it with the shell allocator.
    // A value outside the enumeration gives NULL and E_INVALIDARG.
    static LPITEMIDLIST GetSpecialFolderLocation(SpecialFolder folder);
    // The folder's file-system path; empty for virtual folders (printers, network, ...).
    static CString GetSpecialFolderPath(SpecialFolder folder);
    // The file-system path of an item list; empty and E_FAIL when it has none.
    static CString GetPathFromIDList(LPITEMIDLIST pidl);
    // The item list of a path as the desktop folder parses it, or NULL.
    static LPITEMIDLIST GetIDListFromPath(const CString& strPath);

// Shell objects; the caller releases each interface it is given
    static IMalloc* GetIMalloc();
    static IShellFolder* GetDesktopFolder();
    static IUnknown* GetExplorer();

// Starting documents and programs. Each returns ShellExecuteExW's result; why a start
// failed is in the platform's last error (s_hResult is left alone). The window of the
// start is the framework's safe owner, so messages the shell shows are owned properly.
    // The record as given, with its window replaced by the safe owner of that window.
    static BOOL Execute(SHELLEXECUTEINFOW& info);
    // Empty texts are passed as empty texts; the shell reads an empty verb as "open".
    static BOOL Execute(const CString& strVerb, const CString& strFile,
        const CString& strParameters, const CString& strDirectory);
    static BOOL Execute(const CString& strVerb, const CString& strFile,
        const CString& strParameters);
    // Opens the file (the verb "open").
    static BOOL Execute(const CString& strFile, const CString& strParameters);
    static BOOL Execute(const CString& strFile);

    CShell& operator=(const CShell& other);

protected:
    static LONG s_hResult;
};
