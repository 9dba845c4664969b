#pragma once
// A desktop that remembers its wallpaper and Active Desktop switch and records every call, so
// call orders can be compared as text.
#include <string>
#include <vector>

#include "desktop_shell.h"
#include "file_system.h"

namespace zarvane {

class RecordingDesktopShell : public DesktopShell {
 public:
  std::wstring wallpaper = L"C:\\WINDOWS\\old.bmp";
  ComponentsOptions options{12, 1, 1};
  bool creationFails = false;
  bool optionsFail = false;
  std::vector<std::string> calls;

  void InitializeCom() override { calls.push_back("CoInitialize"); }
  void UninitializeCom() override { calls.push_back("CoUninitialize"); }
  bool CreateActiveDesktop() override {
    calls.push_back("Create");
    return !creationFails;
  }
  void ReleaseActiveDesktop() override { calls.push_back("Release"); }
  void GetWallpaper(std::wstring& out, unsigned capacity) override {
    calls.push_back("GetWallpaper(" + std::to_string(capacity) + ")");
    out = wallpaper;
  }
  bool SetWallpaper(const std::wstring& path) override {
    calls.push_back("SetWallpaper(" + NarrowAnsi(path) + ")");
    wallpaper = path;
    return true;
  }
  bool GetDesktopItemOptions(ComponentsOptions& out) override {
    calls.push_back("GetDesktopItemOptions(" + std::to_string(out.size) + ")");
    if (optionsFail) return false;
    out.enableComponents = options.enableComponents;
    out.activeDesktop = options.activeDesktop;
    return true;
  }
  void SetDesktopItemOptions(const ComponentsOptions& in) override {
    calls.push_back("SetDesktopItemOptions(" + std::to_string(in.size) + "," +
                    std::to_string(in.enableComponents) + "," + std::to_string(in.activeDesktop) +
                    ")");
    options = in;
  }
  bool ApplyChanges(unsigned flags) override {
    calls.push_back("ApplyChanges(" + std::to_string(flags) + ")");
    return true;
  }
};

}  // namespace zarvane
