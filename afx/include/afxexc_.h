// afxexc_.h - the framework's exceptions and the functions that throw them.
//
//   CException             base of every framework exception; heap exceptions delete
//                          themselves in Delete(), preallocated ones do not
//   CSimpleException       an exception whose message is one string resource
//   CMemoryException, CNotSupportedException, CResourceException, CUserException
//   CFileException         a file operation failed: portable cause plus OS error
//   CArchiveException      serialization failed
//   TRY / CATCH / AND_CATCH / END_CATCH / THROW / THROW_LAST and the AfxThrow... functions
//
// Included by afx.h after afxstr_.h.
#pragma once

#include "afxstr_.h"

/////////////////////////////////////////////////////////////////////////////
// CException

class AFX_CORE_CLASS CException : public CObject
{
    DECLARE_DYNAMIC(CException)

public:
    // bAutoDelete: TRUE for an exception created with new, which Delete() frees;
    // FALSE for one that lives elsewhere (a static or a local), which Delete() leaves alone.
    explicit CException(BOOL bAutoDelete = TRUE);
    virtual ~CException();

    // Frees the exception when it is a heap exception; the catcher calls it.
    void Delete();

    // Copies the message (truncated to nMaxError characters, terminator included) and
    // the help context; FALSE when the exception has no message.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
    // The same message as a CString (empty when there is none). A derived class that
    // overrides the buffer form brings this one back with a using-declaration.
    BOOL GetErrorMessage(CString& strError, PUINT pnHelpContext = NULL) const;

    // Shows the message in a message box titled with the application's name; when the
    // exception has no message, the string nMessageID (or AFX_IDP_NO_ERROR_AVAILABLE).
    // Returns the button the user pressed.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

// Implementation
public:
    BOOL m_bAutoDelete;
};

/////////////////////////////////////////////////////////////////////////////
// CSimpleException: the message is a string resource, loaded on first use into the
// object itself, so that reporting a memory exception needs no memory.

class AFX_CORE_CLASS CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)

public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE);
    CSimpleException(BOOL bAutoDelete, UINT nResourceID);
    virtual ~CSimpleException();

    // Loads the message if that has not happened yet.
    void InitString();

    using CException::GetErrorMessage;
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

// Implementation
protected:
    UINT m_nResourceID;
    BOOL m_bInitialized;
    BOOL m_bLoaded;
    TCHAR m_szMessage[128];
};

class AFX_CORE_CLASS CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)

public:
    CMemoryException();
    CMemoryException(BOOL bAutoDelete, UINT nResourceID);
    virtual ~CMemoryException();
};

class AFX_CORE_CLASS CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)

public:
    CNotSupportedException();
    CNotSupportedException(BOOL bAutoDelete, UINT nResourceID);
    virtual ~CNotSupportedException();
};

class AFX_CORE_CLASS CResourceException : public CSimpleException
{
    DECLARE_DYNAMIC(CResourceException)

public:
    CResourceException();
    CResourceException(BOOL bAutoDelete, UINT nResourceID);
    virtual ~CResourceException();
};

// Thrown after the user has already been told about a problem (an invalid entry in a
// dialog): catchers stop the operation without a further message.
class AFX_CORE_CLASS CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)

public:
    CUserException();
    CUserException(BOOL bAutoDelete, UINT nResourceID);
    virtual ~CUserException();
};

/////////////////////////////////////////////////////////////////////////////
// CFileException

class AFX_CORE_CLASS CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)

public:
    enum
    {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = CFileException::none, LONG lOsError = -1,
                   LPCTSTR lpszArchiveName = NULL);
    virtual ~CFileException();

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;

    // Throw a CFileException for an OS error (GetLastError) or a C run-time errno;
    // an error of 0 throws nothing.
    static void PASCAL ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = NULL);
    static void PASCAL ThrowErrno(int nErrno, LPCTSTR lpszFileName = NULL);

    // The portable cause of an OS error or an errno value.
    static int PASCAL OsErrorToException(LONG lOsError);
    static int PASCAL ErrnoToException(int nErrno);

    // The text of the cause with the file's name in it (AFX_IDP_FILE_NONE + m_cause).
    using CException::GetErrorMessage;
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
};

