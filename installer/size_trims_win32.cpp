// The installer is copied into every built installer and every install folder, so its size
// matters. libstdc++'s error paths (the verbose terminate handler with its demangler, and the
// throw helpers that format messages) are most of what std::string costs in a static link.
// The installer never catches them, so ending the process at once is all they could do anyway.
// Everything here is linked into the installer program alone.
#include <bits/functexcept.h>

#include <cstddef>
#include <cstdlib>

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
// A failed bounds check of std::string (_GLIBCXX_ASSERTIONS) ends the process without the
// message, which would bring the demangler and a printf.
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept { std::abort(); }
}  // namespace std

// Memory that cannot be had ends the process: the standard operator new would throw bad_alloc
// and so bring the whole exception runtime (about 35 KB) for a case the installer cannot handle.
void* operator new(std::size_t size) {
  void* memory = std::malloc(size ? size : 1);
  if (!memory) std::abort();
  return memory;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
