// Tests of the exception classes: ownership (Delete and auto-delete), the exception
// macros, error messages, the OS error table, and ReportError's message box.
#include <afx.h>
#include <afxres.h>

#include <gtest/gtest.h>

#include <errno.h>

#include <functional>
#include <string>

#include "AfxTestSupport.h"
#include "GuiTestSupport.h"

using wivotest::Join;
using wivotest::Narrow;

namespace {

// Counts its destructions, to see who deletes an exception and when.
class CCountingException : public CException
{
public:
    CCountingException(BOOL bAutoDelete, int* pDestroyed)
        : CException(bAutoDelete), m_pDestroyed(pDestroyed)
    {
    }
    ~CCountingException() override { ++*m_pDestroyed; }

    int* m_pDestroyed;
};

CString MessageOf(CException* e, UINT* pnHelp = NULL)
{
    CString str;
    e->GetErrorMessage(str, pnHelp);
    return str;
}

CString LoadedString(UINT nID)
{
    CString str;
    str.LoadString(nID);
    return str;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Ownership

TEST(ExceptionOwnership, DeleteFreesOnlyAutoDeleteExceptions)
{
    int nDestroyed = 0;
    (new CCountingException(TRUE, &nDestroyed))->Delete();
    EXPECT_EQ(1, nDestroyed) << "a heap exception is freed once";
    {
        CCountingException onStack(FALSE, &nDestroyed);
        onStack.Delete();
        onStack.Delete();
        EXPECT_EQ(1, nDestroyed) << "Delete freed a non-auto-delete exception";
    }
    CCountingException* p = new CCountingException(FALSE, &nDestroyed);
    p->Delete();
    EXPECT_EQ(2, nDestroyed);
    delete p;
    EXPECT_EQ(3, nDestroyed);

    // Default-constructed exceptions are auto-delete.
    CMemoryException* pMem = new CMemoryException;
    EXPECT_TRUE(pMem->m_bAutoDelete);
    EXPECT_FALSE(MessageOf(pMem).IsEmpty());
    pMem->Delete();
}

TEST(ExceptionOwnership, PreallocatedExceptionsSurviveDelete)
{
    struct Case
    {
        void (AFXAPI* pfnThrow)();
        CRuntimeClass* pClass;
        UINT nID;
    };
    const Case cases[] = {
        {&AfxThrowMemoryException, RUNTIME_CLASS(CMemoryException), AFX_IDS_MEMORY_EXCEPTION},
        {&AfxThrowNotSupportedException, RUNTIME_CLASS(CNotSupportedException),
         AFX_IDS_NOT_SUPPORTED_EXCEPTION},
        {&AfxThrowResourceException, RUNTIME_CLASS(CResourceException),
         AFX_IDS_RESOURCE_EXCEPTION},
        {&AfxThrowUserException, RUNTIME_CLASS(CUserException), AFX_IDS_USER_EXCEPTION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pClass->m_lpszClassName);
        CException* pThrown[2] = {};
        for (CException*& p : pThrown) {
            try {
                c.pfnThrow();
            } catch (CException* e) {
                p = e;
                e->Delete();
            }
        }
        ASSERT_NE(nullptr, pThrown[0]);
        // One object, thrown again: throwing it needed no memory.
        EXPECT_EQ(pThrown[0], pThrown[1]);
        EXPECT_FALSE(pThrown[0]->m_bAutoDelete);
        EXPECT_TRUE(pThrown[0]->IsKindOf(c.pClass));
        // Still usable after Delete.
        EXPECT_FALSE(LoadedString(c.nID).IsEmpty()) << "string " << c.nID;
        EXPECT_STREQ(LoadedString(c.nID), MessageOf(pThrown[0]));
    }
    EXPECT_TRUE(wivotest::Throws<CMemoryException>(&AfxThrowMemoryException)) << "as its own type";
}

/////////////////////////////////////////////////////////////////////////////
// The exception macros

TEST(ExceptionMacros, EndCatchDeletesWhatTheHandlerDidNotDelete)
{
    int nDestroyed = 0;
    bool bHandled = false;
    TRY {
        THROW(new CCountingException(TRUE, &nDestroyed));
    } CATCH(CException, e) {
        bHandled = true;
        EXPECT_EQ(0, nDestroyed);
    } END_CATCH
    EXPECT_TRUE(bHandled);
    EXPECT_EQ(1, nDestroyed);

    // A handler that deletes the exception itself: freed once, not passed on.
    TRY {
        TRY {
            THROW(new CCountingException(TRUE, &nDestroyed));
        } CATCH(CException, e) {
            e->Delete();
        } END_CATCH
    } CATCH_ALL(e) {
        ADD_FAILURE() << "the outer handler ran";
    } END_CATCH_ALL
    EXPECT_EQ(2, nDestroyed);
}

TEST(ExceptionMacros, AndCatchPicksTheMatchingHandler)
{
    int nHandler = 0;
    TRY {
        AfxThrowArchiveException(CArchiveException::badSchema, L"doc.wiv");
    } CATCH(CFileException, e) {
        nHandler = 1;
    } AND_CATCH(CArchiveException, e) {
        nHandler = 2;
        EXPECT_EQ(CArchiveException::badSchema, e->m_cause);
        EXPECT_STREQ(L"doc.wiv", e->m_strFileName);
        EXPECT_TRUE(e->m_bAutoDelete);
    } AND_CATCH_ALL(e) {
        nHandler = 3;
    } END_CATCH_ALL
    EXPECT_EQ(2, nHandler);
}

TEST(ExceptionMacros, ThrowLastAndThrowingInAHandler)
{
    // THROW_LAST passes ownership outward: the inner handler does not delete.
    int nDestroyed = 0;
    bool bOuterSeen = false;
    TRY {
        TRY {
            THROW(new CCountingException(TRUE, &nDestroyed));
        } CATCH_ALL(e) {
            THROW_LAST();
        } END_CATCH_ALL
    } CATCH_ALL(e) {
        EXPECT_EQ(0, nDestroyed);
        bOuterSeen = static_cast<CCountingException*>(e)->m_pDestroyed == &nDestroyed;
    } END_CATCH_ALL
    EXPECT_TRUE(bOuterSeen);
    EXPECT_EQ(1, nDestroyed);

    // A new exception thrown in a handler still frees the first.
    int nSecond = 0;
    try {
        TRY {
            THROW(new CCountingException(TRUE, &nDestroyed));
        } CATCH_ALL(e) {
            THROW(new CCountingException(TRUE, &nSecond));
        } END_CATCH_ALL
    } catch (CException* e) {
        EXPECT_EQ(2, nDestroyed);
        EXPECT_EQ(0, nSecond);
        e->Delete();
    }
    EXPECT_EQ(1, nSecond);
}

/////////////////////////////////////////////////////////////////////////////
// Messages

TEST(ExceptionMessages, WithoutAMessageTheBufferIsEmptied)
{
    // The base class, a simple exception without a resource, and a string that
    // does not exist.
    CException base(FALSE);
    CSimpleException simple(FALSE);
    CUserException user(FALSE, 0xEFFF);
    for (CException* e : {&base, (CException*)&simple, (CException*)&user}) {
        TCHAR sz[16];
        wmemset(sz, L'x', 16);
        UINT nHelp = 77;
        EXPECT_FALSE(e->GetErrorMessage(sz, 16, &nHelp));
        EXPECT_EQ(L'\0', sz[0]);
        EXPECT_EQ(0u, nHelp);
    }
    CString str(L"old");
    EXPECT_FALSE(base.GetErrorMessage(str));
    EXPECT_TRUE(str.IsEmpty());
}

TEST(ExceptionMessages, EveryCauseUsesItsOwnTextWithTheFileName)
{
    CFileException e(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, L"C:\\data\\plan.txt");
    EXPECT_STREQ(L"C:\\data\\plan.txt was not found.", MessageOf(&e));
    // (The access-denied text is checked in the report's message box.)
    CArchiveException badClass(CArchiveException::badClass, L"doc.wiv");
    EXPECT_STREQ(L"doc.wiv contained an unexpected object.", MessageOf(&badClass));

    // Every cause: the text of its own id, with the name filled in, and that id for help.
    auto expectOwnText = [](CException* e, UINT nID) {
        UINT nHelp = 0;
        CString strExpected;
        AfxFormatString1(strExpected, nID, L"Q.BIN");
        EXPECT_FALSE(strExpected.IsEmpty()) << "string " << nID;
        EXPECT_EQ(Join({strExpected, nID}), Join({MessageOf(e, &nHelp), nHelp}));
    };
    for (int nCause = CFileException::none; nCause <= CFileException::endOfFile; ++nCause) {
        CFileException fe(nCause, -1, L"Q.BIN");
        expectOwnText(&fe, AFX_IDP_FILE_NONE + nCause);
    }
    for (int nCause = CArchiveException::none; nCause <= CArchiveException::badSchema; ++nCause) {
        CArchiveException ae(nCause, L"Q.BIN");
        expectOwnText(&ae, AFX_IDP_ARCH_NONE + nCause);
    }
    // A cause out of range reads as the generic one; no name reads as the unnamed file.
    CFileException odd(99, -1, L"Q.BIN");
    CFileException generic(CFileException::generic, -1, L"Q.BIN");
    EXPECT_STREQ(MessageOf(&generic), MessageOf(&odd));
    CFileException unnamed(CFileException::badSeek);
    CString strExpected;
    AfxFormatString1(strExpected, AFX_IDP_FILE_BAD_SEEK, LoadedString(AFX_IDS_UNNAMED_FILE));
    EXPECT_STREQ(strExpected, MessageOf(&unnamed));
}

TEST(ExceptionMessages, BufferFormTruncatesAndStringFormFitsLongNames)
{
    CFileException e(CFileException::fileNotFound, 2, L"abcdef");
    TCHAR sz[8];
    wmemset(sz, 0xBDBD, 8);
    EXPECT_TRUE(e.GetErrorMessage(sz, 5));
    EXPECT_STREQ(L"abcd", sz);
    EXPECT_EQ(0xBDBD, sz[5]) << "wrote past the end";
    CMemoryException m;
    wmemset(sz, 0xBDBD, 8);
    EXPECT_TRUE(m.GetErrorMessage(sz, 4));
    EXPECT_EQ(3u, wcslen(sz));
    EXPECT_EQ(0xBDBD, sz[4]);
    EXPECT_FALSE(e.GetErrorMessage(sz, 0));
    EXPECT_FALSE(e.GetErrorMessage((LPTSTR)NULL, 10));

    CString strName(L'n', 3000);
    CFileException sharing(CFileException::sharingViolation, ERROR_SHARING_VIOLATION, strName);
    EXPECT_NE(-1, MessageOf(&sharing).Find(strName));
}

/////////////////////////////////////////////////////////////////////////////
// OS errors and errno values

TEST(FileExceptionCauses, OsErrorAndErrnoTables)
{
    using FE = CFileException;
    // One OS error for each cause (the table has many more), and unknown ones.
    const std::pair<LONG, int> osTable[] = {
        {NO_ERROR, FE::none},                        {ERROR_FILE_NOT_FOUND, FE::fileNotFound},
        {ERROR_INVALID_HANDLE, FE::fileNotFound},    {ERROR_PATH_NOT_FOUND, FE::badPath},
        {ERROR_TOO_MANY_OPEN_FILES, FE::tooManyOpenFiles}, {ERROR_ACCESS_DENIED, FE::accessDenied},
        {ERROR_BAD_FORMAT, FE::invalidFile},         {ERROR_DIR_NOT_EMPTY, FE::removeCurrentDir},
        {ERROR_NO_SPOOL_SPACE, FE::directoryFull},   {ERROR_NEGATIVE_SEEK, FE::badSeek},
        {ERROR_SHARING_VIOLATION, FE::sharingViolation}, {ERROR_CRC, FE::hardIO},
        {ERROR_LOCK_VIOLATION, FE::lockViolation},   {ERROR_DISK_FULL, FE::diskFull},
        {ERROR_HANDLE_EOF, FE::endOfFile},           {ERROR_INVALID_PARAMETER, FE::generic},
        {123456, FE::generic},                       {-1, FE::generic},
    };
    for (const auto& row : osTable)
        EXPECT_EQ(row.second, FE::OsErrorToException(row.first)) << "OS error " << row.first;
    const std::pair<int, int> errnoTable[] = {
        {EPERM, FE::accessDenied},  {EACCES, FE::accessDenied}, {EBADF, FE::invalidFile},
        {ENFILE, FE::fileNotFound}, {ENOSPC, FE::diskFull},     {EINVAL, FE::hardIO},
        {EIO, FE::hardIO},          {EEXIST, FE::generic},      {0, FE::generic},
        {EDEADLOCK, FE::sharingViolation}, {EMFILE, FE::tooManyOpenFiles},
        {ENOENT, FE::fileNotFound},
    };
    for (const auto& row : errnoTable)
        EXPECT_EQ(row.second, FE::ErrnoToException(row.first)) << "errno " << row.first;
}

TEST(FileExceptionCauses, ThrowOsErrorAndThrowErrno)
{
    // No error, no exception.
    CFileException::ThrowOsError(NO_ERROR, L"fine.txt");
    CFileException::ThrowErrno(0, L"fine.txt");
    struct
    {
        std::function<void()> f;
        std::string strExpected;    // cause, OS error, file name
    } const cases[] = {
        {[] { CFileException::ThrowOsError(ERROR_SHARING_VIOLATION, L"busy.txt"); },
         Join({CFileException::sharingViolation, ERROR_SHARING_VIOLATION, L"busy.txt"})},
        {[] { CFileException::ThrowErrno(ENOSPC); },
         Join({CFileException::diskFull, ENOSPC, L""})},
        {[] { AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, L"C:\\full.dat"); },
         Join({CFileException::diskFull, ERROR_DISK_FULL, L"C:\\full.dat"})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.strExpected, wivotest::CaughtAs<CFileException>(c.f, [](CFileException* e) {
            EXPECT_TRUE(e->m_bAutoDelete);
            return Join({e->m_cause, e->m_lOsError, e->m_strFileName});
        }, std::string("nothing thrown")));
    }
}

/////////////////////////////////////////////////////////////////////////////
// ReportError: a real message box, answered from a second thread

namespace {

// Reports e in a message box, which is answered with nButton: "result|title|text".
std::string ReportAndAnswer(CException* e, UINT nType, UINT nMessageID, int nButton)
{
    CString strTitle, strText;
    wivotest::ModalDriver driver([&](wivotest::ModalDriver& d) {
        HWND hBox = d.WaitForDialog();
        strTitle = d.Text(hBox);
        strText = d.StaticText(hBox);
        d.Press(hBox, nButton);
    });
    int nResult = e->ReportError(nType, nMessageID);
    driver.Join();
    return Join({nResult, strTitle, strText});
}

} // namespace

TEST(ExceptionReportError, ShowsTheMessageTitledWithTheApplication)
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    LPCTSTR lpszOldName = pState->m_lpszCurrentAppName;
    pState->m_lpszCurrentAppName = L"Wivo Report Test";
    CFileException e(CFileException::accessDenied, ERROR_ACCESS_DENIED, L"C:\\secret.txt");
    std::string strNamed = ReportAndAnswer(&e, MB_OKCANCEL | MB_ICONEXCLAMATION, 0, IDCANCEL);
    // Without a message of its own: the given string or the default; no
    // application name: the program's file title.
    pState->m_lpszCurrentAppName = NULL;
    CException plain(FALSE);
    std::string strGiven = ReportAndAnswer(&plain, MB_OK, AFX_IDS_USER_EXCEPTION, IDOK);
    std::string strDefault = ReportAndAnswer(&plain, MB_OK, 0, IDOK);
    pState->m_lpszCurrentAppName = lpszOldName;

    EXPECT_EQ(Join({IDCANCEL, L"Wivo Report Test", L"Access to C:\\secret.txt was denied."}),
              strNamed);
    WCHAR szPath[MAX_PATH];
    GetModuleFileNameW(NULL, szPath, MAX_PATH);
    CString strExe(wcsrchr(szPath, L'\\') + 1);
    strExe = strExe.Left(strExe.ReverseFind(L'.'));
    EXPECT_EQ(Join({IDOK, strExe, LoadedString(AFX_IDS_USER_EXCEPTION)}), strGiven);
    EXPECT_FALSE(LoadedString(AFX_IDP_NO_ERROR_AVAILABLE).IsEmpty());
    EXPECT_EQ(Join({IDOK, strExe, LoadedString(AFX_IDP_NO_ERROR_AVAILABLE)}), strDefault);
}

/////////////////////////////////////////////////////////////////////////////
// AfxAbort

TEST(ExceptionAbortDeathTest, AbortEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(AfxAbort(), "");
}
