// Any bytes as the installer's "instcfg.ini": the installer reads every value within its room,
// never a line break, and a resource list of trimmed names.
#include <cstdlib>
#include <string>

#include "fuzz_scratch.h"
#include "installer_config.h"
#include "profile.h"

namespace {

void CheckValue(const std::string& value, std::size_t room) {
  if (value.size() >= room || value.find_first_of("\r\n") != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static std::unique_ptr<zarvane::Profile> profile = zarvane::MakePortableProfile();
  FuzzScratch& scratch = TheFuzzScratch();
  scratch.Write("instcfg.ini", data, size);
  zarvane::InstallerConfig config = zarvane::ReadInstallerConfig(*profile, scratch.Folder());
  const std::size_t prefixed = scratch.Folder().size() + 1024;
  CheckValue(config.movieOrImageFile, prefixed);
  CheckValue(config.licenseFile, prefixed);
  for (const std::string* value :
       {&config.name, &config.movieFile, &config.imageFile, &config.backgroundImageFile,
        &config.resourceFileList, &config.backgroundPosition, &config.hAlign, &config.vAlign,
        &config.backgroundColour, &config.size, &config.quality, &config.loop})
    CheckValue(*value, 1024);
  for (const std::string& file : config.resourceFiles)
    if ((!file.empty() && (file.front() == ' ' || file.back() == ' ')) ||
        config.resourceFileList.find(file) == std::string::npos)
      std::abort();
  return 0;
}
