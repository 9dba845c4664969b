#pragma once
// What a hyperlink does with its text before and after the shell: the URL it hands over, the
// browser command line of the fallback, and the words for a failure. Portable.
#include <string>

namespace zarvane {

// The link as given when it names a scheme of its own (http, mailto, ftp ...) or holds "://";
// otherwise "http://" in front, so that "www.example.com" opens as a web page.
std::string FixUpUrl(const std::string& url);

// The browser command line registered for .htm files, cut before its "%1" placeholder (the
// quoted one first, with its opening quote), then a blank and the URL.
std::string BrowserCommandLine(const std::string& registered, const std::string& url);

// The shell's result code (32 or less) in words, and the whole message a failed link shows.
std::string OpenFailureText(int result);
std::string OpenFailureMessage(int result);

}  // namespace zarvane