/////////////////////////////////////////////////////////////////////////////
// CArchiveException

class AFX_CORE_CLASS CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)

public:
    enum
    {
        none,
        generic,
        readOnly,     // tried to write to an archive opened for loading
        endOfFile,    // reached the end of the file while reading an object
        writeOnly,    // tried to read from an archive opened for storing
        badIndex,     // corrupt object or class reference
        badClass,     // an object of an unexpected or unknown class
        badSchema     // an object of a different version of its class
    };

    CArchiveException(int cause = CArchiveException::none, LPCTSTR lpszArchiveName = NULL);
    virtual ~CArchiveException();

    int m_cause;
    CString m_strFileName;

    // The text of the cause with the file's name in it (AFX_IDP_ARCH_NONE + m_cause).
    using CException::GetErrorMessage;
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
};

/////////////////////////////////////////////////////////////////////////////
// Throwing. The memory, not-supported, resource and user exceptions are preallocated
// objects (throwing them needs no memory); catchers call Delete() on every exception
// all the same.

[[noreturn]] AFX_CORE_API void AFXAPI AfxThrowMemoryException();
[[noreturn]] AFX_CORE_API void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] AFX_CORE_API void AFXAPI AfxThrowResourceException();
[[noreturn]] AFX_CORE_API void AFXAPI AfxThrowUserException();
[[noreturn]] AFX_CORE_API void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1,
                                                            LPCTSTR lpszFileName = NULL);
[[noreturn]] AFX_CORE_API void AFXAPI AfxThrowArchiveException(int cause,
                                                               LPCTSTR lpszArchiveName = NULL);

// Ends the process at once: for errors the program cannot continue after.
[[noreturn]] AFX_CORE_API void AFXAPI AfxAbort();

/////////////////////////////////////////////////////////////////////////////
// The exception macros over C++ exceptions. As in the framework, an exception caught
// by CATCH is deleted when its END_CATCH is reached (the catcher does not call
// Delete), unless the handler passes it on with THROW_LAST. A handler that calls
// Delete itself all the same frees it only once: the links of the thread's TRY blocks
// let Delete take the exception out of them.

struct AFX_CORE_CLASS AFX_EXCEPTION_LINK
{
    AFX_EXCEPTION_LINK* m_pLinkPrev;    // the enclosing TRY block's link on this thread
    CException* m_pException;           // caught by the current handler, deleted on leaving it

    AFX_EXCEPTION_LINK();
    ~AFX_EXCEPTION_LINK();

private:
    AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&);
    void operator=(const AFX_EXCEPTION_LINK&);
};

#define TRY { AFX_EXCEPTION_LINK _afxExceptionLink; try {

#define CATCH(class, e) } catch (class* e) { \
    ASSERT(e->IsKindOf(RUNTIME_CLASS(class))); \
    _afxExceptionLink.m_pException = e;

#define AND_CATCH(class, e) } catch (class* e) { \
    ASSERT(e->IsKindOf(RUNTIME_CLASS(class))); \
    _afxExceptionLink.m_pException = e;

#define END_CATCH } }

#define THROW(e) throw e
// Passes the exception being handled on to the next handler, which now owns it.
#define THROW_LAST() do { _afxExceptionLink.m_pException = NULL; throw; } while (0)

#define CATCH_ALL(e) } catch (CException* e) { _afxExceptionLink.m_pException = e;
#define AND_CATCH_ALL(e) } catch (CException* e) { _afxExceptionLink.m_pException = e;
#define END_CATCH_ALL } }
#define END_TRY } catch (CException* e) { _afxExceptionLink.m_pException = e; } }

// Deletes an exception caught with the C++ keywords.
#define DELETE_EXCEPTION(e) do { if ((e) != NULL) (e)->Delete(); } while (0)
