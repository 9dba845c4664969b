#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "file_system.h"

namespace zarvane {
namespace {

std::string TempFolder() {
  char buffer[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, buffer);
  std::string folder = buffer;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

std::string FolderWithFile(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string file = folder + "\\movie.swf";
  HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(handle);
  return file;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An installer that was killed left its extraction folder; the next run takes away the folders of
// runs that have ended, and no folder of a program still running nor any other folder.
TEST(PrivateTempFolder, TakesAwayWhatEndedRunsLeftAndNothingElse) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION ended = {};
  char command[] = "cmd.exe /c exit";
  ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                             nullptr, &startup, &ended));
  WaitForSingleObject(ended.hProcess, INFINITE);

  const std::string temp = TempFolder();
  const std::string endedPrefix = temp + "zarvane-" + std::to_string(ended.dwProcessId);
  const std::string endedRun = endedPrefix + "-0";
  const std::string running = temp + "zarvane-" + std::to_string(GetCurrentProcessId()) + "-998";
  const std::string endedFile = FolderWithFile(endedRun);
  const std::string runningFile = FolderWithFile(running);
  const std::string otherFile = FolderWithFile(endedPrefix + "-notes");

  const std::string mine = MakePrivateTempFolder();
  ASSERT_FALSE(mine.empty());
  EXPECT_FALSE(Exists(endedRun)) << endedFile;
  EXPECT_TRUE(Exists(runningFile));
  EXPECT_TRUE(Exists(otherFile));

  CloseHandle(ended.hThread);
  CloseHandle(ended.hProcess);
  for (const std::string& file : {runningFile, otherFile}) {
    DeleteFileA(file.c_str());
    RemoveDirectoryA(file.substr(0, file.rfind('\\')).c_str());
  }
  RemoveFolderAndFiles(mine);
}

}  // namespace
}  // namespace zarvane
