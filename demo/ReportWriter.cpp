// ReportWriter.cpp - the text and JSON forms of the system report.
#include "ReportWriter.h"

#include <Wivo.h>

#include <algorithm>
#include <string>

namespace {

// Library texts "Ja" and "Nein" (string table of Wivo10u.dll).
const UINT kIdsYes = 53250;
const UINT kIdsNo = 53251;

// Lines of the text form wrap lists before this column.
const int kTextWidth = 79;

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CStdStream

CStdStream::CStdStream(DWORD nStdHandle) : m_hStream(::GetStdHandle(nStdHandle)), m_bConsole(FALSE)
{
    DWORD dwMode = 0;
    // A console takes UTF-16 as it is; bytes written to it would be read in the
    // console's code page, which is not UTF-8.
    if (m_hStream != NULL && m_hStream != INVALID_HANDLE_VALUE)
        m_bConsole = ::GetConsoleMode(m_hStream, &dwMode);
}

void CStdStream::Write(const CString& strText)
{
    if (m_hStream == NULL || m_hStream == INVALID_HANDLE_VALUE || strText.IsEmpty())
        return;
    if (m_bConsole) {
        LPCWSTR psz = strText;
        int nLeft = strText.GetLength();
        while (nLeft > 0) {
            DWORD nWritten = 0;
            DWORD nChunk = static_cast<DWORD>(std::min(nLeft, 8192));
            if (!::WriteConsoleW(m_hStream, psz, nChunk, &nWritten, NULL) || nWritten == 0)
                return;
            psz += nWritten;
            nLeft -= static_cast<int>(nWritten);
        }
        return;
    }
    int n = ::WideCharToMultiByte(CP_UTF8, 0, strText, strText.GetLength(), NULL, 0, NULL, NULL);
    if (n <= 0)
        return;
    std::string utf8(n, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, strText, strText.GetLength(), &utf8[0], n, NULL, NULL);
    const char* p = utf8.data();
    while (n > 0) {
        DWORD nWritten = 0;
        if (!::WriteFile(m_hStream, p, static_cast<DWORD>(n), &nWritten, NULL) || nWritten == 0)
            return; // a reader that went away ends the output, not the program
        p += nWritten;
        n -= static_cast<int>(nWritten);
    }
}

/////////////////////////////////////////////////////////////////////////////
// CReportValue

CReportValue::CReportValue(Kind kind, const CString& strData, const CString& strShown)
    : m_kind(kind), m_strData(strData), m_strShown(strShown)
{
}

CReportValue CReportValue::Text(const CString& strText, const CString& strMissing)
{
    return Text(strText, strText, strMissing);
}

CReportValue CReportValue::Text(const CString& strText, const CString& strShown,
                                const CString& strMissing)
{
    if (strText.IsEmpty())
        return Missing(strMissing);
    return CReportValue(kindText, strText, strShown);
}

CReportValue CReportValue::Missing(const CString& strShown)
{
    return CReportValue(kindNull, CString(), strShown);
}

CReportValue CReportValue::Number(__int64 nValue, const CString& strShown)
{
    CString strData = CStringEx::Format(L"%I64d", nValue);
    return CReportValue(kindNumber, strData, strShown.IsEmpty() ? strData : strShown);
}

CReportValue CReportValue::UnsignedNumber(unsigned __int64 nValue, const CString& strShown)
{
    CString strData = CStringEx::Format(L"%I64u", nValue);
    return CReportValue(kindNumber, strData, strShown.IsEmpty() ? strData : strShown);
}

CReportValue CReportValue::Bool(BOOL bValue, LPCWSTR pszYes, LPCWSTR pszNo)
{
    CString strShown;
    if (bValue)
        strShown = pszYes != NULL ? CString(pszYes) : CStringEx::LoadString(kIdsYes);
    else
        strShown = pszNo != NULL ? CString(pszNo) : CStringEx::LoadString(kIdsNo);
    return CReportValue(kindBool, bValue ? L"true" : L"false", strShown);
}

CReportValue CReportValue::List(const std::vector<CString>& items, const CString& strNone)
{
    CReportValue value(kindList, CString(), strNone);
    value.m_items = items;
    return value;
}

/////////////////////////////////////////////////////////////////////////////
// CTextReportWriter

CTextReportWriter::CTextReportWriter(CStdStream& out)
    : m_out(out), m_nDepth(0), m_bSectionStart(false)
{
}

void CTextReportWriter::BeginReport(const CString& strTitle)
{
    m_out.Write(strTitle + L"\n" + CString(L'=', strTitle.GetLength()) + L"\n");
}

void CTextReportWriter::EndReport() { FlushFields(); }

void CTextReportWriter::BeginSection(LPCWSTR, const CString& strTitle)
{
    FlushFields();
    m_out.Write(L"\n" + strTitle + L"\n" + CString(L'-', strTitle.GetLength()) + L"\n");
    m_nDepth = 1;
    m_bSectionStart = true;
}

void CTextReportWriter::EndSection()
{
    FlushFields();
    m_nDepth = 0;
}

void CTextReportWriter::BeginGroup(LPCWSTR, const CString& strTitle)
{
    FlushFields();
    Heading(strTitle);
    ++m_nDepth;
}

void CTextReportWriter::EndGroup()
{
    FlushFields();
    --m_nDepth;
}

void CTextReportWriter::BeginList(LPCWSTR, const CString& strEmpty)
{
    FlushFields();
    m_lists.push_back(OpenList{strEmpty, 0});
}

void CTextReportWriter::EndList()
{
    FlushFields();
    if (m_lists.empty())
        return;
    if (m_lists.back().nRecords == 0) {
        m_out.Write(Indent() + m_lists.back().strEmpty + L"\n");
        m_bSectionStart = false;
    }
    m_lists.pop_back();
}

void CTextReportWriter::BeginRecord(LPCWSTR, const CReportValue&, const CString& strTitle)
{
    FlushFields();
    if (!m_lists.empty())
        ++m_lists.back().nRecords;
    Heading(strTitle);
    ++m_nDepth;
}

void CTextReportWriter::EndRecord()
{
    FlushFields();
    --m_nDepth;
}

void CTextReportWriter::Field(LPCWSTR, const CString& strLabel, const CReportValue& value)
{
    m_fields.push_back(PendingField{strLabel, value});
}

void CTextReportWriter::Heading(const CString& strTitle)
{
    // A blank line sets a block apart, but not from the section title just above.
    m_out.Write((m_bSectionStart ? L"" : L"\n") + Indent() + strTitle + L"\n");
    m_bSectionStart = false;
}

CString CTextReportWriter::Indent() const { return CString(L' ', 2 * m_nDepth); }

void CTextReportWriter::FlushFields()
{
    if (m_fields.empty())
        return;
    int nLabelWidth = 0;
    for (const PendingField& field : m_fields)
        nLabelWidth = std::max(nLabelWidth, field.strLabel.GetLength());
    const CString strIndent = Indent();
    const int nValueColumn = strIndent.GetLength() + nLabelWidth + 2;

    CString strBlock;
    for (const PendingField& field : m_fields) {
        CString strLine = strIndent + field.strLabel + L":";
        strLine += CString(L' ', nValueColumn - strLine.GetLength());
        const std::vector<CString>& items = field.value.GetItems();
        if (field.value.GetKind() == CReportValue::kindList && !items.empty()) {
            // Long lists continue under their first entry.
            int nColumn = nValueColumn;
            for (size_t i = 0; i < items.size(); ++i) {
                CString strItem = items[i] + (i + 1 < items.size() ? L"," : L"");
                if (i > 0 && nColumn + 1 + strItem.GetLength() > kTextWidth) {
                    strLine += L"\n" + CString(L' ', nValueColumn);
                    nColumn = nValueColumn;
                } else if (i > 0) {
                    strLine += L' ';
                    ++nColumn;
                }
                strLine += strItem;
                nColumn += strItem.GetLength();
            }
        } else {
            CString strShown = field.value.GetShown();
            strShown.Replace(L"\r\n", L" ");
            strShown.Replace(L'\n', L' ');
            strLine += strShown;
        }
        strBlock += strLine + L"\n";
    }
    m_fields.clear();
    m_out.Write(strBlock);
    m_bSectionStart = false;
}

/////////////////////////////////////////////////////////////////////////////
// CJsonReportWriter

CJsonReportWriter::CJsonReportWriter(CStdStream& out) : m_out(out) {}

void CJsonReportWriter::BeginReport(const CString&)
{
    m_strDocument = L"{";
    m_hasMembers.assign(1, false);
}

void CJsonReportWriter::EndReport()
{
    Close(L'}');
    m_strDocument += L"\n";
    m_out.Write(m_strDocument);
}

void CJsonReportWriter::BeginSection(LPCWSTR pszKey, const CString&) { Open(pszKey, L'{'); }

void CJsonReportWriter::EndSection() { Close(L'}'); }

void CJsonReportWriter::BeginGroup(LPCWSTR pszKey, const CString&) { Open(pszKey, L'{'); }

void CJsonReportWriter::EndGroup() { Close(L'}'); }

void CJsonReportWriter::BeginList(LPCWSTR pszKey, const CString&) { Open(pszKey, L'['); }

void CJsonReportWriter::EndList() { Close(L']'); }

void CJsonReportWriter::BeginRecord(LPCWSTR pszIdKey, const CReportValue& id, const CString&)
{
    Open(NULL, L'{');
    Field(pszIdKey, CString(), id);
}

void CJsonReportWriter::EndRecord() { Close(L'}'); }

void CJsonReportWriter::Field(LPCWSTR pszKey, const CString&, const CReportValue& value)
{
    BeginMember(pszKey);
    m_strDocument += Literal(value);
}

void CJsonReportWriter::BeginMember(LPCWSTR pszKey)
{
    if (m_hasMembers.back())
        m_strDocument += L",";
    m_hasMembers.back() = true;
    m_strDocument += L"\n" + CString(L' ', 2 * static_cast<int>(m_hasMembers.size()));
    if (pszKey != NULL)
        m_strDocument += Quote(pszKey) + L": ";
}

void CJsonReportWriter::Open(LPCWSTR pszKey, wchar_t chBracket)
{
    BeginMember(pszKey);
    m_strDocument += chBracket;
    m_hasMembers.push_back(false);
}

void CJsonReportWriter::Close(wchar_t chBracket)
{
    bool bHadMembers = m_hasMembers.back();
    m_hasMembers.pop_back();
    if (bHadMembers)
        m_strDocument += L"\n" + CString(L' ', 2 * static_cast<int>(m_hasMembers.size()));
    m_strDocument += chBracket;
}

CString CJsonReportWriter::Literal(const CReportValue& value) const
{
    switch (value.GetKind()) {
    case CReportValue::kindNull:
        return L"null";
    case CReportValue::kindText:
        return Quote(value.GetData());
    case CReportValue::kindList: {
        CString strList = L"[";
        const std::vector<CString>& items = value.GetItems();
        for (size_t i = 0; i < items.size(); ++i)
            strList += (i > 0 ? L", " : L"") + Quote(items[i]);
        return strList + L"]";
    }
    default:
        return value.GetData();
    }
}

CString CJsonReportWriter::Quote(const CString& strText)
{
    CString strQuoted = L"\"";
    for (int i = 0; i < strText.GetLength(); ++i) {
        wchar_t ch = strText[i];
        switch (ch) {
        case L'"':
            strQuoted += L"\\\"";
            break;
        case L'\\':
            strQuoted += L"\\\\";
            break;
        case L'\n':
            strQuoted += L"\\n";
            break;
        case L'\r':
            strQuoted += L"\\r";
            break;
        case L'\t':
            strQuoted += L"\\t";
            break;
        default:
            if (ch < 0x20) {
                CString strEscape;
                strEscape.Format(L"\\u%04X", static_cast<unsigned>(ch));
                strQuoted += strEscape;
            } else {
                strQuoted += ch;
            }
        }
    }
    return strQuoted + L"\"";
}
