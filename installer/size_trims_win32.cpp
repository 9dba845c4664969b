// The installer is copied into every built installer and every install folder, so its size
// matters. libstdc++'s error paths (the verbose terminate handler with its demangler, and the
// throw helpers that format messages) are most of what std::string costs in a static link.
// The installer never catches them, so ending the process at once is all they could do anyway.
// Everything here is linked into the installer program alone.
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <zlib.h>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
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

// One thread only, so a function-local static needs no lock; libstdc++'s guard would bring the
// whole winpthread library (about 30 KB) for one.
namespace __cxxabiv1 {
extern "C" int __cxa_guard_acquire(long long* guard) { return *reinterpret_cast<char*>(guard) == 0; }
extern "C" void __cxa_guard_release(long long* guard) { *reinterpret_cast<char*>(guard) = 1; }
extern "C" void __cxa_guard_abort(long long*) {}
}  // namespace __cxxabiv1

// snprintf of MinGW's C99 library brings its own formatter with floating-point conversion
// (about 25 KB). The installer formats only small integers and text, which msvcrt.dll's
// formatter does the same; C99's return value (the length needed) is kept.
extern "C" int __mingw_vsnprintf(char* buffer, std::size_t size, const char* format,
                                 va_list arguments) {
  va_list again;
  va_copy(again, arguments);
  int written = size ? _vsnprintf(buffer, size, format, arguments) : -1;
  if (written < 0 || static_cast<std::size_t>(written) >= size) {
    if (size) buffer[size - 1] = '\0';
    written = _vscprintf(format, again);
  }
  va_end(again);
  return written;
}

// The exception runtime and its thread-local emulation guard their tables with pthread calls;
// with one thread these reduce to plain variables, and the winpthread library (another 30 KB)
// stays out. These are all the calls libgcc_eh and libstdc++ make here.
extern "C" {
int pthread_once(long* once, void (*run)(void)) {
  if (*once == 0) {
    *once = 1;
    run();
  }
  return 0;
}
int pthread_mutex_init(void*, const void*) { return 0; }
int pthread_mutex_lock(void*) { return 0; }
int pthread_mutex_unlock(void*) { return 0; }
int pthread_mutex_destroy(void*) { return 0; }

static void* keyValues[8];
static unsigned keysUsed;
int pthread_key_create(unsigned* key, void (*)(void*)) {
  if (keysUsed == sizeof keyValues / sizeof keyValues[0]) return 11;  // EAGAIN
  *key = keysUsed++;
  return 0;
}
void* pthread_getspecific(unsigned key) { return key < keysUsed ? keyValues[key] : nullptr; }
int pthread_setspecific(unsigned key, const void* value) {
  if (key >= keysUsed) return 22;  // EINVAL
  keyValues[key] = const_cast<void*>(value);
  return 0;
}
}

// The archive's writer shares an object file with the reader, so the reader alone would still
// pull zlib's compressor (deflate and its trees, some 32 KB) into the link. The installer never
// writes an archive; should it ever try, the writer gets a clean zlib error, not a crash.
extern "C" {
int deflateInit_(z_streamp, int, const char*, int) { return Z_STREAM_ERROR; }
int deflate(z_streamp, int) { return Z_STREAM_ERROR; }
int deflateEnd(z_streamp) { return Z_STREAM_ERROR; }
}
