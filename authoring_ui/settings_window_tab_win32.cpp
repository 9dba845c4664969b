#include "tab_ids.h"
#include "tabs.h"

namespace zarvane {

SettingsWindowTab::SettingsWindowTab() : TabPage(IDD_SETTINGS_WINDOW_TAB) {}

bool SettingsWindowTab::OnInit() {
  LimitText(IDE_SETTINGS_PICTURE, 260);
  LimitText(IDE_WEB_TEXT, 50);
  LimitText(IDE_WEB_ADDRESS, 1024);
  LimitText(IDE_EMAIL_TEXT, 50);
  LimitText(IDE_EMAIL_ADDRESS, 255);
  LimitText(IDE_OTHER_TEXT, 255);
  return false;
}

void SettingsWindowTab::Set(const SettingsBoxSettings& record) {
  SettingsBoxControls controls;
  SetSettingsBoxControls(controls, record);
  Write(controls);
}

SettingsBoxSettings SettingsWindowTab::Get() const { return GetSettingsBoxControls(Read()); }

void SettingsWindowTab::Show(bool focus) { ShowPage(focus, IDO_WALLPAPER_MOVIE); }

int SettingsWindowTab::Validate() {
  SettingsBoxControls controls = Read();
  TabVerdict verdict = ValidateSettingsTab(controls, ProjectFolder());
  SetTextIfChanged(IDE_SETTINGS_PICTURE, controls.movieOrImageFile);
  return Report(verdict);
}

SettingsBoxControls SettingsWindowTab::Read() const {
  SettingsBoxControls c;
  c.specific = IsChecked(IDO_SPECIFIC_MOVIE);
  c.movieOrImageFile = ItemText(IDE_SETTINGS_PICTURE);
  c.webText = ItemText(IDE_WEB_TEXT);
  c.webAddress = ItemText(IDE_WEB_ADDRESS);
  c.emailText = ItemText(IDE_EMAIL_TEXT);
  c.emailAddress = ItemText(IDE_EMAIL_ADDRESS);
  c.otherText = ItemText(IDE_OTHER_TEXT);
  return c;
}

void SettingsWindowTab::Write(const SettingsBoxControls& c) {
  SetChecked(IDO_WALLPAPER_MOVIE, !c.specific);
  SetChecked(IDO_SPECIFIC_MOVIE, c.specific);
  SetItemText(IDE_SETTINGS_PICTURE, c.movieOrImageFile);
  EnableItems({IDE_SETTINGS_PICTURE, IDBT_SETTINGS_PICTURE_BROWSE}, c.specific);
  SetItemText(IDE_WEB_TEXT, c.webText);
  SetItemText(IDE_WEB_ADDRESS, c.webAddress);
  SetItemText(IDE_EMAIL_TEXT, c.emailText);
  SetItemText(IDE_EMAIL_ADDRESS, c.emailAddress);
  SetItemText(IDE_OTHER_TEXT, c.otherText);
}

}  // namespace zarvane
