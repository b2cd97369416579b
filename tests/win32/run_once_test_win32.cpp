// The body of the program's pthread_once (app/win/run_once_win32.cpp, which the 32-bit
// runtime's unwinder calls before the first exception): one setup for many callers, and no
// caller goes on before it has finished.

#include "app/win/run_once_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>

namespace {

volatile long setupRuns = 0;
volatile long setupDone = 0;

void SlowSetup() {
  InterlockedIncrement(&setupRuns);
  Sleep(50);  // long enough for every other caller to arrive while it runs
  InterlockedExchange(&setupDone, 1);
}

struct Caller {
  long* once;
  HANDLE start;
  long sawDone = -1;
};

DWORD WINAPI CallOnce(void* parameter) {
  auto& caller = *static_cast<Caller*>(parameter);
  WaitForSingleObject(caller.start, INFINITE);
  vm::RunOnce(caller.once, &SlowSetup);
  caller.sawDone = setupDone;
  return 0;
}

TEST(RunOnceTest, ManyCallersRunTheSetupOnceAndAllWaitForIt) {
  long once = 0;  // PTHREAD_ONCE_INIT
  HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::array<Caller, 8> callers;
  std::array<HANDLE, 8> threads{};
  for (std::size_t i = 0; i < callers.size(); ++i) {
    callers[i].once = &once;
    callers[i].start = start;
    threads[i] = CreateThread(nullptr, 0, &CallOnce, &callers[i], 0, nullptr);
    ASSERT_NE(threads[i], nullptr);
  }
  SetEvent(start);
  WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
  for (HANDLE thread : threads) CloseHandle(thread);
  CloseHandle(start);
  EXPECT_EQ(setupRuns, 1);
  for (const Caller& caller : callers) EXPECT_EQ(caller.sawDone, 1);
  vm::RunOnce(&once, &SlowSetup);  // later calls do nothing
  EXPECT_EQ(setupRuns, 1);
}

}  // namespace
