#include "picture_ids.h"
#include "tab_ids.h"
#include "tabs.h"

namespace zarvane {

PreviewWindowTab::PreviewWindowTab() : TabPage(IDD_PREVIEW_WINDOW_TAB) {}

bool PreviewWindowTab::OnInit() {
  AttachPictureButton(browse_, IDBT_PREVIEW_IMAGE_BROWSE, IDB_BROWSE);
  LimitText(IDE_PREVIEW_IMAGE, 260);
  SetChecked(IDO_DEFAULT_PREVIEW_IMAGE, true);
  SetFocus(Item(IDO_DEFAULT_PREVIEW_IMAGE));
  return false;
}

void PreviewWindowTab::Set(const PreviewSettings& record) {
  PreviewControls controls;
  SetPreviewControls(controls, record);
  Write(controls);
}

PreviewSettings PreviewWindowTab::Get() const { return GetPreviewControls(Read()); }

void PreviewWindowTab::Show(bool focus) {
  ShowPage(focus, IsChecked(IDO_OWN_PREVIEW_IMAGE) ? IDE_PREVIEW_IMAGE : IDO_DEFAULT_PREVIEW_IMAGE);
}

int PreviewWindowTab::Validate() {
  PreviewControls controls = Read();
  TabVerdict verdict = ValidatePreviewTab(controls, ProjectFolder());
  SetTextIfChanged(IDE_PREVIEW_IMAGE, controls.imageFile);
  return Report(verdict);
}

void PreviewWindowTab::OnPageCommand(int id, int notifyCode) {
  if (notifyCode != BN_CLICKED) return;
  std::string path;
  switch (id) {
    case IDO_DEFAULT_PREVIEW_IMAGE:
    case IDO_OWN_PREVIEW_IMAGE: EnableOwnImage(IsChecked(IDO_OWN_PREVIEW_IMAGE)); break;
    case IDBT_PREVIEW_IMAGE_BROWSE:
      if (ChooseExistingFile("All Image files |*.bmp;*.jpg||", "jpg", path))
        TakePath(IDE_PREVIEW_IMAGE, path);
      break;
  }
}

PreviewControls PreviewWindowTab::Read() const {
  PreviewControls c;
  c.ownImage = IsChecked(IDO_OWN_PREVIEW_IMAGE);
  c.imageFile = ItemText(IDE_PREVIEW_IMAGE);
  return c;
}

void PreviewWindowTab::Write(const PreviewControls& c) {
  SetChecked(IDO_DEFAULT_PREVIEW_IMAGE, !c.ownImage);
  SetChecked(IDO_OWN_PREVIEW_IMAGE, c.ownImage);
  SetItemText(IDE_PREVIEW_IMAGE, c.imageFile);
  EnableOwnImage(c.ownImage);
}

void PreviewWindowTab::EnableOwnImage(bool enable) {
  EnableItems({IDE_PREVIEW_IMAGE, IDBT_PREVIEW_IMAGE_BROWSE}, enable);
}

}  // namespace zarvane
