#pragma once
// Small text helpers for narrow (ANSI) text.
#include <string>

namespace zarvane {

// Both ends without blanks, tabs, carriage returns and line feeds.
std::string Trim(const std::string& text);

// ASCII letter case ignored, as the system's comparisons of words and paths do.
bool EqualsIgnoreCase(const std::string& a, const std::string& b);
bool StartsWithIgnoreCase(const std::string& text, const std::string& prefix);

std::string ToLowerAscii(std::string text);

// The text as a JSON string, quotes included: quotes, backslashes and control characters escaped,
// every other byte as it stands.
std::string JsonText(const std::string& text);

}  // namespace zarvane
