// HyperLink in a real dialog: how it fits its text, and how it opens a link the shell has no
// program for, through a stand-in browser registered in the test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>
#include <vector>

#include "dialog.h"
#include "hyper_link.h"
#include "skip_without_display.h"

namespace zarvane {
namespace {

const int kLeftLink = 901, kCentredLink = 902, kRightLink = 903, kEmptyLink = 904;

class LinkFixture : public Dialog {
 public:
  LinkFixture() : Dialog(900) {}
  HyperLink left, centred, right, empty;

 protected:
  bool OnInit() override {
    left.Attach(Handle(), kLeftLink);
    centred.Attach(Handle(), kCentredLink);
    right.Attach(Handle(), kRightLink);
    empty.SetUrl("zv-nowhere://empty");
    empty.Attach(Handle(), kEmptyLink);
    return true;
  }
};

// The default value of an HKCR key, changed for one test and put back as it was.
class ClassesDefault {
 public:
  explicit ClassesDefault(std::string key) : key_(std::move(key)) {
    char value[520];
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key_.c_str(), value, &size) == ERROR_SUCCESS)
      old_ = value;
  }
  ~ClassesDefault() {
    if (old_)
      Set(*old_);
    else
      Remove();
  }
  void Set(const std::string& value) {
    RegSetValueA(HKEY_CLASSES_ROOT, key_.c_str(), REG_SZ, value.c_str(),
                 static_cast<DWORD>(value.size()));
  }
  void Remove() { RegDeleteKeyA(HKEY_CLASSES_ROOT, key_.c_str()); }

 private:
  std::string key_;
  std::optional<std::string> old_;
};

// The first message box of this process: its text, then OK. Looked for without sending
// messages, since the test's own thread may be the one waiting here.
class BoxAnswerer {
 public:
  BoxAnswerer()
      : thread_([this] {
          for (int i = 0; i < 200 && !stop_; ++i, Sleep(50)) {
            HWND box = nullptr;
            EnumWindows(&BoxAnswerer::Match, reinterpret_cast<LPARAM>(&box));
            if (!box) continue;
            WCHAR wide[512] = L"";
            InternalGetWindowText(GetDlgItem(box, 0xFFFF), wide, 512);
            char narrow[1024] = "";
            WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
            text = narrow;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return;
          }
        }) {}
  ~BoxAnswerer() { Finish(); }
  void Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  std::string text;

 private:
  static BOOL CALLBACK Match(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || !GetDlgItem(window, 0xFFFF))
      return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkipWithoutDisplay();
    // The browser's log, private to this program (the browser inherits the variable).
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "zarvane-hyper-link-test\\";
    SetEnvironmentVariableA("ZARVANE_DOUBLES_DIR", folder.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    log_ = folder + "browser.log";
    DeleteFileA(log_.c_str());
    std::string path = "Z:" ZARVANE_BINARY_DIR "/bin/doubles/recording-browser.exe";
    for (char& c : path)
      if (c == '/') c = '\\';
    browser_ = "\"" + path + "\"";
    htm_.Set("htmlfile");
    htmCommand_.Set(browser_ + " -nohome \"%1\"");
  }

  // The command lines the browser was started with, once `count` of them came (or 5 s passed).
  std::vector<std::string> BrowserRuns(std::size_t count) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i, Sleep(50)) {
      lines.clear();
      std::ifstream in(log_);
      for (std::string line; std::getline(in, line);) lines.push_back(line);
      if (lines.size() >= count) break;
    }
    return lines;
  }

  std::string log_, browser_;
  ClassesDefault htm_{".htm"};
  ClassesDefault htmCommand_{"htmlfile\\shell\\open\\command"};
};

}  // namespace

TEST_F(HyperLinkTest, KeepsTheEdgeItsAlignmentNamesAndTakesItsTextsSize) {
  LinkFixture dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  RECT left = dialog.ItemRect(kLeftLink), centred = dialog.ItemRect(kCentredLink),
       right = dialog.ItemRect(kRightLink), empty = dialog.ItemRect(kEmptyLink);
  RECT frame = {10, 64, 210, 84};  // the templates' rectangles, in dialog units
  MapDialogRect(dialog.Handle(), &frame);
  EXPECT_EQ(left.left, frame.left);
  EXPECT_LT(left.right, frame.right - 50);
  EXPECT_GE(right.right, frame.right);  // a few pixels more for the last letter's ink
  EXPECT_LE(right.right, frame.right + 5);
  EXPECT_GT(right.left, frame.left + 50);
  EXPECT_NEAR((centred.left + centred.right) / 2, (frame.left + frame.right) / 2, 3);
  EXPECT_LT(centred.right - centred.left, left.right - left.left);
  EXPECT_EQ(left.bottom - left.top, centred.bottom - centred.top);
  // SS_CENTERIMAGE: shrunk evenly towards the middle of its 20 units.
  EXPECT_GT(empty.top, frame.top);
  EXPECT_NEAR((empty.top + empty.bottom) / 2, (frame.top + frame.bottom) / 2, 1);
  // A link without text shows its URL; one without URL takes its text.
  char shown[64] = "";
  GetWindowTextA(dialog.Item(kEmptyLink), shown, sizeof shown);
  EXPECT_STREQ(shown, "zv-nowhere://empty");
  EXPECT_EQ(dialog.left.Url(), "www.example.com/left");
}

// No program for the link's scheme: the browser registered for .htm files gets it instead.
TEST_F(HyperLinkTest, WithoutAnAssociationTheHtmBrowserOpensTheLink) {
  LinkFixture dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  SendMessageA(dialog.Item(kEmptyLink), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_TRUE(dialog.empty.Visited());
  htmCommand_.Set(browser_ + " -plain");
  EXPECT_GT(HyperLink::OpenUrl("zv-nowhere://b", SW_SHOW), 32);
  std::vector<std::string> runs = BrowserRuns(2);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], browser_ + " -nohome  zv-nowhere://empty");
  EXPECT_EQ(runs[1], browser_ + " -plain zv-nowhere://b");
}

TEST_F(HyperLinkTest, ALinkThatCannotOpenSaysWhyAndStaysUnvisited) {
  htm_.Remove();
  LinkFixture dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  BoxAnswerer answer;
  SendMessageA(dialog.Item(kEmptyLink), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  answer.Finish();
  EXPECT_EQ(answer.text.rfind("Unable to open hyperlink:\n\n", 0), 0u) << answer.text;
  EXPECT_FALSE(dialog.empty.Visited());
  EXPECT_TRUE(BrowserRuns(0).empty());
}

}  // namespace zarvane
