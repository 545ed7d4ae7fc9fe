// The framework's exceptions: thrown as pointers, matched by type in TRY/CATCH, and
// owned by the handler that caught them (deleted when its block ends, unless passed on).
#include <gtest/gtest.h>
#include "framework/exceptions.h"

namespace {

int g_liveTracked = 0;
int g_deletedTracked = 0;

// Counts its own destruction so the tests can see who deleted it, and how often.
class CTrackedException : public CException
{
public:
    explicit CTrackedException(int nTag) : m_nTag(nTag) { ++g_liveTracked; }
    ~CTrackedException() override
    {
        --g_liveTracked;
        ++g_deletedTracked;
    }
    int m_nTag;
};

class ExceptionMacros : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_liveTracked = 0;
        g_deletedTracked = 0;
    }
};

void ThrowFile()
{
    AfxThrowFileException(CFileException::sharingViolation, ERROR_SHARING_VIOLATION, "C:\\data\\a.bin");
}

}  // namespace

TEST_F(ExceptionMacros, CatchMatchesByTypeAndDeletesAtTheEnd)
{
    int taken = 0;
    int cause = -1;
    LONG osError = 0;
    CString name;
    TRY
    {
        ThrowFile();
    }
    CATCH(CArchiveException, e)
    {
        (void)e;
        taken = 1;
    }
    AND_CATCH(CFileException, e)
    {
        taken = 2;
        cause = e->m_cause;
        osError = e->m_lOsError;
        name = e->m_strFileName;
    }
    AND_CATCH_ALL(e)
    {
        (void)e;
        taken = 3;
    }
    END_CATCH_ALL
    EXPECT_EQ(2, taken);
    EXPECT_EQ((int)CFileException::sharingViolation, cause);
    EXPECT_EQ((LONG)ERROR_SHARING_VIOLATION, osError);
    EXPECT_STREQ("C:\\data\\a.bin", (LPCTSTR)name);

    TRY
    {
        throw new CTrackedException(1);
    }
    CATCH(CTrackedException, e)
    {
        EXPECT_EQ(1, e->m_nTag);
        EXPECT_EQ(1, g_liveTracked) << "still alive inside the handler";
    }
    END_CATCH
    EXPECT_EQ(0, g_liveTracked);
    EXPECT_EQ(1, g_deletedTracked);
}

TEST_F(ExceptionMacros, CatchAllTakesEveryFrameworkException)
{
    const CRuntimeClass* caught[3] = {};
    for (int i = 0; i < 3; ++i)
    {
        TRY
        {
            if (i == 0)
                AfxThrowNotSupportedException();
            else if (i == 1)
                AfxThrowArchiveException(CArchiveException::badSchema, "doc");
            else
                throw new CTrackedException(7);
        }
        CATCH_ALL(e)
        {
            caught[i] = e->GetRuntimeClass();
        }
        END_CATCH_ALL
    }
    EXPECT_STREQ("CNotSupportedException", caught[0]->m_lpszClassName);
    EXPECT_STREQ("CArchiveException", caught[1]->m_lpszClassName);
    EXPECT_EQ(1, g_deletedTracked);
}

TEST_F(ExceptionMacros, ThrowLastPassesOwnershipOutward)
{
    int innerSeen = 0, outerSeen = 0;
    TRY
    {
        TRY
        {
            throw new CTrackedException(5);
        }
        CATCH(CTrackedException, e)
        {
            innerSeen = e->m_nTag;
            THROW_LAST();
        }
        END_CATCH
    }
    CATCH(CTrackedException, e)
    {
        EXPECT_EQ(1, g_liveTracked) << "the inner handler must not delete a re-thrown exception";
        outerSeen = e->m_nTag;
    }
    END_CATCH
    EXPECT_EQ(5, innerSeen);
    EXPECT_EQ(5, outerSeen);
    EXPECT_EQ(0, g_liveTracked);
    EXPECT_EQ(1, g_deletedTracked);
}

TEST_F(ExceptionMacros, ThrowOfTheCaughtPointerIsNotDeletedTwice)
{
    int outerSeen = 0;
    TRY
    {
        TRY
        {
            throw new CTrackedException(9);
        }
        CATCH(CTrackedException, e)
        {
            THROW(e);
        }
        END_CATCH
    }
    CATCH(CTrackedException, e)
    {
        outerSeen = e->m_nTag;
        EXPECT_EQ(1, g_liveTracked);
    }
    END_CATCH
    EXPECT_EQ(9, outerSeen);
    EXPECT_EQ(1, g_deletedTracked);
}

TEST_F(ExceptionMacros, NewExceptionFromHandlerReleasesTheOldOne)
{
    int outerTag = 0;
    TRY
    {
        TRY
        {
            throw new CTrackedException(1);
        }
        CATCH(CTrackedException, e)
        {
            (void)e;
            THROW(new CTrackedException(2));
        }
        END_CATCH
    }
    CATCH(CTrackedException, e)
    {
        outerTag = e->m_nTag;
        EXPECT_EQ(1, g_liveTracked) << "the first exception went with the inner handler";
    }
    END_CATCH
    EXPECT_EQ(2, outerTag);
    EXPECT_EQ(0, g_liveTracked);
    EXPECT_EQ(2, g_deletedTracked);
}

TEST_F(ExceptionMacros, DeleteInsideHandlerIsSafe)
{
    TRY
    {
        throw new CTrackedException(3);
    }
    CATCH_ALL(e)
    {
        e->Delete();
    }
    END_CATCH_ALL
    EXPECT_EQ(0, g_liveTracked);
    EXPECT_EQ(1, g_deletedTracked);
}

