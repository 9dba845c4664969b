#include "run_log.h"

namespace zarvane {
namespace {

const char* AnswerName(int answer, bool given) {
  switch (answer) {
    case kAnswerYes: return given ? " -> Yes" : " -> taken as Yes";
    case kAnswerNo: return " -> No";
    case kAnswerCancel: return " -> Cancel";
    default: return given ? " -> OK" : " -> taken as OK";
  }
}

}  // namespace

RunLog::~RunLog() {
  if (file_) std::fclose(file_);
}

bool RunLog::Open(const std::string& path) {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  // Only an empty file or a log of ours: a mistyped /LOG= must not grow win.ini or a document.
  if (std::FILE* existing = std::fopen(path.c_str(), "rb")) {
    char start[sizeof kFirstWords] = {0};
    std::size_t got = std::fread(start, 1, sizeof kFirstWords - 1, existing);
    std::fclose(existing);
    if (got > 0 && std::string(start, got) != kFirstWords) return false;
  }
  file_ = std::fopen(path.c_str(), "ab");
  return file_ != nullptr;
}

void RunLog::Line(const char* what, const std::string& text, const char* after) {
  if (!file_) return;
  std::fputs(what, file_);
  for (char c : text) std::fputc(c == '\r' || c == '\n' ? ' ' : c, file_);
  std::fputs(after, file_);
  std::fputs("\r\n", file_);
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
  const char* answered = "";
  if (buttons != kPromptOk) answered = AnswerName(answer, shown_ != nullptr);
  log_.Line(shown_ ? "message: " : "message not shown: ", text, answered);
  return answer;
}

}  // namespace zarvane
