#pragma once
// The program's threads, locks and condition variables. On Linux they are the standard
// library's own (Mutex and ConditionVariable are std::mutex and std::condition_variable). On
// Windows they are the system's: a slim reader-writer lock, a condition variable and
// CreateThread. The standard ones of MinGW's runtime go through its POSIX thread emulation,
// which would bring some 35 KB into the program for what the system already has. Mutex meets
// the standard's lockable requirements, so std::lock_guard takes it; a condition variable waits
// with a UniqueLock (std::unique_lock on Linux, whose checks throw std::system_error).

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

#ifndef _WIN32
#include <condition_variable>
#include <thread>
#endif

namespace vm {

#ifdef _WIN32

class Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;
  void lock();
  bool try_lock();
  void unlock();

 private:
  friend class ConditionVariable;
  void* lock_ = nullptr;  // SRWLOCK; all zero is its initial state
};

// Holds a Mutex from its construction to its destruction, and may let it go and take it again
// in between.
class UniqueLock {
 public:
  explicit UniqueLock(Mutex& mutex) : mutex_(mutex) { mutex_.lock(); }
  ~UniqueLock() {
    if (owns_) mutex_.unlock();
  }
  UniqueLock(const UniqueLock&) = delete;
  UniqueLock& operator=(const UniqueLock&) = delete;
  void lock() {
    mutex_.lock();
    owns_ = true;
  }
  void unlock() {
    owns_ = false;
    mutex_.unlock();
  }
  Mutex* mutex() const { return &mutex_; }

 private:
  Mutex& mutex_;
  bool owns_ = true;
};

class ConditionVariable {
 public:
  ConditionVariable() = default;
  ConditionVariable(const ConditionVariable&) = delete;
  ConditionVariable& operator=(const ConditionVariable&) = delete;
  void notify_one();
  void notify_all();
  void wait(UniqueLock& lock);
  template <class Predicate>
  void wait(UniqueLock& lock, Predicate done) {
    while (!done()) wait(lock);
  }
  // Waits until `done` holds or the time has passed; returns `done()` at the end.
  template <class Rep, class Period, class Predicate>
  bool wait_for(UniqueLock& lock, const std::chrono::duration<Rep, Period>& timeout,
                Predicate done) {
    const std::int64_t deadline =
        NowMs() + std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
    while (!done()) {
      const std::int64_t left = deadline - NowMs();
      if (left <= 0) return done();
      WaitMs(lock, left);
    }
    return true;
  }

 private:
  static std::int64_t NowMs();
  void WaitMs(UniqueLock& lock, std::int64_t ms);
  void* variable_ = nullptr;  // CONDITION_VARIABLE; all zero is its initial state
};

#else

using Mutex = std::mutex;
using UniqueLock = std::unique_lock<std::mutex>;
using ConditionVariable = std::condition_variable;

#endif

// A thread that its owner joins. Unlike std::thread, a failed start is a result, not an
// exception, and the destructor joins a thread still running.
class Thread {
 public:
  Thread() = default;
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Runs `body` on a new thread; false when none could be started (`body` does not run then).
  // The thread must not be started while one is joinable. `body` must not throw.
  bool Start(std::function<void()> body);
  bool Joinable() const;
  void Join();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  std::thread thread_;
#endif
};

}  // namespace vm
