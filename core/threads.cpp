// The standard library's threads, for every system but Windows (see threads_win32.cpp).
#ifndef _WIN32

#include "core/threads.h"

#include <system_error>
#include <utility>

namespace vm {

Thread::~Thread() { Join(); }

bool Thread::Start(std::function<void()> body) {
  try {
    thread_ = std::thread(std::move(body));
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

bool Thread::Joinable() const { return thread_.joinable(); }

void Thread::Join() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace vm

#endif
