// A stand-in web browser: registered for web pages and .htm files in the test prefix, it appends
// the command line it was started with to browser.log in the doubles folder, and ends.
#include <windows.h>

#include "double_support.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  zarvane::doubles::AppendLog("browser.log", GetCommandLineA());
  return 0;
}
