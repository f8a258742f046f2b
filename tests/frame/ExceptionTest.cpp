// Tests of CExceptionEx, CIllegalArgumentException, CWin32Exception, CRegKeyException
// and CSystem::GetErrorMessage.
#include <gtest/gtest.h>

#include <Wivo.h>
#include <afxres.h>

#include "AfxTestSupport.h"

#include <functional>
#include <string>
#include <vector>

using wivotest::Join;
using wivotest::Narrow;

namespace {

// Records the destruction of every exception that carries an id, to prove that a
// chain is released once, completely.
std::vector<int> g_destroyed;

class CCountedException : public CException
{
    DECLARE_DYNAMIC(CCountedException)
public:
    explicit CCountedException(int nId, BOOL bAutoDelete = TRUE)
        : CException(bAutoDelete), m_nId(nId) {}
    virtual ~CCountedException() { g_destroyed.push_back(m_nId); }
    int m_nId;
};
IMPLEMENT_DYNAMIC(CCountedException, CException)

class CCountedExceptionEx : public CExceptionEx
{
    DECLARE_DYNAMIC(CCountedExceptionEx)
public:
    CCountedExceptionEx(int nId, CException* pInner) : CExceptionEx(pInner), m_nId(nId) {}
    virtual ~CCountedExceptionEx() { g_destroyed.push_back(m_nId); }
    int m_nId;
};
IMPLEMENT_DYNAMIC(CCountedExceptionEx, CExceptionEx)

// A cause whose message changes with every call, so a cached message is visible.
// With bThrow it throws instead, from inside the library's ToString.
class CVolatileException : public CExceptionEx
{
    DECLARE_DYNAMIC(CVolatileException)
public:
    explicit CVolatileException(bool bThrow = false) : m_nCalls(0), m_bThrow(bThrow) {}
    using CExceptionEx::GetErrorMessage;
    virtual CString GetErrorMessage()
    {
        if (m_bThrow)
            throw new CIllegalArgumentException(_T("thrown"), _T("pArg"));
        CString s;
        s.Format(_T("call %d"), ++m_nCalls);
        return s;
    }
    int m_nCalls;
    bool m_bThrow;
};
IMPLEMENT_DYNAMIC(CVolatileException, CExceptionEx)

class CProbeArgumentException : public CIllegalArgumentException
{
public:
    CProbeArgumentException(const CString& m, const CString& p) : CIllegalArgumentException(m, p) {}
    CString CachedMessage() const { return m_strMessage; }
};

const CString kDefaultExMessage = _T("Die Ausnahme CExceptionEx ist aufgetreten.");
const CString kIllegalArgument = L"Ein ung\u00fcltiges Argument wurde angegeben.";

// The framework's own "no message" text, straight from its module.
CString FrameworkNoMessageText()
{
    WCHAR sz[512] = {};
    LoadStringW(GetModuleHandleW(L"WivoAfx.dll"), AFX_IDP_NO_ERROR_AVAILABLE, sz, 512);
    return CString(sz);
}

} // namespace

TEST(ExceptionMessages, DefaultTextsAndReports)
{
    struct Case { CExceptionEx* pEx; CString message; CString report; };
    CString withParam = kIllegalArgument + _T("\r\nParameter: nIndex");
    Case cases[] = {
        {new CExceptionEx(), kDefaultExMessage, _T("CExceptionEx: ") + kDefaultExMessage},
        {new CCountedExceptionEx(0, NULL), _T("Die Ausnahme CCountedExceptionEx ist aufgetreten."),
         _T("CCountedExceptionEx: Die Ausnahme CCountedExceptionEx ist aufgetreten.")},
        {new CIllegalArgumentException(), kIllegalArgument, _T("CIllegalArgumentException: ") + kIllegalArgument},
        {new CIllegalArgumentException(_T(""), _T("nIndex")), withParam, _T("CIllegalArgumentException: ") + withParam},
        {new CIllegalArgumentException(_T("M"), _T("")), _T("M"), _T("CIllegalArgumentException: M")},
    };
    for (Case& c : cases) {
        EXPECT_EQ(Narrow(c.pEx->GetErrorMessage()), Narrow(c.message));
        EXPECT_EQ(Narrow(c.pEx->ToString()), Narrow(c.report));
        c.pEx->Delete();
    }
}

TEST(ExceptionMessages, InnerMessageIsUsedAndCached)
{
    CVolatileException* pInner = new CVolatileException();
    CExceptionEx outer(pInner);
    EXPECT_EQ(Narrow(outer.GetErrorMessage()), "call 1");
    EXPECT_EQ(Narrow(outer.GetErrorMessage()), "call 1") << "message must be kept after first use";
    EXPECT_EQ(pInner->m_nCalls, 1);
    // The report asks the cause anew; only the outer message is cached.
    EXPECT_EQ(Narrow(outer.ToString()), "CExceptionEx: call 1\r\n\t-> CVolatileException: call 2");
    EXPECT_EQ(outer.GetInnerException(), pInner);

    CProbeArgumentException arg(_T(""), _T("nIndex"));
    EXPECT_TRUE(arg.CachedMessage().IsEmpty());
    arg.GetErrorMessage();
    EXPECT_EQ(Narrow(arg.CachedMessage()), Narrow(kIllegalArgument)) << "parameter line must not be cached";
    EXPECT_EQ(Narrow(arg.GetParameterName()), "nIndex");
}

