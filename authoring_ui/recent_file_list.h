#pragma once
// The recently opened projects, most recent first, kept as "MRUFile1".."MRUFile4" in the tool's
// settings. The list is read afresh whenever the Project menu opens and stored on every change.
#include <string>
#include <vector>

#include "tool_settings.h"

namespace zarvane {

class RecentFileList {
 public:
  static constexpr int kMaximum = 4;
  static constexpr int kFirstCommand = 5000;

  explicit RecentFileList(ToolSettings& settings) : settings_(settings) {}

  // Reads MRUFile1, MRUFile2 ... up to the first that cannot be read; empty values are
  // skipped. When not even the first can be read the entries stay as they were.
  void Load();
  // To the top; an entry equal to it in any letter case goes, the oldest falls off.
  void Add(const std::string& path);
  void Remove(const std::string& path);
  // The entry at `index`, or false.
  bool Get(int index, std::string& path) const;
  const std::vector<std::string>& Entries() const { return entries_; }
  // "&1 C:\x.zvp": the menu text of entry `index`.
  std::string MenuText(int index) const;

 private:
  void Store();

  ToolSettings& settings_;
  std::vector<std::string> entries_;
};

}  // namespace zarvane
