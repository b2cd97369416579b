// One-time setup on a pthread_once_t-shaped flag (a long that starts at 0): the body of the
// program's pthread_once (app/win/runtime_once_win32.cpp), testable on its own.
#pragma once

namespace vm {

// Runs `setup` if no caller has run it on `once`; a caller that finds it running waits until it
// has finished. Flag values: 0 not run, 1 running, 2 done.
void RunOnce(long* once, void (*setup)(void));

}  // namespace vm
