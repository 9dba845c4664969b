#include "wallpaper_lock.h"

#include <windows.h>

namespace zarvane {

WallpaperLock::WallpaperLock(const std::string& name, unsigned long waitMs) {
  // A wallpaper name holds no backslash, which a mutex name may not either.
  const std::string mutexName = "Zarvane wallpaper " + name;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName.substr(0, MAX_PATH - 1).c_str());
  if (!mutex) return;
  mutex_ = mutex;
  // Abandoned: a run that was killed; what it left, this run finishes.
  const DWORD waited = WaitForSingleObject(mutex, waitMs);
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

WallpaperLock::~WallpaperLock() {
  if (!mutex_) return;
  if (held_) ReleaseMutex(static_cast<HANDLE>(mutex_));
  CloseHandle(static_cast<HANDLE>(mutex_));
}

}  // namespace zarvane
