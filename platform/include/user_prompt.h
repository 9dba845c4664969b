#pragma once
// Message boxes and questions. On Windows MessageBoxA with the program's caption; in tests
// scripted answers; in the command-line tool stderr and fixed answers.
#include <string>

namespace zarvane {

// Values of the MessageBox styles and answers, so portable code can name them.
enum : unsigned {
  kPromptOk = 0x0,
  kPromptOkCancel = 0x1,
  kPromptYesNo = 0x4,
  kPromptIconError = 0x10,
  kPromptIconQuestion = 0x20,
  kPromptIconExclamation = 0x30,
  kPromptIconInformation = 0x40,
};
enum : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

class UserPrompt {
 public:
  virtual ~UserPrompt() = default;
  // An empty caption stands for the program's own title. Gives the answer (kAnswer...).
  virtual int Show(const std::string& caption, const std::string& text, unsigned style) = 0;
  int Show(const std::string& text, unsigned style) { return Show(std::string(), text, style); }
};

}  // namespace zarvane
