#pragma once
// The few file-system operations the portable core needs, with Win32 behaviour: each reports
// success and never throws. Elsewhere "\" in a path is taken as "/".
#include <string>
#include <vector>

namespace zarvane {

bool MakeDirectory(const std::string& path);         // fails when it exists
bool RemoveEmptyDirectory(const std::string& path);  // fails when not empty
bool CopyFileOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
bool FileExists(const std::string& path);
// Every entry of the folder as the Win32 search reports it: ".", ".." and subfolders included.
std::vector<std::string> ListDirectory(const std::string& folder);
// Replaces `path` with `text`, through a file beside it, so no half-written file is ever left.
bool ReplaceFileContents(const std::string& path, const std::string& text);

// The Windows directory without its trailing backslash.
std::string WindowsDirectory();

std::wstring WidenAnsi(const std::string& text);
std::string NarrowAnsi(const std::wstring& text);

}  // namespace zarvane
