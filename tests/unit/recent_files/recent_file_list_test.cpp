#include "recent_file_list.h"

#include <gtest/gtest.h>

#include <map>

namespace zarvane {
namespace {

// The settings key as a map; `keyExists` false stands for a key the tool never created.
class MemorySettings : public ToolSettings {
 public:
  int ReadNumber(const std::string&, int fallback) override { return fallback; }
  void WriteNumber(const std::string&, int) override {}
  bool ReadText(const std::string& name, std::string& value) override {
    auto it = values.find(name);
    if (!keyExists || it == values.end()) return false;
    value = it->second;
    return true;
  }
  bool WriteText(const std::string& name, const std::string& value) override {
    if (keyExists) values[name] = value;
    return keyExists;
  }
  void DeleteValue(const std::string& name) override { values.erase(name); }

  std::map<std::string, std::string> values;
  bool keyExists = true;
};

std::string Stored(MemorySettings& s) {
  std::string all;
  for (auto& [name, value] : s.values) all += name + "=" + value + " ";
  return all;
}

TEST(RecentFileList, LoadSkipsEmptyValuesAndStopsAtTheFirstMissingOne) {
  MemorySettings settings;
  settings.values = {{"MRUFile1", "C:\\a.zvp"},
                     {"MRUFile2", ""},
                     {"MRUFile3", "C:\\c.zvp"},
                     {"MRUFile5", "C:\\e.zvp"}};
  RecentFileList list(settings);
  list.Load();
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"C:\\a.zvp", "C:\\c.zvp"}));
  std::string path;
  EXPECT_TRUE(list.Get(1, path));
  EXPECT_EQ(path, "C:\\c.zvp");
  EXPECT_FALSE(list.Get(2, path));
  EXPECT_FALSE(list.Get(-1, path));
  EXPECT_EQ(list.MenuText(0), "&1 C:\\a.zvp");

  // A key that cannot be read leaves what was loaded before.
  settings.keyExists = false;
  list.Load();
  EXPECT_EQ(list.Entries().size(), 2u);
}

TEST(RecentFileList, FourNewestFirstOneEntryPerPathInAnyCase) {
  MemorySettings settings;
  RecentFileList list(settings);
  for (const char* p : {"C:\\1.zvp", "C:\\2.zvp", "C:\\3.zvp", "C:\\4.zvp", "C:\\5.zvp"})
    list.Add(p);
  EXPECT_EQ(Stored(settings),
            "MRUFile1=C:\\5.zvp MRUFile2=C:\\4.zvp MRUFile3=C:\\3.zvp MRUFile4=C:\\2.zvp ");

  list.Add("c:\\3.ZVP");
  EXPECT_EQ(Stored(settings),
            "MRUFile1=c:\\3.ZVP MRUFile2=C:\\5.zvp MRUFile3=C:\\4.zvp MRUFile4=C:\\2.zvp ");

  // Removing stores the shorter list: the last value goes.
  list.Remove("C:\\5.ZVP");
  list.Remove("C:\\never.zvp");
  EXPECT_EQ(Stored(settings), "MRUFile1=c:\\3.ZVP MRUFile2=C:\\4.zvp MRUFile3=C:\\2.zvp ");
}

TEST(RecentFileList, NothingIsStoredWithoutTheKey) {
  MemorySettings settings;
  settings.keyExists = false;
  RecentFileList list(settings);
  list.Add("C:\\1.zvp");
  EXPECT_TRUE(settings.values.empty());
  EXPECT_EQ(list.Entries().size(), 1u);
}

}  // namespace
}  // namespace zarvane
