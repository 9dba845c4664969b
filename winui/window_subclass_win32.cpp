#include "window_subclass.h"

namespace zarvane {
namespace {

constexpr char kProperty[] = "Zarvane.Subclass";

struct Subclass {
  SubclassProcedure procedure;
  void* owner;
  WNDPROC original;
};

Subclass* Of(HWND window) { return static_cast<Subclass*>(GetPropA(window, kProperty)); }

LRESULT CALLBACK Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Subclass* subclass = Of(window);
  if (!subclass) return CallOriginal(window, message, wParam, lParam);
  return subclass->procedure(subclass->owner, window, message, wParam, lParam);
}

}  // namespace

bool AttachSubclass(HWND window, SubclassProcedure procedure, void* owner) {
  if (!window || Of(window)) return false;
  Subclass* subclass = new Subclass{procedure, owner, nullptr};
  if (!SetPropA(window, kProperty, subclass)) {
    delete subclass;
    return false;
  }
  subclass->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Forward)));
  if (!subclass->original) {
    RemovePropA(window, kProperty);
    delete subclass;
    return false;
  }
  return true;
}

LRESULT CallOriginal(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Subclass* subclass = Of(window);
  // Detached (on WM_NCDESTROY, say): the window's procedure is its own again.
  WNDPROC original = subclass ? subclass->original
                              : reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (original == &Forward) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(original, window, message, wParam, lParam);
}

void DetachSubclass(HWND window) {
  Subclass* subclass = Of(window);
  if (!subclass) return;
  if (GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Forward))
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass->original));
  RemovePropA(window, kProperty);
  delete subclass;
}

}  // namespace zarvane
