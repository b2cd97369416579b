// The C++ runtime's own failures (std::vector::at past the end, a string too long, std::stoi of
// something that is no number) raise their exceptions through these functions. They replace
// the runtime's versions of the same names, whose std::logic_error family keeps its message in
// the runtime's old reference-counted string and links that string's whole implementation
// (about 29 KB) into the program. These throw vm::LibraryFault, a std::exception whose what()
// is the runtime's message; the program's handlers catch std::exception, and no handler catches
// the narrower types. Failures that carry no message throw the standard types as before.
//
// All of the runtime's versions are defined here: the linker then never needs its own object,
// which would define them a second time.

#include <bits/functexcept.h>  // the declarations these definitions must match
#include <new>
#include <typeinfo>

#include "app/win/library_faults.h"

namespace std {

void __throw_bad_exception() { throw std::bad_exception(); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_bad_cast() { throw std::bad_cast(); }
void __throw_bad_typeid() { throw std::bad_typeid(); }
void __throw_logic_error(const char* what) { throw vm::LibraryFault(what); }
void __throw_domain_error(const char* what) { throw vm::LibraryFault(what); }
void __throw_invalid_argument(const char* what) { throw vm::LibraryFault(what); }
void __throw_length_error(const char* what) { throw vm::LibraryFault(what); }
void __throw_out_of_range(const char* what) { throw vm::LibraryFault(what); }
// The message is the format itself: its values are not worth the formatter.
void __throw_out_of_range_fmt(const char* format, ...) { throw vm::LibraryFault(format); }
void __throw_runtime_error(const char* what) { throw vm::LibraryFault(what); }
void __throw_range_error(const char* what) { throw vm::LibraryFault(what); }
void __throw_overflow_error(const char* what) { throw vm::LibraryFault(what); }
void __throw_underflow_error(const char* what) { throw vm::LibraryFault(what); }

}  // namespace std
