#pragma once
#include <windows.h>

#include <string>

namespace zarvane {

// String `id` of the program's own string table; empty when there is none.
std::string ResourceText(UINT id);

}  // namespace zarvane
