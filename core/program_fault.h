// A fault in how the program uses its own parts (a control asking for a peer it cannot have):
// an exception with a message and nothing else. Thrown instead of std::logic_error, whose
// message string drags the runtime's old reference-counted string into the Windows programs.
#pragma once

#include <exception>
#include <string>

namespace vm {

class ProgramFault : public std::exception {
 public:
  explicit ProgramFault(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace vm
