#pragma once
// A folder of one build's own under the temporary folder: "instcfg.ini" and the default pictures
// are made there, where no other build and no file of the user's shares their names. Removed with
// everything in it when the build ends.
#include <string>

namespace zarvane {

class BuildFolder {
 public:
  // `temporaryFolder` ends with a separator; an empty one gives no folder.
  explicit BuildFolder(const std::string& temporaryFolder);
  ~BuildFolder();
  BuildFolder(const BuildFolder&) = delete;
  BuildFolder& operator=(const BuildFolder&) = delete;

  bool Made() const { return !path_.empty(); }
  // Ends with the temporary folder's separator.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace zarvane
