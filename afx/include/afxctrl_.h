// afxctrl_.h - the standard controls.
//
//   CStatic        a static control: text, icon, bitmap, cursor or metafile
//   CButton        a push button, check box, radio button or group box
//   CEdit          an edit control, single- or multi-line
//   CListBox       a list box; owner-draw lists draw through its overridables
//   CCheckListBox  an owner-draw list box with a check box in front of each item
//   CComboBox      a combo box; owner-draw combos draw through its overridables
//
// Each class creates the system's own window class and wraps its messages. The
// owner-draw messages a control sends to its parent come back to the control
// (CWnd::OnChildNotify) and reach the overridables there.
// Included by afxwin.h after the dialog data exchange.
#pragma once

/////////////////////////////////////////////////////////////////////////////
// CStatic

class AFX_CORE_CLASS CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)

public:
// Construction
    CStatic();
    virtual BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
        UINT nID = 0xffff);

// Attributes: the image shown (the style chooses which kind); each Set answers
// the image shown before, which the caller still owns.
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    HCURSOR SetCursor(HCURSOR hCursor);
    HCURSOR GetCursor();
    HENHMETAFILE SetEnhMetaFile(HENHMETAFILE hMetaFile);
    HENHMETAFILE GetEnhMetaFile() const;

// Implementation
    virtual ~CStatic();
};

/////////////////////////////////////////////////////////////////////////////
// CButton

class AFX_CORE_CLASS CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)

public:
// Construction
    CButton();
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
        UINT nID);

// Attributes
    // BST_PUSHED, BST_FOCUS and the check state bits.
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    // 0 clear, 1 checked, 2 indeterminate.
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

    // The image of a BS_ICON or BS_BITMAP button; each Set answers the old one.
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    HCURSOR SetCursor(HCURSOR hCursor);
    HCURSOR GetCursor();

// Overridables
    // Draws a BS_OWNERDRAW button; by default it does nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

// Implementation
    virtual ~CButton();
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

/////////////////////////////////////////////////////////////////////////////
// CEdit

class AFX_CORE_CLASS CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)

public:
// Construction
    CEdit();
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

// Attributes
    BOOL CanUndo() const;
    int GetLineCount() const;
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    // The formatting rectangle; SetRectNP does not repaint.
    void GetRect(LPRECT lpRect) const;
    // The selection as LOWORD start, HIWORD end, or as two numbers.
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    // The text buffer of a multi-line edit (created with DS_LOCALEDIT in a dialog).
    HLOCAL GetHandle() const;
    void SetHandle(HLOCAL hBuffer);
    void SetMargins(UINT nLeft, UINT nRight);
    DWORD GetMargins() const;   // LOWORD left, HIWORD right
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    CPoint PosFromChar(UINT nChar) const;
    // LOWORD the character nearest to pt, HIWORD its line.
    int CharFromPos(CPoint pt) const;

    // One line without a terminating zero: the first WORD of lpszBuffer holds
    // the buffer's size in characters; the second form sets it from nMaxLength.
    // Both answer the number of characters copied.
    int GetLine(int nIndex, LPTSTR lpszBuffer) const;
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;

// Operations
    void EmptyUndoBuffer();
    // Soft line breaks (CR CR LF) in the text on or off.
    BOOL FmtLines(BOOL bAddEOL);
    // 0 lifts the limit to the largest the control takes.
    void LimitText(int nChars = 0);
    // -1 stands for the line (character) of the caret.
    int LineFromChar(int nIndex = -1) const;
    int LineIndex(int nLine = -1) const;
    int LineLength(int nLine = -1) const;
    void LineScroll(int nLines, int nChars = 0);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void SetPasswordChar(TCHAR ch);
    void SetRect(LPCRECT lpRect);
    void SetRectNP(LPCRECT lpRect);
    // A start of -1 removes the selection; a range of 0, -1 selects everything.
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    // In dialog units; no stops at all means one every 32 units.
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops);
    void SetTabStops();
    BOOL SetTabStops(const int& cxEachStop);

    BOOL Undo();
    void Clear();
    void Copy();
    void Cut();
    void Paste();

    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    int GetFirstVisibleLine() const;
    TCHAR GetPasswordChar() const;

// Implementation
    virtual ~CEdit();
};

/////////////////////////////////////////////////////////////////////////////
// CListBox

class AFX_CORE_CLASS CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)

public:
// Construction
    CListBox();
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

// Attributes, all lists
    int GetCount() const;
    int GetHorizontalExtent() const;
    void SetHorizontalExtent(int cxExtent);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    LCID GetLocale() const;
    LCID SetLocale(LCID nNewLocale);
    // Reserves room for nItems items of nBytes text in all; answers the items
    // that fit now, or LB_ERRSPACE.
    int InitStorage(int nItems, UINT nBytes);
    // The item nearest to pt; bOutside tells whether pt lies outside all items.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;

// Attributes, single-selection lists
    int GetCurSel() const;
    int SetCurSel(int nSelect);     // -1 clears the selection

// Attributes, multiple-selection lists
    int GetSel(int nIndex) const;   // > 0 selected
    int SetSel(int nIndex, BOOL bSelect = TRUE);    // nIndex -1: all items
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, LPINT rgIndex) const;
    void SetAnchorIndex(int nIndex);
    int GetAnchorIndex() const;

// Attributes, items
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    int GetItemRect(int nIndex, LPRECT lpRect) const;
    // The text of an item: into a buffer of GetTextLen() + 1 characters, or into
    // a string (empty for an item that does not exist).
    int GetText(int nIndex, LPTSTR lpszBuffer) const;
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;

