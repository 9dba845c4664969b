#pragma once
// What the tool prints of names and texts that come from files: a damaged installer or project
// must not be able to move the cursor, forge lines or columns, or hide text on a terminal.
#include <ostream>
#include <string>

#include "user_prompt.h"

namespace zarvane {

// Control characters shown as \xNN; with `keepLayout`, line feeds and tabs stay as they are.
std::string Printable(const std::string& text, bool keepLayout = false);

// Messages as lines on a stream, "<caption>: <text>"; questions get their first answer.
class StreamPrompt : public UserPrompt {
 public:
  explicit StreamPrompt(std::ostream& out) : out_(out) {}
  using UserPrompt::Show;
  int Show(const std::string& caption, const std::string& text, unsigned style) override;

 private:
  std::ostream& out_;
};

}  // namespace zarvane
