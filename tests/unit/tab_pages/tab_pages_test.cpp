// The four pages as the main window hosts them: real windows from the real templates, a stand-in
// main window that records what the pages forward, scripted file and colour choosers, and the
// message boxes answered as a person would.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <tuple>

#include "choosers.h"
#include "shell_open.h"
#include "tab_ids.h"
#include "tabs.h"
#include "temp_dir.h"
#include "skip_without_display.h"

namespace zarvane {
namespace {

std::string CorpusMovie(const std::string& name) {
  std::string path = "Z:" ZARVANE_CORPUS_DIR "/swf/files/" + name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// The main window's rule for a forwarded command that marks the project modified.
bool CountsAsChange(WPARAM wParam, LPARAM lParam) {
  int code = HIWORD(wParam);
  if (code == EN_CHANGE || code == CBN_SELCHANGE) return true;
  LONG style = GetWindowLongA(reinterpret_cast<HWND>(lParam), GWL_STYLE);
  return code == BN_CLICKED && (style & BS_TYPEMASK) != BS_OWNERDRAW;
}

class Host : public Dialog {
 public:
  Host() : Dialog(900) {}
  struct Forwarded {
    int id, code;
    LPARAM control;
  };
  std::vector<Forwarded> forwarded;
  int Changes() const {
    int changes = 0;
    for (const Forwarded& f : forwarded) changes += CountsAsChange(MAKEWPARAM(f.id, f.code), f.control);
    return changes;
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR&) override {
    if (message != kForwardedCommand) return false;
    forwarded.push_back({LOWORD(wParam), HIWORD(wParam), lParam});
    return true;
  }
  void OnOk() override {}
  void OnCancel() override {}
};

// Answers each chooser from the script; an empty script cancels.
class ScriptedChoosers : public Choosers {
 public:
  std::deque<std::pair<ChooserResult, std::vector<std::string>>> files;
  std::deque<COLORREF> colours;
  FileRequest lastRequest;
  COLORREF offeredColour = 0;
  HWND owner = nullptr;

  void Choose(std::vector<std::string> paths) {
    files.emplace_back(ChooserResult::kChosen, std::move(paths));
  }
  ChooserResult OpenFiles(HWND o, const FileRequest& request,
                          std::vector<std::string>& paths) override {
    owner = o;
    lastRequest = request;
    if (files.empty()) return ChooserResult::kCancelled;
    ChooserResult result = files.front().first;
    if (result == ChooserResult::kChosen) paths = files.front().second;
    files.pop_front();
    return result;
  }
  bool OpenFile(HWND o, const FileRequest& request, std::string& path) override {
    std::vector<std::string> paths;
    if (OpenFiles(o, request, paths) != ChooserResult::kChosen) return false;
    path = paths.front();
    return true;
  }
  bool SaveFile(HWND o, const FileRequest& request, std::string& path) override {
    return OpenFile(o, request, path);
  }
  bool ChooseColour(HWND o, COLORREF& colour) override {
    owner = o;
    offeredColour = colour;
    if (colours.empty()) return false;
    colour = colours.front();
    colours.pop_front();
    return true;
  }
};

// Answers every message box of this process with OK, as a person would, and keeps its texts.
class BoxWatcher {
 public:
  BoxWatcher() : thread_([this] { Watch(); }) {}
  ~BoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::string> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  void Watch() {
    while (!stop_) {
      EnumWindows(&BoxWatcher::Visit, reinterpret_cast<LPARAM>(this));
      Sleep(20);
    }
  }
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    static_cast<BoxWatcher*>(reinterpret_cast<void*>(self))->Answer(window);
    return TRUE;
  }
  void Answer(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char type[16] = "";
    GetClassNameA(window, type, sizeof type);
    HWND text = GetDlgItem(window, 0xFFFF);
    if (process != GetCurrentProcessId() || std::strcmp(type, "#32770") != 0 || !text ||
        !IsWindowVisible(window) || !answered_.insert(window).second)
      return;
    char caption[256] = "", body[1024] = "";
    GetWindowTextA(window, caption, sizeof caption);
    GetWindowTextA(text, body, sizeof body);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.push_back(std::string(caption) + ": " + body);
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }

  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> seen_;
  std::set<HWND> answered_;
  std::thread thread_;
};

std::vector<std::pair<std::string, std::string>> shellCalls;
int RecordShell(const std::string& verb, const std::string& target, int) {
  shellCalls.emplace_back(verb, target);
  return 42;
}

class Pages : public ::testing::Test {
 protected:
  void SetUp() override {
    SkipWithoutDisplay();
    UseChoosers(&choosers);
    shellCalls.clear();
    UseShellOpener(&RecordShell);
    ASSERT_TRUE(host.CreateModeless(nullptr));
    RECT client;
    GetClientRect(host.Handle(), &client);
    for (TabPage* page : Pages4()) {
      ASSERT_TRUE(page->CreateModeless(host.Handle()));
      SetWindowPos(page->Handle(), HWND_TOP, client.right - 465, 42, 465, 330, 0);
    }
    // What New hands every page.
    wallpaper.Set(WallpaperSettings());
    preview.Set(PreviewSettings());
    settings.Set(SettingsBoxSettings());
    installer.Set(InstallerSettings());
    ShowOnly(wallpaper);
  }
  void TearDown() override {
    UseChoosers(nullptr);
    UseShellOpener(nullptr);
  }

