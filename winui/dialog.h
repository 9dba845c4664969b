#pragma once
// A dialog from a template, modal or modeless. The window keeps a pointer to its Dialog object
// (DWLP_USER, set on WM_INITDIALOG) and forwards to the virtual handlers; nothing throws into the
// dialog procedure.
#include <windows.h>

#include <string>

#include "message_box_prompt.h"

namespace zarvane {

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog until End; gives End's result, or -1 when the template cannot be loaded.
  INT_PTR RunModal(HWND parent);
  // Creates the dialog and returns at once; false when it cannot be created.
  bool CreateModeless(HWND parent);
  // Ends a modal dialog with `result`; destroys a modeless one.
  void End(INT_PTR result);

  HWND Handle() const { return window_; }
  bool IsModal() const { return modal_; }

  // Control access by id.
  int TemplateId() const { return templateId_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
  void ShowItem(int id, bool show) { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
  RECT ItemRect(int id) const;  // in the dialog's client coordinates
  void MoveItem(int id, int x, int y, int width, int height);
  void EnableItem(int id, bool enable) { EnableWindow(Item(id), enable ? TRUE : FALSE); }
  bool IsChecked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
  void SetChecked(int id, bool on) { CheckDlgButton(window_, id, on ? BST_CHECKED : BST_UNCHECKED); }
  void SetTitle(const std::string& text) { SetWindowTextA(window_, text.c_str()); }
  std::string Title() const;
  // Focus on an edit control with its whole text selected and the caret in view.
  void FocusAndSelect(int id);

  // Message boxes owned by the dialog; an empty caption means the dialog's title.
  int Message(const std::string& caption, const std::string& text, unsigned style);
  // The same for code that asks through the UserPrompt seam.
  UserPrompt& Prompt() { return prompt_; }

 protected:
  // Return true to let the system set the focus.
  virtual bool OnInit() { return true; }
  // Return true when handled. IDOK and IDCANCEL reach OnOk and OnCancel when not handled here.
  virtual bool OnCommand(int id, int notifyCode) {
    (void)id;
    (void)notifyCode;
    return false;
  }
  virtual void OnOk() { End(IDOK); }
  virtual void OnCancel() { End(IDCANCEL); }
  virtual void OnDestroy() {}
  // Any other message; return true and set `result` when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    (void)message, (void)wParam, (void)lParam, (void)result;
    return false;
  }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND window_ = nullptr;
  bool modal_ = false;
  class OwnedPrompt : public UserPrompt {
   public:
    explicit OwnedPrompt(Dialog& dialog) : dialog_(dialog) {}
    using UserPrompt::Show;
    int Show(const std::string& caption, const std::string& text, unsigned style) override {
      return dialog_.Message(caption, text, style);
    }

   private:
    Dialog& dialog_;
  };
  OwnedPrompt prompt_{*this};
};

// A dialog whose button clicks go to member functions of the derived class, listed once by
// control id (OnClicked in the constructor). A dialog that wants other notifications too
// overrides OnCommand and hands on to this one.
template <class Derived>
class DialogWithHandlers : public Dialog {
 public:
  using Dialog::Dialog;

 protected:
  using ClickHandler = void (Derived::*)();
  void OnClicked(int id, ClickHandler handler) {
    for (Binding& b : bindings_)
      if (b.id == id || b.id == 0) {
        b = Binding{id, handler};
        return;
      }
  }
  bool OnCommand(int id, int notifyCode) override {
    if (notifyCode != BN_CLICKED) return false;
    for (const Binding& b : bindings_)
      if (b.id == id && b.handler) {
        (static_cast<Derived*>(this)->*b.handler)();
        return true;
      }
    return false;
  }

 private:
  struct Binding {
    int id = 0;
    ClickHandler handler = nullptr;
  };
  Binding bindings_[16];  // a dialog has few buttons; a fixed table keeps the installer small
};

}  // namespace zarvane
