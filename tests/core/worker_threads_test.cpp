#include "core/worker_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace vm {
namespace {

using namespace std::chrono_literals;

// Counts bodies that have run and lets a test wait for a number of them.
class Arrivals {
 public:
  void Arrive() {
    std::lock_guard lock(mutex_);
    ++count_;
    changed_.notify_all();
  }
  bool WaitFor(int count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return count_ >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

// Threads started back to back, as two texts spoken at once are: each body runs exactly once,
// none is lost and none runs another's work.
TEST(WorkerThreadsTest, EveryBodyRunsOnceWhenStartedBackToBack) {
  constexpr int kRounds = 300;
  constexpr int kPerRound = 2;
  std::vector<std::atomic<int>> runs(kRounds * kPerRound);
  Arrivals arrivals;
  {
    WorkerThreads threads;
    for (int round = 0; round < kRounds; ++round) {
      for (int k = 0; k < kPerRound; ++k) {
        const int id = round * kPerRound + k;
        ASSERT_TRUE(threads.Start([&, id] {
          runs[id].fetch_add(1);
          arrivals.Arrive();
        }));
      }
      ASSERT_TRUE(arrivals.WaitFor((round + 1) * kPerRound, 10s)) << "round " << round;
    }
  }
  for (int id = 0; id < kRounds * kPerRound; ++id) EXPECT_EQ(runs[id].load(), 1) << "body " << id;
}

TEST(WorkerThreadsTest, LaterStartsJoinFinishedThreadsButNeverWaitForRunningOnes) {
  std::mutex m;
  std::condition_variable cv;
  bool release = false;
  bool releasedByTest = false;
  Arrivals arrivals;
  {
    WorkerThreads threads;
    ASSERT_TRUE(threads.Start([&] {
      std::unique_lock lock(m);
      releasedByTest = cv.wait_for(lock, 10s, [&] { return release; });
    }));

    // Quick bodies finish while the first one still waits; later starts join them, never it.
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(threads.Start([&] { arrivals.Arrive(); }));
    ASSERT_TRUE(arrivals.WaitFor(20, 10s));
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (threads.Kept() > 2 && std::chrono::steady_clock::now() < deadline) {
      ASSERT_TRUE(threads.Start([] {}));
      std::this_thread::sleep_for(1ms);
    }
    // The waiting one and at most the newest quick one.
    EXPECT_LE(threads.Kept(), 2);
    {
      std::lock_guard lock(m);
      release = true;
    }
    cv.notify_all();
  }
  // Had a start waited for the first thread, that thread's wait would have run out first.
  EXPECT_TRUE(releasedByTest);
}

TEST(WorkerThreadsTest, OwnListWaitsForItsRunningThreadsWhenDestroyed) {
  std::atomic<bool> done{false};
  {
    WorkerThreads threads;
    ASSERT_TRUE(threads.Start([&] {
      std::this_thread::sleep_for(50ms);
      done = true;
    }));
  }
  EXPECT_TRUE(done.load());
}

}  // namespace
}  // namespace vm