  std::vector<TabPage*> Pages4() { return {&wallpaper, &preview, &settings, &installer}; }
  void ShowOnly(TabPage& shown) {
    for (TabPage* page : Pages4())
      if (page != &shown) ShowWindow(page->Handle(), SW_HIDE);
    shown.Show(true);
    Pump();
    host.forwarded.clear();
  }
  static void Click(TabPage& page, int id) {
    SendMessageA(page.Item(id), BM_CLICK, 0, 0);
    Pump();
  }
  static void Type(TabPage& page, int id, const std::string& text) {
    page.SetItemText(id, text);
    Pump();
  }
  // The field has the keyboard focus with all its text selected.
  static void ExpectFocusedAndSelected(TabPage& page, int id) {
    EXPECT_EQ(GetFocus(), page.Item(id)) << "focus is not in control " << id;
    DWORD start = 1, end = 0;
    SendMessageA(page.Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, page.ItemText(id).size());
  }
  COLORREF SwatchPixel() {
    RECT frame = wallpaper.ItemRect(IDF_COLOUR_SWATCH);
    UpdateWindow(wallpaper.Handle());
    HDC dc = GetDC(wallpaper.Handle());
    COLORREF inside = GetPixel(dc, frame.left + 10, frame.top + 9);
    COLORREF outline = GetPixel(dc, frame.left, frame.top);
    ReleaseDC(wallpaper.Handle(), dc);
    EXPECT_EQ(outline, RGB(0, 0, 0));
    return inside;
  }