TEST(ExceptionChains, FrameworkCausesEndTheChain)
{
    wivotest::TempDir dir;
    CString missing = dir.File(_T("missing.dat"));
    CFileException* pFileEx = new CFileException();
    CFile file;
    ASSERT_FALSE(file.Open(missing, CFile::modeRead, pFileEx));
    CString fileText;
    ASSERT_TRUE(pFileEx->GetErrorMessage(fileText));
    EXPECT_NE(fileText.Find(_T("missing.dat")), -1) << Narrow(fileText);

    CIllegalArgumentException* pOuter = new CIllegalArgumentException(
        _T("Outer"), _T(""), new CExceptionEx(_T("Middle"), pFileEx));
    CString report = pOuter->ToString();
    EXPECT_EQ(Narrow(report), Narrow(_T("CIllegalArgumentException: Outer\r\n\t-> CExceptionEx: Middle")
                                     _T("\r\n\t-> CFileException: ") + fileText));
    EXPECT_EQ(Narrow(pOuter->GetErrorMessage()), "Outer") << "inner message must not be consulted";
    pOuter->Delete();

    CMemoryException* pMem = new CMemoryException();
    CString memText;
    ASSERT_TRUE(pMem->GetErrorMessage(memText));
    CExceptionEx memOuter(pMem);
    EXPECT_EQ(Narrow(memOuter.GetErrorMessage()), Narrow(memText));
    EXPECT_EQ(Narrow(memOuter.ToString()),
              Narrow(_T("CExceptionEx: ") + memText + _T("\r\n\t-> CMemoryException: ") + memText));
}

TEST(ExceptionChains, CauseWithoutMessageReadsFromCurrentResourceModule)
{
    // The test program has no string 0xF020, so the cause's text is empty ...
    CExceptionEx plain(new CCountedException(0));
    EXPECT_EQ(Narrow(plain.ToString()), "CExceptionEx: \r\n\t-> CCountedException: ");
    // ... until the current resource module is one that has it.
    CString expected = FrameworkNoMessageText();
    ASSERT_FALSE(expected.IsEmpty());
    HINSTANCE hOld = AfxGetResourceHandle();
    AfxSetResourceHandle(GetModuleHandleW(L"WivoAfx.dll"));
    CExceptionEx withText(new CCountedException(0));
    CString message = withText.GetErrorMessage();
    AfxSetResourceHandle(hOld);
    EXPECT_EQ(Narrow(message), Narrow(expected));
}

TEST(ExceptionChains, DeleteReleasesWholeChainOnce)
{
    g_destroyed.clear();
    CCountedException local(4, FALSE);   // not a heap exception: Delete must leave it alone
    CCountedExceptionEx* pChain = new CCountedExceptionEx(1,
        new CCountedExceptionEx(2, new CExceptionEx(_T("x"), new CCountedException(3))));
    pChain->Delete();
    EXPECT_EQ(g_destroyed, (std::vector<int>{1, 2, 3}));

    g_destroyed.clear();
    (new CCountedExceptionEx(5, &local))->Delete();
    EXPECT_EQ(g_destroyed, std::vector<int>{5});
}

TEST(ExceptionTypes, RuntimeClassesAndThrowing)
{
    struct Case { CException* pEx; const char* name; const char* base; bool isEx; bool isWin32; };
    Case cases[] = {
        {new CExceptionEx(), "CExceptionEx", "CException", true, false},
        {new CIllegalArgumentException(), "CIllegalArgumentException", "CExceptionEx", true, false},
        {new CWin32Exception((DWORD)5), "CWin32Exception", "CException", false, true},
        {new CRegKeyException(5L), "CRegKeyException", "CWin32Exception", false, true},
    };
    for (Case& c : cases) {
        CRuntimeClass* pClass = c.pEx->GetRuntimeClass();
        EXPECT_STREQ(pClass->m_lpszClassName, c.name);
        EXPECT_STREQ(pClass->m_pfnGetBaseClass()->m_lpszClassName, c.base) << c.name;
        EXPECT_TRUE(c.pEx->IsKindOf(RUNTIME_CLASS(CException))) << c.name;
        EXPECT_EQ(c.pEx->IsKindOf(RUNTIME_CLASS(CExceptionEx)) != FALSE, c.isEx) << c.name;
        EXPECT_EQ(c.pEx->IsKindOf(RUNTIME_CLASS(CWin32Exception)) != FALSE, c.isWin32) << c.name;
        c.pEx->Delete();
    }
}

namespace {

std::string Report(CException* e)
{
    CString text;
    e->GetErrorMessage(text);
    return std::string(e->GetRuntimeClass()->m_lpszClassName) + ": " + Narrow(text);
}

template <class E>
std::string CaughtExactly(const std::function<void()>& f)
{
    return wivotest::CaughtAs<E>(f, [](E* e) { return Report(e); }, std::string("nothing caught"));
}

} // namespace

