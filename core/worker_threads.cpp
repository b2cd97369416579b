#include "core/worker_threads.h"

#include <atomic>
#include <exception>
#include <utility>

namespace vm {

WorkerThreads::~WorkerThreads() {
  for (Worker& w : workers_) w.thread.Join();
}

WorkerThreads& WorkerThreads::Process() {
  // Never destroyed: a destructor at the process's end would wait for threads still running.
  static WorkerThreads* const process = new WorkerThreads;
  return *process;
}

void WorkerThreads::JoinFinished() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (it->finished.load(std::memory_order_acquire)) {
      // The flag is the thread's last step, so this join returns at once.
      it->thread.Join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

bool WorkerThreads::Start(std::function<void()> body) {
  std::lock_guard lock(mutex_);
  JoinFinished();
  // The place in the list comes first: once the thread runs, keeping it must not fail. A list
  // keeps its elements in place, so the thread may hold on to its own flag.
  try {
    workers_.emplace_back();
  } catch (const std::exception&) {
    return false;
  }
  Worker& worker = workers_.back();
  const bool started = worker.thread.Start([body = std::move(body), &finished = worker.finished] {
    body();
    finished.store(true, std::memory_order_release);
  });
  if (!started) workers_.pop_back();
  return started;
}

int WorkerThreads::Kept() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(workers_.size());
}

}  // namespace vm
