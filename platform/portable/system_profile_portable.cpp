#include "profile.h"

namespace zarvane {

Profile& SystemProfile() {
  static std::unique_ptr<Profile> profile = MakePortableProfile();
  return *profile;
}

}  // namespace zarvane
