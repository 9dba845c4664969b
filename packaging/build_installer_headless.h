#pragma once
// The build's host without a window: the command-line tool's project. The tabs are headless,
// progress and status go to a callback, messages to the given prompt.
#include <functional>
#include <ostream>
#include <string>

#include "build_host.h"
#include "headless_tabs.h"

namespace zarvane {

class HeadlessBuildHost : public BuildHost {
 public:
  explicit HeadlessBuildHost(UserPrompt& prompt);

  ProjectTabs& Tabs() override { return tabs; }
  int ValidateTab(ProjectTab tab) override;
  void ShowTab(ProjectTab tab) override { shownTab = static_cast<int>(tab); }
  void SetProgressRange(int low, int high) override;
  void SetProgressStep(int step) override { step_ = step; }
  void StepProgress() override;
  void ShowProgress() override;
  void SetStatus(const std::string& text) override;
  void Pause(unsigned) override {}
  UserPrompt& Prompt() override { return prompt_; }
  BuildState& State() override { return state; }
  // flashControl when given, else what LocateFlashControl finds on this machine; a file that
  // does not exist is reported to onWarning, since the installer would then go without it.
  std::string FlashControlFile() override;
  std::string ProjectFile() override { return projectFile; }

  // Opens the project file as the authoring tool does, relative paths taken from its folder.
  int Open(const std::string& projectPath);

  HeadlessTabs tabs;
  BuildState state;
  std::string projectFile;  // set by Open
  std::string flashControl;
  int shownTab = -1;
  // Called whenever the bar or the status line changes: position, range end, status text.
  std::function<void(int, int, const std::string&)> onProgress;
  std::function<void(const std::string&)> onWarning;

 private:
  void Report();

  UserPrompt& prompt_;
  int low_ = 0, high_ = 100, step_ = 10, position_ = 0;
  bool visible_ = false;
  std::string status_;
};

// The path made absolute against the current folder.
std::string FullPath(const std::string& path);

// Opens `project` into the host, or tells `err` why not (as "zarvane-cli <command>: ...").
bool OpenProjectFor(HeadlessBuildHost& host, const std::string& project, const char* command,
                    std::ostream& err);

}  // namespace zarvane
