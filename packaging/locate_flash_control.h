#pragma once
// Where the authoring machine keeps the Shockwave Flash control that a build packs.
#include <string>

namespace zarvane {

// Empty texts stand for folders the system could not name.
struct FlashControlFolders {
  std::string systemFolder;
  std::string windowsFolder;
  std::string temporaryFolder;
  std::string toolFolder;  // ends with a separator
};

// "Macromed\Flash\flash.ocx" in the first of system, Windows and temporary folder that could
// be named, when that file exists; otherwise the tool folder's flash.ocx, existing or not.
std::string LocateFlashControl(const FlashControlFolders& folders);

// This machine's folders (on Windows from the system; elsewhere only temporary and tool folder).
FlashControlFolders MachineFlashControlFolders();

}  // namespace zarvane
