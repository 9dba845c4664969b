#pragma once
// The plain-text record of one run (/LOG=<file>): files and folders written and removed, registry
// values set and removed, every message shown or kept back, the exit code.
#include <cstdio>
#include <string>

#include "user_prompt.h"

namespace zarvane {

class RunLog {
 public:
  RunLog() = default;
  ~RunLog();
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Every run's record begins with these words.
  static constexpr char kFirstWords[] = "run of ";

  // Appends to an empty or missing file or to an earlier log, whose first line begins with
  // kFirstWords. False when it cannot be opened or holds something else, which stays untouched.
  bool Open(const std::string& path);
  // One line: `what`, then `text` with its line breaks made blanks, then `after`. Nothing happens
  // without an open file. In pieces, so no caller builds a string for it.
  void Line(const char* what, const std::string& text = std::string(), const char* after = "");

 private:
  std::FILE* file_ = nullptr;
};

// Every message goes into the log. Without a `shown` prompt (silent mode) nothing appears and each
// question takes the answer that lets the run go on: Yes, or OK.
class LoggedPrompt : public UserPrompt {
 public:
  LoggedPrompt(UserPrompt* shown, RunLog& log) : shown_(shown), log_(log) {}
  using UserPrompt::Show;
  int Show(const std::string& caption, const std::string& text, unsigned style) override;
  bool Silent() const { return shown_ == nullptr; }

 private:
  UserPrompt* shown_;
  RunLog& log_;
};

// The process's exit codes.
// kExitDesktopUnchanged: installed, but neither the page nor the still picture could be shown.
enum : int { kExitDone = 0, kExitDeclined = 1, kExitFailed = 2, kExitDesktopUnchanged = 3 };

}  // namespace zarvane
