#pragma once
// The installer's message texts and the one placeholder rule they use.
#include <string>

namespace zarvane {

// `pattern` with its first "%s" replaced by `value` (no length limit, unlike wsprintf).
std::string FormatText(const std::string& pattern, const std::string& value);

}  // namespace zarvane