  ScriptedChoosers choosers;
  Host host;
  WallpaperTab wallpaper{[this] { return preview.Get(); }};
  PreviewWindowTab preview;
  SettingsWindowTab settings;
  InstallerTab installer{[this] { return wallpaper.CurrentName(); }};
};

TEST_F(Pages, ChoosingAMovieTakesOverItsBackgroundColourAndNothingElse) {
  BoxWatcher boxes;
  struct Case {
    const char* movie;
    const char* colourAfter;  // from a page that showed "123456"
  } cases[] = {
      {"ruffle-colorconversion_vp6a.swf", "ff6699"},
      {"ruffle-avm2_button_state.swf", "c0c0c0"},
      {"shumway-mask.swf", "cccccc"},
      {"ruffle-focusrect_swf5.swf", "000000"},
      {"ruffle-system_exit.swf", "123456"},          // a movie that names no colour
      {"ruffle-SimpleRedBackground.swf", "123456"},  // compressed: the reader refuses it
      {"ruffle-no_correct_file_text.swf", "123456"},  // not a movie at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.movie);
    WallpaperSettings record;
    record.colourText = "123456";
    wallpaper.Set(record);
    host.forwarded.clear();
    choosers.Choose({CorpusMovie(c.movie)});
    Click(wallpaper, IDBT_MOVIE_BROWSE);
    EXPECT_EQ(wallpaper.Get().movieFile, CorpusMovie(c.movie));
    EXPECT_EQ(wallpaper.Get().colourText, c.colourAfter);
    ExpectFocusedAndSelected(wallpaper, IDE_MOVIE_FILE);
    // The main window sees the click first, and that alone changes nothing; the path landing in
    // its field does.
    auto& seen = host.forwarded;
    auto click = std::find_if(seen.begin(), seen.end(), [&](const Host::Forwarded& f) {
      return f.id == IDBT_MOVIE_BROWSE && f.code == BN_CLICKED &&
             f.control == reinterpret_cast<LPARAM>(wallpaper.Item(IDBT_MOVIE_BROWSE));
    });
    auto landed = std::find_if(seen.begin(), seen.end(), [](const Host::Forwarded& f) {
      return f.id == IDE_MOVIE_FILE && f.code == EN_CHANGE;
    });
    EXPECT_LT(click, landed);
    EXPECT_EQ(host.Changes(), std::count_if(seen.begin(), seen.end(), [](const Host::Forwarded& f) {
                return f.code == EN_CHANGE;
              }));
  }
  EXPECT_EQ(SwatchPixel(), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(choosers.owner, host.Handle());

  // A cancelled chooser leaves the field alone.
  Click(wallpaper, IDBT_MOVIE_BROWSE);
  EXPECT_EQ(wallpaper.Get().movieFile, CorpusMovie(cases[6].movie));
  Sleep(100);
  Pump();
  EXPECT_TRUE(boxes.Seen().empty()) << boxes.Seen().front();
}

TEST_F(Pages, ChoosingAColourRepaintsTheSwatchWithoutChangingTheProject) {
  choosers.colours.push_back(RGB(10, 20, 200));
  Click(wallpaper, IDBT_COLOUR);
  EXPECT_EQ(choosers.offeredColour, RGB(255, 255, 255));
  EXPECT_EQ(wallpaper.Get().colourText, "0a14c8");
  EXPECT_EQ(SwatchPixel(), RGB(10, 20, 200));
  Click(wallpaper, IDBT_COLOUR);  // cancelled
  EXPECT_EQ(wallpaper.Get().colourText, "0a14c8");
  EXPECT_EQ(host.Changes(), 0);

  // Choosing the separator row of the position list is taken as "Center".
  HWND position = wallpaper.Item(IDL_POSITION);
  SendMessageA(position, CB_SETCURSEL, 2, 0);
  SendMessageA(position, WM_KEYDOWN, VK_DOWN, 0);
  Pump();
  EXPECT_EQ(wallpaper.Get().backgroundPosition, "Center");
  SendMessageA(position, WM_KEYDOWN, VK_DOWN, 0);
  Pump();
  EXPECT_EQ(wallpaper.Get().backgroundPosition, "Tile");
  EXPECT_GT(host.Changes(), 0);
}

TEST_F(Pages, ResourceAndBackgroundBrowseFillTheirFieldsAndATooLongSelectionIsTold) {
  BoxWatcher boxes;
  Type(wallpaper, IDE_RESOURCE_FILES, "a.swf; ;b.txt");
  choosers.Choose({"C:\\Art\\One.png", "C:\\Art\\two.png"});
  Click(wallpaper, IDBT_RESOURCE_BROWSE);
  EXPECT_EQ(wallpaper.ItemText(IDE_RESOURCE_FILES), "a.swf;;b.txt;C:\\Art\\One.png;C:\\Art\\two.png;");
  choosers.Choose({"c:\\art\\ONE.PNG", "C:\\Art\\three.png", "B.TXT"});
  Click(wallpaper, IDBT_RESOURCE_BROWSE);
  EXPECT_EQ(wallpaper.ItemText(IDE_RESOURCE_FILES),
            "a.swf;;b.txt;C:\\Art\\One.png;C:\\Art\\two.png;C:\\Art\\three.png;");

  choosers.Choose({"C:\\Pictures\\sky.jpg"});
  Click(wallpaper, IDBT_BACKGROUND_BROWSE);
  EXPECT_EQ(wallpaper.Get().backgroundImage, "C:\\Pictures\\sky.jpg");

  choosers.files.emplace_back(ChooserResult::kTooLong, std::vector<std::string>());
  Click(wallpaper, IDBT_RESOURCE_BROWSE);
  Click(wallpaper, IDBT_RESOURCE_BROWSE);  // cancelled
  EXPECT_EQ(wallpaper.ItemText(IDE_RESOURCE_FILES),
            "a.swf;;b.txt;C:\\Art\\One.png;C:\\Art\\two.png;C:\\Art\\three.png;");
  std::vector<std::string> seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "Error: Too many files were selected at once to be added. Please add them in "
                     "smaller groups.");
}

TEST_F(Pages, ValidationNamesTheFirstProblemAndPutsTheFocusOnItsField) {
  TempDir folder;
  std::string movie = folder.Path() + "\\clock.swf", picture = folder.Path() + "\\sky.bmp";
  WriteTextFile(movie, "FWS");
  WriteTextFile(picture, "BM");
  struct Step {
    int field;
    std::string text;
    int message;
    int focus;
  } wallpaperSteps[] = {
      {IDE_MOVIE_FILE, "   ", 1, IDE_MOVIE_FILE},
      {IDE_MOVIE_FILE, folder.Path() + "\\missing.swf", 2, IDE_MOVIE_FILE},
      {IDE_MOVIE_FILE, folder.Path(), 2, IDE_MOVIE_FILE},
      {IDE_MOVIE_FILE, "  " + movie + " ", 4, IDE_WALLPAPER_NAME},
      {IDE_BACKGROUND_IMAGE, folder.Path() + "\\missing.bmp ", 7, IDE_BACKGROUND_IMAGE},
      // Not trimmed: the system itself ignores a trailing blank, so a leading one shows it.
      {IDE_BACKGROUND_IMAGE, " " + picture, 7, IDE_BACKGROUND_IMAGE},
      {IDE_BACKGROUND_IMAGE, picture, 4, IDE_WALLPAPER_NAME},
      {IDE_WALLPAPER_NAME, "Sun/set", 3, IDE_WALLPAPER_NAME},
      {IDE_WALLPAPER_NAME, " Sunset  ", 0, 0},
  };
  for (const Step& step : wallpaperSteps) {
    SCOPED_TRACE(step.text);
    Type(wallpaper, step.field, step.text);
    EXPECT_EQ(wallpaper.Validate(), step.message);
    if (step.focus) ExpectFocusedAndSelected(wallpaper, step.focus);
  }
  EXPECT_EQ(wallpaper.ItemText(IDE_MOVIE_FILE), movie);  // written back trimmed
  EXPECT_EQ(wallpaper.ItemText(IDE_WALLPAPER_NAME), "Sunset");

  ShowOnly(preview);
  Click(preview, IDO_OWN_PREVIEW_IMAGE);
  EXPECT_EQ(preview.Validate(), 6);
  ExpectFocusedAndSelected(preview, IDE_PREVIEW_IMAGE);
  Type(preview, IDE_PREVIEW_IMAGE, picture + " ");
  EXPECT_EQ(preview.Validate(), 0);
  EXPECT_EQ(preview.Get().imageFile, picture);

  ShowOnly(installer);
  Step installerSteps[] = {
      {IDE_INSTALLER_PATH, "  ", 10, IDE_INSTALLER_PATH},
      {IDE_INSTALLER_PATH, folder.Path() + "\\no such folder\\Setup.exe", 11, IDE_INSTALLER_PATH},
      {IDE_INSTALLER_PATH, folder.Path() + "\\Sunset Setup.exe  ", 0, 0},
      {IDO_OWN_INSTALLER_PICTURE, "", 8, IDE_INSTALLER_PICTURE},
      {IDE_INSTALLER_PICTURE, picture, 0, 0},
      {IDX_LICENCE, "", 12, IDE_LICENCE},
  };
  for (const Step& step : installerSteps) {
    SCOPED_TRACE(step.text);
    if (step.field == IDO_OWN_INSTALLER_PICTURE || step.field == IDX_LICENCE)
      Click(installer, step.field);
    else
      Type(installer, step.field, step.text);
    EXPECT_EQ(installer.Validate(), step.message);
    if (step.focus) ExpectFocusedAndSelected(installer, step.focus);
  }
  EXPECT_EQ(installer.ItemText(IDE_INSTALLER_PATH), folder.Path() + "\\Sunset Setup.exe");
  EXPECT_FALSE(IsExistingFile(folder.Path() + "\\Sunset Setup.exe.tmp"));
  EXPECT_EQ(settings.Validate(), 0);
}

TEST_F(Pages, EveryFieldOfEveryPageComesBackAsSet) {
  WallpaperSettings w{"C:\\Movies\\clock.swf", "a.png;;b.xml;", "Night Sky", "0a0b0c",
                      "C:\\Pictures\\stars.jpg ", "Left", "Bottom", "Bottom Right", "AutoLow",
                      "Exactfit", 0, 0, "C:\\Pictures\\still.bmp"};
  wallpaper.Set(w);
  WallpaperSettings back = wallpaper.Get();
  EXPECT_EQ(std::tie(back.movieFile, back.resourceFiles, back.name, back.colourText,
                     back.backgroundImage, back.hAlign, back.vAlign, back.backgroundPosition,
                     back.quality, back.movieSize, back.loop, back.stillImage),
            std::tie(w.movieFile, w.resourceFiles, w.name, w.colourText, w.backgroundImage,
                     w.hAlign, w.vAlign, w.backgroundPosition, w.quality, w.movieSize, w.loop,
                     w.stillImage));
  // The fresh record as New shows it.
  wallpaper.Set(WallpaperSettings());
  back = wallpaper.Get();
  EXPECT_EQ(std::tie(back.quality, back.movieSize, back.colourText, back.loop),
            std::make_tuple("High", "noscale", "ffffff", 1));

  preview.Set(PreviewSettings{1, "C:\\Pictures\\logo.bmp"});
  EXPECT_EQ(std::make_pair(preview.Get().showImage, preview.Get().imageFile),
            std::make_pair(1, std::string("C:\\Pictures\\logo.bmp")));

  SettingsBoxSettings s{1, "C:\\m.swf", "Web", "http://example.com/", "Mail", "a@example.com",
                        "Other"};
  settings.Set(s);
  SettingsBoxSettings sb = settings.Get();
  EXPECT_EQ(std::tie(sb.showSpecific, sb.movieOrImageFile, sb.webText, sb.webAddress, sb.emailText,
                     sb.emailAddress, sb.otherText),
            std::tie(s.showSpecific, s.movieOrImageFile, s.webText, s.webAddress, s.emailText,
                     s.emailAddress, s.otherText));

  for (int flash : {0, 1}) {
    InstallerSettings i{"C:\\Out\\Night Sky Setup.exe", 1, "C:\\Pictures\\banner.bmp", 1, flash,
                        "C:\\Texts\\licence.txt"};
    installer.Set(i);
    InstallerSettings ib;
    installer.Get(ib);
    EXPECT_EQ(std::tie(ib.installerFilePath, ib.showMovie, ib.movieOrImageFile, ib.showLicence,
                       ib.licenseFile),
              std::tie(i.installerFilePath, i.showMovie, i.movieOrImageFile, i.showLicence,
                       i.licenseFile));
    // A loaded record carries the plug-in box's saved state; Get tells the build whether to pack
    // the control, the opposite.
    EXPECT_EQ(installer.IsChecked(IDX_WITHOUT_PLUGIN), flash == 1);
    EXPECT_EQ(ib.includeFlashControl, 1 - flash);
    bool noteShown = GetWindowLongA(installer.Item(IDT_PLUGIN_NOTE), GWL_STYLE) & WS_VISIBLE;
    EXPECT_EQ(noteShown, flash == 1);
  }
  // While the licence box is clear the record keeps its licence file.
  InstallerSettings i;
  i.licenseFile = "C:\\kept.txt";
  installer.Set(i);
  InstallerSettings ib;
  ib.licenseFile = "C:\\kept.txt";
  installer.Get(ib);
  EXPECT_EQ(ib.showLicence, 0);
  EXPECT_EQ(ib.licenseFile, "C:\\kept.txt");
  EXPECT_EQ(ib.showMovie, 0);
  EXPECT_EQ(ib.movieOrImageFile, "");
}

TEST_F(Pages, InstallerAndPreviewWindowPagesReactToTheirControls) {
  ShowOnly(installer);
  EXPECT_FALSE(IsWindowEnabled(installer.Item(IDE_INSTALLER_PICTURE)));
  Click(installer, IDO_OWN_INSTALLER_PICTURE);
  EXPECT_TRUE(IsWindowEnabled(installer.Item(IDE_INSTALLER_PICTURE)));
  EXPECT_TRUE(IsWindowEnabled(installer.Item(IDBT_INSTALLER_PICTURE_BROWSE)));
  choosers.Choose({"C:\\Pictures\\banner.swf"});
  Click(installer, IDBT_INSTALLER_PICTURE_BROWSE);
  ExpectFocusedAndSelected(installer, IDE_INSTALLER_PICTURE);
  Click(installer, IDO_DEFAULT_INSTALLER_PICTURE);
  EXPECT_FALSE(IsWindowEnabled(installer.Item(IDBT_INSTALLER_PICTURE_BROWSE)));
  EXPECT_EQ(installer.ItemText(IDE_INSTALLER_PICTURE), "C:\\Pictures\\banner.swf");

  Click(installer, IDX_LICENCE);
  EXPECT_TRUE(IsWindowEnabled(installer.Item(IDBT_LICENCE_BROWSE)));
  EXPECT_EQ(GetFocus(), installer.Item(IDE_LICENCE));
  choosers.Choose({"C:\\Texts\\licence.txt"});
  Click(installer, IDBT_LICENCE_BROWSE);
  EXPECT_EQ(installer.ItemText(IDE_LICENCE), "C:\\Texts\\licence.txt");
  Click(installer, IDX_LICENCE);
  EXPECT_FALSE(IsWindowEnabled(installer.Item(IDE_LICENCE)));

  Click(installer, IDX_WITHOUT_PLUGIN);
  EXPECT_TRUE(IsWindowVisible(installer.Item(IDT_PLUGIN_NOTE)));
  Click(installer, IDX_WITHOUT_PLUGIN);
  EXPECT_FALSE(IsWindowVisible(installer.Item(IDT_PLUGIN_NOTE)));

  // The proposed installer: desktop folder, wallpaper name, " Setup.exe"; nothing without a name.
  char desktop[MAX_PATH] = "";
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
  Type(wallpaper, IDE_WALLPAPER_NAME, "Sunset");
  Click(installer, IDBT_INSTALLER_BROWSE);
  EXPECT_EQ(choosers.lastRequest.initialPath, std::string(desktop) + "\\Sunset Setup.exe");
  Type(wallpaper, IDE_WALLPAPER_NAME, "");
  choosers.Choose({"C:\\Out\\My Setup.exe"});
  Click(installer, IDBT_INSTALLER_BROWSE);
  EXPECT_EQ(choosers.lastRequest.initialPath, "");
  ExpectFocusedAndSelected(installer, IDE_INSTALLER_PATH);
  Click(installer, IDBT_INSTALLER_BROWSE);
  EXPECT_EQ(choosers.lastRequest.initialPath, "C:\\Out\\My Setup.exe");

  Click(installer, IDBT_INSTALLER_FOLDER);
  ASSERT_EQ(shellCalls.size(), 1u);
  EXPECT_EQ(shellCalls[0], std::make_pair(std::string("explore"), std::string("C:\\Out\\")));

  ShowOnly(preview);
  EXPECT_EQ(GetFocus(), preview.Item(IDO_DEFAULT_PREVIEW_IMAGE));
  EXPECT_FALSE(IsWindowEnabled(preview.Item(IDE_PREVIEW_IMAGE)));
  Click(preview, IDO_OWN_PREVIEW_IMAGE);
  EXPECT_TRUE(IsWindowEnabled(preview.Item(IDBT_PREVIEW_IMAGE_BROWSE)));
  choosers.Choose({"C:\\Pictures\\logo.jpg"});
  Click(preview, IDBT_PREVIEW_IMAGE_BROWSE);
  ExpectFocusedAndSelected(preview, IDE_PREVIEW_IMAGE);
  Click(preview, IDO_DEFAULT_PREVIEW_IMAGE);
  EXPECT_FALSE(preview.IsChecked(IDO_OWN_PREVIEW_IMAGE));
  EXPECT_EQ(preview.ItemText(IDE_PREVIEW_IMAGE), "C:\\Pictures\\logo.jpg");
  EXPECT_EQ(preview.Get().imageFile, "");
  Click(preview, IDO_OWN_PREVIEW_IMAGE);
  EXPECT_EQ(preview.Get().imageFile, "C:\\Pictures\\logo.jpg");
}

}  // namespace
}  // namespace zarvane
