#include "dialog.h"

#include <vector>

namespace zarvane {

Dialog::~Dialog() {
  if (window_ && !modal_) DestroyWindow(window_);
}

INT_PTR Dialog::RunModal(HWND parent) {
  modal_ = true;
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                         &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND parent) {
  modal_ = false;
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                            &Dialog::Procedure, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::End(INT_PTR result) {
  if (!window_) return;
  if (modal_)
    EndDialog(window_, result);
  else
    DestroyWindow(window_);
}

std::string Dialog::ItemText(int id) const {
  HWND item = Item(id);
  int length = item ? GetWindowTextLengthA(item) : 0;
  if (length <= 0) return std::string();
  std::vector<char> buffer(length + 1, 0);
  int got = GetWindowTextA(item, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? got : 0);
}

std::string Dialog::Title() const {
  int length = GetWindowTextLengthA(window_);
  if (length <= 0) return std::string();
  std::vector<char> buffer(length + 1, 0);
  int got = GetWindowTextA(window_, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? got : 0);
}

RECT Dialog::ItemRect(int id) const {
  RECT rect = {0, 0, 0, 0};
  HWND item = Item(id);
  if (!item) return rect;
  GetWindowRect(item, &rect);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Dialog::MoveItem(int id, int x, int y, int width, int height) {
  MoveWindow(Item(id), x, y, width, height, TRUE);
}

void Dialog::FocusAndSelect(int id) {
  HWND item = Item(id);
  SetFocus(item);
  SendMessageA(item, EM_SETSEL, 0, -1);
  SendMessageA(item, EM_SCROLLCARET, 0, 0);
}

int Dialog::Message(const std::string& caption, const std::string& text, unsigned style) {
  return MessageBoxPrompt(Title(), window_).Show(caption, text, style);
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->window_ = window;
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  if (!self) return FALSE;
  INT_PTR result = self->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return result;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (OnCommand(id, HIWORD(wParam))) return TRUE;
      if (id == IDOK) {
        OnOk();
        return TRUE;
      }
      if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default: {
      INT_PTR result = 0;
      if (!OnMessage(message, wParam, lParam, result)) return FALSE;
      // These few give their result straight back; all others through DWLP_MSGRESULT, or the
      // system reads a plain TRUE.
      bool direct = (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
                    message == WM_COMPAREITEM || message == WM_VKEYTOITEM ||
                    message == WM_CHARTOITEM || message == WM_QUERYDRAGICON;
      if (direct) return result;
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
}

}  // namespace zarvane
