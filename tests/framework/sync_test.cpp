// Synchronisation wrappers: event reset modes, scoped locks, and mutual exclusion.
#include <gtest/gtest.h>
#include <process.h>
#include "framework/sync.h"

TEST(Sync, EventResetModes)
{
    CEvent autoReset;
    EXPECT_FALSE(autoReset.Lock(0));
    autoReset.SetEvent();
    EXPECT_TRUE(autoReset.Lock(0));
    EXPECT_FALSE(autoReset.Lock(0)) << "an auto-reset event is consumed by one wait";

    CEvent manual(TRUE, TRUE);
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0)) << "a manual-reset event stays signalled";
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));
}

namespace {
struct MutexProbe
{
    CMutex* pMutex;
    BOOL bGot;
};
unsigned __stdcall TryMutex(void* pv)
{
    MutexProbe* p = static_cast<MutexProbe*>(pv);
    p->bGot = p->pMutex->Lock(0);
    if (p->bGot)
        p->pMutex->Unlock();
    return 0;
}
BOOL OtherThreadGets(CMutex& mutex)
{
    MutexProbe probe = { &mutex, FALSE };
    HANDLE h = (HANDLE)_beginthreadex(NULL, 0, TryMutex, &probe, 0, NULL);
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
    return probe.bGot;
}

struct Counter
{
    CCriticalSection cs;
    long value = 0;
};
unsigned __stdcall AddMany(void* pv)
{
    Counter* c = static_cast<Counter*>(pv);
    for (int i = 0; i < 20000; ++i)
    {
        CSingleLock lock(&c->cs, TRUE);
        long v = c->value;
        if ((i & 255) == 0)
            Sleep(0);
        c->value = v + 1;
    }
    return 0;
}
}  // namespace

TEST(Sync, SingleLockHoldsUntilUnlockOrScopeEnd)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex);
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_TRUE(lock.Lock());
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_FALSE(OtherThreadGets(mutex));
        lock.Unlock();
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_TRUE(OtherThreadGets(mutex));
        EXPECT_TRUE(lock.Lock());
    }
    EXPECT_TRUE(OtherThreadGets(mutex)) << "released when the lock went out of scope";
}

TEST(Sync, CriticalSectionExcludesOtherThreads)
{
    Counter counter;
    HANDLE threads[2];
    for (HANDLE& h : threads)
        h = (HANDLE)_beginthreadex(NULL, 0, AddMany, &counter, 0, NULL);
    WaitForMultipleObjects(2, threads, TRUE, INFINITE);
    for (HANDLE h : threads)
        CloseHandle(h);
    EXPECT_EQ(40000, counter.value);
}
