#pragma once
// A page of the main window: a frameless child dialog that paints white, hands every command to
// the main window (kForwardedCommand, same wParam and lParam) before handling it itself, and can
// be shown and checked.
#include <string>
#include <vector>

#include "bitmap_button.h"
#include "dialog.h"
#include "tab_rules.h"

namespace zarvane {

constexpr UINT kForwardedCommand = WM_USER + 1;
// An edit made without a control's own notification (the colour chooser): the project is modified.
constexpr UINT kPageEdited = WM_USER + 2;

class TabPage : public Dialog {
 public:
  using Dialog::Dialog;
  // Shows the page; with `focus` its first field gets the keyboard focus.
  virtual void Show(bool focus) = 0;
  // 0, or the number of the message at fault; the field at fault then has the focus with its
  // text selected.
  virtual int Validate() = 0;
  // The project file's folder with its separator, empty while untitled: relative paths in the
  // fields stay as written and are taken from there where a file is checked or used.
  void SetProjectFolder(const std::string& folder) { projectFolder_ = folder; }

 protected:
  // The page's own reaction to a command, after the main window has seen it.
  virtual void OnPageCommand(int id, int notifyCode) = 0;
  // Drawn on the white background.
  virtual void PaintBackground(HDC dc) { (void)dc; }

  const std::string& ProjectFolder() const { return projectFolder_; }
  void ShowPage(bool focus, int field);
  // The verdict's message number; the field at fault gets the focus with its text selected.
  int Report(const TabVerdict& verdict);
  // A chosen path lands in its field, which gets the focus with the text selected.
  void TakePath(int id, const std::string& path);
  // The open-file chooser for one existing file; false when cancelled.
  bool ChooseExistingFile(const char* filter, const char* defaultExtension, std::string& path);
  // Choosers and message boxes belong to the main window, not to the page inside it.
  HWND Owner() const { return GetAncestor(Handle(), GA_ROOT); }
  // A message box captioned "Error" over the main window.
  void ShowError(const std::string& text);
  void MarkEdited() { SendMessageA(GetParent(Handle()), kPageEdited, 0, 0); }
  // A Browse-like push button showing `picture` and the three pictures after it, sized to them.
  void AttachPictureButton(BitmapButton& button, int id, int picture);

  void LimitText(int id, int characters);
  // Writes only a text that differs, so that an unchanged field sends no EN_CHANGE.
  void SetTextIfChanged(int id, const std::string& text);
  void FillList(int id, const std::vector<std::string>& items);
  int Selection(int id) const;  // -1: nothing selected
  void Select(int id, int row);
  void EnableItems(std::initializer_list<int> ids, bool enable);

 private:
  bool OnCommand(int id, int notifyCode) final;
  // Enter and Escape belong to the main window; a page never ends itself.
  void OnOk() final {}
  void OnCancel() final {}
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  std::string projectFolder_;
};

}  // namespace zarvane
