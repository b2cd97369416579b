// The exception the C++ runtime's own failures raise in the Windows programs
// (app/win/library_faults.cpp).
#pragma once

#include <exception>

namespace vm {

class LibraryFault : public std::exception {
 public:
  // `what` is one of the runtime's fixed messages, which live as long as the program.
  explicit LibraryFault(const char* what) noexcept : what_(what ? what : "C++ runtime failure") {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace vm
