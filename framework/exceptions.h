// The framework's exceptions. They are thrown as pointers (throw new CFileException(...)),
// caught as CException* and released with Delete().
//
// TRY/CATCH/END_CATCH wrap C++ try/catch in the classic way: an exception caught by
// CATCH or CATCH_ALL is deleted automatically when the handler block ends (END_CATCH /
// END_CATCH_ALL), unless the handler passes it on with THROW_LAST() or THROW(e).
// Calling e->Delete() inside such a handler is also safe: the exception is then
// forgotten by the handler and not deleted twice.
#pragma once
#include "framework/platform.h"
#include "framework/object.h"
#include "framework/str.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE);
    virtual ~CException();

    // Frees the exception when it owns itself (every thrown one except the
    // preallocated out-of-memory exception).
    void Delete();

    // Writes the message into lpszError (at most nMaxError chars with the terminator).
    // FALSE (and an empty text) when there is no message.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0) const;

    BOOL m_bAutoDelete;
};

// Exceptions whose message is a fixed text.
class CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)
public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
protected:
    virtual UINT GetMessageId() const = 0;
    virtual LPCTSTR GetDefaultMessage() const = 0;
};

class CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
protected:
    UINT GetMessageId() const override;
    LPCTSTR GetDefaultMessage() const override;
};

class CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
protected:
    UINT GetMessageId() const override;
    LPCTSTR GetDefaultMessage() const override;
};

class CInvalidArgException : public CSimpleException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
protected:
    UINT GetMessageId() const override;
    LPCTSTR GetDefaultMessage() const override;
};

class CResourceException : public CSimpleException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
protected:
    UINT GetMessageId() const override;
    LPCTSTR GetDefaultMessage() const override;
};

// Thrown after the user has already been told (e.g. a failed validation).
class CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
protected:
    UINT GetMessageId() const override;
    LPCTSTR GetDefaultMessage() const override;
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none,
        genericException,
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

    explicit CFileException(int cause = CFileException::none, LONG lOsError = -1,
                            LPCTSTR lpszArchiveName = NULL);

    // Win32 error code -> cause.
    static int PASCAL OsErrorToException(LONG lOsError);
    // C run-time errno -> cause.
    static int PASCAL ErrnoToException(int nErrno);
    static void PASCAL ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = NULL);
    static void PASCAL ThrowErrno(int nErrno, LPCTSTR lpszFileName = NULL);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
        bufferFull
    };

    explicit CArchiveException(int cause = CArchiveException::none, LPCTSTR lpszArchiveName = NULL);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    int m_cause;
    CString m_strFileName;
};

// ---- Throwing -------------------------------------------------------------------
[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = NULL);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = NULL);

// Called inside a catch handler: the exception being handled as one of the framework's, for
// the places that report what reaches a window procedure. One of the framework's is itself;
// running out of memory is the memory exception; any other keeps what it says of itself
// (a C++ library exception's text). Released with Delete() as every caught exception is.
CException* AFXAPI AfxCaughtException();

// ---- TRY / CATCH ------------------------------------------------------------------
// One link per active TRY block on the current thread; it owns the exception its
// handler caught and deletes it when the block is left.
struct AFX_EXCEPTION_LINK
{
    AFX_EXCEPTION_LINK();
    ~AFX_EXCEPTION_LINK();
    AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
    AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;

    AFX_EXCEPTION_LINK* m_pLinkPrev;
    CException* m_pException;
};

// The innermost handler stops owning its exception (it is being re-thrown).
void AFXAPI AfxThrowLastCleanup();
// Every active handler on this thread stops owning pException.
void AFXAPI AfxReleaseCaughtException(CException* pException);

#define TRY { AFX_EXCEPTION_LINK _afxExceptionLink; try {

#define CATCH(class_name, e) } catch (class_name* e) { _afxExceptionLink.m_pException = e;

#define AND_CATCH(class_name, e) } catch (class_name* e) { _afxExceptionLink.m_pException = e;

#define END_CATCH } }

#define CATCH_ALL(e) } catch (CException* e) { _afxExceptionLink.m_pException = e;

#define AND_CATCH_ALL(e) } catch (CException* e) { _afxExceptionLink.m_pException = e;

#define END_CATCH_ALL } }

#define END_TRY } catch (CException* e) { _afxExceptionLink.m_pException = e; } }

#define THROW(e) do { auto _afxThrown = (e); AfxReleaseCaughtException(_afxThrown); throw _afxThrown; } while (0)

#define THROW_LAST() do { AfxThrowLastCleanup(); throw; } while (0)

// Deleting an exception caught with plain C++ catch.
#define DELETE_EXCEPTION(e) do { if ((e) != NULL) (e)->Delete(); } while (0)
