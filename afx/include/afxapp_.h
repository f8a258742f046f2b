// afxapp_.h - threads and the application.
//
//   CWinThread        a thread of the framework: worker (a controlling function) or
//                     user-interface thread (a message loop with idle processing)
//   CCommandLineInfo  what the command line asks for (file, /p, /dde, /nologo...)
//   CWinApp           the application: its main thread, profile, command line
//   AfxBeginThread, AfxEndThread, AfxGetThread, AfxGetApp, AfxGetMainWnd,
//   AfxWinInit, AfxMessageBox
//
// Included by afxwin.h after CWnd.
#pragma once

typedef UINT (AFX_CDECL* AFX_THREADPROC)(LPVOID);

/////////////////////////////////////////////////////////////////////////////
// CWinThread

class AFX_CORE_CLASS CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)

public:
// Constructors
    CWinThread();
    // A worker thread that runs pfnThreadProc(pParam); CreateThread starts it.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
        LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

// Attributes
    CWnd* m_pMainWnd;       // the thread's main window (its quit follows the window's)
    CWnd* m_pActiveWnd;     // the active main window while it is an embedded server's
    BOOL m_bAutoDelete;     // the object deletes itself when the thread ends

    HANDLE m_hThread;
    operator HANDLE() const { return m_hThread; }
    DWORD m_nThreadID;

    int GetThreadPriority();
    BOOL SetThreadPriority(int nPriority);

// Operations
    DWORD SuspendThread();
    DWORD ResumeThread();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

// Overridables
    // User-interface threads: set up in InitInstance; FALSE ends the thread.
    virtual BOOL InitInstance();
    // The message loop: pumps messages and calls OnIdle while the queue is empty,
    // until WM_QUIT; returns ExitInstance's result.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    // lCount counts the idle calls since the last message; TRUE asks for more.
    // Count 0 updates the user interface, count 1 deletes the temporary objects.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that do not end an idle period (mouse moves to the same
    // place, WM_PAINT, the framework's idle kick).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    // Called for an exception that a message handler did not catch: reports it
    // (user exceptions are silent) and returns the result for the message.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    // A message filter hook (WH_MSGFILTER) calls this in modal states.
    virtual BOOL ProcessMessageFilter(int code, LPMSG lpMsg);
    virtual CWnd* GetMainWnd();

// Implementation
    virtual ~CWinThread();
    virtual void Delete();

    void CommonConstruct();

    // Worker threads
    LPVOID m_pThreadParams;
    AFX_THREADPROC m_pfnThreadProc;

    // The message being handled by the loop, and the last mouse position (for
    // IsIdleMessage).
    MSG m_msgCur;
    CPoint m_ptCursorLast;
    UINT m_nMsgLast;
    int m_nDisablePumpCount;

    // Dispatches a thread message (no window) through the thread's map.
    BOOL DispatchThreadMessageEx(MSG* msg);

    DECLARE_MESSAGE_MAP()
};

// Starts a worker thread that runs pfnThreadProc(pParam); the returned object
// deletes itself when the thread ends. NULL on failure.
AFX_CORE_API CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
    int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0, DWORD dwCreateFlags = 0,
    LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// Starts a user-interface thread of the dynamically creatable class.
AFX_CORE_API CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass,
    int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0, DWORD dwCreateFlags = 0,
    LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// Ends the calling framework thread; its object is deleted when bDelete and
// its auto-delete flag allow.
[[noreturn]] AFX_CORE_API void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);

// The calling thread's CWinThread (the application on the main thread), or NULL.
AFX_CORE_API CWinThread* AFXAPI AfxGetThread();
// The main window of the calling thread, else of the application.
AFX_CORE_API CWnd* AFXAPI AfxGetMainWnd();
// The framework's message pump for one message; FALSE after WM_QUIT.
AFX_CORE_API BOOL AFXAPI AfxPumpMessage();
// TRUE while pMsg is of the kind that ends idle processing.
AFX_CORE_API BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg);

/////////////////////////////////////////////////////////////////////////////
// CCommandLineInfo

class AFX_CORE_CLASS CCommandLineInfo : public CObject
{
public:
    CCommandLineInfo();
    virtual ~CCommandLineInfo();

    // One argument at a time: bFlag for "/x" and "-x" (without the sign),
    // bLast for the final one.
    virtual void ParseParam(LPCTSTR lpszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;     // FALSE for /Embedding and /Automation
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;

    enum
    {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand;

    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(LPCTSTR pszParam);
    void ParseParamNotFlag(LPCTSTR pszParam);
    void ParseLast(BOOL bLast);
};

/////////////////////////////////////////////////////////////////////////////
// CWinApp

class AFX_CORE_CLASS CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)

public:
// Constructor
    // The application object is global: its constructor registers it as the
    // module's application (AfxGetApp).
    explicit CWinApp(LPCTSTR lpszAppName = NULL);

// Attributes
    HINSTANCE m_hInstance;
    HINSTANCE m_hPrevInstance;
    LPTSTR m_lpCmdLine;
    int m_nCmdShow;

    LPCTSTR m_pszAppName;       // the title of message boxes
    LPCTSTR m_pszRegistryKey;   // the company key under HKCU\Software, or NULL (INI file)
    LPCTSTR m_pszExeName;       // the program's file name without extension
    LPCTSTR m_pszHelpFilePath;
    LPCTSTR m_pszProfileName;   // the INI file, or the application key under the company key

// Initialisation
    virtual BOOL InitApplication();
    // Keeps the profile under HKEY_CURRENT_USER\Software\<company>\<application>.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // Splits the command line and hands every argument to rCmdInfo.ParseParam.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);

// Profile: in the registry after SetRegistryKey, else in the INI file
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // *ppData is allocated with new BYTE[]; the caller deletes it.
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // Registry keys of the profile (the caller closes them), NULL when the profile
    // is an INI file or the key cannot be opened.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);

// Resources
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HCURSOR LoadOEMCursor(UINT nIDCursor) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;
    HICON LoadOEMIcon(UINT nIDIcon) const;

// Overridables
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL OnIdle(LONG lCount);
    // Message boxes of the application (AfxMessageBox ends here).
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    // Disables (FALSE) or re-enables the application's modeless windows while a
    // modal state runs.
    virtual void DoWaitCursor(int nCode);     // 1 begin, -1 end, 0 restore
    void EnableModeless(BOOL bEnable);        // the main window's modeless state

// Implementation
    virtual ~CWinApp();

    HCURSOR m_hcurWaitCursorRestore;
    int m_nWaitCursorCount;

    DECLARE_MESSAGE_MAP()
};

// The application object of the current module, or NULL.
AFX_CORE_API CWinApp* AFXAPI AfxGetApp();
// Sets up the framework for the application (instance, command line, show state);
// AfxWinMain and test programs call it before InitInstance.
AFX_CORE_API BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance,
    LPTSTR lpCmdLine, int nCmdShow);
AFX_CORE_API void AFXAPI AfxWinTerm();
// The framework's WinMain: AfxWinInit, InitApplication, InitInstance, Run.
AFX_CORE_API int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance,
    LPTSTR lpCmdLine, int nCmdShow);

// Message boxes owned by the application's safe owner, titled with its name.
AFX_CORE_API int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is string nIDPrompt of the resource chain.
AFX_CORE_API int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
