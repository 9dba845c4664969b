#pragma once
// The authoring tool's one window: the tab buttons and pages, the Project and Help menus, the
// tips, Build Now, the project commands and the recent projects. It is the build's host and the
// project file's view of the pages.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "bitmap_button.h"
#include "build_host.h"
#include "dialog.h"
#include "project_file.h"
#include "project_paths.h"
#include "project_tabs.h"
#include "project_text.h"
#include "recent_file_list.h"
#include "tabs.h"
#include "tip_panel.h"

namespace zarvane {

class MainDialog : public Dialog, public BuildHost, public ProjectTabs {
 public:
  // `commandLine`: a project to open once the window is up (enclosing quotes allowed).
  // `onlyCopy`: no other copy of the tool runs, so a preview left by an ended run is undone.
  MainDialog(std::string commandLine, bool onlyCopy);
  ~MainDialog() override;

  // BuildHost: the build reads relative paths from the project file's folder.
  ProjectTabs& Tabs() override;
  int ValidateTab(ProjectTab tab) override;
  void ShowTab(ProjectTab tab) override;
  void SetProgressRange(int low, int high) override;
  void SetProgressStep(int step) override;
  void StepProgress() override;
  void ShowProgress() override;
  void SetStatus(const std::string& text) override;
  void Pause(unsigned milliseconds) override { Sleep(milliseconds); }
  UserPrompt& Prompt() override { return Dialog::Prompt(); }
  BuildState& State() override { return buildState_; }
  std::string FlashControlFile() override;
  std::string ProjectFile() override { return projectPath_; }

  // ProjectTabs
  bool GetWallpaper(WallpaperSettings& record) override;
  bool GetPreview(PreviewSettings& record) override;
  bool GetSettingsBox(SettingsBoxSettings& record) override;
  bool GetInstaller(InstallerSettings& record) override;
  bool SetWallpaper(const WallpaperSettings& record) override;
  bool SetPreview(const PreviewSettings& record) override;
  bool SetSettingsBox(const SettingsBoxSettings& record) override;
  bool SetInstaller(const InstallerSettings& record) override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode) override;
  void OnOk() override {}  // Enter never closes the tool
  void OnCancel() override;
  void OnDestroy() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  enum Page {
    kWallpaperPage = 0,
    kPreviewWindowPage = 1,
    kSettingsWindowPage = 2,
    kInstallerPage = 3
  };

  // The window
  void LayOut();
  void AttachControls();
  // The wallpaper page is made before the window shows; the others once it has painted, or
  // sooner when something needs them. Each is then set from the record it was last given.
  void MakePage(int page);
  void MakeOtherPages();
  void SwitchTo(int page, bool show, bool focus);
  void RefreshTitle();
  void SetModified(bool modified);
  void OnForwardedCommand(WPARAM wParam, LPARAM lParam);
  void ShowMenu(BitmapButton& button, int menuId, bool withRecent);
  void OnDropFiles(HDROP drop);
  void BuildNow();
  void HideProgress();
  HWND ProgressBar();
  TabPage& PageAt(int page);  // made first when it is not yet
  TabPage& PageOf(int page);  // made or not

  // Project commands (project_commands_win32.cpp)
  enum Answer { kYes = IDYES, kNo = IDNO, kCancel = IDCANCEL };
  Answer AskToSave();
  void NewProject(bool ask);
  void OpenCommand();
  bool OpenProjectAt(std::string path);
  bool Save();
  bool SaveAs();
  bool WriteProjectTo(const std::string& path);
  void OpenRecent(int index);
  void SetProjectPath(const std::string& path);
  std::string ProjectFolder() const;
  void MakePathsWhole();

  std::string commandLine_;
  bool onlyCopy_;
  WallpaperTab wallpaperTab_;
  SettingsWindowTab settingsWindowTab_;
  PreviewWindowTab previewWindowTab_;
  InstallerTab installerTab_;
  int currentPage_ = kInstallerPage;
  // What the pages not made yet show once they are.
  PreviewSettings pendingPreview_;
  SettingsBoxSettings pendingSettingsBox_;
  InstallerSettings pendingInstaller_;
  bool fillingPage_ = false;  // a page being made and set from its record: no edit of the project
  bool progressMade_ = false;

  BitmapButton wallpaperButton_, previewWindowButton_, installerButton_;
  BitmapButton projectButton_, helpButton_, buildButton_;
  TipPanel tipPanel_;
  HBRUSH whiteBrush_ = nullptr;
  HICON largeIcon_ = nullptr, smallIcon_ = nullptr;
  HBITMAP banners_[2] = {};  // drawn at the window's width where that is not the stored one
  int pageWidth_ = 0, pageHeight_ = 0, pageTop_ = 0;  // in pixels at the window's DPI

  std::string projectPath_;  // empty while untitled
  // The project file's text in the code page as last read or written, and how the file stores
  // it: Save writes the new file from these lines, so keys and sections the tool does not know
  // stay, and in the encoding it was read in.
  std::string projectText_;
  ProjectEncoding projectEncoding_ = ProjectEncoding::kCodePage;
  ResolvedTabs resolvedTabs_{*this};
  bool modified_ = false;
  RecentFileList recentFiles_;
  BuildState buildState_;
};

}  // namespace zarvane
