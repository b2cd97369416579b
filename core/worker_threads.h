#pragma once
// Threads that run on their own and are never waited for by whoever starts them, without being
// detached: MinGW's thread library, under Wine, now and then lost a thread that was detached
// right after its start (its body never ran, or ran another thread's body). Each thread stays
// joinable and is kept in a list; a later start joins the ones that have finished. The list of
// the process is never destroyed, so threads still running when the process ends are simply
// ended with it, as detached ones would be.

#include <atomic>
#include <functional>
#include <list>
#include <mutex>

#include "core/threads.h"

namespace vm {

class WorkerThreads {
 public:
  WorkerThreads() = default;
  // Waits for every thread still kept (for a list that is not the process's own).
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // The process's list; it lives until the process ends.
  static WorkerThreads& Process();

  // Runs `body` on a new thread; the finished threads of earlier starts are joined first. False
  // when no thread could be started (`body` has not run then and will not). `body` must not
  // throw.
  bool Start(std::function<void()> body);

  // How many threads are kept: running ones and finished ones not yet joined.
  int Kept();

 private:
  struct Worker {
    Thread thread;
    std::atomic<bool> finished{false};
  };
  void JoinFinished();

  Mutex mutex_;
  std::list<Worker> workers_;
};

}  // namespace vm
