#include "choosers.h"

#include <cderr.h>

#include <cstring>

namespace zarvane {
namespace {

// Room for the folder and every picked name of a large selection; a selection that still does
// not fit is reported, never cut short.
constexpr DWORD kManyFilesRoom = 64 * 1024;

// "Label (*.x)|*.x||" as the common dialog wants it: pieces ended by NULs, two at the end.
std::string DialogFilter(const std::string& filter) {
  std::string out = filter;
  for (char& c : out)
    if (c == '|') c = '\0';
  out.push_back('\0');
  return out;
}

struct FileDialog {
  FileDialog(HWND owner, const FileRequest& request, DWORD room)
      : filter(DialogFilter(request.filter)), buffer(room, '\0') {
    std::strncpy(&buffer[0], request.initialPath.c_str(), room - 1);
    info.lStructSize = sizeof info;
    info.hwndOwner = owner;
    info.lpstrFilter = filter.c_str();
    info.lpstrFile = &buffer[0];
    info.nMaxFile = room;
    info.lpstrDefExt =
        request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    info.Flags = request.options | OFN_EXPLORER;
  }
  std::string Chosen() const { return std::string(buffer.c_str()); }

  std::string filter;
  std::string buffer;
  OPENFILENAMEA info = {};
};

class CommonDialogs : public Choosers {
 public:
  bool OpenFile(HWND owner, const FileRequest& request, std::string& path) override {
    FileDialog dialog(owner, request, MAX_PATH);
    if (!GetOpenFileNameA(&dialog.info)) return false;
    path = dialog.Chosen();
    return true;
  }

  ChooserResult OpenFiles(HWND owner, const FileRequest& request,
                          std::vector<std::string>& paths) override {
    FileDialog dialog(owner, request, kManyFilesRoom);
    dialog.info.Flags |= OFN_ALLOWMULTISELECT;
    if (!GetOpenFileNameA(&dialog.info))
      return CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? ChooserResult::kTooLong
                                                            : ChooserResult::kCancelled;
    // One file: its whole path. Several: the folder, then each name, NUL after each.
    const char* at = dialog.buffer.c_str();
    std::string first = at;
    at += first.size() + 1;
    std::vector<std::string> picked;
    if (!*at) picked.push_back(first);
    std::string folder = first;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    for (; *at; at += std::strlen(at) + 1) picked.push_back(folder + at);
    paths = picked;
    return ChooserResult::kChosen;
  }

  bool SaveFile(HWND owner, const FileRequest& request, std::string& path) override {
    FileDialog dialog(owner, request, MAX_PATH);
    if (!GetSaveFileNameA(&dialog.info)) return false;
    path = dialog.Chosen();
    return true;
  }

  bool ChooseColour(HWND owner, COLORREF& colour) override {
    static COLORREF custom[16] = {};  // kept between calls, as the system dialog expects
    CHOOSECOLORA info = {};
    info.lStructSize = sizeof info;
    info.hwndOwner = owner;
    info.rgbResult = colour;
    info.lpCustColors = custom;
    info.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorA(&info)) return false;
    colour = info.rgbResult;
    return true;
  }
};

CommonDialogs commonDialogs;
Choosers* active = nullptr;

}  // namespace

Choosers& ActiveChoosers() { return active ? *active : commonDialogs; }

void UseChoosers(Choosers* choosers) { active = choosers; }

}  // namespace zarvane
