#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "install_folder_rule.h"
#include "installer_command_line.h"
#include "installer_text.h"
#include "media_type.h"
#include "restart_rename.h"
#include "run_log.h"
#include "scripted_prompt.h"
#include "text.h"
#include "wallpaper_name_rule.h"

namespace zarvane {
namespace {

TEST(InstallerCommandLine, SwitchesAndPath) {
  struct Case {
    std::vector<std::string> arguments;
    bool quiet;
    bool pathFollows;
    std::string installPath;
  } cases[] = {
      {{}, false, false, ""},
      {{"/q"}, true, false, ""},
      {{"-Q"}, true, false, ""},
      // The last plain argument: an unquoted path with blanks leaves a relative word.
      {{"/Q", "/P", "C:\\uv\\With", "Space"}, true, true, "Space"},
      {{"/P", "C:\\A", "C:\\B"}, false, true, "C:\\B"},
      {{"/P", "C:\\a", "b", "/Q", "C:\\c"}, true, true, "C:\\c"},
      {{"C:\\before", "/p", "C:\\after"}, false, true, "C:\\after"},
      {{"/P"}, false, true, ""},                            // the dialog proposes its default
      {{"/P", "-x", "C:\\kept"}, false, true, "C:\\kept"},  // unknown switches are skipped
      {{"/QP", "/", "-", "C:\\plain"}, false, false, ""},
      {{"/P", "C:\\Program Files\\My Wall"}, false, true, "C:\\Program Files\\My Wall"},
      {{"/P", "C:\\a", "/LOG=C:\\x.log", "C:\\b"}, false, true, "C:\\b"},  // the log is no path
  };
  for (const Case& c : cases) {
    InstallerCommandLine line = ParseInstallerCommandLine(c.arguments);
    std::string shown = c.arguments.empty() ? "(none)" : c.arguments[0];
    EXPECT_EQ(line.quiet, c.quiet) << shown;
    EXPECT_EQ(line.pathFollows, c.pathFollows) << shown;
    EXPECT_EQ(line.installPath, c.installPath) << shown;
  }
}

TEST(InstallFolderRule, RefusesRelativeAndSharedFolders) {
  using V = InstallFolderVerdict;
  struct Case {
    const char* folder;
    V verdict;
  } cases[] = {
      {"C:\\Program Files\\Demo", V::kUsable},
      {"c:/program files/demo/", V::kUsable},
      {"\\\\server\\share\\Demo", V::kUsable},
      {"C:\\windows\\Web\\WallPaperDemo", V::kUsable},
      {"Space", V::kRelative},
      {".\\Demo", V::kRelative},
      {"\\Demo", V::kRelative},
      {"C:Demo", V::kRelative},
      {"C:\\", V::kShared},
      {"C:\\Demo\\..", V::kShared},
      {"\\\\server\\share\\", V::kShared},
      {"C:\\WINDOWS", V::kShared},
      {"C:\\windows\\system32\\..\\.", V::kShared},
      {"C:\\windows\\Web\\WallPaper", V::kShared},
      {"C:\\windows\\web\\wallpaper\\Demo", V::kShared},
      {"C:\\windows\\Web\\WallPaper.\\Demo\\deeper", V::kShared},
      {"C:\\windows\\Web\\WallPaper \\x", V::kShared},
  };
  for (const Case& c : cases)
    EXPECT_EQ(JudgeInstallFolder(c.folder, "C:\\windows"), c.verdict) << c.folder;
}

TEST(InstallerCommandLine, SilentAndLog) {
  for (const char* word : {"/S", "-s", "/s"}) EXPECT_TRUE(ParseInstallerCommandLine({word}).silent);
  EXPECT_FALSE(ParseInstallerCommandLine({"/Q", "/SP", "S"}).silent);
  EXPECT_EQ(ParseInstallerCommandLine({"/log=C:\\my logs\\a.txt"}).logFile, "C:\\my logs\\a.txt");
  EXPECT_EQ(ParseInstallerCommandLine({"-LOG="}).logFile, "");
  EXPECT_EQ(ParseInstallerCommandLine({"/LOGFILE"}).logFile, "");
}

// Silent mode must never wait for an answer, and must take the one that lets the run go on;
// what it kept back is in the log, one line each.
TEST(LoggedPrompt, SilentTakesTheAnswerThatGoesOnAndLogsEveryMessage) {
  const std::string path = testing::TempDir() + "logged_prompt.log";
  std::remove(path.c_str());
  {
    RunLog log;
    ASSERT_TRUE(log.Open(path));
    LoggedPrompt silent(nullptr, log);
    EXPECT_EQ(silent.Show("Folder %s does not exist.\nCreate it?", kPromptYesNo), kAnswerYes);
    EXPECT_EQ(silent.Show("Wallpaper Exists..Replace?", kPromptOkCancel), kAnswerOk);
    EXPECT_EQ(silent.Show("Failed to Get Desktop Settings", kPromptOk), kAnswerOk);
    ScriptedPrompt boxes;
    boxes.answers = {kAnswerNo};
    LoggedPrompt shown(&boxes, log);
    EXPECT_EQ(shown.Show("Uninstall?", kPromptYesNo), kAnswerNo);
    ASSERT_EQ(boxes.shown.size(), 1u);
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  char buffer[1024] = {0};
  std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  EXPECT_EQ(std::string(buffer),
            "message not shown: Folder %s does not exist. Create it? -> taken as Yes\r\n"
            "message not shown: Wallpaper Exists..Replace? -> taken as OK\r\n"
            "message not shown: Failed to Get Desktop Settings\r\n"
            "message: Uninstall? -> No\r\n");
}

TEST(WallpaperNameRule, RefusesNamesThatAddressSharedPlaces) {
  // "Demo." and "Demo " name the folder and page of "Demo".
  for (const char* bad : {"", ".", "..", "...", " ", ". .", "a\\b", "..\\..\\Windows", "a/b",
                          "C:", "x:y", "\\", "Demo.", "Demo ", "Demo. "})
    EXPECT_FALSE(IsUsableWallpaperName(bad)) << "'" << bad << "'";
  for (const char* device : {"con", "NUL.txt", "nul .txt", "con ", "aux .xml", "com1"})
    EXPECT_FALSE(IsUsableWallpaperName(device)) << "'" << device << "'";
  for (const char* good : {"Clock", "My Wall 2", ".hidden", "a.b", "x..y", "console"})
    EXPECT_TRUE(IsUsableWallpaperName(good)) << "'" << good << "'";
}

TEST(MediaType, FromFirstBytes) {
  struct Case {
    std::string bytes;
    int type;
  } cases[] = {
      {"FWS\x06", kMediaMovie},
      {"CWS\x0a rest", kMediaMovie},
      {std::string("BM6\0\0", 5), kMediaPicture},
      {"BMx", kMediaPicture},
      {"BM", kMediaOther},  // fewer than three bytes
      {"\xFF\xD8\xFF\xE0", kMediaOther},
      {"GIF89a", kMediaOther},
      {"fws", kMediaOther},
      {"", kMediaOther},
      {"ZWS", kMediaOther},
  };
  for (const Case& c : cases) {
    auto* bytes = reinterpret_cast<const unsigned char*>(c.bytes.data());
    EXPECT_EQ(MediaTypeOfBytes(bytes, c.bytes.size()), c.type) << c.bytes;
  }
}

TEST(MediaType, FromFile) {
  std::string dir = ZARVANE_BINARY_DIR "/";
  struct Case {
    const char* name;
    std::string bytes;
    int type;
  } cases[] = {
      {"media_cws.swf", std::string("CWS\x07\x10\x00\x00\x00", 8), kMediaMovie},
      {"media_bm.bmp", "BM\x42", kMediaPicture},
      {"media_two.bmp", "BM", kMediaOther},
      {"media_jpeg.jpg", "\xFF\xD8\xFF\xE0", kMediaOther},
  };
  for (const Case& c : cases) {
    std::string path = dir + c.name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(c.bytes.data(), 1, c.bytes.size(), f);
    std::fclose(f);
    EXPECT_EQ(DetectMediaType(path), c.type) << c.name;
    std::remove(path.c_str());
  }
  EXPECT_EQ(DetectMediaType(dir + "no-such-file.swf"), kMediaOther);
}

TEST(RestartRename, KeysBecomeNulLinesAndTheRestIsLowerCased) {
  std::string text =
      "[Boot]\r\nShell=Explorer.EXE\r\n[rename]\r\nNUL=C:\\Old\\Gone.txt\r\n"
      "NUL1000=C:\\Program Files\\Clock\\Uninstall.exe\r\n"
      "NUL1001=C:\\Program Files\\Clock\\Uninstall.ini\r\n"
      "NUL1002=C:\\Program Files\\Clock\\\r\n";
  std::string expected =
      "[boot]\r\nshell=explorer.exe\r\n[rename]\r\nnul=c:\\old\\gone.txt\r\n"
      "NUL=c:\\program files\\clock\\uninstall.exe\r\n"
      "NUL=c:\\program files\\clock\\uninstall.ini\r\n"
      "NUL=c:\\program files\\clock\\\r\n";
  EXPECT_EQ(RestartRenameText(text, 3, &ToLowerAscii), expected);
}

TEST(RestartRename, OnlyKeysOfThisRunAndOnlyWhereTheyStandAsKeys) {
  // A path holding the key's letters keeps them; a key beyond `count` is left alone.
  std::string text =
      "[rename]\nNUL1000=C:\\nul1000\\a\n  NUL1001 =C:\\b\nNUL1003=C:\\c\nxNUL1000=d\n";
  std::string expected = "[rename]\nNUL=c:\\nul1000\\a\n  NUL =c:\\b\nnul1003=c:\\c\nxnul1000=d\n";
  EXPECT_EQ(RestartRenameText(text, 2, &ToLowerAscii), expected);
  EXPECT_EQ(RestartRenameText("", 3, &ToLowerAscii), "");
  EXPECT_EQ(RestartRenameText("NUL1000=last line without end", 1, &ToLowerAscii),
            "NUL=last line without end");
}

TEST(RestartRename, AnInstallationTakesBackOnlyTheDeletionsOfItsOwnPaths) {
  std::string text =
      "[boot]\r\nNUL=c:\\clock\\uninstall.exe\r\n[rename]\r\n"
      "NUL=c:\\program files\\clock\\uninstall.exe\r\n"
      "nul = C:\\Program Files\\Clock\\Uninstall.ini \r\n"
      "NUL=c:\\program files\\clock\\\r\n"
      "NUL=c:\\program files\\clock\\other.txt\r\n"
      "c:\\new.exe=c:\\program files\\clock\\uninstall.exe\r\n[Other]\r\n"
      "NUL=c:\\program files\\clock\\uninstall.exe";
  std::string expected =
      "[boot]\r\nNUL=c:\\clock\\uninstall.exe\r\n[rename]\r\n"
      "NUL=c:\\program files\\clock\\other.txt\r\n"
      "c:\\new.exe=c:\\program files\\clock\\uninstall.exe\r\n[Other]\r\n"
      "NUL=c:\\program files\\clock\\uninstall.exe";
  EXPECT_EQ(WithoutRestartDeletions(text,
                                    {"C:\\Program Files\\Clock\\Uninstall.exe",
                                     "C:\\Program Files\\Clock\\Uninstall.ini",
                                     "C:\\Program Files\\Clock"},
                                    &ToLowerAscii),
            expected);
}

TEST(FormatText, FirstPlaceholderOnlyAndNoLengthLimit) {
  EXPECT_EQ(FormatText("Wallpaper '%s' removed.", "Clock"), "Wallpaper 'Clock' removed.");
  EXPECT_EQ(FormatText("no placeholder", "x"), "no placeholder");
  EXPECT_EQ(FormatText("%s and %s", "a%s"), "a%s and %s");
  std::string longName(5000, 'n');
  EXPECT_EQ(FormatText("[%s]", longName).size(), 5002u);
}

}  // namespace
}  // namespace zarvane
