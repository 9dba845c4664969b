#pragma once
// Makes sure the Shockwave Flash control is in the system folder's Macromed\Flash and
// registered. Both report 0 for success, non-zero for failure.
#include <string>

namespace zarvane {

// `extractionFolder` ends in a backslash; a flash.ocx there came with this installer.
int InstallFlashControl(const std::string& extractionFolder);

// Loads `path` and calls its DllRegisterServer; a file without that export counts as success.
// The module stays loaded.
int RegisterControl(const std::string& path);

}  // namespace zarvane
