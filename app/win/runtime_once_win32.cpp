// pthread_once for the C++ runtime's exception machinery. The 32-bit runtime unwinds with DWARF
// tables, and its unwinder sets up its table registry once through pthread_once. The POSIX
// emulation's pthread_once lives in the same object as its whole thread implementation, and
// linking it brought that, with its read-write locks, spin locks and condition variables, into
// the program (about 28 KB). The program's own threads are the system's (core/threads_win32),
// so this small version takes its place; the 64-bit runtime does not call it. A program that
// links the emulation's threads too fails to link (two definitions), rather than running two.

#include <pthread.h>  // the declaration this definition must match

#include "app/win/run_once_win32.h"

int pthread_once(pthread_once_t* once, void (*setup)(void)) {
  vm::RunOnce(once, setup);
  return 0;
}
