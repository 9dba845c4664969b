#include <windows.h>
#include <commdlg.h>

#include <utility>

#include "choosers.h"
#include "picture_ids.h"
#include "project_paths.h"
#include "swf_reader.h"
#include "tab_ids.h"
#include "tabs.h"

namespace zarvane {
namespace {

const std::vector<std::string> kSizeRows = {"Show All", "Exact Fit", "No Scale"};

}  // namespace

WallpaperTab::WallpaperTab(std::function<PreviewSettings()> previewSettings)
    : TabPage(IDD_WALLPAPER_TAB), previewSettings_(std::move(previewSettings)) {}

bool WallpaperTab::OnInit() {
  AttachPictureButton(movieBrowse_, IDBT_MOVIE_BROWSE, IDB_BROWSE);
  AttachPictureButton(resourceBrowse_, IDBT_RESOURCE_BROWSE, IDB_BROWSE);
  AttachPictureButton(colourButton_, IDBT_COLOUR, IDB_COLOUR);
  AttachPictureButton(backgroundBrowse_, IDBT_BACKGROUND_BROWSE, IDB_BROWSE);
  AttachPictureButton(stillBrowse_, IDBT_STILL_BROWSE, IDB_BROWSE);
  AttachPictureButton(preview_, IDBT_PREVIEW, IDB_PREVIEW);
  AttachPictureButton(cancelPreview_, IDBT_CANCEL_PREVIEW, IDB_CANCEL_PREVIEW);
  LimitText(IDE_WALLPAPER_NAME, 50);
  LimitText(IDE_MOVIE_FILE, 260);
  FillList(IDL_QUALITY, kQualityWords);
  FillList(IDL_MOVIE_SIZE, kSizeRows);
  FillList(IDL_HORIZONTAL, kHorizontalWords);
  FillList(IDL_VERTICAL, kVerticalWords);
  FillList(IDL_POSITION, kBackgroundPositions);
  Select(IDL_POSITION, 0);
  Select(IDL_HORIZONTAL, 0);
  Select(IDL_VERTICAL, 0);
  return false;
}

void WallpaperTab::Set(const WallpaperSettings& record) {
  WallpaperControls controls;
  SetWallpaperControls(controls, record);
  Write(controls);
}

WallpaperSettings WallpaperTab::Get() const { return GetWallpaperControls(Read()); }

void WallpaperTab::Show(bool focus) { ShowPage(focus, IDE_MOVIE_FILE); }

int WallpaperTab::Validate() { return Check(false); }

// Only the preview's own check may go without the name: a build with a preview on screen
// still needs a name every installer accepts.
int WallpaperTab::Check(bool forPreview) {
  WallpaperControls controls = Read();
  TabVerdict verdict = ValidateWallpaperTab(controls, forPreview, ProjectFolder());
  SetTextIfChanged(IDE_MOVIE_FILE, controls.movieFile);
  SetTextIfChanged(IDE_WALLPAPER_NAME, controls.name);
  return Report(verdict);
}

std::string WallpaperTab::CurrentName() const { return ItemText(IDE_WALLPAPER_NAME); }

bool WallpaperTab::Previewing() const { return previewing_; }

void WallpaperTab::StartPreview() {
  if (int problem = Check(true)) {
    ShowError(ToolMessage(problem));
    return;
  }
  previewing_ = true;
  ShowItem(IDBT_CANCEL_PREVIEW, true);
  ShowItem(IDBT_PREVIEW, false);
  WallpaperSettings wallpaper = Get();
  PreviewSettings preview = previewSettings_();
  ResolvePaths(wallpaper, ProjectFolder());
  ResolvePaths(preview, ProjectFolder());
  if (desktopPreview_.Start(Owner(), wallpaper, preview)) return;
  ShowItem(IDBT_PREVIEW, true);
  ShowItem(IDBT_CANCEL_PREVIEW, false);
  previewing_ = false;
}

void WallpaperTab::CancelPreview() {
  if (!previewing_) return;
  desktopPreview_.Cancel();
  ShowItem(IDBT_PREVIEW, true);
  ShowItem(IDBT_CANCEL_PREVIEW, false);
  previewing_ = false;
}

void WallpaperTab::OnPageCommand(int id, int notifyCode) {
  if (id == IDL_POSITION && notifyCode == CBN_SELCHANGE) {
    int row = Selection(IDL_POSITION);
    if (row >= 0 && kBackgroundPositions[row] == kPositionSeparator) Select(IDL_POSITION, 0);
    return;
  }
  if (notifyCode != BN_CLICKED) return;
  switch (id) {
    case IDBT_MOVIE_BROWSE: ChooseMovie(); break;
    case IDBT_RESOURCE_BROWSE: AddResources(); break;
    case IDBT_BACKGROUND_BROWSE: ChooseBackgroundImage(); break;
    case IDBT_STILL_BROWSE: ChooseStillImage(); break;
    case IDBT_COLOUR: ChooseColour(); break;
    case IDBT_PREVIEW: StartPreview(); break;
    case IDBT_CANCEL_PREVIEW: CancelPreview(); break;
  }
}

void WallpaperTab::PaintBackground(HDC dc) {
  if (!Item(IDF_COLOUR_SWATCH)) return;
  RECT swatch = SwatchRect();
  HBRUSH brush = CreateSolidBrush(colour_);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Rectangle(dc, swatch.left, swatch.top, swatch.right, swatch.bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

WallpaperControls WallpaperTab::Read() const {
  WallpaperControls c;
  c.name = ItemText(IDE_WALLPAPER_NAME);
  c.movieFile = ItemText(IDE_MOVIE_FILE);
  c.resourceFiles = ItemText(IDE_RESOURCE_FILES);
  c.backgroundImage = ItemText(IDE_BACKGROUND_IMAGE);
  c.stillImage = ItemText(IDE_STILL_IMAGE);
  c.position = Selection(IDL_POSITION);
  c.hAlign = Selection(IDL_HORIZONTAL);
  c.vAlign = Selection(IDL_VERTICAL);
  c.quality = Selection(IDL_QUALITY);
  c.size = Selection(IDL_MOVIE_SIZE);
  c.colour = colour_;
  c.loop = IsChecked(IDX_LOOP);
  return c;
}

void WallpaperTab::Write(const WallpaperControls& c) {
  SetItemText(IDE_WALLPAPER_NAME, c.name);
  SetItemText(IDE_MOVIE_FILE, c.movieFile);
  SetItemText(IDE_RESOURCE_FILES, c.resourceFiles);
  SetItemText(IDE_BACKGROUND_IMAGE, c.backgroundImage);
  SetItemText(IDE_STILL_IMAGE, c.stillImage);
  Select(IDL_POSITION, c.position);
  Select(IDL_HORIZONTAL, c.hAlign);
  Select(IDL_VERTICAL, c.vAlign);
  Select(IDL_QUALITY, c.quality);
  Select(IDL_MOVIE_SIZE, c.size);
  SetColour(c.colour);
  SetChecked(IDX_LOOP, c.loop);
}

void WallpaperTab::ChooseMovie() {
  std::string path;
  if (!ChooseExistingFile("Macromedia Flash files (*.swf)|*.swf||", "swf", path)) return;
  TakePath(IDE_MOVIE_FILE, path);
  // A movie that cannot be read, or names no colour, keeps the author's colour; nothing is said.
  SwfReader movie;
  if (movie.ReadMovie(path) && movie.HasBackgroundColour()) SetColour(movie.BackgroundColour());
}

void WallpaperTab::AddResources() {
  FileRequest request;
  request.filter = "All files (*.*)|*.*||";
  request.defaultExtension = "swf";
  request.options = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  std::vector<std::string> picked;
  switch (ActiveChoosers().OpenFiles(Owner(), request, picked)) {
    case ChooserResult::kChosen:
      SetItemText(IDE_RESOURCE_FILES, AddResourceFiles(ItemText(IDE_RESOURCE_FILES), picked));
      break;
    case ChooserResult::kTooLong:
      ShowError("Too many files were selected at once to be added. Please add them in smaller "
                "groups.");
      break;
    case ChooserResult::kCancelled: break;
  }
}

void WallpaperTab::ChooseBackgroundImage() {
  std::string path;
  if (ChooseExistingFile("All Image files |*.bmp;*.jpg;*.gif||", "jpg", path))
    SetItemText(IDE_BACKGROUND_IMAGE, path);
}

void WallpaperTab::ChooseStillImage() {
  std::string path;
  if (ChooseExistingFile("All Image files |*.bmp;*.jpg;*.gif||", "bmp", path))
    SetItemText(IDE_STILL_IMAGE, path);
}

void WallpaperTab::ChooseColour() {
  COLORREF colour = colour_;
  if (!ActiveChoosers().ChooseColour(Owner(), colour)) return;
  SetColour(colour);
  MarkEdited();
}

void WallpaperTab::SetColour(Colour colour) {
  colour_ = colour;
  RECT swatch = SwatchRect();
  InvalidateRect(Handle(), &swatch, TRUE);
}

RECT WallpaperTab::SwatchRect() const {
  RECT frame = ItemRect(IDF_COLOUR_SWATCH);
  return RECT{frame.left, frame.top, frame.left + 20, frame.top + 19};
}

}  // namespace zarvane
