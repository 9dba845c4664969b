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
#ifdef _WIN32
// Windows 95, 98 and Me, whose MoveFileEx does nothing but fail.
bool OnWindows9x();
// Renames the file `from` to `to`, replacing a file of that name. The Windows 9x family cannot
// replace in one step: there the old file is renamed "<to>.old" first and deleted once the new
// one is in place, so `to` is missing for a moment but never lost. A "<to>.old" that a stopped
// run left goes first: deleted when `to` is there, renamed back to `to` when `to` is missing.
bool MoveReplacing(const std::string& from, const std::string& to);
// Removes the folders "<base><prefix><process>-<n>" whose process has ended, unless `keep`
// (given the folder without separator) says one is somebody's.
void RemoveFoldersOfEndedRuns(const std::string& base, const std::string& prefix,
                              bool (*keep)(const std::string& folder));
// Who a folder is, however its path is spelt (short names, drive letters mapped onto it, ".."):
// its volume's serial number and its file index there.
struct FolderIdentity {
  unsigned long volume = 0;
  unsigned long long index = 0;
  std::string folder;  // the folder that exists: the path made whole, or one of its parents
  int missing = 0;     // levels of the path below `folder` that are no folder (yet)
};
bool SameIdentity(const FolderIdentity& a, const FolderIdentity& b);
// The identity of the nearest folder of `path` that exists. False on the Windows 9x family,
// which cannot open a folder, and where no level of the path can be opened.
bool NearestFolderIdentity(const std::string& path, FolderIdentity& identity);
// The path made whole, with the long name of every level that exists; the rest as given.
std::string LongPathOf(const std::string& path);
#endif
// Makes an empty file where nothing (not even a dangling link) stands; fails otherwise.
bool CreateNewFile(const std::string& path);
bool FileExists(const std::string& path);
// Every entry of the folder as the Win32 search reports it: ".", ".." and subfolders included.
std::vector<std::string> ListDirectory(const std::string& folder);
// Replaces `path` with `text`, through a new file of its own beside it (never one that exists
// already), so no half-written file is ever left and no other file is touched.
bool ReplaceFileContents(const std::string& path, const std::string& text);

// A new, empty folder of this run's own under the system's temporary folder, with its trailing
// separator; empty when none can be made (the installer's extraction, the preview's page, the
// command-line tool's scratch copies). On Windows the folders that runs which have ended left
// there ("zarvane-<process>-<n>") are removed first.
std::string MakePrivateTempFolder();
// A new, empty folder "<base><prefix><process>-<n>" of this run's own, with base's trailing
// separator; empty when none can be made. The folders of that pattern that runs which have
// ended (killed, crashed, lost their power) left in `base` are removed first, unless `keep`
// (given the folder without separator) says one is somebody's.
std::string MakeRunFolder(const std::string& base, const std::string& prefix,
                          bool (*keep)(const std::string& folder) = nullptr);
// Removes the files directly inside `folder` (links as links), then the folder itself.
bool RemoveFolderAndFiles(const std::string& folder);

// The Windows directory without its trailing backslash.
std::string WindowsDirectory();
#ifdef _WIN32
// The user's own local application data folder, with its trailing backslash; empty where the
// system has none (the Windows 9x family without the shell's folder function).
std::string LocalAppDataFolder();
#endif

std::wstring WidenAnsi(const std::string& text);
std::string NarrowAnsi(const std::wstring& text);

}  // namespace zarvane
