// linkvane.exe's replacements for parts of the static C++ runtime that cost far more bytes than
// they are worth here. Linked into the executable only; the test programs keep the library's own.

#include <cstdlib>
#include <exception>
#include <new>

namespace {

// What the standard containers raise when misused or asked for more than they can hold. The
// library's own exception types keep their message in a copy-on-write std::string, and its
// std::__throw_* functions all live in one object file that drags in every member of two
// std::string implementations and std::random_device (about 80 KiB with their unwind tables).
// This type carries the same message as a literal.
class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* what) noexcept : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

// Every function that file defines is defined here, so that the linker never needs it: one left
// out and used would bring it back, and the link would fail on the functions defined twice.
namespace std {
void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw LibraryError("std::bad_cast"); }
void __throw_bad_typeid() { throw LibraryError("std::bad_typeid"); }
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_domain_error(const char* what) { throw LibraryError(what); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
// The format's arguments (an index and a size) are dropped: the message names the operation.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* what) { throw LibraryError(what); }
void __throw_range_error(const char* what) { throw LibraryError(what); }
void __throw_overflow_error(const char* what) { throw LibraryError(what); }
void __throw_underflow_error(const char* what) { throw LibraryError(what); }
void __throw_bad_function_call() { throw LibraryError("std::bad_function_call"); }
}  // namespace std

// Every exception is caught in RunProgram, so std::terminate can only mean a broken program.
// Replacing the library's verbose handler, which prints the demangled type of the exception,
// keeps its demangler (a third of a static build's size) out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
