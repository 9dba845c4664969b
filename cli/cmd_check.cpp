#include "build_installer.h"
#include "cli_command.h"
#include "code_page.h"
#include "output_rule.h"
#include "project_host.h"

namespace zarvane {

static int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kCheckCommand = {
    "check", "reports what a project's reading would replace and what a build would refuse",
    "usage: zarvane-cli check PROJECT.zvp [--codepage N]\n"
    "\n"
    "Reads the project as build does and reports, without building, every value that reading\n"
    "silently replaces (a size, quality, alignment or position word it does not know, a colour\n"
    "that is not six hex digits, a switch that is not 0 or 1, a Loop that is not TRUE or\n"
    "FALSE, a value of a key that is written but never read, a key it ignores), a licence\n"
    "in UTF-8 (converted, or refused when the code page cannot hold it), a Mute=1 that has\n"
    "no effect, what each tab's check refuses and then what the build refuses (an installer\n"
    "path that is one of the project's files or a folder holding one, a file there that is no\n"
    "installer, resource files missing or packed under one name, too many of them). A project\n"
    "without an installer path is a warning: Build Now refuses it, build writes \"<name>\n"
    "Setup.exe\" beside the project. A file that is not text is \"not a project file\".\n"
    "Exit status 0 when nothing was found, 1 when something was; the note on a licence that\n"
    "converts and the warning on the installer path are no problem.\n"
    "\n" ZARVANE_CODEPAGE_HELP,
    RunCheck};

static int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string project, codePage = "1252";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--codepage" && i + 1 < args.size()) {
      codePage = args[++i];
    } else if (!project.empty() || args[i].empty() || args[i][0] == '-') {
      return UsageError(kCheckCommand, "expects one PROJECT.zvp and --codepage N", err);
    } else {
      project = args[i];
    }
  }
  if (project.empty()) return UsageError(kCheckCommand, "expects one PROJECT.zvp", err);
  CliProjectHost host(err);
  std::string codePageRefusal = host.SetCodePage(codePage);
  if (!codePageRefusal.empty()) return UsageError(kCheckCommand, codePageRefusal, err);
  if (!host.OpenOrTell(project)) return kExitFailure;
  int found = host.TellSilentReplacements();
  const std::vector<std::string> inputs = ProjectInputs(host.tabs, host.ProjectFile());
  if (!host.ConvertLicence()) ++found;
  host.TellDefaultInstallerPath();
  int refusals = host.TellRefusals();
  found += refusals;
  // Then the build's own checks, as build would meet them.
  const std::string& installerPath = host.tabs.installer.installerPath;
  if (refusals == 0 &&
      (!host.OutputAllowed(installerPath, inputs) ||
       !host.MayReplace(installerPath, IsInstallerFile(installerPath), "an installer") ||
       !CheckBuild(host)))
    ++found;
  if (found > 0) return kExitFailure;
  out << "no problems found\n";
  return kExitOk;
}

}  // namespace zarvane
