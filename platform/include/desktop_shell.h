#pragma once
// The shell's Active Desktop, one call per method, so the wallpaper core's exact call orders can
// be checked against a recording stand-in. On Windows: COM IActiveDesktop.
#include <cstdint>
#include <string>

namespace zarvane {

// The shell's COMPONENTSOPT record.
struct ComponentsOptions {
  std::uint32_t size = 12;
  std::int32_t enableComponents = 0;
  std::int32_t activeDesktop = 0;
};

// ApplyChanges flags.
enum : unsigned { kApplySave = 1, kApplyHtmlGen = 2, kApplyRefresh = 4, kApplyAll = 7, kApplyForce = 8 };

class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  virtual void InitializeCom() = 0;    // CoInitialize(NULL)
  virtual void UninitializeCom() = 0;  // CoUninitialize
  virtual bool CreateActiveDesktop() = 0;
  virtual void ReleaseActiveDesktop() = 0;
  // Leaves `wallpaper` untouched when the shell gives nothing; at most capacity - 1 characters.
  virtual void GetWallpaper(std::wstring& wallpaper, unsigned capacity) = 0;
  virtual bool SetWallpaper(const std::wstring& wallpaper) = 0;
  virtual bool GetDesktopItemOptions(ComponentsOptions& options) = 0;
  virtual void SetDesktopItemOptions(const ComponentsOptions& options) = 0;
  virtual bool ApplyChanges(unsigned flags) = 0;
};

// The machine's own Active Desktop (Windows), or one that cannot be created (elsewhere).
DesktopShell& SystemDesktopShell();

}  // namespace zarvane
