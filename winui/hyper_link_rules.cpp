#include "hyper_link_rules.h"

#include <cctype>
#include <cstdio>

#include "text.h"

namespace zarvane {

namespace {

// Schemes the Internet parser gives a service type of its own; "file" and every other scheme
// come out as unknown, and those links get "http://" unless they already hold "://".
const char* const kServiceSchemes[] = {"http", "https", "ftp",    "gopher",   "mailto",
                                       "news", "nntp",  "telnet", "wais",     "mid",
                                       "cid",  "afs",   "prospero"};

std::string SchemeOf(const std::string& url) {
  std::size_t colon = url.find(':');
  if (colon == std::string::npos || colon == 0) return std::string();
  for (std::size_t i = 0; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(url[i]);
    bool ok = std::isalpha(c) || (i > 0 && (std::isdigit(c) || c == '+' || c == '-' || c == '.'));
    if (!ok) return std::string();
  }
  return ToLowerAscii(url.substr(0, colon));
}

}  // namespace

std::string FixUpUrl(const std::string& url) {
  std::string scheme = SchemeOf(url);
  for (const char* known : kServiceSchemes)
    if (scheme == known) return url;
  if (url.find("://") != std::string::npos) return url;
  return "http://" + url;
}

std::string BrowserCommandLine(const std::string& registered, const std::string& url) {
  std::string command = registered;
  std::size_t cut = command.find("\"%1\"");
  if (cut == std::string::npos) cut = command.find("%1");
  if (cut != std::string::npos) command.erase(cut);
  return command + " " + url;
}

std::string OpenFailureText(int result) {
  switch (result) {
    case 0: return "The operating system is out\nof memory or resources.";
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied\naccess to the specified file.";
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return "A sharing violation occurred. ";
    case 27: return "The filename association is\nincomplete or invalid.";
    case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30:
      return "The DDE transaction could not\nbe completed because other DDE transactions\n"
             "were being processed.";
    case 31: return "There is no application associated\nwith the given filename extension.";
    case 32: return "The specified dynamic-link library was not found.";
  }
  char text[48];
  std::snprintf(text, sizeof text, "Unknown Error (%d) occurred.", result);
  return text;
}

std::string OpenFailureMessage(int result) {
  return "Unable to open hyperlink:\n\n" + OpenFailureText(result);
}

}  // namespace zarvane
