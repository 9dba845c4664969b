#include "installer_app.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "file_system.h"
#include "flash_control.h"
#include "install_dialog.h"
#include "install_sequence.h"
#include "installer_resources.h"
#include "installer_text.h"
#include "message_box_prompt.h"
#include "payload_archive.h"
#include "profile.h"
#include "resource_text.h"
#include "signed_program.h"
#include "still_wallpaper.h"
#include "uninstaller.h"
#include "wallpaper_name_rule.h"

namespace zarvane {
namespace {

// The app object of this process, for the archive's plain-function callback.
InstallerApp* current = nullptr;

void StartUpMessage(UserPrompt& prompt, int stringId, const std::string& value) {
  prompt.Show(ResourceText(IDS_START_CAPTION), FormatText(ResourceText(stringId), value),
              kPromptOk | kPromptIconExclamation);
}

// The log file named on the command line; never the program's own file, which carries the payload.
void OpenLog(RunLog& log, const std::string& path, UserPrompt& prompt) {
  char self[MAX_PATH] = {0}, full[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (!GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr) || lstrcmpiA(self, full) == 0)
    return;
  if (log.Open(full)) {
    log.Line(RunLog::kFirstWords, self);
  } else if (FileExists(full)) {
    prompt.Show(FormatText(ResourceText(IDS_LOG_REFUSED), full),
                kPromptOk | kPromptIconExclamation);
  }
}

}  // namespace

int InstallerApp::Run(const std::vector<std::string>& arguments) {
  // The movie pane hosts an ActiveX control.
  OleInitialize(nullptr);
  // Registers the progress bar too; InitCommonControlsEx is missing from Windows 95's own
  // common controls.
  InitCommonControls();

  InstallerCommandLine line = ParseInstallerCommandLine(arguments);
  const bool uninstalling = IsUninstallerProgram();
  MessageBoxPrompt boxes(ResourceText(uninstalling ? IDS_UNINSTALL_CAPTION : IDS_START_CAPTION));
  LoggedPrompt prompt(line.silent ? nullptr : &boxes, log_);
  if (!line.logFile.empty()) OpenLog(log_, line.logFile, prompt);
  int exitCode = uninstalling ? RunUninstaller(prompt, log_) : Install(line, prompt);
  OleUninitialize();
  log_.Line("exit code ", std::to_string(exitCode));
  return exitCode;
}

int InstallerApp::Install(const InstallerCommandLine& line, UserPrompt& prompt) {
  extractionFolder_ = MakePrivateTempFolder();
  if (extractionFolder_.empty()) {
    // Never the current folder instead: files of a member's name there may be the user's.
    char temp[1024] = {0};
    GetTempPathA(sizeof temp, temp);
    StartUpMessage(prompt, IDS_EXTRACT_FAILED, temp);
    return kExitFailed;
  }
  int exitCode = kExitFailed;
  if (ExtractAndPrepare(prompt)) {
    if (line.silent) {
      // No window at all: not even a hidden dialog.
      exitCode = InstallSilently(config_, extractionFolder_, line.installPath, prompt, log_);
    } else {
      InstallDialog dialog(config_, extractionFolder_, line.quiet, line.installPath, log_);
      exitCode = dialog.RunForExitCode();
    }
  }
  RemoveFolderAndFiles(extractionFolder_);
  log_.Line("removed ", extractionFolder_, " and the files extracted there");
  return exitCode;
}

void InstallerApp::OnArchiveEvent(int event, void* data, std::intptr_t) {
  if (event != kArchiveEventDone || !data || !current) return;
  const auto* member = static_cast<const ArchiveMember*>(data);
  current->extracted_.push_back(member->name);
  // Members come last to first, so what is left is member 0's offset: the stub's length.
  current->stubLength_ = member->offset;
}

bool InstallerApp::ExtractAndPrepare(UserPrompt& prompt) {
  stubLength_ = 0;
  extracted_.clear();
  current = this;
  int result;
  {
    PayloadArchive archive;
    result = archive.ExtractAll(extractionFolder_, &InstallerApp::OnArchiveEvent, 0);
  }
  current = nullptr;
  if (result == kArchiveOk) {
    config_ = ReadInstallerConfig(SystemProfile(), extractionFolder_);
    // A damaged member name extracts "successfully" under the wrong name.
    if (!IsCompletePayload(config_, extracted_)) result = kArchiveNoPayload;
  }
  if (result == kArchiveNoPayload) {
    // No disk space or user rights would help: the file itself is broken.
    StartUpMessage(prompt, IDS_PAYLOAD_DAMAGED, std::string());
    return false;
  }
  if (result != kArchiveOk) {
    StartUpMessage(prompt, IDS_EXTRACT_FAILED, extractionFolder_);
    return false;
  }
  log_.Line("extracted the payload to ", extractionFolder_);

  if (!IsUsableWallpaperName(config_.name)) {
    StartUpMessage(prompt, IDS_BAD_NAME, config_.name);
    return false;
  }
  if (InstallFlashControl(config_.baseFolder) != 0) {
    std::string why;
    if (DesktopNeedsFlashControl(why)) {
      StartUpMessage(prompt, IDS_REGISTER_FAILED, std::string());
      return false;
    }
    log_.Line("Flash control neither installed nor packed; not needed: ", why,
              ", so the desktop shows a still picture");
  }
  WriteUninstallerCopy();
  return true;
}

void InstallerApp::WriteUninstallerCopy() {
  char self[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  HANDLE in = CreateFileA(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in == INVALID_HANDLE_VALUE) return;
  std::string bytes(stubLength_, '\0');
  DWORD got = 0;
  bool ok = stubLength_ > 0 && ReadFile(in, &bytes[0], stubLength_, &got, nullptr) &&
            got == stubLength_;
  CloseHandle(in);
  if (!ok) return;
  // Cut off a signed installer's certificate table, its header must not name one: Windows would
  // take the copy for a program whose signature was broken.
  RemoveSigningFields(bytes);
  std::string path = extractionFolder_ + "Uninstall.exe";
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ok = WriteFile(out, bytes.data(), stubLength_, &written, nullptr) && written == stubLength_;
  CloseHandle(out);
  if (!ok) DeleteFileA(path.c_str());
}

}  // namespace zarvane
