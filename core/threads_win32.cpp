// The system's threads and locks for the program on Windows (see threads.h).

#include "core/threads.h"

#include <windows.h>

#include <memory>
#include <utility>

namespace vm {

namespace {

static_assert(sizeof(void*) == sizeof(SRWLOCK) && sizeof(void*) == sizeof(CONDITION_VARIABLE),
              "the lock and the condition variable are kept in one pointer each");

PSRWLOCK Srw(void*& state) { return reinterpret_cast<PSRWLOCK>(&state); }
PCONDITION_VARIABLE Cv(void*& state) { return reinterpret_cast<PCONDITION_VARIABLE>(&state); }

DWORD WINAPI RunBody(void* parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  (*body)();
  return 0;
}

}  // namespace

void Mutex::lock() { AcquireSRWLockExclusive(Srw(lock_)); }
bool Mutex::try_lock() { return TryAcquireSRWLockExclusive(Srw(lock_)) != 0; }
void Mutex::unlock() { ReleaseSRWLockExclusive(Srw(lock_)); }

void ConditionVariable::notify_one() { WakeConditionVariable(Cv(variable_)); }
void ConditionVariable::notify_all() { WakeAllConditionVariable(Cv(variable_)); }

void ConditionVariable::wait(UniqueLock& lock) {
  SleepConditionVariableSRW(Cv(variable_), Srw(lock.mutex()->lock_), INFINITE, 0);
}

void ConditionVariable::WaitMs(UniqueLock& lock, std::int64_t ms) {
  // Below INFINITE: a longer wait is simply continued by the caller's loop.
  const DWORD step = ms >= static_cast<std::int64_t>(INFINITE) ? INFINITE - 1 : static_cast<DWORD>(ms);
  SleepConditionVariableSRW(Cv(variable_), Srw(lock.mutex()->lock_), step, 0);
}

std::int64_t ConditionVariable::NowMs() { return static_cast<std::int64_t>(GetTickCount64()); }

Thread::~Thread() { Join(); }

bool Thread::Start(std::function<void()> body) {
  auto parameter = std::make_unique<std::function<void()>>(std::move(body));
  HANDLE handle = CreateThread(nullptr, 0, RunBody, parameter.get(), 0, nullptr);
  if (!handle) return false;
  (void)parameter.release();  // the thread owns it now
  handle_ = handle;
  return true;
}

bool Thread::Joinable() const { return handle_ != nullptr; }

void Thread::Join() {
  if (!handle_) return;
  WaitForSingleObject(handle_, INFINITE);
  CloseHandle(handle_);
  handle_ = nullptr;
}

}  // namespace vm
