#pragma once
// The tool's own settings under HKEY_CURRENT_USER\Software\Quorvel\Zarvane\Settings ("PrevWarn",
// "MRUFile1".."MRUFile4"). A seam so that tests can see and preset what the tool keeps there.
#include <string>

namespace zarvane {

class ToolSettings {
 public:
  virtual ~ToolSettings() = default;
  // Creates the key when missing.
  virtual int ReadNumber(const std::string& name, int fallback) = 0;
  virtual void WriteNumber(const std::string& name, int value) = 0;
  // The recent list opens the key, never creates it: false when it is missing or the value
  // cannot be read.
  virtual bool ReadText(const std::string& name, std::string& value) = 0;
  virtual bool WriteText(const std::string& name, const std::string& value) = 0;
  virtual void DeleteValue(const std::string& name) = 0;
};

// The registry key of the running tool: HKEY_CURRENT_USER\<kToolSettingsKey>.
ToolSettings& RegistryToolSettings();
inline constexpr char kToolSettingsKey[] = "Software\\Quorvel\\Zarvane\\Settings";

}  // namespace zarvane
