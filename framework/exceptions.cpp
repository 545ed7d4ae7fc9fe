// The framework's exceptions and the TRY/CATCH support.
#include "framework/exceptions.h"
#include "framework/afxres.h"
#include "framework/resources.h"
#include <errno.h>
#include <string.h>
#include <exception>
#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

// ---- Handler links ------------------------------------------------------------------

static thread_local AFX_EXCEPTION_LINK* t_pLinkTop = NULL;

AFX_EXCEPTION_LINK::AFX_EXCEPTION_LINK() : m_pLinkPrev(t_pLinkTop), m_pException(NULL)
{
    t_pLinkTop = this;
}

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK()
{
    t_pLinkTop = m_pLinkPrev;
    CException* pException = m_pException;
    m_pException = NULL;
    if (pException != NULL)
    {
        // Another (outer) handler may hold the same exception; it is gone now.
        AfxReleaseCaughtException(pException);
        pException->Delete();
    }
}

void AFXAPI AfxThrowLastCleanup()
{
    // The exception being re-thrown must outlive this handler.
    for (AFX_EXCEPTION_LINK* p = t_pLinkTop; p != NULL; p = p->m_pLinkPrev)
    {
        if (p->m_pException != NULL)
        {
            p->m_pException = NULL;
            return;
        }
    }
}

void AFXAPI AfxReleaseCaughtException(CException* pException)
{
    if (pException == NULL)
        return;
    for (AFX_EXCEPTION_LINK* p = t_pLinkTop; p != NULL; p = p->m_pLinkPrev)
        if (p->m_pException == pException)
            p->m_pException = NULL;
}

// ---- CException ----------------------------------------------------------------------

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() {}

void CException::Delete()
{
    AfxReleaseCaughtException(this);
    if (m_bAutoDelete > 0)
        delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError != NULL && nMaxError > 0)
        *lpszError = '\0';
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) const
{
    char szMessage[512];
    CString strMessage;
    if (GetErrorMessage(szMessage, sizeof(szMessage)))
        strMessage = szMessage;
    else if (nMessageID != 0)
        strMessage.LoadString(nMessageID);
    if (strMessage.IsEmpty() && !strMessage.LoadString(AFX_IDP_NO_ERROR_AVAILABLE))
        strMessage = "No error message is available.";
    CString strTitle;
    if (!strTitle.LoadString(AFX_IDS_APP_TITLE))
        strTitle = AfxGetModuleState()->m_lpszCurrentAppName;
    return ::MessageBoxA(::GetActiveWindow(), strMessage, strTitle, nType);
}

// Copies a message (resource nID when the program has it, else the built-in text)
// with %1 replaced by lpszInsert.
static BOOL CopyMessage(LPTSTR lpszError, UINT nMaxError, UINT nID, LPCTSTR lpszDefault,
                        LPCTSTR lpszInsert = NULL)
{
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    CString strFormat;
    if (!strFormat.LoadString(nID))
        strFormat = lpszDefault;
    CString strMessage;
    AfxFormatStrings(strMessage, strFormat, &lpszInsert, 1);
    lstrcpynA(lpszError, strMessage, (int)nMaxError);
    return TRUE;
}

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    return CopyMessage(lpszError, nMaxError, GetMessageId(), GetDefaultMessage());
}

UINT CMemoryException::GetMessageId() const { return AFX_IDS_MEMORY_EXCEPTION; }
LPCTSTR CMemoryException::GetDefaultMessage() const { return "Out of memory."; }
UINT CNotSupportedException::GetMessageId() const { return AFX_IDS_NOT_SUPPORTED_EXCEPTION; }
LPCTSTR CNotSupportedException::GetDefaultMessage() const { return "An unsupported operation was attempted."; }
UINT CInvalidArgException::GetMessageId() const { return AFX_IDS_INVALID_ARG_EXCEPTION; }
LPCTSTR CInvalidArgException::GetDefaultMessage() const { return "Encountered an improper argument."; }
UINT CResourceException::GetMessageId() const { return AFX_IDS_RESOURCE_EXCEPTION; }
LPCTSTR CResourceException::GetDefaultMessage() const { return "A required resource was unavailable."; }
UINT CUserException::GetMessageId() const { return AFX_IDS_USER_EXCEPTION; }
LPCTSTR CUserException::GetDefaultMessage() const { return "An unknown error has occurred."; }

// ---- CFileException ---------------------------------------------------------------------

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
{
}

