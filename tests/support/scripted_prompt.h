#pragma once
// Answers message boxes from a script and remembers what was shown.
#include <deque>
#include <string>
#include <vector>

#include "user_prompt.h"

namespace zarvane {

class ScriptedPrompt : public UserPrompt {
 public:
  struct Shown {
    std::string caption, text;
    unsigned style;
  };
  std::deque<int> answers;  // kAnswerOk when the script runs out
  std::vector<Shown> shown;

  using UserPrompt::Show;
  int Show(const std::string& caption, const std::string& text, unsigned style) override {
    shown.push_back({caption, text, style});
    if (answers.empty()) return kAnswerOk;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace zarvane
