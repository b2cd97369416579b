// The guards of function-local statics (the C++ ABI's __cxa_guard_acquire, _release and
// _abort), on the system's lock and condition variable. The compiler calls them around the
// first initialisation of such a static so that a second thread waits until the first one has
// finished it. MinGW's own ones go through its POSIX thread emulation, which brings a thread
// library's worth of code (some 25 KB) into the program; these are what it needs of it.
//
// The guard is 64 bits: byte 0 is set once the object is initialised (the compiler tests it
// before calling), byte 1 while a thread initialises it, and the upper half names that thread,
// so that a recursive initialisation (undefined behaviour) ends the program instead of hanging.

#include <windows.h>

#include <cstdint>
#include <exception>

namespace {

SRWLOCK gGuardLock = SRWLOCK_INIT;
CONDITION_VARIABLE gGuardDone = CONDITION_VARIABLE_INIT;

struct GuardBytes {
  volatile std::uint8_t initialized;
  std::uint8_t busy;
  std::uint8_t unused[2];
  DWORD thread;
};
static_assert(sizeof(GuardBytes) == 8, "the ABI's guard is 64 bits");

GuardBytes* Bytes(std::int64_t* guard) { return reinterpret_cast<GuardBytes*>(guard); }

}  // namespace

extern "C" {

int __cxa_guard_acquire(std::int64_t* guard) {
  GuardBytes* g = Bytes(guard);
  if (__atomic_load_n(&g->initialized, __ATOMIC_ACQUIRE)) return 0;
  AcquireSRWLockExclusive(&gGuardLock);
  for (;;) {
    if (g->initialized) {
      ReleaseSRWLockExclusive(&gGuardLock);
      return 0;
    }
    if (!g->busy) {
      g->busy = 1;
      g->thread = GetCurrentThreadId();
      ReleaseSRWLockExclusive(&gGuardLock);
      return 1;  // the caller initialises the object now
    }
    if (g->thread == GetCurrentThreadId()) std::terminate();  // its own initialisation again
    SleepConditionVariableSRW(&gGuardDone, &gGuardLock, INFINITE, 0);
  }
}

void __cxa_guard_release(std::int64_t* guard) {
  GuardBytes* g = Bytes(guard);
  AcquireSRWLockExclusive(&gGuardLock);
  g->busy = 0;
  __atomic_store_n(&g->initialized, 1, __ATOMIC_RELEASE);
  ReleaseSRWLockExclusive(&gGuardLock);
  WakeAllConditionVariable(&gGuardDone);
}

// The initialisation threw: the next use tries again.
void __cxa_guard_abort(std::int64_t* guard) {
  GuardBytes* g = Bytes(guard);
  AcquireSRWLockExclusive(&gGuardLock);
  g->busy = 0;
  ReleaseSRWLockExclusive(&gGuardLock);
  WakeAllConditionVariable(&gGuardDone);
}

}  // extern "C"
