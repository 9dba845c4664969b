#pragma once
// File and colour choosers. The programs use the common dialogs; a test program puts its own
// Choosers in place to script the answers.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

namespace zarvane {

struct FileRequest {
  std::string filter;            // as the tool writes it: "Label (*.x)|*.x||"
  std::string defaultExtension;  // without the dot: "swf"
  std::string initialPath;       // proposed path or file name; may be empty
  DWORD options = 0;             // OFN_...
};

enum class ChooserResult { kChosen, kCancelled, kTooLong };

class Choosers {
 public:
  virtual ~Choosers() = default;
  // Each gives false (or kCancelled) when the chooser was cancelled; the out value is then
  // unchanged.
  virtual bool OpenFile(HWND owner, const FileRequest& request, std::string& path) = 0;
  // Several files (OFN_ALLOWMULTISELECT added); kTooLong when the selection did not fit.
  virtual ChooserResult OpenFiles(HWND owner, const FileRequest& request,
                                  std::vector<std::string>& paths) = 0;
  virtual bool SaveFile(HWND owner, const FileRequest& request, std::string& path) = 0;
  // The colour dialog, fully open, starting at `colour`.
  virtual bool ChooseColour(HWND owner, COLORREF& colour) = 0;
};

// The choosers in force: the common dialogs unless a test put others in place.
Choosers& ActiveChoosers();
// nullptr: back to the common dialogs.
void UseChoosers(Choosers* choosers);

}  // namespace zarvane
