#pragma once
// The build's host for the commands that read a project: it opens the project saying why it
// could not, and its messages name the project file, the section and key at fault and the path
// that key resolved to, before the tool's own message text.
#include <ostream>
#include <string>
#include <vector>

#include "build_installer_headless.h"
#include "output_rule.h"
#include "terminal_text.h"

namespace zarvane {

class CliProjectHost;

// "Error" messages of a check go out as "zarvane-cli: <project>: [Section] Key '<path>': <text>".
class ProjectPrompt : public StreamPrompt {
 public:
  ProjectPrompt(std::ostream& err, CliProjectHost& host) : StreamPrompt(err), err_(err), host_(host) {}
  using UserPrompt::Show;
  int Show(const std::string& caption, const std::string& text, unsigned style) override;

 private:
  std::ostream& err_;
  CliProjectHost& host_;
};

class CliProjectHost : public HeadlessBuildHost {
 public:
  explicit CliProjectHost(std::ostream& err);
  ~CliProjectHost();

  int ValidateTab(ProjectTab tab) override;
  // Opens the project, or says on `err` why not; false then. A project in UTF-8 is read
  // through a copy in `codePage`; a character the code page cannot hold is refused.
  bool OpenOrTell(const std::string& project);

  // Empty when `text` names a code page a wallpaper may use, else why not; names go out
  // converted from it (host_text.h).
  std::string SetCodePage(const std::string& text);

  int codePage = 1252;

  // Prints what reading the project silently replaced, as warnings; gives their number.
  int TellSilentReplacements();
  // A project without an installer path builds "<name> Setup.exe" beside the project file.
  void TellDefaultInstallerPath();
  // A licence in UTF-8 is shown by the installer as code page text: it is packed through a
  // converted copy (said as a note). False, having named the file and the character, when the
  // code page cannot hold it.
  bool ConvertLicence();

  // Runs the checks of every tab, as a build does, showing each refusal; gives their number.
  int TellRefusals();

  // Shows the build's refusal of `output` when it is one of `inputs` (ProjectInputs, taken
  // before a licence or still picture is swapped for a copy), a folder holding one, or, for a
  // file, a folder or device; true when there is none.
  bool OutputAllowed(const std::string& output, const std::vector<std::string>& inputs,
                     OutputKind kind = OutputKind::kFile);
  // A file at `output` that is not what the command writes (`ownKind` false, `kind` says what
  // it writes) is replaced only when the user named the output; false once it said so.
  bool MayReplace(const std::string& output, bool ownKind, const std::string& kind);

  // The output was named on the command line: whatever file stands there may go.
  bool outputNamed = false;
  bool ConfirmReplacing(const std::string& output) override;

  // The key the last refusing check was about, with the value it holds now; empty when none.
  std::string KeyAtFault(const std::string& message) const;

 private:
  std::ostream& err_;
  ProjectPrompt prompt_;
  TabVerdict lastRefusal_;
  std::string scratch_;   // converted copies, removed with the host
  std::string readable_;  // the project, or its copy in the code page
};

}  // namespace zarvane
