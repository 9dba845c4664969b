// zarvane-driver: drives a Windows program's dialogs for whole-program tests, one small script
// of commands (see kUsage). Every lookup is limited to the started process, so tests may run in
// parallel; clicks and answers are posted, because the program's handler may block in a modal
// message box and a sent message would block the driver with it.
#include <windows.h>
#include <shlobj.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver_script.h"

namespace zarvane::driver {
namespace {

// Controls of the message box dialog: its text (Windows and Wine), its icon (Windows, Wine).
constexpr int kBoxText = 0xFFFF;
constexpr int kBoxIconWindows = 0x14;
constexpr int kBoxIconWine = 0x440;
constexpr DWORD kPoll = 25;

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return "<no answer>";
  std::vector<char> buffer(length + 2, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  return buffer.data();
}

// The room a label's or a check box's text needs in the templates' font (8-point MS Sans Serif
// at the screen's DPI) at the control's width, as " text WxH"; empty for other controls. A
// reader compares it with the control's size to find text that is cut off.
std::string TextNeeds(HWND control) {
  const std::string kind = ClassOf(control), text = TextOf(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const bool label = lstrcmpiA(kind.c_str(), "Static") == 0 &&
                     ((style & SS_TYPEMASK) <= SS_RIGHT || (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP);
  const LONG type = style & BS_TYPEMASK;
  const bool check = lstrcmpiA(kind.c_str(), "Button") == 0 &&
                     (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                      type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON);
  if ((!label && !check) || text.empty()) return "";
  RECT client;
  GetClientRect(control, &client);
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  HFONT font = CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
  HGDIOBJ old = SelectObject(dc, font);
  RECT need = {0, 0, client.right, 0};
  UINT format = DT_CALCRECT | DT_EXPANDTABS;
  if (label && (style & SS_NOPREFIX)) format |= DT_NOPREFIX;
  if (label && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP) format |= DT_WORDBREAK;
  if (check) format |= DT_SINGLELINE;
  DrawTextA(dc, text.c_str(), -1, &need, format);
  if (check) need.right += MulDiv(13 + 4, dpi, 96);  // the box and the gap before the text
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  char out[48];
  std::snprintf(out, sizeof out, " text %ldx%ld", need.right, need.bottom);
  return out;
}

bool IsMessageBox(HWND window) {
  if (ClassOf(window) != "#32770") return false;
  HWND text = GetDlgItem(window, kBoxText);
  return text && ClassOf(text) == "Static" &&
         (GetDlgItem(window, kBoxIconWine) || GetDlgItem(window, kBoxIconWindows));
}

struct Found {
  DWORD pid;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == found->pid && IsWindowVisible(window)) found->windows.push_back(window);
  return TRUE;
}

std::vector<HWND> WindowsOf(DWORD pid) {
  Found found{pid, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

struct ChildSearch {
  int id;
  HWND match;
  std::vector<HWND> all;
};

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  search->all.push_back(window);
  if (!search->match && GetDlgCtrlID(window) == search->id) search->match = window;
  return TRUE;
}

struct Button {
  const char* name;
  int id;
};
constexpr Button kButtons[] = {{"ok", IDOK},        {"cancel", IDCANCEL}, {"yes", IDYES},
                               {"no", IDNO},        {"abort", IDABORT},   {"retry", IDRETRY},
                               {"ignore", IDIGNORE}};

class Driver {
 public:
  int Run(const std::vector<Command>& commands) {
    start_ = GetTickCount();
    for (const Command& c : commands) {
      if (!Step(c)) {
        Diagnose();
        Kill();
        return 1;
      }
    }
    if (Running()) {
      std::printf("FAILED: the program still runs at the end of the script (ended now)\n");
      Diagnose();
      Kill();
      return 1;
    }
    return 0;
  }

 private:
  bool Step(const Command& c) {
    const auto& a = c.args;
    const std::string& n = c.name;
    if (n == "timeout") return Number(a[0], timeout_);
    if (n == "run") return Start("", a[0]);
    if (n == "run-in") return Start(a[0], a[1]);
    if (n == "sleep") {
      DWORD ms = 0;
      if (!Number(a[0], ms)) return false;
      Sleep(ms);
      return true;
    }
    if (n == "checkpoint") return Checkpoint(a[0]);
    if (n == "hold") {
      // As a viewer holds a file it shows: others may read it, not replace or delete it. The
      // handle goes with the driver's process.
      HANDLE file = CreateFileA(a[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE) return Fail("cannot open %s", a[0].c_str());
      return true;
    }
    if (n == "short-path") {
      char shortPath[MAX_PATH * 2] = {0};
      DWORD length = GetShortPathNameA(a[0].c_str(), shortPath, sizeof shortPath);
      if (!length || length >= sizeof shortPath)
        return Fail("no short name for %s", a[0].c_str());
      std::printf("%s\n", shortPath);
      return true;
    }
    if (!NeedProcess(n)) return false;
    if (n == "wait-window") return WaitWindow(a[0]);
    if (n == "wait-box") return WaitBox(a[0]);
    if (n == "expect-box") return WaitBox(a[0]) && ExpectBoxText(a[1]);
    if (n == "answer-box") return WaitBox(a[0]) && ExpectBoxText(a[1]) && Answer(a[2]);
    if (n == "answer") return Answer(a[0]);
    if (n == "expect-no-box") return ExpectNoBox(a[0]);
    if (n == "wait-exit") return WaitExit(a[0]);
    if (n == "wait-exit-unseen") return WaitExitUnseen() && WaitExit(a[0]);
    if (n == "kill") {
      Kill();
      return true;
    }
    if (!NeedWindow(n)) return false;
    if (n == "dump") {
      Dump(window_);
      return true;
    }
    if (n == "close") {
      PostMessageA(window_, WM_CLOSE, 0, 0);
      return true;
    }
    if (n == "draw-active") {
      // Without a window manager (Xvfb) no started program gets the foreground, so every caption
      // is drawn inactive; a picture shows it as Windows shows a program just started.
      DWORD_PTR ignored;
      SendMessageTimeoutA(box_ && IsWindow(box_) ? box_ : window_, WM_NCACTIVATE, TRUE, 0,
                          SMTO_ABORTIFHUNG, 2000, &ignored);
      return true;
    }
    if (n == "wait-gone") return WaitGone(window_, "window");
    if (n == "key") return Keys(a[0]);
    if (n == "type") return Type(a[0]);
    if (n == "drop") return Drop(a);
    int id = 0;
    if (!ControlId(a[0], id)) return false;
    if (n == "command") {
      PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(FindControl(id)));
      Log("command %d", id);
      return true;
    }
    if (n == "expect-state") return ExpectState(id, a[1]);
    if (n == "expect-focus") return ExpectFocus(id);
    if (n == "mouse-click") return MouseClick(id);
    HWND control = FindControl(id);
    if (!control) return Fail("no control %d in '%s'", id, TextOf(window_).c_str());
    if (n == "expect-text") {
      // Texts may settle after the window appears (a dialog's initialisation, a posted update).
      std::string text;
      if (Poll([&] { return GlobMatch(a[1], text = TextOf(control)); })) {
        Log("control %d shows '%s'", id, text.c_str());
        return true;
      }
      return Fail("expected control %d to show '%s', it shows '%s'", id, a[1].c_str(),
                  text.c_str());
    }
    if (n == "set-text") {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[1].c_str()),
                          SMTO_ABORTIFHUNG, 2000, &ignored);
      Log("control %d set to '%s'", id, a[1].c_str());
      return true;
    }
    if (n == "screen-rect") {
      RECT r;
      GetWindowRect(control, &r);
      std::printf("screen-rect %d %ld %ld %ld %ld\n", id, r.left, r.top, r.right - r.left,
                  r.bottom - r.top);
      return true;
    }
    if (n == "print-text") {
      std::printf("%s\n", TextOf(control).c_str());
      return true;
    }
    if (n == "click") {
      if (!IsWindowVisible(control)) return Fail("button %d is hidden", id);
      if (!IsWindowEnabled(control)) return Fail("button %d is disabled", id);
      PostMessageA(control, BM_CLICK, 0, 0);
      Log("clicked %d '%s'", id, TextOf(control).c_str());
      return true;
    }
    return Fail("command '%s' not handled", n.c_str());
  }

  bool Start(const std::string& folder, const std::string& commandLine) {
    if (Running()) return Fail("a program is running already");
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // Wine under load now and then fails a start with ERROR_INTERNAL_ERROR: a second try is
    // about Wine, not the program started.
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 2 && !started; ++attempt) {
      if (attempt) Sleep(500);
      started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.empty() ? nullptr : folder.c_str(), &startup, &process_);
      if (!started && GetLastError() != ERROR_INTERNAL_ERROR) break;
    }
    if (!started)
      return Fail("cannot start '%s' (error %lu)", commandLine.c_str(), GetLastError());
    CloseHandle(process_.hThread);
    started_ = true;
    window_ = box_ = nullptr;
    WaitForInputIdle(process_.hProcess, timeout_);
    Log("started pid %lu: %s", process_.dwProcessId, commandLine.c_str());
    return true;
  }

