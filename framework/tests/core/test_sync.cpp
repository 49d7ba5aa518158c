// Locks across two threads.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "afx.h"

TEST(FrameworkSync, CriticalSectionSerialisesTwoThreads)
{
    CCriticalSection cs;
    long nCounter = 0;   // a plain variable: only the lock protects it
    auto work = [&] {
        for (int i = 0; i < 100000; i++) {
            CSingleLock lock(&cs, TRUE);
            nCounter = nCounter + 1;
        }
    };
    std::thread other(work);
    work();
    other.join();
    EXPECT_EQ(200000, nCounter);
}

TEST(FrameworkSync, SecondThreadWaitsUntilTheLockIsReleased)
{
    CCriticalSection cs;
    CEvent started(FALSE, TRUE);
    std::atomic<int> nEntered{0};
    CSingleLock held(&cs, TRUE);
    ASSERT_TRUE(held.IsLocked());
    std::atomic<int> nTryEntered{-1};
    std::thread other([&] {
        // While this thread's owner holds it, the section cannot be entered.
        const BOOL bGot = ::TryEnterCriticalSection(cs);
        if (bGot)
            ::LeaveCriticalSection(cs);
        nTryEntered = bGot ? 1 : 0;
        started.SetEvent();
        CSingleLock lock(&cs, TRUE);
        nEntered = 1;
    });
    ASSERT_TRUE(CSingleLock(&started).Lock(30000));
    EXPECT_EQ(0, nTryEntered.load());
    EXPECT_EQ(0, nEntered.load());
    EXPECT_TRUE(held.Unlock());
    other.join();
    EXPECT_EQ(1, nEntered.load());
}

TEST(FrameworkSync, MutexTimeoutAndAbandonment)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        ASSERT_TRUE(lock.IsLocked());
        BOOL bOtherGotIt = TRUE;
        std::thread([&] { bOtherGotIt = CSingleLock(&mutex).Lock(50); }).join();
        EXPECT_FALSE(bOtherGotIt);
    }   // released here
    BOOL bOtherGotIt = FALSE;
    std::thread([&] {
        CSingleLock lock(&mutex);
        bOtherGotIt = lock.Lock(1000);
    }).join();
    EXPECT_TRUE(bOtherGotIt);

    // A thread that ends holding the mutex abandons it: the next waiter owns
    // it and must be told so, or it would never release it.
    std::thread([&] { mutex.Lock(); }).join();
    CSingleLock lock(&mutex);
    EXPECT_TRUE(lock.Lock(1000));
    EXPECT_TRUE(lock.Unlock());
    std::thread([&] { bOtherGotIt = CSingleLock(&mutex).Lock(1000); }).join();
    EXPECT_TRUE(bOtherGotIt);
}

TEST(FrameworkSync, EventsAutoAndManualReset)
{
    CEvent autoReset;
    EXPECT_FALSE(autoReset.Lock(0));
    std::thread([&] { autoReset.SetEvent(); }).join();
    EXPECT_TRUE(autoReset.Lock(1000));
    EXPECT_FALSE(autoReset.Lock(0));            // consumed by the first wait

    CEvent manual(FALSE, TRUE);
    manual.SetEvent();
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0));
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));

    CEvent initiallySet(TRUE, TRUE);
    CSingleLock lock(&initiallySet);
    EXPECT_TRUE(lock.Lock(0));
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
}
