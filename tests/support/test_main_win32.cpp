// The entry of the Windows test programs. The report is complete when RUN_ALL_TESTS returns;
// the process then ends at once, so that a worker thread or a system library still busy at
// exit (a speech worker, a COM server) cannot keep it alive or fault while it unwinds.

#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
  return result;
}
