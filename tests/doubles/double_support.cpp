#include "double_support.h"

#include <cstdio>
#include <vector>

namespace zarvane::doubles {

LONG moduleUsers = 0;

std::string DoublesFolder() {
  char buffer[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("ZARVANE_DOUBLES_DIR", buffer, sizeof buffer);
  std::string folder = (n > 0 && n < sizeof buffer) ? buffer : "C:\\zarvane-doubles";
  if (folder.back() != '\\') folder += '\\';
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void AppendLog(const char* fileName, const std::string& line) {
  std::string path = DoublesFolder() + fileName;
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::map<std::string, std::string> ReadSettings(const char* fileName) {
  std::map<std::string, std::string> settings;
  std::string path = DoublesFolder() + fileName;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return settings;
  char line[4096];
  while (std::fgets(line, sizeof line, file)) {
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::size_t eq = text.find('=');
    if (eq == std::string::npos) continue;
    settings[text.substr(0, eq)] = text.substr(eq + 1);
  }
  std::fclose(file);
  return settings;
}

void WriteSettings(const char* fileName, const std::map<std::string, std::string>& settings) {
  std::string path = DoublesFolder() + fileName;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  for (const auto& [key, value] : settings) std::fprintf(file, "%s=%s\n", key.c_str(), value.c_str());
  std::fclose(file);
}

std::string Utf8(const wchar_t* text) {
  if (!text || !*text) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  if (!out.empty()) out.pop_back();  // the terminator
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), n);
  if (!out.empty()) out.pop_back();
  return out;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Hex(unsigned long value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%lx", value);
  return buffer;
}

std::string ModulePath(HMODULE module) {
  char buffer[MAX_PATH] = {};
  GetModuleFileNameA(module, buffer, sizeof buffer);
  return buffer;
}

bool SetRegistryText(HKEY root, const std::string& key, const char* value, const std::string& text) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExA(handle, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1));
  RegCloseKey(handle);
  return rc == ERROR_SUCCESS;
}

bool RegisterInprocServer(const char* clsid, const char* name, const std::string& path) {
  std::string key = std::string("CLSID\\") + clsid;
  return SetRegistryText(HKEY_CLASSES_ROOT, key, nullptr, name) &&
         SetRegistryText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", nullptr, path) &&
         SetRegistryText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel", "Apartment");
}

}  // namespace zarvane::doubles
