#pragma once
// What the installer build needs from the program around it: the tabs and their checks, the
// progress bar and status line, message boxes, and where the Flash control is. The authoring
// tool's main window is one host; the command-line tool's headless project is the other.
#include <string>

#include "project_file.h"
#include "project_tabs.h"
#include "user_prompt.h"

namespace zarvane {

class BuildHost {
 public:
  virtual ~BuildHost() = default;

  virtual ProjectTabs& Tabs() = 0;
  // The tab's message number, 0 when it is valid; the tab puts the focus on the field at fault.
  virtual int ValidateTab(ProjectTab tab) = 0;
  virtual void ShowTab(ProjectTab tab) = 0;

  virtual void SetProgressRange(int low, int high) = 0;
  virtual void SetProgressStep(int step) = 0;
  virtual void StepProgress() = 0;
  virtual void ShowProgress() = 0;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void Pause(unsigned milliseconds) = 0;

  // The build's messages go here with caption "Error" and the exclamation icon.
  virtual UserPrompt& Prompt() = 0;
  virtual BuildState& State() = 0;
  // The control file to pack when the installer carries the Flash control.
  virtual std::string FlashControlFile() = 0;
  // The open project's file, which the installer must never be written over; empty while the
  // project has never been saved.
  virtual std::string ProjectFile() = 0;
  // Whether the installer may take the place of the file at `output`, which no build wrote.
  // Asks "Replace" through the prompt (Yes/No); zarvane-cli agrees only to an output named on
  // its command line.
  virtual bool ConfirmReplacing(const std::string& output);
};

}  // namespace zarvane
