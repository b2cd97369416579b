// What the program does when the C++ runtime must end it (an exception that no handler takes,
// or one leaving a function that may not throw): the log says why, then the process aborts.
//
// This replaces the runtime's default handler of the same name. That one writes the exception's
// type to the standard error stream, which a windowed program does not have, and for that links
// the runtime's whole name demangler (about 45 KB) into the program.

#include <cstdlib>
#include <exception>

#include "core/log.h"

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  static bool entered = false;  // a second call (from the log itself) aborts at once
  if (!entered) {
    entered = true;
    if (std::exception_ptr current = std::current_exception()) {
      try {
        std::rethrow_exception(current);
      } catch (const std::exception& e) {
        vm::WriteLog(" The program ends: uncaught exception: %s", e.what());
      } catch (...) {
        vm::WriteLog(" The program ends: uncaught exception");
      }
    } else {
      vm::WriteLog(" The program ends: terminate called without an exception");
    }
  }
  std::abort();
}

}  // namespace __gnu_cxx
