#include "app/win/run_once_win32.h"

#include <windows.h>

namespace vm {

void RunOnce(long* once, void (*setup)(void)) {
  constexpr long kNotRun = 0, kRunning = 1, kDone = 2;
  if (InterlockedCompareExchange(once, kRunning, kNotRun) == kNotRun) {
    setup();
    InterlockedExchange(once, kDone);
    return;
  }
  for (int round = 0; InterlockedCompareExchange(once, kDone, kDone) != kDone; ++round)
    Sleep(round < 16 ? 0 : 1);
}

}  // namespace vm