// Attributes, layout
    void SetColumnWidth(int cxWidth);
    // In dialog units; no stops at all means one every 2 units.
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops);
    void SetTabStops();
    BOOL SetTabStops(const int& cxEachStop);
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int GetCaretIndex() const;
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE);

// Operations
    int AddString(LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    void ResetContent();
    // Adds the file names that match lpszWildCard with the DDL_* attributes.
    int Dir(UINT attr, LPCTSTR lpszWildCard);
    // Searches after nStartAfter (-1: from the top) for an item beginning with
    // lpszItem; SelectString also selects it.
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int SelectString(int nStartAfter, LPCTSTR lpszItem);
    int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem);

// Overridables, for owner-draw lists; each does nothing by default.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // As strcmp: -1, 0 or 1 for the first item before, with or after the second.
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
    // For LBS_WANTKEYBOARDINPUT lists: -2 handled, -1 the list's own action,
    // otherwise the item the list acts on. By default -1.
    virtual int VKeyToItem(UINT nKey, UINT nIndex);
    virtual int CharToItem(UINT nKey, UINT nIndex);

// Implementation
    virtual ~CListBox();
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

/////////////////////////////////////////////////////////////////////////////
// CCheckListBox: each item carries a check state (0, 1 or 2 for indeterminate)
// and an enabled flag besides the caller's item data, which GetItemData and
// SetItemData keep reaching. A click on the box or the space bar changes the
// state of an enabled item (automatic styles) and sends CLBN_CHKCHANGE to the
// parent as WM_COMMAND.

class AFX_CORE_CLASS CCheckListBox : public CListBox
{
    DECLARE_DYNAMIC(CCheckListBox)

public:
// Construction
    CCheckListBox();
    // The style must hold LBS_HASSTRINGS and LBS_OWNERDRAWFIXED or
    // LBS_OWNERDRAWVARIABLE; FALSE otherwise.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

// Attributes
    // BS_CHECKBOX, BS_AUTOCHECKBOX (the default), BS_AUTO3STATE or BS_3STATE;
    // other values leave the style as it is.
    void SetCheckStyle(UINT nStyle);
    UINT GetCheckStyle();
    // 0, 1, or 2 for the three-state styles; other values and items that do
    // not exist change nothing. GetCheck answers 0 for an item that does not exist.
    void SetCheck(int nIndex, int nCheck);
    int GetCheck(int nIndex);
    // A disabled item is drawn grey and ignores clicks and the space bar.
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex);

// Overridables
    // Draws the text of the item (lists with strings) to the right of its box;
    // lpDrawItemStruct->itemData is the caller's item data.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

// Implementation
    virtual ~CCheckListBox();
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    struct CheckData;

    int CalcMinimumItemHeight();
    CSize GetCheckSize() const;
    void InvalidateCheck(int nIndex);
    // The item under point (-1 for none) and whether point is on its box.
    int CheckFromPoint(CPoint point, BOOL& bInCheck);
    // The next state after a click or the space bar.
    int NextCheck(int nCheck) const;
    // Sets the check of nIndex (and, for a list with several selections, of the
    // other selected items) and tells the parent.
    void ToggleFromUser(int nIndex);

    // The record of an item; bCreate makes one for an item that has none yet.
    CheckData* GetCheckData(int nIndex, BOOL bCreate);
    CheckData* RecordOf(DWORD_PTR dwRaw) const;
    DWORD_PTR UserDataOf(DWORD_PTR dwRaw) const;
    void FreeAllCheckData();

    void PreDrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    void PreMeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    int PreCompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    void PreDeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
    virtual void PreSubclassWindow();

    int m_cyText;
    UINT m_nStyle;
    // Every record this list made, so that item data can be told apart from
    // them and none outlives the items.
    CMapPtrToPtr m_records;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBAddString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBInsertString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBDeleteString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBResetContent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBFindString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBGetItemData(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBSetItemData(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLBSetItemHeight(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

/////////////////////////////////////////////////////////////////////////////
// CComboBox

class AFX_CORE_CLASS CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)

public:
// Construction
    CComboBox();
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

// Attributes, the list
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);     // -1 clears the selection and the edit
    LCID GetLocale() const;
    LCID SetLocale(LCID nNewLocale);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    int InitStorage(int nItems, UINT nBytes);
    void SetHorizontalExtent(UINT nExtent);
    UINT GetHorizontalExtent() const;
    int SetDroppedWidth(UINT nWidth);
    int GetDroppedWidth() const;

// Attributes, the edit
    // The selection as LOWORD start, HIWORD end.
    DWORD GetEditSel() const;
    BOOL LimitText(int nMaxChars);
    // A start of -1 removes the selection; an end of -1 runs to the end of the text.
    BOOL SetEditSel(int nStartChar, int nEndChar);

// Attributes, items
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;

    // nIndex -1 is the edit (selection field), otherwise a list item.
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    // The extended interface: F4 no longer drops the list, the down arrow does.
    int SetExtendedUI(BOOL bExtended = TRUE);
    BOOL GetExtendedUI() const;
    void GetDroppedControlRect(LPRECT lprect) const;
    BOOL GetDroppedState() const;

// Operations
    void ShowDropDown(BOOL bShowIt = TRUE);
    int AddString(LPCTSTR lpszString);
    int DeleteString(UINT nIndex);
    int InsertString(int nIndex, LPCTSTR lpszString);
    void ResetContent();
    int Dir(UINT attr, LPCTSTR lpszWildCard);
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    int SelectString(int nStartAfter, LPCTSTR lpszString);

    // The edit's clipboard operations.
    void Clear();
    void Copy();
    void Cut();
    void Paste();

// Overridables, for owner-draw combo boxes; each does nothing by default.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

// Implementation
    virtual ~CComboBox();
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};
