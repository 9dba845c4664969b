// Links, the Help menu and the preview warning, against a stand-in browser registered in the
// test prefix for web pages, mail and .htm files.
#include <fstream>
#include <optional>
#include <vector>

#include "dialog.h"
#include "help_addresses.h"
#include "help_commands.h"
#include "help_ids.h"
#include "help_test_support.h"
#include "hyper_link.h"
#include "preview_warning_dialog.h"

namespace zarvane {

namespace {

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
      RegDeleteKeyA(HKEY_CLASSES_ROOT, key_.c_str());
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

class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    SkipWithoutDisplay();
    folder_ = UsePrivateDoublesFolder("zarvane-help-test");
    DeleteFileA(Log().c_str());
    std::string path = "Z:" ZARVANE_BINARY_DIR "/bin/doubles/recording-browser.exe";
    for (char& c : path)
      if (c == '/') c = '\\';
    browser_ = "\"" + path + "\"";
    htm_.Set("htmlfile");
    htmCommand_.Set(browser_ + " -nohome \"%1\"");
    http_.Set(browser_ + " \"%1\"");
    mailto_.Set(browser_ + " -mail \"%1\"");
  }

  std::string Log() const { return folder_ + "browser.log"; }

  // The first `count` command lines the browser was started with, waiting for them to come.
  std::vector<std::string> BrowserRuns(std::size_t count) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i) {
      lines.clear();
      std::ifstream in(Log());
      for (std::string line; std::getline(in, line);) lines.push_back(line);
      if (lines.size() >= count) break;
      Sleep(50);
    }
    return lines;
  }

  std::string folder_, browser_;
  ClassesDefault htm_{".htm"};
  ClassesDefault htmCommand_{"htmlfile\\shell\\open\\command"};
  ClassesDefault http_{"http\\shell\\open\\command"};
  ClassesDefault mailto_{"mailto\\shell\\open\\command"};
};

bool ShowsColour(HWND window, COLORREF colour) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  bool found = false;
  for (int y = 0; y < client.bottom && !found; ++y)
    for (int x = 0; x < client.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
  ReleaseDC(window, dc);
  return found;
}

}  // namespace

TEST_F(Help, ContentsAndTheWebPagesOpenInTheBrowser) {
  ShowHelpContents();
  ASSERT_EQ(BrowserRuns(1).size(), 1u);
  OpenSupportSite();
  ASSERT_EQ(BrowserRuns(2).size(), 2u);
  OpenMoreProducts();
  ASSERT_EQ(BrowserRuns(3).size(), 3u);
  EXPECT_GT(HyperLink::OpenUrl("mailto:" ZARVANE_SUPPORT_EMAIL, SW_SHOW), 32);
  std::vector<std::string> runs = BrowserRuns(4);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_NE(runs[0].find(" -nohome "), std::string::npos) << runs[0];
  EXPECT_NE(runs[0].find("\\bin\\Help\\index.htm"), std::string::npos) << runs[0];
  EXPECT_NE(runs[1].find("?id=1"), std::string::npos) << runs[1];
  EXPECT_NE(runs[2].find("?id=4"), std::string::npos) << runs[2];
  EXPECT_EQ(runs[3], browser_ + " -mail \"mailto:" ZARVANE_SUPPORT_EMAIL "\"");
}

