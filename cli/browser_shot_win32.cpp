#include "browser_shot.h"

namespace zarvane {

// The browser is driven through inherited pipe descriptors, which Windows programs do not have.
bool TakeBrowserShot(const BrowserShot&, std::string&, std::string& error) {
  error = "this build takes no screenshots; --html DIR writes the preview folder";
  return false;
}

std::string FindProgram(const std::string&) { return ""; }

}  // namespace zarvane
