// Keeps libstdc++'s exception runtime out of the image: about 240 KB of
// unwinder, demangler and exception classes that this program, which throws
// and catches nothing, would only ever use to reach std::terminate. An
// allocation or length error here ends in abort() instead, as it would have
// ended in terminate. Linked into tavi.exe only; tests keep the library's own.
#include <cstdlib>
#include <new>
#include <string>

// The replaceable allocation functions; the library's own throw bad_alloc.
void* operator new(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (p == nullptr) std::abort();
  return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

// The hooks the containers call on a length or range error, declared by
// <bits/functexcept.h>. Should a new compiler define them differently, the
// link fails loudly with a duplicate definition.
namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
}  // namespace std

// The library's prebuilt strings carry catch blocks, and with them the
// exception runtime; these copies are compiled without exceptions.
template class std::basic_string<char>;
template class std::basic_string<wchar_t>;