TEST_F(ExceptionMacros, OtherExceptionsPassThroughUntouched)
{
    bool caughtInt = false;
    bool handlerRan = false;
    try
    {
        TRY
        {
            throw 42;
        }
        CATCH_ALL(e)
        {
            (void)e;
            handlerRan = true;
        }
        END_CATCH_ALL
    }
    catch (int n)
    {
        caughtInt = n == 42;
    }
    EXPECT_TRUE(caughtInt);
    EXPECT_FALSE(handlerRan);

    // An unmatched framework exception leaves the block still owned by no one.
    CException* pEscaped = NULL;
    try
    {
        TRY
        {
            AfxThrowUserException();
        }
        CATCH(CFileException, e)
        {
            (void)e;
        }
        END_CATCH
    }
    catch (CException* e)
    {
        pEscaped = e;
    }
    ASSERT_TRUE(pEscaped != NULL);
    EXPECT_TRUE(pEscaped->IsKindOf(RUNTIME_CLASS(CUserException)));
    pEscaped->Delete();
}

TEST(FrameworkExceptions, MemoryExceptionIsPreallocated)
{
    CMemoryException* first = NULL;
    CMemoryException* second = NULL;
    try { AfxThrowMemoryException(); } catch (CMemoryException* e) { first = e; e->Delete(); }
    try { AfxThrowMemoryException(); } catch (CMemoryException* e) { second = e; e->Delete(); }
    ASSERT_TRUE(first != NULL);
    EXPECT_EQ(first, second);
    EXPECT_FALSE(first->m_bAutoDelete);
    char text[64];
    EXPECT_TRUE(first->GetErrorMessage(text, sizeof(text)));
    EXPECT_STREQ("Out of memory.", text);
}

TEST(FrameworkExceptions, HierarchyAndRuntimeClasses)
{
    struct { CException* p; const CRuntimeClass* pClass; bool bSimple; } cases[] = {
        { new CMemoryException, RUNTIME_CLASS(CMemoryException), true },
        { new CNotSupportedException, RUNTIME_CLASS(CNotSupportedException), true },
        { new CInvalidArgException, RUNTIME_CLASS(CInvalidArgException), true },
        { new CResourceException, RUNTIME_CLASS(CResourceException), true },
        { new CUserException, RUNTIME_CLASS(CUserException), true },
        { new CFileException, RUNTIME_CLASS(CFileException), false },
        { new CArchiveException, RUNTIME_CLASS(CArchiveException), false },
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.pClass->m_lpszClassName);
        EXPECT_EQ(c.pClass, c.p->GetRuntimeClass());
        EXPECT_TRUE(c.p->IsKindOf(RUNTIME_CLASS(CException)));
        EXPECT_TRUE(c.p->IsKindOf(RUNTIME_CLASS(CObject)));
        EXPECT_EQ(c.bSimple, c.p->IsKindOf(RUNTIME_CLASS(CSimpleException)) != FALSE);
        c.p->Delete();
    }
}

TEST(FrameworkExceptions, FileAndArchiveMessagesNameTheFile)
{
    char text[128];
    UINT help = 0;
    CFileException notFound(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\x.txt");
    EXPECT_TRUE(notFound.GetErrorMessage(text, sizeof(text), &help));
    EXPECT_STREQ("C:\\x.txt was not found.", text);

    CFileException unnamed(CFileException::accessDenied);
    EXPECT_TRUE(unnamed.GetErrorMessage(text, sizeof(text)));
    EXPECT_STREQ("Access to an unnamed file was denied.", text);

    CArchiveException badClass(CArchiveException::badClass, "layout.dat");
    EXPECT_TRUE(badClass.GetErrorMessage(text, sizeof(text)));
    EXPECT_STREQ("layout.dat contained an unexpected object.", text);

    // The text is cut to the caller's buffer, terminator included.
    char small[8];
    EXPECT_TRUE(badClass.GetErrorMessage(small, sizeof(small)));
    EXPECT_STREQ("layout.", small);

    // An out-of-range cause still gives a message, not a read past the table.
    CArchiveException odd(1000);
    EXPECT_TRUE(odd.GetErrorMessage(text, sizeof(text)));
    EXPECT_STREQ("An unknown error occurred while accessing an unnamed file.", text);

    CException* pBase = new CTrackedException(0);
    strcpy(text, "junk");
    EXPECT_FALSE(pBase->GetErrorMessage(text, sizeof(text)));
    EXPECT_STREQ("", text);
    pBase->Delete();
}

TEST(FrameworkExceptions, OsErrorsMapToCauses)
{
    struct { LONG lOsError; int cause; } cases[] = {
        { NO_ERROR, CFileException::none },
        { ERROR_FILE_NOT_FOUND, CFileException::fileNotFound },
        { ERROR_PATH_NOT_FOUND, CFileException::badPath },
        { ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles },
        { ERROR_ACCESS_DENIED, CFileException::accessDenied },
        { ERROR_SHARING_VIOLATION, CFileException::sharingViolation },
        { ERROR_LOCK_VIOLATION, CFileException::lockViolation },
        { ERROR_DISK_FULL, CFileException::diskFull },
        { ERROR_HANDLE_EOF, CFileException::endOfFile },
        { ERROR_NEGATIVE_SEEK, CFileException::badSeek },
        { 12345678, CFileException::genericException },
    };
    for (auto& c : cases)
        EXPECT_EQ(c.cause, CFileException::OsErrorToException(c.lOsError)) << "os error " << c.lOsError;

    int cause = -1;
    try
    {
        CFileException::ThrowOsError(ERROR_PATH_NOT_FOUND, "Z:\\nowhere");
    }
    catch (CFileException* e)
    {
        cause = e->m_cause;
        EXPECT_STREQ("Z:\\nowhere", (LPCTSTR)e->m_strFileName);
        e->Delete();
    }
    EXPECT_EQ((int)CFileException::badPath, cause);
}
