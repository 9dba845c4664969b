#include <windows.h>

#include "tool_settings.h"

namespace zarvane {
namespace {

class Key {
 public:
  // `create`: the key is made when missing (the tool's own settings); otherwise only opened.
  Key(REGSAM access, bool create) {
    LONG result = create ? RegCreateKeyExA(HKEY_CURRENT_USER, kToolSettingsKey, 0, nullptr, 0,
                                           access, nullptr, &key_, nullptr)
                         : RegOpenKeyExA(HKEY_CURRENT_USER, kToolSettingsKey, 0, access, &key_);
    if (result != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class RegistrySettings : public ToolSettings {
 public:
  int ReadNumber(const std::string& name, int fallback) override {
    Key key(KEY_READ, true);
    DWORD value = 0, type = 0, size = sizeof value;
    if (!key.get() ||
        RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
      return fallback;
    return static_cast<int>(value);
  }

  void WriteNumber(const std::string& name, int value) override {
    Key key(KEY_WRITE, true);
    DWORD data = static_cast<DWORD>(value);
    if (key.get())
      RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&data),
                     sizeof data);
  }

  bool ReadText(const std::string& name, std::string& value) override {
    Key key(KEY_READ, false);
    DWORD type = 0, size = 0;
    // Sized by the value: the preview's list of files may be longer than a path.
    if (!key.get() ||
        RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
      return false;
    std::string buffer(size + 1, '\0');
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&buffer[0]), &size) != ERROR_SUCCESS)
      return false;
    value = buffer.c_str();
    return true;
  }

  bool WriteText(const std::string& name, const std::string& value) override {
    Key key(KEY_WRITE, false);
    return key.get() && RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }

  void DeleteValue(const std::string& name) override {
    Key key(KEY_WRITE, false);
    if (key.get()) RegDeleteValueA(key.get(), name.c_str());
  }
};

}  // namespace

ToolSettings& RegistryToolSettings() {
  static RegistrySettings settings;
  return settings;
}

}  // namespace zarvane
