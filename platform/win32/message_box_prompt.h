#pragma once
#include <windows.h>

#include "user_prompt.h"

namespace zarvane {

// Message boxes owned by `owner` (may be null), captioned with the program's title by default.
class MessageBoxPrompt : public UserPrompt {
 public:
  explicit MessageBoxPrompt(std::string title, HWND owner = nullptr)
      : title_(std::move(title)), owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  using UserPrompt::Show;
  int Show(const std::string& caption, const std::string& text, unsigned style) override {
    const std::string& shown = caption.empty() ? title_ : caption;
    return MessageBoxA(owner_, text.c_str(), shown.c_str(), style);
  }

 private:
  std::string title_;
  HWND owner_;
};

}  // namespace zarvane
