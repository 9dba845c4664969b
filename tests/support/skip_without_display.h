#pragma once
// Test programs that make windows: under Wine without an X display none can be made, so the
// program reports itself skipped (exit 77, the tests' skip code).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace zarvane {

inline void SkipWithoutDisplay() {
  bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  if (wine && !std::getenv("DISPLAY")) {
    std::printf("no DISPLAY: skipped\n");
    std::exit(77);
  }
}

}  // namespace zarvane