  bool WaitWindow(const std::string& caption) {
    HWND found = nullptr;
    if (!PollWhileRunning([&] {
          for (HWND w : WindowsOf(process_.dwProcessId))
            if (!IsMessageBox(w) && GlobMatch(caption, TextOf(w))) return (found = w) != nullptr;
          return false;
        }))
      return Fail("no window '%s'", caption.c_str());
    window_ = found;
    Log("window '%s'", TextOf(found).c_str());
    return true;
  }

  // A message box of the program; one owned by the current window first, the current window
  // never (a program's boxes often carry its own title).
  bool WaitBox(const std::string& caption) {
    HWND found = nullptr;
    if (!PollWhileRunning([&] {
          HWND any = nullptr;
          for (HWND w : WindowsOf(process_.dwProcessId)) {
            if (w == window_ || !IsMessageBox(w) || !GlobMatch(caption, TextOf(w))) continue;
            if (window_ && GetWindow(w, GW_OWNER) == window_) return (found = w) != nullptr;
            if (!any) any = w;
          }
          return (found = any) != nullptr;
        }))
      return Fail("no message box '%s'", caption.c_str());
    box_ = found;
    Log("message box '%s': %s", TextOf(found).c_str(), TextOf(GetDlgItem(found, kBoxText)).c_str());
    return true;
  }

