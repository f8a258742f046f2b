// ReportWriter.h - how the system report reaches its reader.
//
//   CStdStream           standard output or standard error: UTF-16 to a console,
//                        UTF-8 bytes to a pipe or file
//   CReportValue         one value of the report: what a program reads (JSON) and
//                        what a person reads (text)
//   CReportWriter        the structure of the report: sections, groups, lists of
//                        records and fields
//   CTextReportWriter    German text with aligned labels
//   CJsonReportWriter    one JSON object, keys in the order they were written
//
// The sections are written once against CReportWriter; the writer decides the form.
#pragma once

#include <afx.h>

#include <vector>

// How the demo programs end: done, a failure while running, a wrong command line.
enum ExitCode
{
    exitOK = 0,
    exitFailed = 1,
    exitUsage = 2
};

class CStdStream
{
public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit CStdStream(DWORD nStdHandle);

    void Write(const CString& strText);

private:
    HANDLE m_hStream;
    BOOL m_bConsole;
};

class CReportValue
{
public:
    enum Kind
    {
        kindNull,
        kindText,
        kindNumber,
        kindBool,
        kindList,
    };

    // A text; an empty one is missing (JSON null) and reads as strMissing.
    static CReportValue Text(const CString& strText, const CString& strMissing);
    // A text that a person reads in another form than a program.
    static CReportValue Text(const CString& strText, const CString& strShown,
                             const CString& strMissing);
    static CReportValue Missing(const CString& strShown);
    // An integer; the text shows strShown, or the plain number when that is empty.
    static CReportValue Number(__int64 nValue, const CString& strShown = CString());
    static CReportValue UnsignedNumber(unsigned __int64 nValue,
                                       const CString& strShown = CString());
    // The text shows the library's "Ja"/"Nein" unless other words are given.
    static CReportValue Bool(BOOL bValue, LPCWSTR pszYes = NULL, LPCWSTR pszNo = NULL);
    // A list of texts; an empty list reads as strNone.
    static CReportValue List(const std::vector<CString>& items, const CString& strNone);

    Kind GetKind() const { return m_kind; }
    // The JSON literal of numbers and truth values, the text of texts.
    const CString& GetData() const { return m_strData; }
    const CString& GetShown() const { return m_strShown; }
    const std::vector<CString>& GetItems() const { return m_items; }

private:
    CReportValue(Kind kind, const CString& strData, const CString& strShown);

    Kind m_kind;
    CString m_strData;
    CString m_strShown;
    std::vector<CString> m_items;
};

class CReportWriter
{
public:
    virtual ~CReportWriter() {}

    virtual void BeginReport(const CString& strTitle) = 0;
    virtual void EndReport() = 0;

    // pszKey names the part for programs (ASCII), the title is for people.
    virtual void BeginSection(LPCWSTR pszKey, const CString& strTitle) = 0;
    virtual void EndSection() = 0;
    virtual void BeginGroup(LPCWSTR pszKey, const CString& strTitle) = 0;
    virtual void EndGroup() = 0;
    // A list of records; strEmpty is what the text says when there are none.
    virtual void BeginList(LPCWSTR pszKey, const CString& strEmpty) = 0;
    virtual void EndList() = 0;
    // The record's identity is its first field for programs, its title for people.
    virtual void BeginRecord(LPCWSTR pszIdKey, const CReportValue& id, const CString& strTitle) = 0;
    virtual void EndRecord() = 0;

    virtual void Field(LPCWSTR pszKey, const CString& strLabel, const CReportValue& value) = 0;
};

class CTextReportWriter : public CReportWriter
{
public:
    explicit CTextReportWriter(CStdStream& out);

    void BeginReport(const CString& strTitle) override;
    void EndReport() override;
    void BeginSection(LPCWSTR pszKey, const CString& strTitle) override;
    void EndSection() override;
    void BeginGroup(LPCWSTR pszKey, const CString& strTitle) override;
    void EndGroup() override;
    void BeginList(LPCWSTR pszKey, const CString& strEmpty) override;
    void EndList() override;
    void BeginRecord(LPCWSTR pszIdKey, const CReportValue& id, const CString& strTitle) override;
    void EndRecord() override;
    void Field(LPCWSTR pszKey, const CString& strLabel, const CReportValue& value) override;

private:
    struct PendingField
    {
        CString strLabel;
        CReportValue value;
    };
    struct OpenList
    {
        CString strEmpty;
        int nRecords;
    };

    // Fields wait until the block ends, so that their values line up.
    void FlushFields();
    void Heading(const CString& strTitle);
    CString Indent() const;

    CStdStream& m_out;
    int m_nDepth;
    BOOL m_bSectionStart;
    std::vector<PendingField> m_fields;
    std::vector<OpenList> m_lists;
};

class CJsonReportWriter : public CReportWriter
{
public:
    explicit CJsonReportWriter(CStdStream& out);

    void BeginReport(const CString& strTitle) override;
    void EndReport() override;
    void BeginSection(LPCWSTR pszKey, const CString& strTitle) override;
    void EndSection() override;
    void BeginGroup(LPCWSTR pszKey, const CString& strTitle) override;
    void EndGroup() override;
    void BeginList(LPCWSTR pszKey, const CString& strEmpty) override;
    void EndList() override;
    void BeginRecord(LPCWSTR pszIdKey, const CReportValue& id, const CString& strTitle) override;
    void EndRecord() override;
    void Field(LPCWSTR pszKey, const CString& strLabel, const CReportValue& value) override;

    // A JSON string literal: quotes, backslashes and control characters escaped.
    static CString Quote(const CString& strText);

private:
    // Starts a member (with its key inside an object) or an element of an array.
    void BeginMember(LPCWSTR pszKey);
    void Open(LPCWSTR pszKey, wchar_t chBracket);
    void Close(wchar_t chBracket);
    CString Literal(const CReportValue& value) const;

    CStdStream& m_out;
    CString m_strDocument;
    // Per open object or array: does it hold a member yet?
    std::vector<bool> m_hasMembers;
};
