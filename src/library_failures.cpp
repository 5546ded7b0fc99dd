// libstdc++ throws its std::logic_error family through the std::__throw_* functions of one
// object, whose error classes keep their text in the library's reference-counted string: linking
// it brings that whole string along (a sixth of the exe). These throw the same bad_alloc, and for
// the programming errors an exception with the library's own text, which the handlers report
// the same way: none of them catches those classes by name.
#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>
#include <typeinfo>

#if defined(__GLIBCXX__)
namespace {

class LibraryFailure : public std::exception {
 public:
  explicit LibraryFailure(const char* text) { Append(text); }
  const char* what() const noexcept override { return text_; }

  void Append(const char* text) {
    while (*text && length_ < sizeof text_ - 1) text_[length_++] = *text++;
    text_[length_] = '\0';
  }
  void AppendNumber(std::size_t value) {
    char digits[24];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (count > 0 && length_ < sizeof text_ - 1) text_[length_++] = digits[--count];
    text_[length_] = '\0';
  }

 private:
  char text_[256] = {};
  std::size_t length_ = 0;
};

}  // namespace

namespace std {

// Every function of that object, so that it is never linked, whatever code comes to call.
void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* text) { throw LibraryFailure(text); }
void __throw_domain_error(const char* text) { throw LibraryFailure(text); }
void __throw_invalid_argument(const char* text) { throw LibraryFailure(text); }
void __throw_length_error(const char* text) { throw LibraryFailure(text); }
void __throw_out_of_range(const char* text) { throw LibraryFailure(text); }
void __throw_runtime_error(const char* text) { throw LibraryFailure(text); }
void __throw_range_error(const char* text) { throw LibraryFailure(text); }
void __throw_overflow_error(const char* text) { throw LibraryFailure(text); }
void __throw_underflow_error(const char* text) { throw LibraryFailure(text); }

// The library's formats hold only %s, %zu and %%.
void __throw_out_of_range_fmt(const char* format, ...) {
  LibraryFailure failure("");
  va_list args;
  va_start(args, format);
  char plain[2] = {};
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      failure.Append(va_arg(args, const char*));
      ++p;
    } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
      failure.AppendNumber(va_arg(args, std::size_t));
      p += 2;
    } else {
      if (p[0] == '%' && p[1] == '%') ++p;
      plain[0] = *p;
      failure.Append(plain);
    }
  }
  va_end(args);
  throw failure;
}

}  // namespace std
#endif
