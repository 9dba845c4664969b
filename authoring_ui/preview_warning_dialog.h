#pragma once
// Told once before a preview (template 129): the desktop is about to change, and Cancel brings
// it back. "PrevWarn" 1 in the tool's settings keeps it away.
#include "dialog.h"
#include "tool_settings.h"

namespace zarvane {

class PreviewWarningDialog : public Dialog {
 public:
  explicit PreviewWarningDialog(ToolSettings& settings);
  ~PreviewWarningDialog() override;

 protected:
  bool OnInit() override;
  // "&Close" keeps the box's state; Escape and the caption's close button do not.
  void OnOk() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void PaintFrame(HDC dc);

  ToolSettings& settings_;
  HBRUSH white_ = nullptr;
  HBITMAP picture_ = nullptr;
};

}  // namespace zarvane
