#pragma once
// One installer or uninstaller of a wallpaper name at a time: two runs of the same name would
// stage, swap and record the same folder, page and entry at once.
#include <string>

namespace zarvane {

class WallpaperLock {
 public:
  // Waits up to `waitMs` for another run of `name` to end.
  WallpaperLock(const std::string& name, unsigned long waitMs);
  ~WallpaperLock();
  WallpaperLock(const WallpaperLock&) = delete;
  WallpaperLock& operator=(const WallpaperLock&) = delete;
  bool Held() const { return held_; }

 private:
  void* mutex_ = nullptr;
  bool held_ = false;
};

// How long a run waits for another of the same name: an install in progress ends in seconds,
// one that waits for a user's answer may not.
constexpr unsigned long kWallpaperLockWaitMs = 30000;

}  // namespace zarvane
