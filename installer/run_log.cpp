#include "run_log.h"

namespace zarvane {
namespace {

const char* AnswerName(int answer) {
  switch (answer) {
    case kAnswerYes: return "Yes";
    case kAnswerNo: return "No";
    case kAnswerCancel: return "Cancel";
    default: return "OK";
  }
}

}  // namespace

RunLog::~RunLog() {
  if (file_) std::fclose(file_);
}

bool RunLog::Open(const std::string& path) {
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "ab");
  return file_ != nullptr;
}

void RunLog::Line(const std::string& text) {
  if (!file_) return;
  std::string line = text;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  line += "\r\n";
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);  // what was done so far stays on record if the process is ended
}

int LoggedPrompt::Show(const std::string& caption, const std::string& text, unsigned style) {
  const unsigned buttons = style & 0xF;
  int answer;
  if (shown_) {
    answer = shown_->Show(caption, text, style);
  } else {
    answer = buttons == kPromptYesNo ? kAnswerYes : kAnswerOk;
  }
  std::string line = shown_ ? "message: " : "message not shown: ";
  line += text;
  if (buttons != kPromptOk) line += std::string(shown_ ? " -> " : " -> taken as ") + AnswerName(answer);
  log_.Line(line);
  return answer;
}

}  // namespace zarvane
