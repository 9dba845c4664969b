#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <utility>

#include "choosers.h"
#include "picture_ids.h"
#include "project_paths.h"
#include "shell_open.h"
#include "tab_ids.h"
#include "tabs.h"

namespace zarvane {

InstallerTab::InstallerTab(std::function<std::string()> wallpaperName)
    : TabPage(IDD_INSTALLER_TAB), wallpaperName_(std::move(wallpaperName)) {}

bool InstallerTab::OnInit() {
  AttachPictureButton(installerBrowse_, IDBT_INSTALLER_BROWSE, IDB_BROWSE);
  AttachPictureButton(folderButton_, IDBT_INSTALLER_FOLDER, IDB_FOLDER);
  AttachPictureButton(pictureBrowse_, IDBT_INSTALLER_PICTURE_BROWSE, IDB_BROWSE);
  AttachPictureButton(licenceBrowse_, IDBT_LICENCE_BROWSE, IDB_BROWSE);
  LimitText(IDE_INSTALLER_PATH, 260);
  LimitText(IDE_INSTALLER_PICTURE, 260);
  LimitText(IDE_LICENCE, 260);
  return false;
}

void InstallerTab::Set(const InstallerSettings& record) {
  InstallerControls controls;
  SetInstallerControls(controls, record);
  Write(controls);
}

void InstallerTab::Get(InstallerSettings& record) const { GetInstallerControls(Read(), record); }

void InstallerTab::Show(bool focus) { ShowPage(focus, IDE_INSTALLER_PATH); }

int InstallerTab::Validate() {
  InstallerControls controls = Read();
  TabVerdict verdict = ValidateInstallerTab(controls, ProjectFolder());
  SetTextIfChanged(IDE_INSTALLER_PATH, controls.installerPath);
  SetTextIfChanged(IDE_INSTALLER_PICTURE, controls.picturePath);
  SetTextIfChanged(IDE_LICENCE, controls.licencePath);
  return Report(verdict);
}

void InstallerTab::OnPageCommand(int id, int notifyCode) {
  if (notifyCode != BN_CLICKED) return;
  std::string path;
  switch (id) {
    case IDBT_INSTALLER_BROWSE: ChooseInstaller(); break;
    case IDBT_INSTALLER_FOLDER: OpenInstallerFolder(); break;
    case IDO_DEFAULT_INSTALLER_PICTURE:
    case IDO_OWN_INSTALLER_PICTURE: EnablePicture(IsChecked(IDO_OWN_INSTALLER_PICTURE)); break;
    case IDBT_INSTALLER_PICTURE_BROWSE:
      if (ChooseExistingFile(
              "Macromedia Flash files (*.swf)|*.swf|Windows Bitmap files (*.bmp)|*.bmp||", "swf",
              path))
        TakePath(IDE_INSTALLER_PICTURE, path);
      break;
    case IDX_LICENCE:
      EnableLicence(IsChecked(IDX_LICENCE));
      if (IsChecked(IDX_LICENCE)) SetFocus(Item(IDE_LICENCE));
      break;
    case IDBT_LICENCE_BROWSE:
      if (ChooseExistingFile("License files (*.txt)|*.txt||", "txt", path))
        TakePath(IDE_LICENCE, path);
      break;
    case IDX_WITHOUT_PLUGIN: ShowItem(IDT_PLUGIN_NOTE, IsChecked(IDX_WITHOUT_PLUGIN)); break;
  }
}

InstallerControls InstallerTab::Read() const {
  InstallerControls c;
  c.installerPath = ItemText(IDE_INSTALLER_PATH);
  c.specificPicture = IsChecked(IDO_OWN_INSTALLER_PICTURE);
  c.picturePath = ItemText(IDE_INSTALLER_PICTURE);
  c.licence = IsChecked(IDX_LICENCE);
  c.licencePath = ItemText(IDE_LICENCE);
  c.withoutPlugin = IsChecked(IDX_WITHOUT_PLUGIN);
  return c;
}

void InstallerTab::Write(const InstallerControls& c) {
  SetItemText(IDE_INSTALLER_PATH, c.installerPath);
  SetChecked(IDO_DEFAULT_INSTALLER_PICTURE, !c.specificPicture);
  SetChecked(IDO_OWN_INSTALLER_PICTURE, c.specificPicture);
  SetItemText(IDE_INSTALLER_PICTURE, c.picturePath);
  EnablePicture(c.specificPicture);
  SetChecked(IDX_LICENCE, c.licence);
  SetItemText(IDE_LICENCE, c.licencePath);
  EnableLicence(c.licence);
  SetChecked(IDX_WITHOUT_PLUGIN, c.withoutPlugin);
  ShowItem(IDT_PLUGIN_NOTE, c.withoutPlugin);
}

void InstallerTab::EnablePicture(bool enable) {
  EnableItems({IDE_INSTALLER_PICTURE, IDBT_INSTALLER_PICTURE_BROWSE}, enable);
}

void InstallerTab::EnableLicence(bool enable) {
  EnableItems({IDE_LICENCE, IDBT_LICENCE_BROWSE}, enable);
}

void InstallerTab::ChooseInstaller() {
  char desktop[MAX_PATH] = "";
  if (!SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE)) desktop[0] = '\0';
  FileRequest request;
  request.filter = "Executable files (*.exe)|*.exe||";
  request.defaultExtension = "exe";
  request.initialPath = ProposeInstallerPath(PathFrom(ProjectFolder(), ItemText(IDE_INSTALLER_PATH)),
                                             desktop, wallpaperName_());
  request.options = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  std::string path;
  if (ActiveChoosers().SaveFile(Owner(), request, path)) TakePath(IDE_INSTALLER_PATH, path);
}

void InstallerTab::OpenInstallerFolder() {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ShellOpen("explore", InstallerFolderOf(PathFrom(ProjectFolder(), ItemText(IDE_INSTALLER_PATH))),
            SW_SHOWNORMAL);
  SetCursor(previous);
}

}  // namespace zarvane
