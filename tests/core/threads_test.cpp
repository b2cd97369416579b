// The program's threads and locks (the system's own on Windows; this program runs under Wine
// too) and the first initialisation of function-local statics across threads.

#include "core/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace vm {
namespace {

std::atomic<int> gSlowInitialisations{0};

int SlowlyInitialised() {
  static const int value = [] {
    ++gSlowInitialisations;
    // Long enough for the other threads to arrive while the first one initialises.
    Mutex m;
    ConditionVariable never;
    UniqueLock lock(m);
    never.wait_for(lock, std::chrono::milliseconds(50), [] { return false; });
    return 42;
  }();
  return value;
}

std::atomic<int> gThrowingTries{0};

int InitialisedOnTheSecondTry() {
  static const int value = [] {
    if (++gThrowingTries == 1) throw std::runtime_error("first try fails");
    return 7;
  }();
  return value;
}

TEST(ThreadsTest, AStaticIsInitialisedOnceWhileOtherThreadsWaitForIt) {
  constexpr int kThreads = 8;
  std::vector<int> seen(kThreads, 0);
  {
    std::vector<Thread> threads(kThreads);
    for (int i = 0; i < kThreads; ++i) ASSERT_TRUE(threads[i].Start([&seen, i] { seen[i] = SlowlyInitialised(); }));
  }  // each Thread joins as it goes
  EXPECT_EQ(gSlowInitialisations.load(), 1);
  for (int value : seen) EXPECT_EQ(value, 42);
}

TEST(ThreadsTest, AnInitialisationThatThrowsIsTriedAgainAtTheNextUse) {
  EXPECT_THROW(InitialisedOnTheSecondTry(), std::runtime_error);
  EXPECT_EQ(InitialisedOnTheSecondTry(), 7);
  EXPECT_EQ(InitialisedOnTheSecondTry(), 7);
  EXPECT_EQ(gThrowingTries.load(), 2);
}

TEST(ThreadsTest, AWaitEndsAtItsConditionOrAtItsTime) {
  Mutex m;
  ConditionVariable changed;
  bool ready = false;
  Thread setter;
  ASSERT_TRUE(setter.Start([&] {
    std::lock_guard guard(m);
    ready = true;
    changed.notify_all();
  }));
  {
    UniqueLock lock(m);
    EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return ready; }));
  }
  setter.Join();
  EXPECT_FALSE(setter.Joinable());

  UniqueLock lock(m);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(changed.wait_for(lock, std::chrono::milliseconds(30), [] { return false; }));
  // The system tick is coarse (some 16 ms on Windows): the wait is at least most of its time.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));
}

thread_local int tCounter = 5;  // an initial value other than zero
thread_local char tName[40];     // all zero at first in every thread

TEST(ThreadsTest, EachThreadHasItsOwnThreadLocalsAndItsOwnExceptionsInFlight) {
  constexpr int kThreads = 6;
  std::vector<int> counters(kThreads, 0);
  std::vector<int> caught(kThreads, 0);
  std::vector<bool> namesStartedEmpty(kThreads, false);
  tCounter = 100;
  {
    std::vector<Thread> threads(kThreads);
    for (int i = 0; i < kThreads; ++i) {
      ASSERT_TRUE(threads[i].Start([&, i] {
        namesStartedEmpty[i] = tName[0] == 0 && tName[39] == 0;
        tName[0] = static_cast<char>('a' + i);
        for (int k = 0; k < 1000; ++k) {
          ++tCounter;
          try {
            throw std::runtime_error(std::string(1, tName[0]));
          } catch (const std::runtime_error& e) {
            if (e.what()[0] == tName[0]) ++caught[i];
          }
        }
        counters[i] = tCounter;
      }));
    }
  }
  EXPECT_EQ(tCounter, 100);
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(counters[i], 1005) << "thread " << i;
    EXPECT_EQ(caught[i], 1000) << "thread " << i;
    EXPECT_TRUE(namesStartedEmpty[i]) << "thread " << i;
  }
}

}  // namespace
}  // namespace vm
