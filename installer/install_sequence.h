#pragma once
// The install sequence, shared by the install dialog and silent mode (/S, no window at all): the
// uninstaller into the install folder, the wallpaper, the uninstall key, Uninstall.ini.
#include <string>

#include "installer_config.h"
#include "run_log.h"
#include "user_prompt.h"
#include "wallpaper_lock.h"

namespace zarvane {

// What the sequence shows while it runs: the dialog's status line and progress bar, or nothing.
class InstallProgress {
 public:
  virtual ~InstallProgress() = default;
  virtual void Status(int stringId) { (void)stringId; }
  virtual void Step() {}
};

enum class InstallOutcome {
  kDone,
  kFailed,   // went to its end, but something it must write was not written
  kStopped,  // stopped before the wallpaper was touched; the dialog stays open
  kDesktopUnchanged,  // installed, but the desktop shows neither the page nor a still picture
};

// Where the environment's ZARVANE_STOP_AT names `step`, the process ends there at once, as a
// kill would end it: how the tests check that a run stopped after any step leaves a consistent
// machine that the next run finishes.
void StopPoint(const char* step);

// The exit code of an install sequence that ran to its end.
int ExitCodeOf(InstallOutcome outcome);

// The program-files folder (else the Windows folder) followed by `name`.
std::string DefaultInstallFolder(const std::string& name);

// Makes sure `folder` (trimmed) is a folder for the uninstaller of wallpaper `name`, creating its
// last level when missing (`created`). False with the message to show when it is empty, relative,
// a folder that Windows, other wallpapers or a whole drive share, holds another program's
// uninstaller, cannot be created or is a file.
bool EnsureInstallFolder(const std::string& folder, const std::string& name, bool& created,
                         std::string& error);

// An install takes the wallpaper's lock before it looks at the install folder: another run's
// half-made folder holds an Uninstall.exe without its record yet, which looks like another
// program's. False, with the message shown, while another run of the name goes on.
bool WaitForOtherRuns(WallpaperLock& lock, const std::string& name, UserPrompt& prompt,
                      RunLog& log);

// Everything from the uninstaller copy to Uninstall.ini; `installFolder` ends in a backslash.
InstallOutcome RunInstallSequence(const InstallerConfig& config,
                                  const std::string& extractionFolder,
                                  const std::string& installFolder, UserPrompt& prompt,
                                  RunLog& log, InstallProgress& progress);

// Silent mode: the install path (else the default folder) without a question; an exit code.
int InstallSilently(const InstallerConfig& config, const std::string& extractionFolder,
                    const std::string& installPath, UserPrompt& prompt, RunLog& log);

}  // namespace zarvane
