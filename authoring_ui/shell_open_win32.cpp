#include <windows.h>
#include <shellapi.h>

#include "shell_open.h"

namespace zarvane {
namespace {

ShellOpener active = nullptr;

}  // namespace

int ShellOpen(const std::string& verb, const std::string& target, int show) {
  if (active) return active(verb, target, show);
  HINSTANCE result = ShellExecuteA(nullptr, verb.c_str(), target.c_str(), nullptr, nullptr, show);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

void UseShellOpener(ShellOpener opener) { active = opener; }

}  // namespace zarvane
