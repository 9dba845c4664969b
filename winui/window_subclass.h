#pragma once
// One subclass per window, hooked into its window procedure. The system's subclassing lives in
// comctl32, which would then be bound before the first window shows.
#include <windows.h>

namespace zarvane {

// Called for every message of the window; `owner` is the pointer given to AttachSubclass.
using SubclassProcedure = LRESULT (*)(void* owner, HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam);

// False when the window already has a subclass of ours.
bool AttachSubclass(HWND window, SubclassProcedure procedure, void* owner);
// The window's own procedure, with or without the subclass still attached.
LRESULT CallOriginal(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void DetachSubclass(HWND window);

}  // namespace zarvane
