#pragma once
// A screenshot of a local page in headless Chromium, taken once the page's Flash movie has
// loaded in the web player and played a while.
#include <string>

namespace zarvane {

struct BrowserShot {
  std::string browser;     // the program to start
  std::string pageUrl;     // file:// address of the page
  std::string workFolder;  // private folder for the browser's profile
  int width = 1024, height = 768;
  double playSeconds = 0;  // after the movie has loaded
  int timeLimitSeconds = 90;
};

// The PNG's bytes in `png`, or why not in `error` (a phrase that follows "zarvane-cli preview: ").
bool TakeBrowserShot(const BrowserShot& shot, std::string& png, std::string& error);

// `name` itself when it holds a slash, else the first executable of that name on PATH; empty
// when there is none.
std::string FindProgram(const std::string& name);

}  // namespace zarvane