// The error model rests on heap exceptions thrown in one module and caught in
// another: thrown in the framework DLL, in the library DLL, and in the program
// from a call that the DLLs make back into it. Each is caught by its own class
// and as CException*, and the catcher deletes it.
TEST(ExceptionTypes, ThrownInEveryModuleCaughtInTheProgram)
{
    CVolatileException thrower(true);
    CFileException fileEx(CFileException::accessDenied, ERROR_ACCESS_DENIED, L"a.txt");
    CRegKeyException regEx((LONG)ERROR_INVALID_HANDLE);
    const std::string fromProgram = "CIllegalArgumentException: thrown\r\nParameter: pArg";
    const std::function<void()> inFramework = [] {
        CFileException::ThrowOsError(ERROR_ACCESS_DENIED, L"a.txt");
    };
    const std::function<void()> inLibrary = [] { CRegKey().GetSubKeyCount(); };
    // In the program, called back by the library and by the framework.
    const std::function<void()> viaLibrary = [&] { thrower.ToString(); };
    const std::function<void()> viaFramework = [&] {
        CString text;
        static_cast<CException&>(thrower).GetErrorMessage(text);
    };
    EXPECT_EQ(Report(&fileEx), CaughtExactly<CFileException>(inFramework));
    EXPECT_EQ(Report(&regEx), CaughtExactly<CRegKeyException>(inLibrary));
    EXPECT_EQ(fromProgram, CaughtExactly<CIllegalArgumentException>(viaLibrary));
    EXPECT_EQ(fromProgram, CaughtExactly<CIllegalArgumentException>(viaFramework));
    EXPECT_EQ(Join({Report(&fileEx), Report(&regEx), fromProgram, fromProgram}),
              Join({CaughtExactly<CException>(inFramework), CaughtExactly<CException>(inLibrary),
                    CaughtExactly<CException>(viaLibrary), CaughtExactly<CException>(viaFramework)}))
        << "caught as CException*";
}

TEST(ExceptionBuffers, TruncatedAndTerminated)
{
    CExceptionEx ex(_T("Hello"));
    CWin32Exception win((DWORD)0x2000FFFF);
    CString winText = win.GetErrorMessage();
    ASSERT_GT(winText.GetLength(), 4);
    struct Case { CException* pEx; UINT size; CString expected; BOOL result; };
    Case cases[] = {
        {&ex, 1, _T(""), FALSE}, {&ex, 3, _T("He"), TRUE}, {&ex, 6, _T("Hello"), TRUE},
        {&ex, 40, _T("Hello"), TRUE}, {&win, 1, _T(""), TRUE}, {&win, 5, winText.Left(4), TRUE},
    };
    for (Case& c : cases) {
        WCHAR buf[41];
        memset(buf, 0xBD, sizeof buf);
        UINT help = 77;
        EXPECT_EQ(c.pEx->GetErrorMessage(buf, c.size, &help), c.result) << "size " << c.size;
        EXPECT_EQ(help, 0u);
        EXPECT_EQ(Narrow(buf), Narrow(c.expected)) << "size " << c.size;
        EXPECT_EQ(buf[c.size], (WCHAR)0xBDBD) << "overrun at size " << c.size;
        EXPECT_EQ(c.pEx->GetErrorMessage(buf, c.size, NULL), c.result);
    }
    EXPECT_FALSE(ex.GetErrorMessage(NULL, 10, NULL));
    EXPECT_TRUE(win.GetErrorMessage(NULL, 10, NULL));
}

TEST(Win32Errors, CodesAndSystemTexts)
{
    CWin32Exception hr((LONG)-2147024894);
    EXPECT_EQ(hr.GetErrorCode(), 0x80070002ul);
    EXPECT_EQ(hr.GetHResult(), -2147024894L);
    EXPECT_EQ(CWin32Exception((DWORD)0xFFFFFFFF).GetHResult(), -1L);
    EXPECT_EQ(CRegKeyException((LONG)ERROR_ACCESS_DENIED).GetErrorCode(), 5ul);

    LPWSTR raw = NULL;
    ASSERT_NE(FormatMessageW(0x1300, NULL, 2, 0, (LPWSTR)&raw, 0, NULL), 0u);
    CString system(raw);
    LocalFree(raw);
    ASSERT_EQ(Narrow(system.Right(2)), "\r\n") << "platform text " << Narrow(system);
    CString text = CSystem::GetErrorMessage(2);
    EXPECT_EQ(Narrow(text), Narrow(system.Left(system.GetLength() - 2)));
    EXPECT_EQ(Narrow(CWin32Exception((DWORD)2).GetErrorMessage()), Narrow(text));

    CString expected = FrameworkNoMessageText() + _T(" - Fehler: 536936447");
    EXPECT_EQ(Narrow(CSystem::GetErrorMessage(0x2000FFFF, 1, _T("ignored"))), Narrow(expected));
    EXPECT_EQ(Narrow(CWin32Exception((DWORD)0x2000FFFF).GetErrorMessage()), Narrow(expected));
}
