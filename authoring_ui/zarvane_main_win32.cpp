#include <windows.h>

#include "authoring_app.h"

// The whole command line after the program's name is one project path.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  return zarvane::AuthoringApp().Run(commandLine ? commandLine : "");
}