TEST_F(Help, LinkFitsItsTextAndTurnsPurpleOnceOpened) {
  LinkFixture dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  // Each link keeps the edge (or the middle) its alignment names and takes its text's size.
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
  EXPECT_GT(empty.top, frame.top);
  EXPECT_NEAR((empty.top + empty.bottom) / 2, (frame.top + frame.bottom) / 2, 1);
  // A link without text shows its URL.
  EXPECT_EQ(WindowText(dialog.Item(kEmptyLink)), "zv-nowhere://empty");
  EXPECT_EQ(dialog.left.Url(), "www.example.com/left");

  UpdateWindow(dialog.Handle());
  EXPECT_TRUE(ShowsColour(dialog.Item(kLeftLink), HyperLink::kLinkColour));
  SendMessageA(dialog.Item(kLeftLink), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(dialog.Item(kLeftLink), WM_LBUTTONUP, 0, 0);
  std::vector<std::string> runs = BrowserRuns(1);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], browser_ + " \"http://www.example.com/left\"");
  EXPECT_TRUE(dialog.left.Visited());
  EXPECT_TRUE(ShowsColour(dialog.Item(kLeftLink), HyperLink::kVisitedColour));
  EXPECT_FALSE(ShowsColour(dialog.Item(kLeftLink), HyperLink::kLinkColour));
  EXPECT_FALSE(dialog.right.Visited());
}

// No program for the link's scheme: the browser registered for .htm files gets it instead.
TEST_F(Help, WithoutAnAssociationTheHtmBrowserOpensTheLink) {
  EXPECT_GT(HyperLink::OpenUrl("zv-nowhere://a", SW_SHOW), 32);
  htmCommand_.Set(browser_ + " -plain");
  EXPECT_GT(HyperLink::OpenUrl("zv-nowhere://b", SW_SHOW), 32);
  std::vector<std::string> runs = BrowserRuns(2);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], browser_ + " -nohome  zv-nowhere://a");
  EXPECT_EQ(runs[1], browser_ + " -plain zv-nowhere://b");
}

TEST_F(Help, ALinkThatCannotOpenSaysWhyAndStaysBlue) {
  htm_.Remove();
  LinkFixture dialog;
  ASSERT_TRUE(dialog.CreateModeless(nullptr));
  std::string said;
  WindowWatcher answer("authoring_help_tests", [&](HWND window) {
    said = WindowText(GetDlgItem(window, 0xFFFF));
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  });
  SendMessageA(dialog.Item(kEmptyLink), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_TRUE(answer.Finish());
  EXPECT_EQ(said.rfind("Unable to open hyperlink:\n\n", 0), 0u) << said;
  EXPECT_FALSE(dialog.empty.Visited());
  EXPECT_TRUE(BrowserRuns(0).empty());
}

TEST(PreviewWarning, CloseKeepsTheBoxOtherwiseNothingIsWritten) {
  SkipWithoutDisplay();
  const char* caption = "Zarvane Information . . .";
  MemorySettings settings;

  // "&Close" with the box checked: never again.
  {
    bool wasChecked = true;
    WindowWatcher watcher(caption, [&](HWND window) {
      HWND box = GetDlgItem(window, IDX_PREVIEW_WARNING_NOT_AGAIN);
      wasChecked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
      SendMessageA(box, BM_CLICK, 0, 0);
      PostMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(PreviewWarningDialog(settings).RunModal(nullptr), IDOK);
    EXPECT_TRUE(watcher.Finish());
    EXPECT_FALSE(wasChecked);
    EXPECT_EQ(settings.numbers["PrevWarn"], 1);
  }
  // Once it is set, the dialog ends before anybody sees it, and writes nothing.
  {
    WindowWatcher watcher(caption, [](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); });
    PreviewWarningDialog(settings).RunModal(nullptr);
    EXPECT_FALSE(watcher.Finish());
    EXPECT_EQ(settings.writes, 1);
  }
  // Escape leaves the setting as it was, also when the box was changed.
  settings.numbers["PrevWarn"] = 0;
  {
    WindowWatcher watcher(caption, [](HWND window) {
      SendMessageA(GetDlgItem(window, IDX_PREVIEW_WARNING_NOT_AGAIN), BM_CLICK, 0, 0);
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(PreviewWarningDialog(settings).RunModal(nullptr), IDCANCEL);
    EXPECT_TRUE(watcher.Finish());
    EXPECT_EQ(settings.numbers["PrevWarn"], 0);
    EXPECT_EQ(settings.writes, 1);
  }
}

}  // namespace zarvane