int PASCAL CFileException::OsErrorToException(LONG lOsError)
{
    switch ((DWORD)lOsError)
    {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_NO_MORE_FILES:
    case ERROR_DISK_CHANGE:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_WRONG_DISK:
    case ERROR_DUP_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NET_NAME:
    case ERROR_SHARING_PAUSED:
    case ERROR_ALREADY_ASSIGNED:
    case ERROR_BUFFER_OVERFLOW:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_LEVEL:
    case ERROR_NO_VOLUME_LABEL:
    case ERROR_DIR_NOT_ROOT:
    case ERROR_LABEL_TOO_LONG:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_META_EXPANSION_TOO_LONG:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_SHARING_BUFFER_EXCEEDED:
    case ERROR_TOO_MANY_NAMES:
    case ERROR_NO_MORE_SEARCH_HANDLES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_ACCESS:
    case ERROR_WRITE_PROTECT:
    case ERROR_WRITE_FAULT:
    case ERROR_NETWORK_BUSY:
    case ERROR_BAD_NET_RESP:
    case ERROR_NETNAME_DELETED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_REQ_NOT_ACCEP:
    case ERROR_FILE_EXISTS:
    case ERROR_CANNOT_MAKE:
    case ERROR_INVALID_PASSWORD:
    case ERROR_BUSY:
    case ERROR_ALREADY_EXISTS:
    case ERROR_SWAPERROR:
        return accessDenied;
    case ERROR_BAD_FORMAT:
    case ERROR_NOT_DOS_DISK:
    case ERROR_BAD_REM_ADAP:
    case ERROR_BAD_DEV_TYPE:
    case ERROR_INVALID_TARGET_HANDLE:
    case ERROR_INVALID_ORDINAL:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_BAD_EXE_FORMAT:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_DIR_NOT_EMPTY:
        return removeCurrentDir;
    case ERROR_NO_SPOOL_SPACE:
        return directoryFull;
    case ERROR_BAD_LENGTH:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return badSeek;
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_BAD_COMMAND:
    case ERROR_CRC:
    case ERROR_ADAP_HDW_ERR:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NET_WRITE_FAULT:
    case ERROR_INVALID_CATEGORY:
    case ERROR_OPERATION_ABORTED:
    case ERROR_IO_INCOMPLETE:
    case ERROR_IO_PENDING:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
    case ERROR_LOCK_FAILED:
        return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

int PASCAL CFileException::ErrnoToException(int nErrno)
{
    switch (nErrno)
    {
    case EPERM:
    case EACCES:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EDEADLOCK:
        return sharingViolation;
    case EMFILE:
        return tooManyOpenFiles;
    case ENOENT:
    case ENFILE:
        return fileNotFound;
    case ENOSPC:
        return diskFull;
    case EINVAL:
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void PASCAL CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName)
{
    if (nErrno != 0)
        AfxThrowFileException(ErrnoToException(nErrno), _doserrno, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const LPCTSTR s_rgszMessages[] = {
        "No error occurred.",
        "An unknown error occurred while accessing %1.",
        "%1 was not found.",
        "%1 contains an invalid path.",
        "%1 could not be opened because there are too many open files.",
        "Access to %1 was denied.",
        "An invalid file handle was associated with %1.",
        "%1 could not be removed because it is the current directory.",
        "%1 could not be created because the directory is full.",
        "Seek failed on %1.",
        "A hardware I/O error was reported while accessing %1.",
        "A sharing violation occurred while accessing %1.",
        "A locking violation occurred while accessing %1.",
        "Disk full while accessing %1.",
        "An attempt was made to access %1 past its end.",
    };
    if (pnHelpContext != NULL)
        *pnHelpContext = (UINT)(AFX_IDP_FILE_NONE + m_cause);
    int nCause = (m_cause >= 0 && m_cause <= endOfFile) ? m_cause : genericException;
    LPCTSTR lpszName = m_strFileName.IsEmpty() ? "an unnamed file" : (LPCTSTR)m_strFileName;
    return CopyMessage(lpszError, nMaxError, AFX_IDP_FILE_NONE + nCause, s_rgszMessages[nCause], lpszName);
}

// ---- CArchiveException -------------------------------------------------------------------

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const LPCTSTR s_rgszMessages[] = {
        "No error occurred.",
        "An unknown error occurred while accessing %1.",
        "An attempt was made to write to the reading %1.",
        "An attempt was made to access %1 past its end.",
        "An attempt was made to read from the writing %1.",
        "%1 has a bad format.",
        "%1 contained an unexpected object.",
        "%1 contains an incorrect schema.",
        "The buffer of %1 is full.",
    };
    if (pnHelpContext != NULL)
        *pnHelpContext = (UINT)(AFX_IDP_ARCH_NONE + m_cause);
    int nCause = (m_cause >= 0 && m_cause <= bufferFull) ? m_cause : genericException;
    LPCTSTR lpszName = m_strFileName.IsEmpty() ? "an unnamed file" : (LPCTSTR)m_strFileName;
    // The buffer-full text has no resource id of its own.
    UINT nID = nCause == bufferFull ? 0 : AFX_IDP_ARCH_NONE + nCause;
    return CopyMessage(lpszError, nMaxError, nID, s_rgszMessages[nCause], lpszName);
}

// ---- Throwing -------------------------------------------------------------------------

void AFXAPI AfxThrowMemoryException()
{
    // Preallocated: there may be no memory left to allocate the exception itself.
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}

void AFXAPI AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AFXAPI AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}

void AFXAPI AfxThrowResourceException()
{
    throw new CResourceException;
}

void AFXAPI AfxThrowUserException()
{
    throw new CUserException;
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

namespace
{
// An exception that is none of the framework's, told by its own text (none for one that
// says nothing of itself: the report then gives the framework's text for the case).
class CForeignException : public CException
{
public:
    explicit CForeignException(const char* pszWhat) : m_strWhat(pszWhat) {}
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const override
    {
        if (m_strWhat.IsEmpty() || lpszError == NULL || nMaxError == 0)
            return CException::GetErrorMessage(lpszError, nMaxError, pnHelpContext);
        if (pnHelpContext != NULL)
            *pnHelpContext = 0;
        lstrcpynA(lpszError, m_strWhat, (int)nMaxError);
        return TRUE;
    }

private:
    CString m_strWhat;
};

CException* MemoryException()
{
    // Preallocated, as the thrown one: there may be no memory left for a new one.
    static CMemoryException s_caughtMemory(FALSE);
    return &s_caughtMemory;
}
}  // namespace

CException* AFXAPI AfxCaughtException()
{
    try {
        try {
            throw;
        } catch (CException* e) {
            return e;
        } catch (const std::bad_alloc&) {
            return MemoryException();
        } catch (const std::exception& e) {
            return new CForeignException(e.what());
        } catch (...) {
            return new CForeignException("");
        }
    } catch (const std::bad_alloc&) {
        return MemoryException();
    }
}
