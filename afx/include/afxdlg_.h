// afxdlg_.h - dialogs and dialog data exchange.
//
//   CDataExchange   the state of one UpdateData pass (CWnd::UpdateData)
//   CDialog         a dialog box from a template: modal (DoModal) or modeless
//                   (Create), with data exchange on OK and the keyboard
//                   interface of the system's dialogs
//   DDX_*, DDV_*    moving values between controls and members, and checking them
//   CScrollBar      a scroll-bar control
//
// Included by afxwin.h after the application classes.
#pragma once

/////////////////////////////////////////////////////////////////////////////
// Dialog data exchange

class AFX_CORE_CLASS CDataExchange
{
public:
// Attributes
    // First field, and the one that other code depends on: TRUE while values go
    // from the controls to the members (and are checked).
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

// Operations
    // The control with that id, made the one a failed check returns to.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit control (its text is selected when a check fails).
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus back on the last prepared control and throws CUserException;
    // UpdateData catches it and returns FALSE.
    [[noreturn]] void Fail();

// Implementation
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    HWND m_hWndLastControl;
    BOOL m_bEditLastControl;
};

/////////////////////////////////////////////////////////////////////////////
// CDialog

class AFX_CORE_CLASS CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
// Modeless construction: CDialog() then Create or CreateIndirect
    CDialog();
    // The template is found along the resource chain. FALSE when it is missing or
    // the window cannot be made (also when OnInitDialog ends the dialog).
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    // From a template in memory, which must stay valid during the call only.
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL,
        void* lpDialogInit = NULL);
    virtual BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = NULL);

// Modal construction: a template id or name, then DoModal
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    // A template in memory for DoModal; it must stay valid until DoModal returns.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL,
        void* lpDialogInit = NULL);
    // hDialogTemplate: a loaded resource (LoadResource) or a fixed memory block.
    BOOL InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = NULL);

// Attributes
    // Dialog units to pixels for this dialog's font.
    void MapDialogRect(LPRECT lpRect) const;
    void SetHelpID(UINT nIDR);

// Operations
    // Runs the dialog until EndDialog and returns its result; -1 when the
    // template is missing or the dialog cannot be created.
    virtual int DoModal();

    // Focus moves as Tab, Shift+Tab and a click would move it.
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);

    // The default push button (DM_SETDEFID / DM_GETDEFID).
    void SetDefID(UINT nID);
    DWORD GetDefID() const;

    // Ends a modal dialog with nResult (DoModal returns it); a modeless dialog
    // is only hidden and must be destroyed by its owner.
    void EndDialog(int nResult);

// Overridables
    // Fills the controls (UpdateData(FALSE)); TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    // The dialog's font, before the controls are made.
    virtual void OnSetFont(CFont* pFont);

protected:
    // OK reads and checks the controls (UpdateData(TRUE)) and ends the dialog
    // with IDOK; a refused value keeps it open. Cancel ends it with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

// Implementation
public:
    virtual ~CDialog();
    // The dialog's keyboard interface (IsDialogMessage) for its own messages
    // and those of its controls.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Commands nobody in the dialog handles go on to its parent, then the thread.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // Centred by the framework unless the template positions the dialog itself.
    virtual BOOL CheckAutoCenter();

protected:
    UINT m_nIDHelp;                 // help id (the template id by default)

    // What DoModal and Create work from: a resource name, else a template in
    // memory (handle or pointer).
    LPCTSTR m_lpszTemplateName;
    HGLOBAL m_hDialogTemplate;
    LPCDLGTEMPLATE m_lpDialogTemplate;
    void* m_lpDialogInit;
    CWnd* m_pParentWnd;
    HWND m_hWndTop;                 // the top-level window disabled while modal

    // Called before the dialog procedure sees WM_INITDIALOG.
    virtual void PreInitDialog();

    // The modal sequence around a dialog that the system runs itself (common
    // dialogs): PreModal disables the safe owner's top-level window (m_hWndTop),
    // hooks the next window's creation for this object and returns the owner;
    // PostModal undoes all of that.
    HWND PreModal();
    void PostModal();

    // Creates the dialog window with this object attached before its first
    // message; FALSE when it could not, or when OnInitDialog ended it.
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd,
        void* lpDialogInit, HINSTANCE hInst);
    BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);

    afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
    afx_msg LRESULT HandleSetFont(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct();
    BOOL CreateDlgWindow(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndParent, HINSTANCE hInst);
    // The template DoModal and CheckAutoCenter use, and the module it is from.
    LPCDLGTEMPLATE LockTemplate(HINSTANCE* phInst) const;
};

// The dialog procedure of every framework dialog: WM_INITDIALOG goes to
// CDialog::OnInitDialog, everything else to the framework's window procedure.
AFX_CORE_API INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

/////////////////////////////////////////////////////////////////////////////
// Dialog data exchange functions. Saving, a refused number shows the
// framework's prompt and fails the exchange (CDataExchange::Fail).

// Edit controls: the text as a number (leading and trailing blanks allowed,
// nothing else) or as it is.
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value);

// Buttons: the check state (0, 1, 2), and the index of the checked radio button
// of the group that starts at nIDC (-1: none).
AFX_CORE_API void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
AFX_CORE_API void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// List and combo boxes: the selected item's text (loading selects the first
// item that starts with it, or exactly matches it) or index.
AFX_CORE_API void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
AFX_CORE_API void AFXAPI DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value);
AFX_CORE_API void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
AFX_CORE_API void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
AFX_CORE_API void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
AFX_CORE_API void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);

// A scroll-bar control's position.
AFX_CORE_API void AFXAPI DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);

// Attaches (subclasses) the control to rControl the first time only.
AFX_CORE_API void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Validation, after the DDX_ call of the same control; nothing happens while
// the dialog is being filled, except that DDV_MaxChars limits an edit's text.
AFX_CORE_API void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
AFX_CORE_API void AFXAPI DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
AFX_CORE_API void AFXAPI DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
AFX_CORE_API void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
AFX_CORE_API void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
AFX_CORE_API void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
AFX_CORE_API void AFXAPI DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
AFX_CORE_API void AFXAPI DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal);
AFX_CORE_API void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);

/////////////////////////////////////////////////////////////////////////////
// CScrollBar: a scroll-bar control

class AFX_CORE_CLASS CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)

public:
    CScrollBar();
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetScrollPos() const;
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void ShowScrollBar(BOOL bShow = TRUE);
    BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH);
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int GetScrollLimit();

    virtual ~CScrollBar();
};
