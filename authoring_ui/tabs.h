#pragma once
// The four pages of the main window. Each shows one record of the project and hands it back;
// the rules (Set, Get, checks, list texts) are the portable ones of tab_rules.h.
#include <functional>
#include <string>

#include "project_records.h"
#include "tab_page.h"
#include "wallpaper_preview.h"

namespace zarvane {

class WallpaperTab : public TabPage {
 public:
  // `previewSettings` gives the preview-window page's record when a preview starts.
  explicit WallpaperTab(std::function<PreviewSettings()> previewSettings);
  void Set(const WallpaperSettings& record);
  WallpaperSettings Get() const;
  void Show(bool focus) override;
  int Validate() override;
  // The name field as it stands, for the installer page's proposal.
  std::string CurrentName() const;
  bool Previewing() const;
  // Puts the remembered desktop wallpaper back and removes the preview's files.
  void CancelPreview();
  void UndoLeftOverPreview() { desktopPreview_.UndoLeftOver(); }

 protected:
  bool OnInit() override;
  void OnPageCommand(int id, int notifyCode) override;
  void PaintBackground(HDC dc) override;

 private:
  WallpaperControls Read() const;
  void Write(const WallpaperControls& controls);
  void ChooseMovie();
  void AddResources();
  void ChooseBackgroundImage();
  void ChooseStillImage();
  void ChooseColour();
  void SetColour(Colour colour);
  RECT SwatchRect() const;
  void StartPreview();
  int Check(bool forPreview);

  std::function<PreviewSettings()> previewSettings_;
  Colour colour_ = 0xFFFFFF;
  BitmapButton movieBrowse_, resourceBrowse_, colourButton_, backgroundBrowse_, stillBrowse_, preview_,
      cancelPreview_;
  // Set from the moment Preview passed its checks until Cancel.
  bool previewing_ = false;
  WallpaperPreview desktopPreview_{SystemDesktopShell(), RegistryToolSettings()};
};

class PreviewWindowTab : public TabPage {
 public:
  PreviewWindowTab();
  void Set(const PreviewSettings& record);
  PreviewSettings Get() const;
  void Show(bool focus) override;
  int Validate() override;

 protected:
  bool OnInit() override;
  void OnPageCommand(int id, int notifyCode) override;

 private:
  PreviewControls Read() const;
  void Write(const PreviewControls& controls);
  void EnableOwnImage(bool enable);

  BitmapButton browse_;
};

// Created and handed its fresh record like the others, never shown.
class SettingsWindowTab : public TabPage {
 public:
  SettingsWindowTab();
  void Set(const SettingsBoxSettings& record);
  SettingsBoxSettings Get() const;
  void Show(bool focus) override;
  int Validate() override;

 protected:
  bool OnInit() override;
  void OnPageCommand(int, int) override {}

 private:
  SettingsBoxControls Read() const;
  void Write(const SettingsBoxControls& controls);
};

class InstallerTab : public TabPage {
 public:
  // `wallpaperName` gives the wallpaper page's current name for the proposed installer path.
  explicit InstallerTab(std::function<std::string()> wallpaperName);
  // Fills `record`; its licenseFile stays as it was while the licence box is clear.
  void Get(InstallerSettings& record) const;
  void Set(const InstallerSettings& record);
  void Show(bool focus) override;
  int Validate() override;

 protected:
  bool OnInit() override;
  void OnPageCommand(int id, int notifyCode) override;

 private:
  InstallerControls Read() const;
  void Write(const InstallerControls& controls);
  void EnablePicture(bool enable);
  void EnableLicence(bool enable);
  void ChooseInstaller();
  void OpenInstallerFolder();

  std::function<std::string()> wallpaperName_;
  BitmapButton installerBrowse_, folderButton_, pictureBrowse_, licenceBrowse_;
};

}  // namespace zarvane