  bool ExpectBoxText(const std::string& pattern) {
    std::string text = TextOf(GetDlgItem(box_, kBoxText));
    if (GlobMatch(pattern, text)) return true;
    return Fail("expected the message box to say '%s', it says '%s'", pattern.c_str(),
                text.c_str());
  }

  bool Answer(const std::string& name) {
    if (!box_ || !IsWindow(box_)) return Fail("no message box to answer");
    int id = 0;
    for (const Button& b : kButtons)
      if (name == b.name) id = b.id;
    if (!id)
      return Fail("no button called '%s' (ok cancel yes no abort retry ignore)", name.c_str());
    HWND button = GetDlgItem(box_, id);
    if (!button || !IsWindowVisible(button))
      return Fail("the message box '%s' has no %s button", TextOf(box_).c_str(), name.c_str());
    PostMessageA(box_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    Log("answered %s", name.c_str());
    HWND answered = box_;
    box_ = nullptr;
    return WaitGone(answered, "message box");
  }

  bool ExpectNoBox(const std::string& ms) {
    DWORD limit = 0;
    if (!Number(ms, limit)) return false;
    DWORD begin = GetTickCount();
    while (GetTickCount() - begin < limit) {
      for (HWND w : WindowsOf(process_.dwProcessId))
        if (IsMessageBox(w))
          return Fail("unexpected message box '%s': %s", TextOf(w).c_str(),
                      TextOf(GetDlgItem(w, kBoxText)).c_str());
      Sleep(kPoll);
    }
    Log("no message box in %lu ms", limit);
    return true;
  }

  // Polled like texts: a posted click reaches the control a moment later.
  bool ExpectState(int id, const std::string& state) {
    static const char* const kStates[] = {"missing",  "visible", "hidden",   "enabled",
                                          "disabled", "checked", "unchecked"};
    bool known = false;
    for (const char* s : kStates) known = known || state == s;
    if (!known) return Fail("unknown state '%s'", state.c_str());
    auto holds = [&] {
      HWND control = FindControl(id);
      if (state == "missing" || !control) return state == "missing" && !control;
      if (state == "visible") return IsWindowVisible(control) != FALSE;
      if (state == "hidden") return !IsWindowVisible(control);
      if (state == "enabled") return IsWindowEnabled(control) != FALSE;
      if (state == "disabled") return !IsWindowEnabled(control);
      DWORD_PTR checked = 0;
      SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
      return (checked == BST_CHECKED) == (state == "checked");
    };
    if (!Poll(holds))
      return Fail(FindControl(id) || state == "missing" ? "control %d is not %s" : "no control %d",
                  id, state.c_str());
    Log("control %d is %s", id, state.c_str());
    return true;
  }

  // Keys go to the foreground window through the system's input queue, as typed ones do.
  bool Keys(const std::string& combo) {
    std::vector<WORD> keys;
    std::size_t start = 0;
    while (start <= combo.size()) {
      std::size_t plus = combo.find('+', start);
      std::string name = combo.substr(start, plus == std::string::npos ? plus : plus - start);
      WORD key = KeyCode(name);
      if (!key) return Fail("unknown key '%s'", name.c_str());
      keys.push_back(key);
      if (plus == std::string::npos) break;
      start = plus + 1;
    }
    Foreground();
    std::vector<INPUT> events;
    for (WORD key : keys) events.push_back(KeyEvent(key, 0));
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
      events.push_back(KeyEvent(*it, KEYEVENTF_KEYUP));
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    Log("typed %s", combo.c_str());
    Sleep(100);  // the program takes the keys from its queue
    return true;
  }

  bool Type(const std::string& text) {
    Foreground();
    for (unsigned char c : text) {
      INPUT events[2] = {KeyEvent(0, KEYEVENTF_UNICODE),
                         KeyEvent(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
      events[0].ki.wScan = events[1].ki.wScan = c;
      SendInput(2, events, sizeof(INPUT));
    }
    Log("typed '%s'", text.c_str());
    Sleep(100);
    return true;
  }

  static INPUT KeyEvent(WORD key, DWORD flags) {
    INPUT event = {};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = key;
    event.ki.dwFlags = flags;
    return event;
  }

  static WORD KeyCode(const std::string& name) {
    struct Named {
      const char* name;
      WORD key;
    };
    static const Named kKeys[] = {{"alt", VK_MENU},      {"ctrl", VK_CONTROL},  {"shift", VK_SHIFT},
                                  {"escape", VK_ESCAPE}, {"return", VK_RETURN}, {"tab", VK_TAB},
                                  {"space", VK_SPACE},   {"down", VK_DOWN},     {"up", VK_UP},
                                  {"left", VK_LEFT},     {"right", VK_RIGHT},   {"f1", VK_F1},
                                  {"f4", VK_F4},         {"delete", VK_DELETE}, {"back", VK_BACK},
                                  {"home", VK_HOME},     {"end", VK_END}};
    for (const Named& k : kKeys)
      if (name == k.name) return k.key;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
      return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    return 0;
  }

  // The program's window in front, as a person's click would leave it; its own focus stays.
  void Foreground() {
    HWND target = box_ && IsWindow(box_) ? box_ : window_;
    HWND popup = GetLastActivePopup(target);
    SetForegroundWindow(popup ? popup : target);
    Sleep(50);
  }

  bool MouseClick(int id) {
    HWND control = id ? FindControl(id) : window_;
    if (!control) return Fail("no control %d", id);
    if (!IsWindowVisible(control)) return Fail("control %d is hidden", id);
    RECT rect;
    GetWindowRect(control, &rect);
    Foreground();
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT events[3] = {};
    for (INPUT& e : events) {
      e.type = INPUT_MOUSE;
      e.mi.dx = ((rect.left + rect.right) / 2) * 65535 / (width - 1);
      e.mi.dy = ((rect.top + rect.bottom) / 2) * 65535 / (height - 1);
      e.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    events[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
    events[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    events[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, events, sizeof(INPUT));
    Log("mouse clicked %d '%s'", id, TextOf(control).c_str());
    Sleep(100);
    return true;
  }

  bool ExpectFocus(int id) {
    HWND focus = nullptr;
    auto holds = [&] {
      GUITHREADINFO info = {};
      info.cbSize = sizeof info;
      DWORD thread = GetWindowThreadProcessId(window_, nullptr);
      focus = GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
      return focus && GetDlgCtrlID(focus) == id;
    };
    if (Poll(holds)) {
      Log("control %d has the focus", id);
      return true;
    }
    return Fail("expected control %d to have the focus, it is %d", id,
                focus ? GetDlgCtrlID(focus) : 0);
  }

  // What the shell hands a window when files are dropped on it: a DROPFILES block with the
  // paths, written into the program's own memory (a fixed block is its own handle there).
  bool Drop(const std::vector<std::string>& paths) {
    std::vector<char> block(sizeof(DROPFILES), 0);
    for (const std::string& path : paths)
      block.insert(block.end(), path.c_str(), path.c_str() + path.size() + 1);
    block.push_back('\0');
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    void* remote = VirtualAllocEx(process_.hProcess, nullptr, block.size(),
                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote ||
        !WriteProcessMemory(process_.hProcess, remote, block.data(), block.size(), nullptr))
      return Fail("cannot write the dropped files into the program (error %lu)", GetLastError());
    PostMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    Log("dropped %s%s", paths[0].c_str(), paths.size() > 1 ? " and more" : "");
    return true;
  }

  bool WaitGone(HWND window, const char* what) {
    if (Poll([&] { return !IsWindow(window) || !IsWindowVisible(window); })) return true;
    return Fail("the %s '%s' is still there", what, TextOf(window).c_str());
  }

  bool WaitExit(const std::string& expected) {
    if (WaitForSingleObject(process_.hProcess, timeout_) != WAIT_OBJECT_0)
      return Fail("the program did not end within %lu ms", timeout_);
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    CloseHandle(process_.hProcess);
    started_ = false;
    window_ = box_ = nullptr;
    Log("exit code %lu", code);
    if (expected == "any") return true;
    DWORD want = 0;
    if (!Number(expected, want)) return false;
    if (code != want) return Fail("expected exit code %lu, got %lu", want, code);
    return true;
  }

  // Until the program ends, every window of it that is shown is noted: through the system's
  // show events (nothing is missed however briefly it shows) and by looking every few
  // milliseconds (in case the events do not come).
  bool WaitExitUnseen() {
    static std::string seen;
    seen.clear();
    struct Hook {
      static void CALLBACK OnShow(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD,
                                  DWORD) {
        if (object == OBJID_WINDOW && window && GetAncestor(window, GA_ROOT) == window &&
            seen.empty())
          seen = ClassOf(window) + " '" + TextOf(window) + "'";
      }
    };
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, &Hook::OnShow,
                        process_.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    DWORD begin = GetTickCount();
    while (seen.empty() && GetTickCount() - begin < timeout_) {
      for (HWND w : WindowsOf(process_.dwProcessId))
        if (seen.empty()) seen = ClassOf(w) + " '" + TextOf(w) + "'";
      if (MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, 2, QS_ALLINPUT) ==
          WAIT_OBJECT_0)
        break;
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    if (hook) UnhookWinEvent(hook);
    if (!seen.empty()) return Fail("the program showed a window: %s", seen.c_str());
    Log("no window shown%s", hook ? "" : " (polled only)");
    return true;
  }

  // The test script sees the file, does what it must with the screen, and deletes it.
  bool Checkpoint(const std::string& given) {
    std::string path = given;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;  // a host path, under Wine
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail("cannot create checkpoint '%s'", path.c_str());
    CloseHandle(file);
    Log("checkpoint %s", path.c_str());
    if (Poll([&] { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }))
      return true;
    DeleteFileA(path.c_str());
    return Fail("nobody took the checkpoint '%s'", path.c_str());
  }

  template <typename Condition>
  bool Poll(Condition condition) {
    DWORD begin = GetTickCount();
    for (;;) {
      if (condition()) return true;
      if (GetTickCount() - begin >= timeout_) return false;
      Sleep(kPoll);
    }
  }

  // Gives up early when the program has ended: its windows will not come any more.
  template <typename Condition>
  bool PollWhileRunning(Condition condition) {
    return Poll([&] { return condition() || !Running(); }) && Running();
  }

  HWND FindControl(int id) {
    if (HWND direct = GetDlgItem(window_, id)) return direct;
    ChildSearch search{id, nullptr, {}};  // nested: a control inside a pane
    EnumChildWindows(window_, CollectChildren, reinterpret_cast<LPARAM>(&search));
    return search.match;
  }

  void Dump(HWND window) {
    RECT rect, client;
    GetWindowRect(window, &rect);
    GetClientRect(window, &client);
    std::printf("window '%s' class %s at %ld,%ld size %ldx%ld client %ldx%ld",
                TextOf(window).c_str(), ClassOf(window).c_str(), rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top, client.right, client.bottom);
    std::printf("\n");
    ChildSearch search{0, nullptr, {}};
    EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&search));
    for (HWND child : search.all) {
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
      // The parent by its place in this list (0: the window), and its client area, so that a
      // reader can tell a control that lies outside what shows it.
      HWND parent = GetParent(child);
      std::size_t index = 0;
      for (std::size_t i = 0; i < search.all.size() && !index; ++i)
        if (search.all[i] == parent) index = i + 1;
      RECT area;
      GetClientRect(parent, &area);
      MapWindowPoints(parent, window, reinterpret_cast<POINT*>(&area), 2);
      std::printf("  control %d class %s at %ld,%ld size %ldx%ld%s%s parent %u client %ld,%ld "
                  "%ldx%ld%s style %08lx '%s'\n",
                  GetDlgCtrlID(child), ClassOf(child).c_str(), r.left, r.top, r.right - r.left,
                  r.bottom - r.top, IsWindowVisible(child) ? "" : " hidden",
                  IsWindowEnabled(child) ? "" : " disabled", static_cast<unsigned>(index),
                  area.left, area.top, area.right - area.left, area.bottom - area.top,
                  TextNeeds(child).c_str(), static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)),
                  TextOf(child).c_str());
    }
  }

  void Diagnose() {
    if (started_ && !Running()) {
      DWORD code = 0;
      GetExitCodeProcess(process_.hProcess, &code);
      std::printf("the program has ended, exit code %lu\n", code);
      return;
    }
    if (!Running()) return;
    for (HWND w : WindowsOf(process_.dwProcessId)) {
      if (IsMessageBox(w))
        std::printf("open message box '%s': %s\n", TextOf(w).c_str(),
                    TextOf(GetDlgItem(w, kBoxText)).c_str());
      else
        Dump(w);
    }
  }

  void Kill() {
    if (!started_) return;
    TerminateProcess(process_.hProcess, 255);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    started_ = false;
  }

  bool Running() { return started_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  bool NeedProcess(const std::string& command) {
    return started_ || Fail("'%s' before 'run'", command.c_str());
  }
  bool NeedWindow(const std::string& command) {
    if (window_ && IsWindow(window_)) return true;
    return Fail("'%s' without a window: 'wait-window' first", command.c_str());
  }

  bool ControlId(const std::string& text, int& id) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end) return Fail("'%s' is not a control id", text.c_str());
    id = static_cast<int>(value);
    return true;
  }

  bool Number(const std::string& text, DWORD& value) {
    char* end = nullptr;
    unsigned long v = std::strtoul(text.c_str(), &end, 0);
    if (text.empty() || *end) return Fail("'%s' is not a number", text.c_str());
    value = v;
    return true;
  }

  void Log(const char* format, ...) {
    std::printf("[%6lu ms] ", GetTickCount() - start_);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
  }

  bool Fail(const char* format, ...) {
    std::printf("FAILED: ");
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
    return false;
  }

  PROCESS_INFORMATION process_ = {};
  bool started_ = false;
  HWND window_ = nullptr;
  HWND box_ = nullptr;
  DWORD timeout_ = 10000;
  DWORD start_ = 0;
};

bool UnderWineWithoutDisplay() {
  bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  const char* display = std::getenv("DISPLAY");
  return wine && (!display || !*display);
}

}  // namespace
}  // namespace zarvane::driver

int main(int argc, char** argv) {
  using namespace zarvane::driver;
  std::vector<std::string> words;
  std::string error;
  if (argc == 3 && std::strcmp(argv[1], "-f") == 0) {
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "zarvane-driver: cannot read %s\n", argv[2]);
      return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!SplitScript(text.str(), words, error)) {
      std::fprintf(stderr, "zarvane-driver: %s: %s\n", argv[2], error.c_str());
      return 2;
    }
  } else {
    for (int i = 1; i < argc; ++i) words.push_back(argv[i]);
  }
  std::vector<Command> commands;
  if (words.empty() || !ParseCommands(words, commands, error)) {
    if (!error.empty()) std::fprintf(stderr, "zarvane-driver: %s\n", error.c_str());
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (UnderWineWithoutDisplay()) {
    std::printf("no DISPLAY: skipped\n");
    return 77;
  }
  return Driver().Run(commands);
}
