#pragma once
// printf-style formatting into a string of any length, for the log and the few numeric texts
// of the program. Only the plain conversions are used (%d %u %x %X %s %c with width, zero fill
// and precision), which every C runtime formats alike: on Windows the system's own C runtime
// (msvcrt) does the work, which keeps a second formatter and its floating-point conversion out
// of the program.

#include <cstdarg>
#include <string>

namespace vm {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list args);

}  // namespace vm
