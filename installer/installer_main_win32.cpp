#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "installer_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.push_back(__argv[i]);
  zarvane::InstallerApp app;
  return app.Run(arguments);
}
