#pragma once
// What the help tests share: a private doubles folder, a window watcher that acts on a dialog
// while the test's thread is held in it, and tool settings kept in memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "tool_settings.h"

namespace zarvane {

// Under Wine without an X display no window can be made: the test program reports "skipped".
inline void SkipWithoutDisplay() {
  bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  if (wine && !std::getenv("DISPLAY")) {
    std::printf("no DISPLAY: skipped\n");
    std::exit(77);
  }
}

// The stand-ins' logs and state for this test program alone (children inherit it).
inline std::string UsePrivateDoublesFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + name + "\\";
  SetEnvironmentVariableA("ZARVANE_DOUBLES_DIR", folder.c_str());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

inline std::string WindowText(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct WindowSearch {
  std::string caption;
  HWND found;
};

inline BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  // Without a message: the window's thread may be the one waiting for the watcher.
  WCHAR text[256] = L"";
  InternalGetWindowText(window, text, 256);
  char narrow[512] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  if (search->caption != narrow) return TRUE;
  search->found = window;
  return FALSE;
}

// A visible top-level window of this process with exactly that caption.
inline HWND FindOwnWindow(const std::string& caption) {
  WindowSearch search{caption, nullptr};
  EnumWindows(&MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits in a thread of its own for a window captioned `caption`, then runs `act` on it there.
class WindowWatcher {
 public:
  WindowWatcher(std::string caption, std::function<void(HWND)> act)
      : thread_([this, caption, act] {
          for (int i = 0; i < 200 && !stop_; ++i) {
            if (HWND window = FindOwnWindow(caption)) {
              saw_ = true;
              act(window);
              return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          }
        }) {}
  ~WindowWatcher() { Finish(); }
  // Stops waiting; true when the window had come.
  bool Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return saw_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> saw_{false};
  std::thread thread_;
};

class MemorySettings : public ToolSettings {
 public:
  std::map<std::string, int> numbers;
  int writes = 0;
  int ReadNumber(const std::string& name, int fallback) override {
    auto found = numbers.find(name);
    return found == numbers.end() ? fallback : found->second;
  }
  void WriteNumber(const std::string& name, int value) override {
    numbers[name] = value;
    ++writes;
  }
  bool ReadText(const std::string&, std::string&) override { return false; }
  bool WriteText(const std::string&, const std::string&) override { return false; }
  void DeleteValue(const std::string&) override {}
};

}  // namespace zarvane
